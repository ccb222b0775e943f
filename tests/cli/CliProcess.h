#pragma once
// Runs vantrel-cli and vantrel-sim as programs: a child process with its outputs on
// pipes and a time limit, and a fixture with a settings store of its own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace clitest {

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
    // env: more "NAME=VALUE" settings of the child's environment.
    Child(const std::vector<std::string>& argv, const std::string& configHome,
          const std::vector<std::string>& env = {}) {
        int out[2], err[2];
        if (::pipe(out) != 0 || ::pipe(err) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            const int null = ::open("/dev/null", O_RDONLY);
            ::dup2(null, STDIN_FILENO);
            ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
            for (const std::string& setting : env)
                ::putenv(const_cast<char*>(setting.c_str()));
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

    // Reads standard error until it stays quiet for a while: what a running child
    // has written so far.
    std::string readErrUntilQuiet(
        std::chrono::milliseconds quiet = std::chrono::milliseconds(100)) {
        std::string text;
        char buffer[4096];
        pollfd p{err_, POLLIN, 0};
        while (::poll(&p, 1, static_cast<int>(quiet.count())) > 0) {
            const ssize_t n = ::read(err_, buffer, sizeof buffer);
            if (n <= 0) break;
            text.append(buffer, n);
        }
        return text;
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

    Result cli(std::vector<std::string> args, const std::vector<std::string>& env = {}) {
        args.insert(args.begin(), VANTREL_CLI_PATH);
        return Child(args, home_, env).finish();
    }

    void storePassword(const std::string& name, const std::string& value) {
        const auto folder = std::filesystem::path(home_) / "Local AppWizard-Generated Applications";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "Rudozi Vantrel.ini") << "[Rudozi Vantrel]\n"
                                                     << name << "=" << value << "\n";
    }

    std::string home_;
};

// A program's output, a line an entry.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace clitest
