#include "shell/NewPassword.h"

#include "shell/LoginMenu.h"

namespace vantrel::shell {

CnewPassword::CnewPassword(Context& context)
    : ui::Screen("Enter New Password"),
      context_(context),
      password_((addLabel("Enter New Password, No longer than 12 charactors."),
                 addEdit("New Password"))) {
    // The text above asks for at most 12 characters, but any length is stored.
    addButton("Update Password", [this] { update(); });
    addButton("EXIT", [this] {
        context_.ui.play(ui::Sound::Menu);
        close();
    }).isExit = true;
    addPicture();
    addHelpButton();
}

void CnewPassword::update() {
    const char* name = context_.loginLevel == kService ? kServicePasswordName : kUserPasswordName;
    if (!context_.settings.write(kSettingsSection, name, password_.text))
        context_.ui.message(kPasswordNotStoredText, {}, ui::Icon::Exclamation);
    close();
}

}  // namespace vantrel::shell
