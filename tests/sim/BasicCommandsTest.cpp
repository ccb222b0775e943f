// Basic command frames against the simulator on a real pseudo-terminal.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "SimLine.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

using namespace link;

TEST(SimBasic, RepliesCarryStatusCommandAndChecksum) {
    SimRig rig;
    SimLine line(rig.server.path());
    ASSERT_TRUE(line.isOpen());
    const auto r = line.exchange(READ_VERSION);
    ASSERT_EQ(r.size(), 12u);
    EXPECT_EQ(r[5], 'Y');
    EXPECT_EQ(r[6], READ_VERSION);
    EXPECT_EQ(r[11], frameChecksum(r.data()));
    EXPECT_NE(r[8], '1') << "a Pro by default";
    ASSERT_EQ(rig.actuator.frames().size(), 1u);
    EXPECT_EQ(rig.actuator.frames()[0], SimLine::frame(READ_VERSION));
}

TEST(SimBasic, Zr2VersionHasOneInByteEight) {
    sim::Options options;
    options.generation = sim::Generation::ZR2;
    SimRig rig(options);
    SimLine line(rig.server.path());
    EXPECT_EQ(line.exchange(READ_VERSION).at(8), '1');
}

TEST(SimBasic, RegistersReadBackWhatWasWrittenOnlyWhileUnlocked) {
    SimRig rig;
    SimLine line(rig.server.path());
    EXPECT_TRUE(rig.actuator.locked());
    EXPECT_EQ(line.exchange(WRITE_REGISTER, 72, 1, 2, 3).at(5), 'E');
    EXPECT_EQ(line.exchange(UNLOCK_EEPROM).at(5), 'Y');
    EXPECT_EQ(line.exchange(WRITE_REGISTER, 72, 0x1A, 0x2B, 0x3C).at(5), 'Y');
    EXPECT_EQ(line.exchange(WRITE_REGISTER_BYTE, 75, 0x4D).at(5), 'Y');
    EXPECT_EQ(line.exchange(LOCK_EEPROM).at(5), 'Y');
    EXPECT_EQ(line.exchange(WRITE_REGISTER_BYTE, 72, 0).at(5), 'E');

    const auto r = line.exchange(READ_REGISTER, 73);
    EXPECT_EQ(r.at(8), 0x2B);
    EXPECT_EQ(r.at(9), 0x3C);
    EXPECT_EQ(r.at(10), 0x4D);
    EXPECT_EQ(rig.actuator.eeprom()[256 + 72], 0x1A);
}

TEST(SimBasic, StatusClockAndNotInLocal) {
    sim::Options options;
    options.notInLocal = true;
    SimRig rig(options);
    rig.actuator.setClock(0x11223344);
    rig.actuator.setInputByte(0x80);
    SimLine line(rig.server.path());
    EXPECT_EQ(line.exchange(READ_STATUS, 116).at(9) & 0x04, 0x04);
    EXPECT_EQ(line.exchange(READ_STATUS, 132).at(8), 0x80);
    const auto c = line.exchange(READ_CLOCK);
    EXPECT_EQ(c.at(7), 0x44);
    EXPECT_EQ(c.at(8), 0x33);
    EXPECT_EQ(c.at(9), 0x22);
    EXPECT_EQ(c.at(10), 0x11);
}

}  // namespace
}  // namespace vantrel::test
