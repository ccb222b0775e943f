#pragma once
// ui::Ui with Qt: message boxes, the Error dialog, file dialogs, sounds, the busy
// cursor, and modal screens and sheets rendered by the generic views.
#include <QString>
#include <functional>
#include <string>

#include "SoundPlayer.h"
#include "ui/Ui.h"

class QWidget;

namespace vantrel::qt {

class QtUi : public ui::Ui {
public:
    QtUi();
    ~QtUi() override;

    void message(ui::MessageKind kind, const std::string& text, const std::string& caption,
                 ui::Icon icon) override;
    bool question(const ui::Question& question) override;
    void error(const std::string& text) override;
    std::optional<std::string> saveFile(const ui::FileDialog& dialog) override;
    std::optional<std::string> openFile(const ui::FileDialog& dialog) override;
    void play(ui::Sound sound) override;
    void setBusy(bool busy) override;
    void refresh() override;
    void run(ui::Screen& screen) override;
    void run(ui::Sheet& sheet) override;

    bool busy() const { return busy_; }

    // Why the port did not open, added under "Port did not open" ("no such device").
    std::function<std::string()> portErrorReason;

private:
    class NormalCursor;
    std::optional<std::string> fileDialog(const ui::FileDialog& dialog, bool save);

    SoundPlayer sounds_;
    bool busy_ = false;
};

// The dialog that new windows should sit over: the modal dialog shown now, if any.
QWidget* currentDialog();
// The file dialog's filter: "Eeprom Files (*.ucf)", built from name and pattern
// unless the name already carries the pattern.
QString fileFilter(const ui::FileDialog& dialog);
// A chosen save path with the default extension added when none was typed.
QString withDefaultExtension(const QString& path, const std::string& extension);

}  // namespace vantrel::qt
