// QORA's backgrounds and small pictures: the page skin, the header, the chart's background, legend pattern and
// point markers, the about picture, the dialog backgrounds and the tab icons.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "resources/artwork_painting.h"

namespace qora::gui::art {

int noise(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 0xFFu);
}

QFont artFont(qreal pixelSize, bool italic) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setStretch(QFont::Condensed);
    font.setWeight(QFont::Bold);
    font.setItalic(italic);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    return font;
}

void paintChequers(QPainter& painter, const QRectF& area, qreal square, int alpha, bool fade) {
    const int columns = static_cast<int>(std::ceil(area.width() / square));
    const int rows = static_cast<int>(std::ceil(area.height() / square));
    painter.save();
    painter.setClipRect(area);
    painter.setPen(Qt::NoPen);
    for (int column = 0; column < columns; ++column) {
        const double strength = fade ? std::pow((column + 1.0) / columns, 1.6) : 1.0;
        for (int row = 0; row < rows; ++row) {
            const bool dark = (row + column) % 2 == 0;
            const int level = dark ? 10 : 240;
            painter.setBrush(QColor(level, level, level, static_cast<int>(alpha * strength)));
            painter.drawRect(QRectF(area.left() + column * square, area.top() + row * square, square, square));
        }
    }
    painter.restore();
}

namespace {

constexpr int kWeavePeriod = 16; // 4 x 4 cells of 4 pixels: a 2/2 twill
constexpr int kGrainPeriod = 64;

// Carbon fibre: tows of 4-pixel cells in a 2/2 twill, each tow rounded by its shading. Repeats every 16 pixels.
QImage paintWeaveTile(int base, int relief) {
    QImage tile(kWeavePeriod, kWeavePeriod, QImage::Format_RGB32);
    for (int y = 0; y < kWeavePeriod; ++y) {
        auto* row = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < kWeavePeriod; ++x) {
            const int cellX = x / 4;
            const int cellY = y / 4;
            const bool across = (cellX + cellY) % 4 < 2;
            const double inCell = ((across ? y : x) % 4 + 0.5) / 4.0;
            const double round = std::sin(inCell * std::numbers::pi);
            const int level = base + static_cast<int>((across ? relief : relief * 0.6) * round) + noise(x, y, 7) % 3;
            row[x] = qRgb(level, level + 1, level + 4);
        }
    }
    return tile;
}

// Fine horizontal grain of brushed metal, as light and dark streaks over whatever lies below. Repeats every 64
// pixels across and down (kGrainPeriod).
QImage paintGrainTile(int strength, int seed) {
    constexpr int kSide = kGrainPeriod;
    constexpr int kSpan = 16; // the length of one streak's change along a row
    QImage tile(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < kSide; ++y) {
        auto* row = reinterpret_cast<QRgb*>(tile.scanLine(y));
        const double streak = (noise(0, y, seed) - 127.5) / 127.5;
        for (int x = 0; x < kSide; ++x) {
            const int segment = x / kSpan;
            const int a = noise(segment, y, seed + 1);
            const int b = noise((segment + 1) % (kSide / kSpan), y, seed + 1);
            const double t = (x % kSpan) / static_cast<double>(kSpan);
            const double drift = (a + (b - a) * t - 127.5) / 127.5;
            const double value = std::clamp(streak * 0.7 + drift * 0.3, -1.0, 1.0);
            const int alpha = static_cast<int>(std::abs(value) * strength);
            const int level = value > 0 ? 255 : 0;
            row[x] = qPremultiply(qRgba(level, level, level, alpha));
        }
    }
    return tile;
}

// The tiles, painted once for each look and kept in the picture cache.
QImage weaveTile(int base, int relief) {
    const std::string id = "weave tile " + std::to_string(base) + "/" + std::to_string(relief);
    return cachedImage(id, QSize(kWeavePeriod, kWeavePeriod), 1.0, [=] { return paintWeaveTile(base, relief); });
}

QImage grainTile(int strength, int seed) {
    const std::string id = "grain tile " + std::to_string(strength) + "/" + std::to_string(seed);
    return cachedImage(id, QSize(kGrainPeriod, kGrainPeriod), 1.0, [=] { return paintGrainTile(strength, seed); });
}

// A gradient that repeats once per width across and once per height down, so that a tile of that size stays
// seamless: the bands run diagonally.
QLinearGradient seamlessSheen(QSizeF size) {
    const double w = size.width();
    const double h = size.height();
    const double reach = 1.0 / (1.0 / (w * w) + 1.0 / (h * h));
    QLinearGradient sheen(QPointF(0, 0), QPointF(reach / w, reach / h));
    sheen.setSpread(QGradient::RepeatSpread);
    return sheen;
}

// Slanted racing stripes: a wide red one, an amber one and a thin white one, leaning forward by `slant` of their
// height.
void paintSpeedStripes(QPainter& painter, double x, double top, double bottom, double unit, int alpha,
                       double slant = 0.45) {
    const double lean = (bottom - top) * slant;
    struct Stripe {
        double offset;
        double width;
        QColor colour;
    };
    const Stripe stripes[] = {{0, unit * 2.4, kRacingRed},
                              {unit * 3.2, unit * 1.2, kSignalAmber},
                              {unit * 5.0, unit * 0.5, QColor(240, 240, 240)}};
    painter.save();
    painter.setPen(Qt::NoPen);
    for (const Stripe& s : stripes) {
        QColor colour = s.colour;
        colour.setAlpha(alpha);
        painter.setBrush(colour);
        QPolygonF band;
        band << QPointF(x + s.offset + lean, top) << QPointF(x + s.offset + s.width + lean, top)
             << QPointF(x + s.offset + s.width, bottom) << QPointF(x + s.offset, bottom);
        painter.drawPolygon(band);
    }
    painter.restore();
}

void paintWordmark(QPainter& painter, const QRectF& area, const QColor& colour, int flags) {
    QFont font = artFont(area.height(), true);
    font.setLetterSpacing(QFont::PercentageSpacing, 104);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area, flags, QStringLiteral("QORA"));
}

} // namespace

// ---- Page skin and header -------------------------------------------------------------------------------------

void paintPageBackground(QPainter& painter, QSizeF size) {
    const QRectF area(QPointF(0, 0), size);
    painter.fillRect(area, QBrush(weaveTile(20, 16)));
    QLinearGradient sheen = seamlessSheen(size);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.5, QColor(140, 170, 220, 14));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.fillRect(area, sheen);
}

void paintFormBackground(QPainter& painter, QSizeF size) {
    const QRectF area(QPointF(0, 0), size);
    const double w = size.width();
    const double h = size.height();
    QLinearGradient base(area.topLeft(), area.bottomLeft());
    base.setColorAt(0.0, QColor(44, 50, 62));
    base.setColorAt(1.0, QColor(14, 16, 21));
    painter.fillRect(area, base);
    painter.save();
    painter.setOpacity(0.35);
    painter.fillRect(area, QBrush(weaveTile(20, 16)));
    painter.restore();

    // Toward the right: chequers fading in, then the racing stripes.
    const double stripes = w - std::min(w * 0.30, 260.0);
    const double square = std::clamp(h / 10.0, 5.0, 12.0);
    paintChequers(painter, QRectF(stripes - square * 18, 0, square * 18, square * 2), square, 60, true);
    paintSpeedStripes(painter, stripes, 0, h, std::clamp(h / 9.0, 4.0, 14.0), 210);

    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0.0, QColor(255, 255, 255, 22));
    shade.setColorAt(0.04, QColor(255, 255, 255, 0));
    painter.fillRect(area, shade);
    painter.fillRect(QRectF(0, h - 2, w, 2), kRacingRed);
}

// ---- Chart ----------------------------------------------------------------------------------------------------

// A rev counter in the dark, faint enough to sit behind the grid and the curves.
void paintChartBackground(QPainter& painter, QSizeF size) {
    const QRectF area(QPointF(0, 0), size);
    const double w = size.width();
    const double h = size.height();
    painter.fillRect(area, QColor(0, 0, 0));
    QRadialGradient glow(QPointF(w * 0.5, h * 0.95), std::max(w, h) * 0.75);
    glow.setColorAt(0.0, QColor(26, 32, 44));
    glow.setColorAt(1.0, QColor(2, 2, 4));
    painter.fillRect(area, glow);

    const QPointF centre(w * 0.5, h * 1.02);
    const double radius = std::min(w * 0.46, h * 0.92);
    const QRectF dial(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(44, 50, 64), std::max(1.5, radius / 60), Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(dial, 16 * 16, 148 * 16);
    painter.setPen(QPen(QColor(74, 22, 26), std::max(3.0, radius / 22), Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(dial.adjusted(radius * 0.04, radius * 0.04, -radius * 0.04, -radius * 0.04), 16 * 16, 30 * 16);
    for (int tick = 0; tick <= 28; ++tick) {
        const double angle = (164.0 - tick * (148.0 / 28.0)) * std::numbers::pi / 180.0;
        const bool major = tick % 4 == 0;
        const double inner = radius * (major ? 0.88 : 0.93);
        painter.setPen(QPen(QColor(48, 54, 68), major ? std::max(1.5, radius / 90) : 1.0));
        painter.drawLine(centre + QPointF(std::cos(angle), -std::sin(angle)) * inner,
                         centre + QPointF(std::cos(angle), -std::sin(angle)) * (radius * 0.985));
    }
    paintWordmark(painter, QRectF(0, h * 0.34, w, h * 0.22), QColor(36, 42, 54), Qt::AlignCenter);
    QFont font = artFont(h * 0.05);
    font.setLetterSpacing(QFont::AbsoluteSpacing, h * 0.02);
    painter.setFont(font);
    painter.setPen(QColor(40, 46, 58));
    painter.drawText(QRectF(0, h * 0.57, w, h * 0.07), Qt::AlignCenter, QStringLiteral("TORQUE  \u00b7  POWER"));
}

// Dark brushed steel for the legends' white labels. The legends tile it, so it has no gradient.
void paintLegendBackground(QPainter& painter, QSizeF size) {
    const QRectF area(QPointF(0, 0), size);
    painter.fillRect(area, QColor(30, 33, 41));
    painter.fillRect(area, QBrush(grainTile(22, 3)));
}

void paintPointMarker(QPainter& painter, QSizeF size, bool active) {
    const QColor centre = active ? QColor(0, 255, 0) : QColor(255, 0, 0);
    const QColor rim = active ? QColor(0, 128, 0) : QColor(175, 0, 0);
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::black);
    painter.save();
    painter.scale(size.width() / 11.0, size.height() / 11.0);
    QRadialGradient ball(QPointF(4.2, 3.8), 7.2, QPointF(3.6, 3.2));
    ball.setColorAt(0.0, QColor(255, 255, 255));
    ball.setColorAt(0.22, centre.lighter(125));
    ball.setColorAt(0.6, centre);
    ball.setColorAt(1.0, rim);
    painter.setPen(QPen(rim.darker(150), 0.9));
    painter.setBrush(ball);
    painter.drawEllipse(QRectF(0.6, 0.6, 9.8, 9.8));
    painter.restore();
}

// ---- About picture --------------------------------------------------------------------------------------------

void paintAboutPicture(QPainter& painter, QSizeF size) {
    const QRectF area(QPointF(0, 0), size);
    const double w = size.width();
    const double h = size.height();
    QLinearGradient base(area.topLeft(), area.bottomLeft());
    base.setColorAt(0.0, QColor(48, 54, 68));
    base.setColorAt(0.62, QColor(20, 23, 29));
    base.setColorAt(1.0, QColor(10, 11, 15));
    painter.fillRect(area, base);
    painter.save();
    painter.setOpacity(0.4);
    painter.fillRect(area, QBrush(weaveTile(20, 16)));
    painter.restore();

    paintChequers(painter, QRectF(w * 0.40, h * 0.05, w * 0.57, h * 0.08), h * 0.04, 90, true);
    paintSpeedStripes(painter, w * 0.018, 0, h * 0.66, h * 0.016, 230, 0.22);

    // The car, rushing right along a floor of speed lines.
    painter.setPen(QPen(QColor(255, 255, 255, 40), std::max(1.0, h / 160)));
    for (int i = 0; i < 4; ++i) {
        const double y = h * (0.40 + 0.05 * i);
        painter.drawLine(QPointF(w * (0.46 + 0.03 * i), y), QPointF(w * 0.64, y));
    }
    CarLook car{
        BodyStyle::Prototype, kRacingRed, QColor(246, 246, 244), Livery::Flash, QStringLiteral("1"), true, false};
    paintCar(painter, QRectF(w * 0.58, h * 0.25, w * 0.40, h * 0.37), car);

    paintWordmark(painter, QRectF(w * 0.16, h * 0.14, w * 0.4, h * 0.27), QColor(250, 250, 250),
                  Qt::AlignLeft | Qt::AlignVCenter);
    painter.fillRect(QRectF(w * 0.165, h * 0.45, w * 0.25, h * 0.022), kRacingRed);
    painter.fillRect(QRectF(w * 0.425, h * 0.45, w * 0.05, h * 0.022), kSignalAmber);
    QFont font = artFont(h * 0.065);
    font.setLetterSpacing(QFont::AbsoluteSpacing, h * 0.012);
    painter.setFont(font);
    painter.setPen(kSignalAmber);
    painter.drawText(QRectF(w * 0.165, h * 0.49, w * 0.4, h * 0.09), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("VEHICLE EDITOR"));

    // The lower part stays calm for the contact lines the about box writes over it.
    painter.fillRect(QRectF(0, h * 0.66, w, h * 0.34), QColor(8, 9, 12, 190));
    painter.fillRect(QRectF(0, h * 0.66, w, std::max(1.0, h / 200)), QColor(214, 36, 44, 200));
    painter.setPen(QPen(QColor(8, 10, 14), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(1, 1, -1, -1));
}

// ---- Dialog backgrounds ---------------------------------------------------------------------------------------

namespace {

void paintMotif(QPainter& painter, const QRectF& box, DialogMotif motif) {
    const QColor ink(30, 34, 42, 34);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    const double s = box.width();
    switch (motif) {
    case DialogMotif::None:
        break;
    case DialogMotif::Car:
        painter.drawPath(carSilhouette(box, BodyStyle::Rounded));
        break;
    case DialogMotif::Garage: {
        QPolygonF roof;
        roof << QPointF(box.left(), box.top() + s * 0.42) << QPointF(box.center().x(), box.top() + s * 0.12)
             << QPointF(box.right(), box.top() + s * 0.42) << QPointF(box.right(), box.bottom())
             << QPointF(box.left(), box.bottom());
        painter.drawPolygon(roof);
        painter.setBrush(QColor(30, 34, 42, 30));
        for (int slat = 0; slat < 5; ++slat)
            painter.drawRect(QRectF(box.left() + s * 0.18, box.top() + s * (0.52 + slat * 0.09), s * 0.64, s * 0.06));
        break;
    }
    case DialogMotif::Folder: {
        QPainterPath folder;
        folder.moveTo(box.left(), box.top() + s * 0.25);
        folder.lineTo(box.left() + s * 0.38, box.top() + s * 0.25);
        folder.lineTo(box.left() + s * 0.46, box.top() + s * 0.35);
        folder.lineTo(box.right(), box.top() + s * 0.35);
        folder.lineTo(box.right(), box.top() + s * 0.9);
        folder.lineTo(box.left(), box.top() + s * 0.9);
        folder.closeSubpath();
        painter.drawPath(folder);
        break;
    }
    case DialogMotif::Files:
        for (int sheet = 0; sheet < 3; ++sheet)
            painter.drawRoundedRect(
                QRectF(box.left() + s * 0.1 * sheet, box.top() + s * (0.2 - 0.08 * sheet) + s * 0.1, s * 0.6, s * 0.75),
                s * 0.04, s * 0.04);
        break;
    }
    painter.restore();
}

} // namespace

void paintDialogBackground(QPainter& painter, QSizeF size, DialogMotif motif) {
    const QRectF area(QPointF(0, 0), size);
    const double w = size.width();
    const double h = size.height();
    const double band = std::min<double>(kDialogCaptionBand, h);

    QLinearGradient metal(area.topLeft(), area.bottomLeft());
    metal.setColorAt(0.0, kAluminiumLight);
    metal.setColorAt(1.0, kAluminiumDark);
    painter.fillRect(area, metal);
    painter.fillRect(area, QBrush(grainTile(18, 11)));
    QLinearGradient sheen(area.topLeft(), area.bottomRight());
    sheen.setColorAt(0.0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 50));
    sheen.setColorAt(0.6, QColor(255, 255, 255, 0));
    painter.fillRect(area, sheen);

    const double motifSize = std::min(w, h) * 0.42;
    paintMotif(painter, QRectF(w - motifSize - 12, h - motifSize * 0.8 - 10, motifSize, motifSize * 0.8), motif);

    // The caption band: carbon under a dark glaze, stripes and chequers at its right end, a red edge below.
    const QRectF caption(0, 0, w, band);
    painter.fillRect(caption, QBrush(weaveTile(20, 14)));
    QLinearGradient glaze(caption.topLeft(), caption.bottomLeft());
    glaze.setColorAt(0.0, QColor(70, 78, 96, 150));
    glaze.setColorAt(1.0, QColor(10, 12, 16, 120));
    painter.fillRect(caption, glaze);
    const double stripes = w - std::min(w * 0.28, 110.0);
    paintChequers(painter, QRectF(stripes - band * 1.6, band * 0.2, band * 1.6, band * 0.6), band * 0.2, 70, true);
    paintSpeedStripes(painter, stripes, 0, band, band / 9.0, 220);
    painter.fillRect(QRectF(0, band, w, 2), kRacingRed);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 120), 1));
    painter.drawLine(QPointF(1.5, band + 2.5), QPointF(1.5, h - 1.5));
    painter.setPen(QPen(QColor(12, 14, 18), 2));
    painter.drawRect(area.adjusted(1, 1, -1, -1));
}

// ---- Tab icons ------------------------------------------------------------------------------------------------

namespace {

// Drawn on a 24 x 24 grid.
void paintTabGlyph(QPainter& painter, int page) {
    const QColor white(244, 246, 250);
    const QPen line(white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setBrush(Qt::NoBrush);
    switch (page) {
    case 0: { // Details: a data sheet
        QPainterPath sheet;
        sheet.moveTo(7, 4.5);
        sheet.lineTo(14.5, 4.5);
        sheet.lineTo(17.5, 7.5);
        sheet.lineTo(17.5, 19.5);
        sheet.lineTo(7, 19.5);
        sheet.closeSubpath();
        painter.setPen(QPen(white, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(QColor(244, 246, 250, 40));
        painter.drawPath(sheet);
        painter.setPen(QPen(white, 1.4, Qt::SolidLine, Qt::RoundCap));
        for (double y : {10.5, 13.5, 16.5})
            painter.drawLine(QPointF(9.5, y), QPointF(15, y));
        painter.setPen(QPen(kRacingRed, 1.8, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(9.5, 7.5), QPointF(12.5, 7.5));
        break;
    }
    case 1: { // Tires: tread, rim and hub
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(12, 12, 14));
        painter.drawEllipse(QPointF(12, 12), 8.6, 8.6);
        painter.setPen(QPen(white, 1.4));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(12, 12), 8.0, 8.0);
        painter.setPen(QPen(QColor(150, 156, 168), 1.2, Qt::SolidLine, Qt::FlatCap));
        for (int i = 0; i < 12; ++i) {
            const double a = i * std::numbers::pi / 6;
            painter.drawLine(QPointF(12 + 6.2 * std::cos(a), 12 + 6.2 * std::sin(a)),
                             QPointF(12 + 7.4 * std::cos(a), 12 + 7.4 * std::sin(a)));
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 206, 216));
        painter.drawEllipse(QPointF(12, 12), 4.2, 4.2);
        painter.setBrush(kRacingRed);
        painter.drawEllipse(QPointF(12, 12), 1.6, 1.6);
        break;
    }
    case 2: { // Aerodynamics: a wing profile in the air stream
        QPainterPath foil;
        foil.moveTo(4.5, 13.5);
        foil.cubicTo(6, 9.5, 12, 9, 19.5, 12);
        foil.cubicTo(13, 13.2, 8, 14.8, 4.5, 13.5);
        painter.setPen(QPen(white, 1.0));
        painter.setBrush(white);
        painter.drawPath(foil);
        painter.setPen(QPen(kSignalAmber, 1.3, Qt::SolidLine, Qt::RoundCap));
        QPainterPath above;
        above.moveTo(3.5, 8);
        above.cubicTo(8, 4.5, 14, 5, 20.5, 7.5);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(above);
        QPainterPath below;
        below.moveTo(3.5, 17.5);
        below.cubicTo(9, 18.5, 15, 18, 20.5, 16);
        painter.drawPath(below);
        break;
    }
    case 3: { // Handling: a steering wheel
        painter.setPen(QPen(white, 2.2));
        painter.drawEllipse(QPointF(12, 12), 7.6, 7.6);
        painter.setPen(line);
        painter.drawLine(QPointF(4.8, 11.2), QPointF(9.5, 12.5));
        painter.drawLine(QPointF(19.2, 11.2), QPointF(14.5, 12.5));
        painter.drawLine(QPointF(12, 15), QPointF(12, 19.4));
        painter.setPen(Qt::NoPen);
        painter.setBrush(white);
        painter.drawEllipse(QPointF(12, 12.6), 2.8, 2.6);
        painter.setBrush(kRacingRed);
        painter.drawRect(QRectF(11, 3.6, 2, 2.4));
        break;
    }
    case 4: { // Performance: a rev counter, needle near the red line
        painter.setPen(QPen(white, 1.8, Qt::SolidLine, Qt::FlatCap));
        const QRectF dial(4, 5, 16, 16);
        painter.drawArc(dial, -30 * 16, 240 * 16);
        painter.setPen(QPen(kRacingRed, 2.4, Qt::SolidLine, Qt::FlatCap));
        painter.drawArc(dial, -30 * 16, 60 * 16);
        painter.setPen(QPen(kSignalAmber, 1.8, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(12, 13), QPointF(17.2, 8.6));
        painter.setPen(Qt::NoPen);
        painter.setBrush(white);
        painter.drawEllipse(QPointF(12, 13), 1.8, 1.8);
        break;
    }
    case 5: { // DriveTrain: a gear
        QPainterPath gear;
        constexpr int kTeeth = 8;
        for (int i = 0; i < kTeeth * 2; ++i) {
            const double a0 = (i - 0.5) * std::numbers::pi / kTeeth;
            const double a1 = (i + 0.5) * std::numbers::pi / kTeeth;
            const double r = i % 2 == 0 ? 8.6 : 6.4;
            const QPointF p0(12 + r * std::cos(a0 + 0.06), 12 + r * std::sin(a0 + 0.06));
            const QPointF p1(12 + r * std::cos(a1 - 0.06), 12 + r * std::sin(a1 - 0.06));
            if (i == 0)
                gear.moveTo(p0);
            else
                gear.lineTo(p0);
            gear.lineTo(p1);
        }
        gear.closeSubpath();
        gear.addEllipse(QPointF(12, 12), 2.8, 2.8);
        gear.setFillRule(Qt::OddEvenFill);
        painter.setPen(Qt::NoPen);
        painter.setBrush(white);
        painter.drawPath(gear);
        painter.setBrush(kRacingRed);
        painter.drawEllipse(QPointF(12, 12), 1.3, 1.3);
        break;
    }
    case 6: { // Other: a spanner
        painter.save();
        painter.translate(12, 12);
        painter.rotate(-45);
        QPainterPath spanner;
        spanner.addRoundedRect(QRectF(-1.6, -6, 3.2, 13), 1.2, 1.2);
        spanner.addEllipse(QPointF(0, -7.2), 3.6, 3.6);
        QPainterPath jaw;
        jaw.addRect(QRectF(-1.3, -11.5, 2.6, 4.8));
        painter.setPen(Qt::NoPen);
        painter.setBrush(white);
        painter.drawPath(spanner.subtracted(jaw));
        painter.setBrush(kRacingRed);
        painter.drawEllipse(QPointF(0, 5.2), 1.0, 1.0);
        painter.restore();
        break;
    }
    default:
        break;
    }
}

} // namespace

void paintTabIcon(QPainter& painter, QSizeF size, int page) {
    painter.save();
    painter.scale(size.width() / 24.0, size.height() / 24.0);
    const QRectF badge(0.75, 0.75, 22.5, 22.5);
    QLinearGradient fill(badge.topLeft(), badge.bottomLeft());
    fill.setColorAt(0.0, kGraphiteLight);
    fill.setColorAt(1.0, kGraphiteDark);
    painter.setPen(QPen(QColor(8, 10, 14), 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(badge, 5, 5);
    painter.setPen(QPen(QColor(255, 255, 255, 50), 0.8));
    painter.drawLine(QPointF(5, 1.8), QPointF(19, 1.8));
    paintTabGlyph(painter, page);
    painter.restore();
}

} // namespace qora::gui::art
