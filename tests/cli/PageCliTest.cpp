// vantrel-cli page, limits and config, run as a program against vantrel-sim: each
// row is a run of commands against one simulated actuator, so a later command sees
// what an earlier one wrote.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CliProcess.h"
#include "image/ConfigImage.h"
#include "image/ImageFileFormat.h"

namespace {

using Args = std::vector<std::string>;

struct CliRun {
    Args args;  // "{dir}" stands for the test's own folder
    int status;
    std::vector<std::string> out{};     // texts standard output holds
    std::vector<std::string> err{};     // texts standard error holds
    std::vector<std::string> absent{};  // texts neither holds
    Args env{};                         // "NAME=VALUE" settings of its environment
};

struct Row {
    std::string name;
    Args sim;  // vantrel-sim options (faults)
    std::vector<CliRun> runs;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << row.name;
}

Args user(Args args) {
    args.insert(args.begin(), {"--login", "user", "--password", "qmzv"});
    return args;
}

const std::string kStop = "Stop Settings";

const Row kRows[] = {
    {"ShowFromExtractAndFromFile",
     {},
     {{{"page", kStop, "show"},
       0,
       {"Close on Torque: Close on Torque\n", "Boost Position %: 2\n",
        "Clock to Close: AClock to Close\n"},
       {"Do you want to extract from Actuator? [y/N] y\n"}},
      {{"extract", "-o", "{dir}/a.ucf"}, 0},
      {{"page", kStop, "--from", "{dir}/a.ucf", "show"},
       0,
       {"Boost Position %: 2\n", "Clock to Close: AClock to Close\n"},
       {"Do you want to extract from Actuator? [y/N] n\n"}}}},
    {"SetAndSendWriteTheActuator",
     {},
     {{user({"page", kStop, "set", "Close Torque %=80", "set", "Clock to Close=Clock to Close",
             "send"}),
       0,
       {},
       {"send data on this page to Actuator? [y/N] y\n"}},
      {{"page", kStop, "show"}, 0, {"Close Torque %: 80\n", "Clock to Close: Clock to Close\n"}}}},
    {"UnknownNamesAreUsageErrorsListingWhatThereIs",
     {},
     {{{"page", "Nowhere", "show"},
       2,
       {},
       {"no page \"Nowhere\" in the sheet; it has \"Stop Settings\", \"Contacts S1 to S8\", "
        "\"Protection\", \"ESD\", \"Control\", \"Service Notes\", \"Misc\"\n"}},
      {{"page", kStop, "set", "Bogus=1"},
       2,
       {},
       {"it has \"Close on Torque\", \"Open on Torque\", \"Close Torque %\""}},
      {{"page", kStop, "set", "Close Torque %=39"},
       2,
       {},
       {"has no entry \"39\"; it has \"40\", \"41\""}},
      {{"page", kStop, "press", "Frob"}, 2, {}, {"\"Send\", \"Current\", \"Done\"\n"}},
      {{"page", kStop, "show", "frob"}, 2, {}, {}, {"[y/N]"}}}},
    {"DisabledControlStopsTheRunBeforeAnythingIsSent",
     {},
     {{user({"page", kStop, "press", "Current", "set", "Close Torque %=80", "send"}),
       1,
       {},
       {"\"Close Torque %\" is disabled"},
       {"send data"}},
      {{"page", kStop, "show"}, 0, {"Close Torque %: 70\n"}}}},
    {"KeepThenDoneSavesTheEditsToTheFileOnly",
     {},
     {{user({"page", kStop, "set", "Close Torque %=90", "keep", "done", "-o", "{dir}/kept.ucf"}),
       0,
       {},
       {"Actuator? [y/N] n\n", "keep changes? [y/N] y\n", "Save to file? [y/N] y\n"}},
      {{"page", kStop, "--from", "{dir}/kept.ucf", "show"}, 0, {"Close Torque %: 90\n"}},
      {{"page", kStop, "show"}, 0, {"Close Torque %: 70\n"}},
      {{"page", kStop, "done", "-o", "{dir}/none.ucf"},
       1,
       {},
       {"nothing saved"},
       {"Save to file"}}}},
    {"LimitsThroughTheSetLimitsScreen",
     {},
     {{user({"limits", "set-turns", "10"}), 0},
      {{"limits", "turns"}, 0, {"10.00\n"}},
      {user({"limits", "set-position", "2.5"}), 0},
      {{"limits", "position"}, 0, {"2.50 25.00%\n"}},
      {user({"limits", "set-turns", "2.4"}), 1, {}, {"Turns out of range.\n"}},
      {{"limits", "set-turns", "10"}, 1, {}, {"Login is required before this action"}},
      {user({"limits", "set-position", "nan"}), 2, {}, {"\"nan\" is not a number"}}}},
    {"CopyToDefaultsNeedsTheServiceLevel",
     {},
     {{user({"--yes", "config", "copy-to-defaults"}), 1, {}, {"is disabled"}, {"[y/N]"}},
      {{"--login", "service", "--password", "w4", "--yes", "config", "copy-to-defaults"},
       0,
       {},
       {"update the default settings? [y/N] y\n"}},
      {{"config", "copy-defaults"},
       1,
       {},
       {"current settings? [y/N] n\n",
        "copy-defaults: nothing sent: \"Are you sure you want to "
        "update the current settings?\" was answered No"}}}},
    // The power-cycle question of an early card stops Send before any frame: the
    // address read back from the actuator is still the old one.
    {"AQuestionOnTheWayAnsweredNoFailsTheStepThatSentNothing",
     {"--card", "M2", "--bus-kind", "2", "--card-revision", "3"},
     {{user({"page", "Option - Profibus", "set", "Address=5", "send", "show"}),
       1,
       {},
       {"Continue? [y/N] n\n",
        "send: nothing sent: \"You need to power cycle the actuator for 'unlock' change "
        "settings to take effect, Continue?\" was answered No"},
       {"GSD Lock:"}},
      {{"page", "Option - Profibus", "show"}, 0, {"Address: 0\n"}},
      {user({"--yes", "page", "Option - Profibus", "set", "Address=5", "send"}),
       0,
       {},
       {"Continue? [y/N] y\n"},
       {"nothing sent"}},
      {{"page", "Option - Profibus", "show"}, 0, {"Address: 5\n"}}}},
    {"PressOfAButtonThatWritesAndWroteNothingFails",
     {"--card", "P"},
     {{user({"page", "Option - Vexlink 2", "press", "Initialise", "show"}),
       1,
       {},
       {"press Initialise: nothing sent: \"This will default all settings are you sure?\" was "
        "answered No"},
       {"Torque Filter:"}},
      {user({"--yes", "page", "Option - Vexlink 2", "press", "Initialise", "show"}),
       0,
       {"Torque Filter:"},
       {"are you sure? [y/N] y\n"},
       {"nothing sent"}},
      {user({"page", kStop, "press", "Current", "show"}),
       0,
       {"Close Torque %:"},
       {},
       {"nothing sent"}}}},
    {"ANoteDoesNotStopTheRun",
     {"--card", "MP", "--bus-kind", "3"},
     {{user({"page", "Multiport", "press", "Misc", "set", "Clockwise Port 3=100", "keep", "done",
             "-o", "{dir}/ports.ucf"}),
       0,
       {},
       {"Note Ports are NOT in ascending order", "Save to file? [y/N] y\n"}},
      {{"page", "Multiport", "--from", "{dir}/ports.ucf", "press", "Misc", "show"},
       0,
       {"Clockwise Port 3: 100\n"}}}},
    {"OutputNamesAreFilesNotFolders",
     {},
     {{user({"page", kStop, "set", "Close Torque %=80", "done", "-o", "{dir}"}),
       2,
       {},
       {"-o takes a file name, not a folder"},
       {"[y/N]"}},
      {user({"page", kStop, "done", "-o", "{dir}/"}), 2, {}, {"not a folder"}, {"[y/N]"}},
      {{"calibration", "-o", "{dir}", "show"}, 2, {}, {"not a folder"}, {"Clockwise Offset"}}}},
    {"TypedTextIsDeviceText",
     {},
     {{user({"page", "Service Notes", "press", "Notes", "set", "Power PCB=\xC3\xA9\xE2\x82\xAC",
             "send"}),
       1,
       {},
       {"\"Power PCB\" takes only characters with a one-byte form"},
       {"send data"},
       {"LC_ALL=C.UTF-8"}},
      {user({"page", "Service Notes", "press", "Notes", "set", "Power PCB=ABCDEFGHIJKLMNO\xC3\xA9",
             "keep", "done", "-o", "{dir}/text.ucf"}),
       0,
       {},
       {},
       {},
       {"LC_ALL=C.UTF-8"}},
      {{"page", "Service Notes", "--from", "{dir}/text.ucf", "press", "Notes", "show"},
       0,
       {"Power PCB: ABCDEFGHIJKLMNO\xC3\xA9\n"},
       {},
       {},
       {"LC_ALL=C.UTF-8"}},
      {{"page", "Service Notes", "--from", "{dir}/text.ucf", "press", "Notes", "show"},
       0,
       {"Power PCB: ABCDEFGHIJKLMNO?\n"},
       {},
       {},
       {"LC_ALL=C"}}}},
    {"RefusedWriteStopsTheRunAtItsStep",
     {"--refuse", "WRITE_REGISTER=E"},
     {{user({"page", kStop, "set", "Close Torque %=80", "send", "show"}),
       1,
       {},
       {"EEPROM Error\n"},
       {"Close on Torque:"}},
      {user({"limits", "set-turns", "10"}), 1, {}, {"EEPROM Error\n"}}}},
};

class PageCli : public clitest::Cli, public ::testing::WithParamInterface<Row> {};

TEST_P(PageCli, Runs) {
    Args simArgs = GetParam().sim;
    simArgs.insert(simArgs.begin(), VANTREL_SIM_PATH);
    clitest::Child sim(simArgs, home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());

    for (const CliRun& run : GetParam().runs) {
        Args args = {"--port", port};
        for (std::string arg : run.args) {
            if (const auto at = arg.find("{dir}"); at != std::string::npos)
                arg.replace(at, 5, home_);
            args.push_back(arg);
        }
        const clitest::Result r = cli(args, run.env);
        const std::string what =
            ::testing::PrintToString(run.args) + "\nout:\n" + r.out + "err:\n" + r.err;
        EXPECT_EQ(r.status, run.status) << what;
        for (const std::string& text : run.out)
            EXPECT_NE(r.out.find(text), std::string::npos) << text << '\n' << what;
        for (const std::string& text : run.err)
            EXPECT_NE(r.err.find(text), std::string::npos) << text << '\n' << what;
        for (const std::string& text : run.absent)
            EXPECT_EQ((r.out + r.err).find(text), std::string::npos) << text << '\n' << what;
    }
    sim.stop();
    sim.finish();
}

INSTANTIATE_TEST_SUITE_P(Rows, PageCli, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.name; });

}  // namespace

// Every page the sheet can hold, driven with send, keep and discard under --yes,
// which must never answer a step's own questions: send writes the page and keeps
// the edit, keep keeps it and writes nothing, discard does neither. The edit's byte
// is read back from the file Done saves; the frames are those the actuator logged.
namespace sendkeep {

namespace image = vantrel::image;

struct PageEdit {
    std::string page;
    std::string set;  // NAME=VALUE, an edit that changes one byte
    int offset;       // that byte of the image
    uint8_t value;    // its value after the edit
    int sendFrames;   // frames Send writes
    bool sendAsks = true;
};

struct Unit {
    std::string name;
    Args sim;  // the option card
    std::vector<PageEdit> pages;
};

std::ostream& operator<<(std::ostream& out, const Unit& unit) {
    return out << unit.name;
}

const Unit kUnits[] = {
    {"NoCard",
     {},
     {{kStop, "Close Torque %=80", 298, 80, 11},
      {"Contacts S1 to S8", "S2 NO/NC=NO", 301, 0, 8},
      {"Protection", "Interlocks=on", 323, 67, 6},
      {"ESD", "Thermostat Bypass=on", 321, 65, 6},
      {"Control", "Local Control=Maintained", 322, 162, 4},
      {"Service Notes", "Service Notes=Bench test", 140, 'B', 27},
      {"Misc", "Open Stall (%)=2", 265, 2, 7},
      {"Single Phase", "Start cap time=3", 290, 3, 3, false}}},
    {"LoopNetwork",
     {"--card", "P"},
     {{"Option - Vexlink 1", "Motion Inhibit Time=4 Secs", 693, 4, 8},
      {"Option - Vexlink 2", "Torque Filter=3", 697, 3, 7}}},
    {"Positioner",
     {"--card", "F"},
     {{"Option - Tracklin", "Motion Inhibit Time=4 Secs", 753, 4, 8}}},
    {"Modbus",
     {"--card", "M2", "--bus-kind", "1"},
     {{"Option - Modbus", "Baud Rate=600", 518, 2, 3},
      {"Option - BUS mk2 page 1", "Motion Inhibit Time=3 Secs", 516, 3, 8},
      {"Option - BUS mk2 page 2", "Valve Jammed Time=3 Secs", 525, 3, 9}}},
    {"Profibus",
     {"--card", "M2", "--bus-kind", "2"},
     {{"Option - Profibus", "Address=5", 517, 5, 3}}},
    {"ProfibusEarlyCardAsksToPowerCycle",
     {"--card", "M2", "--bus-kind", "2", "--card-revision", "3"},
     {{"Option - Profibus", "Address=5", 517, 5, 3}}},
    {"MultiportPartTurn",
     {"--card", "MP", "--bus-kind", "3", "--part-turn"},
     {{"Multiport", "Bi DirectionalMode=ON", 634, 1, 10},
      {"ZRT", "Acceleration Ramp=7", 765, 7, 7}}},
};

std::optional<image::ConfigImage> readImage(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    image::ConfigImage parsed{};
    const auto* data = reinterpret_cast<const uint8_t*>(text.data());
    if (!image::parseImageFile(parsed, {data, text.size()})) return std::nullopt;
    return parsed;
}

int frameCount(const std::string& log) {
    int count = 0;
    for (std::size_t at = log.find("frame:"); at != std::string::npos;
         at = log.find("frame:", at + 1))
        ++count;
    return count;
}

class SendKeepDiscard : public clitest::Cli, public ::testing::WithParamInterface<Unit> {};

TEST_P(SendKeepDiscard, EveryPage) {
    Args simArgs = GetParam().sim;
    simArgs.insert(simArgs.begin(), {VANTREL_SIM_PATH, "--verbose"});
    clitest::Child sim(simArgs, home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());
    const Args service = {"--port", port, "--login", "service", "--password", "w4", "--yes"};
    auto withService = [&](Args args) {
        args.insert(args.begin(), service.begin(), service.end());
        return args;
    };

    const std::string extracted = home_ + "/extracted.ucf";
    ASSERT_EQ(cli(withService({"extract", "-o", extracted})).status, 0);
    const std::optional<image::ConfigImage> before = readImage(extracted);
    ASSERT_TRUE(before);

    for (const PageEdit& edit : GetParam().pages) {
        std::optional<image::ConfigImage> sent;
        for (const std::string verb : {"send", "keep", "discard"}) {
            const std::string saved = home_ + "/" + verb + ".ucf";
            std::filesystem::remove(saved);
            sim.readErrUntilQuiet(std::chrono::milliseconds(50));
            const clitest::Result r =
                cli(withService({"page", edit.page, "--from", extracted, "set", edit.set, verb,
                                 "done", "-o", saved}));
            const int frames = frameCount(sim.readErrUntilQuiet());
            const std::string what = edit.page + " " + verb + "\nerr:\n" + r.err;

            if (!edit.sendAsks && verb != "send") {
                EXPECT_EQ(r.status, 2) << what;
                EXPECT_EQ(frames, 0) << what;
                EXPECT_FALSE(std::filesystem::exists(saved)) << what;
                continue;
            }
            EXPECT_EQ(r.status, 0) << what;
            EXPECT_EQ(frames, verb == "send" ? edit.sendFrames : 0) << what;
            const std::optional<image::ConfigImage> after = readImage(saved);
            ASSERT_TRUE(after) << what;
            const uint8_t expected = verb == "discard" ? before->bytes[edit.offset] : edit.value;
            EXPECT_EQ(int{after->bytes[edit.offset]}, int{expected}) << what;
            // keep keeps in the image exactly what send keeps.
            if (verb == "send") sent = after;
            if (verb == "keep" && sent) {
                EXPECT_EQ(after->bytes, sent->bytes) << what;
            }
        }
    }
    sim.stop();
    sim.finish();
}

INSTANTIATE_TEST_SUITE_P(Units, SendKeepDiscard, ::testing::ValuesIn(kUnits),
                         [](const auto& info) { return info.param.name; });

// A file whose bus card area is cut short leaves the Modbus page nothing to write:
// its Send writes no frame, which is no success.
TEST_F(SendKeepDiscard, SendWithNothingToWriteFails) {
    clitest::Child sim({VANTREL_SIM_PATH, "--verbose", "--card", "M2", "--bus-kind", "1"}, home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());
    const Args user = {"--port", port, "--login", "user", "--password", "qmzv"};
    const std::string file = home_ + "/short.ucf";
    Args extract = user;
    extract.insert(extract.end(), {"extract", "-o", file});
    ASSERT_EQ(cli(extract).status, 0);
    std::string text;
    {
        std::ifstream in(file, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string key = "MK2BUS_3\t";
    const std::size_t line = text.find(key);
    ASSERT_NE(line, std::string::npos);
    const std::size_t kept = line + key.size() + 4;  // two bytes of the area
    text.erase(kept, text.find('\r', kept) - kept);
    std::ofstream(file, std::ios::binary) << text;

    sim.readErrUntilQuiet(std::chrono::milliseconds(50));
    Args send = user;
    send.insert(send.end(), {"page", "Option - Modbus", "--from", file, "send", "show"});
    const clitest::Result r = cli(send);
    EXPECT_EQ(frameCount(sim.readErrUntilQuiet()), 0) << r.err;
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("send: nothing sent: it wrote no frame\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("Baud Rate:"), std::string::npos) << r.out;
    sim.stop();
    sim.finish();
}

}  // namespace sendkeep
