// page TITLE --names: the names the steps of "page" take for that page's controls,
// one a line, as "show" names them. The page is built on a default image at the
// Service level, so every control a page can show is there; nothing is sent.
#include <iostream>

#include "Command.h"
#include "registry/SheetPages.h"
#include "ui/ScreenDriver.h"

namespace vantrel::cli {

namespace {

constexpr const char* kNamesOption = "--names";

// The controls "set" acts on: those that hold a value ("show" lists the same).
bool holdsValue(const ui::Control& control) {
    switch (control.kind) {
        case ui::ControlKind::Button:
            return static_cast<const ui::Button&>(control).twoState;
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton:
        case ui::ControlKind::ComboBox:
        case ui::ControlKind::Edit:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool asksPageNames(std::string_view command, std::span<const std::string> args) {
    return command == "page" && args.size() == 2 && args[1] == kNamesOption;
}

int runPageNames(Session& session, std::span<const std::string> args) {
    const std::string& title = args[0];
    session.context.loginLevel = shell::kService;
    std::unique_ptr<ui::Screen> page = registry::makePage(session.context, title);
    if (!page) {
        std::cerr << "vantrel-cli: no page \"" << title << "\"; there are";
        for (const std::string& known : registry::pageTitles())
            std::cerr << " \"" << known << "\"";
        std::cerr << '\n';
        return kUsage;
    }
    page->setUp();
    // "show" prints "NAME: VALUE" for exactly these controls, in this order.
    const std::vector<std::string> shown = ui::showControls(*page);
    size_t line = 0;
    for (const auto& section : page->sections())
        for (const ui::Control* control : section.controls) {
            if (line >= shown.size()) break;
            const std::string name = ui::controlName(*control);
            if (control->visible && holdsValue(*control) && shown[line].starts_with(name + ": ")) {
                std::cout << name << '\n';
                ++line;
            }
        }
    return kSuccess;
}

}  // namespace vantrel::cli
