// vantrel-cli: the tool's operations without a screen, for scripts and fleets.
//   vantrel-cli [--port DEVICE] [--simulate] [--login user|service --password PW] [--yes]
//               [--trace FILE] COMMAND ...
// Exit status: 0 done, 1 an operation failed, 2 usage error.
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CliUi.h"
#include "Command.h"
#include "shell/Context.h"
#include "shell/Locale.h"
#include "shell/LoginMenu.h"
#include "shell/Settings.h"
#include "sim/Actuator.h"
#include "sim/PtyServer.h"

namespace vantrel::cli {
namespace {

constexpr const char* kPortSetting = "Port";

struct Options {
    std::optional<std::string> port;
    bool simulate = false;
    std::optional<std::string> login;
    std::optional<std::string> password;
    bool yes = false;
    std::optional<std::string> trace;
    std::string command;
    std::vector<std::string> args;
};

const Command* findCommand(const std::string& name) {
    for (auto table : commandTables())
        for (const Command& command : table)
            if (command.name == name) return &command;
    return nullptr;
}

void printUsage(std::ostream& out) {
    out << "usage: vantrel-cli " << globalOptionsUsage()
        << " COMMAND ...\n"
           "commands:\n";
    for (auto table : commandTables())
        for (const Command& command : table) {
            out << "  " << command.name;
            if (!command.usage.empty()) out << ' ' << command.usage;
            out << '\n';
        }
}

int usageError(const std::string& problem) {
    std::cerr << "vantrel-cli: " << problem << '\n';
    printUsage(std::cerr);
    return kUsage;
}

// Parses the options before the command; the command's own arguments follow it.
std::optional<std::string> parse(int argc, char** argv, Options& options) {
    int i = 1;
    auto value = [&]() -> std::optional<std::string> {
        if (i + 1 >= argc) return std::nullopt;
        return std::string(argv[++i]);
    };
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port") {
            if (!(options.port = value())) return "--port needs a device";
        } else if (arg == "--simulate") {
            options.simulate = true;
        } else if (arg == "--login") {
            if (!(options.login = value())) return "--login needs user or service";
            if (*options.login != "user" && *options.login != "service")
                return "--login takes user or service";
        } else if (arg == "--password") {
            if (!(options.password = value())) return "--password needs a password";
        } else if (arg == "--yes") {
            options.yes = true;
        } else if (arg == "--trace") {
            if (!(options.trace = value())) return "--trace needs a file";
        } else if (arg.starts_with("--")) {
            return "unknown option " + arg;
        } else {
            break;
        }
    }
    if (options.login.has_value() != options.password.has_value())
        return "--login and --password go together";
    if (i >= argc) return "no command given";
    options.command = argv[i++];
    options.args.assign(argv + i, argv + argc);
    return std::nullopt;
}

// Logs in as the login screen does: select the level, type the password, ENTER.
bool logIn(shell::Context& context, CliUi& ui, const Options& options) {
    shell::Cloginmenu screen(context);
    ui.run(screen);
    auto& level = screen.get<ui::ComboBox>("Login Level");
    level.select(*options.login == "service" ? shell::kServiceLevelEntry : shell::kUserLevelEntry);
    screen.get<ui::Edit>("Password").text = *options.password;
    screen.click("ENTER");
    return context.loginLevel != shell::kNotLoggedIn;
}

int run(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            printUsage(std::cout);
            return kSuccess;
        }
        if (!arg.starts_with("--")) break;
    }

    Options options;
    if (auto problem = parse(argc, argv, options)) return usageError(*problem);
    const Command* command = findCommand(options.command);
    if (!command) return usageError("unknown command " + options.command);

    shell::Settings settings(shell::Settings::defaultPath());
    CliUi ui(options.yes);
    shell::Context context(ui, settings);
    ui.portErrorReason = [&context] { return context.port.errorText(); };
    link::LinkTrace trace;
    if (options.trace) {
        if (!trace.open(*options.trace)) {
            std::cerr << "vantrel-cli: cannot write the trace " << trace.errorText() << '\n';
            return kFailed;
        }
        context.trace = &trace;
    }

    std::unique_ptr<sim::Actuator> actuator;
    std::unique_ptr<sim::PtyServer> server;
    if (options.simulate) {
        actuator = std::make_unique<sim::Actuator>();
        server = std::make_unique<sim::PtyServer>(*actuator);
        if (!server->start()) {
            std::cerr << "vantrel-cli: the simulated actuator could not be started\n";
            return kFailed;
        }
        context.portName = server->path();
    } else {
        context.portName = options.port.value_or(
            settings.read(shell::kSettingsSection, kPortSetting, shell::kDefaultPortName));
    }

    if (options.login && !logIn(context, ui, options)) return kFailed;

    Session session{context, ui};
    const int status = asksPageNames(command->name, options.args)
                           ? runPageNames(session, options.args)
                           : command->run(session, options.args);
    if (status == kInputErrorTold) return kUsage;
    if (status == kUsage) {
        std::string line(command->name);
        if (!command->usage.empty()) line += " " + std::string(command->usage);
        return usageError("usage of " + std::string(command->name) + ": " + line);
    }
    return status;
}

}  // namespace

std::vector<std::span<const Command>> commandTables() {
    return {frameCommands(), imageCommands(),       datalogCommands(),  pageCommands(),
            limitCommands(), calibrationCommands(), settingsCommands(), reportCommands(),
            portCommands(),  completionCommands()};
}

std::string_view globalOptionsUsage() {
    return "[--port DEVICE] [--simulate] [--login user|service --password PW] [--yes]"
           " [--trace FILE]";
}

}  // namespace vantrel::cli

int main(int argc, char** argv) {
    vantrel::shell::useEnvironmentLocale();
    return vantrel::cli::run(argc, argv);
}
