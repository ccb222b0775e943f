#include "pages/Entries.h"

#include "image/ValueLists.h"

namespace vantrel::pages {

std::vector<std::string> numberEntries(uint16_t first, uint16_t last) {
    ui::ComboBox list;
    image::fillNumberList(list, first, last);
    return list.entries();
}

std::vector<std::string> suffixEntries(uint16_t first, uint16_t last, std::string_view suffix) {
    ui::ComboBox list;
    image::fillNumberListSuffix(list, first, last, true, suffix);
    return list.entries();
}

std::vector<std::string> hexEntries(uint16_t first, uint16_t last) {
    ui::ComboBox list;
    image::fillHexList(list, first, last);
    return list.entries();
}

std::vector<std::string> tenthsEntries(float first, float last, std::string_view suffix) {
    ui::ComboBox list;
    image::fillTenthsList(list, first, last, true, suffix);
    return list.entries();
}

}  // namespace vantrel::pages
