#pragma once
// The screen loop: shows the screen that nextScreen names, modally, until it closes,
// then the next one, until nextScreen is 1 (exit). The screens themselves come from
// a factory given by the program, so the shell knows no screen folder above it.
#include <cstdint>
#include <functional>
#include <memory>

#include "shell/Context.h"
#include "ui/Screen.h"

namespace vantrel::shell {

// The screen for a screen code, or nullptr for a code without a screen.
using ScreenFactory = std::function<std::unique_ptr<ui::Screen>(Context&, uint16_t code)>;

// Sets loginLevel and nextScreen to 0 and runs the loop until exit.
void runScreenLoop(Context& context, const ScreenFactory& makeScreen);

}  // namespace vantrel::shell
