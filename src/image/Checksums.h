#pragma once
// The checksums and the parity bit that the pages and Done keep right in the image.
#include <cstdint>

#include "image/ConfigImage.h"

namespace vantrel::image {

// Registers of the byte pair that carries a parity bit in bit 7 of its second byte.
inline constexpr int kParityFirstRegister = 65;
inline constexpr int kParitySecondRegister = 66;
inline constexpr uint8_t kParityBit = 0x80;

// Sets bit 7 of `second` so that `first` and `second` together hold an even number of
// one bits (bit 7 is cleared before counting).
uint8_t withParity(uint8_t first, uint8_t second);
// Applies the parity rule to registers 65 and 66 of the image.
void applyParity(ConfigImage& image);

// MANU_CSUM over MANU_CFIG, CUST_CSUM over CUST_CFIG, ID_CSUM over bytes 12..254.
void updateManufactureChecksum(ConfigImage& image);
void updateCurrentChecksum(ConfigImage& image);
void updateIdentificationChecksum(ConfigImage& image);

// The 16-bit checksum of a Mk2 bus card's MK2BUS_3 area, stored little-endian at
// its offset 36; the multiport terms are added when the option flags say so.
uint16_t busCardChecksum(const ConfigImage& image);
void updateBusCardChecksum(ConfigImage& image);

}  // namespace vantrel::image
