#include "registry/ScreenRegistry.h"

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
#include "shell/ScreenLoop.h"

namespace vantrel::registry {

std::unique_ptr<ui::Screen> makeScreen(shell::Context& context, uint16_t code) {
    switch (code) {
        case shell::kMainMenu:
            return std::make_unique<shell::CMainMenu>(context);
        case shell::kDatalogger:
            return std::make_unique<datalog::CDataloggermenu>(context);
        case shell::kConfiguration:
            return std::make_unique<pages::CConfigMenu>(context, makePage);
        case shell::kDownloads:
            return std::make_unique<shell::CDownloads>(context);
        case shell::kLogin:
            return std::make_unique<shell::Cloginmenu>(context);
        case shell::kVxchat:
            return std::make_unique<service::CVxchat>(context);
        case shell::kCalibration:
            return std::make_unique<service::CService>(context);
        case shell::kTorqueCalibration:
            return std::make_unique<service::CTrqCalib>(context);
        case shell::kTorqueRecalibration:
            return std::make_unique<service::CReCalTS>(context);
        case shell::kDiagnostics:
            return std::make_unique<service::CDiagnostics>(context);
        default:
            return nullptr;
    }
}

void runProgram(shell::Context& context) {
    shell::runScreenLoop(context, makeScreen);
}

}  // namespace vantrel::registry
