#include "pages/ShownField.h"

namespace vantrel::pages {

namespace {
constexpr uint32_t kAllBits = 0xFFFFFFFF;
}

ShownField::ShownField(ui::Edit& edit, int offset, int count, Text text)
    : Field(Bits{offset, kAllBits, count}, std::nullopt), edit_(edit), text_(std::move(text)) {
    edit_.readOnly = true;
}

void ShownField::load(const image::ConfigImage& image, bool) {
    edit_.text = text_(image);
}

std::string charactersAt(const image::ConfigImage& image, std::initializer_list<int> offsets) {
    std::string text;
    for (int offset : offsets)
        text.push_back(static_cast<char>(image.bytes[offset]));
    return text;
}

std::string charactersOf(const image::ConfigImage& image, int offset, int count) {
    return std::string(reinterpret_cast<const char*>(image.bytes.data() + offset),
                       static_cast<std::size_t>(count));
}

}  // namespace vantrel::pages
