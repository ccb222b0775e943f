#include "ScreenView.h"

#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "TextCodec.h"

namespace vantrel::qt {
namespace {
constexpr int kMinimumWidth = 440;
constexpr int kMargin = 12;
}  // namespace

ScreenView::ScreenView(ui::Screen& screen, QWidget* parent) : QDialog(parent) {
    setWindowTitle(fromLatin1(screen.title()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    panel_ = new ScreenPanel(screen, this);
    layout->addWidget(panel_);
    connect(panel_, &ScreenPanel::handlerFinished, this, &ScreenView::closeIfDone);
    connect(panel_, &ScreenPanel::rebuilt, this, &ScreenView::fitContents);
    QSize hint = sizeHint();
    resize(std::max(hint.width(), kMinimumWidth), hint.height());
}

void ScreenView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    panel_->applyFocus();
}

void ScreenView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        !screen().exitsOnEscape()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ScreenView::fitContents() {
    // New controls may need more room; the window never shrinks under the user.
    QSize hint = sizeHint();
    resize(std::max(hint.width(), width()), std::max(hint.height(), height()));
}

void ScreenView::closeIfDone() {
    setWindowTitle(fromLatin1(screen().title()));
    if (screen().closed()) done(QDialog::Accepted);
}

void ScreenView::reject() {
    // A handler is still running (perhaps showing a dialog of its own): it decides.
    if (panel_->handlerRunning()) return;
    if (ui::Button* button = screen().exitButton()) {
        // As a click: the handler runs and the view re-syncs and closes as usual.
        panel_->press(*button);
        return;
    }
    screen().close();
    done(QDialog::Rejected);
}

}  // namespace vantrel::qt
