#pragma once
// "ZRT": the part-turn unit's model, its speeds, and (at the Service level) its
// ramps and PI controller settings.
#include "options/OptionPage.h"

namespace vantrel::options {

class CZrtTab : public OptionPage {
public:
    explicit CZrtTab(shell::Context& context);
    const char* className() const override { return "CZrtTab"; }

protected:
    image::FrameSequence frames() const override;
};

}  // namespace vantrel::options
