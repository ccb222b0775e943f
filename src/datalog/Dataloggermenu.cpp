#include "datalog/Dataloggermenu.h"

#include "datalog/Extraction.h"

namespace vantrel::datalog {

CDataloggermenu::CDataloggermenu(shell::Context& context)
    : NavigationScreen(context, "Extract Datalogger File") {
    section();
    addButton("Extract", [this] { extract(); });
    section(kStatusId);
    status_ = &addEdit("", kStatusId);
    status_->readOnly = true;
    section();
    addButton("Reset Datalogger", [this] { reset(); });
    addNavigationButton("BACK", shell::kMainMenu).isExit = true;
    addHelpButton();
    addPicture();
}

void CDataloggermenu::showStatus(const std::string& text) {
    status_->text = text;
    context_.ui.refresh();
}

void CDataloggermenu::extract() {
    context_.ui.play(ui::Sound::Menu);
    setFocus("BACK");
    const auto record =
        extractDatalog(context_, clock(), [this](const std::string& text) { showStatus(text); });
    if (!record) {
        outcome_ = Outcome::Abandoned;
        return;
    }
    outcome_ =
        saveDatalog(context_, *record) == SaveResult::Saved ? Outcome::Saved : Outcome::NotSaved;
}

void CDataloggermenu::reset() {
    resetDatalogger(context_);
}

}  // namespace vantrel::datalog
