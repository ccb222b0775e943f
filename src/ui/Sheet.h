#pragma once
// A property sheet: pages added in order, each set up the first time it is shown,
// shown modally from a button of another screen. Closing any page closes the sheet.
#include <memory>
#include <string>
#include <vector>

#include "ui/Screen.h"

namespace vantrel::ui {

class Sheet {
public:
    explicit Sheet(std::string title) : title_(std::move(title)) {}

    void addPage(std::unique_ptr<Screen> page) { pages_.push_back({std::move(page), false}); }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    Screen& page(int index) const { return *pages_.at(index).screen; }
    Screen* page(const std::string& title) const;

    // Brings a page to the front, setting it up when it is shown for the first time.
    void show(int index);
    // The same for the page with this title; false when the sheet has none.
    bool show(const std::string& title);
    int current() const { return current_; }

    bool closed() const;
    const std::string& title() const { return title_; }

private:
    struct Entry {
        std::unique_ptr<Screen> screen;
        bool setUp;
    };
    std::string title_;
    std::vector<Entry> pages_;
    int current_ = -1;
};

}  // namespace vantrel::ui
