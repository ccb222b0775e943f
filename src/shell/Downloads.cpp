#include "shell/Downloads.h"

#include "image/ImageFile.h"
#include "image/ImageTransfer.h"

namespace vantrel::shell {

CDownloads::CDownloads(Context& context) : NavigationScreen(context, "Download Menu") {
    section();
    addButton("Extract EEPROM", [this] {
        setFocus("BACK");
        context_.ui.setBusy(true);
        const bool extracted = image::extractImage(context_);
        context_.ui.setBusy(false);
        if (!extracted) return;
        // The end of the long transfer is heard before the save dialog asks for a name.
        context_.ui.play(ui::Sound::End);
        image::saveImageFile(context_);
    });
    addButton("Update EEPROM", [this] {
        setFocus("BACK");
        image::updateImage(context_, context_.loginLevel != kNotLoggedIn);
    });
    addNavigationButton("Datalogger", kDatalogger);
    addNavigationButton("BACK", kMainMenu).isExit = true;
    addPicture();
    addHelpButton();
}

}  // namespace vantrel::shell
