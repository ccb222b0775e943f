#pragma once
// The pages of the configuration sheet by title: the one place that knows every
// page class.
#include <memory>
#include <string>

#include "shell/Context.h"
#include "ui/Screen.h"

namespace vantrel::registry {

// The page with this title; nullptr for a page this build does not have.
std::unique_ptr<ui::Screen> makePage(shell::Context& context, const std::string& title);

}  // namespace vantrel::registry
