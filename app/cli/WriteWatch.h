#pragma once
// Watches a press that is there to write to the actuator (a Send, a button that
// writes, a copy). A press that wrote no frame and showed neither a refusal nor an
// Error dialog did nothing, most often because a question on the way was answered
// No; the run must not report it as done.
#include <cstdint>
#include <string>

#include "Command.h"

namespace vantrel::cli {

class WriteWatch {
public:
    // Taken just before the press.
    explicit WriteWatch(Session& session);

    // After the press: true when it wrote nothing and told nothing, having said on
    // standard error what stopped it (what: the step, as the user typed it).
    bool nothingSent(const std::string& what) const;

private:
    Session& session_;
    uint64_t framesBefore_;
    int failuresBefore_;
    int declinedBefore_;
};

}  // namespace vantrel::cli
