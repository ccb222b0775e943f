#include "options/Tracklin.h"

#include "link/Commands.h"
#include "link/LinkPort.h"
#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::options {

namespace {

// Card registers 48 to 53 and their bytes in the positioner area.
constexpr int kArea = image::area::TRACKLIN_3.offset;
constexpr CardByte kSignal{48, kArea + 0};  // type in bit 0, range in bits 1-2
constexpr CardByte kActionSignalLoss{49, kArea + 1};
constexpr CardByte kLowSignal{50, kArea + 2};
constexpr CardByte kHighSignal{51, kArea + 3};
constexpr CardByte kDeadband{52, kArea + 4};
constexpr CardByte kMotionInhibit{53, kArea + 5};

constexpr uint32_t kSignalTypeBit = 0x01;
constexpr uint32_t kAboveTypeBit = 0xFE;  // the range in bits 1-2, bits 3-7 cleared
constexpr uint32_t kRangeBits = 0x03;     // of the value shifted down

// The feedback polarity: bit 6 of configuration register 61.
constexpr uint8_t kFeedbackRegister = 61;
constexpr uint8_t kFeedbackBit = 0x40;

constexpr uint16_t kMostSeconds = 255;
constexpr uint16_t kMostPercent = 100;
constexpr float kDeadbandEnd = 9.9f;  // 0.0 .. 9.8
constexpr int kReplyData = 8;

constexpr const char* kSendQuestion =
    "Do you want to send data on this page to Actuator? Excludes cal values ";
constexpr const char* kLowSignalCal = "low signal cal";
constexpr const char* kHighSignalCal = "High signal cal";
constexpr const char* kLowQuestion = "Have you applied the low value signal, to tracklin input";
constexpr const char* kHighQuestion = "Have you applied the high value signal, to tracklin input";

}  // namespace

CTracklin::CTracklin(shell::Context& context) : OptionPage(context, pages::kTracklin) {
    using pages::suffixEntries;
    section();
    byteList("Motion Inhibit Time", kMotionInhibit.offset, suffixEntries(0, kMostSeconds, " Secs"));
    byteList("Deadband", kDeadband.offset, pages::tenthsEntries(0, kDeadbandEnd, " %"));
    byteList(
        "Action Signal Loss", kActionSignalLoss.offset,
        {"Open (off)", "Open (on)", "Close (off)", "Close (on)", "Stayput (off)", "Stayput (on)"});
    byteList("Signal Type", kSignal.offset, {"Current", "Voltage"}, kSignalTypeBit);
    auto& range = byteList("Signal Range", kSignal.offset, {"5", "10", "20"}, kAboveTypeBit);
    range.entryOf = [](uint32_t value) { return static_cast<int>(value & kRangeBits); };
    feedback_ = &list("Trak feedback", pages::regBits(kFeedbackRegister, kFeedbackBit),
                      std::nullopt, {"Low", "High"});

    // Each calibration button with the percentage it sends beside it.
    section({}, 2);
    // The buttons have ids of their own: their captions name the lists.
    addButton(
        kLowSignalCal, [this] { calibrateLow(); }, "lowSignalCal")
        .writes = true;
    field<ListField>(addComboBox("", kLowSignalCal), Bits{kLowSignal.offset}, std::nullopt)
        .entries = suffixEntries(0, kMostPercent, " %");
    addButton(
        kHighSignalCal, [this] { calibrateHigh(); }, "highSignalCal")
        .writes = true;
    field<ListField>(addComboBox("", kHighSignalCal), Bits{kHighSignal.offset}, std::nullopt)
        .entries = suffixEntries(0, kMostPercent, " %");

    versionBox(image::area::OPT_SW_3.offset);

    section();
    addSendButton();
}

std::string CTracklin::sendQuestion() const {
    return kSendQuestion;
}

// Send leaves the two calibration points out.
image::FrameSequence CTracklin::frames() const {
    image::FrameSequence run;
    for (const CardByte& byte : {kMotionInhibit, kDeadband, kActionSignalLoss, kSignal})
        run.push_back(image::frames::optionByte(byte.address, byte.offset));
    return run;
}

bool CTracklin::sendFrames(link::LinkPort& link) {
    const image::FrameSequence card = shownFrames(frames());
    const bool cardWritten = image::runFrames(link, context_.image, card) == card.size();
    // The feedback bit belongs to the actuator, not the card: it is written whatever
    // the card did.
    if (!feedback_->active) return cardWritten;
    const bool feedbackWritten = writeFeedback(link);
    return cardWritten && feedbackWritten;
}

bool CTracklin::writeFeedback(link::LinkPort& link) {
    using namespace image::frames;
    const image::FrameSequence open = {unlock(), fixed(link::READ_REGISTER, kFeedbackRegister)};
    if (image::runFrames(link, context_.image, open) != open.size()) return false;
    const std::array<uint8_t, 3> actuator = {link.reply(kReplyData), link.reply(kReplyData + 1),
                                             link.reply(kReplyData + 2)};
    const auto bytes = image::mergeRegister(
        readModifyWrite(kFeedbackRegister, {kFeedbackBit, 0, 0}), context_.image, actuator);
    // Once unlocked the EEPROM is locked again, whether or not the write went through.
    const image::FrameSequence write = {
        fixed(link::WRITE_REGISTER, kFeedbackRegister, bytes[0], bytes[1], bytes[2])};
    const bool written = image::runFrames(link, context_.image, write) == write.size();
    const image::FrameSequence close = {lock()};
    return image::runFrames(link, context_.image, close) == close.size() && written;
}

void CTracklin::calibrateLow() {
    calibrate(kLowQuestion, kLowSignal);
}

void CTracklin::calibrateHigh() {
    calibrate(kHighQuestion, kHighSignal);
}

void CTracklin::calibrate(const char* question, CardByte point) {
    if (!loggedIn()) return;
    if (!context_.ui.question({ui::QuestionId::OnTheWay, question, pages::kUpdateCaption})) return;
    if (!acceptAndTake()) return;
    link::LinkPort link(context_);
    if (!context_.port.isOpen()) return;  // "Port did not open" has been shown
    const image::FrameSequence run =
        shownFrames({image::frames::optionByte(point.address, point.offset)});
    image::runFrames(link, context_.image, run);
}

}  // namespace vantrel::options
