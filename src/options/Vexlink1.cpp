#include "options/Vexlink1.h"

#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::options {

namespace {

// Card registers and their bytes in the loop network card area.
constexpr int kArea = image::area::VEXLINK_DIG_3.offset;
constexpr CardByte kPositionerMinimum{50, kArea + 0};
constexpr CardByte kPositionerMaximum{51, kArea + 1};
constexpr CardByte kDeadband{52, kArea + 2};
constexpr CardByte kMotionInhibit{53, kArea + 3};
constexpr CardByte kAddress{54, kArea + 4};
constexpr CardByte kBaudRate{55, kArea + 5};
constexpr CardByte kAuxiliaryMask{56, kArea + 6};
constexpr CardByte kHysteresis{68, kArea + 8};

constexpr uint16_t kFirstAddress = 1;
constexpr uint16_t kLastAddress = 240;
constexpr uint16_t kMostSeconds = 255;
constexpr uint16_t kMostPercent = 100;
constexpr float kTenthsEnd = 25.6f;  // 0.0 .. 25.5
constexpr uint16_t kMostMask = 0xFF;

}  // namespace

COptTab1::COptTab1(shell::Context& context) : OptionPage(context, pages::kVexlink1) {
    using pages::suffixEntries;
    using pages::tenthsEntries;
    section();
    byteList("Address", kAddress.offset, pages::numberEntries(kFirstAddress, kLastAddress)).offset =
        kFirstAddress;
    byteList("Baud Rate", kBaudRate.offset, {"110", "300", "600", "1200", "2400"});
    byteList("Motion Inhibit Time", kMotionInhibit.offset, suffixEntries(0, kMostSeconds, " Secs"));
    byteList("Positioner Minimum", kPositionerMinimum.offset, suffixEntries(0, kMostPercent, " %"));
    byteList("Positioner Maximum", kPositionerMaximum.offset, suffixEntries(0, kMostPercent, " %"));
    byteList("Deadband", kDeadband.offset, tenthsEntries(0, kTenthsEnd, " %"));
    byteList("Hysteresis", kHysteresis.offset, tenthsEntries(0, kTenthsEnd, " %"));
    byteList("Auxiliary Mask", kAuxiliaryMask.offset, pages::hexEntries(0, kMostMask));

    section();
    addSendButton();
}

// The address and the baud rate go last, so the card answers on its old settings
// until everything else is written.
image::FrameSequence COptTab1::frames() const {
    image::FrameSequence run;
    for (const CardByte& byte : {kPositionerMinimum, kPositionerMaximum, kDeadband, kMotionInhibit,
                                 kAuxiliaryMask, kHysteresis, kAddress, kBaudRate})
        run.push_back(image::frames::optionByte(byte.address, byte.offset));
    return run;
}

}  // namespace vantrel::options
