#include "shell/ScreenLoop.h"

#include "datalog/Dataloggermenu.h"
#include "pages/ConfigMenu.h"
#include "registry/SheetPages.h"
#include "service/Diagnostics.h"
#include "service/ReCalTS.h"
#include "service/Service.h"
#include "service/TrqCalib.h"
#include "service/Vxchat.h"
#include "shell/Downloads.h"
#include "shell/LoginMenu.h"
#include "shell/MainMenu.h"

namespace vantrel::shell {

std::unique_ptr<ui::Screen> makeScreen(Context& context, uint16_t code) {
    switch (code) {
        case kMainMenu:
            return std::make_unique<CMainMenu>(context);
        case kDatalogger:
            return std::make_unique<datalog::CDataloggermenu>(context);
        case kConfiguration:
            return std::make_unique<pages::CConfigMenu>(context, registry::makePage);
        case kDownloads:
            return std::make_unique<CDownloads>(context);
        case kLogin:
            return std::make_unique<Cloginmenu>(context);
        case kVxchat:
            return std::make_unique<service::CVxchat>(context);
        case kCalibration:
            return std::make_unique<service::CService>(context);
        case kTorqueCalibration:
            return std::make_unique<service::CTrqCalib>(context);
        case kTorqueRecalibration:
            return std::make_unique<service::CReCalTS>(context);
        case kDiagnostics:
            return std::make_unique<service::CDiagnostics>(context);
        default:
            return nullptr;
    }
}

void runScreenLoop(Context& context) {
    context.loginLevel = kNotLoggedIn;
    context.nextScreen = kMainMenu;
    while (context.nextScreen != kExit) {
        auto screen = makeScreen(context, context.nextScreen);
        if (!screen) {
            // A code without a screen would otherwise be tested again for ever;
            // the main menu is always there to go back to.
            context.nextScreen = kMainMenu;
            continue;
        }
        context.ui.run(*screen);
    }
}

}  // namespace vantrel::shell
