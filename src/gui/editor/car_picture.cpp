#include "editor/car_picture.h"

#include <algorithm>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace qora::gui {

QPixmap noCarPicture(QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF area(0, 0, size.width(), size.height());
    QLinearGradient background(area.topLeft(), area.bottomLeft());
    background.setColorAt(0, QColor(46, 50, 58));
    background.setColorAt(1, QColor(18, 20, 24));
    painter.fillRect(area, background);

    // A side view in proportions of the area: body, cabin and two wheels.
    const qreal w = area.width();
    const qreal h = area.height();
    const qreal ground = h * 0.68;
    QPainterPath body;
    body.moveTo(w * 0.08, ground);
    body.lineTo(w * 0.08, ground - h * 0.14);
    body.quadTo(w * 0.12, ground - h * 0.22, w * 0.30, ground - h * 0.24);
    body.lineTo(w * 0.40, ground - h * 0.42);
    body.quadTo(w * 0.55, ground - h * 0.47, w * 0.68, ground - h * 0.40);
    body.lineTo(w * 0.80, ground - h * 0.24);
    body.quadTo(w * 0.92, ground - h * 0.22, w * 0.93, ground - h * 0.10);
    body.lineTo(w * 0.93, ground);
    body.closeSubpath();
    painter.setPen(QPen(QColor(150, 156, 168), 1.4));
    painter.setBrush(QColor(72, 78, 90));
    painter.drawPath(body);

    const qreal radius = h * 0.12;
    painter.setBrush(QColor(24, 26, 30));
    painter.setPen(QPen(QColor(150, 156, 168), 1.4));
    painter.drawEllipse(QPointF(w * 0.25, ground), radius, radius);
    painter.drawEllipse(QPointF(w * 0.76, ground), radius, radius);

    QFont font = painter.font();
    font.setPixelSize(std::max(8, static_cast<int>(h * 0.14)));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(170, 176, 188));
    painter.drawText(QRectF(0, ground + radius, w, h - ground - radius), Qt::AlignCenter, QStringLiteral("NO PICTURE"));
    return pixmap;
}

} // namespace qora::gui
