#pragma once
// "Option - Vexlink 2": the loop network card's torque and position reporting, the
// valve travel time, the card's identity and "Initialise", which puts every card
// setting back to its default.
#include "options/OptionPage.h"

namespace vantrel::options {

class COptTab2 : public OptionPage {
public:
    explicit COptTab2(shell::Context& context);
    const char* className() const override { return "COptTab2"; }

    void initialise();

protected:
    image::FrameSequence frames() const override;
};

}  // namespace vantrel::options
