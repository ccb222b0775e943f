// vantrel-cli settings, diff, apply and report, run as programs against image
// files and vantrel-sim.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CliProcess.h"

namespace {

using clitest::Child;
using clitest::Result;
namespace fs = std::filesystem;

const std::string kCorpus = VANTREL_UCF_CORPUS;
const std::string kModbusMk2 = kCorpus + "/modbus_mk2.ucf";
const std::string kProfibusMk2 = kCorpus + "/profibus_mk2.ucf";
const std::string kPython = "/usr/bin/python3";
constexpr std::size_t kDatalogFileBytes = 20592;

std::vector<std::string> user(std::vector<std::string> args) {
    args.insert(args.begin(), {"--login", "user", "--password", "qmzv"});
    return args;
}

class SettingsCli : public clitest::Cli {
protected:
    std::string path(const std::string& name) const { return home_ + "/" + name; }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name)) << text;
    }

    // A file in the test's folder: another file with the lowest bit of one byte of
    // one area flipped (its lines end in CR).
    std::string withBitFlipped(const std::string& from, const std::string& key, int byte) {
        std::ifstream in(from, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        const std::size_t line = text.find("\r" + key + "\t");
        EXPECT_NE(line, std::string::npos) << key;
        const std::size_t at = line + 1 + key.size() + 1 + 2 * byte + 1;  // the low digit
        const int digit = std::stoi(text.substr(at, 1), nullptr, 16) ^ 1;
        text[at] = "0123456789ABCDEF"[digit];
        const std::string name = path("flipped-" + key + ".ucf");
        std::ofstream(name, std::ios::binary) << text;
        return name;
    }
};

// Every line of `page ... show` is a setting of that page.
TEST_F(SettingsCli, SettingsAreWhatThePagesShow) {
    const Result all = cli({"settings", "--from", kModbusMk2});
    ASSERT_EQ(all.status, 0) << all.err;
    const std::vector<std::string> settings = clitest::linesOf(all.out);
    for (const std::string title : {"Stop Settings", "Option - BUS mk2 page 1"}) {
        const Result shown = cli({"page", title, "--from", kModbusMk2, "show"});
        ASSERT_EQ(shown.status, 0) << shown.err;
        for (std::string line : clitest::linesOf(shown.out)) {
            if (line.ends_with(" (disabled)")) line.resize(line.size() - 11);
            const std::string value = line.substr(line.find(": ") + 2);
            const std::string wanted =
                title + " / " + line.substr(0, line.find(": ")) + ": " + value;
            const bool unknown = value.empty();  // a list with no entry selected
            bool found = false;
            for (const std::string& setting : settings)
                found = found || setting == wanted ||
                        (unknown && setting.starts_with(wanted + "? (raw "));
            EXPECT_TRUE(found) << wanted;
        }
    }
}

TEST_F(SettingsCli, DiffNamesTheSettingAndTheBytes) {
    const Result same = cli({"diff", kModbusMk2, kModbusMk2});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "");

    // CUST_CFIG byte 0 is register 42 (the boost position); the checksum after it
    // is shown by no page.
    const std::string flipped = withBitFlipped(kModbusMk2, "CUST_CFIG", 0);
    const Result one = cli({"diff", kModbusMk2, flipped});
    EXPECT_EQ(one.status, 1) << one.err;
    const std::vector<std::string> found = clitest::linesOf(one.out);
    ASSERT_EQ(found.size(), 1u) << one.out;
    EXPECT_TRUE(found[0].starts_with("Stop Settings / ")) << found[0];

    const std::string checksum = withBitFlipped(kModbusMk2, "CUST_CSUM", 0);
    const Result bytes = cli({"diff", kModbusMk2, checksum});
    EXPECT_EQ(bytes.status, 1);
    EXPECT_EQ(bytes.out, "CUST_CSUM +0: " + clitest::linesOf(bytes.out)[0].substr(14) + "\n");

    const Result json = cli({"diff", kModbusMk2, kProfibusMk2, "--json"});
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.out.find("\"settings\""), std::string::npos);

    for (const auto& args :
         std::vector<std::vector<std::string>>{{"diff", path("missing.ucf"), kModbusMk2},
                                               {"diff", kModbusMk2, path("missing.ucf")}}) {
        const Result bad = cli(args);
        EXPECT_EQ(bad.status, 2);
        EXPECT_EQ(bad.out, "");
        EXPECT_NE(bad.err.find("Could Not Open File"), std::string::npos) << bad.err;
    }
    EXPECT_EQ(cli({"diff"}).status, 2);
}

struct SimRun {
    std::vector<std::string> sim;
    std::string template_;
    std::vector<std::string> applyArgs;
    int status;
    std::vector<std::string> out;
    std::vector<std::string> err;
    bool changed;  // the actuator's settings after the run differ from before
};

TEST_F(SettingsCli, ApplyAgainstTheSimulator) {
    const std::string threePages =
        R"({"Stop Settings": {"Close Torque %": "60"}, "Protection": {"Interlocks": "on"},)"
        R"( "ESD": {"Thermostat Bypass": "on"}})";
    const std::vector<SimRun> runs = {
        {{}, threePages, {"--dry-run"}, 1, {"Stop Settings / Close Torque %: 70 -> 60"}, {}, false},
        {{},
         R"({"ESD": {"Make": "on"}})",
         {"--dry-run"},
         0,
         {"as wanted: ESD / Make: on"},
         {},
         false},
        {{},
         R"({"Stop Settings": {"Close Torque %": "60"}, "ESD": {"Mkae": "on"}})",
         {"--yes"},
         2,
         {},
         {"no setting \"Mkae\" on \"ESD\"", "nothing sent"},
         false},
        {{}, threePages, {}, 1, {}, {"nothing sent (--yes answers Yes)"}, false},
        {{},
         threePages,
         {"--yes"},
         0,
         {"sent \"Stop Settings\": 1 change, 11 frames", "sent \"ESD\": 1 change"},
         {"Apply 3 changes on 3 pages to the actuator?"},
         true},
        // The actuator stops answering during the second page.
        {{"--hang-up-after", "16"},
         threePages,
         {"--yes"},
         1,
         {"sent \"Stop Settings\"", "FAILED \"Protection\""},
         {"stopped at \"Protection\"; sent before it: \"Stop Settings\"; the rest not sent"},
         false},
    };
    for (const SimRun& run : runs) {
        SCOPED_TRACE(run.template_ + " " + (run.applyArgs.empty() ? "" : run.applyArgs[0]));
        std::vector<std::string> simArgs = {VANTREL_SIM_PATH};
        simArgs.insert(simArgs.end(), run.sim.begin(), run.sim.end());
        Child sim(simArgs, home_);
        const std::string port = sim.firstLine();
        ASSERT_FALSE(port.empty());
        write("template.json", run.template_);
        // A faulty actuator's frames are counted for the apply alone.
        const Result before = run.sim.empty() ? cli({"--port", port, "settings"}) : Result{};
        std::vector<std::string> args = user({"--port", port, "apply", path("template.json")});
        args.insert(args.end(), run.applyArgs.begin(), run.applyArgs.end());
        const Result applied = cli(args);
        EXPECT_EQ(applied.status, run.status) << applied.out << applied.err;
        for (const std::string& text : run.out)
            EXPECT_NE(applied.out.find(text), std::string::npos) << text << "\n" << applied.out;
        for (const std::string& text : run.err)
            EXPECT_NE(applied.err.find(text), std::string::npos) << text << "\n" << applied.err;
        if (run.sim.empty()) {
            const Result after = cli({"--port", port, "settings"});
            EXPECT_EQ(after.out != before.out, run.changed);
        }
        sim.stop();
    }
}

TEST_F(SettingsCli, ReportHoldsEverySettingAndTheDigests) {
    const Result json = cli({"settings", "--from", kModbusMk2, "--json"});
    ASSERT_EQ(json.status, 0);
    write("settings.json", json.out);
    write("log.dfg", std::string(kDatalogFileBytes, '\x5A'));
    const Result html = cli({"report", "-o", path("report.html"), "--from", kModbusMk2, "--datalog",
                             path("log.dfg"), "--compare", kProfibusMk2});
    ASSERT_EQ(html.status, 0) << html.err;
    const Result checked = Child({kPython, VANTREL_REPORT_CHECK, path("report.html"),
                                  path("settings.json"), kModbusMk2, path("log.dfg")},
                                 home_)
                               .finish();
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;

    const Result pdf = cli({"report", "-o", path("report.pdf"), "--pdf", "--from", kModbusMk2});
    ASSERT_EQ(pdf.status, 0) << pdf.err;
    const Result text = Child({"/usr/bin/pdftotext", path("report.pdf"), "-"}, home_).finish();
    ASSERT_EQ(text.status, 0);
    for (const std::string wanted :
         {"Software version", "Generation", "Pro", "Stop Settings", "Contacts S1 to S8",
          "Protection", "ESD", "Control", "Service Notes", "Misc", "Option - Modbus",
          "Option - BUS mk2 page 1", "Option - BUS mk2 page 2"})
        EXPECT_NE(text.out.find(wanted), std::string::npos) << wanted;
}

TEST_F(SettingsCli, ReportFromTheActuatorHasDiagnosticsAndIsWrittenWholeOrNotAtAll) {
    Child sim({VANTREL_SIM_PATH}, home_);
    const std::string port = sim.firstLine();
    const Result json = cli({"--port", port, "report", "-o", path("r.json"), "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    std::ifstream in(path("r.json"));
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(written.find("\"diagnostics\""), std::string::npos);
    EXPECT_NE(written.find("\"Stop Settings\""), std::string::npos);
    sim.stop();

    struct Bad {
        std::vector<std::string> args;
        std::vector<std::string> sim;
        std::string says;
    };
    write("broken.ucf", "CUR_SLEEP\t0000\r\n");
    write("short.dfg", std::string(kDatalogFileBytes - 1, '\x5A'));
    const std::vector<Bad> rows = {
        {{"--from", path("broken.ucf")}, {}, "EEPROM file not complete"},
        {{"--from", path("missing.ucf")}, {}, "cannot read"},
        {{"--from", kModbusMk2, "--datalog", path("missing.dfg")}, {}, "cannot read"},
        {{"--from", kModbusMk2, "--datalog", path("short.dfg")}, {}, "is not a datalogger file"},
        {{}, {"--hang-up-after", "3"}, ""},
    };
    for (const Bad& row : rows) {
        SCOPED_TRACE(row.says);
        std::vector<std::string> simArgs = {VANTREL_SIM_PATH};
        simArgs.insert(simArgs.end(), row.sim.begin(), row.sim.end());
        Child faulty(simArgs, home_);
        std::vector<std::string> args = {"--port", faulty.firstLine(), "report", "-o",
                                         path("bad.html")};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const Result bad = cli(args);
        EXPECT_EQ(bad.status, 1);
        EXPECT_NE(bad.err.find(row.says), std::string::npos) << bad.err;
        EXPECT_FALSE(fs::exists(path("bad.html")));
        faulty.stop();
    }

    // A folder that cannot be written leaves nothing behind.
    fs::create_directory(path("locked"));
    fs::permissions(path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    const Result locked = cli({"report", "-o", path("locked/r.html"), "--from", kModbusMk2});
    fs::permissions(path("locked"), fs::perms::owner_all);
    if (::geteuid() != 0) {
        EXPECT_EQ(locked.status, 1);
        EXPECT_NE(locked.err.find("could not be written"), std::string::npos) << locked.err;
        EXPECT_TRUE(fs::is_empty(path("locked")));
    }
    const Result noFolder = cli({"report", "-o", path("none/r.html"), "--from", kModbusMk2});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.err.find("could not be written"), std::string::npos) << noFolder.err;
}

}  // namespace

namespace {

// A question a page's Send asks beyond its own is answered No even under --yes:
// the multiport unit keeps its port positions when only the number of ports is
// applied.
TEST_F(SettingsCli, ApplyAnswersAPageSendsOtherQuestionsNo) {
    Child sim({VANTREL_SIM_PATH, "--card", "MP"}, home_);
    const std::string port = sim.firstLine();
    const Result before = cli({"--port", port, "settings"});
    ASSERT_EQ(before.status, 0);
    const std::string ports = "Multiport / Number Ports: ";
    const std::size_t at = before.out.find(ports);
    ASSERT_NE(at, std::string::npos);
    const std::string now = before.out.substr(at + ports.size(), 1);
    const std::string wanted = now == "6" ? "7" : "6";
    write("ports.json", R"({"Multiport": {"Number Ports": ")" + wanted + R"("}})");
    const Result applied = cli(user({"--port", port, "--yes", "apply", path("ports.json")}));
    EXPECT_EQ(applied.status, 0) << applied.err;
    EXPECT_NE(applied.err.find("recalculated equi-spaced? Note: you will need to 'send' data in "
                               "Clockwise and Anti-Clock pages [y/N] n"),
              std::string::npos)
        << applied.err;
    const Result after = cli({"--port", port, "settings"});
    EXPECT_NE(after.out.find(ports + wanted), std::string::npos);
    for (const std::string& line : clitest::linesOf(before.out))
        if (line.starts_with("Multiport / Clockwise Port 2:")) {
            EXPECT_NE(after.out.find(line), std::string::npos) << line;
        }
    sim.stop();
}

}  // namespace
