#include "service/Vxchat.h"

#include "image/ConfigImage.h"
#include "link/ErrorFlags.h"
#include "link/LinkPort.h"

namespace vantrel::service {

namespace {
constexpr std::array<const char*, 5> kTransmitDefaults = {"F0", "00", "00", "00", "00"};
constexpr int kHexDigits = 2;
// Reply buffer positions shown: the status, then the command position and bytes 7..10.
constexpr int kStatusByte = 5;
constexpr int kFirstShownByte = 6;
constexpr int kFirstCharByte = 7;
constexpr int kOneCharacter = 1;
constexpr char kNotPrinting = '.';
constexpr std::array<const char*, 5> kColumnHeadings = {"Cmd", "Addr", "D1", "D2", "D3"};

// A reply byte as one character of the row: control codes would show as nothing, or
// break the box, so they show as a dot.
char shownCharacter(uint8_t byte) {
    constexpr uint8_t kSpace = 0x20, kDelete = 0x7F, kNoBreakSpace = 0xA0;
    const bool printing = (byte >= kSpace && byte < kDelete) || byte >= kNoBreakSpace;
    return printing ? static_cast<char>(byte) : kNotPrinting;
}
}  // namespace

std::string twoCharacters(const std::string& text) {
    if (text.size() >= kHexDigits) return text.substr(text.size() - kHexDigits);
    return std::string(kHexDigits - text.size(), '0') + text;
}

CVxchat::CVxchat(shell::Context& context) : NavigationScreen(context, "VXCHAT") {
    section("Transmit", 5);
    for (size_t i = 0; i < kColumnHeadings.size(); ++i)
        addLabel(kColumnHeadings[i], std::string("heading-") + kColumnHeadings[i]).centred = true;
    for (size_t i = 0; i < transmit_.size(); ++i) {
        transmit_[i] = &addEdit("", kTransmitIds[i]);
        transmit_[i]->text = kTransmitDefaults[i];
        transmit_[i]->maxLength = kHexDigits;
    }

    section("Receive", 5);
    for (size_t i = 0; i < receiveHex_.size(); ++i) {
        receiveHex_[i] = &addEdit("", kReceiveHexIds[i]);
        receiveHex_[i]->readOnly = true;
        receiveHex_[i]->maxLength = kHexDigits;
    }
    // The character row sits under the last four boxes of the first row.
    addLabel("", "rx-spacer");
    for (size_t i = 0; i < receiveChar_.size(); ++i) {
        receiveChar_[i] = &addEdit("", kReceiveCharIds[i]);
        receiveChar_[i]->readOnly = true;
        receiveChar_[i]->maxLength = kOneCharacter;
    }

    section("RESULT");
    result_ = &addEdit("", kResultId);
    result_->readOnly = true;

    section();
    addButton("SEND", [this] { send(); }).isDefault = true;
    addNavigationButton("BACK", shell::kMainMenu).isExit = true;
    addHelpButton();
}

void CVxchat::send() {
    link::LinkPort port(context_);

    // Every box gives exactly two characters, so the joined text is always ten
    // characters and no box can shift its neighbours.
    std::array<uint8_t, 5> bytes{};
    for (size_t i = 0; i < transmit_.size(); ++i) {
        transmit_[i]->text = twoCharacters(transmit_[i]->text);
        bytes[i] = image::hexToByte(transmit_[i]->text.data());
    }

    if (!port.sendCommand(bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], false))
        context_.errorFlags &= ~link::kLow13Bits;
    replied_ = port.replied();

    // Without a reply the buffer still holds the frame sent, so the request's own
    // bytes show and the status position holds the last header character.
    for (size_t i = 0; i < receiveHex_.size(); ++i) {
        image::byteToHex(context_.image, port.reply(kFirstShownByte + static_cast<int>(i)));
        receiveHex_[i]->text.assign(context_.image.hex, kHexDigits);
    }
    for (size_t i = 0; i < receiveChar_.size(); ++i)
        receiveChar_[i]->text.assign(1, shownCharacter(port.reply(kFirstCharByte + i)));
    result_->text.assign(1, static_cast<char>(port.reply(kStatusByte)));
    port.close();
}

}  // namespace vantrel::service
