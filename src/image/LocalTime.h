#pragma once
// The local date and time as the files record it: "ddd dd MMM yyyy" followed by
// " hh:mm:ss" on the 12-hour clock without AM or PM, in the user's locale.
#include <ctime>
#include <string>

namespace vantrel::image {

// Each of the two parts is cut at 24 characters; callers cut or pad the whole.
std::string localDateTimeText(std::time_t when);

}  // namespace vantrel::image
