#pragma once
// The form every option card page shares: no Default view and no "Current" button,
// any login level may send, keeping changes recomputes no checksum, and Send writes
// one byte per frame without unlocking the EEPROM. A control whose bytes the image
// does not hold (an image file whose option area was cut short) stays empty and
// disabled and its frames are left out, so a page sends exactly what it shows.
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

    void setUp() override;
    void broughtToFront() override;

protected:
    bool sendFrames(link::LinkPort& link) override;
    // The steps whose image bytes all belong to controls the page shows.
    image::FrameSequence shownFrames(const image::FrameSequence& run) const;

    // A list of one image byte (or of the bits of mask in it).
    ListField& byteList(std::string label, int offset, std::vector<std::string> entries,
                        uint32_t mask = 0xFF);
    // The "Version" frame with a read-only box of the four identity characters at
    // offset (the option card's by default).
    pages::ShownField& versionBox(int offset);

    // Reports "Incorrect Password entered" when nobody is logged in; true otherwise.
    bool loggedIn();

private:
    // A field shows its value only when the image holds all of its bytes.
    void markShown();
};

}  // namespace vantrel::options
