#include "shell/MainMenu.h"

#include "shell/AboutBox.h"
#include "shell/PortPicker.h"

namespace vantrel::shell {

namespace {
// The screen here is never the 480-pixel handheld display, so no control positions
// are doubled.
constexpr uint8_t kDisplayScale = 1;
}  // namespace

CMainMenu::CMainMenu(Context& context) : NavigationScreen(context, "Main Menu") {
    section();
    addNavigationButton("LOGIN", kLogin);
    addNavigationButton("CONFIGURATION", kConfiguration);
    addNavigationButton("DOWNLOADS", kDownloads);
    addNavigationButton("DIAGNOSTICS", kDiagnostics);
    addNavigationButton("vxchat", kVxchat);
    addNavigationButton("Calibrate", kCalibration);
    addButton("About...", [this] { showAbout(); });
    addButton("Port...", [this] { choosePort(); });
    addNavigationButton("EXIT", kExit).isExit = true;
    setExitsOnEscape(false);
    addPicture();
    addHelpButton();
}

void CMainMenu::setUp() {
    context_.displayScale = kDisplayScale;
    const bool service = context_.loginLevel == kService;
    get<ui::Button>("vxchat").visible = service;
    get<ui::Button>("Calibrate").visible = service;
}

void CMainMenu::showAbout() {
    CAboutBox about;
    context_.ui.run(about);
    setFocus("EXIT");
}

void CMainMenu::choosePort() {
    CPortPicker picker(context_);
    context_.ui.run(picker);
}

}  // namespace vantrel::shell
