#include "image/LocalTime.h"

#include <algorithm>

namespace vantrel::image {

namespace {
constexpr size_t kMaxPart = 24;
// Room for day and month names of any locale; strftime gives nothing when short.
constexpr size_t kFormatRoom = 256;
constexpr const char* kDateFormat = "%a %d %b %Y";
constexpr const char* kTimeFormat = " %I:%M:%S";

std::string format(const std::tm& local, const char* pattern) {
    char text[kFormatRoom] = {};
    const size_t length = std::strftime(text, sizeof text, pattern, &local);
    return std::string(text, std::min(length, kMaxPart));
}
}  // namespace

std::string localDateTimeText(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return format(local, kDateFormat) + format(local, kTimeFormat);
}

}  // namespace vantrel::image
