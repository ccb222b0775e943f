#pragma once
// "Torque calibration data" (CTrqCalib): five of the torque sensor's calibration
// values as numbers, sent byte by byte at the Service level. It shares the pages'
// Send and keep-changes behaviour, with no Default view of its own.
#include "pages/ConfigPage.h"

namespace vantrel::service {

// The boxes, in screen order.
inline constexpr const char* kClockwiseOffset = "Clockwise Offset";
inline constexpr const char* kAntiClockwiseOffset = "Anti Clockwise Offset";
inline constexpr const char* kClockwiseScaling = "Clockwise Scaling";
inline constexpr const char* kAntiClockwiseScaling = "Anti Clockwise Scaling";
inline constexpr const char* kGain = "Gain";

class CTrqCalib : public pages::ConfigPage {
public:
    explicit CTrqCalib(shell::Context& context);
    const char* className() const override { return "CTrqCalib"; }

protected:
    image::FrameSequence frames() const override;
};

}  // namespace vantrel::service
