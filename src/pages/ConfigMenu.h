#pragma once
// The Configuration menu ("Configuration"): the configuration sheet, the limits,
// the two copy commands and the actuator password.
#include "pages/ConfigSheet.h"
#include "shell/NavigationScreen.h"

namespace vantrel::pages {

inline constexpr const char* kCopyToCurrent = "Copy Default settings to Current";
inline constexpr const char* kCopyToDefaults = "Copy Current settings to Default";
inline constexpr const char* kCompareWithFile = "Compare with file...";
inline constexpr const char* kCopyStopped = "Copy stopped";
inline constexpr const char* kNotCopied = "Nothing copied";

class CConfigMenu : public shell::NavigationScreen {
public:
    CConfigMenu(shell::Context& context, PageMaker makePage);
    const char* className() const override { return "CConfigMenu"; }
    // Enables "Copy Current settings to Default" at the Service level only.
    void setUp() override;

    // "View Configuration": fetches the image, builds the sheet and shows it.
    void viewConfiguration();
    // "Compare with file...": fetches the image as "View Configuration" does, asks for
    // an image file and shows the sheet with every control whose value differs in
    // that file marked, and the tabs that hold one.
    void compareWithFile();

private:
    void copySettings(const ui::Question& question, uint8_t address, const char* doneText);
    void actuatorPassword();
    void limits();

    PageMaker makePage_;
    ui::ProgressBar* progress_;
};

}  // namespace vantrel::pages
