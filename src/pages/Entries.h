#pragma once
// Entry texts of the pages' lists, made by the shared list fillers.
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::pages {

// "first" .. "last", as fillNumberList writes them.
std::vector<std::string> numberEntries(uint16_t first, uint16_t last);

}  // namespace vantrel::pages
