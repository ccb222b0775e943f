#include "shell/Downloads.h"

namespace vantrel::shell {

CDownloads::CDownloads(Context& context) : NavigationScreen(context, "Download Menu") {
    section();
    // The whole-image transfer and the datalogger come with later work: shown, but
    // disabled until their operations are wired in.
    addButton("Extract EEPROM", nullptr).enabled = false;
    addButton("Update EEPROM", nullptr).enabled = false;
    addNavigationButton("Datalogger", kDatalogger).enabled = false;
    addNavigationButton("BACK", kMainMenu);
    addPicture();
    addHelpButton();
}

}  // namespace vantrel::shell
