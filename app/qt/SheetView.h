#pragma once
// A property sheet shown as a modal dialog: one tab per page, each page set up and
// built the first time its tab is shown. Closing any page closes the sheet; a page
// brought to the front by a handler (ui::Sheet::show) becomes the current tab.
#include <QDialog>
#include <vector>

#include "ScreenPanel.h"
#include "ui/Sheet.h"

class QTabWidget;

namespace vantrel::qt {

// The text colour of the tab of a page with a marked control.
inline constexpr const char* kMarkedTabColor = "#b35900";

class SheetView : public QDialog {
    Q_OBJECT
public:
    explicit SheetView(ui::Sheet& sheet, QWidget* parent = nullptr);

    QTabWidget& tabs() const { return *tabs_; }
    // The panel of a page, or nullptr while the page has not been shown.
    ScreenPanel* panel(int index) const { return panels_.at(index); }

    // Escape and the window's close button press the sheet's exit button (the first
    // page's marked button, Done), so its questions are asked; a sheet without one
    // closes as a cancel.
    void reject() override;

private:
    void showPage(int index);
    // Keys that bring the next or the previous page to the front.
    void addPageKeys();
    // After a handler: closes when a page closed the sheet, else shows the page the
    // sheet has brought to the front.
    void followSheet();

    ui::Sheet& sheet_;
    QTabWidget* tabs_;
    std::vector<ScreenPanel*> panels_;
};

}  // namespace vantrel::qt
