#include "shell/ActPassword.h"

#include "image/ValueLists.h"
#include "link/Commands.h"
#include "link/LinkPort.h"

namespace vantrel::shell {

namespace {

constexpr uint8_t kPasswordRegister = 72;
constexpr uint8_t kNothingSelected = 0xFF;  // written when no entry is chosen
constexpr const char* kCouldNotGetData = "Could not get data";
constexpr const char* kCouldNotUnlock = "Could not unlock EEPROM";
constexpr const char* kCouldNotLock = "Could not lock EEPROM";

}  // namespace

CActPassword::CActPassword(Context& context) : ui::Screen("Actuator Password"), context_(context) {
    addLabel("Select New Password from drop down box.");
    password_ = &addComboBox("Password:");
    image::fillHexList(*password_, 0, 255);
    addButton("Read Password", [this] { readPassword(); });
    addButton("Update Password", [this] { updatePassword(); });
    addButton("BACK", [this] { back(); }).isExit = true;
    addPicture();
}

void CActPassword::setUp() {
    context_.defaultView = false;
    password_->selected = -1;
}

void CActPassword::readPassword() {
    link::LinkPort link(context_);
    if (!link.sendCommand(link::READ_REGISTER, kPasswordRegister, 0, 0, 0, true))
        context_.ui.message(kCouldNotGetData);
    // Shown even after a failure: then the byte left in the buffer.
    password_->selected = link.reply(8);
}

void CActPassword::updatePassword() {
    link::LinkPort link(context_);
    // Each frame runs only when the one before succeeded; a failure shows the error
    // dialog and then this screen's own message.
    auto step = [&](uint8_t command, uint8_t address, uint8_t data1, const char* failure) {
        if (link.sendCommand(command, address, data1, 0, 0, true)) return true;
        context_.ui.message(failure);
        return false;
    };
    const uint8_t chosen =
        password_->selected < 0 ? kNothingSelected : static_cast<uint8_t>(password_->selected);
    // The first read only checks that the actuator answers.
    step(link::READ_REGISTER, kPasswordRegister, 0, kCouldNotGetData) &&
        step(link::UNLOCK_EEPROM, 0, 0, kCouldNotUnlock) &&
        step(link::WRITE_REGISTER_BYTE, kPasswordRegister, chosen, kCouldNotGetData) &&
        step(link::LOCK_EEPROM, 0, 0, kCouldNotLock);
}

void CActPassword::back() {
    context_.ui.play(ui::Sound::Menu);
    context_.nextScreen = kConfiguration;
    close();
}

}  // namespace vantrel::shell
