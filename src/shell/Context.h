#pragma once
// The process-wide state of the tool, passed by reference to every screen and
// operation: the error-flag word, the shared serial port, the configuration image,
// the shell's state, the settings store and the platform's dialogs.
#include <cstdint>
#include <string>

#include "image/ConfigImage.h"
#include "link/SerialPort.h"
#include "shell/Settings.h"
#include "ui/Ui.h"

namespace vantrel::shell {

// Screen codes of the screen loop.
enum ScreenCode : uint16_t {
    kMainMenu = 0,
    kExit = 1,
    kDatalogger = 2,
    kDownloads = 3,
    kConfiguration = 5,
    kLogin = 6,
    kVxchat = 7,
    kCalibration = 8,
    kTorqueCalibration = 9,
    kTorqueRecalibration = 10,
    kDiagnostics = 11,
};

// Login levels.
enum LoginLevel : uint8_t { kNotLoggedIn = 0, kUser = 1, kService = 2 };

inline constexpr const char* kDefaultPortName = "/dev/ttyUSB0";

struct Context {
    Context(ui::Ui& ui, Settings& settings) : ui(ui), settings(settings) {}

    ui::Ui& ui;
    Settings& settings;

    uint32_t errorFlags = 0;
    link::SerialPort port;  // shared by every LinkPort
    std::string portName = kDefaultPortName;
    image::ConfigImage image;

    uint16_t nextScreen = kMainMenu;
    uint8_t loginLevel = kNotLoggedIn;
    uint8_t displayScale = 1;
    bool defaultView = false;
};

}  // namespace vantrel::shell
