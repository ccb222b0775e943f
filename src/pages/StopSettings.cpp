#include "pages/StopSettings.h"

#include "image/ValueLists.h"
#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::pages {

namespace {

constexpr uint8_t kTorqueRegisterClose = 42;
constexpr uint8_t kTorqueRegisterOpen = 43;
constexpr uint8_t kBoostRegister = 14;  // manufacture configuration, no default copy
constexpr uint8_t kActionRegister = 61;
constexpr uint8_t kBoostFlagsRegister = 63;
constexpr uint8_t kDirectionRegister = 65;

constexpr uint8_t kProfileBit = 0x80;
constexpr int kLowestTorque = 40;
constexpr int kHighestTorque = 100;
constexpr int kBoostTorque = 101;
constexpr int kBoostPositions = 100;  // 0..99, then "NA" (100)
constexpr int kDefaultViewBoostEntry = 60;

constexpr const char* kProfile = "Profile";
constexpr const char* kBoostNotAvailable = "Boost not available";

}  // namespace

CConfTab1::CConfTab1(shell::Context& context)
    : ConfigPage(context, kStopSettings,
                 PageRules{.checksums = kCurrentChecksum | kManufactureChecksum}) {
    section({}, 2);
    toggle("Close on Torque", "Close On Limit", regBits(kActionRegister, 0x02),
           defaultOf(kActionRegister));
    toggle("Open on Torque", "Open On Limit", regBits(kActionRegister, 0x01),
           defaultOf(kActionRegister));

    section();
    torqueList("Close Torque %", kTorqueRegisterClose, false);
    torqueList("Open Torque %", kTorqueRegisterOpen, true);
    auto positions = numberEntries(0, kBoostPositions - 1);
    positions.push_back("NA");
    list("Boost Position %", regBits(kBoostRegister, 0x7F), std::nullopt, std::move(positions))
        .defaultEntry = kDefaultViewBoostEntry;

    section({}, 3);
    check("5% Boost", regBits(kBoostFlagsRegister, 0x04), defaultOf(kBoostFlagsRegister));
    check("Fetterolf", regBits(kBoostFlagsRegister, 0x02), defaultOf(kBoostFlagsRegister));
    toggle("Boost: Full Stall", "Boost: limited stall", regBits(kBoostRegister, 0x80), std::nullopt)
        .defaultCaption = kBoostNotAvailable;

    section({}, 2);
    toggle("Close LED Green", "Close LED Red", regBits(kActionRegister, 0x04),
           defaultOf(kActionRegister));
    toggle("Clock to Close", "AClock to Close", regBits(kDirectionRegister, 0x01),
           defaultOf(kDirectionRegister));

    section({}, 3);
    addSendButton();
    addViewButton();
    addButton("Done", [this] { doneSheet(context_, *this); }).isExit = true;
    addHelpButton();
}

// A torque list: 40..100 (and "Boost" for 101 on the open list), then "Profile" for
// a byte with bit 7 set, whose low bits keep the percentage set before. Below the
// Service level a profile is never set nor replaced: the list goes back to what is
// stored.
ListField& CConfTab1::torqueList(const char* label, int registerAddress, bool withBoost) {
    auto entries = numberEntries(kLowestTorque, kHighestTorque);
    if (withBoost) entries.push_back("Boost");
    entries.push_back(kProfile);
    const int highest = withBoost ? kBoostTorque : kHighestTorque;
    const int profileEntry = static_cast<int>(entries.size()) - 1;

    auto& field =
        list(label, regBits(registerAddress), defaultOf(registerAddress), std::move(entries));
    field.entryOf = [=](uint32_t value) {
        if (value & kProfileBit) return profileEntry;
        const int percent = static_cast<int>(value);
        return percent >= kLowestTorque && percent <= highest ? percent - kLowestTorque : -1;
    };
    field.valueOf = [this, &field, profileEntry](int entry,
                                                 uint32_t stored) -> std::optional<uint32_t> {
        const bool profile = entry == profileEntry;
        if (context_.loginLevel < shell::kService) {
            if (profile || (stored & kProfileBit)) {
                auto& box = static_cast<ui::ComboBox&>(field.control());
                box.selected = field.entryOf(stored);
                return std::nullopt;
            }
            return entry + kLowestTorque;
        }
        if (profile) return stored | kProfileBit;
        return entry + kLowestTorque;
    };
    return field;
}

image::FrameSequence CConfTab1::frames() const {
    using namespace image::frames;
    return {unlock(),
            writeRegisterByte(kBoostRegister),
            readModifyWrite(kTorqueRegisterClose, {0xFF, 0xFF, 0x00}),
            readModifyWrite(kActionRegister, {0x07, 0x00, 0x00}),
            readModifyWrite(kBoostFlagsRegister, {0x06, 0x00, 0x00}),
            readModifyWrite(kDirectionRegister, {0x01, 0x00, 0x00}),
            lock()};
}

}  // namespace vantrel::pages
