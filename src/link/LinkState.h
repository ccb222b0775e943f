#pragma once
// What the link layer needs of the process-wide state: the platform's dialogs (for
// reports), the error-flag word, the shared serial port and its device name. The
// layers above extend it (the image layer adds the configuration image, the shell
// the rest of its state), so a link operation takes the lowest state it needs.
#include <cstdint>
#include <functional>
#include <string>

#include "link/LinkTrace.h"
#include "link/SerialPort.h"
#include "ui/Ui.h"

namespace vantrel::link {

inline constexpr const char* kDefaultPortName = "/dev/ttyUSB0";

struct LinkState {
    explicit LinkState(ui::Ui& ui) : ui(ui) {}
    LinkState(const LinkState&) = delete;
    LinkState& operator=(const LinkState&) = delete;

    ui::Ui& ui;
    uint32_t errorFlags = 0;
    SerialPort port;  // shared by every LinkPort
    std::string portName = kDefaultPortName;
    // The outcome of the last operation in one line, for a status bar ("Update
    // complete: 241 frames"); a reported failure leaves its message here.
    std::string status;
    // Told after each frame exchanged with the actuator; feeds a progress display.
    std::function<void()> frameDone;
    // Frames sent to the actuator so far, whatever came back (a port that did not open
    // sends none): an operation that was there to write and left this unchanged sent
    // nothing.
    uint64_t framesSent = 0;
    // Where every frame and record exchanged is written as it happens (--trace);
    // null, the default, traces nothing. Owned by the program.
    LinkTrace* trace = nullptr;
};

}  // namespace vantrel::link
