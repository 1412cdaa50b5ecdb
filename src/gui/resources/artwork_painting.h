#pragma once

#include <functional>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include "resources/artwork.h"

// The painting behind artwork.cpp, shared by its source files. Every function paints into a painter whose
// coordinates are device-independent pixels with (0, 0) at the top left of a picture of the given size.
namespace qora::gui::art {

// ---- The picture cache -----------------------------------------------------------------------------------------

// The picture `id` painted for `size` at `ratio`, from the one cache of painted pictures: `render` runs the first
// time only, and every later call returns the same image. Any thread.
QImage cachedImage(std::string_view id, QSize size, qreal ratio, const std::function<QImage()>& render);
// The same picture as a pixmap, made once from the cached image and sharing its pixels. GUI thread only.
QPixmap cachedPixmap(std::string_view id, QSize size, qreal ratio, const std::function<QImage()>& render);

// ---- The visual language: graphite, brushed metal, racing red, signal amber ------------------------------------

inline const QColor kGraphiteLight(52, 58, 70);
inline const QColor kGraphite(30, 34, 42);
inline const QColor kGraphiteDark(14, 16, 21);
inline const QColor kRacingRed(214, 36, 44);
inline const QColor kSignalAmber(240, 186, 48);
inline const QColor kAluminiumLight(232, 234, 238);
inline const QColor kAluminiumDark(196, 201, 209);

// A repeatable pseudo-random value 0 ... 255 for a pixel and a seed.
int noise(int x, int y, int seed);

// The bold, narrow sans face the artwork writes in.
QFont artFont(qreal pixelSize, bool italic = false);

// A band of black and white squares, fading out toward its left end when `fade` is set.
void paintChequers(QPainter& painter, const QRectF& area, qreal square, int alpha, bool fade);

// ---- Cars ------------------------------------------------------------------------------------------------------

enum class BodyStyle { Touring, Rounded, Muscle, Prototype, Wedge };
enum class Livery { Plain, SideStripe, TwinStripes, TwoTone, Flash };

struct CarLook {
    BodyStyle body = BodyStyle::Touring;
    QColor paint;
    QColor trim; // stripes and the second tone
    Livery livery = Livery::Plain;
    QString number;     // the race number in the door roundel; none when empty
    bool wing = false;  // a rear wing on posts
    bool ghost = false; // a see-through car with a light outline (the ghost vehicle)
};

// A side view of a car facing right, as large as fits `box` with its wheels standing on the box's bottom edge.
void paintCar(QPainter& painter, const QRectF& box, const CarLook& look);
// The car's shape, body and wheels, as one area (for watermarks).
QPainterPath carSilhouette(const QRectF& box, BodyStyle style);
// The car's outline only, dashed (for "no picture").
void paintCarOutline(QPainter& painter, const QRectF& box, BodyStyle body, const QColor& colour);

// The look of a built-in thumbnail's car, derived from its code.
CarLook thumbnailLook(std::string_view code);
void paintThumbnail(QPainter& painter, QSizeF size, std::string_view code);
void paintNoCar(QPainter& painter, QSizeF size);

// One toolbar button image of a set (an index into kToolbarSets).
void paintToolbarButton(QPainter& painter, QSizeF size, int set, ToolbarButton button, bool hot);

// ---- Backgrounds, markers, pictures, icons ------------------------------------------------------------------

void paintPageBackground(QPainter& painter, QSizeF size);
void paintChartBackground(QPainter& painter, QSizeF size);
void paintLegendBackground(QPainter& painter, QSizeF size);
void paintPointMarker(QPainter& painter, QSizeF size, bool active);
void paintFormBackground(QPainter& painter, QSizeF size);
void paintAboutPicture(QPainter& painter, QSizeF size);

enum class DialogMotif { None, Car, Garage, Folder, Files };
void paintDialogBackground(QPainter& painter, QSizeF size, DialogMotif motif);

void paintTabIcon(QPainter& painter, QSizeF size, int page);

} // namespace qora::gui::art
