// The EEPROM as the write commands, the lock and the settings copy change it, and
// the live status registers that overlay it.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "SimLine.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

using namespace link;

uint8_t checksum(const std::array<uint8_t, 512>& e, int first, int length) {
    unsigned sum = 1;
    for (int i = 0; i < length; ++i)
        sum += e[first + i];
    return static_cast<uint8_t>(sum);
}

TEST(SimEeprom, StartsWithConsistentChecksums) {
    SimRig rig;
    const auto e = rig.actuator.eeprom();
    EXPECT_EQ(e[255], checksum(e, 12, 243));
    EXPECT_EQ(e[297], checksum(e, 262, 35));
    EXPECT_EQ(e[340], checksum(e, 298, 42));
    EXPECT_EQ(e[367], checksum(e, 341, 26));
}

TEST(SimEeprom, IdAndConfigPairsLandAtTheirImageBytes) {
    SimRig rig;
    SimLine line(rig.server.path());
    line.exchange(UNLOCK_EEPROM);
    EXPECT_EQ(line.exchange(WRITE_ID_PAIR, 20, 'A', 'B').at(5), 'Y');
    EXPECT_EQ(line.exchange(WRITE_CONFIG_PAIR, 254, 0x11, 0x22).at(5), 'Y');
    EXPECT_EQ(line.exchange(WRITE_ID_PAIR, 255, 0x33, 0x44).at(5), 'Y');
    const auto e = rig.actuator.eeprom();
    EXPECT_EQ(e[20], 'A');
    EXPECT_EQ(e[21], 'B');
    EXPECT_EQ(e[510], 0x11);
    EXPECT_EQ(e[511], 0x22);
    EXPECT_EQ(e[255], 0x33);
    EXPECT_NE(e[256], 0x44) << "an ID pair stays inside the ID page";
    const auto id = line.exchange(READ_ID_BYTES, 20);
    EXPECT_EQ(id.at(8), 'A');
    EXPECT_EQ(id.at(9), 'B');
}

TEST(SimEeprom, WriteProbeSeesTheLockUnlessWritesAreAcceptedWhileLocked) {
    for (bool accept : {false, true}) {
        sim::Options options;
        options.generation = sim::Generation::ZR2;
        options.acceptWritesWhileLocked = accept;
        SimRig rig(options);
        SimLine line(rig.server.path());
        line.exchange(LOCK_EEPROM);
        const auto r = line.exchange(READ_ID_BYTES, 253);
        EXPECT_EQ(line.exchange(WRITE_ID_PAIR, 253, r.at(8), r.at(9), r.at(10)).at(5),
                  accept ? 'Y' : 'E');
    }
}

TEST(SimEeprom, PositionRecordTakesWritesWhileLockedButSettingsDoNot) {
    SimRig rig;
    SimLine line(rig.server.path());
    line.exchange(LOCK_EEPROM);
    EXPECT_EQ(line.exchange(WRITE_REGISTER, 0, 0x00, 0x00, 0x1A).at(5), 'Y');
    EXPECT_EQ(line.exchange(WRITE_REGISTER, 3, 0x01, 0x02, 0x1B).at(5), 'Y');
    EXPECT_EQ(line.exchange(WRITE_REGISTER, 4, 0x05, 0x06, 0x07).at(5), 'E')
        << "reaches past the position record into the settings";
    EXPECT_EQ(line.exchange(WRITE_REGISTER_BYTE, 6, 0x09).at(5), 'E');
    const auto e = rig.actuator.eeprom();
    EXPECT_EQ(e[256], 0x00);
    EXPECT_EQ(e[258], 0x1A);
    EXPECT_EQ(e[261], 0x1B);
    EXPECT_NE(e[262], 0x07);
    EXPECT_NE(e[262], 0x09);
}

TEST(SimEeprom, CopySettingsBetweenCurrentAndDefaultKeepsChecksums) {
    SimRig rig;
    SimLine line(rig.server.path());
    line.exchange(UNLOCK_EEPROM);
    line.exchange(WRITE_REGISTER, 42, 9, 8, 7);
    line.exchange(WRITE_REGISTER_BYTE, 67, 0x66);
    line.exchange(LOCK_EEPROM);
    EXPECT_EQ(line.exchange(COPY_SETTINGS, 212).at(5), 'Y') << "needs no unlock";
    auto e = rig.actuator.eeprom();
    EXPECT_EQ(e[256 + 85], 9);
    EXPECT_EQ(e[256 + 110], 0x66);
    EXPECT_EQ(e[367], checksum(e, 341, 26));

    rig.actuator.setEeprom(256 + 86, 0x55);
    EXPECT_EQ(line.exchange(COPY_SETTINGS, 209).at(5), 'Y');
    e = rig.actuator.eeprom();
    EXPECT_EQ(e[256 + 43], 0x55);
    EXPECT_EQ(e[340], checksum(e, 298, 42));
    EXPECT_EQ(line.exchange(COPY_SETTINGS, 1).at(5), 'E');
}

TEST(SimEeprom, LiveRegistersOverlayTheEeprom) {
    SimRig rig;
    rig.actuator.setStatusWord(0x1806);
    rig.actuator.setStallWord(0x0002);
    rig.actuator.setTorqueOff(0x0C);
    SimLine line(rig.server.path());
    auto r = line.exchange(READ_REGISTER, 145);
    EXPECT_EQ(r.at(8), 0x06);
    EXPECT_EQ(r.at(9), 0x18);
    r = line.exchange(READ_REGISTER, 93);
    EXPECT_EQ(r.at(8), 0x02);
    EXPECT_EQ(r.at(9), 0x00);
    EXPECT_EQ(line.exchange(READ_REGISTER, 4).at(8), 0x0C);
    EXPECT_EQ(line.exchange(READ_REGISTER, 2).at(10), 0x0C) << "also as the third byte";
}

}  // namespace
}  // namespace vantrel::test
