#include "shell/NewPassword.h"

#include "shell/LoginMenu.h"

namespace vantrel::shell {

namespace {
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

bool hasControlCharacter(const std::string& text) {
    for (unsigned char c : text)
        if (c < kFirstPrintable || c == kDelete) return true;
    return false;
}
}  // namespace

CnewPassword::CnewPassword(Context& context)
    : ui::Screen("Enter New Password"),
      context_(context),
      password_((addLabel("Enter New Password, No longer than 12 charactors."),
                 addEdit("New Password"))) {
    // The text above asks for at most 12 characters, but any length is stored.
    addButton("Update Password", [this] { update(); }).isDefault = true;
    addButton("EXIT", [this] {
        context_.ui.play(ui::Sound::Menu);
        close();
    }).isExit = true;
    addPicture();
    addHelpButton();
}

void CnewPassword::update() {
    // Refused with the screen left open, so the text can be corrected.
    if (password_.text.empty()) {
        context_.ui.message(ui::MessageKind::Refusal, kPasswordEmptyText, {},
                            ui::Icon::Exclamation);
        return;
    }
    if (hasControlCharacter(password_.text)) {
        context_.ui.message(ui::MessageKind::Refusal, kPasswordControlCharacterText, {},
                            ui::Icon::Exclamation);
        return;
    }
    const char* name = context_.loginLevel == kService ? kServicePasswordName : kUserPasswordName;
    if (!context_.settings.write(kSettingsSection, name, password_.text))
        context_.ui.message(ui::MessageKind::Refusal, kPasswordNotStoredText, {},
                            ui::Icon::Exclamation);
    close();
}

}  // namespace vantrel::shell
