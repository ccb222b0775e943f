#pragma once
// The main menu ("Main Menu"): the root of every chain of screens.
#include "shell/NavigationScreen.h"

namespace vantrel::shell {

class CMainMenu : public NavigationScreen {
public:
    explicit CMainMenu(Context& context);
    const char* className() const override { return "CMainMenu"; }
    // Sets the display scale and shows the service buttons at the Service level only.
    void setUp() override;

private:
    void showAbout();
    void choosePort();
};

}  // namespace vantrel::shell
