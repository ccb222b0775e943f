#include "pages/WholeNumberField.h"

#include <charconv>

namespace vantrel::pages {

std::string wholeNumberMessage(const std::string& label, uint32_t minimum, uint32_t maximum) {
    return label + " must be a whole number from " + std::to_string(minimum) + " to " +
           std::to_string(maximum);
}

WholeNumberField::WholeNumberField(ui::Edit& edit, Bits bits, uint32_t minimum, uint32_t maximum,
                                   std::string outOfRange)
    : EditField(edit, bits, std::nullopt),
      minimum_(minimum),
      maximum_(maximum),
      outOfRange_(std::move(outOfRange)) {}

WholeNumberField::WholeNumberField(ui::Edit& edit, Bits bits, uint32_t minimum, uint32_t maximum)
    : WholeNumberField(edit, bits, minimum, maximum,
                       wholeNumberMessage(edit.name(), minimum, maximum)) {}

uint32_t WholeNumberField::ordered(uint32_t value) const {
    if (!highByteFirst) return value;
    return ((value & 0xFF) << 8) | ((value >> 8) & 0xFF);
}

std::optional<uint32_t> WholeNumberField::number() const {
    const std::string& text = typed();
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

std::optional<std::string> WholeNumberField::judge() const {
    if (!number()) return outOfRange_;
    return std::nullopt;
}

std::string WholeNumberField::textOf(const image::ConfigImage& image, bool defaultView) const {
    return std::to_string(ordered(stored(image, defaultView)));
}

void WholeNumberField::store(image::ConfigImage& image) {
    if (const std::optional<uint32_t> value = number()) bits_.write(image, ordered(*value));
}

}  // namespace vantrel::pages
