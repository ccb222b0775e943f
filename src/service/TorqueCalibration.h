#pragma once
// The torque sensor's calibration values in the manufacture configuration, and the
// re-calibration that works them out anew when the sensor is exchanged, from the last
// five barcode digits of the old and the new sensor.
#include <cstdint>

#include "image/ConfigImage.h"
#include "image/FrameSequence.h"

namespace vantrel::service {

// Registers of the calibration values (the offsets are little-endian pairs).
inline constexpr uint8_t kClockwiseOffsetRegister = 15;
inline constexpr uint8_t kAntiClockwiseOffsetRegister = 31;
inline constexpr uint8_t kAntiClockwiseScalingRegister = 17;
inline constexpr uint8_t kClockwiseScalingRegister = 18;
inline constexpr uint8_t kNormalisationRegister = 19;
inline constexpr uint8_t kGainRegister = 26;

struct Calibration {
    uint16_t clockwiseOffset = 0;
    uint16_t antiClockwiseOffset = 0;
    uint8_t clockwiseScaling = 0;
    uint8_t antiClockwiseScaling = 0;
    uint8_t normalisation = 0;
    uint8_t gain = 0;

    bool operator==(const Calibration&) const = default;
};

Calibration readCalibration(const image::ConfigImage& image);
// Whether the image holds all six values (an image file may lack them).
bool holdsCalibration(const image::ConfigImage& image);
// Stores all six values (no checksum is recomputed).
void storeCalibration(image::ConfigImage& image, const Calibration& values);

// The frames that send the calibration values byte by byte between unlock and lock:
// offsets, scalings and gain, then the normalisation when it was worked out anew.
image::FrameSequence calibrationFrames(bool withNormalisation);

// The last five digits of a barcode: the number of the first two and of the last three.
struct BarcodeDigits {
    unsigned first = 0;
    unsigned last = 0;
};

struct Recalibration {
    Calibration values;                 // the new values; meaningful only when valid
    bool rangeChanged = false;          // "Warning: Range Changed!"
    bool normalisationChanged = false;  // "Warning: Normalisation Changed!"
    // Every intermediate value is a finite number and every result, fraction and all,
    // lies within its register's range; otherwise nothing may be stored or sent.
    bool valid = false;
};

// Works out the new calibration in double precision. A sensor whose two barcode
// numbers are equal, a span of zero or below, or an offset or scaling outside its
// register gives an invalid result instead of a wrapped or truncated one.
Recalibration recalibrate(const Calibration& old, BarcodeDigits oldSensor, BarcodeDigits newSensor);

}  // namespace vantrel::service
