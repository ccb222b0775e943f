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

    std::tm epoch{};
    epoch.tm_year = kEpochYear - kTmYearBase;
    epoch.tm_mday = 1;
    epoch.tm_isdst = -1;
    std::tm nowCopy = local;
    const std::time_t start = std::mktime(&epoch);
    const std::time_t current = std::mktime(&nowCopy);

    ToolClock clock;
    if (start != static_cast<std::time_t>(-1) && current > start)
        clock.seconds = static_cast<uint64_t>(current - start);
    clock.dateTime = image::localDateTimeText(now);
    return clock;
}

uint64_t toZr2ClockUnit(uint64_t seconds) {
    return seconds * kZr2Numerator / kZr2Denominator;
}

}  // namespace vantrel::datalog
