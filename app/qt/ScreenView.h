#pragma once
// A screen shown as a modal dialog. It closes when the screen closes itself; the
// window's close button and Escape press the screen's own exit button where it has
// one (ui::Screen::exitButton), so that the screen loop always learns where to go.
#include <QDialog>

#include "ScreenPanel.h"
#include "ui/Screen.h"

namespace vantrel::qt {

class StatusBar;

class ScreenView : public QDialog {
    Q_OBJECT
public:
    explicit ScreenView(ui::Screen& screen, QWidget* parent = nullptr);

    ScreenPanel& panel() const { return *panel_; }
    StatusBar& statusBar() const { return *status_; }
    ui::Screen& screen() const { return panel_->screen(); }

    // Escape and the window's close button.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // Escape is ignored on a screen that does not leave on Escape.
    void keyPressEvent(QKeyEvent* event) override;
    // Remembers where a screen of the loop was, for the next one.
    void hideEvent(QHideEvent* event) override;

private:
    void closeIfDone();
    void fitContents();

    ScreenPanel* panel_;
    StatusBar* status_;
};

}  // namespace vantrel::qt
