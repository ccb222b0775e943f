// The re-calibration arithmetic on worked examples: each of the four gains, a
// normalisation that must fall, and the inputs whose results must not be stored.
#include <gtest/gtest.h>

#include "service/TorqueCalibration.h"

namespace vantrel::service {
namespace {

struct Example {
    const char* name;
    Calibration old;  // offsets, scalings (clockwise, anti-clockwise), normalisation, gain
    BarcodeDigits oldSensor;
    BarcodeDigits newSensor;
    bool valid;
    Calibration expected;  // compared only when valid
    bool rangeChanged;
    bool normalisationChanged;
};

std::ostream& operator<<(std::ostream& out, const Example& example) {
    return out << example.name;
}

class Recalibrate : public ::testing::TestWithParam<Example> {};

TEST_P(Recalibrate, WorkedExample) {
    const Example& e = GetParam();
    const Recalibration result = recalibrate(e.old, e.oldSensor, e.newSensor);
    EXPECT_EQ(result.valid, e.valid);
    EXPECT_EQ(result.rangeChanged, e.rangeChanged);
    EXPECT_EQ(result.normalisationChanged, e.normalisationChanged);
    if (e.valid) {
        EXPECT_EQ(result.values.clockwiseOffset, e.expected.clockwiseOffset);
        EXPECT_EQ(result.values.antiClockwiseOffset, e.expected.antiClockwiseOffset);
        EXPECT_EQ(result.values.clockwiseScaling, e.expected.clockwiseScaling);
        EXPECT_EQ(result.values.antiClockwiseScaling, e.expected.antiClockwiseScaling);
        EXPECT_EQ(result.values.normalisation, e.expected.normalisation);
        EXPECT_EQ(result.values.gain, e.expected.gain);
    }
}

// A sensor with outputs 0.50 to 4.50 and the values it was calibrated with.
constexpr BarcodeDigits kSensor{50, 450};
constexpr Calibration kGain1{400, 420, 40, 42, 6, 1};

INSTANTIATE_TEST_SUITE_P(
    Examples, Recalibrate,
    ::testing::Values(
        // The same sensor again, already at gain 3 and normalisation 8: nothing changes
        // but the anti-clockwise scaling, whose quotient falls just short of 168.
        Example{"same sensor gain 3",
                {400, 420, 160, 168, 8, 3},
                kSensor,
                kSensor,
                true,
                {400, 420, 160, 167, 8, 3},
                false,
                false},
        Example{"gain 2", kGain1, kSensor, kSensor, true, {600, 630, 213, 223, 9, 2}, true, true},
        Example{
            "gain 1", kGain1, kSensor, {60, 600}, true, {509, 536, 237, 248, 9, 1}, false, true},
        Example{"gain 0", kGain1, kSensor, {50, 900}, true, {309, 331, 150, 158, 8, 0}, true, true},
        // At 9 and 8 the scalings exceed a byte: the normalisation falls to 7.
        Example{"normalisation falls to 7",
                kGain1,
                kSensor,
                {20, 150},
                true,
                {290, 303, 123, 129, 7, 3},
                true,
                true},
        Example{"stored normalisation above 9",
                {400, 420, 40, 42, 12, 1},
                kSensor,
                kSensor,
                true,
                {200, 210, 10, 10, 9, 0},
                true,
                true},
        // Faults the plain arithmetic would store as wrapped or truncated values.
        Example{"old barcode numbers equal: both warnings, then invalid",
                kGain1,
                {50, 50},
                kSensor,
                false,
                {},
                true,
                true},
        Example{"new barcode numbers equal: zero span",
                kGain1,
                kSensor,
                {50, 50},
                false,
                {},
                true,
                true},
        Example{
            "new range reversed: negative span", kGain1, kSensor, {99, 10}, false, {}, true, true},
        Example{"offset beyond 16 bits",
                {60000, 60000, 40, 42, 6, 0},
                {0, 499},
                {0, 999},
                false,
                {},
                false,
                true},
        Example{"scaling truncates to 0",
                {400, 420, 40, 42, 16, 1},
                kSensor,
                kSensor,
                false,
                {},
                true,
                true},
        // A clockwise scaling of 255.29 passes the search for a normalisation but fits
        // no byte.
        Example{"scaling between 255 and 256",
                {100, 110, 150, 140, 8, 1},
                {0, 177},
                {10, 114},
                false,
                {},
                true,
                true},
        Example{
            "stored scaling 0", {400, 420, 0, 42, 6, 1}, kSensor, kSensor, false, {}, true, true},
        Example{"empty boxes", kGain1, {0, 0}, {0, 0}, false, {}, true, true}),
    [](const auto& info) {
        std::string name;
        for (const char* c = info.param.name; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST(CalibrationValues, StoreAndReadBackTheRegistersLittleEndian) {
    image::ConfigImage image;
    storeCalibration(image, {0x1234, 0xABCD, 7, 9, 5, 2});
    EXPECT_EQ(image.reg(15), 0x34);
    EXPECT_EQ(image.reg(16), 0x12);
    EXPECT_EQ(image.reg(31), 0xCD);
    EXPECT_EQ(image.reg(32), 0xAB);
    EXPECT_EQ(image.reg(18), 7);
    EXPECT_EQ(image.reg(17), 9);
    EXPECT_EQ(image.reg(19), 5);
    EXPECT_EQ(image.reg(26), 2);
    EXPECT_EQ(readCalibration(image), (Calibration{0x1234, 0xABCD, 7, 9, 5, 2}));
}

}  // namespace
}  // namespace vantrel::service
