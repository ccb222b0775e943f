// The "Extract Datalogger File" screen against the simulated actuator, one case per
// way an extraction can end: what is shown, whether a file is written and what it
// holds.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "DatalogTestData.h"
#include "SimFixture.h"
#include "datalog/DatalogFile.h"
#include "datalog/Dataloggermenu.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

using datalog::CDataloggermenu;
using datalog::kGroups;
using datalog::kSlotBytes;
using Outcome = CDataloggermenu::Outcome;
namespace fs = std::filesystem;

constexpr std::time_t k1989 = 599616000;  // 1 January 1989 00:00:00 UTC
constexpr std::time_t kNow = 1262358245;  // Friday 1 January 2010 15:04:05 UTC
constexpr uint64_t kToolSeconds = kNow - k1989;
constexpr uint64_t kToolZr2Units = kToolSeconds * 32768 / 32000;

// The scripted Ui, also writing each status text into the transcript as it is shown.
class RecordingUi : public ScriptedUi {
public:
    void refresh() override {
        ScriptedUi::refresh();
        if (screen) shown.push_back("status: " + screen->status());
    }
    const CDataloggermenu* screen = nullptr;
};

class Extraction : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        hadTz_ = tz != nullptr;
        if (tz) savedTz_ = tz;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (hadTz_)
            setenv("TZ", savedTz_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
        rig_.reset();
    }

    SimRig& rig(sim::Options options = {}) {
        ui.files.clear();
        rig_ = std::make_unique<SimRig>(std::move(options));
        context_ = std::make_unique<shell::Context>(ui, rig_->settings);
        context_->portName = rig_->server.path();
        screen_ = std::make_unique<CDataloggermenu>(*context_);
        screen_->clock = [] { return kNow; };
        ui.screen = screen_.get();
        return *rig_;
    }
    sim::Options pro() { return {}; }
    sim::Options zr2() {
        sim::Options options;
        options.generation = sim::Generation::ZR2;
        return options;
    }

    // Clicks "Extract", saving to the given file name in the rig's folder (none: cancel).
    Outcome extract(std::optional<std::string> name = "DatalogData.dfg") {
        ui.files.push_back(name ? std::optional(path(*name)) : std::nullopt);
        EXPECT_TRUE(screen_->click("Extract"));
        return screen_->lastOutcome();
    }
    std::string path(const std::string& name) const { return rig_->folder + "/" + name; }
    std::vector<uint8_t> file(const std::string& name = "DatalogData.dfg") const {
        std::ifstream in(path(name), std::ios::binary);
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
        if (bytes.size() != datalog::kFileBytes) {
            ADD_FAILURE() << name << " holds " << bytes.size() << " bytes";
            bytes.resize(datalog::kFileBytes);
        }
        return bytes;
    }
    static datalog::Slot slot(const std::vector<uint8_t>& bytes, int s) {
        datalog::Slot copy;
        std::copy_n(bytes.begin() + 132 + s * kSlotBytes, kSlotBytes, copy.begin());
        return copy;
    }
    // True when the slot holds the actuator's block with this number and a good CRC.
    bool slotHolds(const datalog::Slot& slot, int block, int numberSent = -1) const {
        const auto data = rig_->actuator.datalogBlock(block);
        if (slot[0] != (numberSent < 0 ? block : numberSent)) return false;
        if (!std::equal(data.begin(), data.end(), slot.begin() + 1)) return false;
        const uint16_t crc = link::crc16(slot.data(), 129, link::kCrcStart);
        return slot[129] == (crc & 0xFF) && slot[130] == (crc >> 8) && slot[131] == 0x0D;
    }
    std::vector<std::string> statuses() const {
        std::vector<std::string> texts;
        for (const auto& line : ui.shown)
            if (line.starts_with("status: ")) texts.push_back(line.substr(8));
        return texts;
    }
    std::vector<std::string> notStatuses() const {
        std::vector<std::string> lines;
        for (const auto& line : ui.shown)
            if (!line.starts_with("status: ")) lines.push_back(line);
        return lines;
    }
    int requests() const {
        const auto commands = rig_->actuator.commands();
        return static_cast<int>(
            std::count(commands.begin(), commands.end(), link::REQUEST_DATALOG_BLOCKS));
    }

    RecordingUi ui;
    std::unique_ptr<SimRig> rig_;
    std::unique_ptr<shell::Context> context_;
    std::unique_ptr<CDataloggermenu> screen_;

private:
    bool hadTz_ = false;
    std::string savedTz_;
};

// Slot s of a complete extraction holds this block number.
int blockOfSlot(int s) {
    for (const auto& group : kGroups) {
        if (s < group.count) return group.first + s;
        s -= group.count;
    }
    return -1;
}

TEST_F(Extraction, ScreenHasItsControlsAndBackReturnsToTheMainMenu) {
    rig();
    EXPECT_EQ(screen_->title(), "Extract Datalogger File");
    const auto& sections = screen_->sections();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[1].title, "Status");
    EXPECT_TRUE(screen_->get<ui::Edit>(datalog::kStatusId).readOnly);
    EXPECT_FALSE(screen_->get<ui::Button>("help").visible);
    context_->nextScreen = shell::kDatalogger;
    EXPECT_TRUE(screen_->click("BACK"));
    EXPECT_EQ(context_->nextScreen, shell::kMainMenu);
    EXPECT_TRUE(screen_->closed());
    EXPECT_EQ(ui.sounds, std::vector<ui::Sound>{ui::Sound::Menu});
}

TEST_F(Extraction, ProGoodRunWritesEveryBlockAndTheHeader) {
    auto& sim = rig(pro());
    sim.actuator.setClock(static_cast<uint32_t>((kToolSeconds + 123) << 2));  // 123 s ahead
    for (int r = 35; r <= 67; ++r)
        sim.actuator.setEeprom(256 + r, static_cast<uint8_t>(r + 100));

    EXPECT_EQ(extract(), Outcome::Saved);
    EXPECT_EQ(statuses(),
              (std::vector<std::string>{"got Version Pro", "got Relay", "got Config",
                                        "Block : 129/225", "Block : 200/225", "Block : 224/225",
                                        "Block : 225/225", "Block : 241/225", "DONE!!"}));
    EXPECT_EQ(notStatuses(), std::vector<std::string>{"save: DatalogData"});
    EXPECT_EQ(ui.sounds, (std::vector<ui::Sound>{ui::Sound::Menu, ui::Sound::End}));
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(ui.busyCount, 1);
    EXPECT_EQ(screen_->focus(), "BACK");

    const std::vector<uint8_t> expectedCommands = {link::READ_CLOCK,
                                                   link::READ_VERSION,
                                                   link::READ_REGISTER,
                                                   link::READ_REGISTER,
                                                   link::READ_REGISTER,
                                                   link::READ_REGISTER,
                                                   link::READ_REGISTER,
                                                   link::READ_REGISTER,
                                                   link::READ_REGISTER,
                                                   link::READ_REGISTER,
                                                   link::REQUEST_DATALOG_BLOCKS,
                                                   link::REQUEST_DATALOG_BLOCKS,
                                                   link::REQUEST_DATALOG_BLOCKS,
                                                   link::REQUEST_DATALOG_BLOCKS,
                                                   link::REQUEST_DATALOG_BLOCKS};
    EXPECT_EQ(sim.actuator.commands(), expectedCommands);
    const auto frames = sim.actuator.frames();
    const std::vector<int> registers = {44, 47, 50, 53, 56, 59, 65, 35};
    for (size_t i = 0; i < registers.size(); ++i)
        EXPECT_EQ(frames[2 + i][6], registers[i]);
    for (size_t g = 0; g < kGroups.size(); ++g) {
        const auto& frame = frames[10 + g];
        EXPECT_EQ(frame[6], kGroups[g].first);
        EXPECT_EQ(frame[7], kGroups[g].count - 1);
        EXPECT_EQ(frame[8], 0xFF);
    }

    const auto bytes = file();
    ASSERT_EQ(bytes.size(), 20592u);
    const std::string header(bytes.begin(), bytes.begin() + 90);
    EXPECT_EQ(header.substr(0, 12), "ffffffff-123");
    EXPECT_EQ(header.substr(13, 12), "000" + std::to_string(kToolSeconds + 123));
    EXPECT_EQ(header.substr(26, 12), " DatalogData");
    EXPECT_EQ(header.substr(39, 24), "Fri 01 Jan 2010 03:04:05");
    const std::vector<uint8_t> identification(bytes.begin() + 63, bytes.begin() + 90);
    const std::vector<uint8_t> expectedId = {9,   'R', '3', '0', '2', 9,   144, 145, 146,
                                             147, 148, 149, 150, 151, 152, 153, 154, 155,
                                             156, 157, 158, 159, 9,   166, 165, 9,   135};
    EXPECT_EQ(identification, expectedId);
    for (int s = 0; s < datalog::kSlotCount; ++s)
        EXPECT_TRUE(slotHolds(slot(bytes, s), blockOfSlot(s))) << s;
}

TEST_F(Extraction, Zr2GoodRunCountsTo155Over154AndConvertsTheToolClock) {
    auto& sim = rig(zr2());
    sim.actuator.setClock(static_cast<uint32_t>((kToolZr2Units - 4000) << 2));  // 4000 behind

    EXPECT_EQ(extract("a.b.dfg"), Outcome::Saved);
    const auto texts = statuses();
    ASSERT_GE(texts.size(), 6u);
    EXPECT_EQ(texts[0], "got Version ZR2");
    EXPECT_EQ(texts[3], "Block : 1/154");
    EXPECT_EQ(texts[texts.size() - 2], "Block : 155/154");
    EXPECT_EQ(texts.back(), "DONE!!");
    EXPECT_EQ(texts.size(), 3u + 155u + 1u);
    for (const auto& frame : sim.actuator.frames()) {
        if (frame[5] == link::REQUEST_DATALOG_BLOCKS) {
            EXPECT_EQ(frame[8], 0x00);
        }
    }

    const auto bytes = file("a.b.dfg");
    ASSERT_EQ(bytes.size(), 20592u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 12), "000000004000");
    EXPECT_EQ(std::string(bytes.begin() + 26, bytes.begin() + 38), std::string(11, ' ') + "a");
    EXPECT_EQ(bytes[65], '1');
    for (int s = 0; s < datalog::kSlotCount; ++s)
        EXPECT_TRUE(slotHolds(slot(bytes, s), blockOfSlot(s))) << s;
}

TEST_F(Extraction, Zr2BadCrcAbandonsWithoutSaving) {
    sim::Options options = zr2();
    options.faults.badCrcDatalogBlock = 40;
    rig(options);
    EXPECT_EQ(extract(), Outcome::Abandoned);
    EXPECT_EQ(notStatuses(),
              (std::vector<std::string>{"message: CRC wrong", "error: Block CRC wrong"}));
    EXPECT_EQ(statuses().back(), "Block : 40/154");
    EXPECT_FALSE(fs::exists(path("DatalogData.dfg")));
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(ui.sounds.back(), ui::Sound::Critical);
}

TEST_F(Extraction, ProBadCrcIsFlaggedAndTheSlotKeepsTheCrcReceived) {
    sim::Options options = pro();
    options.faults.badCrcDatalogBlock = 210;
    auto& sim = rig(options);
    EXPECT_EQ(extract(), Outcome::Saved);
    EXPECT_EQ(notStatuses(), (std::vector<std::string>{"message: CRC wrong", "save: DatalogData"}));
    const auto texts = statuses();
    EXPECT_EQ(texts[texts.size() - 2], "Block : 210 block error");
    const auto bytes = file();
    const auto bad = slot(bytes, 129 + 8 + 2);
    EXPECT_EQ(bad[0], 210);
    EXPECT_FALSE(slotHolds(bad, 210));
    const uint16_t crc = link::crc16(bad.data(), 129, link::kCrcStart);
    EXPECT_NE(bad[129], crc & 0xFF);
    EXPECT_EQ(bad[130], crc >> 8);
    EXPECT_TRUE(
        std::equal(bad.begin() + 1, bad.begin() + 129, sim.actuator.datalogBlock(210).begin()));
    EXPECT_TRUE(slotHolds(slot(bytes, 129 + 8 + 3), 211));
}

TEST_F(Extraction, ProMissingBlocksLeaveEmptySlotsAndLaterBlocksInPlace) {
    sim::Options options = pro();
    options.faults.missingDatalogBlocks = {5, 6};
    rig(options);
    EXPECT_EQ(extract(), Outcome::Saved);
    EXPECT_EQ(notStatuses(),
              (std::vector<std::string>{"message: Timeout receiving datalog",
                                        "message: Block number wrong", "save: DatalogData"}));
    const auto texts = statuses();
    EXPECT_EQ(
        std::vector<std::string>(texts.end() - 3, texts.end()),
        (std::vector<std::string>{"Block : 5 block error", "Block : 6 block error", "DONE!!"}));
    // The bad blocks stay in view after the status line has moved on to "DONE!!".
    const auto& kept = screen_->get<ui::Label>(datalog::kBadBlocksId);
    EXPECT_TRUE(kept.visible);
    EXPECT_EQ(kept.text, "Bad blocks: 5, 6");
    EXPECT_EQ(context_->status, "Datalogger saved with 2 bad blocks: 5, 6");
    const auto bytes = file();
    EXPECT_EQ(slot(bytes, 5), datalog::emptySlot());
    EXPECT_EQ(slot(bytes, 6), datalog::emptySlot());
    for (int s : {4, 7, 128, 129, 154})
        EXPECT_TRUE(slotHolds(slot(bytes, s), blockOfSlot(s))) << s;
}

TEST_F(Extraction, ProShortGroupNeverReusesAnEarlierGroupsBytes) {
    // Group two lacks its last block: the receive buffer still holds the first
    // group's records beyond what arrived, and they must not be taken for it.
    sim::Options options = pro();
    options.faults.missingDatalogBlocks = {199};
    rig(options);
    EXPECT_EQ(extract(), Outcome::Saved);
    EXPECT_EQ(notStatuses(), (std::vector<std::string>{"message: Timeout receiving datalog",
                                                       "save: DatalogData"}));
    const auto bytes = file();
    EXPECT_EQ(slot(bytes, 136), datalog::emptySlot());
    EXPECT_TRUE(slotHolds(slot(bytes, 137), 208));
}

TEST_F(Extraction, ProRenumberedBlockTakesTheExpectedSlotAndIsFlagged) {
    sim::Options options = pro();
    options.faults.renumberedDatalogBlock = {{20, 3}};
    rig(options);
    EXPECT_EQ(extract(), Outcome::Saved);
    EXPECT_EQ(notStatuses(),
              (std::vector<std::string>{"message: Block number wrong", "save: DatalogData"}));
    EXPECT_EQ(statuses()[statuses().size() - 2], "Block : 20 block error");
    const auto bytes = file();
    EXPECT_TRUE(slotHolds(slot(bytes, 20), 20, 3));
    EXPECT_TRUE(slotHolds(slot(bytes, 21), 21));
}

TEST_F(Extraction, ProLateLastRecordTimesOutAndTheRestIsSaved) {
    sim::Options options = pro();
    options.faults.slowDatalogBlock = 240;
    rig(options);
    EXPECT_EQ(extract(), Outcome::Saved);
    EXPECT_EQ(notStatuses(), (std::vector<std::string>{"message: Timeout receiving datalog",
                                                       "save: DatalogData"}));
    const auto bytes = file();
    EXPECT_EQ(slot(bytes, 154), datalog::emptySlot());
    EXPECT_TRUE(slotHolds(slot(bytes, 153), 224));
}

TEST_F(Extraction, ProLateRecordInAnEarlierGroupFlagsOnlyTheRestOfThatGroup) {
    // The rest of group one comes after the time-out, while the next request is due.
    sim::Options options = pro();
    options.faults.slowDatalogBlock = 50;
    rig(options);
    EXPECT_EQ(extract(), Outcome::Saved);
    EXPECT_EQ(notStatuses(), (std::vector<std::string>{"message: Timeout receiving datalog",
                                                       "save: DatalogData"}));
    EXPECT_EQ(requests(), 5);
    const auto texts = statuses();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.ends_with(" block error"); }),
              129 - 50);
    EXPECT_EQ(texts[texts.size() - 2], "Block : 128 block error");
    const auto bytes = file();
    EXPECT_TRUE(slotHolds(slot(bytes, 49), 49));
    EXPECT_EQ(slot(bytes, 50), datalog::emptySlot());
    for (int s = 129; s < datalog::kSlotCount; ++s)
        EXPECT_TRUE(slotHolds(slot(bytes, s), blockOfSlot(s))) << s;
}

TEST_F(Extraction, ProNoiseLosesNoBlock) {
    // Noise before each burst, before every record of it, and both: the last records
    // of a group then end beyond the group's record count times 136 bytes.
    const struct {
        int beforeBurst;
        int beforeEachRecord;
    } rows[] = {{5, 0}, {0, 6}, {3, 17}};
    for (const auto& row : rows) {
        sim::Options options = pro();
        options.faults.noiseBeforeRecords = row.beforeBurst;
        options.faults.noiseBeforeEachDatalogRecord = row.beforeEachRecord;
        ui.clearRecord();
        rig(options);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(extract(), Outcome::Saved);
        // No group waits for a time-out.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
        EXPECT_EQ(notStatuses(), std::vector<std::string>{"save: DatalogData"});
        const auto bytes = file();
        for (int s = 0; s < datalog::kSlotCount; ++s)
            EXPECT_TRUE(slotHolds(slot(bytes, s), blockOfSlot(s)))
                << s << " noise " << row.beforeBurst << "/" << row.beforeEachRecord;
    }
}

TEST_F(Extraction, SilenceEndsWithinSecondsForBothGenerations) {
    sim::Options options = zr2();
    options.faults.silentDatalog = true;
    rig(options);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(extract(), Outcome::Abandoned);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(ui.errors, std::vector<std::string>{"Event Not RX"});

    // A silent Pro times out once per group and saves what it has: nothing.
    options.generation = sim::Generation::Pro;
    ui.clearRecord();
    rig(options);
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(extract(), Outcome::Saved);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(9));
    EXPECT_EQ(std::count(ui.messages.begin(), ui.messages.end(), "Timeout receiving datalog"), 5);
    const auto texts = statuses();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.ends_with(" block error"); }),
              155);
    const auto bytes = file();
    for (int s = 0; s < datalog::kSlotCount; ++s)
        EXPECT_EQ(slot(bytes, s), datalog::emptySlot()) << s;
}

TEST_F(Extraction, HangUpMidTransferAbandonsAndTheNextOperationWorks) {
    sim::Options options = pro();
    options.faults.hangUpAtDatalogBlock = 60;
    auto& sim = rig(options);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(extract(), Outcome::Abandoned);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_FALSE(ui.busy);
    EXPECT_FALSE(fs::exists(path("DatalogData.dfg")));
    EXPECT_EQ(requests(), 1);

    // The simulated actuator comes back on a new terminal, as a re-plugged adapter would.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (sim.server.hangUps() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(sim.server.hangUps(), 1);
    context_->portName = sim.server.path();
    ui.clearRecord();
    EXPECT_EQ(extract(), Outcome::Saved);
    EXPECT_EQ(notStatuses(), std::vector<std::string>{"save: DatalogData"});
    EXPECT_EQ(statuses().size(), 9u);
}

TEST_F(Extraction, RefusalsStopTheExtractionAtTheirStep) {
    sim::Options options = pro();
    options.faults.refusals.push_back({link::READ_REGISTER, uint8_t{59}, 'E', -1});
    auto& sim = rig(options);
    EXPECT_EQ(extract(), Outcome::Abandoned);
    EXPECT_EQ(ui.errors, std::vector<std::string>{"EEPROM Error"});
    EXPECT_EQ(statuses(), std::vector<std::string>{"got Version Pro"});
    EXPECT_EQ(requests(), 0);
    EXPECT_EQ(ui.busyCount, 0);

    sim.actuator.options().faults.refusals = {
        {link::REQUEST_DATALOG_BLOCKS, uint8_t{192}, 'T', -1}};
    ui.clearRecord();
    EXPECT_EQ(extract(), Outcome::Abandoned);
    EXPECT_EQ(ui.errors, std::vector<std::string>{"Option card comms error"});
    EXPECT_EQ(statuses().back(), "Block : 129/225");
    EXPECT_FALSE(ui.busy);
    EXPECT_FALSE(fs::exists(path("DatalogData.dfg")));
}

TEST_F(Extraction, CancelledOrFailedSaveWritesNothing) {
    rig();
    EXPECT_EQ(extract(std::nullopt), Outcome::NotSaved);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"No File Selected"});
    EXPECT_EQ(ui.sounds, std::vector<ui::Sound>{ui::Sound::Menu});
    for (const auto& entry : fs::directory_iterator(rig_->folder))
        EXPECT_NE(entry.path().extension(), ".dfg") << entry.path();

    ui.clearRecord();
    EXPECT_EQ(extract("no-such-folder/DatalogData.dfg"), Outcome::NotSaved);
    EXPECT_EQ(ui.errors, std::vector<std::string>{"Could Not Open File"});
    EXPECT_EQ(ui.sounds,
              (std::vector<ui::Sound>{ui::Sound::Menu, ui::Sound::Critical, ui::Sound::End}));
    EXPECT_EQ(context_->errorFlags, 0u);
}

TEST_F(Extraction, ResetClearsTheDataloggerWithoutAWord) {
    auto& sim = rig();
    EXPECT_TRUE(screen_->click("Reset Datalogger"));
    EXPECT_TRUE(sim.actuator.datalogCleared());
    EXPECT_EQ(sim.actuator.commands(), std::vector<uint8_t>{link::RESET_DATALOGGER});
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(ui.sounds.empty());

    sim.actuator.options().faults.silentCommand = link::RESET_DATALOGGER;
    EXPECT_TRUE(screen_->click("Reset Datalogger"));
    EXPECT_EQ(ui.errors, std::vector<std::string>{"Event Not RX"});
}

}  // namespace
}  // namespace vantrel::test
