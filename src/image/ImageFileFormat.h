#pragma once
// The text of an image file (*.ucf), without dialogs or files: one line per image
// area (key, tab, the bytes in hexadecimal, CR), the software identities raw, the
// option card line and the part-turn line when present.
#include <bitset>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

#include "image/ConfigImage.h"

namespace vantrel::image {

// The loader reads at most this many bytes of a file.
inline constexpr int kImageFileReadLimit = 2000;
// Length of the DATIM value: date and time, cut or padded with spaces.
inline constexpr int kDatimLength = 24;

// The DATIM value for a moment: local "ddd dd MMM yyyy hh:mm:ss", 24 characters.
std::string formatDatim(std::time_t when);

// The whole file for the image, stamped with datim (24 characters). It carries only
// what the image holds: each value ends before the first byte the image lacks, and
// a software identity the image lacks is left out.
std::string formatImageFile(const ConfigImage& image, std::string_view datim);

// Which of the EEPROM areas (in image order) a file holds whole: the key, then
// every hexadecimal digit of the area.
using EepromAreasHeld = std::bitset<area::kEepromAreas.size()>;

// Fills the image from the bytes of a file (callers pass at most the read limit).
// Resets the option card type and flags first. The image then holds exactly the
// bytes the file gave; areas whose key is missing keep their content but are not
// held. Returns false when "UNUSED2" is missing (the file is incomplete),
// with the areas before it already taken. Never reads outside data and never
// writes outside the image, whatever the bytes hold. held, when given, is set to
// the EEPROM areas the file holds whole.
bool parseImageFile(ConfigImage& image, std::span<const uint8_t> data,
                    EepromAreasHeld* held = nullptr);

}  // namespace vantrel::image
