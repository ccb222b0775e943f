#include "options/Vexlink2.h"

#include "link/Commands.h"
#include "link/ErrorFlags.h"
#include "link/LinkPort.h"
#include "link/Report.h"
#include "pages/ConfigSheet.h"
#include "pages/Entries.h"
#include "pages/WholeNumberField.h"

namespace vantrel::options {

namespace {

// Card registers and their bytes in the loop network card area.
constexpr int kArea = image::area::VEXLINK_DIG_3.offset;
constexpr CardByte kTorqueFilter{67, kArea + 7};
constexpr CardByte kPositionUpdate{113, kArea + 9};
constexpr CardByte kPositionDeviation{112, kArea + 10};
constexpr CardByte kTorqueDeviation{117, kArea + 11};
constexpr CardByte kTorqueUpdate{118, kArea + 12};
// The valve travel time: high byte in register 158, low byte in 159.
constexpr CardByte kTravelHigh{158, kArea + 13};
constexpr CardByte kTravelLow{159, kArea + 14};

constexpr uint16_t kMostByte = 255;
constexpr uint16_t kMostDeviation = 99;
// Entries 1 to 4 of the update and deviation lists are not available and store 0.
constexpr int kFirstAvailable = 5;
constexpr const char* kNotAvailable = " N/A";
constexpr uint32_t kShortestTravel = 1;
constexpr uint32_t kLongestTravel = 65535;
constexpr const char* kInvalidTravel = "invalid Valve Time value, must be < 65535";

constexpr const char* kInitialiseQuestion = "This will default all settings are you sure?";
// OPTION_CONTROL at address 0 with these data bytes defaults every card setting.
constexpr uint8_t kDefaultAll[3] = {222, 192, 238};

// "0 Mins", "1 N/A" .. "4 N/A", then "5 Mins" .. last.
std::vector<std::string> withUnavailable(uint16_t last, const char* suffix) {
    std::vector<std::string> entries = pages::suffixEntries(0, last, suffix);
    for (int i = 1; i < kFirstAvailable; ++i)
        entries[i] = std::to_string(i) + kNotAvailable;
    return entries;
}

std::optional<uint32_t> availableValue(int entry, uint32_t) {
    return entry < kFirstAvailable ? 0u : static_cast<uint32_t>(entry);
}

}  // namespace

COptTab2::COptTab2(shell::Context& context) : OptionPage(context, pages::kVexlink2) {
    section();
    byteList("Torque Filter", kTorqueFilter.offset, pages::numberEntries(0, kMostByte));
    byteList("Torque Update", kTorqueUpdate.offset, withUnavailable(kMostByte, " Mins")).valueOf =
        availableValue;
    byteList("Torque Deviation", kTorqueDeviation.offset, withUnavailable(kMostDeviation, " %"))
        .valueOf = availableValue;
    byteList("Position Update", kPositionUpdate.offset,
             pages::suffixEntries(0, kMostByte, " Secs"));
    byteList("Position Deviation", kPositionDeviation.offset,
             pages::suffixEntries(0, kMostDeviation, " %"));
    field<pages::WholeNumberField>(addEdit("Valve Travel (s)"), Bits{kTravelHigh.offset, 0xFFFF, 2},
                                   kShortestTravel, kLongestTravel, kInvalidTravel)
        .highByteFirst = true;

    versionBox(image::area::OPT_SW_3.offset);

    section({}, 2);
    addSendButton();
    addButton("Initialise", [this] { initialise(); }).writes = true;
}

// The low byte of the travel time goes before the high byte.
image::FrameSequence COptTab2::frames() const {
    image::FrameSequence run;
    for (const CardByte& byte : {kTorqueFilter, kPositionDeviation, kPositionUpdate,
                                 kTorqueDeviation, kTorqueUpdate, kTravelLow, kTravelHigh})
        run.push_back(image::frames::optionByte(byte.address, byte.offset));
    return run;
}

void COptTab2::initialise() {
    if (!loggedIn()) return;
    if (!context_.ui.question(
            {ui::QuestionId::OnTheWay, kInitialiseQuestion, pages::kUpdateCaption, ui::Answer::No}))
        return;
    link::LinkPort link(context_);
    if (!context_.port.isOpen()) return;  // "Port did not open" has been shown
    if (link.sendCommand(link::OPTION_CONTROL, 0, kDefaultAll[0], kDefaultAll[1], kDefaultAll[2],
                         false))
        return;
    // The card may answer 'T' while it puts its settings back: that is no failure.
    context_.errorFlags &= ~link::kOptionCommsError;
    if (context_.errorFlags & link::kClearedByReport) link::reportLinkError(context_);
}

}  // namespace vantrel::options
