#pragma once
// The registry of the screen loop's screens. It sits above every screen folder
// (shell, datalog, service, pages, options), so it is the one place that includes
// them all; the programs hand it to shell::runScreenLoop.
#include <cstdint>
#include <memory>

#include "shell/Context.h"
#include "ui/Screen.h"

namespace vantrel::registry {

// The screen for a screen code, or nullptr for a code without a screen.
std::unique_ptr<ui::Screen> makeScreen(shell::Context& context, uint16_t code);

// The screen loop with every screen of the program.
void runProgram(shell::Context& context);

}  // namespace vantrel::registry
