#include "Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace vantrel::qt {
namespace {

constexpr int kPictureWidth = 160;  // drawing units; the pixmap is scaled up
constexpr int kPictureHeight = 120;
constexpr qreal kPictureScale = 1.3;
const QColor kBodyRed(178, 34, 34);
const QColor kBodyRedDark(120, 20, 20);
const QColor kSteel(150, 156, 164);
const QColor kSteelDark(80, 86, 94);
const QColor kWheel(40, 44, 52);
const QColor kWindow(30, 30, 36);
const QColor kLampGreen(80, 210, 90);

// A handwheel: rim, hub and spokes, centred on `centre`.
void drawHandwheel(QPainter& painter, QPointF centre, qreal radius, int spokes) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kWheel, radius * 0.18));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(kWheel, radius * 0.10, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < spokes; ++i) {
        qreal angle = qDegreesToRadians(90.0 + 360.0 * i / spokes);
        painter.drawLine(centre, centre + QPointF(radius * qCos(angle), -radius * qSin(angle)));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kWheel);
    painter.drawEllipse(centre, radius * 0.22, radius * 0.22);
}

}  // namespace

QPixmap productPicture() {
    QPixmap pixmap(qRound(kPictureWidth * kPictureScale), qRound(kPictureHeight * kPictureScale));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kPictureScale, kPictureScale);

    // The pipe and the valve body it carries.
    QLinearGradient steel(0, 88, 0, 116);
    steel.setColorAt(0, kSteel.lighter(120));
    steel.setColorAt(1, kSteelDark);
    painter.setPen(QPen(kSteelDark, 1));
    painter.setBrush(steel);
    painter.drawRect(QRectF(4, 94, 152, 16));
    painter.drawRoundedRect(QRectF(14, 88, 10, 28), 2, 2);
    painter.drawRoundedRect(QRectF(136, 88, 10, 28), 2, 2);
    painter.drawRoundedRect(QRectF(54, 84, 52, 34), 8, 8);

    // The yoke between valve and actuator.
    painter.setBrush(kSteelDark);
    painter.drawRect(QRectF(72, 70, 16, 16));

    // The actuator body with its terminal cover and control window.
    QLinearGradient red(0, 20, 0, 72);
    red.setColorAt(0, kBodyRed.lighter(125));
    red.setColorAt(1, kBodyRedDark);
    painter.setPen(QPen(kBodyRedDark.darker(130), 1.5));
    painter.setBrush(red);
    painter.drawRoundedRect(QRectF(30, 22, 100, 50), 10, 10);
    painter.drawRoundedRect(QRectF(108, 30, 30, 34), 6, 6);
    painter.setBrush(kWindow);
    painter.setPen(QPen(kSteel, 2));
    painter.drawEllipse(QPointF(64, 47), 15, 15);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLampGreen);
    painter.drawEllipse(QPointF(58, 44), 3, 3);
    painter.setBrush(QColor(230, 60, 50));
    painter.drawEllipse(QPointF(70, 44), 3, 3);
    painter.setBrush(QColor(250, 200, 60));
    painter.drawRoundedRect(QRectF(57, 51, 14, 4), 1, 1);

    // The local control knobs and the handwheel on the side.
    painter.setBrush(kWheel);
    painter.drawEllipse(QPointF(96, 38), 5, 5);
    painter.drawEllipse(QPointF(96, 56), 5, 5);
    painter.setPen(QPen(kSteelDark, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(30, 47), QPointF(20, 47));
    drawHandwheel(painter, QPointF(14, 47), 12, 5);
    return pixmap;
}

QPixmap appIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    QLinearGradient red(0, 0, 0, 64);
    red.setColorAt(0, kBodyRed.lighter(130));
    red.setColorAt(1, kBodyRedDark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(red);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    painter.setBrush(QColor(245, 245, 245));
    painter.drawEllipse(QPointF(32, 32), 25, 25);
    drawHandwheel(painter, QPointF(32, 32), 19, 5);
    return pixmap;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(appIconPixmap(size));
    return icon;
}

}  // namespace vantrel::qt
