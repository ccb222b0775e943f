#include "options/Profibus.h"

#include "link/Commands.h"
#include "pages/ConfigSheet.h"
#include "pages/Entries.h"

namespace vantrel::options {

namespace {

constexpr int kArea = image::area::MK2BUS_3.offset;
constexpr CardByte kAddress{54, kArea + 5};
// The GSD lock (bit 0) and the redundancy mode (bits 1-2): bus register 51, written
// at 99 on a current card.
constexpr int kLockByte = kArea + 78;
constexpr uint8_t kLockRegister = 51;
constexpr uint8_t kLockWriteAddress = 99;
constexpr uint32_t kGsdLockBit = 0x01;
constexpr uint32_t kModeBits = 0x06;
constexpr uint8_t kLockAndMode = 0x07;  // taking the edits clears the bits above them
// The identity number, bus register 54, low byte first.
constexpr int kIdentityNumber = kArea + 84;
constexpr uint8_t kIdentityRegister = 54;
constexpr uint32_t kIdentity0845 = 0x0845;
constexpr uint32_t kIdentity073A = 0x073A;

// The card identity text: bus registers 34 to 38, each register's second byte first.
constexpr int kIdentityText = kArea + 44;
constexpr int kIdentityTextBytes = 10;
constexpr int kRedundancyMarker = kArea + 50;  // the text's eighth character
constexpr uint8_t kRedundancyOffered = '4';

// The last character of the card's software identity; '0' to '4' is an early card.
constexpr int kSoftwareRevision = image::area::OPT_SW_3.offset + 3;

constexpr uint16_t kLastAddress = 126;
constexpr const char* kNotAvailable = "N/A";
const std::vector<std::string> kModes = {"SR/SIMPLE", "FR/SIMPLE", "SR/REDCOM", "FR/REDCOM"};
constexpr const char* kPowerCycleQuestion =
    "You need to power cycle the actuator for 'unlock' change settings to take effect, "
    "Continue?";
constexpr const char* kPowerCycleCaption = "Message";

}  // namespace

CProfibusTab::CProfibusTab(shell::Context& context) : OptionPage(context, pages::kProfibus) {
    section();
    byteList("Address", kAddress.offset, pages::numberEntries(0, kLastAddress));
    byteList("GSD Lock", kLockByte, {"Locked", "UnLocked"}, kGsdLockBit);
    redundantMode_ = &byteList("Redundant mode", kLockByte, kModes, kModeBits);
    redundantMode_->entryOf = [this](uint32_t value) {
        const int mode = static_cast<int>(value);
        if (redundancyOffered()) return mode;
        return mode == 0 ? 0 : -1;  // "N/A" stands for a mode of 0 only
    };
    auto& identity =
        list("Profibus ID", Bits{kIdentityNumber, 0xFFFF, 2}, std::nullopt, {"0x0845", "0x073A"});
    identity.minimumLevel = shell::kService;
    // A number the list does not know shows no entry and stays as stored.
    identity.entryOf = [](uint32_t value) {
        return value == kIdentity0845 ? 0 : value == kIdentity073A ? 1 : -1;
    };
    identity.valueOf = [](int entry, uint32_t) -> std::optional<uint32_t> {
        return entry == 0 ? kIdentity0845 : kIdentity073A;
    };

    versionBox(image::area::OPT_SW_3.offset);
    auto& text = addEdit("", "Card identity");
    field<pages::ShownField>(
        text, kIdentityText, kIdentityTextBytes, [](const image::ConfigImage& image) {
            std::string shown;
            for (int i = 0; i < kIdentityTextBytes; i += 2) {
                shown.push_back(static_cast<char>(image.bytes[kIdentityText + i + 1]));
                shown.push_back(static_cast<char>(image.bytes[kIdentityText + i]));
            }
            return shown;
        });

    section();
    addSendButton();
}

bool CProfibusTab::earlyCard() const {
    const uint8_t revision = context_.image.bytes[kSoftwareRevision];
    return context_.image.holds(kSoftwareRevision) && revision >= '0' && revision <= '4';
}

bool CProfibusTab::redundancyOffered() const {
    return context_.image.holds(kRedundancyMarker) &&
           context_.image.bytes[kRedundancyMarker] == kRedundancyOffered;
}

void CProfibusTab::afterFill() {
    if (!redundantMode_->held) return;
    redundantMode_->entries =
        redundancyOffered() ? kModes : std::vector<std::string>{kNotAvailable};
    redundantMode_->fill(false);
}

void CProfibusTab::afterEnable() {
    if (!redundancyOffered()) redundantMode_->control().enabled = false;
}

// The lock byte is rebuilt from the two lists with bits 3-7 cleared; a mode that
// shows no entry keeps its own bits as stored.
void CProfibusTab::afterTake() {
    if (redundantMode_->held) context_.image.bytes[kLockByte] &= kLockAndMode;
}

bool CProfibusTab::confirmSend() {
    return !earlyCard() || context_.ui.question(
                               {ui::QuestionId::OnTheWay, kPowerCycleQuestion, kPowerCycleCaption});
}

image::FrameSequence CProfibusTab::frames() const {
    using namespace image::frames;
    return {optionByte(kAddress.address, kAddress.offset),
            busRegister(kIdentityRegister, kIdentityNumber, 2),
            earlyCard() ? busRegister(kLockRegister, kLockByte, 1)
                        : optionByte(kLockWriteAddress, kLockByte)};
}

}  // namespace vantrel::options
