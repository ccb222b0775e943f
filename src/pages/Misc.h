#pragma once
// "Misc": the power supply type and, for each direction of travel, the quadratic,
// linear and constant terms and the stall percentage. Only the Service level may
// change the travel numbers or send the page.
#include "pages/ConfigPage.h"

namespace vantrel::pages {

class CConfTab7 : public ConfigPage {
public:
    explicit CConfTab7(shell::Context& context);
    const char* className() const override { return "CConfTab7"; }

protected:
    image::FrameSequence frames() const override;

private:
    void direction(const char* name, int firstRegister);
};

}  // namespace vantrel::pages
