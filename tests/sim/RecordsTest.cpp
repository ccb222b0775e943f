// Configuration and datalog record streams: layout, CRC, ordering and timing.
#include <gtest/gtest.h>

#include <chrono>

#include "SimFixture.h"
#include "SimLine.h"
#include "link/Commands.h"
#include "link/Crc16.h"

namespace vantrel::test {
namespace {

using namespace link;
using Clock = std::chrono::steady_clock;

constexpr int kRecord = 136;

// Checks one 136-byte record at offset: marker, number and a matching CRC.
::testing::AssertionResult goodRecord(const std::vector<uint8_t>& bytes, size_t offset,
                                      const char* marker, int number) {
    if (bytes.size() < offset + kRecord) return ::testing::AssertionFailure() << "short";
    if (std::string(bytes.begin() + offset, bytes.begin() + offset + 5) != marker)
        return ::testing::AssertionFailure() << "marker";
    if (bytes[offset + 5] != number)
        return ::testing::AssertionFailure() << "number " << int(bytes[offset + 5]);
    const uint16_t crc = crc16(bytes.data() + offset + 5, 129, kCrcStart);
    if (bytes[offset + 134] != (crc & 0xFF) || bytes[offset + 135] != (crc >> 8))
        return ::testing::AssertionFailure() << "CRC of block " << number;
    return ::testing::AssertionSuccess();
}

std::vector<uint8_t> dataOf(const std::vector<uint8_t>& bytes, size_t offset) {
    return {bytes.begin() + offset + 6, bytes.begin() + offset + 134};
}

TEST(SimRecords, ConfigBurstCarriesTheEepromInFourGoodRecords) {
    SimRig rig;
    rig.actuator.setEeprom(300, 0xA5);
    SimLine line(rig.server.path());
    ASSERT_EQ(line.exchange(REQUEST_CONFIG_BLOCKS, 0, 3, 255).at(5), 'Y');
    const auto burst = line.read(kBurstBytes);
    ASSERT_EQ(burst.size(), size_t(kBurstBytes));
    const auto eeprom = rig.actuator.eeprom();
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(goodRecord(burst, i * kRecord, "EPROM", i));
        EXPECT_EQ(dataOf(burst, i * kRecord),
                  std::vector<uint8_t>(eeprom.begin() + 128 * i, eeprom.begin() + 128 * i + 128));
    }
    EXPECT_EQ(burst[2 * kRecord + 6 + 300 - 256], 0xA5);
    EXPECT_EQ(line.exchange(REQUEST_CONFIG_BLOCKS, 2, 3, 0).at(5), 'E') << "beyond block 3";
}

TEST(SimRecords, BadCrcHitsTheBurstOnlyAndNoisePrecedesRecords) {
    sim::Options options;
    options.faults.badCrcConfigBlock = 2;
    options.faults.noiseBeforeRecords = 7;
    SimRig rig(options);
    SimLine line(rig.server.path());
    line.exchange(REQUEST_CONFIG_BLOCKS, 0, 3, 0);
    const auto burst = line.read(7 + kBurstBytes);
    ASSERT_EQ(burst.size(), size_t(7 + kBurstBytes));
    for (int i = 0; i < 7; ++i)
        EXPECT_NE(burst[i], 'E');
    EXPECT_TRUE(goodRecord(burst, 7 + kRecord, "EPROM", 1));
    EXPECT_FALSE(goodRecord(burst, 7 + 2 * kRecord, "EPROM", 2));

    ASSERT_EQ(line.exchange(REQUEST_CONFIG_BLOCKS, 2, 0, 0).at(5), 'Y');
    const auto again = line.read(7 + kRecord);
    EXPECT_TRUE(goodRecord(again, 7, "EPROM", 2));
}

// Reads records until the line is quiet, returning the bytes and the arrival gaps.
struct Stream {
    std::vector<uint8_t> bytes;
    Clock::duration longestGap{};
};
Stream readStream(SimLine& line, size_t expected, int quietMs = 1200) {
    Stream s;
    auto last = Clock::now();
    while (s.bytes.size() < expected) {
        const auto chunk =
            line.read(expected - s.bytes.size() < 64 ? expected - s.bytes.size() : 64, quietMs);
        if (chunk.empty()) break;
        const auto now = Clock::now();
        if (!s.bytes.empty()) s.longestGap = std::max(s.longestGap, now - last);
        last = now;
        s.bytes.insert(s.bytes.end(), chunk.begin(), chunk.end());
    }
    return s;
}

TEST(SimRecords, ProSendsEachGroupAsOneBurstOfRecognisableBlocks) {
    SimRig rig;
    SimLine line(rig.server.path());
    for (const auto& [first, count] : sim::kDatalogGroups) {
        ASSERT_EQ(line.exchange(REQUEST_DATALOG_BLOCKS, first, count - 1, 255).at(5), 'Y');
        const auto s = readStream(line, count * kRecord);
        ASSERT_EQ(s.bytes.size(), size_t(count * kRecord)) << "group " << first;
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(goodRecord(s.bytes, i * kRecord, "BLOCK", first + i));
            const auto stored = rig.actuator.datalogBlock(first + i);
            EXPECT_EQ(dataOf(s.bytes, i * kRecord),
                      std::vector<uint8_t>(stored.begin(), stored.end()));
        }
    }
    // Stored blocks differ from one another and from an erased block.
    EXPECT_NE(rig.actuator.datalogBlock(0), rig.actuator.datalogBlock(1));
    EXPECT_NE(rig.actuator.datalogBlock(240)[5], 0xFF);
}

TEST(SimRecords, Zr2SendsBlocksOneByOneWithAGap) {
    sim::Options options;
    options.generation = sim::Generation::ZR2;
    options.faults.noiseBeforeRecords = 3;
    SimRig rig(options);
    SimLine line(rig.server.path());
    ASSERT_EQ(line.exchange(REQUEST_DATALOG_BLOCKS, 192, 7, 0).at(5), 'Y');
    const auto s = readStream(line, 8 * (3 + kRecord));
    ASSERT_EQ(s.bytes.size(), size_t(8 * (3 + kRecord)));
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(goodRecord(s.bytes, i * (3 + kRecord) + 3, "BLOCK", 192 + i));
}

TEST(SimRecords, NoiseCanPrecedeEveryRecordOfAProBurst) {
    sim::Options options;
    options.faults.noiseBeforeEachDatalogRecord = 6;
    SimRig rig(options);
    SimLine line(rig.server.path());
    ASSERT_EQ(line.exchange(REQUEST_DATALOG_BLOCKS, 192, 7, 255).at(5), 'Y');
    const auto s = readStream(line, 8 * (6 + kRecord));
    ASSERT_EQ(s.bytes.size(), size_t(8 * (6 + kRecord)));
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(goodRecord(s.bytes, i * (6 + kRecord) + 6, "BLOCK", 192 + i));
}

TEST(SimRecords, DatalogFaultsShapeTheStream) {
    sim::Options options;
    auto& f = options.faults;
    f.missingDatalogBlocks = {5, 6};
    f.badCrcDatalogBlock = 9;
    f.renumberedDatalogBlock = std::pair{11, 40};
    f.slowDatalogBlock = 12;
    SimRig rig(options);
    SimLine line(rig.server.path());
    line.exchange(REQUEST_DATALOG_BLOCKS, 0, 13, 255);
    const auto s = readStream(line, 12 * kRecord, 2000);
    ASSERT_EQ(s.bytes.size(), size_t(12 * kRecord)) << "14 blocks less the two missing";
    // Slot k holds block numbers 0..4, 7..13.
    const int numbers[12] = {0, 1, 2, 3, 4, 7, 8, 9, 10, 11, 12, 13};
    for (int k = 0; k < 12; ++k) {
        const int n = numbers[k];
        if (n == 9) {
            EXPECT_FALSE(goodRecord(s.bytes, k * kRecord, "BLOCK", 9));
        } else if (n == 11) {
            EXPECT_TRUE(goodRecord(s.bytes, k * kRecord, "BLOCK", 40)) << "CRC fits the new number";
        } else {
            EXPECT_TRUE(goodRecord(s.bytes, k * kRecord, "BLOCK", n));
        }
    }
    EXPECT_GT(s.longestGap, std::chrono::milliseconds(1000)) << "block 12 is late";
}

TEST(SimRecords, SilentDatalogAndReset) {
    sim::Options options;
    options.faults.silentDatalog = true;
    SimRig rig(options);
    SimLine line(rig.server.path());
    EXPECT_EQ(line.exchange(REQUEST_DATALOG_BLOCKS, 224, 0, 255).at(5), 'Y');
    EXPECT_TRUE(line.read(1, 300).empty());
    EXPECT_EQ(line.exchange(REQUEST_DATALOG_BLOCKS, 240, 1, 255).at(5), 'E') << "past block 240";

    EXPECT_FALSE(rig.actuator.datalogCleared());
    EXPECT_EQ(line.exchange(RESET_DATALOGGER).at(5), 'Y');
    EXPECT_TRUE(rig.actuator.datalogCleared());
    EXPECT_EQ(rig.actuator.datalogBlock(0)[10], 0xFF);
}

TEST(SimRecords, PacedOutputRunsAtTheWireRate) {
    sim::Options options;
    options.pace = true;
    SimRig rig(options);
    SimLine line(rig.server.path());
    const auto start = Clock::now();
    line.send(REQUEST_DATALOG_BLOCKS, 208, 15, 255);
    const auto s = readStream(line, 12 + 16 * kRecord);
    const auto elapsed = Clock::now() - start;
    ASSERT_EQ(s.bytes.size(), size_t(12 + 16 * kRecord));
    const auto wire = sim::kByteTime * int64_t(s.bytes.size());  // about 190 ms
    EXPECT_GT(elapsed, wire * 95 / 100);
    EXPECT_LT(elapsed, wire * 3 / 2);
}

}  // namespace
}  // namespace vantrel::test
