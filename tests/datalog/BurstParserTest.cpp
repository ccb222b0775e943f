// The Pro burst parser on hand-made buffers: noise, lost bytes, missing, wrong and
// lower block numbers, no marker at all, bursts that end early, and stale bytes
// beyond what arrived.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DatalogTestData.h"
#include "datalog/BurstParser.h"

namespace vantrel::test {
namespace {

using datalog::DatalogRecord;
using datalog::emptySlot;
using datalog::kGroups;
using datalog::parseBurst;

struct Parsed {
    DatalogRecord record;
    std::vector<std::string> messages;
};

Parsed parse(const std::vector<uint8_t>& bytes, size_t group, size_t size) {
    Parsed parsed;
    parseBurst(bytes.data(), size, group, parsed.record,
               [&parsed](const std::string& text) { parsed.messages.push_back(text); });
    return parsed;
}
Parsed parse(const std::vector<uint8_t>& bytes, size_t group) {
    return parse(bytes, group, bytes.size());
}

std::vector<int> flagged(const DatalogRecord& record) {
    std::vector<int> numbers;
    for (int n = 0; n < datalog::kBlockNumbers; ++n)
        if (record.blockErrors[n]) numbers.push_back(n);
    return numbers;
}

std::vector<uint8_t> group(size_t g, const std::vector<int>& leaveOut = {}) {
    std::vector<uint8_t> bytes;
    for (int n = kGroups[g].first; n < kGroups[g].end(); ++n)
        if (std::find(leaveOut.begin(), leaveOut.end(), n) == leaveOut.end())
            append(bytes, datalogRecord(n));
    return bytes;
}

TEST(BurstParser, CompleteGroupsLandInTheirSlotsAndNoiseIsSkipped) {
    for (size_t g = 0; g < kGroups.size(); ++g) {
        std::vector<uint8_t> bytes = {'B', 'L', 'O', 0x00, 'x'};  // a torn marker first
        append(bytes, group(g));
        const Parsed parsed = parse(bytes, g);
        EXPECT_TRUE(parsed.messages.empty());
        EXPECT_TRUE(flagged(parsed.record).empty());
        const int base = datalog::groupSlotBase(g);
        for (int s = 0; s < datalog::kSlotCount; ++s) {
            const int offset = s - base;
            if (offset >= 0 && offset < kGroups[g].count)
                EXPECT_TRUE(slotHoldsBlock(parsed.record.slots[s], kGroups[g].first + offset)) << s;
            else
                EXPECT_EQ(parsed.record.slots[s], emptySlot()) << s;
        }
    }
}

TEST(BurstParser, MissingBlocksAreFlaggedAndLaterBlocksKeepTheirSlots) {
    const Parsed parsed = parse(group(0, {5, 6}), 0);
    EXPECT_EQ(parsed.messages, std::vector<std::string>{"Block number wrong"});
    EXPECT_EQ(flagged(parsed.record), (std::vector<int>{5, 6}));
    EXPECT_EQ(parsed.record.slots[5], emptySlot());
    EXPECT_EQ(parsed.record.slots[6], emptySlot());
    for (int n : {4, 7, 8, 128})
        EXPECT_TRUE(slotHoldsBlock(parsed.record.slots[n], n)) << n;
}

TEST(BurstParser, BadCrcStaysInItsSlotWithTheCrcAsReceived) {
    std::vector<uint8_t> bytes;
    for (int n = 208; n < 224; ++n)
        append(bytes, datalogRecord(n, n != 210));
    const Parsed parsed = parse(bytes, 2);
    EXPECT_EQ(parsed.messages, std::vector<std::string>{"CRC wrong"});
    EXPECT_EQ(flagged(parsed.record), std::vector<int>{210});
    const auto& slot = parsed.record.slots[datalog::groupSlotBase(2) + 2];
    const auto bad = datalogRecord(210, false);
    EXPECT_EQ(slot[0], 210);
    EXPECT_EQ(slot[129], bad[134]);
    EXPECT_EQ(slot[130], bad[135]);
    EXPECT_EQ(slot[131], datalog::kCarriageReturn);
}

TEST(BurstParser, UnexpectedNumbersWithoutSkipTakeTheExpectedSlotAndFlagIt) {
    // Group 1 is 192..199: a record numbered 12 (lower) where 194 is expected, and
    // one numbered 230 (beyond the group) where 197 is expected.
    std::vector<uint8_t> bytes;
    for (int n = 192; n < 200; ++n)
        append(bytes, datalogRecord(n == 194 ? 12 : n == 197 ? 230 : n));
    const Parsed parsed = parse(bytes, 1);
    EXPECT_EQ(parsed.messages,
              (std::vector<std::string>{"Block number wrong", "Block number wrong"}));
    EXPECT_EQ(flagged(parsed.record), (std::vector<int>{194, 197}));
    const int base = datalog::groupSlotBase(1);
    EXPECT_TRUE(slotHoldsBlock(parsed.record.slots[base + 2], 12));
    EXPECT_TRUE(slotHoldsBlock(parsed.record.slots[base + 5], 230));
    EXPECT_TRUE(slotHoldsBlock(parsed.record.slots[base + 7], 199));
}

TEST(BurstParser, NoMarkerOrEarlyEndFlagsTheRestAndLeavesTheirSlotsEmpty) {
    const std::vector<uint8_t> noise(800, 'B');
    Parsed parsed = parse(noise, 1);
    EXPECT_TRUE(parsed.messages.empty());
    EXPECT_EQ(flagged(parsed.record), (std::vector<int>{192, 193, 194, 195, 196, 197, 198, 199}));
    for (const auto& slot : parsed.record.slots)
        EXPECT_EQ(slot, emptySlot());

    // Ten records and the first 100 bytes of the eleventh: blocks 10.. are missing.
    std::vector<uint8_t> early = group(0);
    early.resize(10 * 136 + 100);
    parsed = parse(early, 0);
    EXPECT_TRUE(parsed.messages.empty());
    EXPECT_EQ(flagged(parsed.record).size(), 119u);
    EXPECT_EQ(flagged(parsed.record).front(), 10);
    EXPECT_TRUE(slotHoldsBlock(parsed.record.slots[9], 9));
    EXPECT_EQ(parsed.record.slots[10], emptySlot());
}

TEST(BurstParser, NeverReadsBeyondTheBytesThatArrived) {
    // The buffer still holds a whole group from before; only three records arrived now.
    const std::vector<uint8_t> bytes = group(0);
    const Parsed parsed = parse(bytes, 0, 3 * 136);
    EXPECT_TRUE(slotHoldsBlock(parsed.record.slots[2], 2));
    EXPECT_EQ(parsed.record.slots[3], emptySlot());
    EXPECT_EQ(flagged(parsed.record).size(), 126u);
}

TEST(BurstParser, ALostByteSpoilsOnlyItsOwnRecord) {
    std::vector<uint8_t> bytes;
    for (int n = 208; n < 224; ++n) {
        auto record = datalogRecord(n);
        if (n == 215) record.erase(record.begin() + 60);
        append(bytes, record);
    }
    const Parsed parsed = parse(bytes, 2);
    EXPECT_EQ(parsed.messages, std::vector<std::string>{"CRC wrong"});
    EXPECT_EQ(flagged(parsed.record), std::vector<int>{215});
    const int base = datalog::groupSlotBase(2);
    EXPECT_TRUE(slotHoldsBlock(parsed.record.slots[base + 8], 216));
    EXPECT_TRUE(slotHoldsBlock(parsed.record.slots[base + 15], 223));
}

}  // namespace
}  // namespace vantrel::test
