#include "pages/ControlPage.h"

#include "pages/ConfigSheet.h"

namespace vantrel::pages {

namespace {

// One read-modify-write of the register at 65 covers the bytes 65, 66 and 67; the
// parity bit of 66 is computed anew in the frame and left alone in the image.
constexpr uint8_t kControlRegister = 65;
constexpr uint8_t kPriorityRegister = 65;
constexpr uint8_t kPriorityMask = 0x06;
constexpr uint8_t kModeRegister = 66;
constexpr uint8_t kRemoteMask = 0x18;
constexpr uint8_t kLocalMask = 0x20;
constexpr uint8_t kInfraredRegister = 67;
constexpr uint8_t kInfraredMask = 0x18;

}  // namespace

CConfTab8::CConfTab8(shell::Context& context) : ConfigPage(context, kControl, PageRules{}) {
    section();
    list("Remote Control", regBits(kModeRegister, kRemoteMask), defaultOf(kModeRegister),
         {"None", "Option", "Standard", "Both"});
    // "Stationary" twice: each entry stores its own position, 1 or 2.
    list("2 Wire Priority", regBits(kPriorityRegister, kPriorityMask), defaultOf(kPriorityRegister),
         {"Close", "Stationary", "Stationary", "Open"});
    list("Local Control", regBits(kModeRegister, kLocalMask), defaultOf(kModeRegister),
         {"Push to run", "Maintained"});
    // Two bits, three entries: the value 3 selects nothing and is kept.
    list("IR Control / vandal proof setting", regBits(kInfraredRegister, kInfraredMask),
         defaultOf(kInfraredRegister), {"Off", "Remote", "IR control"});

    section({}, 2);
    addSendButton();
    addViewButton();
}

image::FrameSequence CConfTab8::frames() const {
    using namespace image::frames;
    return {
        unlock(),
        readModifyWrite(kControlRegister, {kPriorityMask, kRemoteMask | kLocalMask, kInfraredMask}),
        lock()};
}

}  // namespace vantrel::pages
