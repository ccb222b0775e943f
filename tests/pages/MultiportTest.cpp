// "Multiport": its three views, the port table, the automatic calibration, the
// ascending-order note, the port buttons and the Send chains of each view.
#include <gtest/gtest.h>

#include "PageHarness.h"
#include "link/Commands.h"
#include "service/Multiport.h"

namespace vantrel::test {
namespace {

using service::multiportByte;

constexpr const char* kPage = "Multiport";
constexpr uint8_t kModbusMk2 = 16;
constexpr uint8_t kMultiportFlag = 2;

// A multiport unit with a Modbus Mk2 card, and what else the row wants of the actuator.
std::function<void(sim::Options&)> unit(std::function<void(sim::Options&)> more = {}) {
    return [more](sim::Options& options) {
        options.card = {'M', 'P', 1, {'0', '7'}};
        if (more) more(options);
    };
}

std::function<void(sim::Options&)> silent(uint8_t command, uint8_t address) {
    return unit([=](sim::Options& options) {
        options.faults.silentCommand = command;
        options.faults.silentAddress = address;
    });
}

// A bus register value in the image, low byte first.
std::vector<ByteAt> bus(int busRegister, uint16_t value) {
    return {{multiportByte(busRegister), static_cast<uint8_t>(value)},
            {multiportByte(busRegister) + 1, static_cast<uint8_t>(value >> 8)}};
}

std::vector<ByteAt> join(std::initializer_list<std::vector<ByteAt>> parts) {
    std::vector<ByteAt> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Four ports, ports 1, 2 and 4 in use, ZRT 125/250/500, Mode 2, bi-directional on,
// anti-clockwise to close.
const std::vector<ByteAt> kSettings = join({bus(64, 4),
                                            bus(65, 0x0B),
                                            bus(71, 2),
                                            bus(72, 1),
                                            {{r(68), 0x84}, {r(69), 0x10}},
                                            {{r(65), 0x01}}});

// The same with no port marked in use, so that no position order is checked.
const std::vector<ByteAt> kPositions = join({kSettings, bus(65, 0)});

const std::vector<std::string> kBusWrites = {"38 40 04 00 00", "38 41 0B 00 00", "38 43 00 00 00",
                                             "38 47 02 00 00", "38 48 01 00 00"};

std::vector<std::string> frames(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The clockwise table as the simulator's image rows leave it: all zero but port 2.
const std::vector<std::string> kClockwiseSend = {
    "38 50 00 00 00", "38 51 FA 00 00", "38 52 00 00 00", "38 53 00 00 00",
    "38 54 00 00 00", "38 55 00 00 00", "38 56 00 00 00", "38 57 00 00 00",
    "38 58 00 00 00", "38 59 00 00 00", "39 00 00 00 00", "39 00 00 00 00"};

PageCase row(PageCase c) {
    c.page = kPage;
    if (!c.setUp) c.setUp = unit();
    c.optionType = kModbusMk2;
    c.optionFlags = kMultiportFlag;
    return c;
}

// An image file of a four-port unit whose bus area ends before local control, with
// no customer configuration (no open limit, no direction to close).
std::string shortBusFile() {
    std::string bus(2 * 120, '0');
    auto put = [&](int offset, const char* hex) { bus.replace(2 * offset, 2, hex); };
    put(70, "01");   // a Modbus card
    put(106, "04");  // four ports
    put(108, "0B");  // ports 1, 2 and 4
    return "UNUSED2\t" + std::string(128, '0') + "\rOPT_SW_3\tMP07\rMK2BUS_3\t" + bus + "\r";
}

// Typed positions that are no whole number from 0 to 1000 are refused before
// anything is taken or sent.
std::vector<PageCase> refusedPositions() {
    std::vector<PageCase> rows;
    for (const char* typed : {"abc", "-1", "1001", "", "2.5"})
        rows.push_back(row({.name = std::string("clockwise port refuses ") + typed,
                            .image = join({kPositions, bus(81, 250)}),
                            .steps = {"press Misc", "set Clockwise Port 1=40",
                                      std::string("set Clockwise Port 2=") + typed, "send", "keep"},
                            .after = join({bus(80, 0), bus(81, 250)}),
                            .dialogs = {"error: Clockwise Port 2 must be a whole number from 0 "
                                        "to 1000",
                                        "error: Clockwise Port 2 must be a whole number from 0 "
                                        "to 1000"}}));
    return rows;
}

class MultiportPositions : public ::testing::TestWithParam<PageCase> {};
TEST_P(MultiportPositions, Row) {
    runPageCase(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Rows, MultiportPositions, ::testing::ValuesIn(refusedPositions()),
                         [](const auto& info) {
                             return rowName(info.param.name) + "_" + std::to_string(info.index);
                         });

class Multiport : public ::testing::TestWithParam<PageCase> {};

TEST_P(Multiport, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Multiport,
    ::testing::Values(
        row({.name = "misc view shows the stored settings, port 1 fixed",
             .image = kSettings,
             .shows = {"Number Ports: 4", "Open Limit Mode: ZRT 125/250/500",
                       "Local Control: Mode 2", "Bi DirectionalMode: ON",
                       "Direction to close: A/Clock", "1: on (disabled)", "3: off", "4: on"}}),
        row({.name = "misc send: bus writes, direction by read modify write, ZRT limit, commit",
             .image = join({kSettings, {{r(70), 0x1A}}}),
             .steps = {"set 3=on", "send"},
             .frames = frames({{"38 40 04 00 00", "38 41 0F 00 00"},
                               {kBusWrites.begin() + 2, kBusWrites.end()},
                               {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 01 02 03",
                                "B0 44 84 10 1A", "11 00 00 00 00", "39 00 00 00 00"}})}),
        row({.name = "misc send: the active-port word holds the ten boxes only",
             .image = join({kSettings, bus(65, 0xFC0B), {{r(70), 0x1A}}}),
             .steps = {"send"},
             .frames = frames({{"38 40 04 00 00", "38 41 0B 00 00"},
                               {kBusWrites.begin() + 2, kBusWrites.end()},
                               {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 01 02 03",
                                "B0 44 84 10 1A", "11 00 00 00 00", "39 00 00 00 00"}}),
             .after = bus(65, 0x0B)}),
        row({.name = "a short bus area: what it lacks is shown empty and never sent",
             .image = kSettings,
             .steps = {"send"},
             .shows = {"Number Ports: 4", "4: on", "Local Control:  (disabled)",
                       "Bi DirectionalMode:  (disabled)", "Direction to close:  (disabled)",
                       "Open Limit Mode:  (disabled)"},
             .frames = {"38 40 04 00 00", "38 41 0B 00 00", "38 43 00 00 00", "10 00 00 00 00",
                        "11 00 00 00 00", "39 00 00 00 00"},
             .file = shortBusFile()}),
        row({.name = "auto-cal with 4 ports fills both tables",
             .image = kSettings,
             .steps = {"answer yes", "keep"},
             .after = join({bus(81, 250), bus(83, 750), bus(84, 994), bus(89, 999), bus(91, 250),
                            bus(99, 999)})}),
        row({.name = "undefined open limit: no link, the other values kept",
             .image = join({kSettings, {{r(68), 0}}}),
             .steps = {"set Local Control=Mode 3", "send"},
             .after = bus(71, 3),
             .dialogs = {"message: Please set open limit mode to valid value, data will not be "
                         "sent"}}),
        row({.name = "user defined open limit sends no open limit write",
             .image = join({kSettings, bus(67, 1)}),
             .steps = {"send"},
             .shows = {"Open Limit Mode: User defined"},
             .frames = frames({{"38 40 04 00 00", "38 41 0B 00 00", "38 43 01 00 00"},
                               {kBusWrites.begin() + 3, kBusWrites.end()},
                               {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 01 02 03",
                                "11 00 00 00 00", "39 00 00 00 00"}})}),
        row({.name = "stored 12 ports: no entry, nothing recalculated, ten rows",
             .image = join({kSettings, bus(64, 12)}),
             .steps = {"answer yes", "keep", "press Misc"},
             .shows = {"Clockwise Port 10: 0"},
             .after = join({bus(64, 12), bus(81, 0)})}),
        row({.name = "clockwise view with 4 ports: ports 5 to 10 taken as 0",
             .image = join({kSettings, bus(65, 0), bus(83, 750), bus(84, 994), bus(89, 999)}),
             .steps = {"press Misc", "keep"},
             .after = join({bus(83, 750), bus(84, 0), bus(89, 0)})}),
        row({.name = "active ports not ascending raise the note",
             .image = join({kSettings, bus(64, 3), bus(65, 0x07), bus(81, 500), bus(82, 400)}),
             .steps = {"press Misc", "keep"},
             .after = join({bus(81, 500), bus(82, 400)}),
             .dialogs = {"message: Note Ports are NOT in ascending order, Please check that "
                         "this is correct"}}),
        row({.name = "an inactive port is left out of the ascending check",
             .image = join({kSettings, bus(64, 3), bus(65, 0x05), bus(91, 900), bus(92, 400)}),
             .steps = {"press Misc", "press Clockwise", "keep"},
             .after = join({bus(91, 900), bus(92, 400)})}),
        row({.name = "port button: halfway between home and the open limit gives 500",
             .image = kPositions,
             .actuator = {{r(0), 0x42},
                          {r(1), 0x08},
                          {r(2), 0x1A},
                          {r(68), 0x84},
                          {r(69), 0x10},
                          {r(70), 0x1A}},
             .steps = {"press Misc", "press 2"},
             .shows = {"Clockwise Port 2: 500"},
             .frames = {"A0 44 00 00 00", "A0 00 00 00 00"},
             .after = bus(81, 500)}),
        row({.name = "port button with the open limit at home shows 0",
             .image = join({kPositions, bus(81, 7)}),
             .actuator = {{r(68), 0x00}, {r(69), 0x00}, {r(70), 0x1A}},
             .steps = {"press Misc", "press 2"},
             .shows = {"Clockwise Port 2: 0"},
             .frames = {"A0 44 00 00 00", "A0 00 00 00 00"},
             .after = bus(81, 0)}),
        row({.name = "port button: a refused position read gives 0",
             .image = kPositions,
             .steps = {"press Misc", "press 3"},
             .shows = {"Clockwise Port 3: 0"},
             .frames = {"A0 44 00 00 00", "A0 00 00 00 00"},
             .dialogs = {"error: EEPROM Error"},
             .setUp = unit(refuse(link::READ_REGISTER, 0))}),
        row({.name = "port button below home is refused, naming the box",
             .image = join({kPositions, bus(81, 7)}),
             .actuator = {{r(0), 0x00}, {r(1), 0x00}, {r(2), 0x19}},
             .steps = {"press Misc", "press 2", "send"},
             .frames = {"A0 44 00 00 00", "A0 00 00 00 00"},
             .after = bus(81, 7),
             .dialogs = {"error: Clockwise Port 2 must be a whole number from 0 to 1000",
                         "error: Clockwise Port 2 must be a whole number from 0 to 1000"}}),
        row({.name = "a stored position beyond the scale, untouched, is sent as stored",
             .image = join({kPositions, bus(81, 250), bus(80, 0xFFFF)}),
             .steps = {"press Misc", "send"},
             .frames = frames({{"38 50 FF FF 00"},
                               {kClockwiseSend.begin() + 1, kClockwiseSend.end()}})}),
        row({.name = "clockwise send: ten ports, then two commits",
             .image = join({kPositions, bus(81, 250)}),
             .steps = {"press Misc", "send"},
             .frames = kClockwiseSend}),
        row({.name = "anti-clock send stops at a refused port write",
             .image = kPositions,
             .steps = {"press Misc", "press Clockwise", "send"},
             .frames = {"38 5A 00 00 00", "38 5B 00 00 00"},
             .dialogs = {"error: Option card comms error"},
             .setUp = unit([](sim::Options& o) {
                 o.faults.refusals.push_back({link::WRITE_BUS_REGISTER, 91, 'T', -1});
             })}),
        row({.name = "clockwise send: a silent commit is reported",
             .image = join({kPositions, bus(81, 250)}),
             .steps = {"press Misc", "send"},
             .frames = {kClockwiseSend.begin(), kClockwiseSend.end() - 1},
             .dialogs = {"error: Event Not RX"},
             .setUp = silent(link::COMMIT_BUS_SETTINGS, 0)}),
        row({.name = "misc: a refused unlock still commits",
             .image = kSettings,
             .steps = {"send"},
             .frames = frames({kBusWrites, {"10 00 00 00 00", "39 00 00 00 00"}}),
             .dialogs = {"error: EEPROM Error"},
             .setUp = unit(refuse(link::UNLOCK_EEPROM))}),
        row({.name = "misc: a refused direction write sends no limit and no lock",
             .image = kSettings,
             .steps = {"send"},
             .frames = frames({kBusWrites,
                               {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 01 02 03",
                                "39 00 00 00 00"}}),
             .dialogs = {"error: EEPROM Error"},
             .setUp = unit(refuse(link::WRITE_REGISTER, 65))}),
        row({.name = "misc: a refused open limit write still locks and commits",
             .image = kSettings,
             .steps = {"send"},
             .frames = frames({kBusWrites,
                               {"10 00 00 00 00", "A0 41 00 00 00", "B0 41 01 02 03",
                                "B0 44 84 10 00", "11 00 00 00 00", "39 00 00 00 00"}}),
             .dialogs = {"error: EEPROM Error"},
             .setUp = unit(refuse(link::WRITE_REGISTER, 68))}),
        row({.name = "misc: a silent bus write ends the writes, the commit still goes",
             .image = kSettings,
             .steps = {"send"},
             .frames = {"38 40 04 00 00", "39 00 00 00 00"},
             .dialogs = {"error: Event Not RX"},
             .setUp = silent(link::WRITE_BUS_REGISTER, 64)}),
        row({.name = "home button writes the home count to register 0, nothing else",
             .image = kSettings,
             .steps = {"press Set position to 0% (home)"},
             .frames = {"B0 00 00 00 1A"}}),
        row({.name = "without login nothing is asked or sent",
             .login = shell::kNotLoggedIn,
             .image = kSettings,
             .steps = {"send"},
             .dialogs = {"error: Incorrect Password entered"}}),
        row({.name = "a default view chosen on another page does not block",
             .image = join({kPositions, bus(81, 250)}),
             .steps = {"goto Stop Settings", "press Current", "goto Multiport", "press Misc",
                       "send"},
             .frames = kClockwiseSend}),
        row({.name = "the view button cycles and names the view shown",
             .image = kSettings,
             .steps = {"press Misc", "press Clockwise", "press Anti-clock"},
             .shows = {"Number Ports: 4"}})),
    [](const auto& info) { return rowName(info.param.name); });

}  // namespace
}  // namespace vantrel::test
