#include "pages/Esd.h"

#include "pages/ConfigSheet.h"

namespace vantrel::pages {

namespace {

constexpr uint8_t kTimerBypassRegister = 62;
constexpr uint8_t kEsdRegister = 65;
constexpr uint8_t kLocalStopRegister = 66;
// Byte 62 goes back as the middle byte of the three read and written at 61.
constexpr uint8_t kTimerBypassWriteRegister = 61;

constexpr uint8_t kActionBits = 0x18;
constexpr uint8_t kBreakBit = 0x20;
constexpr uint8_t kThermostatBit = 0x40;
constexpr uint8_t kInterlockBit = 0x80;
constexpr uint8_t kLocalStopBit = 0x01;
constexpr uint8_t kTimerBypassBit = 0x01;
// Byte 65's bits 3 to 7 all belong to this page.
constexpr uint8_t kEsdBits = 0xF8;

constexpr uint32_t kClose = 0;
constexpr uint32_t kOpen = 1;
constexpr uint32_t kStayPut = 2;
constexpr uint32_t kMake = 0;
constexpr uint32_t kBreak = 1;
// The choice shown for the unused action value 3: "Close", second of the three.
constexpr int kCloseChoice = 1;

}  // namespace

CConfTab5::CConfTab5(shell::Context& context) : ConfigPage(context, kEsd, PageRules{}) {
    // The two choice groups side by side, each under its name.
    section({}, 2, true);
    addLabel("Action").bold = true;
    auto& open = addRadioButton("Open", "Action");
    auto& close = addRadioButton("Close", "Action");
    auto& stay = addRadioButton("Stay put", "Action");
    addLabel("Contact").bold = true;
    auto& make = addRadioButton("Make", "Contact");
    auto& breaks = addRadioButton("Break", "Contact");
    addLabel({});
    field<ChoiceField>(std::vector<ui::RadioButton*>{&open, &close, &stay},
                       std::vector<uint32_t>{kOpen, kClose, kStayPut},
                       regBits(kEsdRegister, kActionBits), defaultOf(kEsdRegister))
        .fallbackChoice = kCloseChoice;
    field<ChoiceField>(std::vector<ui::RadioButton*>{&make, &breaks},
                       std::vector<uint32_t>{kMake, kBreak}, regBits(kEsdRegister, kBreakBit),
                       defaultOf(kEsdRegister));

    section({}, 2);
    check("Thermostat Bypass", regBits(kEsdRegister, kThermostatBit), defaultOf(kEsdRegister));
    check("Local Stop Bypass", regBits(kLocalStopRegister, kLocalStopBit),
          defaultOf(kLocalStopRegister));
    check("Interlock Bypass", regBits(kEsdRegister, kInterlockBit), defaultOf(kEsdRegister));
    check("Timer Bypass", regBits(kTimerBypassRegister, kTimerBypassBit),
          defaultOf(kTimerBypassRegister));

    section({}, 2);
    addSendButton();
    addViewButton();
    addHelpButton();
}

image::FrameSequence CConfTab5::frames() const {
    using namespace image::frames;
    return {unlock(), readModifyWrite(kEsdRegister, {kEsdBits, kLocalStopBit, 0x00}),
            readModifyWrite(kTimerBypassWriteRegister, {0x00, kTimerBypassBit, 0x00}), lock()};
}

}  // namespace vantrel::pages
