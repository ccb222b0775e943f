#pragma once
// reportLinkError: plays the alarm, shows the message of the highest-priority error
// flag in the Error dialog and clears the word.
#include <cstdint>
#include <string>

#include "link/LinkState.h"

namespace vantrel::link {

// The message reportLinkError would show for this word ("ERROR" when no known bit).
std::string errorMessage(uint32_t flags);

void reportLinkError(LinkState& state);

// The status line says how every operation ended: the operation clears the outcome
// as it starts, and a failure reported on the way (reportLinkError) leaves its
// message there.
inline constexpr const char* kSendStopped = "Send stopped";
void clearOutcome(LinkState& state);
// Sets the outcome: doneText when the operation went through, else what stopped it,
// "Send stopped: Unable to update, access denied" (a reason already named stays).
void setOutcome(LinkState& state, bool done, const std::string& doneText,
                const std::string& stopped = kSendStopped);

}  // namespace vantrel::link
