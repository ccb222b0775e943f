#include "shell/LoginMenu.h"

#include "link/ErrorFlags.h"
#include "link/Report.h"
#include "shell/NewPassword.h"
#include "shell/StatusLine.h"

namespace vantrel::shell {

Cloginmenu::Cloginmenu(Context& context)
    : NavigationScreen(context, "Login"),
      status_(addEdit("", "status")),
      level_(addComboBox("Login Level")),
      password_(addEdit("Password")),
      enter_(addButton("ENTER", [this] { enter(); })),
      change_(addButton("Change password?", [this] { changePassword(); })) {
    enter_.isDefault = true;  // Enter in the password box logs in
    status_.readOnly = true;
    status_.centred = true;
    level_.assign({kUserLevelEntry, kServiceLevelEntry});
    password_.masked = true;
    addNavigationButton("BACK", kMainMenu).isExit = true;
    addPicture();
    addHelpButton();
}

void Cloginmenu::setUp() {
    level_.selected = 0;
    change_.enabled = false;
    setFocus("Password");  // the level is right more often than not
    showStatus();
}

void Cloginmenu::showStatus() {
    switch (context_.loginLevel) {
        case kUser:
            status_.text = kUserLoggedInText;
            break;
        case kService:
            status_.text = kServiceLoggedInText;
            break;
        default:
            status_.text = kNotLoggedInText;
            break;
    }
}

void Cloginmenu::enter() {
    const bool serviceSelected = level_.selected == 1;
    const std::string userPassword =
        context_.settings.read(kSettingsSection, kUserPasswordName, kDefaultUserPassword);
    const std::string servicePassword =
        context_.settings.read(kSettingsSection, kServicePasswordName, kDefaultServicePassword);

    // Any attempt logs out whoever was logged in before.
    context_.loginLevel = kNotLoggedIn;
    link::clearOutcome(context_);
    if (serviceSelected && password_.text == servicePassword)
        context_.loginLevel = kService;
    else if (!serviceSelected && password_.text == userPassword)
        context_.loginLevel = kUser;
    showStatus();

    // Changing a password needs a login: after a failed attempt nobody is logged in,
    // so the button is disabled again.
    change_.enabled = context_.loginLevel != kNotLoggedIn;
    if (context_.loginLevel == kNotLoggedIn) {
        context_.errorFlags |= link::kIncorrectPassword;
        link::reportLinkError(context_);
        return;
    }
    context_.status = std::string("Logged in: ") + loginLevelName(context_.loginLevel);
}

void Cloginmenu::changePassword() {
    CnewPassword screen(context_);
    context_.ui.run(screen);
}

}  // namespace vantrel::shell
