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

const Field* ConfigPage::fieldOf(const ui::Control& control) const {
    for (const auto& field : fields_) {
        if (!field->active) continue;
        if (&field->control() == &control) return field.get();
        if (auto* choice = dynamic_cast<const ChoiceField*>(field.get()))
            for (const ui::RadioButton* radio : choice->choices())
                if (radio == &control) return field.get();
    }
    return nullptr;
}

void ConfigPage::addSendButton() {
    addButton("Send", [this] { send(); }).writes = true;
}

void ConfigPage::addViewButton() {
    viewButton_ = &addButton(kCurrentCaption, [this] { switchView(); });
    viewButton_->captions[0] = kCurrentCaption;
    viewButton_->captions[1] = kDefaultCaption;
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
    // The page shows the view the shared flag names, so that what it shows is what
    // Send would do; it reloads only when its own view differs or the image changed.
    if (rules_.defaultView && showsDefault_ != context_.defaultView)
        showDefaults(context_.defaultView);
    else if (loaded_.bytes != context_.image.bytes || loaded_.missing != context_.image.missing)
        load();
}

void ConfigPage::markHeld() {
    image::ConfigImage& image = context_.image;
    for (const auto& field : fields_) {
        if (!field->active) continue;
        const int at = field->shownOffset(showsDefault_);
        const int bytes = field->bits().bytes;
        const bool held = image.holds(at, bytes);
        if (!held) {
            // A value is read whole or not at all: no byte of a value cut short is
            // sent or saved on its own.
            for (int i = at; i < at + bytes && i < image::kImageBytes; ++i)
                image.missing.set(static_cast<std::size_t>(i));
        } else if (!field->held) {
            field->fill(showsDefault_);  // its control was emptied
        }
        field->held = held;
    }
    blankUnheld();
}

void ConfigPage::blankUnheld() {
    for (const auto& field : fields_)
        if (field->active && !field->held) field->blank();
}

void ConfigPage::fillLists() {
    markHeld();
    for (const auto& field : fields_)
        if (field->inUse()) field->fill(showsDefault_);
    afterFill();
    blankUnheld();
}

void ConfigPage::enableControls() {
    markHeld();
    for (const auto& field : fields_) {
        if (!field->inUse()) continue;
        const bool levelOk = context_.loginLevel >= field->minimumLevel;
        field->control().enabled = levelOk && (!showsDefault_ || field->enabledInDefaultView);
        if (auto* choice = dynamic_cast<ChoiceField*>(field.get()))
            for (ui::RadioButton* radio : choice->choices())
                radio->enabled = field->control().enabled;
    }
    afterEnable();
    blankUnheld();
}

void ConfigPage::load() {
    markHeld();
    for (const auto& field : fields_)
        if (field->inUse()) field->load(context_.image, showsDefault_);
    loaded_ = context_.image;
    afterLoad();
    blankUnheld();
}

void ConfigPage::takeEdits() {
    if (!acceptEdits_) return;
    acceptEdits_ = false;
    for (const auto& field : fields_)
        if (field->inUse() && field->control().enabled) field->take(context_.image);
    afterTake();
}

void ConfigPage::switchView() {
    // The page's own view flips, and the shared flag follows the page last switched.
    showDefaults(!showsDefault_);
}

void ConfigPage::showDefaults(bool defaults) {
    showsDefault_ = defaults;
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
        if (field->inUse() && field->control().enabled)
            if (std::optional<std::string> refusal = field->refusal()) {
                context_.ui.play(ui::Sound::Critical);
                context_.ui.error(*refusal);
                return false;
            }
    return true;
}

void ConfigPage::send() {
    link::clearOutcome(context_);
    auto stopped = [this] { link::setOutcome(context_, false, {}); };
    // A page that shows the default copy, or a sheet switched to it, never writes it
    // back as the current settings.
    if (rules_.defaultView && (showsDefault_ || context_.defaultView)) {
        report(link::kAccessDenied);
        return stopped();
    }
    if (context_.loginLevel == shell::kNotLoggedIn || context_.loginLevel < rules_.sendLevel) {
        report(link::kIncorrectPassword);
        return stopped();
    }
    if (refuse()) return stopped();
    if (!context_.ui.question(
            {ui::QuestionId::SendPage, sendQuestion(), kUpdateCaption, ui::Answer::No})) {
        keepOrDiscard();
        return;
    }
    if (!confirmSend() || !acceptAndTake() || !readyToSend()) return stopped();
    link::LinkPort link(context_);
    if (!context_.port.isOpen()) return stopped();  // "Port did not open" has been shown
    const bool sent = sendFrames(link);
    link::setOutcome(context_, sent, image::sentText(link.framesSent(), title() + " sent"));
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
    const bool kept =
        context_.ui.question({ui::QuestionId::KeepChanges, kKeepQuestion, kUpdateCaption}) &&
        mayTake();
    if (kept) {
        acceptEdits_ = true;
        takeEdits();
        updateChecksums();
    }
    context_.status = kept ? kChangesKept : kChangesNotKept;
    load();
}

void ConfigPage::updateChecksums() {
    if (rules_.checksums & kCurrentChecksum) image::updateCurrentChecksum(context_.image);
    if (rules_.checksums & kManufactureChecksum) image::updateManufactureChecksum(context_.image);
    if (rules_.checksums & kIdentificationChecksum)
        image::updateIdentificationChecksum(context_.image);
}

}  // namespace vantrel::pages
