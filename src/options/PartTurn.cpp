#include "options/PartTurn.h"

#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::options {

namespace {

// Part-turn registers and their bytes in the part-turn area; bytes 0 to 3 hold the
// unit's identity.
constexpr int kArea = image::area::ZRT_5.offset;
constexpr CardByte kType{55, kArea + 4};
constexpr CardByte kSpeed{54, kArea + 5};
constexpr CardByte kSlowModeSpeed{57, kArea + 6};
constexpr CardByte kAccelerationRamp{56, kArea + 7};
constexpr CardByte kSlowModeRamp{58, kArea + 8};
constexpr CardByte kPiGain{59, kArea + 9};
constexpr CardByte kPiIntegralTime{60, kArea + 10};

constexpr uint16_t kSlowestSpeed = 25;
constexpr uint16_t kFastestSpeed = 105;
constexpr uint16_t kFastestSlowModeSpeed = 75;
constexpr uint16_t kMostByte = 255;

}  // namespace

CZrtTab::CZrtTab(shell::Context& context) : OptionPage(context, pages::kPartTurn) {
    section();
    byteList("Type", kType.offset, {"ZRT125", "ZRT250", "ZRT500", "ZRT1000", "ZRT2000"});
    byteList("Speed", kSpeed.offset, pages::suffixEntries(kSlowestSpeed, kFastestSpeed, " %"))
        .offset = kSlowestSpeed;
    byteList("Slow mode Speed", kSlowModeSpeed.offset,
             pages::suffixEntries(kSlowestSpeed, kFastestSlowModeSpeed, " %"))
        .offset = kSlowestSpeed;
    for (auto [label, byte] :
         {std::pair{"Acceleration Ramp", kAccelerationRamp},
          std::pair{"Slow mode Ramp", kSlowModeRamp}, std::pair{"PI Gain", kPiGain},
          std::pair{"PI Integral Time", kPiIntegralTime}})
        byteList(label, byte.offset, pages::numberEntries(0, kMostByte)).minimumLevel =
            shell::kService;

    versionBox(kArea);

    section();
    addSendButton();
}

image::FrameSequence CZrtTab::frames() const {
    image::FrameSequence run;
    for (const CardByte& byte : {kType, kSpeed, kSlowModeSpeed, kAccelerationRamp, kSlowModeRamp,
                                 kPiGain, kPiIntegralTime})
        run.push_back(image::frames::partTurnByte(byte.address, byte.offset));
    return run;
}

}  // namespace vantrel::options
