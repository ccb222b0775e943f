#pragma once
// What every small dialog of the tool shares: a title bar without minimise and
// maximise buttons, a width that shows the whole title, and a place on the screen.
class QDialog;
class QMessageBox;
class QWidget;

namespace vantrel::qt {

// Only a title and a close button: a modal dialog is answered, not minimised.
void setDialogButtons(QWidget& dialog);
// The width that shows the window title whole, with room for the title bar's icon
// and close button; never wider than the screen.
int widthForTitle(const QWidget& dialog);
// A message box at least as wide as its title (a message box sizes itself to its
// text only, and the window manager cuts a longer title).
void fitTitle(QMessageBox& box);
// Keeps a window on the screen it opens on: no wider than the available width, and
// moved back inside when it would stick out; on a screen under 800 pixels wide,
// centred.
void keepOnScreen(QWidget& window);

}  // namespace vantrel::qt
