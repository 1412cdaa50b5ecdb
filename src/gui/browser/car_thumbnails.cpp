#include "browser/car_thumbnails.h"

#include <algorithm>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "editor/car_picture.h"
#include "platform/qt_text.h"
#include "platform/text.h"

namespace qora::gui {

namespace {

// The code of a built-in car thumbnail name ("BMPG01B" -> "G01B"); empty for any other name.
std::string_view thumbnailCode(std::string_view name) {
    if (name.size() != 7 || !text::iequals(name.substr(0, 3), "bmp"))
        return {};
    for (std::string_view code : browser::kThumbnailCodes)
        if (text::iequals(code, name.substr(3)))
            return code;
    return {};
}

// A placeholder thumbnail: a side view of a car in a colour taken from its code, the code across it.
QPixmap placeholderThumbnail(std::string_view code, QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    unsigned hash = 0;
    for (char c : code)
        hash = hash * 31u + static_cast<unsigned char>(c);
    const QColor paint = QColor::fromHsv(static_cast<int>(hash % 360u), 170, 215);

    const QRectF area(0, 0, size.width(), size.height());
    QLinearGradient background(area.topLeft(), area.bottomLeft());
    background.setColorAt(0, QColor(236, 238, 242));
    background.setColorAt(0.7, QColor(196, 200, 208));
    background.setColorAt(1, QColor(120, 124, 132));
    painter.fillRect(area, background);

    const qreal w = area.width();
    const qreal h = area.height();
    const qreal ground = h * 0.80;
    QPainterPath body;
    body.moveTo(w * 0.06, ground - h * 0.04);
    body.lineTo(w * 0.06, ground - h * 0.20);
    body.quadTo(w * 0.10, ground - h * 0.30, w * 0.30, ground - h * 0.32);
    body.lineTo(w * 0.42, ground - h * 0.52);
    body.quadTo(w * 0.56, ground - h * 0.58, w * 0.68, ground - h * 0.50);
    body.lineTo(w * 0.80, ground - h * 0.33);
    body.quadTo(w * 0.94, ground - h * 0.30, w * 0.95, ground - h * 0.14);
    body.lineTo(w * 0.95, ground - h * 0.04);
    body.closeSubpath();
    QLinearGradient shine(0, ground - h * 0.58, 0, ground);
    shine.setColorAt(0, paint.lighter(135));
    shine.setColorAt(1, paint.darker(150));
    painter.setPen(QPen(paint.darker(220), 1.2));
    painter.setBrush(shine);
    painter.drawPath(body);

    QPainterPath glass;
    glass.moveTo(w * 0.36, ground - h * 0.33);
    glass.lineTo(w * 0.44, ground - h * 0.48);
    glass.quadTo(w * 0.56, ground - h * 0.53, w * 0.66, ground - h * 0.47);
    glass.lineTo(w * 0.74, ground - h * 0.33);
    glass.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 48, 62, 200));
    painter.drawPath(glass);

    const qreal radius = h * 0.13;
    painter.setPen(QPen(QColor(20, 20, 24), 1.2));
    for (qreal x : {w * 0.24, w * 0.78}) {
        painter.setBrush(QColor(28, 28, 32));
        painter.drawEllipse(QPointF(x, ground - h * 0.04), radius, radius);
        painter.setBrush(QColor(170, 174, 182));
        painter.drawEllipse(QPointF(x, ground - h * 0.04), radius * 0.5, radius * 0.5);
    }

    QFont font = painter.font();
    font.setPixelSize(std::max(9, static_cast<int>(h * 0.26)));
    font.setBold(true);
    painter.setFont(font);
    const QRectF label(0, 0, w, h * 0.34);
    painter.setPen(QColor(255, 255, 255, 170));
    painter.drawText(label.translated(1, 1), Qt::AlignCenter, fromLatin1(code));
    painter.setPen(QColor(36, 40, 48));
    painter.drawText(label, Qt::AlignCenter, fromLatin1(code));
    return pixmap;
}

} // namespace

QPixmap builtInBitmap(std::string_view name, QSize size, qreal devicePixelRatio) {
    const std::string_view code = thumbnailCode(name);
    if (code.empty())
        return noCarPicture(size, devicePixelRatio);
    return placeholderThumbnail(code, size, devicePixelRatio);
}

QPixmap carPicturePixmap(const browser::CarPicture& picture, qreal devicePixelRatio) {
    if (!picture.file.empty()) {
        QPixmap file(fromPath(picture.file));
        if (!file.isNull())
            return file;
        return noCarPicture(kThumbnailSize, devicePixelRatio);
    }
    return builtInBitmap(picture.builtIn, kThumbnailSize, devicePixelRatio);
}

QPixmap fitToFrame(const QPixmap& picture, bool stretched, QSize frame, qreal devicePixelRatio) {
    if (stretched) {
        QPixmap scaled = picture.scaled(frame * devicePixelRatio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(devicePixelRatio);
        return scaled;
    }
    QPixmap framed(frame * devicePixelRatio);
    framed.setDevicePixelRatio(devicePixelRatio);
    framed.fill(Qt::transparent);
    QPainter painter(&framed);
    const QSizeF own = picture.deviceIndependentSize();
    painter.drawPixmap(QPointF((frame.width() - own.width()) / 2, (frame.height() - own.height()) / 2), picture);
    return framed;
}

} // namespace qora::gui
