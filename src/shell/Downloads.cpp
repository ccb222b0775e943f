#include "shell/Downloads.h"

#include "image/ImageFile.h"
#include "image/ImageTransfer.h"

namespace vantrel::shell {

CDownloads::CDownloads(Context& context) : NavigationScreen(context, "Download Menu") {
    section();
    addButton("Extract EEPROM", [this] { extract(); });
    addButton("Update EEPROM", [this] { update(); }).writes = true;
    progress_ = &addProgressBar("transfer");
    progress_->visible = false;
    addNavigationButton("Datalogger", kDatalogger);
    addNavigationButton("BACK", kMainMenu).isExit = true;
    addPicture();
    addHelpButton();
}

void CDownloads::extract() {
    setFocus("BACK");
    if (!transfer("Extract", [this] { return image::extractImage(context_); })) return;
    // The end of the long transfer is heard before the save dialog asks for a name.
    context_.ui.play(ui::Sound::End);
    image::SavedFile saved;
    if (image::saveImageFile(context_, &saved))
        context_.status =
            "Extract complete: " + std::to_string(saved.bytes) + " bytes saved to " + saved.name;
    else
        context_.status = "Extract not saved";
}

void CDownloads::update() {
    setFocus("BACK");
    transfer("Update",
             [this] { return image::updateImage(context_, context_.loginLevel != kNotLoggedIn); });
}

bool CDownloads::transfer(const std::string& name, const std::function<bool()>& run) {
    context_.status.clear();
    progress_->value = 0;
    context_.progress = [this](int done, int total) {
        progress_->visible = true;
        progress_->maximum = total;
        progress_->value = done;
        context_.ui.refresh();
    };
    context_.ui.setBusy(true);
    const bool done = run();
    context_.ui.setBusy(false);
    context_.progress = nullptr;
    progress_->visible = false;
    // A failure's report has left its message; a refusal or a cancel leaves none.
    if (!done)
        context_.status =
            context_.status.empty() ? name + " not done" : name + " failed: " + context_.status;
    return done;
}

}  // namespace vantrel::shell
