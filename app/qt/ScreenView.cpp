#include "ScreenView.h"

#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "DialogLook.h"
#include "StatusBar.h"
#include "TextCodec.h"

namespace vantrel::qt {
namespace {
constexpr int kMinimumWidth = 440;
constexpr int kMargin = 12;

// Where the last screen of the screen loop was and how wide: the next one opens
// there, so that the tool keeps one place on the desktop.
std::optional<QRect>& lastPlace() {
    static std::optional<QRect> place;
    return place;
}
}  // namespace

ScreenView::ScreenView(ui::Screen& screen, QWidget* parent) : QDialog(parent) {
    setWindowTitle(fromLatin1(screen.title()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin / 2);
    panel_ = new ScreenPanel(screen, this);
    layout->addWidget(panel_);
    status_ = new StatusBar(this);
    layout->addWidget(status_);
    connect(panel_, &ScreenPanel::handlerFinished, this, &ScreenView::closeIfDone);
    connect(panel_, &ScreenPanel::rebuilt, this, &ScreenView::fitContents);
    QSize hint = sizeHint();
    int width = std::max(hint.width(), kMinimumWidth);
    // A screen of the loop takes the place of the one before it; a screen opened
    // over another is centred on it, as any dialog.
    if (!parent && lastPlace()) {
        width = std::max(hint.width(), lastPlace()->width());
        move(lastPlace()->topLeft());
    }
    resize(width, hint.height());
}

void ScreenView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    keepOnScreen(*this);
    panel_->applyOpeningFocus();
}

void ScreenView::hideEvent(QHideEvent* event) {
    if (!parentWidget()) lastPlace() = QRect(pos(), size());
    QDialog::hideEvent(event);
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
