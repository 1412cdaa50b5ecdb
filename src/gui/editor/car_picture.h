#pragma once

#include <QPixmap>
#include <QSize>

namespace qora::gui {

// The picture shown while a vehicle has no picture of its own, the built-in "bmpNoCar", painted for the size at the
// screen's pixel ratio so it stays crisp.
QPixmap noCarPicture(QSize size, qreal devicePixelRatio);

} // namespace qora::gui
