// The option card pages through the page harness: what each page shows and takes,
// the frames it sends to the simulated card, and how a chain ends when the card
// refuses or stays silent.
#include <gtest/gtest.h>

#include "PageHarness.h"
#include "ScriptedUi.h"
#include "image/ImageFileFormat.h"
#include "link/Commands.h"
#include "pages/ConfigSheet.h"
#include "registry/SheetPages.h"
#include "shell/Settings.h"

namespace vantrel::test {
namespace {

using Setup = std::function<void(sim::Options&)>;
using namespace pages;

constexpr int MK = 512;  // bus card area
constexpr int VX = 690;  // loop network card area
constexpr int TL = 748;  // positioner area
constexpr int ZR = 758;  // part-turn area
constexpr int SW = 769;  // option card software identity

constexpr const char* kEeprom = "error: EEPROM Error";
constexpr const char* kCardError = "error: Option card comms error";
constexpr const char* kNoReply = "error: Event Not RX";
constexpr const char* kIncorrectPassword = "error: Incorrect Password entered";
constexpr const char* kBadTravel = "error: invalid Valve Time value, must be < 65535";
constexpr const char* kBadTimeout =
    "error: P/Stroke Timeout must be a whole number from 0 to 32767";

Setup card(char letter, char variant = '1', uint8_t busKind = 1, uint16_t reading = 0x0266) {
    return [=](sim::Options& options) {
        options.card.letter = letter;
        options.card.variant = variant;
        options.card.busKind = busKind;
        options.card.analogueReading = reading;
    };
}
const Setup kLoopCard = card('P');
const Setup kPositioner = card('F');
const Setup kModbusCard = card('M', '2', 1);
const Setup kProfibusCard = card('M', '2', 2);
const Setup kPartTurnUnit = [](sim::Options& options) { options.partTurn = true; };

Setup both(Setup first, Setup second) {
    return [=](sim::Options& options) {
        first(options);
        second(options);
    };
}

Setup silent(uint8_t command, uint8_t address) {
    return [=](sim::Options& options) {
        options.faults.silentCommand = command;
        options.faults.silentAddress = address;
    };
}

// Identity text of a Profibus card, each register's second byte first; its eighth
// character offers the redundancy modes when it is '4'.
std::vector<ByteAt> identityText(const std::string& shown) {
    std::vector<ByteAt> bytes;
    for (int i = 0; i < static_cast<int>(shown.size()); ++i)
        bytes.push_back({MK + 44 + (i ^ 1), static_cast<uint8_t>(shown[i])});
    return bytes;
}

std::vector<ByteAt> joined(std::vector<ByteAt> a, const std::vector<ByteAt>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<ByteAt> software(const char* text) {
    return {{SW, uint8_t(text[0])},
            {SW + 1, uint8_t(text[1])},
            {SW + 2, uint8_t(text[2])},
            {SW + 3, uint8_t(text[3])}};
}

// An image file whose area under key carries only its first bytes.
std::string shortFile(const image::ConfigImage& image, const std::string& key, int bytes) {
    std::string file = image::formatImageFile(image, "Mon 01 Jan 2024 12:00:00");
    const auto value = file.find(key + "\t") + key.size() + 1;
    const auto end = file.find('\r', value);
    const auto length = (end == std::string::npos ? file.size() : end) - value;
    file.erase(value + 2 * static_cast<std::size_t>(bytes), length - 2 * bytes);
    return file;
}

image::ConfigImage busImage() {
    image::ConfigImage image;
    image.optionType = image::kModbusMk2;
    const std::pair<int, uint8_t> bytes[] = {{11, 20},   {13, 7}, {14, 3},    {15, 9},
                                             {7, 0xA5},  {16, 1}, {72, 25},   {74, 0x2C},
                                             {75, 0x81}, {70, 2}, {84, 0x45}, {85, 0x08}};
    for (auto [offset, value] : bytes)
        image.bytes[MK + offset] = value;
    for (int i = 0; i < 4; ++i)
        image.bytes[SW + i] = static_cast<uint8_t>("M207"[i]);
    return image;
}

image::ConfigImage loopImage() {
    image::ConfigImage image;
    image.optionType = image::kLoopNetwork;
    for (int i = 0; i < 15; ++i)
        image.bytes[VX + i] = static_cast<uint8_t>(i + 1);
    return image;
}

image::ConfigImage partTurnImage() {
    image::ConfigImage image;
    image.optionFlags = image::kPartTurnFlag;
    for (int i = 0; i < 11; ++i)
        image.bytes[ZR + i] = static_cast<uint8_t>(i + 30);
    return image;
}

// A page's whole Send, then the same chain with the card refusing ('E' and 'T' in
// turn) at each of its frames, and staying silent at its first and last.
struct Chain {
    std::string page;
    uint8_t optionType = 0;
    uint8_t optionFlags = 0;
    Setup unit;
    std::vector<ByteAt> image;
    std::vector<std::string> steps;
    std::vector<std::string> frames;
};

std::vector<PageCase> brokenChains(const std::vector<Chain>& chains) {
    std::vector<PageCase> rows;
    for (const Chain& chain : chains) {
        auto row = [&](std::string name, std::size_t at, Setup fault, const char* message) {
            return PageCase{.name = chain.page + " " + name + " at frame " + std::to_string(at),
                            .page = chain.page,
                            .image = chain.image,
                            .steps = chain.steps,
                            .frames = {chain.frames.begin(), chain.frames.begin() + at + 1},
                            .dialogs = {message},
                            .setUp = both(chain.unit, fault),
                            .optionType = chain.optionType,
                            .optionFlags = chain.optionFlags};
        };
        rows.push_back(PageCase{.name = chain.page + " whole chain",
                                .page = chain.page,
                                .image = chain.image,
                                .steps = chain.steps,
                                .frames = chain.frames,
                                .setUp = chain.unit,
                                .optionType = chain.optionType,
                                .optionFlags = chain.optionFlags});
        for (std::size_t at = 0; at < chain.frames.size(); ++at) {
            const auto command =
                static_cast<uint8_t>(std::stoi(chain.frames[at].substr(0, 2), nullptr, 16));
            const auto address =
                static_cast<uint8_t>(std::stoi(chain.frames[at].substr(3, 2), nullptr, 16));
            const bool optionCard = at % 2 == 1;
            rows.push_back(row(optionCard ? "card refuses" : "actuator refuses", at,
                               refuse(command, address, optionCard ? 'T' : 'E'),
                               optionCard ? kCardError : kEeprom));
            if (at == 0 || at + 1 == chain.frames.size())
                rows.push_back(row("silent", at, silent(command, address), kNoReply));
        }
    }
    return rows;
}

const std::vector<Chain> kChains = {
    {kVexlink1,
     image::kLoopNetwork,
     0,
     kLoopCard,
     {},
     {"send"},
     {"33 32 00 00 00", "33 33 00 00 00", "33 34 00 00 00", "33 35 00 00 00", "33 38 00 00 00",
      "33 44 00 00 00", "33 36 00 00 00", "33 37 00 00 00"}},
    {kVexlink2,
     image::kLoopNetwork,
     0,
     kLoopCard,
     {{VX + 13, 1}, {VX + 14, 44}},
     {"send"},
     {"33 43 00 00 00", "33 70 00 00 00", "33 71 00 00 00", "33 75 00 00 00", "33 76 00 00 00",
      "33 9F 2C 00 00", "33 9E 01 00 00"}},
    {kBusMk2Page1,
     image::kFieldbusMk2,
     0,
     card('M', '3', 3),
     {},
     {"send"},
     {"33 32 00 00 00", "33 33 00 00 00", "33 34 00 00 00", "33 35 00 00 00", "33 45 00 00 00",
      "33 31 00 00 00", "33 3A 00 00 00", "33 3B 00 00 00"}},
    {kBusMk2Page2,
     image::kFieldbusMk2,
     image::kMultiportFlag,
     card('M', 'P', 3),
     {},
     {"send"},
     {"33 3C 00 00 00", "33 3E 00 00 00", "33 3F 00 00 00", "33 41 00 00 00", "33 38 00 00 00",
      "33 42 00 00 00", "33 60 00 00 00", "33 62 00 00 00", "33 61 00 00 00"}},
    {kModbus,
     image::kModbusMk2,
     0,
     kModbusCard,
     {},
     {"send"},
     {"33 36 00 00 00", "33 37 00 00 00", "33 39 00 00 00"}},
    {kProfibus,
     image::kProfibusMk2,
     0,
     kProfibusCard,
     {},
     {"send"},
     {"33 36 00 00 00", "38 36 00 00 00", "33 63 00 00 00"}},
    {kProfibus,
     image::kProfibusMk2,
     0,
     kProfibusCard,
     software("M203"),
     {"answer yes yes", "press Send"},
     {"33 36 00 00 00", "38 36 00 00 00", "38 33 00 00 00"}},
    {kPartTurn,
     0,
     image::kPartTurnFlag,
     kPartTurnUnit,
     {},
     {"send"},
     {"53 37 00 00 00", "53 36 00 00 00", "53 39 00 00 00", "53 38 00 00 00", "53 3A 00 00 00",
      "53 3B 00 00 00", "53 3C 00 00 00"}},
};

class OptionChains : public ::testing::TestWithParam<PageCase> {};
TEST_P(OptionChains, Row) {
    runPageCase(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Rows, OptionChains, ::testing::ValuesIn(brokenChains(kChains)),
                         [](const auto& info) {
                             return rowName(info.param.name) + "_" + std::to_string(info.index);
                         });

// Entries that the valve travel and partial stroke boxes refuse before anything is
// taken or sent.
std::vector<PageCase> refusedNumbers() {
    std::vector<PageCase> rows;
    for (const char* typed : {"", "abc", "0", "70000", "-1", "12.5", "300x"})
        rows.push_back(
            PageCase{.name = std::string("valve travel refuses ") + typed,
                     .page = kVexlink2,
                     .image = {{VX + 13, 1}, {VX + 14, 44}},
                     .steps = {"set Torque Filter=9", std::string("set Valve Travel (s)=") + typed,
                               "send", "keep"},
                     .after = {{VX + 7, 0}, {VX + 13, 1}, {VX + 14, 44}},
                     .dialogs = {kBadTravel, kBadTravel},
                     .setUp = kLoopCard,
                     .optionType = image::kLoopNetwork});
    for (const char* typed : {"32768", "40000", "abc", "", "-5"})
        rows.push_back(PageCase{.name = std::string("partial stroke timeout refuses ") + typed,
                                .page = kBusMk2Page2,
                                .image = {{MK + 74, 0x2C}, {MK + 75, 0x81}},
                                .steps = {"set P/Stroke Limit=Close",
                                          std::string("set P/Stroke Timeout=") + typed, "send"},
                                .after = {{MK + 74, 0x2C}, {MK + 75, 0x81}},
                                .dialogs = {kBadTimeout},
                                .setUp = kModbusCard,
                                .optionType = image::kModbusMk2});
    // A box left as the page showed it keeps its stored value, even one it would refuse.
    for (const char* step : {"send", "keep"})
        rows.push_back(PageCase{
            .name = std::string("valve travel stored 0 and untouched does not block ") + step,
            .page = kVexlink2,
            .steps = {"set Torque Filter=9", step},
            .frames =
                std::string(step) == "send"
                    ? std::vector<std::string>{"33 43 09 00 00", "33 70 00 00 00", "33 71 00 00 00",
                                               "33 75 00 00 00", "33 76 00 00 00", "33 9F 00 00 00",
                                               "33 9E 00 00 00"}
                    : std::vector<std::string>{},
            .after = {{VX + 7, 9}, {VX + 13, 0}, {VX + 14, 0}},
            .setUp = kLoopCard,
            .optionType = image::kLoopNetwork});
    rows.push_back(PageCase{.name = "valve travel typed back as shown is taken as untouched",
                            .page = kVexlink2,
                            .steps = {"set Valve Travel (s)=abc", "set Valve Travel (s)=0", "keep"},
                            .after = {{VX + 13, 0}, {VX + 14, 0}},
                            .setUp = kLoopCard,
                            .optionType = image::kLoopNetwork});
    return rows;
}

class OptionNumbers : public ::testing::TestWithParam<PageCase> {};
TEST_P(OptionNumbers, Row) {
    runPageCase(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Rows, OptionNumbers, ::testing::ValuesIn(refusedNumbers()),
                         [](const auto& info) {
                             return rowName(info.param.name) + "_" + std::to_string(info.index);
                         });

class OptionPages : public ::testing::TestWithParam<PageCase> {};
TEST_P(OptionPages, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OptionPages,
    ::testing::Values(
        // Loop network card.
        PageCase{.name = "loop page 1 sends every byte with the address and baud rate last",
                 .page = kVexlink1,
                 .steps = {"set Address=17", "set Baud Rate=2400", "set Motion Inhibit Time=5 Secs",
                           "set Positioner Minimum=10 %", "set Positioner Maximum=90 %",
                           "set Deadband=25.5 %", "set Hysteresis=2.5 %", "set Auxiliary Mask=0Fh",
                           "entries Deadband=256", "entries Hysteresis=256", "send"},
                 .frames = {"33 32 0A 00 00", "33 33 5A 00 00", "33 34 FF 00 00", "33 35 05 00 00",
                            "33 38 0F 00 00", "33 44 19 00 00", "33 36 11 00 00", "33 37 04 00 00"},
                 .after = {{VX + 4, 17},
                           {VX + 5, 4},
                           {VX + 3, 5},
                           {VX + 0, 10},
                           {VX + 1, 90},
                           {VX + 2, 255},
                           {VX + 8, 25},
                           {VX + 6, 15}},
                 .setUp = kLoopCard,
                 .optionType = image::kLoopNetwork},
        PageCase{.name = "loop page 1 keeps an address without an entry",
                 .page = kVexlink1,
                 .image = {{VX + 4, 250}},
                 .steps = {"keep"},
                 .shows = {"Address: ", "Baud Rate: 110"},
                 .after = {{VX + 4, 250}},
                 .setUp = kLoopCard,
                 .optionType = image::kLoopNetwork},
        PageCase{.name = "option pages need a login to send",
                 .page = kVexlink1,
                 .login = shell::kNotLoggedIn,
                 .steps = {"set Address=17", "send"},
                 .after = {{VX + 4, 0}},
                 .dialogs = {kIncorrectPassword},
                 .setUp = kLoopCard,
                 .optionType = image::kLoopNetwork},
        PageCase{
            .name = "torque update entries 1 to 4 store 0 and 5 stores 5",
            .page = kVexlink2,
            .image = {{VX + 12, 7}, {VX + 11, 9}, {VX + 13, 1}, {VX + 14, 44}},
            .steps = {"set Torque Update=3 N/A", "set Torque Deviation=5 %", "keep"},
            .shows = {"Torque Update: 0 Mins", "Torque Deviation: 5 %", "Valve Travel (s): 300"},
            .after = {{VX + 12, 0}, {VX + 11, 5}},
            .setUp = kLoopCard,
            .optionType = image::kLoopNetwork},
        PageCase{.name = "valve travel goes low byte first and 65535 is the longest",
                 .page = kVexlink2,
                 .image = joined({{VX + 13, 1}, {VX + 14, 44}}, software("P107")),
                 .steps = {"set Torque Update=5 Mins", "set Torque Deviation=2 N/A",
                           "set Valve Travel (s)=65535", "send"},
                 .shows = {"Version: P107", "Valve Travel (s): 65535"},
                 .frames = {"33 43 00 00 00", "33 70 00 00 00", "33 71 00 00 00", "33 75 00 00 00",
                            "33 76 05 00 00", "33 9F FF 00 00", "33 9E FF 00 00"},
                 .after = {{VX + 13, 0xFF}, {VX + 14, 0xFF}, {VX + 12, 5}, {VX + 11, 0}},
                 .setUp = kLoopCard,
                 .optionType = image::kLoopNetwork},
        PageCase{.name = "initialise defaults the card and shows no error",
                 .page = kVexlink2,
                 .steps = {"answer yes", "press Initialise",
                           "asked This will default all settings are you sure?"},
                 .frames = {"3D 00 DE C0 EE"},
                 .setUp = kLoopCard,
                 .optionType = image::kLoopNetwork},
        PageCase{.name = "initialise answered with T shows no error",
                 .page = kVexlink2,
                 .steps = {"answer yes", "press Initialise"},
                 .frames = {"3D 00 DE C0 EE"},
                 .setUp = refuse(link::OPTION_CONTROL, 0, 'T'),
                 .optionType = image::kLoopNetwork},
        PageCase{.name = "initialise refused shows the link's message",
                 .page = kVexlink2,
                 .steps = {"answer yes", "press Initialise"},
                 .frames = {"3D 00 DE C0 EE"},
                 .dialogs = {kEeprom},
                 .setUp = both(kLoopCard, refuse(link::OPTION_CONTROL)),
                 .optionType = image::kLoopNetwork},
        PageCase{.name = "initialise unanswered shows the link's message",
                 .page = kVexlink2,
                 .steps = {"answer yes", "press Initialise"},
                 .frames = {"3D 00 DE C0 EE"},
                 .dialogs = {kNoReply},
                 .setUp = both(kLoopCard, silent(link::OPTION_CONTROL, 0)),
                 .optionType = image::kLoopNetwork},
        PageCase{.name = "initialise needs a login and a yes",
                 .page = kVexlink2,
                 .login = shell::kNotLoggedIn,
                 .steps = {"answer yes", "press Initialise"},
                 .dialogs = {kIncorrectPassword},
                 .setUp = kLoopCard,
                 .optionType = image::kLoopNetwork},
        PageCase{.name = "initialise answered no sends nothing",
                 .page = kVexlink2,
                 .steps = {"answer no", "press Initialise"},
                 .setUp = kLoopCard,
                 .optionType = image::kLoopNetwork},
        // Mk2 bus cards.
        PageCase{
            .name = "bus page 1 sends every field in its order",
            .page = kBusMk2Page1,
            .steps = {"set Action loss of signal=Position (on)", "set Motion Inhibit Time=5 Secs",
                      "set Positioner Minimum=10 %", "set Positioner Maximum=90 %",
                      "set Deadband=0.5 %", "set Hysteresis=25.5 %",
                      "set Comms loss timeout=30 Secs", "set Comms loss Position=50 %", "send"},
            .frames = {"33 32 0A 00 00", "33 33 5A 00 00", "33 34 05 00 00", "33 35 05 00 00",
                       "33 45 FF 00 00", "33 31 07 00 00", "33 3A 1E 00 00", "33 3B 32 00 00"},
            .after = {{MK + 0, 7},
                      {MK + 4, 5},
                      {MK + 1, 10},
                      {MK + 2, 90},
                      {MK + 3, 5},
                      {MK + 19, 255},
                      {MK + 9, 30},
                      {MK + 10, 50}},
            .setUp = kModbusCard,
            .optionType = image::kModbusMk2},
        PageCase{
            .name = "calibration reads the input and discards edits not taken",
            .page = kBusMk2Page1,
            .image = {{MK + 17, 0x34}, {MK + 18, 0x12}},
            .steps = {"set Deadband=2.5 %", "answer yes", "press Calibrate",
                      "asked Have you applied the Maximum analogue signal to the terminal bung?"},
            .shows = {"Analogue Input: 10000", "Deadband: 0.0 %"},
            .frames = {"33 43 E8 00 00", "37 13 00 00 00"},
            .after = {{MK + 17, 0x10}, {MK + 18, 0x27}, {MK + 3, 0}},
            .setUp = card('M', '2', 1, 10000),
            .optionType = image::kModbusMk2},
        PageCase{.name = "calibration refused by the card says Failed",
                 .page = kBusMk2Page1,
                 .image = {{MK + 17, 0x34}, {MK + 18, 0x12}},
                 .steps = {"answer yes", "press Calibrate"},
                 .shows = {"Analogue Input: 4660"},
                 .frames = {"33 43 E8 00 00"},
                 .after = {{MK + 17, 0x34}, {MK + 18, 0x12}},
                 .dialogs = {kCardError, "message: Failed"},
                 .setUp = both(kModbusCard, refuse(link::WRITE_OPTION_BYTE, 67, 'T')),
                 .optionType = image::kModbusMk2},
        PageCase{.name = "calibration unanswered says Failed",
                 .page = kBusMk2Page1,
                 .steps = {"answer yes", "press Calibrate"},
                 .frames = {"33 43 E8 00 00"},
                 .dialogs = {kNoReply, "message: Failed"},
                 .setUp = both(kModbusCard, silent(link::WRITE_OPTION_BYTE, 67)),
                 .optionType = image::kModbusMk2},
        PageCase{.name = "calibration whose read is refused keeps the stored reading",
                 .page = kBusMk2Page1,
                 .image = {{MK + 17, 0x34}, {MK + 18, 0x12}},
                 .steps = {"answer yes", "press Calibrate"},
                 .shows = {"Analogue Input: 4660"},
                 .frames = {"33 43 E8 00 00", "37 13 00 00 00"},
                 .after = {{MK + 17, 0x34}, {MK + 18, 0x12}},
                 .dialogs = {kEeprom},
                 .setUp = both(kModbusCard, refuse(link::READ_BUS_REGISTER, 19)),
                 .optionType = image::kModbusMk2},
        PageCase{.name = "calibration needs a login",
                 .page = kBusMk2Page1,
                 .login = shell::kNotLoggedIn,
                 .steps = {"answer yes", "press Calibrate"},
                 .dialogs = {kIncorrectPassword},
                 .setUp = kModbusCard,
                 .optionType = image::kModbusMk2},
        PageCase{.name = "partial stroke open with 300 and the input bit beside kept bits",
                 .page = kBusMk2Page2,
                 .image = {{MK + 16, 0xA4}},
                 .steps = {"set P/Stroke Limit=Open", "set P/Stroke Timeout=300",
                           "set Netdisable/ESD=Net Disable", "set Slow mode range=20 %",
                           "set Valve Jammed Time=7 Secs", "set Watchdog Timeout=9 Secs",
                           "set Auxiliary Mask=A5h", "set Part Stroke Position=25 %",
                           "set Manual Movement=3 %", "send"},
                 .frames = {"33 3C 14 00 00", "33 3E 07 00 00", "33 3F 03 00 00", "33 41 09 00 00",
                            "33 38 A5 00 00", "33 42 A5 00 00", "33 60 19 00 00", "33 62 2C 00 00",
                            "33 61 81 00 00"},
                 .after = {{MK + 74, 44}, {MK + 75, 0x81}, {MK + 16, 0xA5}},
                 .setUp = card('M', '2', 2),
                 .optionType = image::kProfibusMk2},
        PageCase{.name = "a stored timeout shows its 15 bits and the limit its bit",
                 .page = kBusMk2Page2,
                 .image = {{MK + 74, 0x40}, {MK + 75, 0x9C}},
                 .steps = {"set P/Stroke Limit=Close", "set P/Stroke Timeout=32767", "keep"},
                 .shows = {"P/Stroke Timeout: 32767", "P/Stroke Limit: Close"},
                 .after = {{MK + 74, 0xFF}, {MK + 75, 0x7F}},
                 .setUp = kModbusCard,
                 .optionType = image::kModbusMk2},
        PageCase{.name = "a stored timeout loads as its 15 bits",
                 .page = kBusMk2Page2,
                 .image = {{MK + 74, 0x40}, {MK + 75, 0x9C}},
                 .shows = {"P/Stroke Timeout: 7232", "P/Stroke Limit: Open"},
                 .setUp = kModbusCard,
                 .optionType = image::kModbusMk2},
        PageCase{.name = "modbus baud rate and parity by position",
                 .page = kModbus,
                 .image = software("M207"),
                 .steps = {"set Baud Rate=115200", "set Parity=odd [2]", "set Address=247", "send",
                           "set Baud Rate=300", "keep"},
                 .shows = {"Version: M207", "Baud Rate: 300"},
                 .frames = {"33 36 F7 00 00", "33 37 0A 00 00", "33 39 05 00 00"},
                 .after = {{MK + 5, 247}, {MK + 6, 1}, {MK + 8, 5}},
                 .setUp = kModbusCard,
                 .optionType = image::kModbusMk2},
        // Profibus.
        PageCase{.name = "profibus unlocked FR REDCOM is 7 and a current card takes it at 99",
                 .page = kProfibus,
                 .image = joined(joined(identityText("ABCDEFG4IJ"), software("M207")),
                                 {{MK + 84, 0x45}, {MK + 85, 0x08}, {MK + 78, 0xF8}}),
                 .steps = {"set GSD Lock=UnLocked", "set Redundant mode=FR/REDCOM",
                           "set Address=126", "send"},
                 .shows = {"Version: M207", "Card identity: ABCDEFG4IJ",
                           "Profibus ID: 0x0845 (disabled)"},
                 .frames = {"33 36 7E 00 00", "38 36 45 08 00", "33 63 07 00 00"},
                 .after = {{MK + 78, 0x07}, {MK + 5, 126}},
                 .setUp = kProfibusCard,
                 .optionType = image::kProfibusMk2},
        PageCase{.name = "profibus locked SR SIMPLE is 0",
                 .page = kProfibus,
                 .image = joined(identityText("ABCDEFG4IJ"), {{MK + 78, 0xFF}}),
                 .steps = {"set GSD Lock=Locked", "set Redundant mode=SR/SIMPLE", "keep"},
                 .after = {{MK + 78, 0x00}},
                 .setUp = kProfibusCard,
                 .optionType = image::kProfibusMk2},
        PageCase{.name = "profibus without redundancy shows N A and keeps the mode bits clear",
                 .page = kProfibus,
                 .image = joined(identityText("ABCDEFG3IJ"), {{MK + 78, 0xF9}}),
                 .steps = {"keep"},
                 .shows = {"Redundant mode: N/A (disabled)", "GSD Lock: UnLocked"},
                 .after = {{MK + 78, 0x01}},
                 .setUp = kProfibusCard,
                 .optionType = image::kProfibusMk2},
        PageCase{.name = "profibus mode without an entry keeps its bits but not bits 3 to 7",
                 .page = kProfibus,
                 .image = joined(identityText("ABCDEFG3IJ"), {{MK + 78, 0xFB}}),
                 .steps = {"set GSD Lock=Locked", "keep"},
                 .shows = {"Redundant mode:  (disabled)"},
                 .after = {{MK + 78, 0x02}},
                 .setUp = kProfibusCard,
                 .optionType = image::kProfibusMk2},
        PageCase{.name = "profibus mode without an entry sent with bits 3 to 7 cleared",
                 .page = kProfibus,
                 .image = joined(identityText("ABCDEFG3IJ"), {{MK + 78, 0xFD}}),
                 .steps = {"send"},
                 .frames = {"33 36 00 00 00", "38 36 00 00 00", "33 63 05 00 00"},
                 .after = {{MK + 78, 0x05}},
                 .setUp = kProfibusCard,
                 .optionType = image::kProfibusMk2},
        PageCase{.name = "profibus identity chosen at the service level",
                 .page = kProfibus,
                 .login = shell::kService,
                 .image = {{MK + 84, 0x3A}, {MK + 85, 0x07}},
                 .steps = {"set Profibus ID=0x0845", "send"},
                 .frames = {"33 36 00 00 00", "38 36 45 08 00", "33 63 00 00 00"},
                 .after = {{MK + 84, 0x45}, {MK + 85, 0x08}},
                 .setUp = kProfibusCard,
                 .optionType = image::kProfibusMk2},
        PageCase{.name = "profibus unknown identity shows nothing and stays as stored",
                 .page = kProfibus,
                 .login = shell::kService,
                 .image = {{MK + 84, 0x34}, {MK + 85, 0x12}},
                 .steps = {"send"},
                 .shows = {"Profibus ID: "},
                 .frames = {"33 36 00 00 00", "38 36 34 12 00", "33 63 00 00 00"},
                 .after = {{MK + 84, 0x34}, {MK + 85, 0x12}},
                 .setUp = kProfibusCard,
                 .optionType = image::kProfibusMk2},
        PageCase{.name = "profibus early card answered no takes and sends nothing",
                 .page = kProfibus,
                 .image = software("M203"),
                 .steps = {"set Address=5", "answer yes no", "press Send",
                           "asked You need to power cycle the actuator for 'unlock' change "
                           "settings to take effect, Continue?"},
                 .after = {{MK + 5, 0}},
                 .setUp = kProfibusCard,
                 .optionType = image::kProfibusMk2},
        PageCase{.name = "profibus early card takes the lock byte as bus register 51",
                 .page = kProfibus,
                 .image = joined(joined(software("M204"), identityText("ABCDEFG4IJ")),
                                 {{MK + 78, 0x03}}),
                 .steps = {"answer yes yes", "press Send"},
                 .frames = {"33 36 00 00 00", "38 36 00 00 00", "38 33 03 00 00"},
                 .setUp = kProfibusCard,
                 .optionType = image::kProfibusMk2},
        // Positioner.
        PageCase{.name = "positioner send writes the card then the feedback bit",
                 .page = kTracklin,
                 .image = {{TL + 0, 0xF8}},
                 .actuator = {{r(61), 0x81}},
                 .steps = {"set Signal Type=Voltage", "set Signal Range=20",
                           "set Trak feedback=High", "set Motion Inhibit Time=9 Secs",
                           "set Deadband=9.8 %", "set Action Signal Loss=Stayput (on)",
                           "set low signal cal=20 %", "entries Deadband=99", "send",
                           "asked Do you want to send data on this page to Actuator? Excludes cal "
                           "values "},
                 .frames = {"33 35 09 00 00", "33 34 62 00 00", "33 31 05 00 00", "33 30 05 00 00",
                            "10 00 00 00 00", "A0 3D 00 00 00", "B0 3D C1 02 03", "11 00 00 00 00"},
                 .after = {{TL + 0, 0x05}, {TL + 2, 20}, {TL + 4, 98}, {r(61), 0x40}},
                 .setUp = kPositioner,
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner current 5 and low feedback",
                 .page = kTracklin,
                 .image = {{TL + 0, 0x05}, {r(61), 0x40}},
                 .actuator = {{r(61), 0x40}},
                 .steps = {"set Signal Type=Current", "set Signal Range=5", "set Trak feedback=Low",
                           "send"},
                 .frames = {"33 35 00 00 00", "33 34 00 00 00", "33 31 00 00 00", "33 30 00 00 00",
                            "10 00 00 00 00", "A0 3D 00 00 00", "B0 3D 00 02 03", "11 00 00 00 00"},
                 .after = {{TL + 0, 0x00}, {r(61), 0x00}},
                 .setUp = kPositioner,
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner card write refused still writes the feedback bit",
                 .page = kTracklin,
                 .steps = {"send"},
                 .frames = {"33 35 00 00 00", "33 34 00 00 00", "10 00 00 00 00", "A0 3D 00 00 00",
                            "B0 3D 01 02 03", "11 00 00 00 00"},
                 .dialogs = {kCardError},
                 .setUp = both(kPositioner, refuse(link::WRITE_OPTION_BYTE, 52, 'T')),
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner card silent still writes the feedback bit",
                 .page = kTracklin,
                 .steps = {"send"},
                 .frames = {"33 35 00 00 00", "33 34 00 00 00", "33 31 00 00 00", "33 30 00 00 00",
                            "10 00 00 00 00", "A0 3D 00 00 00", "B0 3D 01 02 03", "11 00 00 00 00"},
                 .dialogs = {kNoReply},
                 .setUp = both(kPositioner, silent(link::WRITE_OPTION_BYTE, 48)),
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner unlock refused leaves register 61 alone",
                 .page = kTracklin,
                 .steps = {"send"},
                 .frames = {"33 35 00 00 00", "33 34 00 00 00", "33 31 00 00 00", "33 30 00 00 00",
                            "10 00 00 00 00"},
                 .dialogs = {kEeprom},
                 .setUp = both(kPositioner, refuse(link::UNLOCK_EEPROM)),
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner read refused sends no lock",
                 .page = kTracklin,
                 .steps = {"send"},
                 .frames = {"33 35 00 00 00", "33 34 00 00 00", "33 31 00 00 00", "33 30 00 00 00",
                            "10 00 00 00 00", "A0 3D 00 00 00"},
                 .dialogs = {kEeprom},
                 .setUp = both(kPositioner, refuse(link::READ_REGISTER, 61)),
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner read unanswered sends no lock",
                 .page = kTracklin,
                 .steps = {"send"},
                 .frames = {"33 35 00 00 00", "33 34 00 00 00", "33 31 00 00 00", "33 30 00 00 00",
                            "10 00 00 00 00", "A0 3D 00 00 00"},
                 .dialogs = {kNoReply},
                 .setUp = both(kPositioner, silent(link::READ_REGISTER, 61)),
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner write refused is still locked",
                 .page = kTracklin,
                 .steps = {"send"},
                 .frames = {"33 35 00 00 00", "33 34 00 00 00", "33 31 00 00 00", "33 30 00 00 00",
                            "10 00 00 00 00", "A0 3D 00 00 00", "B0 3D 01 02 03", "11 00 00 00 00"},
                 .dialogs = {kEeprom},
                 .setUp = both(kPositioner, refuse(link::WRITE_REGISTER, 61)),
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner low signal cal sends only its point and takes every edit",
                 .page = kTracklin,
                 .image = software("F107"),
                 .steps = {"set low signal cal=20 %", "set Deadband=0.5 %", "answer yes",
                           "press low signal cal",
                           "asked Have you applied the low value signal, to tracklin input"},
                 .shows = {"Version: F107", "low signal cal: 20 %"},
                 .frames = {"33 32 14 00 00"},
                 .after = {{TL + 2, 20}, {TL + 4, 5}},
                 .setUp = kPositioner,
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner high signal cal refused by the card",
                 .page = kTracklin,
                 .steps = {"set High signal cal=100 %", "answer yes", "press High signal cal"},
                 .frames = {"33 33 64 00 00"},
                 .after = {{TL + 3, 100}},
                 .dialogs = {kCardError},
                 .setUp = both(kPositioner, refuse(link::WRITE_OPTION_BYTE, 51, 'T')),
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner calibration needs a login",
                 .page = kTracklin,
                 .login = shell::kNotLoggedIn,
                 .steps = {"answer yes", "press High signal cal"},
                 .dialogs = {kIncorrectPassword},
                 .setUp = kPositioner,
                 .optionType = image::kPositioner},
        PageCase{.name = "positioner range without an entry keeps its bits but not bits 3 to 7",
                 .page = kTracklin,
                 .image = {{TL + 0, 0xFE}},
                 .steps = {"set Signal Type=Voltage", "keep"},
                 .shows = {"Signal Range: "},
                 .after = {{TL + 0, 0x07}},
                 .setUp = kPositioner,
                 .optionType = image::kPositioner},
        // Part-turn unit.
        PageCase{.name = "part turn user sends the service lists as stored",
                 .page = kPartTurn,
                 .image = {{ZR + 0, 'Q'},
                           {ZR + 1, '2'},
                           {ZR + 2, '0'},
                           {ZR + 3, '4'},
                           {ZR + 6, 25},
                           {ZR + 7, 1},
                           {ZR + 8, 2},
                           {ZR + 9, 3},
                           {ZR + 10, 4}},
                 .steps = {"set Type=ZRT2000", "set Speed=105 %", "send"},
                 .shows = {"Version: Q204", "PI Gain: 3 (disabled)",
                           "Acceleration Ramp: 1 (disabled)", "Slow mode Speed: 25 %"},
                 .frames = {"53 37 04 00 00", "53 36 69 00 00", "53 39 19 00 00", "53 38 01 00 00",
                            "53 3A 02 00 00", "53 3B 03 00 00", "53 3C 04 00 00"},
                 .after = {{ZR + 4, 4}, {ZR + 5, 105}},
                 .setUp = kPartTurnUnit,
                 .optionFlags = image::kPartTurnFlag},
        PageCase{.name = "part turn speed below 25 shows nothing and is kept",
                 .page = kPartTurn,
                 .login = shell::kService,
                 .image = {{ZR + 5, 10}},
                 .steps = {"set PI Integral Time=200", "keep"},
                 .shows = {"Speed: "},
                 .after = {{ZR + 5, 10}, {ZR + 10, 200}},
                 .setUp = kPartTurnUnit,
                 .optionFlags = image::kPartTurnFlag},
        // Image files whose option area was cut short.
        PageCase{.name = "short bus area leaves the partial stroke empty and unsent",
                 .page = kBusMk2Page2,
                 .steps = {"send"},
                 .shows = {"P/Stroke Limit:  (disabled)", "P/Stroke Timeout:  (disabled)",
                           "Slow mode range: 20 %"},
                 .frames = {"33 3C 14 00 00", "33 3E 07 00 00", "33 3F 03 00 00", "33 41 09 00 00",
                            "33 38 A5 00 00", "33 42 01 00 00", "33 60 19 00 00"},
                 .after = {{MK + 74, 0}, {MK + 75, 0}},
                 .setUp = kProfibusCard,
                 .file = shortFile(busImage(), "MK2BUS_3", 74)},
        PageCase{.name = "short bus area leaves the profibus identity number unsent",
                 .page = kProfibus,
                 .login = shell::kService,
                 .steps = {"send"},
                 .shows = {"Profibus ID:  (disabled)", "GSD Lock: Locked", "Version: M207"},
                 .frames = {"33 36 00 00 00", "33 63 00 00 00"},
                 .setUp = kProfibusCard,
                 .file = shortFile(busImage(), "MK2BUS_3", 80)},
        PageCase{.name = "short loop area leaves the valve travel empty and unsent",
                 .page = kVexlink2,
                 .steps = {"send"},
                 .shows = {"Valve Travel (s):  (disabled)", "Torque Update: 13 Mins"},
                 .frames = {"33 43 08 00 00", "33 70 0B 00 00", "33 71 0A 00 00", "33 75 0C 00 00",
                            "33 76 0D 00 00"},
                 .setUp = kLoopCard,
                 .file = shortFile(loopImage(), "VEXLINK_DIG_3", 13)},
        PageCase{.name = "a valve travel cut between its bytes sends neither byte",
                 .page = kVexlink2,
                 .steps = {"set Torque Filter=9", "send"},
                 .shows = {"Valve Travel (s):  (disabled)"},
                 .frames = {"33 43 09 00 00", "33 70 0B 00 00", "33 71 0A 00 00", "33 75 0C 00 00",
                            "33 76 0D 00 00"},
                 .setUp = kLoopCard,
                 .file = shortFile(loopImage(), "VEXLINK_DIG_3", 14)},
        PageCase{.name = "positioner from a file without register 61 leaves the feedback out",
                 .page = kTracklin,
                 .steps = {"send"},
                 .shows = {"Trak feedback:  (disabled)", "Signal Range: 10"},
                 .frames = {"33 35 05 00 00", "33 34 04 00 00", "33 31 01 00 00", "33 30 02 00 00"},
                 .setUp = kPositioner,
                 .file = "UNUSED2\t" + std::string(128, '0') +
                         "\rOPT_SW_3\tF107\rTRACKLIN_3\t020100000405\r"},
        PageCase{.name = "short part turn area sends only the type and speed",
                 .page = kPartTurn,
                 .steps = {"send"},
                 .shows = {"Type: ", "Speed: 35 %", "Slow mode Speed:  (disabled)"},
                 .frames = {"53 37 22 00 00", "53 36 23 00 00"},
                 .setUp = kPartTurnUnit,
                 .file = shortFile(partTurnImage(), "ZRT_5", 6)}),
    [](const auto& info) { return rowName(info.param.name); });

// Every page the sheet lists for an option card is one this build makes, of its
// own class; cards without pages of their own add none.
TEST(OptionSheet, EveryListedPageIsMade) {
    struct Card {
        uint8_t type, flags;
        std::vector<std::string> classes;
    };
    const std::vector<Card> cards = {
        {image::kNoOption, 0, {}},
        {image::kModbus, 0, {}},
        {image::kProfibus, 0, {}},
        {image::kDeviceNet, 0, {}},
        {image::kLoopNetwork, 0, {"COptTab1", "COptTab2"}},
        {image::kPositioner, 0, {"CTracklin"}},
        {image::kModbusMk2, 0, {"CModbusTab", "COptTabBus1", "COptTabBus2"}},
        {image::kProfibusMk2, 0, {"CProfibusTab", "COptTabBus1", "COptTabBus2"}},
        {image::kFieldbusMk2, 0, {"COptTabBus1", "COptTabBus2"}},
        {image::kNoOption, image::kPartTurnFlag, {"CZrtTab"}},
    };
    ScriptedUi ui;
    shell::Settings settings(::testing::TempDir() + "/option-sheet.ini");
    shell::Context context(ui, settings);
    for (const Card& c : cards) {
        context.image.optionType = c.type;
        context.image.optionFlags = c.flags;
        std::vector<std::string> made;
        for (const std::string& title : sheetPageTitles(context.image, shell::kUser)) {
            if (title.starts_with("Option") || title == kPartTurn) {
                auto page = registry::makePage(context, title);
                ASSERT_NE(page, nullptr) << title;
                EXPECT_EQ(page->title(), title);
                made.push_back(page->className());
            }
        }
        EXPECT_EQ(made, c.classes) << "option type " << int(c.type);
    }
}

}  // namespace
}  // namespace vantrel::test
