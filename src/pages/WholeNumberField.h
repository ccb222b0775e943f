#pragma once
// An edit box for a whole number kept in some bits of the image. Anything typed but
// a whole number from minimum to maximum is refused with the field's message before
// anything is taken, so no value is ever cut down to fit its bits.
#include <optional>
#include <string>

#include "pages/EditField.h"

namespace vantrel::pages {

// "LABEL must be a whole number from MINIMUM to MAXIMUM".
std::string wholeNumberMessage(const std::string& label, uint32_t minimum, uint32_t maximum);

class WholeNumberField : public EditField {
public:
    WholeNumberField(ui::Edit& edit, Bits bits, uint32_t minimum, uint32_t maximum,
                     std::string outOfRange);
    // Refused with wholeNumberMessage for the box's label.
    WholeNumberField(ui::Edit& edit, Bits bits, uint32_t minimum, uint32_t maximum);

    // A two-byte value stored high byte first (Bits read low byte first).
    bool highByteFirst = false;

protected:
    std::string textOf(const image::ConfigImage& image, bool defaultView) const override;
    void store(image::ConfigImage& image) override;
    std::optional<std::string> judge() const override;

private:
    std::optional<uint32_t> number() const;
    uint32_t ordered(uint32_t value) const;

    uint32_t minimum_;
    uint32_t maximum_;
    std::string outOfRange_;
};

}  // namespace vantrel::pages
