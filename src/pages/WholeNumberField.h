#pragma once
// An edit box for a whole number kept in some bits of the image. Anything but a
// whole number from minimum to maximum is refused with the field's message before
// anything is taken, so no value is ever cut down to fit its bits.
#include <optional>
#include <string>

#include "pages/Field.h"

namespace vantrel::pages {

class WholeNumberField : public Field {
public:
    WholeNumberField(ui::Edit& edit, Bits bits, uint32_t minimum, uint32_t maximum,
                     std::string outOfRange);
    ui::Control& control() override { return edit_; }
    void load(const image::ConfigImage& image, bool defaultView) override;
    void take(image::ConfigImage& image) override;
    std::optional<std::string> refusal() const override;

    // A two-byte value stored high byte first (Bits read low byte first).
    bool highByteFirst = false;

private:
    std::optional<uint32_t> number() const;
    uint32_t ordered(uint32_t value) const;

    ui::Edit& edit_;
    uint32_t minimum_;
    uint32_t maximum_;
    std::string outOfRange_;
};

}  // namespace vantrel::pages
