#include <gtest/gtest.h>

#include "PageHarness.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

constexpr const char* kPage = "ESD";

class Esd : public ::testing::TestWithParam<PageCase> {};

TEST_P(Esd, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Esd,
    ::testing::Values(
        PageCase{.name = "action value 3 shows Close and Close stores 0",
                 .page = kPage,
                 .image = {{r(65), 0x18}},
                 .steps = {"keep"},
                 .shows = {"Open: off", "Close: on", "Stay put: off", "Make: on", "Break: off"},
                 .after = {{r(65), 0x00}}},
        PageCase{
            .name = "the default view shows bytes 108 109 and 105",
            .page = kPage,
            .image = {{r(65), 0x08}, {r(108), 0xF0}, {r(109), 0x01}, {r(105), 0x01}},
            .steps = {"press Current"},
            .shows = {"Open: off (disabled)", "Close: off (disabled)", "Stay put: on (disabled)",
                      "Make: off (disabled)", "Break: on (disabled)",
                      "Thermostat Bypass: on (disabled)", "Local Stop Bypass: on (disabled)",
                      "Interlock Bypass: on (disabled)", "Timer Bypass: on (disabled)"}},
        PageCase{.name = "back from the default view one choice each",
                 .page = kPage,
                 .image = {{r(65), 0x08}, {r(108), 0x30}},
                 .steps = {"press Current", "press Default"},
                 .shows = {"Open: on", "Close: off", "Stay put: off", "Make: on", "Break: off"}},
        PageCase{.name = "edits take only the page's bits",
                 .page = kPage,
                 .image = {{r(65), 0x07}, {r(66), 0xFE}, {r(62), 0xFE}},
                 .steps = {"set Stay put=on", "set Break=on", "set Thermostat Bypass=on",
                           "set Interlock Bypass=on", "set Local Stop Bypass=on",
                           "set Timer Bypass=on", "keep"},
                 .after = {{r(65), 0xF7}, {r(66), 0xFF}, {r(62), 0xFF}}},
        PageCase{.name = "byte 65 takes bits 3 to 7 from the image and 66 gets its parity",
                 .page = kPage,
                 .image = {{r(65), 0x28}, {r(66), 0x01}, {r(62), 0x01}},
                 .actuator = {{r(65), 0x07}, {r(66), 0x00}, {r(62), 0xFE}},
                 .steps = {"send"},
                 .frames = {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 2F 01 03", "A0 3D 00 00 00",
                            "B0 3D 01 FF 03", "11 00 00 00 00"}},
        PageCase{.name = "a refused second read ends the chain",
                 .page = kPage,
                 .steps = {"send"},
                 .frames = {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 01 02 03", "A0 3D 00 00 00"},
                 .dialogs = {"error: EEPROM Error"},
                 .setUp = refuse(link::READ_REGISTER, 61)}),
    [](const auto& info) { return rowName(info.param.name); });

}  // namespace
}  // namespace vantrel::test
