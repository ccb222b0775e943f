// The port listing against a scratch folder standing in for /dev: links to
// pseudo-terminals, one held by another process, one this user may not open.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/PortList.h"
#include "link/SerialPort.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;
using link::PortState;

constexpr uid_t kNobody = 65534;

// A pseudo-terminal whose slave is left for the listing (and others) to open.
struct Pty {
    explicit Pty(mode_t mode) {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
        path = ::ptsname(master);
        ::chmod(path.c_str(), mode);
    }
    ~Pty() {
        if (master >= 0) ::close(master);
    }
    int master = -1;
    std::string path;
};

// Another process holding the port as the tool does (TIOCEXCL and flock).
struct Holder {
    explicit Holder(const std::string& path) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            link::SerialPort port;
            const char result = port.open(path) ? 'y' : 'n';
            if (::write(ready[1], &result, 1) != 1) ::_exit(1);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char result = 0;
        held = ::read(ready[0], &result, 1) == 1 && result == 'y';
        ::close(ready[0]);
    }
    ~Holder() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    pid_t pid = -1;
    bool held = false;
};

// The listing as one line per port: "name|device|state".
std::vector<std::string> describe(const std::vector<link::PortEntry>& ports) {
    std::vector<std::string> lines;
    for (const auto& port : ports)
        lines.push_back(port.name + "|" + port.device + "|" + link::portStateWord(port.state));
    return lines;
}

// The listing made by a child process running as nobody (the tests run as root,
// who may open any device, so "not permitted" needs another user to show).
std::vector<std::string> describeAsNobody(const link::PortRoots& roots) {
    int out[2];
    if (::pipe(out) != 0) return {"no pipe"};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(1);
        std::string text;
        for (const std::string& line : describe(link::listPorts(roots)))
            text += line + "\n";
        const bool written =
            ::write(out[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(out[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {"the child failed"};
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class PortListTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ports-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        root_ = pattern;
        ::chmod(root_.c_str(), 0755);  // nobody must reach the links
        roots_ = {root_ + "/by-id", root_ + "/dev", root_ + "/class"};
        for (const std::string& folder : {roots_.byId, roots_.dev, roots_.ttyClass})
            fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(root_); }

    void link(const std::string& target, const std::string& name) {
        fs::create_symlink(target, name);
    }
    // The type the kernel would show for a ttyS that cannot be opened.
    void uartType(const std::string& name, int type) {
        fs::create_directories(roots_.ttyClass + "/" + name);
        std::ofstream(roots_.ttyClass + "/" + name + "/type") << type << "\n";
    }

    std::string root_;
    link::PortRoots roots_;
};

TEST_F(PortListTest, StableNamesFirstThenAdaptersThenUartsEachWithItsState) {
    Pty adapter(0666), held(0666), locked(0000), acm(0666), fakeUart(0666), closedUart(0000),
        closedNoUart(0000);
    for (const Pty* pty : {&adapter, &held, &locked, &acm, &fakeUart, &closedUart, &closedNoUart})
        ASSERT_FALSE(pty->path.empty()) << "no pseudo-terminal available";
    const std::string dev = roots_.dev + "/";
    link(adapter.path, dev + "ttyUSB0");
    link(held.path, dev + "ttyUSB2");
    link(locked.path, dev + "ttyUSB10");
    link(dev + "ttyUSB7", dev + "ttyUSB7x");  // not a device name
    link(acm.path, dev + "ttyACM0");
    link(fakeUart.path, dev + "ttyS0");  // opens, but no UART answers
    link(closedUart.path, dev + "ttyS2");
    uartType("ttyS2", 4);
    link(closedNoUart.path, dev + "ttyS3");
    uartType("ttyS3", 0);
    link(root_ + "/gone", dev + "ttyS4");  // a node whose device went away
    link(acm.path, dev + "tty0");
    const std::string stable = "usb-Rudozi_IR_Adapter_A1B2-if00-port0";
    link("../dev/ttyUSB0", roots_.byId + "/" + stable);
    link("../dev/ttyUSB9", roots_.byId + "/usb-Unplugged-if00-port0");
    Holder holder(held.path);
    ASSERT_TRUE(holder.held);

    const std::string first = stable + "|" + dev + "ttyUSB0|free";
    // As root every device opens: only the lock marks one in use, and the ttyS
    // nodes are judged by asking the UART itself.
    EXPECT_EQ(describe(link::listPorts(roots_)),
              (std::vector<std::string>{first, dev + "ttyUSB2|" + dev + "ttyUSB2|in-use",
                                        dev + "ttyUSB10|" + dev + "ttyUSB10|free",
                                        dev + "ttyACM0|" + dev + "ttyACM0|free"}));
    // Another user: the closed device is not permitted, the exclusive one refuses to
    // open at all, and a closed ttyS counts when the kernel names a UART for it.
    EXPECT_EQ(describeAsNobody(roots_),
              (std::vector<std::string>{first, dev + "ttyUSB2|" + dev + "ttyUSB2|in-use",
                                        dev + "ttyUSB10|" + dev + "ttyUSB10|not-permitted",
                                        dev + "ttyACM0|" + dev + "ttyACM0|free",
                                        dev + "ttyS2|" + dev + "ttyS2|not-permitted"}));

    const auto ports = link::listPorts(roots_);
    ASSERT_FALSE(ports.empty());
    EXPECT_EQ(ports[0].path, roots_.byId + "/" + stable) << "the stable name is what is stored";
}

TEST_F(PortListTest, MissingFoldersListNothingAndStateTextsNameTheCure) {
    EXPECT_TRUE(link::listPorts({root_ + "/none", root_ + "/none", root_ + "/none"}).empty());
    EXPECT_STREQ(link::portStateText(PortState::NotPermitted),
                 "not permitted (add yourself to the dialout group)");
    EXPECT_STREQ(link::portStateText(PortState::InUse), "in use by another program");
}

}  // namespace
}  // namespace vantrel::test
