// Start-up time and resident memory of the vantrel program under the offscreen Qt
// platform, with the in-process simulated actuator. Start-up counts until the
// process goes idle: its processor time stops growing, which is when the main menu
// is up and waiting for the user.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kPoll = 10ms;
constexpr auto kIdleFor = 300ms;  // no processor time used for this long: idle
constexpr auto kGiveUpAfter = 20s;

// User plus system processor time of a process, in clock ticks.
long cpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i)
        fields >> skip;  // state .. cmajflt
    long user = 0, system = 0;
    fields >> user >> system;
    return user + system;
}

// A "Vm..." line of /proc/<pid>/status, in kB.
long statusKb(pid_t pid, const std::string& key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
    return -1;
}

}  // namespace

int main() {
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) return 1;
    if (pid == 0) {
        // The program's own notices (no runtime folder, no audio) are not the figures.
        if (FILE* quiet = std::freopen("/dev/null", "w", stderr); !quiet) ::_exit(127);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        const std::string home = "/tmp/vantrel-bench-home-" + std::to_string(::getpid());
        ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        ::execl(VANTREL_PATH, VANTREL_PATH, "--simulate", static_cast<char*>(nullptr));
        ::_exit(127);
    }

    long lastTicks = -1;
    auto lastChange = Clock::now();
    bool idle = false;
    while (Clock::now() - start < kGiveUpAfter) {
        std::this_thread::sleep_for(kPoll);
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "vantrel ended before it was up\n");
            return 1;
        }
        const long ticks = cpuTicks(pid);
        if (ticks != lastTicks) {
            lastTicks = ticks;
            lastChange = Clock::now();
        } else if (Clock::now() - lastChange >= kIdleFor) {
            idle = true;
            break;
        }
    }
    const double upSeconds = std::chrono::duration<double>(lastChange - start).count();
    const long rss = statusKb(pid, "VmRSS");
    const long peak = statusKb(pid, "VmHWM");
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    if (!idle) {
        std::fprintf(stderr, "vantrel did not go idle within %lld s\n",
                     static_cast<long long>(kGiveUpAfter.count()));
        return 1;
    }
    std::printf(
        "vantrel --simulate (offscreen): up and idle after %.3f s, resident %ld kB "
        "(peak %ld kB)\n",
        upSeconds, rss, peak);
    return 0;
}
