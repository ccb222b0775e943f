#include "datalog/ToolClock.h"

#include "image/LocalTime.h"

namespace vantrel::datalog {

namespace {
constexpr int kEpochYear = 1989;
constexpr int kTmYearBase = 1900;
constexpr uint64_t kZr2Numerator = 32768;
constexpr uint64_t kZr2Denominator = 32000;

}  // namespace

ToolClock readToolClock(std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);

    // The count is the difference of two wall-clock readings, as if both were taken
    // at one fixed offset: a summer-time offset today does not shift it.
    std::tm epoch{};
    epoch.tm_year = kEpochYear - kTmYearBase;
    epoch.tm_mday = 1;
    const std::time_t start = timegm(&epoch);
    const std::time_t current = timegm(&local);

    ToolClock clock;
    if (current > start) clock.seconds = static_cast<uint64_t>(current - start);
    clock.dateTime = image::localDateTimeText(now);
    return clock;
}

uint64_t toZr2ClockUnit(uint64_t seconds) {
    return seconds * kZr2Numerator / kZr2Denominator;
}

}  // namespace vantrel::datalog
