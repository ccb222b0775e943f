#pragma once
// "Multiport" (CMultiport): the settings of a multiport valve unit and the position
// of each of its ports for both directions of travel, in three views switched by one
// button: "Misc", "Clockwise" and "Anti-clock". Each view builds its own controls;
// the values live in the image's bus card area.
#include <array>

#include "pages/ConfigPage.h"

namespace vantrel::service {

inline constexpr int kMaxPorts = 10;
inline constexpr int kMinPorts = 2;

// Image byte of a multiport bus card register (64..99), held as 16 bits little-endian.
constexpr int multiportByte(int busRegister) {
    constexpr int kFirstRegister = 64;
    constexpr int kFirstOffset = 106;
    return image::area::MK2BUS_3.offset + kFirstOffset + 2 * (busRegister - kFirstRegister);
}

// Positions of ports 1 to 10 spaced equally for a number of ports (2..10).
std::array<uint16_t, kMaxPorts> equalSpacing(int ports);

class CMultiport : public pages::ConfigPage {
public:
    enum class View { Misc, Clockwise, AntiClock };

    explicit CMultiport(shell::Context& context);
    const char* className() const override { return "CMultiport"; }
    void setUp() override;
    View view() const { return view_; }
    // Misc, Clockwise and Anti-clock, in the order the view button steps through them.
    int viewCount() const override { return 3; }
    void showView(int view) override;

protected:
    image::FrameSequence frames() const override;
    bool sendFrames(link::LinkPort& link) override;
    void afterLoad() override;
    void afterEnable() override;
    void afterTake() override;
    bool readyToSend() override { return !invalid_; }

private:
    void build(View view);
    void buildMisc();
    void buildPositions();
    void nextView();
    void takeMisc();
    void takePositions();
    void portButton(int port);
    void setHome();
    // The port rows a position view shows: the stored number of ports, at least 2
    // and never beyond the table.
    int rowsShown() const;
    // Bus register of port 1's position in the view shown (80 or 90).
    int firstPositionRegister() const;
    // The image holds the custom open limit flag and the open limit.
    bool openLimitHeld() const;

    View view_ = View::Misc;
    bool invalid_ = false;  // "Open Limit Mode" had no valid entry when last taken
    ui::ComboBox* numberPorts_ = nullptr;
    ui::ComboBox* openLimitMode_ = nullptr;
    ui::CheckBox* portOne_ = nullptr;
    std::array<ui::Edit*, kMaxPorts> positions_{};
};

}  // namespace vantrel::service
