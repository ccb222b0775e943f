#include "DialogLook.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <algorithm>

namespace vantrel::qt {
namespace {
// The title bar's icon, close button and margins, beside the title text.
constexpr int kTitleBarAllowance = 120;
// Below this width a screen counts as small.
constexpr int kSmallScreenWidth = 800;

QRect availableArea(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen ? screen->availableGeometry() : QRect();
}
}  // namespace

void setDialogButtons(QWidget& dialog) {
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
}

int widthForTitle(const QWidget& dialog) {
    const int wanted =
        dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + kTitleBarAllowance;
    const QRect area = availableArea(dialog);
    return area.isValid() ? std::min(wanted, area.width()) : wanted;
}

void fitTitle(QMessageBox& box) {
    // QMessageBox fixes its own size when shown; a spacer across its grid is the
    // width it has to keep.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(
        new QSpacerItem(widthForTitle(box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
        grid->rowCount(), 0, 1, grid->columnCount());
}

void keepOnScreen(QWidget& window) {
    const QRect area = availableArea(window);
    if (!area.isValid()) return;
    QRect frame = window.frameGeometry();
    const int decoration = frame.height() - window.height();
    const int width = std::min(window.width(), area.width());
    const int height = std::min(window.height(), area.height() - decoration);
    if (width != window.width() || height != window.height()) window.resize(width, height);
    frame = window.frameGeometry();
    const int x =
        std::clamp(frame.x(), area.left(), std::max(area.left(), area.right() - frame.width() + 1));
    const int y =
        std::clamp(frame.y(), area.top(), std::max(area.top(), area.bottom() - frame.height() + 1));
    if (x != frame.x() || y != frame.y()) window.move(x, y);
    // On a small screen every window sits in the middle, where the eye expects it.
    if (area.width() < kSmallScreenWidth) {
        frame = window.frameGeometry();
        frame.moveCenter(area.center());
        window.move(std::max(area.left(), frame.x()), std::max(area.top(), frame.y()));
    }
}

}  // namespace vantrel::qt
