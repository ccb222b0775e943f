// "Single Phase": both buttons send all three frames whatever each answers, ask
// nothing, and show the first failure once the frames are sent.
#include <gtest/gtest.h>

#include "PageHarness.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

constexpr const char* kPage = "Single Phase";

const std::vector<std::string> kStartTime200 = {"10 00 00 00 00", "C0 22 C8 00 00",
                                                "11 00 00 00 00"};

PageCase row(PageCase c) {
    c.page = kPage;
    c.login = shell::kService;
    return c;
}

class SinglePhase : public ::testing::TestWithParam<PageCase> {};

TEST_P(SinglePhase, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SinglePhase,
    ::testing::Values(
        row({.name = "send stores the entry and writes it without a question",
             .image = {{r(34), 17}},
             .steps = {"entries Start cap time=256", "set Start cap time=200", "press Send"},
             .frames = kStartTime200,
             .after = {{r(34), 200}}}),
        row({.name = "a refused write: all three frames go, its failure shows once",
             .steps = {"set Start cap time=200", "press Send"},
             .frames = kStartTime200,
             .after = {{r(34), 200}},
             .dialogs = {"error: EEPROM Error"},
             .setUp = refuse(link::WRITE_REGISTER_BYTE)}),
        row({.name = "a silent unlock: all three frames go, the first failure shows",
             .steps = {"set Start cap time=200", "press Send"},
             .frames = kStartTime200,
             .dialogs = {"error: Event Not RX"},
             .setUp = [](sim::Options& o) { o.faults.silentCommand = link::UNLOCK_EEPROM; }}),
        row({.name = "instant reversal writes 32 at register 21 and leaves the image",
             .image = {{r(21), 7}},
             .steps = {"press Set instant reversal to 2 secs"},
             .frames = {"10 00 00 00 00", "C0 15 20 00 00", "11 00 00 00 00"},
             .after = {{r(21), 7}}}),
        row({.name = "instant reversal: a refused lock is shown",
             .steps = {"press Set instant reversal to 2 secs"},
             .frames = {"10 00 00 00 00", "C0 15 20 00 00", "11 00 00 00 00"},
             .dialogs = {"error: EEPROM Error"},
             .setUp = refuse(link::LOCK_EEPROM)}),
        row({.name = "a default view chosen on another page does not block",
             .steps = {"goto Stop Settings", "press Current", "goto Single Phase",
                       "set Start cap time=200", "press Send"},
             .frames = kStartTime200})),
    [](const auto& info) { return rowName(info.param.name); });

}  // namespace
}  // namespace vantrel::test
