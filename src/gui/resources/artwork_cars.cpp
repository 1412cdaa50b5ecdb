// The cars of QORA's artwork: five body styles drawn as side views with their wheels, liveries and roundels, and
// their silhouettes and outlines.

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

namespace {

// ---- Body geometry, in car lengths: u runs from the tail (0) to the nose (1), v is the height above the ground.

struct Wheels {
    double rear;
    double front;
    double radius;
};

struct Body {
    double sill; // height of the body's underside between the wheels
    Wheels wheels;
    double door;   // where the number roundel sits
    double height; // the top of the roof, for fitting the car into a box
};

Body bodyOf(BodyStyle style) {
    switch (style) {
    case BodyStyle::Touring:
        return {0.055, {0.205, 0.795, 0.080}, 0.47, 0.31};
    case BodyStyle::Rounded:
        return {0.058, {0.190, 0.800, 0.078}, 0.47, 0.31};
    case BodyStyle::Muscle:
        return {0.055, {0.200, 0.790, 0.082}, 0.45, 0.31};
    case BodyStyle::Prototype:
        return {0.040, {0.190, 0.800, 0.080}, 0.52, 0.29};
    case BodyStyle::Wedge:
        return {0.050, {0.200, 0.800, 0.080}, 0.50, 0.28};
    }
    return {0.055, {0.205, 0.795, 0.080}, 0.47, 0.31};
}

// Maps car units into a box: the car as large as fits, centred, its wheels on the box's bottom edge.
class Frame {
public:
    Frame(const QRectF& box, double carHeight) {
        m_length = std::min(box.width(), box.height() / carHeight);
        m_left = box.left() + (box.width() - m_length) / 2;
        m_ground = box.bottom();
    }
    QPointF at(double u, double v) const { return {m_left + u * m_length, m_ground - v * m_length}; }
    double scale(double units) const { return units * m_length; }
    double length() const { return m_length; }

private:
    double m_length = 0;
    double m_left = 0;
    double m_ground = 0;
};

// The path builder speaks car units.
class Outline {
public:
    explicit Outline(const Frame& frame) : m_frame(frame) {}
    Outline& move(double u, double v) {
        m_path.moveTo(m_frame.at(u, v));
        return *this;
    }
    Outline& line(double u, double v) {
        m_path.lineTo(m_frame.at(u, v));
        return *this;
    }
    Outline& quad(double cu, double cv, double u, double v) {
        m_path.quadTo(m_frame.at(cu, cv), m_frame.at(u, v));
        return *this;
    }
    Outline& cubic(double c1u, double c1v, double c2u, double c2v, double u, double v) {
        m_path.cubicTo(m_frame.at(c1u, c1v), m_frame.at(c2u, c2v), m_frame.at(u, v));
        return *this;
    }
    // The underside from the nose back to the tail, cut out over both wheels.
    Outline& underside(const Body& body, double tail) {
        const Wheels& w = body.wheels;
        const double arch = w.radius * 1.2;
        const double below = std::asin(std::clamp((body.sill - w.radius) / arch, -1.0, 1.0)) * 180.0 / std::numbers::pi;
        for (double centre : {w.front, w.rear}) {
            const QPointF c = m_frame.at(centre, w.radius);
            const double r = m_frame.scale(arch);
            m_path.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), below, 180.0 - 2 * below);
        }
        line(tail, body.sill);
        m_path.closeSubpath();
        return *this;
    }
    QPainterPath path() const { return m_path; }

private:
    const Frame& m_frame;
    QPainterPath m_path;
};

QPainterPath shellOf(BodyStyle style, const Frame& f) {
    const Body body = bodyOf(style);
    Outline o(f);
    switch (style) {
    case BodyStyle::Touring:
        o.move(0.02, 0.055).line(0.005, 0.10).quad(0.0, 0.16, 0.02, 0.185).line(0.17, 0.20);
        o.quad(0.22, 0.205, 0.255, 0.215).line(0.345, 0.292).quad(0.36, 0.305, 0.40, 0.305).line(0.54, 0.302);
        o.quad(0.565, 0.30, 0.58, 0.29).line(0.68, 0.218).quad(0.70, 0.206, 0.74, 0.203).line(0.93, 0.185);
        o.quad(0.985, 0.18, 0.995, 0.15).quad(1.005, 0.09, 0.985, 0.055);
        o.underside(body, 0.02);
        break;
    case BodyStyle::Rounded:
        o.move(0.02, 0.058).quad(-0.005, 0.10, 0.01, 0.15).cubic(0.05, 0.235, 0.25, 0.30, 0.43, 0.305);
        o.quad(0.50, 0.307, 0.555, 0.285).line(0.655, 0.205).cubic(0.72, 0.19, 0.80, 0.195, 0.84, 0.178);
        o.cubic(0.93, 0.16, 1.0, 0.14, 0.995, 0.095).quad(0.99, 0.06, 0.975, 0.058);
        o.underside(body, 0.02);
        break;
    case BodyStyle::Muscle:
        o.move(0.02, 0.055).line(0.0, 0.11).quad(0.0, 0.17, 0.015, 0.195).line(0.05, 0.214).line(0.09, 0.212);
        o.line(0.37, 0.293).quad(0.39, 0.30, 0.42, 0.30).line(0.50, 0.298).quad(0.52, 0.296, 0.535, 0.285);
        o.line(0.62, 0.222).quad(0.64, 0.212, 0.68, 0.212).line(0.72, 0.212).line(0.74, 0.222).line(0.80, 0.222);
        o.line(0.815, 0.210).line(0.955, 0.205).quad(1.0, 0.202, 1.0, 0.165).line(1.0, 0.09);
        o.quad(1.0, 0.055, 0.975, 0.055);
        o.underside(body, 0.02);
        break;
    case BodyStyle::Prototype:
        o.move(0.0, 0.04).line(0.0, 0.19).line(0.13, 0.195).cubic(0.25, 0.20, 0.36, 0.235, 0.43, 0.262);
        o.quad(0.50, 0.29, 0.575, 0.262).line(0.65, 0.195).cubic(0.72, 0.17, 0.80, 0.20, 0.84, 0.175);
        o.cubic(0.90, 0.15, 0.96, 0.10, 1.0, 0.075).line(1.0, 0.04);
        o.underside(body, 0.0);
        break;
    case BodyStyle::Wedge:
        o.move(0.01, 0.05).line(0.0, 0.12).line(0.005, 0.19).line(0.20, 0.205).line(0.40, 0.268);
        o.line(0.50, 0.268).line(0.64, 0.208).line(0.975, 0.12).line(1.0, 0.10).line(0.995, 0.05);
        o.underside(body, 0.01);
        break;
    }
    return o.path();
}

// The side windows, with the pillar that splits them (u of the pillar; none when negative).
QPainterPath glassOf(BodyStyle style, const Frame& f, double& pillar) {
    Outline o(f);
    pillar = -1;
    switch (style) {
    case BodyStyle::Touring:
        o.move(0.27, 0.219).line(0.352, 0.287).quad(0.362, 0.295, 0.405, 0.295).line(0.535, 0.292);
        o.quad(0.555, 0.29, 0.57, 0.28).line(0.66, 0.219);
        pillar = 0.46;
        break;
    case BodyStyle::Rounded:
        o.move(0.30, 0.222).cubic(0.33, 0.262, 0.38, 0.29, 0.44, 0.292).quad(0.51, 0.293, 0.545, 0.277);
        o.line(0.632, 0.212);
        pillar = 0.50;
        break;
    case BodyStyle::Muscle:
        o.move(0.31, 0.236).line(0.38, 0.285).quad(0.39, 0.29, 0.42, 0.29).line(0.50, 0.289);
        o.quad(0.515, 0.287, 0.525, 0.28).line(0.60, 0.226);
        pillar = 0.45;
        break;
    case BodyStyle::Prototype:
        o.move(0.445, 0.245).quad(0.50, 0.275, 0.565, 0.255).line(0.628, 0.200).line(0.50, 0.205);
        break;
    case BodyStyle::Wedge:
        o.move(0.40, 0.212).line(0.42, 0.256).line(0.50, 0.258).line(0.625, 0.208);
        break;
    }
    QPainterPath glass = o.path();
    glass.closeSubpath();
    return glass;
}

void paintWheel(QPainter& painter, QPointF centre, double radius, double alpha) {
    painter.save();
    painter.setOpacity(painter.opacity() * alpha);
    painter.setPen(Qt::NoPen);
    QRadialGradient tyre(centre, radius);
    tyre.setColorAt(0.0, QColor(40, 42, 46));
    tyre.setColorAt(0.85, QColor(22, 23, 26));
    tyre.setColorAt(1.0, QColor(8, 8, 10));
    painter.setBrush(tyre);
    painter.drawEllipse(centre, radius, radius);
    const double rim = radius * 0.64;
    QRadialGradient metal(centre - QPointF(rim * 0.3, rim * 0.35), rim * 1.3);
    metal.setColorAt(0.0, QColor(236, 238, 242));
    metal.setColorAt(0.6, QColor(160, 166, 176));
    metal.setColorAt(1.0, QColor(88, 92, 102));
    painter.setBrush(metal);
    painter.drawEllipse(centre, rim, rim);
    // Five spokes as dark slots between them.
    if (radius >= 5) {
        painter.setPen(QPen(QColor(40, 42, 48, 170), std::max(0.6, rim * 0.16), Qt::SolidLine, Qt::RoundCap));
        for (int spoke = 0; spoke < 5; ++spoke) {
            const double angle = (spoke * 72.0 + 36.0 - 90.0) * std::numbers::pi / 180.0;
            const QPointF dir(std::cos(angle), std::sin(angle));
            painter.drawLine(centre + dir * rim * 0.38, centre + dir * rim * 0.86);
        }
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(QColor(30, 32, 36));
    painter.drawEllipse(centre, rim * 0.24, rim * 0.24);
    painter.restore();
}

void paintLivery(QPainter& painter, const Frame& f, const CarLook& look) {
    const auto band = [&](double low, double high) {
        painter.fillRect(QRectF(f.at(-0.05, high), f.at(1.05, low)), look.trim);
    };
    switch (look.livery) {
    case Livery::Plain:
        break;
    case Livery::SideStripe:
        band(0.118, 0.146);
        break;
    case Livery::TwinStripes:
        band(0.168, 0.180);
        band(0.150, 0.160);
        break;
    case Livery::TwoTone:
        band(-0.05, 0.105);
        painter.fillRect(QRectF(f.at(-0.05, 0.112), f.at(1.05, 0.105)), look.paint.lighter(160));
        break;
    case Livery::Flash: {
        QPolygonF flash;
        flash << f.at(0.24, 0.0) << f.at(0.36, 0.0) << f.at(0.60, 0.34) << f.at(0.48, 0.34);
        painter.setPen(Qt::NoPen);
        painter.setBrush(look.trim);
        painter.drawPolygon(flash);
        QPolygonF thin;
        thin << f.at(0.39, 0.0) << f.at(0.42, 0.0) << f.at(0.66, 0.34) << f.at(0.63, 0.34);
        painter.drawPolygon(thin);
        break;
    }
    }
}

void paintRoundel(QPainter& painter, const Frame& f, const Body& body, const QString& number) {
    const QPointF centre = f.at(body.door, 0.132);
    const double radius = f.scale(0.05);
    if (radius < 3.5)
        return;
    painter.setPen(QPen(QColor(20, 20, 24), std::max(0.6, radius * 0.12)));
    painter.setBrush(QColor(248, 248, 246));
    painter.drawEllipse(centre, radius, radius);
    painter.setFont(artFont(radius * (number.size() > 1 ? 1.2 : 1.5)));
    painter.setPen(QColor(16, 16, 20));
    painter.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter, number);
}

} // namespace

// ---- Cars -----------------------------------------------------------------------------------------------------

void paintCar(QPainter& painter, const QRectF& box, const CarLook& look) {
    const Body body = bodyOf(look.body);
    const Frame f(box, std::max(body.height, look.wing ? 0.29 : 0.0));
    const QPainterPath shell = shellOf(look.body, f);
    const double hairline = std::max(0.6, f.length() / 140.0);

    painter.save();
    if (look.ghost)
        painter.setOpacity(painter.opacity() * 0.85);

    // The shadow the car casts on the ground.
    QRadialGradient shadow(f.at(0.5, 0.0), f.scale(0.55));
    shadow.setColorAt(0.0, QColor(0, 0, 0, 170));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.save();
    painter.translate(f.at(0.5, 0.0));
    painter.scale(1.0, 0.09);
    painter.translate(-f.at(0.5, 0.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(f.at(0.5, 0.0), f.scale(0.55), f.scale(0.55));
    painter.restore();

    if (look.wing) {
        const QColor wing = look.ghost ? QColor(210, 226, 255) : look.paint.darker(170);
        painter.setPen(QPen(wing.darker(140), hairline));
        painter.setBrush(wing);
        const double tail = look.body == BodyStyle::Prototype ? 0.0 : 0.015;
        for (double post : {tail + 0.05, tail + 0.10})
            painter.drawRect(QRectF(f.at(post, 0.268), f.at(post + 0.012, 0.18)));
        QPainterPath blade;
        blade.moveTo(f.at(tail - 0.01, 0.270));
        blade.quadTo(f.at(tail + 0.08, 0.287), f.at(tail + 0.16, 0.274));
        blade.lineTo(f.at(tail + 0.16, 0.260));
        blade.quadTo(f.at(tail + 0.08, 0.264), f.at(tail - 0.01, 0.252));
        blade.closeSubpath();
        painter.drawPath(blade);
    }

    // Body: the paint shaded from the roof down, the livery, a sheen along the shoulder.
    if (look.ghost) {
        painter.setPen(QPen(QColor(226, 236, 255), hairline * 1.3, Qt::DashLine));
        painter.setBrush(QColor(160, 190, 240, 110));
        painter.drawPath(shell);
    } else {
        QLinearGradient paint(f.at(0, body.height), f.at(0, 0.0));
        paint.setColorAt(0.0, look.paint.lighter(140));
        paint.setColorAt(0.45, look.paint);
        paint.setColorAt(1.0, look.paint.darker(185));
        painter.setPen(Qt::NoPen);
        painter.setBrush(paint);
        painter.drawPath(shell);

        painter.save();
        painter.setClipPath(shell);
        paintLivery(painter, f, look);
        QLinearGradient sheen(f.at(0, 0.23), f.at(0, 0.15));
        sheen.setColorAt(0.0, QColor(255, 255, 255, 0));
        sheen.setColorAt(0.5, QColor(255, 255, 255, 70));
        sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.fillRect(QRectF(f.at(0, 0.23), f.at(1, 0.15)), sheen);
        QLinearGradient sill(f.at(0, 0.10), f.at(0, 0.03));
        sill.setColorAt(0.0, QColor(0, 0, 0, 0));
        sill.setColorAt(1.0, QColor(0, 0, 0, 120));
        painter.fillRect(QRectF(f.at(0, 0.10), f.at(1, 0.0)), sill);
        painter.restore();

        painter.setPen(QPen(look.paint.darker(300), hairline));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shell);
    }

    // Glass, with a streak of reflected sky.
    double pillar = -1;
    const QPainterPath glass = glassOf(look.body, f, pillar);
    QLinearGradient tint(f.at(0, 0.30), f.at(0, 0.20));
    tint.setColorAt(0.0, QColor(96, 116, 140));
    tint.setColorAt(1.0, QColor(18, 24, 34));
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.ghost ? QBrush(QColor(200, 220, 255, 80)) : QBrush(tint));
    painter.drawPath(glass);
    if (!look.ghost) {
        painter.save();
        painter.setClipPath(glass);
        QPolygonF streak;
        streak << f.at(0.42, 0.20) << f.at(0.47, 0.20) << f.at(0.55, 0.32) << f.at(0.50, 0.32);
        painter.setBrush(QColor(255, 255, 255, 46));
        painter.drawPolygon(streak);
        painter.restore();
        if (pillar > 0) {
            painter.setPen(QPen(look.paint.darker(200), f.scale(0.016), Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(f.at(pillar, 0.21), f.at(pillar + 0.01, 0.31));
        }
    }

    // Lamps.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 244, 200, look.ghost ? 120 : 235));
    const double front = look.body == BodyStyle::Wedge ? 0.955 : look.body == BodyStyle::Prototype ? 0.94 : 0.975;
    const double lampHeight = look.body == BodyStyle::Wedge       ? 0.118
                              : look.body == BodyStyle::Prototype ? 0.105
                              : look.body == BodyStyle::Muscle    ? 0.165
                                                                  : 0.142;
    painter.drawEllipse(f.at(front, lampHeight), f.scale(0.018), f.scale(0.011));
    painter.setBrush(QColor(230, 30, 30, look.ghost ? 120 : 235));
    painter.drawRect(QRectF(f.at(0.0, 0.172), f.at(0.016, 0.150)));

    if (!look.ghost && !look.number.isEmpty())
        paintRoundel(painter, f, body, look.number);

    for (double centre : {body.wheels.rear, body.wheels.front})
        paintWheel(painter, f.at(centre, body.wheels.radius), f.scale(body.wheels.radius), look.ghost ? 0.6 : 1.0);
    painter.restore();
}

QPainterPath carSilhouette(const QRectF& box, BodyStyle style) {
    const Body body = bodyOf(style);
    const Frame f(box, body.height);
    QPainterPath silhouette = shellOf(style, f);
    silhouette.setFillRule(Qt::WindingFill);
    for (double centre : {body.wheels.rear, body.wheels.front})
        silhouette.addEllipse(f.at(centre, body.wheels.radius), f.scale(body.wheels.radius),
                              f.scale(body.wheels.radius));
    return silhouette;
}

void paintCarOutline(QPainter& painter, const QRectF& box, BodyStyle style, const QColor& colour) {
    const Body body = bodyOf(style);
    const Frame f(box, body.height);
    const double hairline = std::max(0.8, f.length() / 110.0);
    painter.save();
    painter.setBrush(QColor(colour.red(), colour.green(), colour.blue(), 28));
    painter.setPen(QPen(colour, hairline, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(shellOf(style, f));
    double pillar = -1;
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(glassOf(style, f, pillar));
    for (double centre : {body.wheels.rear, body.wheels.front}) {
        const QPointF c = f.at(centre, body.wheels.radius);
        painter.drawEllipse(c, f.scale(body.wheels.radius), f.scale(body.wheels.radius));
        painter.drawEllipse(c, f.scale(body.wheels.radius * 0.5), f.scale(body.wheels.radius * 0.5));
    }
    painter.restore();
}

} // namespace qora::gui::art
