#pragma once
// "Re-calibrate torque sensor" (CReCalTS): after the torque sensor was exchanged,
// works out new calibration values from the last five barcode digits of the old and
// the new sensor, and on confirmation stores and sends them.
#include "shell/NavigationScreen.h"

namespace vantrel::service {

// Ids of the four boxes: the first two and the last three barcode digits.
inline constexpr const char* kOldFirstId = "old 12";
inline constexpr const char* kOldLastId = "old 345";
inline constexpr const char* kNewFirstId = "new 12";
inline constexpr const char* kNewLastId = "new 345";

inline constexpr const char* kRangeChanged = "Warning: Range Changed!";
inline constexpr const char* kNormalisationChanged = "Warning: Normalisation Changed!";
inline constexpr const char* kCannotCalculate =
    "ERROR calibration figures can not be calculated correctly";

class CReCalTS : public shell::NavigationScreen {
public:
    explicit CReCalTS(shell::Context& context);
    const char* className() const override { return "CReCalTS"; }

private:
    void recalibrate();
};

}  // namespace vantrel::service
