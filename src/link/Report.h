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

}  // namespace vantrel::link
