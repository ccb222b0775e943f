#pragma once
// The process-wide error-flag word: every failure in the link, in file handling and
// in access control sets one of these bits; reportLinkError shows one message for it.
#include <cstdint>

namespace vantrel::link {

enum ErrorFlag : uint32_t {
    kPortNotOpen = 0x0001,        // "Port did not open"
    kChecksumBad = 0x0002,        // "Checksum Not OK"
    kResultBad = 0x0004,          // "Result Not OK"
    kEventNotRx = 0x0008,         // "Event Not RX"
    kReadFailed = 0x0010,         // "Could Not Read from Port"
    kBlockCrcWrong = 0x0020,      // "Block CRC wrong"
    kFileIncomplete = 0x0040,     // "EEPROM file not complete"
    kFileOpenFailed = 0x0080,     // "Could Not Open File"
    kWriteFailed = 0x0100,        // "Could Not Write To Port"
    kEepromError = 0x0200,        // "EEPROM Error" (reply 'E')
    kOptionCommsError = 0x0400,   // "Option card comms error" (reply 'T')
    kAccessDenied = 0x0800,       // "Unable to update, access denied"
    kIncorrectPassword = 0x1000,  // "Incorrect Password entered"
};

// Creating a LinkPort clears these (0x0001..0x0200); 0x0400 and above survive.
inline constexpr uint32_t kClearedByLinkPort = 0x03FF;
// reportLinkError clears these (0x0001..0x2000).
inline constexpr uint32_t kClearedByReport = 0x3FFF;
// The raw frame test clears these after a failed exchange (0x0001..0x1000).
inline constexpr uint32_t kLow13Bits = 0x1FFF;
// Any of these set makes sendCommand fail, whichever command set it.
inline constexpr uint32_t kSendFailureFlags =
    kChecksumBad | kResultBad | kEventNotRx | kWriteFailed | kEepromError | kOptionCommsError;

}  // namespace vantrel::link
