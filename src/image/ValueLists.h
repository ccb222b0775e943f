#pragma once
// Drop-down lists whose entry position is the stored value, and two helpers of the
// service screens: a delay and a travel measurement.
#include <cstdint>
#include <string_view>

#include "link/LinkState.h"
#include "ui/Control.h"

namespace vantrel::image {

// Each filler appends first..last (inclusive) to the list, without clearing it.
// "%d": 0, 1, ... 255.
void fillNumberList(ui::ComboBox& list, uint16_t first, uint16_t last);
// "%d%s" with the suffix (25%), "%d" without.
void fillNumberListSuffix(ui::ComboBox& list, uint16_t first, uint16_t last, bool withSuffix,
                          std::string_view suffix);
// "%.2Xh": 00h, 0Ah, FFh.
void fillHexList(ui::ComboBox& list, uint16_t first, uint16_t last);
// Tenths from first while below last, last itself not listed: 0.0 .. 9.8 for 9.9.
// "%.1f%s" with the suffix, "%.1f" without.
void fillTenthsList(ui::ComboBox& list, float first, float last, bool withSuffix,
                    std::string_view suffix);

// Returns after ms milliseconds. The screen does not respond meanwhile.
void delayMs(unsigned ms);

// Home count of the position registers: 0x1A0000.
inline constexpr int32_t kTravelHomeCount = 1703936;
// The position in thousandths of the travel from the home count to the open limit
// (register 68), from register 0; 0 when a read fails or the open limit is the home
// count. Opens and closes its own link.
int measureTravel(link::LinkState& state);

}  // namespace vantrel::image
