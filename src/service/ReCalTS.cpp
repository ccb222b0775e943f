#include "service/ReCalTS.h"

#include "image/FrameSequence.h"
#include "link/LinkPort.h"
#include "pages/UnsignedField.h"
#include "service/TorqueCalibration.h"

namespace vantrel::service {

namespace {

constexpr int kFirstDigits = 2;
constexpr int kLastDigits = 3;
constexpr const char* kSendQuestion = "Do you want to send updates to Actuator?";
constexpr const char* kUpdateCaption = "Update";
constexpr const char* kBack = "BACK";

// An empty or non-numeric box counts as 0.
unsigned boxValue(const ui::Screen& screen, const char* id) {
    return pages::unsignedValue(screen.get<ui::Edit>(id).text).value_or(0);
}

}  // namespace

CReCalTS::CReCalTS(shell::Context& context)
    : NavigationScreen(context, "Re-calibrate torque sensor") {
    auto boxes = [this](const char* label, const char* firstId, const char* lastId) {
        addLabel(label);
        addEdit("", firstId).maxLength = kFirstDigits;
        addEdit("", lastId).maxLength = kLastDigits;
    };
    section({}, 3);
    boxes("Enter last 5 digits of old barcode", kOldFirstId, kOldLastId);
    // The hint "12     345 " shows which digits go in which box. The boxes stretch
    // with the window, so each part of it sits under its own box.
    addLabel("", "hint spacer");
    addLabel("12", "hint 12");
    addLabel("345", "hint 345");
    boxes("Enter last 5 digits of new barcode", kNewFirstId, kNewLastId);

    section({}, 2);
    addButton("re - calibrate", [this] { recalibrate(); }).writes = true;
    addNavigationButton(kBack, shell::kCalibration);
}

void CReCalTS::recalibrate() {
    setFocus(kBack);
    const BarcodeDigits oldSensor{boxValue(*this, kOldFirstId), boxValue(*this, kOldLastId)};
    const BarcodeDigits newSensor{boxValue(*this, kNewFirstId), boxValue(*this, kNewLastId)};
    const Recalibration result =
        service::recalibrate(readCalibration(context_.image), oldSensor, newSensor);

    if (result.rangeChanged) context_.ui.message(ui::MessageKind::Note, kRangeChanged);
    if (result.normalisationChanged)
        context_.ui.message(ui::MessageKind::Note, kNormalisationChanged);
    if (!result.valid) {
        context_.ui.message(ui::MessageKind::Refusal, kCannotCalculate);
        return;
    }
    if (!context_.ui.question(
            {ui::QuestionId::SendRecalibration, kSendQuestion, kUpdateCaption, ui::Answer::No}))
        return;
    storeCalibration(context_.image, result.values);

    link::LinkPort link(context_);
    if (context_.port.isOpen()) image::runFrames(link, context_.image, calibrationFrames(true));
}

}  // namespace vantrel::service
