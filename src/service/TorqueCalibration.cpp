#include "service/TorqueCalibration.h"

#include <cmath>
#include <initializer_list>

namespace vantrel::service {

namespace {

constexpr double kHundredths = 100;
constexpr double kVoltsPerCount = 5.0 / 1024;  // sensor output that one count stands for
constexpr double kCountsPerVolt = 204.8;       // 1024 / 5
constexpr double kFullScale = 100;             // counts of a scaling of 1 at normalisation 0
constexpr double kHighestOutput = 4.5;         // the gained output must stay at or below it
constexpr int kHighestGainFactor = 4;          // gain 3
constexpr int kHighestNormalisation = 9;
constexpr double kScalingLimit = 256;

constexpr double kHighestOffset = 65535;
constexpr double kLowestScaling = 1;
constexpr double kHighestScaling = 255;

// Judged before the fraction is dropped: 255.3 is no byte, although 255 would be.
bool fits(double value, double lowest, double highest) {
    return std::isfinite(value) && value >= lowest && value <= highest;
}

uint16_t lowWord(double value) {
    return static_cast<uint16_t>(std::trunc(value));
}

uint8_t lowByte(double value) {
    return static_cast<uint8_t>(std::trunc(value));
}

}  // namespace

Calibration readCalibration(const image::ConfigImage& image) {
    auto word = [&](int r) {
        return static_cast<uint16_t>(image.reg(r) | (image.reg(r + 1) << 8));
    };
    Calibration values;
    values.clockwiseOffset = word(kClockwiseOffsetRegister);
    values.antiClockwiseOffset = word(kAntiClockwiseOffsetRegister);
    values.clockwiseScaling = image.reg(kClockwiseScalingRegister);
    values.antiClockwiseScaling = image.reg(kAntiClockwiseScalingRegister);
    values.normalisation = image.reg(kNormalisationRegister);
    values.gain = image.reg(kGainRegister);
    return values;
}

bool holdsCalibration(const image::ConfigImage& image) {
    using image::kConfigBase;
    return image.holds(kConfigBase + kClockwiseOffsetRegister, 2) &&
           image.holds(kConfigBase + kAntiClockwiseOffsetRegister, 2) &&
           image.holds(kConfigBase + kAntiClockwiseScalingRegister) &&
           image.holds(kConfigBase + kClockwiseScalingRegister) &&
           image.holds(kConfigBase + kNormalisationRegister) &&
           image.holds(kConfigBase + kGainRegister);
}

void storeCalibration(image::ConfigImage& image, const Calibration& values) {
    auto word = [&](int r, uint16_t value) {
        image.reg(r) = static_cast<uint8_t>(value);
        image.reg(r + 1) = static_cast<uint8_t>(value >> 8);
    };
    word(kClockwiseOffsetRegister, values.clockwiseOffset);
    word(kAntiClockwiseOffsetRegister, values.antiClockwiseOffset);
    image.reg(kClockwiseScalingRegister) = values.clockwiseScaling;
    image.reg(kAntiClockwiseScalingRegister) = values.antiClockwiseScaling;
    image.reg(kNormalisationRegister) = values.normalisation;
    image.reg(kGainRegister) = values.gain;
}

image::FrameSequence calibrationFrames(bool withNormalisation) {
    using namespace image::frames;
    image::FrameSequence frames = {unlock(),
                                   writeRegisterByte(kClockwiseOffsetRegister),
                                   writeRegisterByte(kClockwiseOffsetRegister + 1),
                                   writeRegisterByte(kAntiClockwiseOffsetRegister),
                                   writeRegisterByte(kAntiClockwiseOffsetRegister + 1),
                                   writeRegisterByte(kClockwiseScalingRegister),
                                   writeRegisterByte(kAntiClockwiseScalingRegister),
                                   writeRegisterByte(kGainRegister)};
    if (withNormalisation) frames.push_back(writeRegisterByte(kNormalisationRegister));
    frames.push_back(lock());
    return frames;
}

Recalibration recalibrate(const Calibration& old, BarcodeDigits oldSensor,
                          BarcodeDigits newSensor) {
    // Sensor outputs at the start and the end of each sensor's range.
    const double a0 = oldSensor.first / kHundredths;
    const double b0 = oldSensor.last / kHundredths;
    const double a1 = newSensor.first / kHundredths;
    const double b1 = newSensor.last / kHundredths;

    const double co = old.clockwiseOffset;
    const double aco = old.antiClockwiseOffset;
    const double cs0 = old.clockwiseScaling;
    const double acs0 = old.antiClockwiseScaling;
    const double n0 = old.normalisation;
    const double g0 = old.gain;

    // Fractions of the old sensor's range at the two offsets, and the new sensor's
    // outputs at the two full-scale points.
    const double k = 1 / (g0 + 1);
    const double c = kVoltsPerCount;
    const double fC = (co * k * c - a0) / (b0 - a0);
    const double fA = (aco * k * c - a0) / (b0 - a0);
    const double vC =
        ((std::pow(2.0, n0) * kFullScale / cs0 + co) * k * c - a0) / (b0 - a0) * (b1 - a1) + a1;
    const double vA =
        ((std::pow(2.0, n0) * kFullScale / acs0 + aco) * k * c - a0) / (b0 - a0) * (b1 - a1) + a1;

    // The highest gain whose output stays within range; the lowest is taken untried.
    int r = kHighestGainFactor;
    while (r > 1 && (r * vC > kHighestOutput || r * vA > kHighestOutput))
        --r;
    Recalibration result;
    const int gain = r - 1;
    result.rangeChanged = gain != old.gain;

    const double m = gain + 1;
    const double nco = (fC * (b1 - a1) + a1) * m * kCountsPerVolt;
    const double naco = (fA * (b1 - a1) + a1) * m * kCountsPerVolt;
    const double sc = vC * m * kCountsPerVolt - nco;
    const double sa = vA * m * kCountsPerVolt - naco;

    // The highest normalisation whose scalings fit a byte; -1 when even 0 does not.
    int n = kHighestNormalisation;
    double cs = 0;
    double acs = 0;
    for (;;) {
        cs = std::pow(2.0, n) * kFullScale / sc;
        acs = std::pow(2.0, n) * kFullScale / sa;
        if (acs < kScalingLimit && cs < kScalingLimit) break;
        if (n == 0) {
            n = -1;
            break;
        }
        --n;
    }
    result.normalisationChanged = n != old.normalisation;

    bool finite = true;
    for (double value : {fC, fA, vC, vA, nco, naco, sc, sa, cs, acs})
        finite = finite && std::isfinite(value);
    result.valid = finite && fits(nco, 0, kHighestOffset) && fits(naco, 0, kHighestOffset) &&
                   fits(cs, kLowestScaling, kHighestScaling) &&
                   fits(acs, kLowestScaling, kHighestScaling) && n >= 0 &&
                   n <= kHighestNormalisation;
    if (!result.valid) return result;

    result.values.clockwiseOffset = lowWord(nco);
    result.values.antiClockwiseOffset = lowWord(naco);
    result.values.clockwiseScaling = lowByte(cs);
    result.values.antiClockwiseScaling = lowByte(acs);
    result.values.normalisation = static_cast<uint8_t>(n);
    result.values.gain = static_cast<uint8_t>(gain);
    return result;
}

}  // namespace vantrel::service
