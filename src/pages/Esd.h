#pragma once
// "ESD": what the actuator does on an emergency shut-down signal, whether the
// contact acts on make or break, and which protections the signal overrides.
#include "pages/ConfigPage.h"

namespace vantrel::pages {

class CConfTab5 : public ConfigPage {
public:
    explicit CConfTab5(shell::Context& context);
    const char* className() const override { return "CConfTab5"; }

protected:
    image::FrameSequence frames() const override;
};

}  // namespace vantrel::pages
