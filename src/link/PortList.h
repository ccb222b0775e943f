#pragma once
// The serial devices present, as a port picker lists them: the stable names under
// /dev/serial/by-id first (readable name -> device), then the USB adapters
// (ttyUSB*, ttyACM*) and the built-in ports (ttyS*) the kernel knows as real UARTs.
// Each comes with whether this user could take it now. The folders are parameters,
// so tests list a scratch folder standing in for /dev.
#include <string>
#include <vector>

namespace vantrel::link {

struct PortRoots {
    std::string byId = "/dev/serial/by-id";
    std::string dev = "/dev";
    // Where the kernel tells each tty's UART type without opening it.
    std::string ttyClass = "/sys/class/tty";
};

enum class PortState {
    Free,          // it opens and nobody holds its lock
    InUse,         // another program holds it exclusively (as this tool does)
    NotPermitted,  // this user may not open it
};

struct PortEntry {
    std::string path;    // what --port takes: the by-id link, or the device
    std::string name;    // the by-id name, or the device's path
    std::string device;  // the device the path stands for
    PortState state = PortState::Free;
};

std::vector<PortEntry> listPorts(const PortRoots& roots = {});

// One line for a person: "PATH -> DEVICE: STATE", or "DEVICE: STATE" for a device.
std::string describePort(const PortEntry& port);

// "free", "in use by another program", "not permitted (add yourself to the dialout group)"
const char* portStateText(PortState state);
// "free", "in-use", "not-permitted": the state as a word for scripts.
const char* portStateWord(PortState state);

}  // namespace vantrel::link
