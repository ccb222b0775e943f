#include "LampIndicator.h"

#include <QPainter>

namespace vantrel::qt {
namespace {
constexpr int kGap = 6;
const QColor kLit(40, 190, 60);
const QColor kClear(205, 208, 212);
const QColor kRim(90, 94, 100);
}  // namespace

LampIndicator::LampIndicator(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void LampIndicator::setLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    update();
}

void LampIndicator::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    updateGeometry();
    update();
}

int LampIndicator::dotDiameter() const {
    return fontMetrics().height() * 3 / 4;
}

QSize LampIndicator::sizeHint() const {
    QFontMetrics metrics = fontMetrics();
    return {dotDiameter() + kGap + metrics.horizontalAdvance(text_) + 2, metrics.height() + 4};
}

void LampIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    int diameter = dotDiameter();
    QRectF dot(1, (height() - diameter) / 2.0, diameter, diameter);
    painter.setPen(QPen(kRim, 1));
    painter.setBrush(lit_ ? kLit : kClear);
    painter.drawEllipse(dot);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    QRect textRect = rect().adjusted(diameter + kGap + 1, 0, 0, 0);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text_);
}

}  // namespace vantrel::qt
