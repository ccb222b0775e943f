#pragma once
// The tool's side of the datalogger clock: one reading of the local date and time,
// as whole seconds of wall-clock time from 1 January 1989 00:00:00 and as the text
// "ddd dd MMM yyyy hh:mm:ss" (12-hour clock, no AM/PM) stored in the file.
#include <cstdint>
#include <ctime>
#include <string>

namespace vantrel::datalog {

struct ToolClock {
    uint64_t seconds = 0;  // since 1 January 1989 00:00:00 local time
    std::string dateTime;
};

// The clock for this moment. Before 1989 the count is 0.
ToolClock readToolClock(std::time_t now);

// The tool clock in the ZR2 actuator's unit (32768 counts per 32000 seconds' worth).
uint64_t toZr2ClockUnit(uint64_t seconds);

}  // namespace vantrel::datalog
