#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRunLimit = std::chrono::seconds(30);

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// A child process with its standard output and error on pipes.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::string& configHome) {
        int out[2], err[2];
        if (::pipe(out) != 0 || ::pipe(err) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            const int null = ::open("/dev/null", O_RDONLY);
            ::dup2(null, STDIN_FILENO);
            ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
            std::vector<char*> args;
            for (const auto& arg : argv)
                args.push_back(const_cast<char*>(arg.c_str()));
            args.push_back(nullptr);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Child() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
        if (err_ >= 0) ::close(err_);
    }

    // Reads standard output up to the first newline (bounded).
    std::string firstLine() {
        std::string line;
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        char c;
        while (Clock::now() < deadline) {
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            if (::read(out_, &c, 1) != 1 || c == '\n') break;
            line += c;
        }
        return line;
    }

    // Collects both outputs until the child ends, killing it past the limit.
    Result finish() {
        Result result;
        const auto deadline = Clock::now() + kRunLimit;
        bool outOpen = true, errOpen = true;
        while ((outOpen || errOpen) && Clock::now() < deadline) {
            pollfd p[2] = {{outOpen ? out_ : -1, POLLIN, 0}, {errOpen ? err_ : -1, POLLIN, 0}};
            if (::poll(p, 2, 100) <= 0) continue;
            char buffer[4096];
            for (int i = 0; i < 2; ++i) {
                if (!(p[i].revents & (POLLIN | POLLHUP))) continue;
                const ssize_t n = ::read(p[i].fd, buffer, sizeof buffer);
                if (n <= 0) {
                    (i == 0 ? outOpen : errOpen) = false;
                    continue;
                }
                (i == 0 ? result.out : result.err).append(buffer, n);
            }
        }
        if (outOpen || errOpen) {
            ADD_FAILURE() << "the program did not end in time";
            ::kill(pid_, SIGKILL);
        }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        reaped_ = true;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    void stop() {
        if (pid_ > 0) ::kill(pid_, SIGTERM);
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool reaped_ = false;
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "cli-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        home_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(home_); }

    Result cli(std::vector<std::string> args) {
        args.insert(args.begin(), VANTREL_CLI_PATH);
        return Child(args, home_).finish();
    }

    void storePassword(const std::string& name, const std::string& value) {
        const auto folder = std::filesystem::path(home_) / "Local AppWizard-Generated Applications";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "Rudozi Vantrel.ini") << "[Rudozi Vantrel]\n"
                                                     << name << "=" << value << "\n";
    }

    std::string home_;
};

constexpr const char* kFrameLine = "^[0-9A-F]{2}( [0-9A-F]{2}){4} .\n$";

TEST_F(Cli, FrameOnTheSimulatorPrintsReplyBytesAndResult) {
    const Result r = cli({"--simulate", "frame", "0b", "00", "00", "00", "00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::regex_match(r.out, std::regex(kFrameLine))) << r.out;
    EXPECT_EQ(r.out.substr(0, 3), "0B ");
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "Y\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(Cli, DiagOnTheSimulatorPrintsFifteenIndicatorsInScreenOrder) {
    const Result r = cli({"--simulate", "diag"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Position error: off\nEEPROM error: off\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\nToff Open: off\nToff Close: off\n"), std::string::npos) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 15);
}

TEST_F(Cli, MissingPortFailsWithTheMessageAndItsReason) {
    const std::string port = home_ + "/no-such-port";
    const Result r = cli({"--port", port, "frame", "F0", "00", "00", "00", "00"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Port did not open\n", 0), 0u) << r.err;
    const std::string reason = r.err.substr(r.err.find('\n') + 1);
    EXPECT_NE(reason.substr(0, reason.find('\n')).find(port), std::string::npos) << r.err;
}

TEST_F(Cli, NoValidReplyFailsFrameAndAMissingPortPrintsNoIndicators) {
    Child sim({VANTREL_SIM_PATH, "--silent", "READ_VERSION", "--bad-checksum", "READ_STATUS"},
              home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());
    const std::string noReply =
        "vantrel-cli: no valid reply (none arrived, or its checksum was wrong)\n";
    // Nothing came back: the line shows the request itself and "2", as the screen does.
    Result r = cli({"--port", port, "frame", "0b", "84", "00", "00", "00"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "0B 84 00 00 00 2\n");
    EXPECT_EQ(r.err, noReply);
    // A reply with a wrong checksum is shown as it came, and is no reply either.
    r = cli({"--port", port, "frame", "01", "84", "00", "00", "00"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(std::regex_match(r.out, std::regex(kFrameLine))) << r.out;
    EXPECT_EQ(r.err, noReply);
    sim.stop();
    sim.finish();

    r = cli({"--port", home_ + "/no-such-port", "diag"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("Port did not open\n", 0), 0u) << r.err;
}

TEST_F(Cli, UsageErrorsExitTwoWithUsageText) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"nonsense"},
        {"frame", "F0", "00", "00", "00"},
        {"frame", "F0", "00", "00", "00", "ZZ"},
        {"frame", "F0", "00", "00", "00", "123"},
        {"diag", "extra"},
        {"--login", "user", "diag"},
        {"--login", "admin", "--password", "x", "diag"},
        {"--port"},
        {"--bogus", "diag"},
    };
    for (const auto& args : cases) {
        const Result r = cli(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("usage: vantrel-cli"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    const Result help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("frame CC AA D1 D2 D3"), std::string::npos);
}

TEST_F(Cli, LoginUsesTheStoredPasswordsExactly) {
    storePassword("Tarvek Password", "s3cret");
    Result r = cli({"--simulate", "--login", "service", "--password", "w4", "diag"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Incorrect Password entered\n");
    EXPECT_EQ(r.out, "");  // the command does not run

    r = cli({"--simulate", "--login", "service", "--password", "s3cret", "diag"});
    EXPECT_EQ(r.status, 0) << r.err;
    r = cli({"--simulate", "--login", "user", "--password", "qmzv", "diag"});
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(Cli, ExternalSimulatorRefusalsShowInFrameAndFailDiag) {
    Child sim({VANTREL_SIM_PATH, "--refuse", "READ_REGISTER:145=E"}, home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());

    Result r = cli({"--port", port, "frame", "A0", "91", "00", "00", "00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "E\n") << r.out;
    EXPECT_EQ(r.err, "");

    r = cli({"--port", port, "diag"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "EEPROM Error\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 15);
    sim.stop();
    sim.finish();
}

TEST_F(Cli, YesStopsRetryingABusCardThatNeverAnswers) {
    Child sim({VANTREL_SIM_PATH, "--card", "M2", "--refuse", "READ_BUS_REGISTER:5=T"}, home_);
    const std::string port = sim.firstLine();
    ASSERT_FALSE(port.empty());

    const std::string file = home_ + "/image.ucf";
    const Result r = cli({"--port", port, "--yes", "extract", "-o", file});
    EXPECT_EQ(r.status, 1);
    const std::string question = "Error retrying receive data 3 times, continue to retry? [y/N] ";
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 12) << r.err;
    EXPECT_NE(r.err.find(question + "n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\nOption card comms error\n"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(file));
    sim.stop();
    sim.finish();
}

}  // namespace
