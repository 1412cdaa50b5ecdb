#include "editor/car_picture.h"

#include "resources/artwork.h"

namespace qora::gui {

QPixmap noCarPicture(QSize size, qreal devicePixelRatio) {
    return artworkPixmap(kNoCarPicture, size, devicePixelRatio);
}

} // namespace qora::gui
