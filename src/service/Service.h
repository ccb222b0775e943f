#pragma once
// "Calibration Data" (CService), the service menu: fetches the image before the two
// torque calibration screens, and sends the multiport set-up command.
#include <chrono>
#include <functional>

#include "shell/NavigationScreen.h"

namespace vantrel::service {

// The pause after each multiport set-up frame, while the card works on it.
inline constexpr std::chrono::milliseconds kMultiportSettle{2000};

// Waits for the given time with the busy cursor shown, repainting the screens now and
// then so the tool does not look hung.
using Wait = std::function<void(std::chrono::milliseconds)>;
void waitRepainting(shell::Context& context, std::chrono::milliseconds time);

// The two OPTION_CONTROL frames of the multiport set-up, each followed by its pause.
// Refusals and silence are not shown. False only when the port did not open.
bool setUpMultiport(shell::Context& context, const Wait& wait);
bool setUpMultiport(shell::Context& context);

class CService : public shell::NavigationScreen {
public:
    explicit CService(shell::Context& context);
    const char* className() const override { return "CService"; }

private:
    // Fetches the image and goes on to the screen code on success.
    void fetchThenShow(uint16_t code);
};

}  // namespace vantrel::service
