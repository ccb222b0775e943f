#include <gtest/gtest.h>

#include "PageHarness.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

constexpr const char* kPage = "Protection";

class Protection : public ::testing::TestWithParam<PageCase> {};

TEST_P(Protection, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Protection,
    ::testing::Values(
        PageCase{.name = "user cannot switch the timer unless the defaults have it",
                 .page = kPage,
                 .steps = {"press Current", "press Default"},
                 .shows = {"Interlocks: off", "Interrupter timer: off (disabled)",
                           "Timer end of travel: NA (disabled)", "Close %: NA (disabled)",
                           "Timer Off in Secs: NA (disabled)"}},
        PageCase{.name = "defaults with the timer let the user switch it",
                 .page = kPage,
                 .image = {{r(104), 0x10}},
                 .shows = {"Interrupter timer: off"}},
        PageCase{.name = "service may switch the timer",
                 .page = kPage,
                 .login = shell::kService,
                 .steps = {"set Interrupter timer=on"},
                 .shows = {"Interrupter timer: on", "Timer end of travel: Close",
                           "Timer On in Secs: 0"}},
        PageCase{.name = "unticking the timer sends only 65 and 60 and keeps its bytes",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(61), 0x90}, {r(75), 5}, {r(76), 6}, {r(77), 7}, {r(78), 8}},
                 .steps = {"set Close %=50", "set Interrupter timer=off", "send"},
                 .shows = {"Timer end of travel: NA (disabled)", "Close %: NA (disabled)",
                           "Open %: NA (disabled)", "Timer On in Secs: NA (disabled)"},
                 // The simulator's registers hold r % 4: A60..A62 = 0 1 2, A65..A67 = 1 2 3.
                 .frames = {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 01 02 03", "A0 3C 00 00 00",
                            "B0 3C 00 01 02", "11 00 00 00 00"},
                 .after = {{r(61), 0x80}, {r(75), 5}, {r(76), 6}, {r(77), 7}, {r(78), 8}}},
        PageCase{
            .name = "ticking the timer again shows the stored values",
            .page = kPage,
            .login = shell::kService,
            .image = {{r(61), 0x10}, {r(78), 30}},
            .steps = {"set Close %=50", "set Interrupter timer=off", "set Interrupter timer=on"},
            .shows = {"Close %: 30"}},
        PageCase{.name = "the timer's frames, end of travel read back, and 66's parity",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(61), 0x90}, {r(75), 1}, {r(76), 2}, {r(77), 3}, {r(78), 4}},
                 .actuator = {{r(61), 0x00}, {r(65), 0x00}, {r(66), 0xFF}},
                 .steps = {"send"},
                 .frames = {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 00 BB 03", "A0 3C 00 00 00",
                            "B0 3C 00 10 02", "B0 4B 01 02 03", "C0 4E 04 00 00", "A0 3C 00 00 00",
                            "B0 3C 00 90 02", "11 00 00 00 00"}},
        PageCase{.name = "edits take only the page's bits",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(60), 0xBF}, {r(61), 0x07}, {r(66), 0xBB}, {r(67), 0xBF}},
                 .steps = {"set Interlocks=on", "set Conditional Control=on",
                           "set Power loss inhibit=on", "set Ten min back up=on",
                           "set One second control=on", "set Interrupter timer=on",
                           "set Timer end of travel=Open", "set Close %=100", "set Open %=0",
                           "set Timer On in Secs=255", "set Timer Off in Secs=1", "keep"},
                 .after = {{r(60), 0xFF},
                           {r(61), 0x9F},
                           {r(66), 0xFF},
                           {r(67), 0xFF},
                           {r(78), 100},
                           {r(77), 0},
                           {r(76), 255},
                           {r(75), 1}}},
        PageCase{.name = "the default view shows the default copies and the current timer bytes",
                 .page = kPage,
                 .image = {{r(103), 0x40},
                           {r(104), 0x98},
                           {r(109), 0x44},
                           {r(110), 0x40},
                           {r(61), 0x00},
                           {r(78), 40},
                           {r(75), 9}},
                 .steps = {"press Current"},
                 .shows = {"Interlocks: on (disabled)", "Conditional Control: on (disabled)",
                           "Power loss inhibit: on (disabled)", "Ten min back up: on (disabled)",
                           "One second control: on (disabled)", "Interrupter timer: on (disabled)",
                           "Timer end of travel: Open (disabled)", "Close %: 40 (disabled)",
                           "Timer Off in Secs: 9 (disabled)"}},
        PageCase{.name = "a percentage above 100 selects nothing and is kept",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(61), 0x10}, {r(78), 150}, {r(77), 101}},
                 .steps = {"set Timer On in Secs=3", "keep"},
                 .shows = {"Close %: ", "Open %: "},
                 .after = {{r(78), 150}, {r(77), 101}, {r(76), 3}}},
        PageCase{.name = "a refused timer write ends the chain",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(61), 0x10}},
                 .steps = {"send"},
                 .frames = {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 01 02 03", "A0 3C 00 00 00",
                            "B0 3C 00 11 02", "B0 4B 00 00 00"},
                 .dialogs = {"error: EEPROM Error"},
                 .setUp = refuse(link::WRITE_REGISTER, 75)}),
    [](const auto& info) { return rowName(info.param.name); });

}  // namespace
}  // namespace vantrel::test
