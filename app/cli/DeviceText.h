#pragma once
// Text between the terminal and the actuator: the command line holds text in the
// locale's character set, the device one byte per character (ISO-8859-1), as the
// desktop's boxes do.
#include <optional>
#include <string>

namespace vantrel::cli {

// Text typed on the command line as device text; nothing when it holds a character
// with no one-byte form, or bytes that are no text in the locale's character set.
std::optional<std::string> toDeviceText(const std::string& typed);

// Device text for the terminal, in the locale's character set; a character the set
// cannot show comes out as '?'.
std::string fromDeviceText(const std::string& text);

}  // namespace vantrel::cli
