#include "options/BusMk2Page1.h"

#include "link/Commands.h"
#include "link/LinkPort.h"
#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::options {

namespace {

// Write addresses (48 + bus register) and bytes of the bus card area.
constexpr int kArea = image::area::MK2BUS_3.offset;
constexpr CardByte kActionLossOfSignal{49, kArea + 0};
constexpr CardByte kPositionerMinimum{50, kArea + 1};
constexpr CardByte kPositionerMaximum{51, kArea + 2};
constexpr CardByte kDeadband{52, kArea + 3};
constexpr CardByte kMotionInhibit{53, kArea + 4};
constexpr CardByte kCommsLossTimeout{58, kArea + 9};
constexpr CardByte kCommsLossPosition{59, kArea + 10};
constexpr CardByte kHysteresis{69, kArea + 19};
// The analogue input reading, bus register 19, low byte first.
constexpr int kAnalogueInput = kArea + 17;
constexpr uint8_t kAnalogueInputRegister = 19;

constexpr uint16_t kMostSeconds = 255;
constexpr uint16_t kMostPercent = 100;
constexpr float kTenthsEnd = 25.6f;  // 0.0 .. 25.5

// Writing this value at address 67 makes the card take its maximum signal reading.
constexpr uint8_t kCalibrationAddress = 67;
constexpr uint8_t kTakeMaximum = 232;
constexpr const char* kCalibrateQuestion =
    "Have you applied the Maximum analogue signal to the terminal bung?";
constexpr const char* kCalibrateCaption = "Analogue";
constexpr const char* kCalibrationFailed = "Failed";
constexpr int kReplyData = 8;
constexpr bool kReport = true;

}  // namespace

COptTabBus1::COptTabBus1(shell::Context& context) : OptionPage(context, pages::kBusMk2Page1) {
    using pages::suffixEntries;
    using pages::tenthsEntries;
    section();
    byteList("Motion Inhibit Time", kMotionInhibit.offset, suffixEntries(0, kMostSeconds, " Secs"));
    byteList("Positioner Minimum", kPositionerMinimum.offset, suffixEntries(0, kMostPercent, " %"));
    byteList("Positioner Maximum", kPositionerMaximum.offset, suffixEntries(0, kMostPercent, " %"));
    byteList("Deadband", kDeadband.offset, tenthsEntries(0, kTenthsEnd, " %"));
    byteList("Hysteresis", kHysteresis.offset, tenthsEntries(0, kTenthsEnd, " %"));
    byteList("Action loss of signal", kActionLossOfSignal.offset,
             {"Open (off)", "Open (on)", "Close (off)", "Close (on)", "Stop (off)", "Stop (on)",
              "Position (off)", "Position (on)"});
    byteList("Comms loss timeout", kCommsLossTimeout.offset,
             suffixEntries(0, kMostSeconds, " Secs"));
    byteList("Comms loss Position", kCommsLossPosition.offset,
             suffixEntries(0, kMostPercent, " %"));
    field<pages::ShownField>(addEdit("Analogue Input"), kAnalogueInput, 2,
                             [](const image::ConfigImage& image) {
                                 return std::to_string(image.bytes[kAnalogueInput] +
                                                       256 * image.bytes[kAnalogueInput + 1]);
                             });

    section({}, 2);
    addSendButton();
    addButton("Calibrate", [this] { calibrate(); }).writes = true;
}

image::FrameSequence COptTabBus1::frames() const {
    image::FrameSequence run;
    for (const CardByte& byte :
         {kPositionerMinimum, kPositionerMaximum, kDeadband, kMotionInhibit, kHysteresis,
          kActionLossOfSignal, kCommsLossTimeout, kCommsLossPosition})
        run.push_back(image::frames::optionByte(byte.address, byte.offset));
    return run;
}

void COptTabBus1::calibrate() {
    if (!loggedIn()) return;
    if (!context_.ui.question({ui::QuestionId::OnTheWay, kCalibrateQuestion, kCalibrateCaption}))
        return;
    link::LinkPort link(context_);
    if (!context_.port.isOpen()) return;  // "Port did not open" has been shown
    if (!link.sendCommand(link::WRITE_OPTION_BYTE, kCalibrationAddress, kTakeMaximum, 0, 0,
                          kReport)) {
        context_.ui.message(ui::MessageKind::Refusal, kCalibrationFailed);
        return;
    }
    if (!link.sendCommand(link::READ_BUS_REGISTER, kAnalogueInputRegister, 0, 0, 0, kReport))
        return;
    image::ConfigImage& image = context_.image;
    image.bytes[kAnalogueInput] = link.reply(kReplyData);
    image.bytes[kAnalogueInput + 1] = link.reply(kReplyData + 1);
    image.missing.reset(kAnalogueInput);
    image.missing.reset(kAnalogueInput + 1);
    // Shows the new reading; edits not taken are discarded.
    setUp();
}

}  // namespace vantrel::options
