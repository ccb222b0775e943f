#include "shell/ActPassword.h"

#include <array>

#include "image/FrameSequence.h"
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
    addButton("Update Password", [this] { updatePassword(); }).writes = true;
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
        context_.ui.message(ui::MessageKind::Refusal, kCouldNotGetData);
    // Shown even after a failure: then the byte left in the buffer.
    password_->selected = link.reply(8);
}

void CActPassword::updatePassword() {
    const uint8_t chosen =
        password_->selected < 0 ? kNothingSelected : static_cast<uint8_t>(password_->selected);
    // The first read only checks that the actuator answers. Each step has a message of
    // its own, shown after the error dialog when that step fails.
    const image::FrameSequence run = {
        image::frames::fixed(link::READ_REGISTER, kPasswordRegister), image::frames::unlock(),
        image::frames::fixed(link::WRITE_REGISTER_BYTE, kPasswordRegister, chosen),
        image::frames::lock()};
    constexpr std::array<const char*, 4> kFailures = {kCouldNotGetData, kCouldNotUnlock,
                                                      kCouldNotGetData, kCouldNotLock};
    link::LinkPort link(context_);
    const std::size_t done = image::runFrames(link, context_.image, run);
    if (done < run.size()) context_.ui.message(ui::MessageKind::Refusal, kFailures[done]);
}

void CActPassword::back() {
    context_.ui.play(ui::Sound::Menu);
    context_.nextScreen = kConfiguration;
    close();
}

}  // namespace vantrel::shell
