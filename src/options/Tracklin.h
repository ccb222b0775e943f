#pragma once
// "Option - Tracklin": how the analogue positioner card follows its demand signal,
// the feedback polarity (a bit of the actuator's own configuration) and the
// calibration of the card's low and high signal points.
#include "options/OptionPage.h"

namespace vantrel::options {

class CTracklin : public OptionPage {
public:
    explicit CTracklin(shell::Context& context);
    const char* className() const override { return "CTracklin"; }

    // The two calibrations, as their buttons run them.
    void calibrateLow();
    void calibrateHigh();

protected:
    image::FrameSequence frames() const override;
    bool sendFrames(link::LinkPort& link) override;
    std::string sendQuestion() const override;
    void afterTake() override;

private:
    void calibrate(const char* question, CardByte point);
    // The feedback bit of register 61, by read-modify-write inside unlock and lock.
    bool writeFeedback(link::LinkPort& link);

    pages::ListField* feedback_;
    pages::ListField* signalRange_;
};

}  // namespace vantrel::options
