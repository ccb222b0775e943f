#pragma once
// The form every option card page shares: no Default view and no "Current" button,
// any login level may send, keeping changes recomputes no checksum, and Send writes
// one byte per frame without unlocking the EEPROM.
#include <string>

#include "pages/ConfigPage.h"
#include "pages/ShownField.h"

namespace vantrel::options {

using pages::Bits;
using pages::ListField;

inline constexpr const char* kVersion = "Version";

// A register of the option card (or part-turn unit) and the image byte that holds it.
struct CardByte {
    uint8_t address;
    int offset;
};

class OptionPage : public pages::ConfigPage {
public:
    OptionPage(shell::Context& context, std::string title);

protected:
    // A list of one image byte (or of the bits of mask in it).
    ListField& byteList(std::string label, int offset, std::vector<std::string> entries,
                        uint32_t mask = 0xFF);
    // The "Version" frame with a read-only box of the four identity characters at
    // offset (the option card's by default).
    pages::ShownField& versionBox(int offset);

    // Reports "Incorrect Password entered" when nobody is logged in; true otherwise.
    bool loggedIn();
};

}  // namespace vantrel::options
