#include "link/PortList.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

namespace vantrel::link {

namespace {

namespace fs = std::filesystem;

// Device name prefixes in the order they are listed; only ttyS ports are checked for a
// UART behind them (most machines have many ttyS nodes and few real ports).
struct Family {
    const char* prefix;
    bool mustBeUart;
};
constexpr Family kFamilies[] = {{"ttyUSB", false}, {"ttyACM", false}, {"ttyS", true}};

// What opening the device tells: whether it exists, may be opened, is held.
struct Probe {
    bool exists = false;
    PortState state = PortState::Free;
    std::optional<bool> uart;  // known only when the device could be opened
};

Probe probe(const std::string& path) {
    Probe result;
    // Non-blocking: a port without carrier must not hold up the listing.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        result.exists = e != ENOENT && e != ENODEV && e != ENXIO && e != ENOTDIR;
        if (e == EACCES || e == EPERM) result.state = PortState::NotPermitted;
        // A tty another program made exclusive (TIOCEXCL) refuses a second opener.
        if (e == EBUSY) result.state = PortState::InUse;
        return result;
    }
    result.exists = true;
    // The tool itself holds its port with flock as well: a held lock is "in use".
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        result.state = PortState::InUse;
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0)
        result.uart = serial.type != PORT_UNKNOWN;
    else
        result.uart = false;  // a pseudo-terminal or another tty without a UART
    ::close(fd);
    return result;
}

// The UART type the kernel shows for a tty it could not be opened as (0: none).
bool uartInClass(const PortRoots& roots, const std::string& deviceName) {
    std::ifstream in(fs::path(roots.ttyClass) / deviceName / "type");
    int type = 0;
    return in >> type && type != PORT_UNKNOWN;
}

// The number after the prefix, so ttyS10 comes after ttyS9.
std::optional<long> suffixNumber(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    const std::string digits = name.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stol(digits);
}

std::string resolved(const fs::path& path) {
    std::error_code error;
    const fs::path full = fs::canonical(path, error);
    return error ? std::string() : full.string();
}

std::vector<fs::path> entriesOf(const std::string& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    return entries;
}

}  // namespace

std::vector<PortEntry> listPorts(const PortRoots& roots) {
    std::vector<PortEntry> ports;
    std::set<std::string> listed;  // canonical devices already in the list

    std::vector<fs::path> links = entriesOf(roots.byId);
    std::sort(links.begin(), links.end());
    for (const fs::path& link : links) {
        const std::string device = resolved(link);
        if (device.empty() || listed.count(device)) continue;  // a link to nothing
        const Probe found = probe(link.string());
        if (!found.exists) continue;
        std::error_code error;
        const fs::path target = fs::read_symlink(link, error);
        const std::string shown =
            error ? device : (link.parent_path() / target).lexically_normal().string();
        ports.push_back({link.string(), link.filename().string(), shown, found.state});
        listed.insert(device);
    }

    const std::vector<fs::path> devices = entriesOf(roots.dev);
    for (const Family& family : kFamilies) {
        std::vector<std::pair<long, fs::path>> members;
        for (const fs::path& path : devices)
            if (auto number = suffixNumber(path.filename().string(), family.prefix))
                members.emplace_back(*number, path);
        std::sort(members.begin(), members.end());
        for (const auto& [number, path] : members) {
            const std::string device = resolved(path);
            if (device.empty() || listed.count(device)) continue;
            const Probe found = probe(path.string());
            if (!found.exists) continue;
            if (family.mustBeUart &&
                !found.uart.value_or(uartInClass(roots, path.filename().string())))
                continue;
            ports.push_back({path.string(), path.string(), path.string(), found.state});
            listed.insert(device);
        }
    }
    return ports;
}

std::string describePort(const PortEntry& port) {
    std::string line = port.path;
    if (port.device != port.path) line += " -> " + port.device;
    return line + ": " + portStateText(port.state);
}

const char* portStateText(PortState state) {
    switch (state) {
        case PortState::Free:
            return "free";
        case PortState::InUse:
            return "in use by another program";
        case PortState::NotPermitted:
            return "not permitted (add yourself to the dialout group)";
    }
    return "";
}

const char* portStateWord(PortState state) {
    switch (state) {
        case PortState::Free:
            return "free";
        case PortState::InUse:
            return "in-use";
        case PortState::NotPermitted:
            return "not-permitted";
    }
    return "";
}

}  // namespace vantrel::link
