#include "service/SinglePhase.h"

#include "link/Commands.h"
#include "link/LinkPort.h"
#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::service {

namespace {
constexpr uint8_t kStartCapacitorRegister = 34;
constexpr uint8_t kInstantReversalRegister = 21;
constexpr uint8_t kTwoSeconds = 32;
constexpr uint16_t kLongestStartTime = 255;
}  // namespace

CSinglePhase::CSinglePhase(shell::Context& context)
    : ConfigPage(context, pages::kSinglePhase,
                 pages::PageRules{.defaultView = false,
                                  .sendLevel = shell::kService,
                                  .checksums = pages::kNoChecksum,
                                  .sendAsks = false}) {
    section();
    addButton("Set instant reversal to 2 secs", [this] { setInstantReversal(); }).writes = true;
    list("Start cap time", pages::regBits(kStartCapacitorRegister), std::nullopt,
         pages::numberEntries(0, kLongestStartTime));
    section();
    addButton("Send", [this] { sendStartTime(); }).writes = true;
}

image::FrameSequence CSinglePhase::frames() const {
    using namespace image::frames;
    return {unlock(), writeRegisterByte(kStartCapacitorRegister), lock()};
}

void CSinglePhase::sendStartTime() {
    acceptAndTake();
    sendEvery(frames());
}

void CSinglePhase::setInstantReversal() {
    using namespace image::frames;
    sendEvery({unlock(), fixed(link::WRITE_REGISTER_BYTE, kInstantReversalRegister, kTwoSeconds),
               lock()});
}

void CSinglePhase::sendEvery(const image::FrameSequence& steps) {
    uint32_t failure = 0;
    {
        link::LinkPort link(context_);
        if (!context_.port.isOpen()) return;  // "Port did not open" has been shown
        failure = image::runEveryFrame(link, context_.errorFlags, context_.image, steps);
    }
    // Reported once the link is closed, with the message of the first frame that failed.
    if (failure != 0) report(failure);
}

}  // namespace vantrel::service
