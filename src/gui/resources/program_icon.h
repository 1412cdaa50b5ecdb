#pragma once

#include <QIcon>
#include <QImage>

// QORA's own icon: a graphite badge with a brushed-aluminium "Q" ring whose tail is a racing-red and amber stripe,
// and, from 48 pixels up, an engine curve inside the ring. Painted by the program like the rest of its artwork;
// the desktop icons (hicolor PNGs) are rendered from it at build time.
namespace qora::gui {

// The desktop id the icon, desktop entry, MIME type and metainfo share.
inline constexpr char kDesktopId[] = "io.qora.Qora";

// The sizes installed into the hicolor icon theme.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The icon as a square image of `side` pixels (1 ... 1024, clamped) with transparent corners
// (Format_ARGB32_Premultiplied). The same side gives the same pixels on every run.
QImage programIconImage(int side);

// The icon for windows: painted on demand for whatever size the platform asks.
QIcon programIcon();

} // namespace qora::gui
