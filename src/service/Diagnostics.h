#pragma once
// The diagnostics screen ("Diagnostics ", CDiagnostics): fifteen fault and status
// indicators, read from the actuator only when "Update" is pressed.
#include <array>
#include <cstdint>
#include <optional>

#include "shell/NavigationScreen.h"

namespace vantrel::service {

inline constexpr int kIndicatorCount = 15;

// The indicator texts in screen order: the left column from the top, then the right.
extern const std::array<const char*, kIndicatorCount> kIndicatorTexts;

// The five values an update reads; a value whose read failed is empty.
struct DiagnosticReadings {
    std::optional<uint16_t> status;    // register 145 (low) and 146 (high)
    std::optional<uint16_t> stall;     // register 93 (low) and 94 (high)
    std::optional<uint8_t> torqueOff;  // register 4
    std::optional<uint8_t> input;      // READ_STATUS at 132
    std::optional<uint8_t> interlock;  // register 67
};

// Which indicators the readings light, in screen order. An indicator that depends
// on a value that could not be read stays clear.
std::array<bool, kIndicatorCount> litIndicators(const DiagnosticReadings& readings);

class CDiagnostics : public shell::NavigationScreen {
public:
    explicit CDiagnostics(shell::Context& context);
    const char* className() const override { return "CDiagnostics"; }

    // Reads the five values (each failure reported as it happens) and redraws.
    void update();
    // Whether the last update could open the port at all.
    bool portOpened() const { return portOpened_; }

private:
    std::array<ui::Lamp*, kIndicatorCount> lamps_{};
    bool portOpened_ = false;
};

}  // namespace vantrel::service
