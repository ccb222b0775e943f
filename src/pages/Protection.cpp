#include "pages/Protection.h"

#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::pages {

namespace {

constexpr uint8_t kBackUpRegister = 60;
constexpr uint8_t kTimerFlagsRegister = 61;  // also power-loss inhibit
constexpr uint8_t kParityPairRegister = 65;
constexpr uint8_t kControlRegister = 66;
constexpr uint8_t kInterlockRegister = 67;
// The timer's own bytes, which have no default copy.
constexpr uint8_t kTimerOffRegister = 75;
constexpr uint8_t kTimerOnRegister = 76;
constexpr uint8_t kOpenPercentRegister = 77;
constexpr uint8_t kClosePercentRegister = 78;

constexpr uint8_t kInterlocksBit = 0x40;
constexpr uint8_t kConditionalBit = 0x04;
constexpr uint8_t kPowerLossBit = 0x08;
constexpr uint8_t kBackUpBit = 0x40;
constexpr uint8_t kOneSecondBit = 0x40;
constexpr uint8_t kTimerBit = 0x10;
constexpr uint8_t kEndOfTravelBit = 0x80;

constexpr uint16_t kHighestPercent = 100;
constexpr uint16_t kHighestSeconds = 255;
constexpr const char* kNotApplicable = "NA";

}  // namespace

CConfTab4::CConfTab4(shell::Context& context) : ConfigPage(context, kProtection, PageRules{}) {
    section({}, 2);
    check("Interlocks", regBits(kInterlockRegister, kInterlocksBit), defaultOf(kInterlockRegister));
    check("Conditional Control", regBits(kControlRegister, kConditionalBit),
          defaultOf(kControlRegister));
    check("Power loss inhibit", regBits(kTimerFlagsRegister, kPowerLossBit),
          defaultOf(kTimerFlagsRegister));
    check("Ten min back up", regBits(kBackUpRegister, kBackUpBit), defaultOf(kBackUpRegister));
    check("One second control", regBits(kControlRegister, kOneSecondBit),
          defaultOf(kControlRegister));
    timer_ = &check("Interrupter timer", regBits(kTimerFlagsRegister, kTimerBit),
                    defaultOf(kTimerFlagsRegister));
    timerBox_ = &static_cast<ui::CheckBox&>(timer_->control());
    timerBox_->onChange = [this] { buildTimerArea(); };

    // "Close %" and "Open %" share a row; the other lists stand alone in the first
    // column, with an empty cell beside them so that the columns line up.
    section({}, 2);
    const auto percents = numberEntries(0, kHighestPercent);
    const auto seconds = numberEntries(0, kHighestSeconds);
    auto& endOfTravel = list("Timer end of travel", regBits(kTimerFlagsRegister, kEndOfTravelBit),
                             defaultOf(kTimerFlagsRegister), {"Close", "Open"});
    addLabel({});
    auto& closePercent = list("Close %", regBits(kClosePercentRegister), std::nullopt, percents);
    auto& openPercent = list("Open %", regBits(kOpenPercentRegister), std::nullopt, percents);
    auto& onTime = list("Timer On in Secs", regBits(kTimerOnRegister), std::nullopt, seconds);
    addLabel({});
    auto& offTime = list("Timer Off in Secs", regBits(kTimerOffRegister), std::nullopt, seconds);
    addLabel({});
    timerLists_ = {&endOfTravel, &closePercent, &openPercent, &onTime, &offTime};

    section({}, 2);
    addSendButton();
    addViewButton();
    addHelpButton();
}

void CConfTab4::afterEnable() {
    // The timer may be switched only by the Service level, or when the actuator's
    // default settings have it on.
    const bool timerInDefaults = timer_->stored(context_.image, true) != 0;
    if (!showsDefault() && !timerInDefaults && context_.loginLevel < shell::kService)
        timerBox_->enabled = false;
    enableTimerArea();
}

void CConfTab4::afterLoad() {
    buildTimerArea();
}

void CConfTab4::buildTimerArea() {
    // Ticking the box again shows the values stored, not those chosen before.
    for (ListField* field : timerLists_) {
        if (!field->held) continue;  // stays empty
        auto& list = static_cast<ui::ComboBox&>(field->control());
        if (timerBox_->checked) {
            field->fill(showsDefault());
            field->load(context_.image, showsDefault());
        } else {
            list.assign({kNotApplicable});
            list.selected = 0;
        }
    }
    enableTimerArea();
}

void CConfTab4::enableTimerArea() {
    // Disabled lists are not taken, so the timer bytes change only while it is on.
    for (ListField* field : timerLists_)
        field->control().enabled = field->held && timerBox_->checked && !showsDefault();
}

image::FrameSequence CConfTab4::frames() const {
    using namespace image::frames;
    image::FrameSequence steps = {
        unlock(),
        readModifyWrite(kParityPairRegister,
                        {0x00, kConditionalBit | kOneSecondBit, kInterlocksBit}),
        readModifyWrite(kBackUpRegister, {kBackUpBit, kPowerLossBit | kTimerBit, 0x00}),
    };
    if (timerBox_->checked) {
        steps.push_back(writeRegister(kTimerOffRegister));
        steps.push_back(writeRegisterByte(kClosePercentRegister));
        steps.push_back(readModifyWrite(kBackUpRegister, {0x00, kEndOfTravelBit, 0x00}));
    }
    steps.push_back(lock());
    return steps;
}

}  // namespace vantrel::pages
