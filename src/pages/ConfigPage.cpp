#include "pages/ConfigPage.h"

#include "image/Checksums.h"
#include "link/ErrorFlags.h"
#include "link/LinkPort.h"
#include "link/Report.h"

namespace vantrel::pages {

ConfigPage::ConfigPage(shell::Context& context, std::string title, PageRules rules)
    : ui::Screen(std::move(title)), context_(context), rules_(rules) {}

ToggleField& ConfigPage::toggle(std::string first, std::string second, Bits bits,
                                std::optional<int> defaultOffset) {
    auto& button = addTwoStateButton(std::move(first), std::move(second), nullptr);
    return field<ToggleField>(button, bits, defaultOffset);
}

CheckField& ConfigPage::check(std::string text, Bits bits, std::optional<int> defaultOffset) {
    return field<CheckField>(addCheckBox(std::move(text)), bits, defaultOffset);
}

ListField& ConfigPage::list(std::string label, Bits bits, std::optional<int> defaultOffset,
                            std::vector<std::string> entries) {
    auto& list = field<ListField>(addComboBox(std::move(label)), bits, defaultOffset);
    list.entries = std::move(entries);
    return list;
}

void ConfigPage::addSendButton() {
    addButton("Send", [this] { send(); }).writes = true;
}

void ConfigPage::addViewButton() {
    viewButton_ = &addButton(kCurrentCaption, [this] { switchView(); });
}

void ConfigPage::clearPage() {
    fields_.clear();
    viewButton_ = nullptr;
    clearControls();
}

void ConfigPage::setUp() {
    acceptEdits_ = false;
    showsDefault_ = false;
    if (rules_.defaultView) context_.defaultView = false;
    if (viewButton_) viewButton_->caption = kCurrentCaption;
    fillLists();
    enableControls();
    load();
}

void ConfigPage::broughtToFront() {
    if (loaded_.bytes != context_.image.bytes) load();
}

void ConfigPage::fillLists() {
    for (const auto& field : fields_)
        if (field->active) field->fill(showsDefault_);
    afterFill();
}

void ConfigPage::enableControls() {
    for (const auto& field : fields_) {
        if (!field->active) continue;
        const bool levelOk = context_.loginLevel >= field->minimumLevel;
        field->control().enabled = levelOk && (!showsDefault_ || field->enabledInDefaultView);
        if (auto* choice = dynamic_cast<ChoiceField*>(field.get()))
            for (ui::RadioButton* radio : choice->choices())
                radio->enabled = field->control().enabled;
    }
    afterEnable();
}

void ConfigPage::load() {
    for (const auto& field : fields_)
        if (field->active) field->load(context_.image, showsDefault_);
    loaded_ = context_.image;
    afterLoad();
}

void ConfigPage::takeEdits() {
    if (!acceptEdits_) return;
    acceptEdits_ = false;
    for (const auto& field : fields_)
        if (field->active && field->control().enabled) field->take(context_.image);
    afterTake();
}

void ConfigPage::switchView() {
    // The page's own view flips, and the shared flag follows the page last switched.
    showsDefault_ = !showsDefault_;
    context_.defaultView = showsDefault_;
    if (viewButton_) viewButton_->caption = showsDefault_ ? kDefaultCaption : kCurrentCaption;
    fillLists();
    enableControls();
    load();
}

void ConfigPage::report(uint32_t flag) {
    context_.errorFlags |= flag;
    link::reportLinkError(context_);
}

bool ConfigPage::mayTake() {
    for (const auto& field : fields_)
        if (field->active && field->control().enabled)
            if (std::optional<std::string> refusal = field->refusal()) {
                context_.ui.message(ui::MessageKind::Refusal, *refusal);
                return false;
            }
    return true;
}

void ConfigPage::send() {
    // A page that shows the default copy, or a sheet switched to it, never writes it
    // back as the current settings.
    if (rules_.defaultView && (showsDefault_ || context_.defaultView)) {
        report(link::kAccessDenied);
        return;
    }
    if (context_.loginLevel == shell::kNotLoggedIn || context_.loginLevel < rules_.sendLevel) {
        report(link::kIncorrectPassword);
        return;
    }
    if (refuse()) return;
    if (!context_.ui.question(
            {ui::QuestionId::SendPage, sendQuestion(), kUpdateCaption, ui::Answer::No})) {
        keepOrDiscard();
        return;
    }
    if (!confirmSend() || !acceptAndTake() || !readyToSend()) return;
    link::LinkPort link(context_);
    if (!context_.port.isOpen()) return;  // "Port did not open" has been shown
    sendFrames(link);
}

bool ConfigPage::acceptAndTake() {
    if (!mayTake()) return false;
    acceptEdits_ = true;
    takeEdits();
    return true;
}

bool ConfigPage::sendFrames(link::LinkPort& link) {
    const image::FrameSequence run = frames();
    return image::runFrames(link, context_.image, run) == run.size();
}

void ConfigPage::keepOrDiscard() {
    if (context_.ui.question({ui::QuestionId::KeepChanges, kKeepQuestion, kUpdateCaption}) &&
        mayTake()) {
        acceptEdits_ = true;
        takeEdits();
        updateChecksums();
    }
    load();
}

void ConfigPage::updateChecksums() {
    if (rules_.checksums & kCurrentChecksum) image::updateCurrentChecksum(context_.image);
    if (rules_.checksums & kManufactureChecksum) image::updateManufactureChecksum(context_.image);
    if (rules_.checksums & kIdentificationChecksum)
        image::updateIdentificationChecksum(context_.image);
}

}  // namespace vantrel::pages
