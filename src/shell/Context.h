#pragma once
// The process-wide state of the tool, passed by reference to every screen and
// operation: the image layer's state (the platform's dialogs, the error-flag word,
// the shared serial port, the configuration image), the shell's own state and the
// settings store. Link and image operations take it as their lower state.
#include <cstdint>
#include <functional>

#include "image/ImageState.h"
#include "shell/Settings.h"

namespace vantrel::ui {
class Sheet;
}

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

using link::kDefaultPortName;

struct Context : image::ImageState {
    Context(ui::Ui& ui, Settings& settings) : image::ImageState(ui), settings(settings) {}

    Settings& settings;

    // Marks every control of the sheet's pages whose value differs in the other
    // image, and so their tabs; set by the programs, which hold the code that reads
    // settings by name. Without it the Configuration menu does not compare.
    std::function<void(ui::Sheet& sheet, const image::ConfigImage& other)> markDifferences;

    uint16_t nextScreen = kMainMenu;
    uint8_t loginLevel = kNotLoggedIn;
    uint8_t displayScale = 1;
    bool defaultView = false;
};

}  // namespace vantrel::shell
