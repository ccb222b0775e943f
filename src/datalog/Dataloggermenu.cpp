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
    // The blocks that came with an error, kept after the status line has moved on.
    badBlocks_ = &addLabel("", kBadBlocksId);
    badBlocks_->visible = false;
    section();
    addButton("Reset Datalogger", [this] { reset(); }).writes = true;
    addNavigationButton("BACK", shell::kMainMenu).isExit = true;
    addHelpButton();
    addPicture();
}

void CDataloggermenu::showStatus(const std::string& text) {
    status_->text = text;
    context_.ui.refresh();
}

namespace {

std::vector<int> flaggedBlocks(const DatalogRecord& record) {
    std::vector<int> numbers;
    for (int n = 0; n < kBlockNumbers; ++n)
        if (record.blockErrors[n]) numbers.push_back(n);
    return numbers;
}

// "5, 6": the numbers of the blocks that came with an error.
std::string blockList(const std::vector<int>& numbers) {
    std::string list;
    for (int n : numbers)
        list += (list.empty() ? "" : ", ") + std::to_string(n);
    return list;
}

}  // namespace

void CDataloggermenu::extract() {
    context_.ui.play(ui::Sound::Menu);
    setFocus("BACK");
    context_.status.clear();
    badBlocks_->visible = false;
    badBlockNumbers_.clear();
    const auto record =
        extractDatalog(context_, clock(), [this](const std::string& text) { showStatus(text); });
    if (!record) {
        outcome_ = Outcome::Abandoned;
        context_.status = context_.status.empty() ? "Datalogger not extracted"
                                                  : "Datalogger failed: " + context_.status;
        return;
    }
    // The bad blocks went by one line each; the status line keeps them all.
    badBlockNumbers_ = flaggedBlocks(*record);
    const size_t bad = badBlockNumbers_.size();
    const std::string list = blockList(badBlockNumbers_);
    badBlocks_->text = "Bad blocks: " + list;
    badBlocks_->visible = bad > 0;
    outcome_ =
        saveDatalog(context_, *record) == SaveResult::Saved ? Outcome::Saved : Outcome::NotSaved;
    if (outcome_ != Outcome::Saved)
        context_.status = "Datalogger not saved";
    else if (bad == 0)
        context_.status = "Datalogger saved";
    else
        context_.status = "Datalogger saved with " + std::to_string(bad) +
                          (bad == 1 ? " bad block: " : " bad blocks: ") + list;
}

void CDataloggermenu::reset() {
    resetDatalogger(context_);
}

}  // namespace vantrel::datalog
