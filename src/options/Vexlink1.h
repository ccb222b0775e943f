#pragma once
// "Option - Vexlink 1": the loop network card's address, baud rate, positioner
// limits, deadband, hysteresis and auxiliary mask.
#include "options/OptionPage.h"

namespace vantrel::options {

class COptTab1 : public OptionPage {
public:
    explicit COptTab1(shell::Context& context);
    const char* className() const override { return "COptTab1"; }

protected:
    image::FrameSequence frames() const override;
};

}  // namespace vantrel::options
