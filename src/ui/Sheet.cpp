#include "ui/Sheet.h"

namespace vantrel::ui {

Screen* Sheet::page(const std::string& title) const {
    for (const auto& entry : pages_)
        if (entry.screen->title() == title) return entry.screen.get();
    return nullptr;
}

void Sheet::show(int index) {
    Entry& entry = pages_.at(index);
    current_ = index;
    if (!entry.setUp) {
        entry.setUp = true;
        entry.screen->setUp();
    } else {
        entry.screen->broughtToFront();
    }
}

bool Sheet::show(const std::string& title) {
    for (int i = 0; i < pageCount(); ++i) {
        if (pages_[i].screen->title() == title) {
            show(i);
            return true;
        }
    }
    return false;
}

bool Sheet::closed() const {
    for (const auto& entry : pages_)
        if (entry.screen->closed()) return true;
    return false;
}

}  // namespace vantrel::ui
