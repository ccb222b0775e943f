#pragma once
// The record CRC: reflected CRC-CCITT (0x8408), start 0xFFFF, no final inversion,
// computed a nibble at a time from a 16-entry table.
#include <cstddef>
#include <cstdint>

namespace vantrel::link {

inline constexpr uint16_t kCrcStart = 0xFFFF;

uint16_t crc16(const uint8_t* bytes, uint16_t length, uint16_t start);

}  // namespace vantrel::link
