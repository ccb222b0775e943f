// A datalogger file read back: its header, the identification record decoded by the
// pages that own its bytes, the health of every slot, and files that are not
// datalogger files at all.
#include <gtest/gtest.h>

#include "DatalogTestData.h"
#include "datalog/DatalogFile.h"
#include "datalog/DatalogSummary.h"

namespace vantrel::test {
namespace {

using namespace datalog;

// Contact function bytes hold the function code above the NC bit.
constexpr uint8_t contact(int code, bool normallyClosed) {
    return static_cast<uint8_t>(code << 1 | (normallyClosed ? 1 : 0));
}

// Slot s of a complete extraction holds this block.
int blockOf(int s) {
    for (const DatalogGroup& group : kGroups) {
        if (s < group.count) return group.first + s;
        s -= group.count;
    }
    return -1;
}

void put(Slot& slot, const std::vector<uint8_t>& wireRecord) {
    std::copy(wireRecord.begin() + 5, wireRecord.end(), slot.begin());
    slot[kSlotEnd] = kCarriageReturn;
}

// A Pro extraction whose actuator clock was 123 ahead, with a slot of each health.
DatalogRecord sample() {
    DatalogRecord record;
    record.actuatorClock = 4567;
    record.clockDifference = uint64_t{1000} - 1123;
    record.negative = true;
    record.dateTime = "Tue 05 Mar 2024 01:04:05";
    auto& id = record.identification;
    for (int at : kRecordSeparatorBytes)
        id[at] = kFieldSeparator;
    const uint8_t version[] = {'R', '3', '0', '2'};
    std::copy(std::begin(version), std::end(version), id.begin() + kVersionRecordByte);
    auto reg = [&id](int address, uint8_t value) { id[recordByteOf(address)] = value; };
    reg(44, contact(3, true));     // S1: tC, NC
    reg(45, contact(0, false));    // S2: CL, NO
    reg(46, contact(28, false));   // S3: the last function
    reg(47, contact(100, false));  // S4: a code with no entry
    reg(48, 5);                    // S1 value 5
    reg(49, 0);                    // S2 value 0: no entry
    reg(52, contact(12, true));    // S5: HA, NC
    reg(59, 99);                   // S8 value 99
    reg(65, 0x06);                 // 2 Wire Priority: Open
    reg(66, 0x08 | 0x20);          // Remote Control: Option; Local Control: Maintained
    reg(35, 0x87);
    for (int s = 0; s < kSlotCount; ++s)
        put(record.slots[s], datalogRecord(blockOf(s)));
    put(record.slots[3], datalogRecord(3, false));  // CRC wrong
    put(record.slots[20], datalogRecord(3));        // block 3 again: renumbered
    record.slots[154] = emptySlot();                // block 240 never came
    return record;
}

std::string valueOf(const DatalogSummary& summary, const std::string& page,
                    const std::string& name) {
    for (const CarriedSetting& setting : summary.settings)
        if (setting.page == page && setting.name == name) return setting.value;
    return "(not there)";
}

TEST(DatalogSummary, HeaderAndIdentificationReadBackThroughThePages) {
    const auto bytes = datalogFileBytes(sample(), "/logs/M\xC3\xBChle.dfg");
    std::string problem;
    const auto summary = summarize(bytes, problem);
    ASSERT_TRUE(summary) << problem;
    EXPECT_EQ(summary->clockDifference, "-123");
    EXPECT_TRUE(summary->actuatorAhead);
    EXPECT_EQ(summary->actuatorClock, "4567");
    EXPECT_EQ(summary->fileName, "M\xC3\xBChle");
    EXPECT_EQ(summary->dateTime, "Tue 05 Mar 2024 01:04:05");
    EXPECT_EQ(summary->versionText, "R302");
    EXPECT_FALSE(summary->zr2);

    // Both contact groups and the control bits of 65-66, three settings a contact.
    EXPECT_EQ(summary->settings.size(), 8u * 3 + 3);
    const std::string contacts = "Contacts S1 to S8";
    const struct {
        std::string name;
        std::string value;
    } shown[] = {{"S1 function", "tC:Torq trip Close"},
                 {"S1 NO/NC", "NC"},
                 {"S1 value", "5"},
                 {"S2 function", "CL:Closed Limit"},
                 {"S2 NO/NC", "NO"},
                 {"S2 value", "?"},
                 {"S3 function", "rP:Relay Parity"},
                 {"S4 function", "?"},
                 {"S5 function", "HA:Hand operation"},
                 {"S5 NO/NC", "NC"},
                 {"S8 value", "99"}};
    for (const auto& row : shown)
        EXPECT_EQ(valueOf(*summary, contacts, row.name), row.value) << row.name;
    for (const CarriedSetting& setting : summary->settings)
        if (setting.name == "S4 function") {
            EXPECT_EQ(setting.raw, 100u);
        }
    EXPECT_EQ(valueOf(*summary, "Control", "Remote Control"), "Option");
    EXPECT_EQ(valueOf(*summary, "Control", "2 Wire Priority"), "Open");
    EXPECT_EQ(valueOf(*summary, "Control", "Local Control"), "Maintained");
    // Register 67 is not carried: its setting is left out rather than shown as 0.
    EXPECT_EQ(valueOf(*summary, "Control", "IR Control / vandal proof setting"), "(not there)");
    ASSERT_EQ(summary->otherBytes.size(), 1u);
    EXPECT_EQ(summary->otherBytes[0].address, 35);
    EXPECT_EQ(summary->otherBytes[0].value, 0x87);
}

TEST(DatalogSummary, EverySlotHasItsHealthAndTheMapOneCharacterEach) {
    const auto bytes = datalogFileBytes(sample(), "x.dfg");
    std::string problem;
    const auto summary = summarize(bytes, problem);
    ASSERT_TRUE(summary) << problem;
    EXPECT_EQ(summary->slots[3].health, SlotHealth::CrcWrong);
    EXPECT_EQ(summary->slots[20].health, SlotHealth::WrongNumber);
    EXPECT_EQ(summary->slots[20].received, 3);
    EXPECT_EQ(summary->slots[154].health, SlotHealth::Empty);
    EXPECT_EQ(summary->slots[154].block, 240);
    EXPECT_EQ(summary->slots[153].health, SlotHealth::Intact);
    EXPECT_EQ(summary->count(SlotHealth::Intact), 152);
    EXPECT_FALSE(summary->allIntact());
    EXPECT_EQ(summary->blocksNotIntact(), (std::vector<int>{3, 20, 240}));
    std::string map(kSlotCount, '.');
    map[3] = 'C';
    map[20] = 'N';
    map[154] = '-';
    EXPECT_EQ(summary->blockMap(), map);

    // A ZR2 file whose version bytes are not text.
    DatalogRecord zr2 = sample();
    const uint8_t version[] = {0x02, '1', 0xFF, 'A'};
    std::copy(std::begin(version), std::end(version),
              zr2.identification.begin() + kVersionRecordByte);
    const auto other = summarize(datalogFileBytes(zr2, "x.dfg"), problem);
    ASSERT_TRUE(other) << problem;
    EXPECT_TRUE(other->zr2);
    EXPECT_EQ(other->versionText, "02 31 FF 41");
}

TEST(DatalogSummary, AFileThatIsNotADatalogIsRefusedWithTheReason) {
    const auto good = datalogFileBytes(sample(), "x.dfg");
    const struct {
        const char* name;
        size_t size;  // the file's size
        int at;       // the byte changed, if any
        const char* reason;
    } rows[] = {
        {"one byte short", 20591, -1, "holds 20591 bytes"},
        {"one byte long", 20593, -1, "holds 20593 bytes"},
        {"empty", 0, -1, "holds 0 bytes"},
        {"first field separator", 20592, 12, "separator at byte 12"},
        {"record separator", 20592, 63 + 22, "separator at byte 85"},
        {"header padding", 20592, 100, "padding at byte 100"},
        {"end of text", 20592, 130, "end of header"},
        {"carriage return of the header", 20592, 131, "end of header"},
        {"a slot's line end", 20592, 132 + 77 * 132 + 131, "slot 77"},
    };
    for (const auto& row : rows) {
        std::vector<uint8_t> bytes = good;
        bytes.resize(row.size, 0x0D);
        if (row.at >= 0) bytes[row.at] = 'x';
        std::string problem;
        EXPECT_FALSE(summarize(bytes, problem)) << row.name;
        EXPECT_NE(problem.find(row.reason), std::string::npos) << row.name << ": " << problem;
    }
}

}  // namespace
}  // namespace vantrel::test
