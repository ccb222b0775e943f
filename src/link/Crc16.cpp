#include "link/Crc16.h"

#include <array>

namespace vantrel::link {

namespace {
// Entry i is i * 0x1081: the reflected CRC-CCITT of one nibble.
constexpr std::array<uint16_t, 16> makeTable() {
    std::array<uint16_t, 16> table{};
    for (uint16_t i = 0; i < 16; ++i)
        table[i] = static_cast<uint16_t>(i * 0x1081);
    return table;
}
constexpr auto kTable = makeTable();
}  // namespace

uint16_t crc16(const uint8_t* bytes, uint16_t length, uint16_t start) {
    uint16_t crc = start;
    for (uint16_t i = 0; i < length; ++i) {
        const uint8_t b = bytes[i];
        const uint16_t t = kTable[(crc ^ b) & 0x0F] ^ (crc >> 4);
        crc = kTable[(t ^ (b >> 4)) & 0x0F] ^ (t >> 4);
    }
    return crc;
}

}  // namespace vantrel::link
