#pragma once
// "Stop Settings": how a stroke ends, the torque limits, boost, the close indicator
// colour and the closing direction; and "Done", which saves and closes the sheet.
#include "pages/ConfigPage.h"

namespace vantrel::pages {

class CConfTab1 : public ConfigPage {
public:
    explicit CConfTab1(shell::Context& context);
    const char* className() const override { return "CConfTab1"; }

protected:
    image::FrameSequence frames() const override;

private:
    ListField& torqueList(const char* label, int registerAddress, bool withBoost);
};

}  // namespace vantrel::pages
