#include <gtest/gtest.h>

#include "PageHarness.h"
#include "link/Commands.h"

namespace vantrel::test {
namespace {

constexpr const char* kPage = "Contacts S1 to S8";

// Contact bytes 44 to 59 holding 0 to 15.
std::vector<ByteAt> countingContacts() {
    std::vector<ByteAt> bytes;
    for (int n = 0; n < 16; ++n)
        bytes.push_back({r(44 + n), static_cast<uint8_t>(n)});
    return bytes;
}

class Contacts : public ::testing::TestWithParam<PageCase> {};

TEST_P(Contacts, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Contacts,
    ::testing::Values(
        PageCase{.name = "function bit 0 is NC and the code is shifted by one",
                 .page = kPage,
                 .image = {{r(44), 0x05}, {r(45), 0x04}, {r(48), 50}},
                 .shows = {"S1 function: Po:Position", "S1 NO/NC: NC", "S2 function: Po:Position",
                           "S2 NO/NC: NO", "S1 value: 50"}},
        PageCase{.name = "Relay Parity NC stores 39 and value 1 stores 1",
                 .page = kPage,
                 .image = {{r(50), 40}},
                 .steps = {"set S3 function=rP:Relay Parity", "set S3 NO/NC=NC", "set S3 value=1",
                           "keep"},
                 .after = {{r(46), 0x39}, {r(50), 1}, {r(84), 1 + 0x39 + 1}}},
        PageCase{.name = "switching groups discards edits not taken",
                 .page = kPage,
                 .image = {{r(45), 0x04}},
                 .steps = {"set S2 function=CL:Closed Limit", "set S2 NO/NC=NC", "press S1-S4",
                           "press S5-S8", "keep"},
                 .shows = {"S2 function: Po:Position", "S2 NO/NC: NO"},
                 .after = {{r(45), 0x04}}},
        PageCase{
            .name = "an edit of S6 is sent with all sixteen bytes",
            .page = kPage,
            .image = countingContacts(),
            .steps = {"press S1-S4", "set S6 function=CL:Closed Limit", "set S6 NO/NC=NC", "send"},
            .shows = {"S6 function: CL:Closed Limit", "S1-S4: S5-S8"},
            .frames = {"10 00 00 00 00", "B0 2C 00 01 02", "B0 2F 03 04 05", "B0 32 06 07 08",
                       "B0 35 01 0A 0B", "B0 38 0C 0D 0E", "C0 3B 0F 00 00", "11 00 00 00 00"},
            .after = {{r(53), 0x01}, {r(44), 0}, {r(47), 3}}},
        PageCase{.name = "the default view shows the default copies of either group",
                 .page = kPage,
                 .image = {{r(87), 0x05}, {r(91), 7}, {r(95), 0x02}, {r(99), 9}, {r(52), 0x07}},
                 .steps = {"press Current", "press S1-S4"},
                 .shows = {"S5 function: OP:Open Limit (disabled)", "S5 NO/NC: NO (disabled)",
                           "S5 value: 9 (disabled)", "S1-S4: S5-S8"}},
        PageCase{.name = "Current keeps the group and shows the current settings",
                 .page = kPage,
                 .image = {{r(87), 0x05}, {r(52), 0x07}, {r(56), 12}},
                 .steps = {"press Current", "press S1-S4", "press Default"},
                 .shows = {"S5 function: tC:Torq trip Close", "S5 NO/NC: NC", "S5 value: 12"}},
        PageCase{.name = "lists hold each entry once after switches",
                 .page = kPage,
                 .steps = {"press S1-S4", "press Current", "press S5-S8", "press Default",
                           "press S1-S4", "entries S5 function=29", "entries S8 value=99",
                           "press S5-S8", "entries S1 function=29", "entries S4 value=99"}},
        PageCase{.name = "stored bytes without an entry keep their other bits",
                 .page = kPage,
                 .image = {{r(44), 0x3B}, {r(48), 0}, {r(49), 100}},
                 .steps = {"set S1 NO/NC=NO", "keep"},
                 .shows = {"S1 function: ", "S1 value: ", "S2 value: "},
                 .after = {{r(44), 0x3A}, {r(48), 0}, {r(49), 100}}},
        PageCase{.name = "a refused write in the middle ends the chain",
                 .page = kPage,
                 .image = countingContacts(),
                 .steps = {"send"},
                 .frames = {"10 00 00 00 00", "B0 2C 00 01 02", "B0 2F 03 04 05"},
                 .dialogs = {"error: EEPROM Error"},
                 .setUp = refuse(link::WRITE_REGISTER, 47)}),
    [](const auto& info) { return rowName(info.param.name); });

}  // namespace
}  // namespace vantrel::test
