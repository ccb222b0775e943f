#pragma once
// A text field of the identification half of the image: a fixed run of 8-bit
// characters (one byte, one character). The stored text ends at its first zero byte
// or at the end of the field, so a text that fills its field has no zero byte and
// runs straight into the next one.
#include <string>

#include "pages/Field.h"

namespace vantrel::pages {

class TextField : public Field {
public:
    // The box's maximum length is the field's length: it never holds more than is
    // stored.
    TextField(ui::Edit& edit, int offset, int length);
    ui::Control& control() override { return edit_; }
    void load(const image::ConfigImage& image, bool defaultView) override;
    // Stores the first `length` characters, then a zero byte when they are fewer;
    // the bytes after that zero byte keep what they held.
    void take(image::ConfigImage& image) override;
    // A zero byte cannot be stored inside a text: it would end it there.
    std::optional<std::string> refusal() const override;
    // Every byte of the text's run.
    std::vector<HeldByte> heldBytes() const override;

    // The text a field holds, as it is shown.
    static std::string storedText(const image::ConfigImage& image, int offset, int length);

private:
    ui::Edit& edit_;
    int length_;
};

inline constexpr const char* kZeroByteRefused = "A text cannot hold a zero byte.";

}  // namespace vantrel::pages
