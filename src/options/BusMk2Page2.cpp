#include "options/BusMk2Page2.h"

#include "pages/ConfigSheet.h"
#include "pages/Entries.h"
#include "pages/WholeNumberField.h"

namespace vantrel::options {

namespace {

// Write addresses and bytes of the bus card area.
constexpr int kArea = image::area::MK2BUS_3.offset;
constexpr CardByte kAuxiliaryMask{56, kArea + 7};
constexpr CardByte kSlowModeRange{60, kArea + 11};
constexpr CardByte kValveJammedTime{62, kArea + 13};
constexpr CardByte kManualMovement{63, kArea + 14};
constexpr CardByte kWatchdogTimeout{65, kArea + 15};
constexpr CardByte kInputUse{66, kArea + 16};
constexpr CardByte kPartStrokePosition{96, kArea + 72};
// Bus register 49: the timeout's low byte at 98; at 97 the limit (bit 7) and the
// timeout's high seven bits.
constexpr CardByte kPartStrokeTimeoutLow{98, kArea + 74};
constexpr CardByte kPartStrokeLimitAndHigh{97, kArea + 75};

constexpr uint32_t kInputUseBit = 0x01;
constexpr uint32_t kPartStrokeLimitBit = 0x80;
constexpr uint32_t kPartStrokeTimeoutBits = 0x7FFF;  // over the two bytes
constexpr uint32_t kLongestPartStrokeTimeout = 32767;
constexpr const char* kPartStrokeTimeoutRefused =
    "P/Stroke Timeout must be a whole number from 0 to 32767";

constexpr uint16_t kMostSeconds = 255;
constexpr uint16_t kMostPercent = 100;
constexpr uint16_t kMostMask = 0xFF;

}  // namespace

COptTabBus2::COptTabBus2(shell::Context& context) : OptionPage(context, pages::kBusMk2Page2) {
    using pages::suffixEntries;
    section();
    byteList("Slow mode range", kSlowModeRange.offset, suffixEntries(0, kMostPercent, " %"));
    byteList("Valve Jammed Time", kValveJammedTime.offset, suffixEntries(0, kMostSeconds, " Secs"));
    byteList("Watchdog Timeout", kWatchdogTimeout.offset, suffixEntries(0, kMostSeconds, " Secs"));
    byteList("Auxiliary Mask", kAuxiliaryMask.offset, pages::hexEntries(0, kMostMask));
    byteList("Netdisable/ESD", kInputUse.offset, {"ESD", "Net Disable"}, kInputUseBit);
    byteList("Part Stroke Position", kPartStrokePosition.offset,
             suffixEntries(0, kMostPercent, " %"));
    byteList("P/Stroke Limit", kPartStrokeLimitAndHigh.offset, {"Close", "Open"},
             kPartStrokeLimitBit);
    field<pages::WholeNumberField>(addEdit("P/Stroke Timeout"),
                                   Bits{kPartStrokeTimeoutLow.offset, kPartStrokeTimeoutBits, 2}, 0,
                                   kLongestPartStrokeTimeout, kPartStrokeTimeoutRefused);
    byteList("Manual Movement", kManualMovement.offset, suffixEntries(0, kMostPercent, " %"));

    section();
    addSendButton();
}

image::FrameSequence COptTabBus2::frames() const {
    image::FrameSequence run;
    for (const CardByte& byte :
         {kSlowModeRange, kValveJammedTime, kManualMovement, kWatchdogTimeout, kAuxiliaryMask,
          kInputUse, kPartStrokePosition, kPartStrokeTimeoutLow, kPartStrokeLimitAndHigh})
        run.push_back(image::frames::optionByte(byte.address, byte.offset));
    return run;
}

}  // namespace vantrel::options
