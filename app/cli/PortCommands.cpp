// ports: the serial devices present and whether each can be taken now, as text for
// a person or as JSON for a script.
#include <array>
#include <cstdio>
#include <iostream>
#include <string>

#include "Command.h"
#include "link/PortList.h"

namespace vantrel::cli {

namespace {

constexpr const char* kJsonOption = "--json";

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void printText(const std::vector<link::PortEntry>& ports) {
    for (const link::PortEntry& port : ports)
        std::cout << link::describePort(port) << '\n';
    if (ports.empty()) std::cerr << "vantrel-cli: no serial ports found\n";
}

void printJson(const std::vector<link::PortEntry>& ports) {
    std::cout << "[";
    for (size_t i = 0; i < ports.size(); ++i) {
        const link::PortEntry& port = ports[i];
        std::cout << (i ? ",\n " : "\n ") << "{\"path\": " << jsonString(port.path)
                  << ", \"name\": " << jsonString(port.name)
                  << ", \"device\": " << jsonString(port.device)
                  << ", \"state\": " << jsonString(link::portStateWord(port.state)) << "}";
    }
    std::cout << (ports.empty() ? "]\n" : "\n]\n");
}

int runPorts(Session&, std::span<const std::string> args) {
    const bool json = args.size() == 1 && args[0] == kJsonOption;
    if (!args.empty() && !json) return kUsage;
    const std::vector<link::PortEntry> ports = link::listPorts();
    if (json)
        printJson(ports);
    else
        printText(ports);
    return kSuccess;
}

constexpr std::array<Command, 1> kCommands = {{
    {"ports", "[--json]", runPorts},
}};

}  // namespace

std::span<const Command> portCommands() {
    return kCommands;
}

}  // namespace vantrel::cli
