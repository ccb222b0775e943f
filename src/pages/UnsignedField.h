#pragma once
// A box that shows a stored value as an unsigned decimal number and takes back what
// is typed as an unsigned integer. Only the field's own bits are stored, so a number
// wider than the field is stored modulo its width (300 in an 8-bit field stores 44).
// Typed text that is no number is refused, naming the box, rather than leaving the
// box showing what Send would not write.
#include <optional>
#include <string>

#include "pages/EditField.h"

namespace vantrel::pages {

// The decimal number in text (spaces around it allowed), modulo 2^32; nothing when
// the text is not a run of decimal digits.
std::optional<uint32_t> unsignedValue(const std::string& text);

class UnsignedField : public EditField {
public:
    using EditField::EditField;

protected:
    std::string textOf(const image::ConfigImage& image, bool defaultView) const override;
    void store(image::ConfigImage& image) override;
    std::optional<std::string> judge() const override;
};

}  // namespace vantrel::pages
