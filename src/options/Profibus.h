#pragma once
// "Option - Profibus": the Profibus Mk2 card's station address, GSD lock, redundancy
// mode and identity number, with the card's software and identity texts. An early
// card takes the lock byte as a bus register and needs a power cycle for it.
#include "options/OptionPage.h"

namespace vantrel::options {

class CProfibusTab : public OptionPage {
public:
    explicit CProfibusTab(shell::Context& context);
    const char* className() const override { return "CProfibusTab"; }

protected:
    image::FrameSequence frames() const override;
    bool confirmSend() override;
    void afterFill() override;
    void afterEnable() override;
    void afterTake() override;

private:
    // An early card's software identity ends in '0' to '4'.
    bool earlyCard() const;
    // The card offers the redundancy modes when its identity text says so.
    bool redundancyOffered() const;

    ListField* redundantMode_;
};

}  // namespace vantrel::options
