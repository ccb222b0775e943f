#include <gtest/gtest.h>

#include "PageHarness.h"

namespace vantrel::test {
namespace {

constexpr const char* kPage = "Misc";

// Bytes 6..13 with values the five-character display rounds, a stall above 100 and
// the extremes of each type; the simulator's registers 61..63 hold 1, 2, 3.
const std::vector<ByteAt> kTravel = {{r(6), 0xFF},  {r(7), 0x7F},  {r(8), 0x81},  {r(9), 150},
                                     {r(10), 0x80}, {r(11), 0x01}, {r(12), 0xFE}, {r(13), 100}};
const PageCase kUntouchedSend{
    .name = "an untouched send writes back bytes 6 to 13 as they were",
    .page = kPage,
    .login = shell::kService,
    .image = kTravel,
    .steps = {"send"},
    .shows = {"Open Quadratic: -0.00", "Open linear: 7.937", "Open Constant: -254",
              "Open Stall (%): ", "Close Quadratic: -0.25", "Close linear: 0.062",
              "Close Constant: -4", "Close Stall (%): 100", "Power Supply: Three Phase"},
    .frames = {"10 00 00 00 00", "A0 3D 00 00 00", "B0 3D 01 02 03", "B0 06 FF 7F 81",
               "B0 09 96 80 01", "B0 0B 01 FE 64", "11 00 00 00 00"},
    .after = kTravel};

std::vector<PageCase> rows() {
    std::vector<PageCase> rows = {
        kUntouchedSend,
        PageCase{.name = "typed numbers are scaled truncated and cut to their low byte",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(7), 0x10}},
                 .steps = {"set Open Quadratic=-0.1", "set Open Constant=5",
                           "set Close Quadratic=0.3", "set Open linear=abc",
                           "set Close linear=99999", "set Close Constant=-5", "keep"},
                 .shows = {"Close Quadratic: -0.20", "Open Constant: 4", "Close Constant: -4"},
                 .after = {{r(6), 0xCD},
                           {r(7), 0x00},
                           {r(8), 2},
                           {r(10), 0x99},
                           {r(11), 0xF0},
                           {r(12), 0xFE},
                           {r(41), 0x57},
                           {r(84), 0x01}}},
        PageCase{.name = "the user level may change only the power supply and may not send",
                 .page = kPage,
                 .image = {{r(62), 0x0F}, {r(6), 0x40}},
                 .steps = {"set Power Supply=DC", "send"},
                 .shows = {"Power Supply: DC", "Open Quadratic: 0.125 (disabled)",
                           "Open Stall (%): 0 (disabled)", "Close Constant: 0 (disabled)"},
                 .after = {{r(62), 0x0F}},
                 .dialogs = {"error: Incorrect Password entered"}},
        PageCase{.name = "DC takes only its two bits and is merged into the actuator's byte 62",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(62), 0xCF}},
                 .actuator = {{r(62), 0xC3}},
                 .steps = {"set Power Supply=DC", "send"},
                 .frames = {"10 00 00 00 00", "A0 3D 00 00 00", "B0 3D 01 E3 03", "B0 06 00 00 00",
                            "B0 09 00 00 00", "B0 0B 00 00 00", "11 00 00 00 00"},
                 .after = {{r(62), 0xEF}}},
        PageCase{.name = "the default view shows N/A and the power supply's default copy",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(105), 0x10}, {r(6), 0x40}},
                 .steps = {"press Current", "entries Open Stall (%)=1", "entries Power Supply=3",
                           "press Default", "press Current", "send"},
                 .shows = {"Power Supply: Single Phase", "Open Quadratic: N/A (disabled)",
                           "Close Constant: N/A (disabled)", "Open Stall (%): N/A (disabled)"},
                 .dialogs = {"error: Unable to update, access denied"}},
    };
    for (PageCase& row : failureRows(kUntouchedSend))
        rows.push_back(std::move(row));
    return rows;
}

class Misc : public ::testing::TestWithParam<PageCase> {};

TEST_P(Misc, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Rows, Misc, ::testing::ValuesIn(rows()),
                         [](const auto& info) { return rowName(info.param.name); });

}  // namespace
}  // namespace vantrel::test
