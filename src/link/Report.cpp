#include "link/Report.h"

#include "link/ErrorFlags.h"

namespace vantrel::link {

namespace {

struct FlagMessage {
    uint32_t flag;
    const char* text;
};

// The order in which one flag wins over the others. "Event Not RX" goes first because
// a missing reply usually leaves other bits behind that would only mislead.
constexpr FlagMessage kByPriority[] = {
    {kEventNotRx, "Event Not RX"},
    {kPortNotOpen, "Port did not open"},
    {kChecksumBad, "Checksum Not OK"},
    {kResultBad, "Result Not OK"},
    {kFileIncomplete, "EEPROM file not complete"},
    {kBlockCrcWrong, "Block CRC wrong"},
    {kWriteFailed, "Could Not Write To Port"},
    {kFileOpenFailed, "Could Not Open File"},
    {kReadFailed, "Could Not Read from Port"},
    {kEepromError, "EEPROM Error"},
    {kAccessDenied, "Unable to update, access denied"},
    {kIncorrectPassword, "Incorrect Password entered"},
    {kOptionCommsError, "Option card comms error"},
};

constexpr const char* kUnknownError = "ERROR";

}  // namespace

std::string errorMessage(uint32_t flags) {
    for (const FlagMessage& entry : kByPriority)
        if (flags & entry.flag) return entry.text;
    return kUnknownError;
}

void clearOutcome(LinkState& state) {
    state.status.clear();
}

void setOutcome(LinkState& state, bool done, const std::string& doneText,
                const std::string& stopped) {
    if (done) {
        state.status = doneText;
        return;
    }
    const std::string& reason = state.status;
    if (reason.starts_with(stopped)) return;
    state.status = reason.empty() ? stopped : stopped + ": " + reason;
}

void reportLinkError(LinkState& state) {
    state.ui.setBusy(false);
    state.ui.play(ui::Sound::Critical);
    const std::string text = errorMessage(state.errorFlags);
    // Cleared before the dialog shows, so the word is clean whatever the user does next.
    state.errorFlags &= ~kClearedByReport;
    state.status = text;
    state.ui.error(text);
}

}  // namespace vantrel::link
