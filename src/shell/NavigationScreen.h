#pragma once
// The base of the shell's screens: a screen that knows the Context and whose
// navigation buttons all behave alike (menu sound, next screen code, close).
#include <cstdint>
#include <string>

#include "shell/Context.h"
#include "ui/Screen.h"

namespace vantrel::shell {

// What every navigation button does: plays the menu sound, sets nextScreen to code and
// closes the screen. For screens of other bases (a page run as a screen of its own).
void navigateTo(Context& context, ui::Screen& screen, uint16_t code);

class NavigationScreen : public ui::Screen {
protected:
    NavigationScreen(Context& context, std::string title)
        : ui::Screen(std::move(title)), context_(context) {}

    // A button that plays the menu sound, sets nextScreen to code and closes the screen.
    ui::Button& addNavigationButton(std::string caption, uint16_t code, std::string id = {});
    // What a navigation button does, for handlers that navigate after other work.
    void navigate(uint16_t code);

    Context& context_;
};

}  // namespace vantrel::shell
