// The datalogger file: its fields, its fixed layout and its safe replacement of an
// existing file; and the tool clock it records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "DatalogTestData.h"
#include "datalog/DatalogFile.h"
#include "datalog/ToolClock.h"

namespace vantrel::test {
namespace {

using namespace datalog;
namespace fs = std::filesystem;

TEST(DatalogFields, ClockFieldsFillWithZeroOrF) {
    // Actuator clock 123 ahead: the unsigned difference wraps, the flag is set.
    EXPECT_EQ(clockDifferenceField(uint64_t{1000} - 1123, true), "ffffffff-123");
    EXPECT_EQ(clockDifferenceField(4567, false), "000000004567");
    EXPECT_EQ(clockDifferenceField(0, false), "000000000000");
    // Only the low 32 bits are kept, read as signed.
    EXPECT_EQ(clockDifferenceField(0x1'8000'0000ull, false), "0-2147483648");
    EXPECT_EQ(actuatorClockField(0), "000000000000");
    EXPECT_EQ(actuatorClockField(0x3FFFFFFF), "001073741823");
}

TEST(DatalogFields, FileNameFieldIsTheBareNameRightAligned) {
    EXPECT_EQ(fileNameField("DatalogData"), " DatalogData");
    EXPECT_EQ(fileNameField("/home/u/logs.d/DatalogData.dfg"), " DatalogData");
    EXPECT_EQ(fileNameField("a.b.dfg"), std::string(11, ' ') + "a");
    EXPECT_EQ(fileNameField("valve_station_17.dfg"), "valve_statio");
    EXPECT_EQ(fileNameField(".dfg"), std::string(12, ' '));
    EXPECT_EQ(fileNameField("M\xC3\xBChle\xE2\x82\xAC.dfg"), "      M\xFChle?");
    EXPECT_EQ(dateTimeField("Tue 05 Mar 2024 01:04:05"), "Tue 05 Mar 2024 01:04:05");
    EXPECT_EQ(dateTimeField("short"), "short" + std::string(19, ' '));
    EXPECT_EQ(dateTimeField(std::string(30, 'x')), std::string(24, 'x'));
}

DatalogRecord sampleRecord() {
    DatalogRecord record;
    record.actuatorClock = 77;
    record.clockDifference = 1000;
    record.dateTime = "Tue 05 Mar 2024 01:04:05";
    for (int i = 0; i < kIdentificationBytes; ++i)
        record.identification[i] = static_cast<uint8_t>(0x40 + i);
    const auto block = datalogRecord(9);
    std::copy(block.begin() + 5, block.end(), record.slots[9].begin());
    return record;
}

TEST(DatalogFile, HeaderAndSlotsAreLaidOutAtFixedOffsets) {
    const auto bytes = datalogFileBytes(sampleRecord(), "/tmp/x/Station.dfg");
    ASSERT_EQ(bytes.size(), 20592u);
    const std::string header(bytes.begin(), bytes.begin() + 132);
    EXPECT_EQ(header.substr(0, 12), "000000001000");
    EXPECT_EQ(header.substr(13, 12), "000000000077");
    EXPECT_EQ(header.substr(26, 12), "     Station");
    EXPECT_EQ(header.substr(39, 24), "Tue 05 Mar 2024 01:04:05");
    for (int at : {12, 25, 38})
        EXPECT_EQ(bytes[at], 0x09) << at;
    for (int i = 0; i < 27; ++i)
        EXPECT_EQ(bytes[63 + i], 0x40 + i);
    EXPECT_EQ(header.substr(90, 40), std::string(40, ' '));
    EXPECT_EQ(bytes[130], 0x1A);
    EXPECT_EQ(bytes[131], 0x0D);
    for (int s = 0; s < kSlotCount; ++s) {
        const Slot slot = [&] {
            Slot copy;
            std::copy_n(bytes.begin() + 132 + s * 132, 132, copy.begin());
            return copy;
        }();
        if (s == 9)
            EXPECT_TRUE(slotHoldsBlock(slot, 9));
        else
            EXPECT_EQ(slot, emptySlot()) << s;
    }
}

class DatalogFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("datalog-file-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static std::vector<uint8_t> read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    int entries() const {
        return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
    }

    fs::path folder;
};

TEST_F(DatalogFileOnDisk, ReplacesAnExistingFileKeepsItsModeAndLeavesNoTemporary) {
    const fs::path target = folder / "DatalogData.dfg";
    std::ofstream(target) << "an older, longer file that must go entirely"
                          << std::string(30000, '.');
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(writeDatalogFile(target.string(), sampleRecord()));
    EXPECT_EQ(read(target), datalogFileBytes(sampleRecord(), target.string()));
    EXPECT_EQ(entries(), 1);
    // A file kept private stays private.
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(DatalogFileOnDisk, FailedSaveReportsFalseAndKeepsWhatWasThere) {
    EXPECT_FALSE(writeDatalogFile((folder / "missing" / "x.dfg").string(), sampleRecord()));
    // A folder where the file should go: the rename fails, the folder and its
    // contents stay, and the temporary file is removed.
    const fs::path occupied = folder / "occupied.dfg";
    fs::create_directories(occupied / "inside");
    EXPECT_FALSE(writeDatalogFile(occupied.string(), sampleRecord()));
    EXPECT_TRUE(fs::is_directory(occupied / "inside"));
    EXPECT_EQ(entries(), 1);
}

// Runs with the local time zone set to zone, and puts back the one before.
class ToolClockInZone : public ::testing::Test {
protected:
    explicit ToolClockInZone(const char* zone) : zone_(zone) {}
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        if (tz) saved = tz;
        hadTz = tz != nullptr;
        setenv("TZ", zone_, 1);
        tzset();
    }
    void TearDown() override {
        if (hadTz)
            setenv("TZ", saved.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    const char* zone_;
    std::string saved;
    bool hadTz = false;
};

class ToolClockInUtc : public ToolClockInZone {
protected:
    ToolClockInUtc() : ToolClockInZone("UTC") {}
};

// Summer time from the last Sunday of March to the last Sunday of October.
class ToolClockWithSummerTime : public ToolClockInZone {
protected:
    ToolClockWithSummerTime() : ToolClockInZone("GMT0BST,M3.5.0/1,M10.5.0") {}
};

TEST_F(ToolClockInUtc, CountsSecondsSince1989AndFormatsTwelveHourTime) {
    constexpr std::time_t k1989 = 599616000;  // 1 January 1989 00:00:00 UTC
    EXPECT_EQ(readToolClock(k1989).seconds, 0u);
    EXPECT_EQ(readToolClock(k1989 - 5).seconds, 0u);
    const std::time_t later = 1709643845;  // Tuesday 5 March 2024 13:04:05 UTC
    const ToolClock clock = readToolClock(later);
    EXPECT_EQ(clock.seconds, static_cast<uint64_t>(later - k1989));
    EXPECT_EQ(clock.dateTime, "Tue 05 Mar 2024 01:04:05");
    EXPECT_EQ(toZr2ClockUnit(32000), 32768u);
    EXPECT_EQ(toZr2ClockUnit(31999), 32766u);
}

TEST_F(ToolClockWithSummerTime, CountsWallClockSecondsWhateverTheOffset) {
    // Monday 1 July 2024 12:00:00 UTC is 13:00:00 on the wall clock.
    const ToolClock summer = readToolClock(1719835200);
    EXPECT_EQ(summer.seconds, 1120222800u);  // 1989-01-01 00:00:00 to 2024-07-01 13:00:00
    EXPECT_EQ(summer.dateTime, "Mon 01 Jul 2024 01:00:00");
    // Monday 15 January 2024 12:00:00 UTC, the same on the wall clock.
    EXPECT_EQ(readToolClock(1705320000).seconds, 1105704000u);
}

}  // namespace
}  // namespace vantrel::test
