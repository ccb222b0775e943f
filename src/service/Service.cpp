#include "service/Service.h"

#include <algorithm>

#include "image/ImageTransfer.h"
#include "image/ValueLists.h"
#include "link/Commands.h"
#include "link/ErrorFlags.h"
#include "link/LinkPort.h"

namespace vantrel::service {

namespace {

constexpr std::chrono::milliseconds kRepaintEvery{100};

// The two set-up frames: the card's control register 0 cleared, then 80 at 77.
constexpr uint8_t kFirstAddress = 0;
constexpr uint8_t kSecondAddress = 77;
constexpr uint8_t kSecondValue = 80;
constexpr bool kReportOff = false;

}  // namespace

void waitRepainting(shell::Context& context, std::chrono::milliseconds time) {
    context.ui.setBusy(true);
    while (time.count() > 0) {
        const auto slice = std::min(time, kRepaintEvery);
        image::delayMs(static_cast<unsigned>(slice.count()));
        time -= slice;
        context.ui.refresh();
    }
}

bool setUpMultiport(shell::Context& context, const Wait& wait) {
    link::LinkPort link(context);
    if (!context.port.isOpen()) return false;  // "Port did not open" has been shown
    link.sendCommand(link::OPTION_CONTROL, kFirstAddress, 0, 0, 0, kReportOff);
    context.errorFlags &= ~link::kOptionCommsError;
    wait(kMultiportSettle);
    link.sendCommand(link::OPTION_CONTROL, kSecondAddress, kSecondValue, 0, 0, kReportOff);
    context.errorFlags &= ~link::kOptionCommsError;
    wait(kMultiportSettle);
    return true;
}

bool setUpMultiport(shell::Context& context) {
    const bool opened = setUpMultiport(
        context, [&](std::chrono::milliseconds time) { waitRepainting(context, time); });
    context.ui.setBusy(false);
    return opened;
}

CService::CService(shell::Context& context) : NavigationScreen(context, "Calibration Data") {
    section();
    addButton("Read and update calibration data",
              [this] { fetchThenShow(shell::kTorqueCalibration); });
    addButton("Change Torque sensor", [this] { fetchThenShow(shell::kTorqueRecalibration); });
    addButton("Set up Multiport", [this] { setUpMultiport(context_); }).writes = true;
    addNavigationButton("Back", shell::kMainMenu);
    addHelpButton();
}

void CService::fetchThenShow(uint16_t code) {
    if (image::fetchImage(context_)) navigate(code);
}

}  // namespace vantrel::service
