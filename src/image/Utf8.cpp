#include "image/Utf8.h"

namespace vantrel::image {

size_t decodeUtf8(std::string_view text, size_t i, uint32_t& codePoint) {
    const auto lead = static_cast<uint8_t>(text[i]);
    size_t length = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (length == 2 && codePoint < 0x80) return 0;  // overlong
    return length;
}

bool isValidUtf8(std::string_view text) {
    uint32_t codePoint = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = decodeUtf8(text, i, codePoint);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

}  // namespace vantrel::image
