#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "SimFixture.h"
#include "image/ImageFile.h"
#include "image/ImageFileFormat.h"
#include "image/ImageTransfer.h"
#include "link/Commands.h"
#include "shell/Downloads.h"

namespace vantrel::image {
namespace {

using namespace link;

// A frame as the actuator received it: command, address and the three arguments.
struct Frame {
    uint8_t command;
    uint8_t address;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint8_t data3 = 0;
    bool operator==(const Frame&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Frame& f) {
    return out << std::hex << "{" << int(f.command) << " " << int(f.address) << " " << int(f.data1)
               << " " << int(f.data2) << " " << int(f.data3) << "}";
}

std::vector<Frame> framesOf(const sim::Actuator& actuator) {
    std::vector<Frame> frames;
    for (const auto& f : actuator.frames())
        frames.push_back({f[5], f[6], f[7], f[8], f[9]});
    return frames;
}

// Just the command and address of each frame.
std::vector<std::pair<int, int>> addressed(const std::vector<Frame>& frames) {
    std::vector<std::pair<int, int>> out;
    for (const auto& f : frames)
        out.emplace_back(f.command, f.address);
    return out;
}

// Distinct, recognisable contents everywhere the extract reads from.
void fillActuator(sim::Actuator& actuator) {
    for (int i = 0; i < kEepromBytes; ++i)
        actuator.setEeprom(i, static_cast<uint8_t>(i * 7 + 3));
    for (int r = 0; r < 256; ++r)
        actuator.setOptionRegister(r, static_cast<uint8_t>(r));
    for (int r = 0; r < 100; ++r)
        actuator.setBusRegister(r, static_cast<uint16_t>(0x100 * (r + 1) + r));
    for (int r = 54; r <= 60; ++r)
        actuator.setPartTurnRegister(r, static_cast<uint8_t>(0xC0 + r));
}

sim::Options withCard(char letter, char variant, uint8_t busKind = 1) {
    sim::Options options;
    options.card.letter = letter;
    options.card.variant = variant;
    options.card.busKind = busKind;
    return options;
}

struct CardRow {
    const char* name;
    char letter;
    char variant;
    uint8_t busKind;
    uint8_t type;
    uint8_t flags;
    std::vector<std::pair<int, int>> frames;  // between READ_OPTION_TYPE and READ_PART_TURN_TYPE
    std::vector<std::string> messages;
};

// Test listings name a row by its name rather than by its bytes.
void PrintTo(const CardRow& row, std::ostream* out) {
    *out << row.name;
}

std::vector<std::pair<int, int>> busReadOut(int last) {
    std::vector<std::pair<int, int>> frames;
    for (int b = 1; b <= last; ++b) {
        if (b == 13 || b == 16 || b == 20) continue;
        frames.emplace_back(READ_BUS_REGISTER, b);
        if (b == 63) frames.emplace_back(READ_BUS_REGISTER, 0);
    }
    return frames;
}

std::vector<std::pair<int, int>> concat(std::vector<std::pair<int, int>> a,
                                        const std::vector<std::pair<int, int>>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ExtractCard : public ::testing::TestWithParam<CardRow> {};

TEST_P(ExtractCard, ReadsTheRowsRegistersIntoTheirArea) {
    const CardRow& row = GetParam();
    test::SimRig rig(withCard(row.letter, row.variant, row.busKind));
    fillActuator(rig.actuator);
    rig.context.image.optionFlags = kPartTurnFlag;  // stale state from an earlier extract

    ASSERT_TRUE(extractImage(rig.context));
    EXPECT_TRUE(rig.ui.errors.empty());
    EXPECT_EQ(rig.ui.messages, row.messages);
    const ConfigImage& image = rig.context.image;
    EXPECT_EQ(image.optionType, row.type);
    EXPECT_EQ(image.optionFlags, row.flags);

    auto sent = addressed(framesOf(rig.actuator));
    std::vector<std::pair<int, int>> expected = {
        {READ_VERSION, 0}, {REQUEST_CONFIG_BLOCKS, 0}, {READ_OPTION_TYPE, 0}};
    expected = concat(expected, row.frames);
    expected.emplace_back(READ_PART_TURN_TYPE, 0);
    EXPECT_EQ(sent, expected);

    auto eeprom = rig.actuator.eeprom();
    EXPECT_TRUE(std::equal(eeprom.begin(), eeprom.end(), image.bytes.begin()));
    if (row.letter != 0) {
        const uint8_t* software = image.at(area::OPT_SW_3);
        EXPECT_EQ(software[0], row.letter);
        EXPECT_EQ(software[1], row.variant);
    }

    auto bus = [&](int r) { return rig.actuator.busRegister(r); };
    switch (row.letter) {
        case 'F':
            for (int i = 0; i < 6; ++i)
                EXPECT_EQ(image.at(area::TRACKLIN_3)[i], 48 + i);
            break;
        case 'P': {
            const int placement[15] = {50, 51,  52,  53,  54,  55,  56, 67,
                                       68, 113, 112, 117, 118, 158, 159};
            for (int i = 0; i < 15; ++i)
                EXPECT_EQ(image.at(area::VEXLINK_DIG_3)[i], placement[i]);
            break;
        }
        case 'N':
            for (int i = 0; i < 12; ++i)
                EXPECT_EQ(image.at(area::PROFIBUS_3)[i], 49 + i);
            break;
        case 'K':
            for (int i = 0; i < 20; ++i)
                EXPECT_EQ(image.at(area::DEVICENET_3)[i], 49 + i);
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(image.at(area::DEVICENET_3)[20 + i], bus(21 + i) & 0xFF);
            break;
        case 'M':
            if (row.variant == '1') {
                const int placement[10] = {49, 50, 51, 52, 53, 54, 55, 57, 58, 56};
                for (int i = 0; i < 10; ++i)
                    EXPECT_EQ(image.at(area::MODBUS_3)[i], placement[i]);
            } else {
                const uint8_t* a = image.at(area::MK2BUS_3);
                EXPECT_EQ(a[0], bus(1) & 0xFF);
                EXPECT_EQ(a[11], bus(12) & 0xFF);
                EXPECT_EQ(a[12], 0);
                EXPECT_EQ(a[13], bus(14) & 0xFF);
                EXPECT_EQ(a[17], bus(19) & 0xFF);
                EXPECT_EQ(a[18], bus(19) >> 8);
                EXPECT_EQ(a[19], bus(21) & 0xFF);
                EXPECT_EQ(a[70], row.busKind);  // register 47: the card kind
                EXPECT_EQ(a[102], bus(63) & 0xFF);
                EXPECT_EQ(a[104], bus(0) & 0xFF);
                EXPECT_EQ(a[105], 0x21);  // byte 10 of register 0's reply
                if (row.flags & kMultiportFlag) {
                    EXPECT_EQ(a[106], bus(64) & 0xFF);
                    EXPECT_EQ(a[177], bus(99) >> 8);
                }
            }
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, ExtractCard,
    ::testing::Values(CardRow{"None", 0, '1', 1, kNoOption, 0, {}, {}},
                      CardRow{"Positioner",
                              'F',
                              '1',
                              1,
                              kPositioner,
                              0,
                              {{READ_OPTION_REGISTER, 48}, {READ_OPTION_REGISTER, 51}},
                              {}},
                      CardRow{"LoopNetwork",
                              'P',
                              '1',
                              1,
                              kLoopNetwork,
                              0,
                              {{READ_OPTION_REGISTER, 50},
                               {READ_OPTION_REGISTER, 53},
                               {READ_OPTION_BYTE, 56},
                               {READ_OPTION_REGISTER, 67},
                               {READ_OPTION_REGISTER, 112},
                               {READ_OPTION_REGISTER, 117},
                               {READ_OPTION_REGISTER, 158}},
                              {}},
                      CardRow{"Modbus",
                              'M',
                              '1',
                              1,
                              kModbus,
                              0,
                              {{READ_OPTION_REGISTER, 49},
                               {READ_OPTION_REGISTER, 52},
                               {READ_OPTION_REGISTER, 55},
                               {READ_OPTION_BYTE, 58}},
                              {}},
                      CardRow{"Profibus",
                              'N',
                              '1',
                              1,
                              kProfibus,
                              0,
                              {{READ_OPTION_REGISTER, 49},
                               {READ_OPTION_REGISTER, 52},
                               {READ_OPTION_REGISTER, 55},
                               {READ_OPTION_REGISTER, 58}},
                              {}},
                      CardRow{"DeviceNet",
                              'K',
                              '1',
                              1,
                              kDeviceNet,
                              0,
                              {{READ_OPTION_REGISTER, 49},
                               {READ_OPTION_REGISTER, 52},
                               {READ_OPTION_REGISTER, 55},
                               {READ_OPTION_REGISTER, 58},
                               {READ_OPTION_REGISTER, 61},
                               {READ_OPTION_REGISTER, 64},
                               {READ_OPTION_REGISTER, 67},
                               {READ_BUS_REGISTER, 21},
                               {READ_BUS_REGISTER, 22},
                               {READ_BUS_REGISTER, 23},
                               {READ_BUS_REGISTER, 24}},
                              {}},
                      CardRow{"ModbusMk2",
                              'M',
                              '2',
                              1,
                              kModbusMk2,
                              0,
                              concat({{READ_BUS_REGISTER, 47}}, busReadOut(63)),
                              {}},
                      CardRow{"ProfibusMk2",
                              'M',
                              '3',
                              2,
                              kProfibusMk2,
                              0,
                              concat({{READ_BUS_REGISTER, 47}}, busReadOut(63)),
                              {}},
                      CardRow{"FieldbusMk2",
                              'M',
                              '2',
                              3,
                              kFieldbusMk2,
                              0,
                              concat({{READ_BUS_REGISTER, 47}}, busReadOut(63)),
                              {}},
                      CardRow{"MultiportModbus",
                              'M',
                              'P',
                              1,
                              kModbusMk2,
                              kMultiportFlag,
                              concat({{READ_BUS_REGISTER, 47}}, busReadOut(99)),
                              {"You have a Multiport with a Modbus Mk2 fitted"}},
                      CardRow{"MultiportProfibus",
                              'M',
                              'P',
                              2,
                              kProfibusMk2,
                              kMultiportFlag,
                              concat({{READ_BUS_REGISTER, 47}}, busReadOut(99)),
                              {"You have a Multiport with a Profibus Mk2 fitted"}},
                      CardRow{"MultiportFieldbus",
                              'M',
                              'P',
                              3,
                              kFieldbusMk2,
                              kMultiportFlag,
                              concat({{READ_BUS_REGISTER, 47}}, busReadOut(99)),
                              {"You have a Multiport with a Foundation Fieldbus Mk2 fitted"}},
                      CardRow{"UnknownLetter", 'X', '1', 1, kNoOption, 0, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Extract, GenerationChoosesTheBurstAndPartTurnIsRead) {
    sim::Options options;
    options.generation = sim::Generation::ZR2;
    options.partTurn = true;
    test::SimRig rig(options);
    fillActuator(rig.actuator);
    ASSERT_TRUE(extractImage(rig.context));

    auto frames = framesOf(rig.actuator);
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[1], (Frame{REQUEST_CONFIG_BLOCKS, 0, 3, 0, 0}));
    auto sent = addressed(frames);
    std::vector<std::pair<int, int>> tail(sent.end() - 8, sent.end());
    EXPECT_EQ(tail, (std::vector<std::pair<int, int>>{{READ_PART_TURN_TYPE, 0},
                                                      {READ_PART_TURN, 55},
                                                      {READ_PART_TURN, 54},
                                                      {READ_PART_TURN, 57},
                                                      {READ_PART_TURN, 56},
                                                      {READ_PART_TURN, 58},
                                                      {READ_PART_TURN, 59},
                                                      {READ_PART_TURN, 60}}));
    const uint8_t* zrt = rig.context.image.at(area::ZRT_5);
    EXPECT_EQ(zrt[0], 'Q');
    const int order[7] = {55, 54, 57, 56, 58, 59, 60};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(zrt[4 + i], 0xC0 + order[i]);
    EXPECT_EQ(rig.context.image.optionFlags, kPartTurnFlag);
    EXPECT_EQ(rig.context.errorFlags, 0u);

    rig.actuator.clearLog();
    rig.actuator.configure([](sim::Options& o) { o.generation = sim::Generation::Pro; });
    ASSERT_TRUE(extractImage(rig.context));
    EXPECT_EQ(framesOf(rig.actuator)[1], (Frame{REQUEST_CONFIG_BLOCKS, 0, 3, 255, 0}));
}

TEST(Extract, BadBlockInTheBurstIsAskedForAgainAlone) {
    sim::Options options;
    options.faults.badCrcConfigBlock = 2;
    test::SimRig rig(options);
    fillActuator(rig.actuator);
    ASSERT_TRUE(extractImage(rig.context));
    EXPECT_EQ(rig.ui.messages, std::vector<std::string>{"Incorrect CRC received"});
    auto frames = framesOf(rig.actuator);
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[2], (Frame{REQUEST_CONFIG_BLOCKS, 2, 0, 0, 0}));
    EXPECT_EQ(frames[3].command, READ_OPTION_TYPE);
    auto eeprom = rig.actuator.eeprom();
    EXPECT_TRUE(std::equal(eeprom.begin(), eeprom.end(), rig.context.image.bytes.begin()));
}

TEST(Extract, MendedBurstBlockDoesNotHideALaterFailure) {
    // Block 1 comes again intact; a later refusal must show its own message.
    sim::Options options;
    options.partTurn = true;
    options.faults.badCrcConfigBlock = 1;
    options.faults.refusals.push_back({READ_PART_TURN, 57, 'E', -1});
    test::SimRig rig(options);
    EXPECT_FALSE(extractImage(rig.context));
    EXPECT_EQ(rig.ui.messages, std::vector<std::string>{"Incorrect CRC received"});
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"EEPROM Error"});
}

TEST(Extract, BusRegisterThatMissedOneReplyIsReadOnRetry) {
    // A reply that never came must not fail every retry that follows it.
    sim::Options options = withCard('M', '2');
    options.faults.silentCommand = READ_BUS_REGISTER;
    options.faults.silentAddress = 5;
    options.faults.silentCount = 1;
    test::SimRig rig(options);
    ASSERT_TRUE(extractImage(rig.context));
    EXPECT_TRUE(rig.ui.questions.empty());
    EXPECT_TRUE(rig.ui.errors.empty());
    EXPECT_EQ(rig.context.image.optionType, kModbusMk2);
}

TEST(Extract, BusRegisterRefusedOnceIsReadOnRetry) {
    // One refusal of either kind must not fail the retries that follow it.
    for (char status : {'E', 'T', 'X'}) {
        sim::Options options = withCard('M', '2');
        options.faults.refusals.push_back({READ_BUS_REGISTER, 5, status, 1});
        test::SimRig rig(options);
        EXPECT_TRUE(extractImage(rig.context)) << status;
        EXPECT_TRUE(rig.ui.questions.empty()) << status;
        EXPECT_TRUE(rig.ui.errors.empty()) << status;
    }
}

struct OptionTypeFailure {
    const char* name;
    std::function<void(sim::Faults&)> fault;
    std::string error;  // empty: no card fitted, the extract goes on
};

void PrintTo(const OptionTypeFailure& row, std::ostream* out) {
    *out << row.name;
}

class ExtractOptionType : public ::testing::TestWithParam<OptionTypeFailure> {};

TEST_P(ExtractOptionType, OnlyARefusalByTheCardMeansNoCard) {
    const OptionTypeFailure& row = GetParam();
    sim::Options options = withCard('N', '1');
    options.partTurn = true;
    row.fault(options.faults);
    test::SimRig rig(options);
    fillActuator(rig.actuator);
    bool cardTypeUnread = true;
    EXPECT_EQ(extractImage(rig.context, &cardTypeUnread), row.error.empty());
    EXPECT_EQ(cardTypeUnread, !row.error.empty());
    EXPECT_EQ(rig.ui.errors,
              row.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.error});
    EXPECT_EQ(rig.context.image.optionType, kNoOption);
    const auto eeprom = rig.actuator.eeprom();
    EXPECT_TRUE(std::equal(eeprom.begin(), eeprom.end(), rig.context.image.bytes.begin()));
    // With no card the part-turn unit is still read; after a failure nothing more is asked.
    const auto sent = addressed(framesOf(rig.actuator));
    EXPECT_EQ(sent.back(),
              (std::pair<int, int>{row.error.empty() ? READ_PART_TURN : READ_OPTION_TYPE,
                                   row.error.empty() ? 60 : 0}));
}

INSTANTIATE_TEST_SUITE_P(
    EveryReply, ExtractOptionType,
    ::testing::Values(
        OptionTypeFailure{"RefusedByTheCard",
                          [](sim::Faults& f) {
                              f.refusals.push_back({READ_OPTION_TYPE, {}, 'T'});
                          },
                          ""},
        OptionTypeFailure{"Silent", [](sim::Faults& f) { f.silentCommand = READ_OPTION_TYPE; },
                          "Event Not RX"},
        OptionTypeFailure{"Garbled",
                          [](sim::Faults& f) { f.badChecksumCommand = READ_OPTION_TYPE; },
                          "Checksum Not OK"},
        OptionTypeFailure{"EepromFault",
                          [](sim::Faults& f) {
                              f.refusals.push_back({READ_OPTION_TYPE, {}, 'E'});
                          },
                          "EEPROM Error"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Extract, NoiseBeforeTheBurstIsDropped) {
    sim::Options options;
    options.faults.noiseBeforeRecords = 5;
    test::SimRig rig(options);
    fillActuator(rig.actuator);
    ASSERT_TRUE(extractImage(rig.context));
    EXPECT_TRUE(rig.ui.messages.empty());
    const auto sent = addressed(framesOf(rig.actuator));
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::pair<int, int>{REQUEST_CONFIG_BLOCKS, 0}),
              1);
    EXPECT_EQ(sent.size(), 4u);  // version, burst, option type, part-turn type
    auto eeprom = rig.actuator.eeprom();
    EXPECT_TRUE(std::equal(eeprom.begin(), eeprom.end(), rig.context.image.bytes.begin()));
}

TEST(Extract, FailuresEndTheExtractWithTheirMessage) {
    sim::Options options = withCard('N', '1');
    // The first refusal of a three-byte card read is retried once, the second ends it.
    options.faults.refusals.push_back({READ_OPTION_REGISTER, 52, 'T', 2});
    test::SimRig rig(options);
    EXPECT_FALSE(extractImage(rig.context));
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"Option card comms error"});
    auto sent = addressed(framesOf(rig.actuator));
    EXPECT_EQ(sent.back(), (std::pair<int, int>{READ_OPTION_REGISTER, 52}));
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::pair<int, int>{READ_OPTION_REGISTER, 52}),
              2);

    // A silent actuator ends the extract with a message instead of hanging.
    rig.ui.clearRecord();
    rig.actuator.configure([](sim::Options& o) { o.faults.silentCommand = READ_VERSION; });
    EXPECT_FALSE(extractImage(rig.context));
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"Event Not RX"});
}

TEST(Extract, BusRetryQuestionAnsweredBothWays) {
    // Four refusals: the read and three retries, then the question.
    sim::Options options = withCard('M', '2');
    options.faults.refusals.push_back({READ_BUS_REGISTER, 5, 'T', 4});
    test::SimRig rig(options);
    rig.ui.answers = {true};
    ASSERT_TRUE(extractImage(rig.context));
    EXPECT_EQ(rig.ui.shown, std::vector<std::string>{
                                "question: Extract Error: Error retrying receive data 3 times, "
                                "continue to retry?"});
    auto sent = addressed(framesOf(rig.actuator));
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::pair<int, int>{READ_BUS_REGISTER, 5}), 5);
    EXPECT_TRUE(rig.ui.errors.empty());

    rig.ui.clearRecord();
    rig.actuator.clearLog();
    rig.actuator.configure([](sim::Options& o) {
        o.faults.refusals = {{READ_BUS_REGISTER, 5, 'T', -1}};
    });
    rig.ui.answers = {true, false};  // go on once, then give up
    EXPECT_FALSE(extractImage(rig.context));
    EXPECT_EQ(rig.ui.questions.size(), 2u);
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"Option card comms error"});
    sent = addressed(framesOf(rig.actuator));
    EXPECT_EQ(sent.back(), (std::pair<int, int>{READ_BUS_REGISTER, 5}));
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::pair<int, int>{READ_BUS_REGISTER, 5}), 7);
}

// The whole-image update, driven from a file saved beforehand.
class Update : public ::testing::Test {
protected:
    explicit Update(sim::Options options = {}) : rig(std::move(options)) {}
    void SetUp() override {
        for (int i = 0; i < kImageBytes; ++i)
            source.bytes[i] = static_cast<uint8_t>(i * 13 + 1);
        path = rig.folder + "/update.ucf";
        rig.context.image = source;
        rig.ui.files.push_back(path);
        ASSERT_TRUE(saveImageFile(rig.context));
        rig.context.image = ConfigImage{};
        rig.ui.clearRecord();
        rig.context.loginLevel = shell::kUser;
        rig.ui.answers = {true};
        rig.ui.files.push_back(path);
    }
    // Frames after the read-only checks (version, Local) and the probe, if any.
    std::vector<Frame> writeRun(size_t skip) {
        auto frames = framesOf(rig.actuator);
        return {frames.begin() + static_cast<std::ptrdiff_t>(std::min(skip, frames.size())),
                frames.end()};
    }

    test::SimRig rig;
    ConfigImage source;
    std::string path;
};

TEST_F(Update, FullRunWritesEveryKeptByteIn241Frames) {
    ASSERT_TRUE(updateImage(rig.context, rig.context.loginLevel != shell::kNotLoggedIn));
    EXPECT_TRUE(rig.ui.errors.empty());
    auto run = writeRun(2);  // READ_VERSION, READ_STATUS; a Pro actuator is not probed
    ASSERT_EQ(run.size(), 241u);
    EXPECT_EQ(run.front(), (Frame{UNLOCK_EEPROM, 0}));
    EXPECT_EQ(run[1],
              (Frame{WRITE_REGISTER, 0, source.bytes[0], source.bytes[1], source.bytes[2]}));
    EXPECT_EQ(run[3], (Frame{WRITE_ID_PAIR, 6, source.bytes[6], source.bytes[7], 0}));
    EXPECT_EQ(run[239], (Frame{WRITE_CONFIG_PAIR, 254, source.bytes[510], source.bytes[511], 0}));
    EXPECT_EQ(run.back(), (Frame{LOCK_EEPROM, 0}));
    EXPECT_EQ(rig.ui.sounds.back(), ui::Sound::End);
    EXPECT_EQ(rig.ui.busyCount, 1);
    EXPECT_FALSE(rig.ui.busy);

    auto eeprom = rig.actuator.eeprom();
    // The position record goes to the live registers 0..4; the image's own copies of
    // it (bytes 0..5, OLD_SLEEP) and the two checksums are never sent.
    for (int i = 6; i < kEepromBytes; ++i) {
        const bool neverSent = (i >= 256 && i <= 261) || i == 297 || i == 340;
        if (neverSent) continue;
        ASSERT_EQ(eeprom[i], source.bytes[i]) << "byte " << i;
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(eeprom[kConfigBase + i], source.bytes[i]);
    EXPECT_EQ(rig.context.image.bytes[292], source.bytes[292]);
    EXPECT_TRUE(rig.actuator.locked());
}

TEST_F(Update, FileWithoutEveryWrittenAreaIsRefusedBeforeAnyFrame) {
    std::ifstream in(path, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), {});
    // The key renamed, so the loader finds no such area.
    const auto without = [&](const std::string& key) {
        std::string text = whole;
        text.replace(text.find(key + "\t"), key.size(), std::string(key.size(), 'x'));
        return text;
    };
    const auto cutAfter = [&](const std::string& key, size_t digits) {
        const size_t value = whole.find(key + "\t") + key.size() + 1;
        return whole.substr(0, value + digits) + "\r" + whole.substr(whole.find("UNUSED1\t"));
    };
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"only UNUSED2", "UNUSED2\t\r"},
        {"no MANU_CFIG", without("MANU_CFIG")},
        {"no CUR_SLEEP", without("CUR_SLEEP")},
        {"ID_MAIN cut short", cutAfter("ID_MAIN", 10)},
    };
    for (const auto& [name, text] : rows) {
        const std::string incomplete = rig.folder + "/incomplete.ucf";
        std::ofstream(incomplete, std::ios::binary) << text;
        rig.ui.clearRecord();
        rig.ui.answers = {true};
        rig.ui.files = {incomplete};
        EXPECT_FALSE(updateImage(rig.context, true)) << name;
        EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"EEPROM file not complete"}) << name;
        EXPECT_TRUE(rig.actuator.frames().empty()) << name;
    }

    // The areas the update never sends may be missing.
    std::string text = whole;
    for (const std::string key : {"OLD_SLEEP", "MANU_CSUM", "CUST_CSUM"})
        text.replace(text.find(key + "\t"), key.size(), std::string(key.size(), 'x'));
    std::ofstream(path, std::ios::binary) << text;
    rig.ui.clearRecord();
    rig.ui.answers = {true};
    rig.ui.files = {path};
    ASSERT_TRUE(updateImage(rig.context, true));
    EXPECT_EQ(writeRun(2).size(), 241u);
}

TEST_F(Update, RefusedWithoutLoginOrWithoutConsent) {
    rig.context.loginLevel = shell::kNotLoggedIn;
    EXPECT_FALSE(updateImage(rig.context, rig.context.loginLevel != shell::kNotLoggedIn));
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"Incorrect Password entered"});
    EXPECT_TRUE(rig.ui.questions.empty());

    rig.context.loginLevel = shell::kService;
    rig.ui.answers = {false};
    EXPECT_FALSE(updateImage(rig.context, rig.context.loginLevel != shell::kNotLoggedIn));
    EXPECT_EQ(rig.ui.shown.back(),
              "question: Extract: This will over write the WHOLE of the EEPROM (including "
              "calibration data). Do you want to continue?");
    EXPECT_EQ(rig.ui.noByDefault, rig.ui.questions) << "Enter must not overwrite the EEPROM";
    EXPECT_TRUE(rig.actuator.frames().empty());
}

TEST_F(Update, NotInLocalWritesNothing) {
    rig.actuator.configure([](sim::Options& o) { o.notInLocal = true; });
    EXPECT_FALSE(updateImage(rig.context, rig.context.loginLevel != shell::kNotLoggedIn));
    EXPECT_EQ(rig.ui.messages, std::vector<std::string>{"Not in Local Data can not be updated"});
    EXPECT_EQ(addressed(framesOf(rig.actuator)),
              (std::vector<std::pair<int, int>>{{READ_VERSION, 0}, {READ_STATUS, 116}}));
}

TEST_F(Update, FailingFrameEndsTheRunUnlocked) {
    rig.actuator.configure([](sim::Options& o) {
        o.faults.refusals = {{WRITE_ID_PAIR, 100, 'E', -1}};
    });
    EXPECT_FALSE(updateImage(rig.context, rig.context.loginLevel != shell::kNotLoggedIn));
    EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"EEPROM Error"});
    auto run = writeRun(2);
    EXPECT_EQ(run.back(), (Frame{WRITE_ID_PAIR, 100, source.bytes[100], source.bytes[101], 0}));
    EXPECT_EQ(run.size(), 1u + 2u + 48u);  // unlock, two registers, ID pairs 6..100
    EXPECT_FALSE(rig.actuator.locked());
    EXPECT_EQ(rig.ui.sounds.back(), ui::Sound::End);
    EXPECT_FALSE(rig.ui.busy);
}

class UpdateZr2 : public Update {
protected:
    static sim::Options zr2() {
        sim::Options options;
        options.generation = sim::Generation::ZR2;
        return options;
    }
    UpdateZr2() : Update(zr2()) {}
};

TEST_F(UpdateZr2, ProbeFindsALockThatRefusesWrites) {
    ASSERT_TRUE(updateImage(rig.context, rig.context.loginLevel != shell::kNotLoggedIn));
    auto frames = framesOf(rig.actuator);
    ASSERT_GE(frames.size(), 5u);
    EXPECT_EQ(addressed({frames.begin(), frames.begin() + 5}),
              (std::vector<std::pair<int, int>>{{READ_VERSION, 0},
                                                {READ_STATUS, 116},
                                                {LOCK_EEPROM, 0},
                                                {READ_ID_BYTES, 253},
                                                {WRITE_ID_PAIR, 253}}));
    EXPECT_EQ(writeRun(5).size(), 241u);
    EXPECT_EQ(rig.context.image.bytes[292], 0xFF);
    EXPECT_EQ(rig.actuator.eeprom()[292], 0xFF);
    EXPECT_TRUE(rig.ui.errors.empty());
}

TEST_F(UpdateZr2, ProbeFindsALockThatTakesWrites) {
    rig.actuator.configure([](sim::Options& o) { o.acceptWritesWhileLocked = true; });
    ASSERT_TRUE(updateImage(rig.context, rig.context.loginLevel != shell::kNotLoggedIn));
    EXPECT_EQ(writeRun(5).size(), 241u);
    EXPECT_EQ(rig.actuator.eeprom()[292], 0);
}

TEST(DownloadMenu, ExtractEepromExtractsAndSaves) {
    test::SimRig rig(withCard('F', '1'));
    fillActuator(rig.actuator);
    shell::CDownloads screen(rig.context);
    rig.ui.files.push_back(rig.folder + "/menu.ucf");
    ASSERT_TRUE(screen.click("Extract EEPROM"));
    EXPECT_EQ(screen.focus(), "BACK");
    EXPECT_EQ(rig.ui.busyCount, 1);
    EXPECT_FALSE(rig.ui.busy);
    EXPECT_EQ(rig.ui.sounds, std::vector<ui::Sound>{ui::Sound::End});
    EXPECT_TRUE(std::filesystem::exists(rig.folder + "/menu.ucf"));

    // The file written holds the image just read.
    ConfigImage extracted = rig.context.image;
    rig.context.image = ConfigImage{};
    rig.ui.files.push_back(rig.folder + "/menu.ucf");
    ASSERT_TRUE(loadImageFile(rig.context));
    EXPECT_EQ(rig.context.image.bytes, extracted.bytes);
    EXPECT_EQ(rig.context.image.optionType, kPositioner);
}

}  // namespace
}  // namespace vantrel::image
