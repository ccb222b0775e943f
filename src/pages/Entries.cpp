#include "pages/Entries.h"

#include "image/ValueLists.h"

namespace vantrel::pages {

namespace {

// The entries a shared filler writes into an empty list.
template <class Filler, class... Args>
std::vector<std::string> filled(Filler filler, Args... args) {
    ui::ComboBox list;
    filler(list, args...);
    return list.entries();
}

}  // namespace

std::vector<std::string> numberEntries(uint16_t first, uint16_t last) {
    return filled(image::fillNumberList, first, last);
}

std::vector<std::string> suffixEntries(uint16_t first, uint16_t last, std::string_view suffix) {
    return filled(image::fillNumberListSuffix, first, last, true, suffix);
}

std::vector<std::string> hexEntries(uint16_t first, uint16_t last) {
    return filled(image::fillHexList, first, last);
}

std::vector<std::string> tenthsEntries(float first, float last, std::string_view suffix) {
    return filled(image::fillTenthsList, first, last, true, suffix);
}

}  // namespace vantrel::pages
