#pragma once
// The serial port chooser of the main menu ("Port..."): lists the serial devices
// present with their state, marks the port the tool uses now, and on OK makes the
// chosen one the tool's port and stores it as "Port" in the settings.
#include <vector>

#include "link/PortList.h"
#include "shell/NavigationScreen.h"

namespace vantrel::shell {

inline constexpr const char* kPortSettingName = "Port";
inline constexpr const char* kPortPickerTitle = "Serial Port";
inline constexpr const char* kPortListLabel = "Port";
// Appended to the entry of the port the tool uses now.
inline constexpr const char* kInUseNowMark = " (in use now)";
inline constexpr const char* kNoPortsFound = "No serial ports found";
inline constexpr const char* kPortNotStored =
    "The port is used until the tool ends, but could not be stored in the settings: ";

class CPortPicker : public NavigationScreen {
public:
    explicit CPortPicker(Context& context, link::PortRoots roots = {});
    const char* className() const override { return "CPortPicker"; }
    // Lists the ports afresh each time the screen is shown.
    void setUp() override;

    const std::vector<link::PortEntry>& ports() const { return ports_; }

private:
    void choose();

    link::PortRoots roots_;
    std::vector<link::PortEntry> ports_;
};

}  // namespace vantrel::shell
