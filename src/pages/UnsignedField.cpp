#include "pages/UnsignedField.h"

namespace vantrel::pages {

std::optional<uint32_t> unsignedValue(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const auto last = text.find_last_not_of(' ');
    uint32_t value = 0;
    for (auto i = first; i <= last; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        // Unsigned arithmetic wraps, so any length of digits gives the number
        // modulo 2^32, and so modulo every narrower field width.
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value;
}

std::string UnsignedField::textOf(const image::ConfigImage& image, bool defaultView) const {
    return std::to_string(stored(image, defaultView));
}

void UnsignedField::store(image::ConfigImage& image) {
    if (const std::optional<uint32_t> value = unsignedValue(typed())) bits_.write(image, *value);
}

std::optional<std::string> UnsignedField::judge() const {
    if (unsignedValue(typed())) return std::nullopt;
    return label() + " must be a whole number";
}

}  // namespace vantrel::pages
