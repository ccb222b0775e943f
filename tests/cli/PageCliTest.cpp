// vantrel-cli page, limits and config, run as a program against vantrel-sim: each
// row is a run of commands against one simulated actuator, so a later command sees
// what an earlier one wrote.
#include <ostream>
#include <string>
#include <vector>

#include "CliProcess.h"

namespace {

using Args = std::vector<std::string>;

struct CliRun {
    Args args;  // "{dir}" stands for the test's own folder
    int status;
    std::vector<std::string> out{};     // texts standard output holds
    std::vector<std::string> err{};     // texts standard error holds
    std::vector<std::string> absent{};  // texts neither holds
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
      {{"config", "copy-defaults"}, 1, {}, {"current settings? [y/N] n\n", "nothing copied"}}}},
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
        const clitest::Result r = cli(args);
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
