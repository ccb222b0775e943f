#include "SheetView.h"

#include <QColor>
#include <QKeySequence>
#include <QScrollArea>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "DialogLook.h"
#include "StatusBar.h"
#include "TextCodec.h"

namespace vantrel::qt {
namespace {
constexpr int kWidth = 460;
constexpr int kHeight = 600;
constexpr int kPageMargin = 8;
// The tab widget's frame around its bar.
constexpr int kTabBarAllowance = 8;
}  // namespace

SheetView::SheetView(ui::Sheet& sheet, QWidget* parent) : QDialog(parent), sheet_(sheet) {
    setWindowTitle(fromLatin1(sheet.title()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    tabs_ = new QTabWidget(this);
    tabs_->setUsesScrollButtons(true);
    layout->addWidget(tabs_);
    layout->addWidget(new StatusBar(this));
    for (int i = 0; i < sheet.pageCount(); ++i) {
        // Long pages scroll rather than push the window off a small screen.
        auto* scroll = new QScrollArea(tabs_);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        auto* holder = new QWidget(scroll);
        auto* holderLayout = new QVBoxLayout(holder);
        holderLayout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
        scroll->setWidget(holder);
        tabs_->addTab(scroll, fromLatin1(sheet.page(i).title()));
        if (!sheet.page(i).markedNames.empty()) {
            tabs_->tabBar()->setTabTextColor(i, QColor(QString::fromLatin1(kMarkedTabColor)));
            tabs_->setTabToolTip(i, QStringLiteral("Settings on this page differ from the file"));
        }
    }
    panels_.assign(sheet.pageCount(), nullptr);
    // As wide as every tab title needs, so that all of them show; keepOnScreen keeps
    // it to the screen, where the bar scrolls.
    const int tabsWidth = tabs_->tabBar()->sizeHint().width() +
                          2 * layout->contentsMargins().left() + kTabBarAllowance;
    resize(std::max(kWidth, tabsWidth), kHeight);
    keepOnScreen(*this);
    connect(tabs_, &QTabWidget::currentChanged, this, &SheetView::showPage);
    addPageKeys();
    if (sheet.pageCount() > 0) showPage(0);
}

void SheetView::addPageKeys() {
    // The pages are reached from any control, lists included, without a mouse:
    // Ctrl+Tab and Ctrl+Page Down for the next page, with Shift or Page Up back.
    const auto turn = [this](int step) {
        const int count = tabs_->count();
        if (count > 0) tabs_->setCurrentIndex((tabs_->currentIndex() + step + count) % count);
    };
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [turn] { turn(1); });
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                     QKeySequence(Qt::CTRL | Qt::Key_PageUp)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [turn] { turn(-1); });
}

void SheetView::showPage(int index) {
    if (index < 0 || index >= sheet_.pageCount()) return;
    // Showing a page may rebuild its controls: its panel lets go of them first.
    ui::Screen::HandlerScope scope(sheet_.page(index));
    sheet_.show(index);
    if (!panels_[index]) {
        auto* scroll = static_cast<QScrollArea*>(tabs_->widget(index));
        QWidget* holder = scroll->widget();
        auto* panel = new ScreenPanel(sheet_.page(index), holder);
        holder->layout()->addWidget(panel);
        connect(panel, &ScreenPanel::handlerFinished, this, &SheetView::followSheet);
        panels_[index] = panel;
    }
    // Setting up one page may change what the others show (the shared view flag).
    ScreenPanel::syncAllOpen();
    panels_[index]->applyOpeningFocus();
    followSheet();
}

void SheetView::followSheet() {
    if (sheet_.closed()) {
        done(QDialog::Accepted);
        return;
    }
    if (sheet_.current() >= 0 && sheet_.current() != tabs_->currentIndex())
        tabs_->setCurrentIndex(sheet_.current());
}

void SheetView::reject() {
    for (ScreenPanel* panel : panels_)
        if (panel && panel->handlerRunning()) return;
    // Leaving the sheet any way asks what its exit button (Done) asks.
    for (int i = 0; i < sheet_.pageCount(); ++i) {
        ui::Button* exit = sheet_.page(i).exitButton();
        if (!exit) continue;
        if (!panels_[i]) tabs_->setCurrentIndex(i);  // builds the page's panel
        if (panels_[i]) {
            panels_[i]->press(*exit);  // the sheet closes when the page closes it
            return;
        }
    }
    int index = std::max(0, tabs_->currentIndex());
    if (sheet_.pageCount() > 0) sheet_.page(index).close();
    done(QDialog::Rejected);
}

}  // namespace vantrel::qt
