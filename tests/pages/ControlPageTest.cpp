#include <gtest/gtest.h>

#include "PageHarness.h"

namespace vantrel::test {
namespace {

constexpr const char* kPage = "Control";
constexpr const char* kInfrared = "IR Control / vandal proof setting";
const std::vector<ByteAt> kZeroActuator = {{r(65), 0}, {r(66), 0}, {r(67), 0}};

const PageCase kOpenPriority{
    .name = "Open alone writes 06 00 00 with the parity clear",
    .page = kPage,
    .actuator = kZeroActuator,
    .steps = {"set 2 Wire Priority=Open", "send"},
    .frames = {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 06 00 00", "11 00 00 00 00"},
    .after = {{r(65), 0x06}}};

std::vector<PageCase> rows() {
    std::vector<PageCase> rows = {
        kOpenPriority,
        PageCase{.name = "Option sets the parity bit in the frame only",
                 .page = kPage,
                 .actuator = kZeroActuator,
                 .steps = {"set Remote Control=Option", "send"},
                 .frames = {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 00 88 00", "11 00 00 00 00"},
                 .after = {{r(66), 0x08}}},
        PageCase{.name = "only the page's bits come from the image",
                 .page = kPage,
                 .image = {{r(65), 0xFD}, {r(66), 0xFF}, {r(67), 0x08}},
                 .actuator = {{r(65), 0x01}, {r(66), 0xC7}, {r(67), 0xE7}},
                 .steps = {"send"},
                 .shows = {"Remote Control: Both", "2 Wire Priority: Stationary",
                           "Local Control: Maintained", std::string(kInfrared) + ": Remote"},
                 .frames = {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 05 FF EF", "11 00 00 00 00"},
                 .after = {{r(65), 0xFD}, {r(66), 0xFF}, {r(67), 0x08}}},
        PageCase{.name = "the second Stationary stores 2",
                 .page = kPage,
                 .steps = {"set 2 Wire Priority=Stationary#2", "keep"},
                 .shows = {"2 Wire Priority: Stationary"},
                 .after = {{r(65), 0x04}}},
        PageCase{.name = "an IR value without an entry is kept with its neighbours",
                 .page = kPage,
                 .image = {{r(67), 0xFF}},
                 .steps = {"keep"},
                 .shows = {std::string(kInfrared) + ": "},
                 .after = {{r(67), 0xFF}, {r(84), 0x00}}},
        PageCase{.name = "the default view shows the default copy and refuses to send",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(108), 0x06}, {r(109), 0x28}, {r(110), 0x10}},
                 .steps = {"press Current", "press Default", "press Current",
                           "entries 2 Wire Priority=4", "entries Remote Control=4", "send"},
                 .shows = {"Remote Control: Option (disabled)", "2 Wire Priority: Open (disabled)",
                           "Local Control: Maintained (disabled)",
                           std::string(kInfrared) + ": IR control (disabled)"},
                 .dialogs = {"error: Unable to update, access denied"}},
    };
    for (PageCase& row : failureRows(kOpenPriority))
        rows.push_back(std::move(row));
    return rows;
}

class ControlPage : public ::testing::TestWithParam<PageCase> {};

TEST_P(ControlPage, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Rows, ControlPage, ::testing::ValuesIn(rows()),
                         [](const auto& info) { return rowName(info.param.name); });

}  // namespace
}  // namespace vantrel::test
