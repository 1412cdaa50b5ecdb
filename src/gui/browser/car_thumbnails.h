#pragma once

#include <string_view>

#include <QPixmap>
#include <QSize>

#include "browser/vehicle_list.h"

namespace qora::gui {

// The size the built-in car thumbnails are drawn at, the size of the window's vehicle picture.
inline const QSize kThumbnailSize(112, 56);

// A built-in bitmap by name, without regard to letter case: "bmpNoCar", or "BMP" + one of the 56 car codes.
// They are QORA's own artwork (artwork.h). An unknown name gives "bmpNoCar".
QPixmap builtInBitmap(std::string_view name, QSize size, qreal devicePixelRatio);

// The pixmap of a car picture: its bitmap file (a file that cannot be read shows "bmpNoCar") or its built-in
// bitmap, at the file's own size or the built-in size.
QPixmap carPicturePixmap(const browser::CarPicture& picture, qreal devicePixelRatio);

// The picture fitted to a frame: stretched pictures fill it, the others are centred at their own size.
QPixmap fitToFrame(const QPixmap& picture, bool stretched, QSize frame, qreal devicePixelRatio);

} // namespace qora::gui
