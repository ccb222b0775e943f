#pragma once
// A box that shows a stored value as an unsigned decimal number and takes back what
// is typed as an unsigned integer. Only the field's own bits are stored, so a number
// wider than the field is stored modulo its width (300 in an 8-bit field stores 44).
// A box that holds no number keeps the stored value rather than storing a guess.
#include <optional>
#include <string>

#include "pages/Field.h"

namespace vantrel::pages {

// The decimal number in text (spaces around it allowed), modulo 2^32; nothing when
// the text is not a run of decimal digits.
std::optional<uint32_t> unsignedValue(const std::string& text);

class UnsignedField : public Field {
public:
    UnsignedField(ui::Edit& edit, Bits bits, std::optional<int> defaultOffset)
        : Field(bits, defaultOffset), edit_(edit) {}
    ui::Control& control() override { return edit_; }
    void load(const image::ConfigImage& image, bool defaultView) override;
    void take(image::ConfigImage& image) override;

private:
    ui::Edit& edit_;
};

}  // namespace vantrel::pages
