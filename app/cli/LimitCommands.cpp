// limits: the "Set Limits" screen driven by its boxes and buttons; what the Get
// buttons put into the boxes is printed.
#include <array>
#include <charconv>
#include <cmath>
#include <iostream>
#include <string>

#include "CliUi.h"
#include "Command.h"
#include "pages/Limits.h"
#include "ui/ScreenDriver.h"

namespace vantrel::cli {

namespace {

// The screen reads at most this many typed characters.
constexpr std::size_t kMostCharacters = 19;

struct LimitAction {
    const char* name;
    const char* box;                     // the box the argument is typed into, or none
    std::array<const char*, 2> buttons;  // pressed in order
    std::array<const char*, 2> printed;  // boxes printed afterwards, on one line
};

constexpr std::array<LimitAction, 6> kActions = {{
    {"turns", nullptr, {"turnsGet", nullptr}, {"Turns", nullptr}},
    {"position", nullptr, {"turnsGet", "positionGet"}, {"Position", "percent"}},
    {"set-turns", "Turns", {"turnsSend", nullptr}, {}},
    {"set-position", "Position", {"positionSend", nullptr}, {}},
    {"set-close", nullptr, {"Set Close Limit", nullptr}, {}},
    {"set-open", nullptr, {"Set Open Limit", nullptr}, {}},
}};

// The whole argument is one decimal number. The screen would read a typo's leading
// digits, or 0 for no number at all, which Position "Send" accepts and writes.
bool isNumber(const std::string& text) {
    if (text.empty() || text.size() > kMostCharacters) return false;
    const char* first = text.data() + (text.front() == '+' ? 1 : 0);
    const char* last = text.data() + text.size();
    double value = 0;
    const auto [end, problem] = std::from_chars(first, last, value);
    return problem == std::errc() && end == last && std::isfinite(value);
}

const LimitAction* findAction(const std::string& name) {
    for (const LimitAction& action : kActions)
        if (name == action.name) return &action;
    return nullptr;
}

// limits turns | position | set-turns T | set-position P | set-close | set-open
int runLimits(Session& session, std::span<const std::string> args) {
    if (args.empty()) return kUsage;
    const LimitAction* action = findAction(args[0]);
    if (!action || args.size() != (action->box ? 2u : 1u)) return kUsage;
    if (action->box && !isNumber(args[1])) {
        std::cerr << "vantrel-cli: \"" << args[1] << "\" is not a number\n";
        return kUsage;
    }

    pages::CConfTab2 screen(session.context);
    session.ui.run(screen);
    const int failuresBefore = session.ui.failureCount();
    if (action->box) {
        const ui::DriveResult typed = ui::setControl(screen, action->box, args[1]);
        if (!typed.ok()) {
            std::cerr << "vantrel-cli: " << typed.problem << '\n';
            return kFailed;
        }
    }
    for (const char* button : action->buttons) {
        if (!button) continue;
        const ui::DriveResult pressed = ui::pressButton(screen, button);
        if (!pressed.ok()) {
            std::cerr << "vantrel-cli: " << pressed.problem << '\n';
            return kFailed;
        }
        // A refusal or an Error dialog: the operation did not complete.
        if (session.ui.failureCount() != failuresBefore) return kFailed;
    }
    std::string line;
    for (const char* box : action->printed)
        if (box) line += (line.empty() ? "" : " ") + screen.get<ui::Edit>(box).text;
    if (!line.empty()) std::cout << line << std::endl;
    return kSuccess;
}

constexpr std::array<Command, 1> kCommands = {{
    {"limits", "turns | position | set-turns TURNS | set-position TURNS | set-close | set-open",
     runLimits},
}};

}  // namespace

std::span<const Command> limitCommands() {
    return kCommands;
}

}  // namespace vantrel::cli
