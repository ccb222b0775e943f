#pragma once
// A command of vantrel-cli. Each command file declares a table of them; main.cpp
// parses the global options, builds the Context and runs the named command.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Context.h"

namespace vantrel::cli {

class CliUi;

// Exit statuses.
inline constexpr int kSuccess = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;
// Input that is not what the command takes (a file of another kind), its cause
// already told: exits as a usage error, without the usage text.
inline constexpr int kInputErrorTold = -kUsage;

struct Session {
    shell::Context& context;
    CliUi& ui;
};

struct Command {
    std::string_view name;   // first word, for example "frame" or "datalog"
    std::string_view usage;  // the rest of the usage line, for example "CC AA D1 D2 D3"
    int (*run)(Session& session, std::span<const std::string> args);  // args after name
};

std::span<const Command> frameCommands();        // frame, diag
std::span<const Command> imageCommands();        // extract, update, password
std::span<const Command> datalogCommands();      // datalog extract|reset
std::span<const Command> pageCommands();         // page, config
std::span<const Command> limitCommands();        // limits
std::span<const Command> calibrationCommands();  // calibration show|set|recalibrate|multiport-setup
std::span<const Command> settingsCommands();     // settings, diff, apply
std::span<const Command> reportCommands();       // report
std::span<const Command> portCommands();         // ports
std::span<const Command> completionCommands();   // completion bash

// Every command table, in the order the usage lists them.
std::vector<std::span<const Command>> commandTables();
// The options before the command, as the usage line shows them.
std::string_view globalOptionsUsage();

// page TITLE --names: the control names of a page, one a line (PageNames.cpp).
bool asksPageNames(std::string_view command, std::span<const std::string> args);
int runPageNames(Session& session, std::span<const std::string> args);

}  // namespace vantrel::cli
