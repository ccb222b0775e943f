#include "image/Checksums.h"

#include <initializer_list>

namespace vantrel::image {

namespace {

constexpr int kIdentificationFirst = 12;  // ID_CSUM covers bytes 12..254
constexpr int kBusChecksumOffset = 36;

uint16_t word(const uint8_t* area, int offset) {
    return static_cast<uint16_t>(area[offset] | (area[offset + 1] << 8));
}

}  // namespace

uint8_t withParity(uint8_t first, uint8_t second) {
    second &= static_cast<uint8_t>(~kParityBit);
    const uint8_t pair[2] = {first, second};
    if (oddBitCount(pair, 2)) second |= kParityBit;
    return second;
}

void applyParity(ConfigImage& image) {
    image.reg(kParitySecondRegister) =
        withParity(image.reg(kParityFirstRegister), image.reg(kParitySecondRegister));
}

void updateManufactureChecksum(ConfigImage& image) {
    *image.at(area::MANU_CSUM) = imageChecksum(image.at(area::MANU_CFIG), area::MANU_CFIG.length);
}

void updateCurrentChecksum(ConfigImage& image) {
    *image.at(area::CUST_CSUM) = imageChecksum(image.at(area::CUST_CFIG), area::CUST_CFIG.length);
}

void updateIdentificationChecksum(ConfigImage& image) {
    *image.at(area::ID_CSUM) = imageChecksum(image.bytes.data() + kIdentificationFirst,
                                             area::ID_CSUM.offset - kIdentificationFirst);
}

uint16_t busCardChecksum(const ConfigImage& image) {
    const uint8_t* bus = image.at(area::MK2BUS_3);
    unsigned sum = 0;
    for (int i = 0; i <= 10; ++i)
        sum += bus[i];
    for (int offset : {13, 14, 15, 16, 19, 68, 70, 72, 78, 104})
        sum += bus[offset];
    for (int offset : {11, 17, 74, 80, 84})
        sum += word(bus, offset);
    if (image.optionFlags & kMultiportFlag) {
        for (int offset : {106, 112, 120, 122, 124})
            sum += bus[offset];
        sum += word(bus, 108);
        for (int offset = 138; offset <= 176; offset += 2)
            sum += word(bus, offset);
    }
    return static_cast<uint16_t>(sum);
}

void updateBusCardChecksum(ConfigImage& image) {
    const uint16_t sum = busCardChecksum(image);
    uint8_t* bus = image.at(area::MK2BUS_3);
    bus[kBusChecksumOffset] = static_cast<uint8_t>(sum);
    bus[kBusChecksumOffset + 1] = static_cast<uint8_t>(sum >> 8);
}

}  // namespace vantrel::image
