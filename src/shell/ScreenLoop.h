#pragma once
// The screen loop: shows the screen that nextScreen names, modally, until it closes,
// then the next one, until nextScreen is 1 (exit).
#include <cstdint>
#include <memory>

#include "shell/Context.h"
#include "ui/Screen.h"

namespace vantrel::shell {

// The screen for a screen code, or nullptr for a code without a screen.
std::unique_ptr<ui::Screen> makeScreen(Context& context, uint16_t code);

// Sets loginLevel and nextScreen to 0 and runs the loop until exit.
void runScreenLoop(Context& context);

}  // namespace vantrel::shell
