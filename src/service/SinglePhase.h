#pragma once
// "Single Phase" (CSinglePhase): the start capacitor time and the instant reversal
// time of an actuator with a single-phase motor. No view, no question: each button
// sends its three frames whatever each one answers, then shows the first failure.
#include "pages/ConfigPage.h"

namespace vantrel::service {

class CSinglePhase : public pages::ConfigPage {
public:
    explicit CSinglePhase(shell::Context& context);
    const char* className() const override { return "CSinglePhase"; }

protected:
    image::FrameSequence frames() const override;

private:
    void sendStartTime();
    void setInstantReversal();
    void sendEvery(const image::FrameSequence& steps);
};

}  // namespace vantrel::service
