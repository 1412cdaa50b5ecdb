// The car pictures put together: the browser's thumbnails (a car in a studio with its code plate), the picture of
// no car, and the toolbar's buttons (a car with a folder or a disk).

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "platform/qt_text.h"
#include "resources/artwork_painting.h"

namespace qora::gui::art {

// ---- Thumbnails -----------------------------------------------------------------------------------------------

namespace {

struct PaintScheme {
    QColor paint;
    QColor trim;
};

// Racing colours, each with a trim that stands out on it.
const std::array<PaintScheme, 14> kSchemes{{
    {QColor(206, 30, 38), QColor(246, 246, 244)},  // red, white
    {QColor(236, 182, 24), QColor(24, 24, 28)},    // yellow, black
    {QColor(24, 88, 196), QColor(246, 246, 244)},  // blue, white
    {QColor(238, 238, 236), QColor(206, 30, 38)},  // white, red
    {QColor(20, 124, 74), QColor(236, 182, 24)},   // green, yellow
    {QColor(242, 116, 20), QColor(24, 48, 110)},   // orange, navy
    {QColor(44, 46, 54), QColor(240, 186, 48)},    // graphite, amber
    {QColor(186, 192, 202), QColor(24, 88, 196)},  // silver, blue
    {QColor(118, 36, 158), QColor(246, 246, 244)}, // purple, white
    {QColor(0, 150, 160), QColor(246, 246, 244)},  // teal, white
    {QColor(128, 20, 36), QColor(236, 182, 24)},   // maroon, gold
    {QColor(144, 198, 40), QColor(30, 32, 38)},    // lime, black
    {QColor(28, 40, 88), QColor(242, 116, 20)},    // navy, orange
    {QColor(120, 190, 230), QColor(242, 116, 20)}, // sky blue, orange
}};

BodyStyle bodyForLetter(char letter) {
    switch (letter) {
    case 'B':
    case 'Z':
    case 'G':
        return BodyStyle::Touring;
    case 'P':
    case 'K':
        return BodyStyle::Rounded;
    case 'S':
    case 'M':
    case 'U':
    case 'D':
        return BodyStyle::Muscle;
    case 'T':
    case 'Q':
    case 'C':
        return BodyStyle::Prototype;
    default: // E, W, R, L and anything new
        return BodyStyle::Wedge;
    }
}

void paintStudio(QPainter& painter, QSizeF size, const QColor& glow) {
    const QRectF area(QPointF(0, 0), size);
    QLinearGradient wall(area.topLeft(), area.bottomLeft());
    wall.setColorAt(0.0, QColor(50, 56, 68));
    wall.setColorAt(0.70, QColor(22, 25, 31));
    wall.setColorAt(0.71, QColor(30, 33, 40));
    wall.setColorAt(1.0, QColor(12, 13, 17));
    painter.fillRect(area, wall);
    // A coloured light behind the car.
    QRadialGradient light(QPointF(size.width() * 0.62, size.height() * 0.55), size.width() * 0.5);
    light.setColorAt(0.0, QColor(glow.red(), glow.green(), glow.blue(), 60));
    light.setColorAt(1.0, QColor(glow.red(), glow.green(), glow.blue(), 0));
    painter.fillRect(area, light);
    // Speed lines on the wall.
    painter.setPen(QPen(QColor(255, 255, 255, 16), std::max(1.0, size.height() / 40.0)));
    for (int i = 0; i < 5; ++i) {
        const double y = size.height() * (0.22 + 0.09 * i);
        painter.drawLine(QPointF(size.width() * (0.02 + 0.05 * (i % 2)), y),
                         QPointF(size.width() * (0.32 - 0.04 * i), y));
    }
}

void paintCodePlate(QPainter& painter, QSizeF size, const QString& text, const QColor& accent) {
    const double h = std::max(8.0, size.height() * 0.21);
    QFont font = artFont(h * 0.86, true);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double x = size.height() * 0.07;
    const double y = size.height() * 0.06;
    painter.fillRect(QRectF(x, y, h * 0.22, h), accent);
    painter.setPen(QColor(0, 0, 0, 150));
    painter.drawText(QRectF(x + h * 0.45 + 1, y + 1, metrics.horizontalAdvance(text) + h, h),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.setPen(QColor(244, 246, 250));
    painter.drawText(QRectF(x + h * 0.45, y, metrics.horizontalAdvance(text) + h, h), Qt::AlignLeft | Qt::AlignVCenter,
                     text);
}

} // namespace

CarLook thumbnailLook(std::string_view code) {
    int number = 0;
    char letter = 'A';
    if (code.size() >= 4) {
        number = (code[1] - '0') * 10 + (code[2] - '0');
        letter = code[3];
    }
    number = std::clamp(number, 0, 99);
    const PaintScheme& scheme = kSchemes[static_cast<std::size_t>(number * 5 + letter) % kSchemes.size()];
    CarLook look;
    look.body = bodyForLetter(letter);
    look.paint = scheme.paint;
    look.trim = scheme.trim;
    look.livery = static_cast<Livery>((number + letter) % 5);
    look.number = QString::number(number);
    look.wing = look.body == BodyStyle::Prototype || (look.body != BodyStyle::Muscle && number % 3 == 0);
    return look;
}

void paintThumbnail(QPainter& painter, QSizeF size, std::string_view code) {
    const CarLook look = thumbnailLook(code);
    paintStudio(painter, size, look.paint);
    const double margin = size.width() * 0.05;
    paintCar(painter, QRectF(margin, size.height() * 0.30, size.width() - 2 * margin, size.height() * 0.62), look);
    paintCodePlate(painter, size, fromLatin1(code), look.paint);
}

void paintNoCar(QPainter& painter, QSizeF size) {
    paintStudio(painter, size, QColor(120, 130, 150));
    const double margin = size.width() * 0.08;
    paintCarOutline(painter, QRectF(margin, size.height() * 0.32, size.width() - 2 * margin, size.height() * 0.58),
                    BodyStyle::Touring, QColor(150, 158, 172));
    paintCodePlate(painter, size, QStringLiteral("NO PICTURE"), QColor(110, 118, 132));
}

// ---- Toolbar buttons ------------------------------------------------------------------------------------------

namespace {

struct ToolbarSetLook {
    CarLook car;
    QColor accent;
};

ToolbarSetLook setLook(int set) {
    CarLook touring{
        BodyStyle::Touring, QColor(24, 88, 196), QColor(246, 246, 244), Livery::SideStripe, {}, false, false};
    CarLook rounded{BodyStyle::Rounded, QColor(236, 182, 24), QColor(24, 24, 28), Livery::Plain, {}, true, false};
    CarLook muscle{
        BodyStyle::Muscle, QColor(206, 30, 38), QColor(246, 246, 244), Livery::TwinStripes, {}, false, false};
    switch (set) {
    case 1:
        return {touring, QColor(60, 140, 255)};
    case 2:
        return {rounded, kSignalAmber};
    case 3:
        return {muscle, kRacingRed};
    default:
        return {touring, QColor(220, 224, 232)};
    }
}

// "Mixed" shows the three other sets' cars, one per button.
CarLook buttonCar(int set, ToolbarButton button) {
    if (set == 0)
        return setLook(static_cast<int>(button) + 1).car;
    return setLook(set).car;
}

void paintFolder(QPainter& painter, const QRectF& r, bool ghost, bool hot) {
    const QColor back = ghost ? QColor(170, 196, 240, 150) : QColor(196, 140, 24);
    const QColor front = ghost ? QColor(214, 230, 255, 170) : (hot ? QColor(255, 214, 96) : kSignalAmber);
    const QColor edge = ghost ? QColor(230, 240, 255) : QColor(90, 60, 8);
    const double w = r.width();
    const double h = r.height();
    QPainterPath rear;
    rear.moveTo(r.left(), r.top() + h * 0.12);
    rear.lineTo(r.left() + w * 0.36, r.top() + h * 0.12);
    rear.lineTo(r.left() + w * 0.44, r.top() + h * 0.24);
    rear.lineTo(r.right() - w * 0.08, r.top() + h * 0.24);
    rear.lineTo(r.right() - w * 0.08, r.bottom());
    rear.lineTo(r.left(), r.bottom());
    rear.closeSubpath();
    QPainterPath flap;
    flap.moveTo(r.left() + w * 0.14, r.top() + h * 0.42);
    flap.lineTo(r.right(), r.top() + h * 0.42);
    flap.lineTo(r.right() - w * 0.14, r.bottom());
    flap.lineTo(r.left(), r.bottom());
    flap.closeSubpath();
    const Qt::PenStyle style = ghost ? Qt::DashLine : Qt::SolidLine;
    painter.setPen(QPen(edge, 1.0, style, Qt::SquareCap, Qt::RoundJoin));
    painter.setBrush(back);
    painter.drawPath(rear);
    painter.setBrush(front);
    painter.drawPath(flap);
}

void paintDisk(QPainter& painter, const QRectF& r, bool hot) {
    const double s = std::min(r.width(), r.height());
    const QRectF disk(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
    QPainterPath body;
    body.moveTo(disk.topLeft());
    body.lineTo(disk.right() - s * 0.16, disk.top());
    body.lineTo(disk.right(), disk.top() + s * 0.16);
    body.lineTo(disk.bottomRight());
    body.lineTo(disk.bottomLeft());
    body.closeSubpath();
    QLinearGradient steel(disk.topLeft(), disk.bottomLeft());
    steel.setColorAt(0.0, hot ? QColor(120, 132, 156) : QColor(96, 106, 126));
    steel.setColorAt(1.0, hot ? QColor(62, 70, 88) : QColor(44, 50, 64));
    painter.setPen(QPen(QColor(12, 14, 18), 1.0));
    painter.setBrush(steel);
    painter.drawPath(body);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(214, 220, 230));
    painter.drawRect(QRectF(disk.left() + s * 0.24, disk.top() + s * 0.06, s * 0.46, s * 0.30));
    painter.setBrush(QColor(44, 50, 64));
    painter.drawRect(QRectF(disk.left() + s * 0.52, disk.top() + s * 0.10, s * 0.12, s * 0.22));
    painter.setBrush(QColor(246, 246, 244));
    painter.drawRect(QRectF(disk.left() + s * 0.14, disk.top() + s * 0.50, s * 0.72, s * 0.42));
    painter.setBrush(hot ? QColor(255, 70, 70) : kRacingRed);
    painter.drawRect(QRectF(disk.left() + s * 0.14, disk.top() + s * 0.50, s * 0.72, s * 0.09));
    painter.setPen(QPen(QColor(150, 156, 168), std::max(0.6, s * 0.04)));
    for (double line : {0.70, 0.80})
        painter.drawLine(QPointF(disk.left() + s * 0.24, disk.top() + s * line),
                         QPointF(disk.left() + s * 0.76, disk.top() + s * line));
}

} // namespace

void paintToolbarButton(QPainter& painter, QSizeF size, int set, ToolbarButton button, bool hot) {
    const ToolbarSetLook look = setLook(set);
    const QRectF plate = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = size.height() * 0.14;
    QPainterPath shape;
    shape.addRoundedRect(plate, radius, radius);

    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0.0, hot ? QColor(84, 92, 110) : QColor(60, 66, 80));
    fill.setColorAt(0.55, hot ? QColor(48, 54, 66) : QColor(34, 38, 47));
    fill.setColorAt(1.0, hot ? QColor(30, 34, 42) : QColor(18, 20, 26));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(shape);

    painter.save();
    painter.setClipPath(shape);
    // The set's colour runs along the bottom edge; "mixed" shows the three others'.
    const QRectF bar(0, size.height() * 0.90, size.width(), size.height() * 0.10);
    if (set == 0) {
        for (int part = 0; part < 3; ++part)
            painter.fillRect(
                QRectF(bar.left() + bar.width() * part / 3.0, bar.top(), bar.width() / 3.0 + 0.5, bar.height()),
                setLook(part + 1).accent);
    } else {
        painter.fillRect(bar, look.accent);
    }
    if (hot) {
        QRadialGradient glow(QPointF(size.width() * 0.36, size.height() * 0.55), size.width() * 0.45);
        glow.setColorAt(0.0, QColor(255, 255, 255, 46));
        glow.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.fillRect(plate, glow);
    }
    painter.setPen(QPen(QColor(255, 255, 255, hot ? 70 : 40), 1.0));
    painter.drawLine(QPointF(radius, 1.5), QPointF(size.width() - radius, 1.5));
    painter.restore();

    CarLook car = buttonCar(set, button);
    car.ghost = button == ToolbarButton::OpenGhost;
    if (hot && !car.ghost)
        car.paint = car.paint.lighter(118);
    const double h = size.height();
    paintCar(painter, QRectF(size.width() * 0.05, h * 0.12, size.width() * 0.62, h * 0.56), car);

    const QRectF glyph(size.width() * 0.70, h * 0.16, size.width() * 0.25, h * 0.48);
    switch (button) {
    case ToolbarButton::OpenVehicle:
        paintFolder(painter, glyph, false, hot);
        break;
    case ToolbarButton::OpenGhost:
        paintFolder(painter, glyph, true, hot);
        break;
    case ToolbarButton::Save:
        paintDisk(painter, glyph, hot);
        break;
    }

    static constexpr std::array<const char*, 3> kCaptions{"OPEN", "GHOST", "SAVE"};
    QFont font = artFont(h * 0.20, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, h * 0.03);
    painter.setFont(font);
    const QRectF caption(0, h * 0.68, size.width(), h * 0.22);
    painter.setPen(QColor(0, 0, 0, 160));
    painter.drawText(caption.translated(0.8, 0.8), Qt::AlignCenter,
                     QString::fromLatin1(kCaptions[static_cast<std::size_t>(button)]));
    painter.setPen(hot ? QColor(255, 255, 255) : QColor(214, 220, 230));
    painter.drawText(caption, Qt::AlignCenter, QString::fromLatin1(kCaptions[static_cast<std::size_t>(button)]));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(hot ? look.accent.lighter(115) : QColor(8, 10, 14), hot ? 1.4 : 1.0));
    if (set == 0 && hot)
        painter.setPen(QPen(kSignalAmber, 1.4));
    painter.drawPath(shape);
}

} // namespace qora::gui::art
