#include "browser/car_thumbnails.h"

#include <string>

#include <QPainter>

#include "editor/car_picture.h"
#include "platform/qt_text.h"
#include "platform/text.h"
#include "resources/artwork.h"

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

} // namespace

QPixmap builtInBitmap(std::string_view name, QSize size, qreal devicePixelRatio) {
    const std::string_view code = thumbnailCode(name);
    if (code.empty())
        return noCarPicture(size, devicePixelRatio);
    return artworkPixmap("BMP" + std::string(code), size, devicePixelRatio);
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
