#include "image/ConfigImage.h"

#include <bit>

namespace vantrel::image {

uint8_t optionTypeOfBusKind(uint8_t kind) {
    switch (kind) {
        case 1:
            return kModbusMk2;
        case 2:
            return kProfibusMk2;
        case 3:
            return kFieldbusMk2;
        default:
            return kNoOption;
    }
}

bool ConfigImage::holds(int offset, int count) const {
    if (offset < 0 || count < 0 || offset + count > kImageBytes) return false;
    for (int i = offset; i < offset + count; ++i)
        if (missing.test(static_cast<std::size_t>(i))) return false;
    return true;
}

uint8_t imageChecksum(const uint8_t* start, int length) {
    unsigned sum = 1;
    for (int i = 0; i < length; ++i)
        sum += start[i];
    return static_cast<uint8_t>(sum);
}

int oddBitCount(const uint8_t* bytes, int count) {
    int ones = 0;
    for (int i = 0; i < count; ++i)
        ones += std::popcount(bytes[i]);
    return ones & 1;
}

int byteToHex(ConfigImage& image, uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    image.hex[0] = kDigits[byte >> 4];
    image.hex[1] = kDigits[byte & 0x0F];
    return 1;
}

namespace {
// A digit's value as the device computes it: the character minus '0', minus 7 more
// above 9, or minus 39 instead for characters outside '7'..'F' (lower case).
int digitValue(char c) {
    int value = static_cast<unsigned char>(c) - '0';
    if (value > 9) {
        if (c >= '7' && c <= 'F')
            value -= 7;
        else
            value -= 39;
    }
    return value;
}
}  // namespace

uint8_t hexToByte(const char* twoCharacters) {
    return static_cast<uint8_t>(digitValue(twoCharacters[0]) * 16 + digitValue(twoCharacters[1]));
}

}  // namespace vantrel::image
