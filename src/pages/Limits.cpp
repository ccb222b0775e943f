#include "pages/Limits.h"

#include <charconv>
#include <cmath>

#include "image/FrameSequence.h"
#include "link/Commands.h"
#include "link/LinkPort.h"

namespace vantrel::pages {

namespace {

constexpr uint8_t kPositionRegister = 0;
constexpr uint8_t kOpenLimitRegister = 68;
constexpr int kReplyData = 8;
constexpr float kTurnPerCount = 1.0f / kCountsPerTurn;
constexpr std::size_t kTypedCharacters = 19;

constexpr double kServiceMinimumTurns = 0.1;
constexpr double kUserMinimumTurns = 2.5;
constexpr double kMostTurns = 9999;
constexpr double kMostPosition = 9999;

constexpr const char* kLoginRequired = "Login is required before this action can be completed.";
constexpr const char* kTurnsOutOfRange = "Turns out of range.";
constexpr const char* kPositionOutOfRange = "Position out of range.";
constexpr const char* kExtractTurnsFirst = "Extract Turns first";
constexpr const char* kPleaseGet = "please get";

std::string fixed2(float value) {
    char text[48];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
}

// WRITE_REGISTER of a count, low byte first.
image::FrameStep writeCount(uint8_t registerAddress, int32_t count) {
    return image::frames::fixed(link::WRITE_REGISTER, registerAddress, static_cast<uint8_t>(count),
                                static_cast<uint8_t>(count >> 8),
                                static_cast<uint8_t>(count >> 16));
}

}  // namespace

float turnsOfCount(int32_t count) {
    return (static_cast<float>(count) - static_cast<float>(kClosedLimitCount)) * kTurnPerCount;
}

int32_t countOfTurns(double turns) {
    return static_cast<int32_t>(turns * kCountsPerTurn + kClosedLimitCount);
}

std::string turnsText(float turns) {
    return fixed2(turns);
}

std::string percentText(float percent) {
    return fixed2(percent) + "%";
}

double typedNumber(const std::string& text) {
    const std::string typed = text.substr(0, kTypedCharacters);
    const char* first = typed.data();
    const char* last = typed.data() + typed.size();
    while (first < last && (*first == ' ' || *first == '\t'))
        ++first;
    if (first < last && *first == '+') ++first;
    double value = 0;
    if (std::from_chars(first, last, value).ec != std::errc()) return 0;
    // "nan" and "inf" are no decimal numbers; a NaN would also pass every range check.
    return std::isfinite(value) ? value : 0;
}

CConfTab2::CConfTab2(shell::Context& context) : NavigationScreen(context, "Set Limits") {
    section({}, 2);
    addButton("Set Close Limit", [this] { setCloseLimit(); }).writes = true;
    addButton("Set Open Limit", [this] { setOpenLimit(); }).writes = true;

    section({}, 3);
    turns_ = &addEdit("Turns");
    addButton(
        "Get", [this] { getTurns(); }, "turnsGet");
    addButton(
        "Send", [this] { sendTurns(); }, "turnsSend")
        .writes = true;
    position_ = &addEdit("Position");
    addButton(
        "Get", [this] { getPosition(); }, "positionGet");
    addButton(
        "Send", [this] { sendPosition(); }, "positionSend")
        .writes = true;
    percent_ = &addEdit("");
    percent_->id = "percent";
    percent_->readOnly = true;

    section();
    addButton("BACK", [this] {
        context_.ui.play(ui::Sound::Menu);
        close();
    });
    addPicture();
}

std::optional<float> CConfTab2::readTurns(uint8_t registerAddress) {
    link::LinkPort link(context_);
    if (!link.sendCommand(link::READ_REGISTER, registerAddress, 0, 0, 0, true)) return std::nullopt;
    const int32_t count = link.reply(kReplyData) + 256 * link.reply(kReplyData + 1) +
                          65536 * link.reply(kReplyData + 2);
    return turnsOfCount(count);
}

bool CConfTab2::loggedIn() {
    if (context_.loginLevel != shell::kNotLoggedIn) return true;
    context_.ui.message(ui::MessageKind::Refusal, kLoginRequired);
    return false;
}

void CConfTab2::getTurns() {
    if (std::optional<float> turns = readTurns(kOpenLimitRegister)) {
        turns_->text = turnsText(*turns);
        openLimitTurns_ = *turns;
    }
}

void CConfTab2::getPosition() {
    if (openLimitTurns_ == 0) {
        context_.ui.message(ui::MessageKind::Refusal, kExtractTurnsFirst);
        return;
    }
    std::optional<float> position = readTurns(kPositionRegister);
    if (!position) return;
    position_->text = turnsText(*position);
    float percent = 0;
    if (*position >= openLimitTurns_)
        percent = 100;
    else if (*position > 0)
        percent = *position * 100 / openLimitTurns_;
    percent_->text = percentText(percent);
}

void CConfTab2::setOpenLimit() {
    link::LinkPort link(context_);
    if (!link.sendCommand(link::READ_REGISTER, kPositionRegister, 0, 0, 0, true)) return;
    const image::FrameSequence run = {
        image::frames::unlock(),
        image::frames::fixed(link::WRITE_REGISTER, kOpenLimitRegister, link.reply(kReplyData),
                             link.reply(kReplyData + 1), link.reply(kReplyData + 2)),
        image::frames::lock()};
    image::runFrames(link, context_.image, run);
}

void CConfTab2::setCloseLimit() {
    const std::optional<float> open = readTurns(kOpenLimitRegister);
    if (!open) return;
    const std::optional<float> position = readTurns(kPositionRegister);
    if (!position) return;
    // The open limit keeps its distance from the valve's present position.
    const float count = (*open - *position) * static_cast<float>(kCountsPerTurn) +
                        static_cast<float>(kClosedLimitCount);
    const image::FrameSequence run = {
        image::frames::unlock(), writeCount(kPositionRegister, kClosedLimitCount),
        writeCount(kOpenLimitRegister, static_cast<int32_t>(count)), image::frames::lock()};
    link::LinkPort link(context_);
    image::runFrames(link, context_.image, run);
}

void CConfTab2::sendTurns() {
    if (!loggedIn()) return;
    const double minimum =
        context_.loginLevel == shell::kService ? kServiceMinimumTurns : kUserMinimumTurns;
    const double turns = typedNumber(turns_->text);
    if (turns < minimum || turns > kMostTurns) {
        context_.ui.message(ui::MessageKind::Refusal, kTurnsOutOfRange);
        return;
    }
    {
        const image::FrameSequence run = {image::frames::unlock(),
                                          writeCount(kOpenLimitRegister, countOfTurns(turns)),
                                          image::frames::lock()};
        link::LinkPort link(context_);
        image::runFrames(link, context_.image, run);
    }
    position_->text = kPleaseGet;
    percent_->text = kPleaseGet;
}

void CConfTab2::sendPosition() {
    if (!loggedIn()) return;
    const double position = typedNumber(position_->text);
    if (position < -kMostPosition || position > kMostPosition) {
        context_.ui.message(ui::MessageKind::Refusal, kPositionOutOfRange);
        return;
    }
    link::LinkPort link(context_);
    const image::FrameSequence run = {writeCount(kPositionRegister, countOfTurns(position))};
    image::runFrames(link, context_.image, run);
}

}  // namespace vantrel::pages
