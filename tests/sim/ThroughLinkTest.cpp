// The simulator as the tool's own link code sees it: frames, refusals, records and
// a hang-up, through LinkPort on the rig's Context.
#include <gtest/gtest.h>

#include <thread>

#include "SimFixture.h"
#include "link/Commands.h"
#include "link/ErrorFlags.h"
#include "link/LinkPort.h"

namespace vantrel::test {
namespace {

using namespace link;

TEST(SimThroughLink, WriteProbeTakesBothWays) {
    for (bool accept : {false, true}) {
        sim::Options options;
        options.generation = sim::Generation::ZR2;
        options.acceptWritesWhileLocked = accept;
        SimRig rig(options);
        LinkPort port(rig.context);
        ASSERT_TRUE(port.sendCommand(LOCK_EEPROM, 0, 0, 0, 0, true));
        ASSERT_TRUE(port.sendCommand(READ_ID_BYTES, 253, 0, 0, 0, true));
        const uint8_t a = port.reply(8), b = port.reply(9), c = port.reply(10);
        EXPECT_EQ(port.sendCommand(WRITE_ID_PAIR, 253, a, b, c, false), accept);
        EXPECT_EQ(rig.context.errorFlags, accept ? 0u : uint32_t{kEepromError});
        EXPECT_TRUE(rig.ui.errors.empty());
    }
}

TEST(SimThroughLink, MissingOptionCardAndBadChecksumSetTheirFlags) {
    sim::Options options;
    options.faults.badChecksumCommand = READ_CLOCK;
    SimRig rig(options);
    {
        LinkPort port(rig.context);
        EXPECT_FALSE(port.sendCommand(READ_OPTION_TYPE, 0, 0, 0, 0, false));
        EXPECT_EQ(rig.context.errorFlags, uint32_t{kOptionCommsError});
        rig.context.errorFlags = 0;
        EXPECT_FALSE(port.sendCommand(READ_CLOCK, 0, 0, 0, 0, false));
        EXPECT_EQ(rig.context.errorFlags, uint32_t{kChecksumBad});
    }
}

TEST(SimThroughLink, BadBurstBlockIsFetchedAgainPastNoise) {
    sim::Options options;
    options.faults.badCrcConfigBlock = 1;
    options.faults.noiseBeforeRecords = 9;
    SimRig rig(options);
    LinkPort port(rig.context);
    ASSERT_TRUE(port.sendCommand(REQUEST_CONFIG_BLOCKS, 0, 3, 255, 0, true));
    uint8_t burst[kBurstBytes];
    ASSERT_TRUE(port.receiveBurst(burst));
    ASSERT_TRUE(port.sendCommand(REQUEST_CONFIG_BLOCKS, 1, 0, 0, 0, true));
    uint8_t block[kRecordDataBytes];
    ASSERT_TRUE(port.receiveBlock(block, kConfigLeadIn));
    const auto eeprom = rig.actuator.eeprom();
    EXPECT_TRUE(std::equal(block, block + kRecordDataBytes, eeprom.begin() + 128));
}

TEST(SimThroughLink, SlowRecordEndsTheProBurstEarly) {
    sim::Options options;
    options.faults.slowDatalogBlock = 3;
    SimRig rig(options);
    LinkPort port(rig.context);
    ASSERT_TRUE(port.sendCommand(REQUEST_DATALOG_BLOCKS, 0, 7, 255, 0, true));
    std::vector<uint8_t> buffer(8 * kRecordBytes);
    int received = 0;
    EXPECT_TRUE(port.receiveRecords(buffer, 8, &received));
    EXPECT_EQ(received, 3 * kRecordBytes);
    EXPECT_EQ(rig.ui.messages, std::vector<std::string>{"Timeout receiving datalog"});
}

TEST(SimThroughLink, AfterAHangUpTheNextOperationConnectsAgain) {
    sim::Options options;
    options.faults.hangUpAfterFrames = 1;
    SimRig rig(options);
    {
        LinkPort port(rig.context);
        EXPECT_TRUE(port.sendCommand(READ_VERSION, 0, 0, 0, 0, false));
        EXPECT_FALSE(port.sendCommand(READ_VERSION, 0, 0, 0, 0, false));
    }
    for (int i = 0; i < 100 && rig.server.hangUps() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    rig.reconnect();
    LinkPort port(rig.context);
    EXPECT_TRUE(port.sendCommand(READ_VERSION, 0, 0, 0, 0, false));
}

}  // namespace
}  // namespace vantrel::test
