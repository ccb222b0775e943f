#pragma once
// UTF-8 text as the settings store and the file headers meet it.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantrel::image {

// The length of the UTF-8 sequence starting at text[i] and its code point, or 0
// when the bytes there are not a well-formed sequence.
size_t decodeUtf8(std::string_view text, size_t i, uint32_t& codePoint);

// True when every byte belongs to a well-formed sequence.
bool isValidUtf8(std::string_view text);

}  // namespace vantrel::image
