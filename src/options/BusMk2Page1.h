#pragma once
// "Option - BUS mk2 page 1": the settings every Mk2 bus card shares for positioning
// and for loss of signal or communications, and the analogue input calibration.
#include "options/OptionPage.h"

namespace vantrel::options {

class COptTabBus1 : public OptionPage {
public:
    explicit COptTabBus1(shell::Context& context);
    const char* className() const override { return "COptTabBus1"; }

    void calibrate();

protected:
    image::FrameSequence frames() const override;
};

}  // namespace vantrel::options
