#pragma once
// "Control": where the actuator takes its run commands from — the remote control
// source, the two-wire priority, the local control mode and the infrared setting,
// bit fields of registers 65 to 67 sent with one read-modify-write.
#include "pages/ConfigPage.h"

namespace vantrel::pages {

class CConfTab8 : public ConfigPage {
public:
    explicit CConfTab8(shell::Context& context);
    const char* className() const override { return "CConfTab8"; }

protected:
    image::FrameSequence frames() const override;
};

}  // namespace vantrel::pages
