#pragma once
// The Download menu ("Download Menu"): whole-image extract and update, datalogger.
#include "shell/NavigationScreen.h"

namespace vantrel::shell {

class CDownloads : public NavigationScreen {
public:
    explicit CDownloads(Context& context);
    const char* className() const override { return "CDownloads"; }

private:
    void extract();
    void update();
    // Runs an extract or update with the busy cursor and the progress bar under the
    // buttons; leaves its outcome in the context's status. True when it succeeded.
    bool transfer(const std::string& name, const std::function<bool()>& run);

    ui::ProgressBar* progress_;
};

}  // namespace vantrel::shell
