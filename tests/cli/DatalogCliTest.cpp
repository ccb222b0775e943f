// vantrel-cli datalog extract and reset, run as a program against the simulated
// actuator: exit status, the file written and the progress on standard error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "CliProcess.h"
#include "DecimalCommaLocale.h"
#include "datalog/DatalogFile.h"
#include "image/LocalTime.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string err;
};

// Runs vantrel-cli with its standard error on the given descriptor's far end and
// collects what it writes there, for at most 30 seconds.
CliRun runCli(const std::vector<std::string>& args, bool stderrOnTerminal) {
    int readEnd = -1;
    int writeEnd = -1;
    if (stderrOnTerminal) {
        if (::openpty(&readEnd, &writeEnd, nullptr, nullptr, nullptr) != 0) return {};
    } else {
        int fds[2];
        if (::pipe(fds) != 0) return {};
        readEnd = fds[0];
        writeEnd = fds[1];
    }
    std::vector<std::string> argv = {VANTREL_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (auto& a : argv)
        raw.push_back(a.data());
    raw.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(writeEnd);
    CliRun run;
    if (spawned != 0) {
        ::close(readEnd);
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    char buffer[4096];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{readEnd, POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0) {
            if (::waitpid(pid, &run.status, WNOHANG) == pid) break;
            continue;
        }
        const ssize_t n = ::read(readEnd, buffer, sizeof buffer);
        if (n <= 0) break;  // end of pipe, or the terminal's writer is gone
        run.err.append(buffer, static_cast<size_t>(n));
    }
    ::close(readEnd);
    if (run.status == -1) {
        if (std::chrono::steady_clock::now() >= deadline) ::kill(pid, SIGKILL);
        ::waitpid(pid, &run.status, 0);
    }
    return run;
}

int exitCode(const CliRun& run) {
    return WIFEXITED(run.status) ? WEXITSTATUS(run.status) : -1;
}

class DatalogCli : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("datalog-cli-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST_F(DatalogCli, ExtractWritesTheFileAndPrintsOneStatusALine) {
    const CliRun run =
        runCli({"--simulate", "datalog", "extract", "-o", (folder / "site").string()}, false);
    EXPECT_EQ(exitCode(run), 0) << run.err;
    EXPECT_EQ(fs::file_size(folder / "site.dfg"), 20592u);
    EXPECT_EQ(run.err,
              "got Version Pro\ngot Relay\ngot Config\nBlock : 129/225\nBlock : 200/225\n"
              "Block : 224/225\nBlock : 225/225\nBlock : 241/225\nDONE!!\n");
}

TEST_F(DatalogCli, OnATerminalTheStatusIsRewrittenInPlace) {
    const CliRun run =
        runCli({"--simulate", "datalog", "extract", "-o", (folder / "t.dfg").string()}, true);
    EXPECT_EQ(exitCode(run), 0) << run.err;
    // The terminal turns each line end into CR LF.
    EXPECT_TRUE(run.err.starts_with("\r\033[Kgot Version Pro\r\033[Kgot Relay")) << run.err;
    EXPECT_TRUE(run.err.ends_with("\r\033[KDONE!!\r\n")) << run.err;
    EXPECT_EQ(run.err.find("\n"), run.err.size() - 1);
}

TEST_F(DatalogCli, ResetAndFailures) {
    EXPECT_EQ(exitCode(runCli({"--simulate", "datalog", "reset"}, false)), 0);
    EXPECT_EQ(exitCode(runCli({"--simulate", "datalog", "extract"}, false)), 2);
    EXPECT_EQ(exitCode(runCli({"--simulate", "datalog", "wipe"}, false)), 2);

    const std::string missing = (folder / "no-such-port").string();
    CliRun run =
        runCli({"--port", missing, "datalog", "extract", "-o", (folder / "x.dfg").string()}, false);
    EXPECT_EQ(exitCode(run), 1);
    EXPECT_TRUE(run.err.starts_with("Port did not open\n")) << run.err;
    EXPECT_FALSE(fs::exists(folder / "x.dfg"));

    run = runCli({"--simulate", "datalog", "extract", "-o", (folder / "none" / "x.dfg").string()},
                 false);
    EXPECT_EQ(exitCode(run), 1);
    EXPECT_TRUE(run.err.ends_with("DONE!!\nCould Not Open File\n")) << run.err;
}

// A fault of the simulated actuator, the exit status and the last line of standard
// error: a file with slots that are not intact is saved, and the run fails.
struct FaultRow {
    std::string name;
    std::vector<std::string> faults;  // vantrel-sim options
    int status;
    std::string lastLine;
};

std::ostream& operator<<(std::ostream& out, const FaultRow& row) {
    return out << row.name;
}

constexpr const char* kSaved = " (the file is saved)";

std::string notIntact(const std::string& what) {
    return "vantrel-cli: " + what + kSaved;
}

// The last line a run wrote to standard error.
std::string lastLine(const std::string& err) {
    if (!err.ends_with("\n")) return "(no line end) " + err;
    const std::string lines = err.substr(0, err.size() - 1);
    return lines.substr(lines.rfind('\n') + 1);
}

const FaultRow kFaultRows[] = {
    {"Good", {}, 0, "DONE!!"},
    {"NoiseBeforeEveryRecord", {"--noise-each-datalog", "6"}, 0, "DONE!!"},
    {"BadCrc",
     {"--bad-crc-datalog", "210"},
     1,
     notIntact("1 of 155 slots is not intact, block 210")},
    {"Missing",
     {"--missing-datalog", "5,6"},
     1,
     notIntact("2 of 155 slots are not intact, blocks 5, 6")},
    {"Renumbered",
     {"--renumber-datalog", "20=3"},
     1,
     notIntact("1 of 155 slots is not intact, block 20")},
    {"Late",
     {"--slow-datalog", "50"},
     1,
     notIntact("79 of 155 slots are not intact, blocks 50-128")},
    {"Silent",
     {"--silent-datalog"},
     1,
     notIntact("155 of 155 slots are not intact, blocks 0-128, 192-199, 208-224, 240")},
};

class DatalogCliFaults : public clitest::Cli, public ::testing::WithParamInterface<FaultRow> {
protected:
    void SetUp() override {
        clitest::Cli::SetUp();
        folder = home_;
    }
    fs::path folder;
};

TEST_P(DatalogCliFaults, SavesTheFileAndTellsTheSlotsNotIntact) {
    std::vector<std::string> simArgs = GetParam().faults;
    simArgs.insert(simArgs.begin(), VANTREL_SIM_PATH);
    clitest::Child sim(simArgs, home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());

    const fs::path file = folder / "f.dfg";
    const clitest::Result run = cli({"--port", port, "datalog", "extract", "-o", file.string()});
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::file_size(file), 20592u);
    EXPECT_EQ(lastLine(run.err), GetParam().lastLine) << run.err;
    sim.stop();
    sim.finish();

    // The file tells the same slots when it is checked later.
    const clitest::Result info = cli({"datalog", "info", file.string()});
    EXPECT_EQ(info.status, GetParam().status) << info.err;
    std::string told = GetParam().status == 0 ? "" : GetParam().lastLine;
    if (told.ends_with(kSaved)) told.resize(told.size() - std::string(kSaved).size());
    EXPECT_EQ(info.err.empty() ? "" : lastLine(info.err), told);
    const size_t map = info.out.find("\nBlock map: ");
    ASSERT_NE(map, std::string::npos) << info.out;
    const std::string line = info.out.substr(map + 12, info.out.find('\n', map + 1) - map - 12);
    EXPECT_EQ(line.size(), 155u) << line;
    EXPECT_EQ(GetParam().status == 0, line == std::string(155, '.')) << line;
}

INSTANTIATE_TEST_SUITE_P(Rows, DatalogCliFaults, ::testing::ValuesIn(kFaultRows),
                         [](const auto& info) { return info.param.name; });

// The date of the local time as the files write it, under the given time locale.
std::string fileDate(const std::string& locale) {
    vantrel::test::ScopedLocale time(LC_TIME, locale);
    const std::string text = vantrel::image::localDateTimeText(std::time(nullptr));
    constexpr size_t kTimePart = 9;  // " hh:mm:ss"
    return vantrel::datalog::toLatin1(text.substr(0, text.size() - kTimePart));
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(DatalogCli, InfoRefusesWhatIsNotADatalogFile) {
    const fs::path good = folder / "good.dfg";
    ASSERT_EQ(exitCode(runCli({"--simulate", "datalog", "extract", "-o", good.string()}, false)),
              0);
    const std::string bytes = readFile(good);
    std::ofstream(folder / "short.dfg", std::ios::binary) << bytes.substr(0, bytes.size() - 1);
    std::ofstream(folder / "long.dfg", std::ios::binary) << bytes << 'x';
    std::string marks = bytes;
    marks[130] = ' ';
    std::ofstream(folder / "marks.dfg", std::ios::binary) << marks;

    const struct {
        std::string file;
        int status;
        std::string err;
    } rows[] = {
        {"short.dfg", 2, "is not a datalogger file: it holds 20591 bytes"},
        {"long.dfg", 2, "is not a datalogger file: it holds 20593 bytes"},
        {"marks.dfg", 2, "is not a datalogger file: no end of header at byte 130"},
        {"none.dfg", 1, "vantrel-cli: cannot read "},
    };
    for (const auto& row : rows) {
        const CliRun run = runCli({"datalog", "info", (folder / row.file).string()}, false);
        EXPECT_EQ(exitCode(run), row.status) << row.file << '\n' << run.err;
        EXPECT_NE(run.err.find(row.err), std::string::npos) << row.file << '\n' << run.err;
        EXPECT_EQ(run.err.find("usage"), std::string::npos) << row.file << '\n' << run.err;
    }
    const CliRun usage = runCli({"datalog", "info"}, false);
    EXPECT_EQ(exitCode(usage), 2);
    EXPECT_NE(usage.err.find("info FILE.dfg"), std::string::npos) << usage.err;
}

TEST_F(DatalogCli, DatesFollowTheUsersLocaleAndNumbersDoNot) {
    const std::string locale = vantrel::test::decimalCommaLocale();
    if (locale.empty())
        GTEST_SKIP() << "no locale with a decimal comma is installed and none could be made "
                        "(the locales package has the sources)";
    const std::string before = fileDate(locale);
    ASSERT_NE(before, fileDate("C"));

    ::setenv("LC_ALL", locale.c_str(), 1);
    const CliRun datalog =
        runCli({"--simulate", "datalog", "extract", "-o", (folder / "d.dfg").string()}, false);
    const CliRun image =
        runCli({"--simulate", "extract", "-o", (folder / "i.ucf").string()}, false);
    ::unsetenv("LC_ALL");
    const std::string after = fileDate(locale);
    ASSERT_EQ(exitCode(datalog), 0) << datalog.err;
    ASSERT_EQ(exitCode(image), 0) << image.err;

    const std::string header = readFile(folder / "d.dfg").substr(0, 132);
    const std::string stamp = header.substr(39, 24);
    EXPECT_TRUE(stamp.starts_with(before) || stamp.starts_with(after)) << stamp;
    EXPECT_TRUE(std::regex_match(header.substr(0, 25), std::regex("[0f]*-?[0-9]+\t[0-9]{12}")))
        << header.substr(0, 25);
    const std::string datim = readFile(folder / "i.ucf").substr(6, 24);
    EXPECT_TRUE(datim.starts_with(before) || datim.starts_with(after)) << datim;
}

}  // namespace
