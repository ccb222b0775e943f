#pragma once
// The Download menu ("Download Menu"): whole-image extract and update, datalogger.
#include "shell/NavigationScreen.h"

namespace vantrel::shell {

class CDownloads : public NavigationScreen {
public:
    explicit CDownloads(Context& context);
    const char* className() const override { return "CDownloads"; }
};

}  // namespace vantrel::shell
