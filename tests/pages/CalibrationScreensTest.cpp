// "Torque calibration data" and "Re-calibrate torque sensor" as screens of their own:
// the values shown and kept, the login rule and the frames of both send chains.
#include <gtest/gtest.h>

#include "PageHarness.h"
#include "link/Commands.h"
#include "service/ReCalTS.h"
#include "service/TrqCalib.h"

namespace vantrel::test {
namespace {

// Offsets 400 and 420, scalings 160 (clockwise) and 168, normalisation 8, gain 3.
const std::vector<ByteAt> kCalibrated = {{r(15), 0x90}, {r(16), 0x01}, {r(31), 0xA4}, {r(32), 0x01},
                                         {r(18), 160},  {r(17), 168},  {r(19), 8},    {r(26), 3}};
// The same but gain 1, normalisation 6 and scalings 40 and 42.
const std::vector<ByteAt> kGainOne = {{r(15), 0x90}, {r(16), 0x01}, {r(31), 0xA4}, {r(32), 0x01},
                                      {r(18), 40},   {r(17), 42},   {r(19), 6},    {r(26), 1}};

PageCase torque(PageCase c) {
    c.screen = [](shell::Context& context) {
        return std::make_unique<service::CTrqCalib>(context);
    };
    return c;
}

PageCase recalibration(PageCase c) {
    c.login = shell::kService;
    c.screen = [](shell::Context& context) { return std::make_unique<service::CReCalTS>(context); };
    return c;
}

std::vector<std::string> barcodes(const char* old12, const char* old345, const char* new12,
                                  const char* new345) {
    return {std::string("set old 12=") + old12, std::string("set old 345=") + old345,
            std::string("set new 12=") + new12, std::string("set new 345=") + new345};
}

std::vector<std::string> then(std::vector<std::string> steps,
                              std::initializer_list<std::string> more) {
    steps.insert(steps.end(), more);
    return steps;
}

const std::vector<std::string> kRecalibrationSend = {
    "10 00 00 00 00", "C0 0F 90 00 00", "C0 10 01 00 00", "C0 1F A4 00 00", "C0 20 01 00 00",
    "C0 12 A0 00 00", "C0 11 A7 00 00", "C0 1A 03 00 00", "C0 13 08 00 00", "11 00 00 00 00"};

// An image file that holds nothing but UNUSED2.
const std::string kOnlyUnused2 = "UNUSED2\t" + std::string(128, '0') + "\r";

class CalibrationScreens : public ::testing::TestWithParam<PageCase> {};

TEST_P(CalibrationScreens, Row) {
    runPageCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CalibrationScreens,
    ::testing::Values(
        torque({.name = "a user login shows the values but may not send",
                .login = shell::kUser,
                .image = kCalibrated,
                .steps = {"send"},
                .shows = {"Clockwise Offset: 400", "Anti Clockwise Offset: 420",
                          "Clockwise Scaling: 160", "Anti Clockwise Scaling: 168", "Gain: 3"},
                .dialogs = {"error: Incorrect Password entered"}}),
        torque({.name = "numbers wider than a register are kept modulo, checksums anew",
                .login = shell::kService,
                .steps = {"set Gain=300", "set Clockwise Offset=70000", "keep"},
                .shows = {"Gain: 44", "Clockwise Offset: 4464"},
                .after = {{r(26), 44}, {r(15), 0x70}, {r(16), 0x11}, {r(41), 0xAE}, {r(84), 1}}}),
        torque({.name = "a box without a number is refused, naming it, before anything is taken",
                .login = shell::kService,
                .image = kCalibrated,
                .steps = {"set Clockwise Offset=500", "set Gain=3x",
                          "set Clockwise Scaling=", "send", "keep"},
                .after = {{r(26), 3}, {r(18), 160}, {r(15), 0x90}},
                .dialogs = {"error: Clockwise Scaling must be a whole number",
                            "error: Clockwise Scaling must be a whole number"}}),
        torque({.name = "a file without the values shows them empty and sends none",
                .login = shell::kService,
                .image = kCalibrated,
                .steps = {"send"},
                .shows = {"Gain:  (disabled)", "Clockwise Offset:  (disabled)"},
                .frames = {"10 00 00 00 00", "11 00 00 00 00"},
                .after = kCalibrated,
                .file = kOnlyUnused2}),
        torque({.name = "send writes the seven bytes between unlock and lock",
                .login = shell::kService,
                .image = kCalibrated,
                .steps = {"send"},
                .frames = {"10 00 00 00 00", "C0 0F 90 00 00", "C0 10 01 00 00", "C0 1F A4 00 00",
                           "C0 20 01 00 00", "C0 12 A0 00 00", "C0 11 A8 00 00", "C0 1A 03 00 00",
                           "11 00 00 00 00"}}),
        torque({.name = "a refused write ends the chain without the lock",
                .login = shell::kService,
                .image = kCalibrated,
                .steps = {"send"},
                .frames = {"10 00 00 00 00", "C0 0F 90 00 00", "C0 10 01 00 00", "C0 1F A4 00 00"},
                .dialogs = {"error: EEPROM Error"},
                .setUp = refuse(link::WRITE_REGISTER_BYTE, 31)}),
        recalibration({.name = "same sensor: no warning, the question, eight writes",
                       .image = kCalibrated,
                       .steps = then(barcodes("50", "450", "50", "450"),
                                     {"answer yes", "press re - calibrate"}),
                       .frames = kRecalibrationSend,
                       .after = {{r(17), 167}, {r(19), 8}}}),
        recalibration({.name = "both warnings, then No leaves the image as it was",
                       .image = kGainOne,
                       .steps = then(barcodes("50", "450", "50", "450"),
                                     {"answer no", "press re - calibrate"}),
                       .after = kGainOne,
                       .dialogs = {"message: Warning: Range Changed!",
                                   "message: Warning: Normalisation Changed!"}}),
        recalibration({.name = "old barcode numbers equal: warnings, error, nothing stored",
                       .image = kGainOne,
                       .steps = then(barcodes("50", "050", "50", "450"),
                                     {"answer yes", "press re - calibrate"}),
                       .after = kGainOne,
                       .dialogs = {"message: Warning: Range Changed!",
                                   "message: Warning: Normalisation Changed!",
                                   "message: ERROR calibration figures can not be calculated "
                                   "correctly"}}),
        recalibration({.name = "a file without the values: error, nothing stored or sent",
                       .image = kCalibrated,
                       .steps = then(barcodes("50", "450", "50", "450"),
                                     {"answer yes", "press re - calibrate"}),
                       .after = kCalibrated,
                       .dialogs = {"message: ERROR calibration figures can not be calculated "
                                   "correctly"},
                       .file = kOnlyUnused2}),
        recalibration({.name = "non-numeric boxes count as 0: error, nothing stored",
                       .image = kCalibrated,
                       .steps = then(barcodes("ab", "", "5x", "?"),
                                     {"answer yes", "press re - calibrate"}),
                       .after = kCalibrated,
                       .dialogs = {"message: Warning: Normalisation Changed!",
                                   "message: ERROR calibration figures can not be calculated "
                                   "correctly"}}),
        recalibration({.name = "a refused normalisation write keeps the new values, no lock",
                       .image = kCalibrated,
                       .steps = then(barcodes("50", "450", "50", "450"),
                                     {"answer yes", "press re - calibrate"}),
                       .frames = {kRecalibrationSend.begin(), kRecalibrationSend.end() - 1},
                       .after = {{r(17), 167}},
                       .dialogs = {"error: EEPROM Error"},
                       .setUp = refuse(link::WRITE_REGISTER_BYTE, 19)})),
    [](const auto& info) { return rowName(info.param.name); });

}  // namespace
}  // namespace vantrel::test
