#include <gtest/gtest.h>

#include "PageHarness.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

constexpr const char* kPage = "Stop Settings";
constexpr const char* kAccessDenied = "error: Unable to update, access denied";
constexpr const char* kIncorrectPassword = "error: Incorrect Password entered";

// The whole Send of the page for an image of zeros but the torques (70, 60) against
// the simulator's registers, which hold r % 4.
const std::vector<std::string> kWholeSend = {"10 00 00 00 00", "C0 0E 00 00 00", "A0 2A 00 00 00",
                                             "B0 2A 46 3C 00", "A0 3D 00 00 00", "B0 3D 00 02 03",
                                             "A0 3F 00 00 00", "B0 3F 01 00 01", "A0 41 00 00 00",
                                             "B0 41 00 82 03", "11 00 00 00 00"};

class StopSettings : public ::testing::TestWithParam<PageCase> {};

TEST_P(StopSettings, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StopSettings,
    ::testing::Values(
        // An image file that held the manufacture configuration but no customer one.
        PageCase{.name = "a file without the torques shows them empty and sends them not",
                 .page = kPage,
                 .image = {{r(42), 70}, {r(43), 60}},
                 .steps = {"send"},
                 .shows = {"Close Torque %:  (disabled)", "Open Torque %:  (disabled)"},
                 .frames = {"10 00 00 00 00", "C0 0E 00 00 00", "11 00 00 00 00"},
                 .after = {{r(42), 70}, {r(43), 60}},
                 .file = "MANU_CFIG\t" + std::string(70, '0') + "\rUNUSED2\t" +
                         std::string(128, '0') + "\r"},
        PageCase{.name = "open torque 101 is Boost and Boost stores 101",
                 .page = kPage,
                 .image = {{r(43), 101}, {r(42), 40}},
                 .steps = {"set Close Torque %=100", "keep"},
                 .shows = {"Open Torque %: Boost", "Close Torque %: 100"},
                 .after = {{r(43), 101}, {r(42), 100}}},
        PageCase{.name = "choosing Boost stores 101",
                 .page = kPage,
                 .image = {{r(43), 60}},
                 .steps = {"set Open Torque %=Boost", "keep"},
                 .after = {{r(43), 101}}},
        PageCase{.name = "service replaces a profile and sets one keeping the percentage",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(42), 0xC6}, {r(43), 0x46}},
                 .steps = {"set Close Torque %=80", "set Open Torque %=Profile", "keep"},
                 .shows = {"Close Torque %: 80", "Open Torque %: Profile"},
                 .after = {{r(42), 0x50}, {r(43), 0xC6}}},
        PageCase{.name = "user may neither set nor replace a profile",
                 .page = kPage,
                 .image = {{r(42), 70}, {r(43), 0xC6}},
                 .steps = {"set Close Torque %=Profile", "set Open Torque %=50", "send"},
                 .shows = {"Close Torque %: 70", "Open Torque %: Profile"},
                 .frames = {"10 00 00 00 00", "C0 0E 00 00 00", "A0 2A 00 00 00", "B0 2A 46 C6 00",
                            "A0 3D 00 00 00", "B0 3D 00 02 03", "A0 3F 00 00 00", "B0 3F 01 00 01",
                            "A0 41 00 00 00", "B0 41 00 82 03", "11 00 00 00 00"},
                 .after = {{r(42), 70}, {r(43), 0xC6}}},
        PageCase{.name = "boost byte E4 and the default view's fixed texts",
                 .page = kPage,
                 .image = {{r(14), 0xE4}},
                 .steps = {"press Current"},
                 .shows = {"Boost: Full Stall: Boost not available (disabled)",
                           "Boost Position %: 60 (disabled)"}},
        PageCase{.name = "boost byte E4 shows limited stall and NA",
                 .page = kPage,
                 .image = {{r(14), 0xE4}},
                 .shows = {"Boost: Full Stall: Boost: limited stall", "Boost Position %: NA"}},
        PageCase{.name = "read modify write keeps the actuator's other bits",
                 .page = kPage,
                 .image = {{r(42), 70}, {r(43), 60}, {r(65), 0x01}},
                 .actuator = {{r(61), 0xFF}, {r(65), 0x00}, {r(66), 0x80}},
                 .steps = {"send"},
                 .frames = {"10 00 00 00 00", "C0 0E 00 00 00", "A0 2A 00 00 00", "B0 2A 46 3C 00",
                            "A0 3D 00 00 00", "B0 3D F8 02 03", "A0 3F 00 00 00", "B0 3F 01 00 00",
                            "A0 41 00 00 00", "B0 41 01 80 03", "11 00 00 00 00"}},
        PageCase{.name = "edits are taken by send and sent whole",
                 .page = kPage,
                 .image = {{r(42), 70}, {r(43), 60}},
                 .steps = {"send"},
                 .frames = kWholeSend},
        PageCase{
            .name = "two state buttons and boxes take only their bits",
            .page = kPage,
            .image = {{r(61), 0xF8}, {r(63), 0xF9}, {r(65), 0xFE}, {r(14), 0x05}},
            .steps = {"set Close on Torque=Close On Limit", "set Open on Torque=Open On Limit",
                      "set Close LED Green=Close LED Red", "set Clock to Close=AClock to Close",
                      "set 5% Boost=on", "set Fetterolf=on",
                      "set Boost: Full Stall=Boost: limited stall", "keep"},
            .after = {{r(61), 0xFF}, {r(63), 0xFF}, {r(65), 0xFF}, {r(14), 0x85}}},
        PageCase{.name = "a refused unlock sends nothing more",
                 .page = kPage,
                 .steps = {"send"},
                 .frames = {"10 00 00 00 00"},
                 .dialogs = {"error: EEPROM Error"},
                 .setUp = refuse(link::UNLOCK_EEPROM)},
        PageCase{.name = "a failure inside a read modify write ends the chain without a lock",
                 .page = kPage,
                 .steps = {"send"},
                 .frames = {"10 00 00 00 00", "C0 0E 00 00 00", "A0 2A 00 00 00", "B0 2A 00 00 00",
                            "A0 3D 00 00 00"},
                 .dialogs = {"error: EEPROM Error"},
                 .setUp = refuse(link::READ_REGISTER, 61)},
        PageCase{.name = "default view refuses even the service level",
                 .page = kPage,
                 .login = shell::kService,
                 .image = {{r(42), 70}},
                 .steps = {"press Current", "send"},
                 .dialogs = {kAccessDenied}},
        PageCase{.name = "without login send asks nothing",
                 .page = kPage,
                 .login = shell::kNotLoggedIn,
                 .steps = {"set Close Torque %=90", "send"},
                 .after = {{r(42), 0}},
                 .dialogs = {kIncorrectPassword}},
        PageCase{.name = "No then No reloads the stored values",
                 .page = kPage,
                 .image = {{r(42), 70}},
                 .steps = {"set Close Torque %=90", "discard"},
                 .shows = {"Close Torque %: 70"},
                 .after = {{r(42), 70}}},
        PageCase{
            .name = "Current twice brings back the stored values",
            .page = kPage,
            .image = {{r(42), 70}, {r(85), 90}},
            .steps = {"set Close Torque %=50", "press Current", "entries Close Torque %=62",
                      "entries Open Torque %=63", "press Default", "entries Boost Position %=101"},
            .shows = {"Close Torque %: 70"}},
        PageCase{
            .name = "the default view shows the default copy",
            .page = kPage,
            .image = {{r(42), 70}, {r(85), 90}, {r(104), 0x07}},
            .steps = {"press Current"},
            .shows = {"Close Torque %: 90 (disabled)", "Close on Torque: Close On Limit (disabled)",
                      "Close LED Green: Close LED Red (disabled)"}},
        PageCase{.name = "keep changes puts both checksums right",
                 .page = kPage,
                 .image = {{r(42), 70}},
                 .steps = {"set Boost Position %=NA", "keep"},
                 .after = {{r(14), 100},
                           {r(41), static_cast<uint8_t>(1 + 100)},
                           {r(84), static_cast<uint8_t>(1 + 70)}}},
        PageCase{.name = "a stored value without an entry is kept",
                 .page = kPage,
                 .image = {{r(42), 30}, {r(43), 0x70}, {r(14), 0x7F}},
                 .steps = {"keep"},
                 .shows = {"Close Torque %: ", "Open Torque %: ", "Boost Position %: "},
                 .after = {{r(42), 30}, {r(43), 0x70}, {r(14), 0x7F}}}),
    [](const auto& info) { return rowName(info.param.name); });

}  // namespace
}  // namespace vantrel::test
