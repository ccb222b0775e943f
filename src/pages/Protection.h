#pragma once
// "Protection": interlocks, conditional control, power-loss inhibit, ten-minute
// back-up, one-second control and the interrupter timer, which runs the valve in
// timed steps near an end of travel.
#include <array>

#include "pages/ConfigPage.h"

namespace vantrel::pages {

class CConfTab4 : public ConfigPage {
public:
    explicit CConfTab4(shell::Context& context);
    const char* className() const override { return "CConfTab4"; }

protected:
    image::FrameSequence frames() const override;
    void afterEnable() override;
    void afterLoad() override;

private:
    // Fills the timer lists from the image while the timer is ticked, else with "NA".
    void buildTimerArea();
    void enableTimerArea();

    CheckField* timer_ = nullptr;
    ui::CheckBox* timerBox_ = nullptr;
    std::array<ListField*, 5> timerLists_{};
};

}  // namespace vantrel::pages
