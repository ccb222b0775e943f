#pragma once
// "Option - BUS mk2 page 2": slow mode, jam and watchdog times, the auxiliary mask,
// the ESD or network-disable input, partial stroke and manual movement of a Mk2
// bus card.
#include "options/OptionPage.h"

namespace vantrel::options {

class COptTabBus2 : public OptionPage {
public:
    explicit COptTabBus2(shell::Context& context);
    const char* className() const override { return "COptTabBus2"; }

protected:
    image::FrameSequence frames() const override;
};

}  // namespace vantrel::options
