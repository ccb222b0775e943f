#include "pages/TextField.h"

#include <algorithm>

namespace vantrel::pages {

TextField::TextField(ui::Edit& edit, int offset, int length)
    : Field(Bits{offset, 0xFF, 1}, std::nullopt), edit_(edit), length_(length) {
    edit_.maxLength = length;
}

std::string TextField::storedText(const image::ConfigImage& image, int offset, int length) {
    const auto first = image.bytes.begin() + offset;
    const auto end = std::find(first, first + length, uint8_t{0});
    return std::string(first, end);
}

void TextField::load(const image::ConfigImage& image, bool defaultView) {
    (void)defaultView;  // the identification half has no default copy
    edit_.text = storedText(image, bits_.offset, length_);
}

void TextField::take(image::ConfigImage& image) {
    const std::size_t count = std::min(edit_.text.size(), static_cast<std::size_t>(length_));
    const auto first = image.bytes.begin() + bits_.offset;
    std::copy_n(edit_.text.begin(), count, first);
    if (count < static_cast<std::size_t>(length_)) first[count] = 0;
}

std::optional<std::string> TextField::refusal() const {
    if (edit_.text.find('\0') != std::string::npos) return kZeroByteRefused;
    return std::nullopt;
}

std::vector<Field::HeldByte> TextField::heldBytes() const {
    return wholeBytes(bits_.offset, length_);
}

}  // namespace vantrel::pages
