#pragma once

#include <QPixmap>
#include <QSize>

namespace qora::gui {

// The picture shown while a vehicle has no picture of its own: a plain car outline with "NO PICTURE" under it,
// painted at the screen's pixel ratio so it stays crisp.
QPixmap noCarPicture(QSize size, qreal devicePixelRatio);

} // namespace qora::gui
