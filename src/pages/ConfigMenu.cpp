#include "pages/ConfigMenu.h"

#include "image/ImageFile.h"
#include "image/ImageTransfer.h"
#include "link/Commands.h"
#include "link/LinkPort.h"
#include "pages/Limits.h"
#include "shell/ActPassword.h"

namespace vantrel::pages {

namespace {

constexpr uint8_t kCopyDefaultsToCurrent = 0xD1;
constexpr uint8_t kCopyCurrentToDefaults = 0xD4;
constexpr int kProgressMinimum = 1;
constexpr int kProgressMaximum = 100;

constexpr const char* kUpdateCurrentQuestion =
    "Are you sure you want to update the current settings?";
constexpr const char* kUpdateDefaultQuestion =
    "Are you sure you want to update the default settings?";
constexpr const char* kUpdateCaption = "Update";
constexpr const char* kNotLoggedOn = "Not logged on!!";
constexpr const char* kBack = "BACK";

}  // namespace

CConfigMenu::CConfigMenu(shell::Context& context, PageMaker makePage)
    : NavigationScreen(context, "Configuration"), makePage_(std::move(makePage)) {
    section();
    progress_ = &addProgressBar("progress");
    progress_->minimum = kProgressMinimum;
    progress_->maximum = kProgressMaximum;
    progress_->visible = false;
    addButton("View Configuration", [this] { viewConfiguration(); });
    addButton("Limit Setting", [this] { limits(); });
    addButton(kCopyToCurrent, [this] {
        copySettings({ui::QuestionId::CopyDefaultsToCurrent, kUpdateCurrentQuestion, kUpdateCaption,
                      ui::Answer::No},
                     kCopyDefaultsToCurrent);
    }).writes = true;
    addButton(kCopyToDefaults, [this] {
        copySettings({ui::QuestionId::CopyCurrentToDefaults, kUpdateDefaultQuestion, kUpdateCaption,
                      ui::Answer::No},
                     kCopyCurrentToDefaults);
    }).writes = true;
    addButton("Actuator Password", [this] { actuatorPassword(); });
    addNavigationButton(kBack, shell::kMainMenu);
    addPicture();
    addHelpButton();
}

void CConfigMenu::setUp() {
    get<ui::Button>(kCopyToDefaults).enabled = context_.loginLevel == shell::kService;
}

void CConfigMenu::viewConfiguration() {
    context_.defaultView = false;
    progress_->value = 0;
    progress_->visible = true;
    context_.ui.refresh();
    if (image::fetchImage(context_, true)) {
        std::unique_ptr<ui::Sheet> sheet = buildSheet(context_, makePage_, *progress_);
        context_.ui.setBusy(false);
        context_.ui.run(*sheet);
    }
    progress_->visible = false;
    setFocus(kBack);
}

void CConfigMenu::limits() {
    CConfTab2 screen(context_);
    context_.ui.run(screen);
    setFocus(kBack);
}

void CConfigMenu::copySettings(const ui::Question& question, uint8_t address) {
    if (context_.ui.question(question)) {
        link::LinkPort link(context_);
        link.sendCommand(link::COPY_SETTINGS, address, 0, 0, 0, true);
    }
    setFocus(kBack);
}

void CConfigMenu::actuatorPassword() {
    if (context_.loginLevel == shell::kNotLoggedIn) {
        context_.ui.message(ui::MessageKind::Refusal, kNotLoggedOn);
    } else {
        shell::CActPassword screen(context_);
        context_.ui.run(screen);
    }
    setFocus(kBack);
}

}  // namespace vantrel::pages
