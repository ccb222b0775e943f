#include <gtest/gtest.h>

#include "PageHarness.h"
#include "link/Commands.h"
#include "pages/Limits.h"

namespace vantrel::test {
namespace {

constexpr const char* kOutOfRange = "message: Turns out of range.";

std::unique_ptr<ui::Screen> limits(shell::Context& context) {
    return std::make_unique<pages::CConfTab2>(context);
}

// The open limit (register 68) and the position (register 0) as counts.
std::vector<ByteAt> positions(int32_t openLimit, int32_t position) {
    std::vector<ByteAt> bytes;
    for (int i = 0; i < 3; ++i) {
        bytes.push_back({r(68 + i), static_cast<uint8_t>(openLimit >> (8 * i))});
        bytes.push_back({r(0 + i), static_cast<uint8_t>(position >> (8 * i))});
    }
    return bytes;
}

constexpr int32_t turns(double t) {
    return static_cast<int32_t>(t * 48 + 1703936);
}

PageCase row(std::string name, uint8_t login, std::vector<ByteAt> actuator,
             std::vector<std::string> steps, std::vector<std::string> shows,
             std::vector<std::string> frames, std::vector<std::string> dialogs = {}) {
    return PageCase{.name = std::move(name),
                    .page = "Set Limits",
                    .login = login,
                    .actuator = std::move(actuator),
                    .steps = std::move(steps),
                    .shows = std::move(shows),
                    .frames = std::move(frames),
                    .dialogs = std::move(dialogs),
                    .screen = limits};
}

const std::vector<std::string> kReadTurns = {"A0 44 00 00 00"};

class Limits : public ::testing::TestWithParam<PageCase> {};

TEST_P(Limits, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Limits,
    ::testing::Values(
        row("turns get shows ten turns", shell::kNotLoggedIn, positions(turns(10), 0),
            {"press turnsGet"}, {"Turns: 10.00"}, kReadTurns),
        row("ten and a half turns are sent as F8 01 1A", shell::kUser, {},
            {"set Turns=10.5", "press turnsSend"}, {"Position: please get", "percent: please get"},
            {"10 00 00 00 00", "B0 44 F8 01 1A", "11 00 00 00 00"}),
        row("the user minimum is 2.5 turns", shell::kUser, {},
            {"set Turns=2.4", "press turnsSend", "set Turns=3", "press turnsSend"}, {},
            {"10 00 00 00 00", "B0 44 90 00 1A", "11 00 00 00 00"}, {kOutOfRange}),
        row("the service minimum is 0.1 turns and text is refused", shell::kService, {},
            {"set Turns=0.09", "press turnsSend", "set Turns=abc", "press turnsSend",
             "set Turns=9999.5", "press turnsSend", "set Turns=0.2", "press turnsSend"},
            {}, {"10 00 00 00 00", "B0 44 09 00 1A", "11 00 00 00 00"},
            {kOutOfRange, "message: Turns is not a number.", kOutOfRange}),
        row("a placeholder left by turns send is never sent as a position", shell::kUser, {},
            {"set Turns=10.5", "press turnsSend", "press positionSend"}, {"Position: please get"},
            {"10 00 00 00 00", "B0 44 F8 01 1A", "11 00 00 00 00"},
            {"message: Position is not a number."}),
        row("position send writes without unlocking", shell::kUser, {},
            {"set Position=-5000", "press positionSend", "set Position=10000",
             "press positionSend"},
            {}, {"B0 00 80 56 16"}, {"message: Position out of range."}),
        row("position get needs the turns first", shell::kNotLoggedIn,
            positions(turns(10), turns(2.5)),
            {"press positionGet", "press turnsGet", "press positionGet"},
            {"Position: 2.50", "percent: 25.00%"}, {"A0 44 00 00 00", "A0 00 00 00 00"},
            {"message: Extract Turns first"}),
        row("beyond the open limit reads 100 percent", shell::kNotLoggedIn,
            positions(turns(10), turns(12)), {"press turnsGet", "press positionGet"},
            {"Position: 12.00", "percent: 100.00%"}, {"A0 44 00 00 00", "A0 00 00 00 00"}),
        row("below the closed limit reads 0 percent", shell::kNotLoggedIn,
            positions(turns(10), turns(-1)), {"press turnsGet", "press positionGet"},
            {"Position: -1.00", "percent: 0.00%"}, {"A0 44 00 00 00", "A0 00 00 00 00"}),
        row("set close limit keeps the open limit's distance", shell::kNotLoggedIn,
            positions(turns(10), turns(4)), {"press Set Close Limit"}, {},
            {"A0 44 00 00 00", "A0 00 00 00 00", "10 00 00 00 00", "B0 00 00 00 1A",
             "B0 44 20 01 1A", "11 00 00 00 00"}),
        row("set open limit copies the position", shell::kNotLoggedIn,
            positions(turns(10), turns(4)), {"press Set Open Limit"}, {},
            {"A0 00 00 00 00", "10 00 00 00 00", "B0 44 C0 00 1A", "11 00 00 00 00"}),
        row("sending needs a login", shell::kNotLoggedIn, {},
            {"set Turns=5", "press turnsSend", "press positionSend"}, {}, {},
            {"message: Login is required before this action can be completed.",
             "message: Login is required before this action can be completed."})),
    [](const auto& info) { return rowName(info.param.name); });

TEST(LimitsTurns, PleaseGetAlsoWhenTheWriteFailed) {
    PageCase failed = row("", shell::kUser, {}, {"set Turns=5", "press turnsSend"},
                          {"Position: please get", "percent: please get"}, {"10 00 00 00 00"},
                          {"error: EEPROM Error"});
    failed.setUp = refuse(link::UNLOCK_EEPROM);
    runPageCase(failed);
}

}  // namespace
}  // namespace vantrel::test
