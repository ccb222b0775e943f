// Injected faults, frame syncing and the hang-up / reconnect path.
#include <gtest/gtest.h>

#include <thread>

#include "SimFixture.h"
#include "SimLine.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

using namespace link;

TEST(SimFaults, RefusalsByCommandAddressAndCount) {
    sim::Options options;
    options.faults.refusals.push_back({READ_REGISTER, uint8_t{72}, 'E', 2});
    options.faults.refusals.push_back({READ_OPTION_BYTE, std::nullopt, 'X', -1});
    SimRig rig(options);
    SimLine line(rig.server.path());
    EXPECT_EQ(line.exchange(READ_REGISTER, 71).at(5), 'Y') << "another address";
    EXPECT_EQ(line.exchange(READ_REGISTER, 72).at(5), 'E');
    EXPECT_EQ(line.exchange(READ_REGISTER, 72).at(5), 'E');
    EXPECT_EQ(line.exchange(READ_REGISTER, 72).at(5), 'Y') << "only twice";
    const auto r = line.exchange(READ_OPTION_BYTE, 3);
    EXPECT_EQ(r.at(5), 'X') << "refused even with no card fitted";
    EXPECT_EQ(r.at(11), frameChecksum(r.data()));
}

TEST(SimFaults, BadChecksumAndSilence) {
    sim::Options options;
    options.faults.badChecksumCommand = READ_CLOCK;
    options.faults.silentCommand = READ_VERSION;
    SimRig rig(options);
    SimLine line(rig.server.path());
    const auto r = line.exchange(READ_CLOCK);
    ASSERT_EQ(r.size(), 12u);
    EXPECT_NE(r[11], frameChecksum(r.data()));
    EXPECT_TRUE(line.exchange(READ_VERSION).empty());
    EXPECT_EQ(line.exchange(READ_STATUS, 116).at(5), 'Y') << "still serving";
    EXPECT_EQ(rig.actuator.commands(),
              (std::vector<uint8_t>{READ_CLOCK, READ_VERSION, READ_STATUS}));
}

TEST(SimFaults, SyncsOnTheHeaderAndAnswersBadFramesAsBadResults) {
    SimRig rig;
    SimLine line(rig.server.path());
    // Noise, then a frame split over two writes.
    auto f = SimLine::frame(READ_REGISTER, 72);
    std::vector<uint8_t> bytes = {0x00, 'H', 0x55, 'H', 'H'};
    bytes.insert(bytes.end(), f.begin(), f.begin() + 4);
    line.write(bytes.data(), bytes.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    line.write(f.data() + 4, f.size() - 4);
    EXPECT_EQ(line.read(12).at(5), 'Y');
    ASSERT_EQ(rig.actuator.frames().size(), 1u);
    EXPECT_EQ(rig.actuator.frames()[0], f);

    f[10] ^= 1;
    line.write(f.data(), f.size());
    EXPECT_EQ(line.read(12).at(5), 'C') << "checksum wrong";
    EXPECT_EQ(rig.actuator.frames().size(), 2u) << "logged all the same";
    EXPECT_EQ(line.exchange(0xF0).at(5), '?') << "unknown command";
}

TEST(SimFaults, HangUpAfterFramesThenReconnect) {
    sim::Options options;
    options.faults.hangUpAfterFrames = 2;
    SimRig rig(options);
    const std::string first = rig.server.path();
    {
        SimLine line(first);
        EXPECT_EQ(line.exchange(READ_VERSION).at(5), 'Y');
        EXPECT_EQ(line.exchange(READ_VERSION).at(5), 'Y');
        EXPECT_TRUE(line.hungUp());
    }
    for (int i = 0; i < 100 && rig.server.hangUps() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(rig.server.hangUps(), 1);
    rig.reconnect();
    SimLine again(rig.context.portName);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(again.exchange(READ_VERSION).at(5), 'Y') << "fires once";
}

TEST(SimFaults, HangUpBeforeADatalogBlock) {
    sim::Options options;
    options.generation = sim::Generation::ZR2;
    options.faults.hangUpAtDatalogBlock = 3;
    SimRig rig(options);
    SimLine line(rig.server.path());
    line.send(REQUEST_DATALOG_BLOCKS, 0, 9, 0);
    EXPECT_EQ(line.read(12 + 3 * 136, 500).size(), size_t(12 + 3 * 136));
    EXPECT_TRUE(line.hungUp());
}

TEST(SimFaults, ServerStopsPromptlyWhileOutputIsPending) {
    sim::Options options;
    options.pace = true;
    auto rig = std::make_unique<SimRig>(options);
    SimLine line(rig->server.path());
    line.send(REQUEST_DATALOG_BLOCKS, 0, 128, 255);  // about 1.5 s on the wire
    line.read(12);
    const auto start = std::chrono::steady_clock::now();
    rig.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

}  // namespace
}  // namespace vantrel::test
