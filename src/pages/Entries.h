#pragma once
// Entry texts of the pages' lists, made by the shared list fillers.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::pages {

// "first" .. "last", as fillNumberList writes them.
std::vector<std::string> numberEntries(uint16_t first, uint16_t last);
// "first" .. "last", each followed by the suffix ("5 Secs").
std::vector<std::string> suffixEntries(uint16_t first, uint16_t last, std::string_view suffix);
// "00h" .. "FFh".
std::vector<std::string> hexEntries(uint16_t first, uint16_t last);
// Tenths from first while below last, each followed by the suffix ("2.5 %").
std::vector<std::string> tenthsEntries(float first, float last, std::string_view suffix);

}  // namespace vantrel::pages
