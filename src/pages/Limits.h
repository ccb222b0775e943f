#pragma once
// "Set Limits": the two ends of the valve's travel, read and written on the
// actuator at once (not through the image).
#include <optional>

#include "shell/NavigationScreen.h"

namespace vantrel::pages {

// Positions: 24-bit counts, 48 a turn, the closed limit at 1703936.
inline constexpr int32_t kClosedLimitCount = 1703936;
inline constexpr int kCountsPerTurn = 48;

// Turns of a count, in single precision as the actuator's tools compute them.
float turnsOfCount(int32_t count);
// The count of a number of turns, truncated toward zero.
int32_t countOfTurns(double turns);
// "12.50", "0.25", "-3.00"; and "45.67%".
std::string turnsText(float turns);
std::string percentText(float percent);
// The leading number of at most 19 typed characters; nothing when there is none.
std::optional<double> typedNumber(const std::string& text);

class CConfTab2 : public shell::NavigationScreen {
public:
    explicit CConfTab2(shell::Context& context);
    const char* className() const override { return "CConfTab2"; }

    // The buttons' operations, for the command line.
    void setCloseLimit();
    void setOpenLimit();
    void getTurns();
    void sendTurns();
    void getPosition();
    void sendPosition();

    // The open-limit turns last read by Turns "Get".
    float openLimitTurns() const { return openLimitTurns_; }

private:
    // Reads a position register in turns; nothing when the read failed.
    std::optional<float> readTurns(uint8_t registerAddress);
    bool loggedIn();

    ui::Edit* turns_;
    ui::Edit* position_;
    ui::Edit* percent_;
    float openLimitTurns_ = 0;
};

}  // namespace vantrel::pages
