#include "pages/Entries.h"

#include "image/ValueLists.h"

namespace vantrel::pages {

std::vector<std::string> numberEntries(uint16_t first, uint16_t last) {
    ui::ComboBox list;
    image::fillNumberList(list, first, last);
    return list.entries;
}

}  // namespace vantrel::pages
