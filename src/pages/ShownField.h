#pragma once
// A read-only box that shows bytes of the image (an identity text, a reading). It
// takes nothing back, so it never changes the image.
#include <functional>
#include <initializer_list>
#include <string>

#include "pages/Field.h"

namespace vantrel::pages {

class ShownField : public Field {
public:
    using Text = std::function<std::string(const image::ConfigImage&)>;
    // The box shows text(image), made from the count bytes at offset.
    ShownField(ui::Edit& edit, int offset, int count, Text text);
    ui::Control& control() override { return edit_; }
    void load(const image::ConfigImage& image, bool defaultView) override;
    void take(image::ConfigImage&) override {}
    std::vector<HeldByte> heldBytes() const override {
        return wholeBytes(bits_.offset, bits_.bytes);
    }

private:
    ui::Edit& edit_;
    Text text_;
};

// The image bytes at these offsets as 8-bit characters, in the order given.
std::string charactersAt(const image::ConfigImage& image, std::initializer_list<int> offsets);
// The image bytes offset .. offset + count - 1 as 8-bit characters.
std::string charactersOf(const image::ConfigImage& image, int offset, int count);

}  // namespace vantrel::pages
