#include "pages/WholeNumberField.h"

#include <charconv>

namespace vantrel::pages {

WholeNumberField::WholeNumberField(ui::Edit& edit, Bits bits, uint32_t minimum, uint32_t maximum,
                                   std::string outOfRange)
    : Field(bits, std::nullopt),
      edit_(edit),
      minimum_(minimum),
      maximum_(maximum),
      outOfRange_(std::move(outOfRange)) {}

uint32_t WholeNumberField::ordered(uint32_t value) const {
    if (!highByteFirst) return value;
    return ((value & 0xFF) << 8) | ((value >> 8) & 0xFF);
}

std::optional<uint32_t> WholeNumberField::number() const {
    const std::string& text = edit_.text;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first < last && *first == ' ')
        ++first;
    while (last > first && last[-1] == ' ')
        --last;
    if (first < last && *first == '+') ++first;
    unsigned long value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) return std::nullopt;
    if (value < minimum_ || value > maximum_) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<std::string> WholeNumberField::refusal() const {
    if (!number()) return outOfRange_;
    return std::nullopt;
}

void WholeNumberField::load(const image::ConfigImage& image, bool defaultView) {
    edit_.text = std::to_string(ordered(stored(image, defaultView)));
}

void WholeNumberField::take(image::ConfigImage& image) {
    if (const std::optional<uint32_t> value = number()) bits_.write(image, ordered(*value));
}

}  // namespace vantrel::pages
