#pragma once
// A Ui that shows nothing and answers No: for screens built only to read what their
// controls show (listings, summaries), where no dialog may ever appear.
#include "ui/Ui.h"

namespace vantrel::ui {

class SilentUi : public Ui {
public:
    void message(MessageKind, const std::string&, const std::string&, Icon) override {}
    bool question(const Question&) override { return false; }
    void error(const std::string&) override {}
    std::optional<std::string> saveFile(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> openFile(const FileDialog&) override { return std::nullopt; }
    void play(Sound) override {}
    void setBusy(bool) override {}
    void refresh() override {}
    void run(Screen&) override {}
    void run(Sheet&) override {}
};

}  // namespace vantrel::ui
