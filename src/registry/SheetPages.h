#pragma once
// The pages of the configuration sheet by title: the one place that knows every
// page class.
#include <memory>
#include <string>
#include <vector>

#include "shell/Context.h"
#include "ui/Screen.h"

namespace vantrel::registry {

// The page with this title; nullptr for a page this build does not have.
std::unique_ptr<ui::Screen> makePage(shell::Context& context, const std::string& title);
// The title of every page this build has, whichever sheet would hold it.
std::vector<std::string> pageTitles();

}  // namespace vantrel::registry
