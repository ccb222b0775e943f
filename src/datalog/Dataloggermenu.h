#pragma once
// The "Extract Datalogger File" screen: extracts the datalogger into a .dfg file,
// showing each step on its status line, and clears the datalogger on request.
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "shell/NavigationScreen.h"

namespace vantrel::datalog {

inline constexpr const char* kStatusId = "Status";
inline constexpr const char* kBadBlocksId = "bad-blocks";

class CDataloggermenu : public shell::NavigationScreen {
public:
    explicit CDataloggermenu(shell::Context& context);
    const char* className() const override { return "CDataloggermenu"; }

    // Where the extraction takes the local time from; tests fix it.
    std::function<std::time_t()> clock = [] { return std::time(nullptr); };

    // How the last "Extract" ended, for callers that drive the screen without a user.
    enum class Outcome { NotRun, Abandoned, NotSaved, Saved };
    Outcome lastOutcome() const { return outcome_; }
    const std::string& status() const { return status_->text; }
    // The numbers of the blocks the last extraction flagged, ascending: their slots
    // are empty or hold a block that is not the one asked for or failed its CRC.
    const std::vector<int>& badBlocks() const { return badBlockNumbers_; }

private:
    void extract();
    void reset();
    void showStatus(const std::string& text);

    ui::Edit* status_ = nullptr;
    ui::Label* badBlocks_ = nullptr;
    Outcome outcome_ = Outcome::NotRun;
    std::vector<int> badBlockNumbers_;
};

}  // namespace vantrel::datalog
