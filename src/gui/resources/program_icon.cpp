#include "resources/program_icon.h"

#include <algorithm>
#include <cmath>

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "resources/artwork_painting.h"

namespace qora::gui {

namespace {

constexpr int kMaxSide = 1024;
// The program icon's ids in the picture cache, apart from every artwork name.
constexpr std::string_view kIconId = "program icon";
constexpr std::string_view kDisabledIconId = "program icon, disabled";

// The engine curve inside the ring: torque rising to its peak and falling off towards the rev limit, in ring
// units (the ring's centre at 0, 0, its inner radius 1).
QPainterPath engineCurve(const QPointF& centre, double radius) {
    const QPointF points[] = {{-0.78, 0.42}, {-0.45, -0.05}, {-0.08, -0.34},
                              {0.24, -0.36}, {0.52, -0.14},  {0.76, 0.22}};
    QPainterPath path(centre + points[0] * radius);
    for (std::size_t i = 1; i < std::size(points); ++i) {
        const QPointF previous = centre + points[i - 1] * radius;
        const QPointF next = centre + points[i] * radius;
        const QPointF middle = (previous + next) / 2;
        path.quadTo(previous, middle);
        if (i + 1 == std::size(points))
            path.lineTo(next);
    }
    return path;
}

// A band of the "Q"'s tail: it runs down to the right at 45 degrees, from `from` to `to` (distances from the ring's
// centre along that line), `offset` to the side of the tail's middle line, `width` wide.
QPolygonF tailBand(const QPointF& centre, double from, double to, double offset, double width) {
    const QPointF along(0.7071, 0.7071);
    const QPointF across(0.7071, -0.7071);
    const QPointF middle = centre + across * offset;
    return QPolygonF({middle + along * from - across * (width / 2), middle + along * from + across * (width / 2),
                      middle + along * to + across * (width / 2), middle + along * to - across * (width / 2)});
}

void paintIcon(QPainter& painter, double s) {
    using namespace art;
    painter.setRenderHint(QPainter::Antialiasing);
    const bool detailed = s >= 48;
    const double line = std::max(1.0, s / 64);

    // The badge: graphite, lit from above, with a dark rim.
    const double inset = std::max(0.5, s * 0.03);
    const QRectF badge(inset, inset, s - 2 * inset, s - 2 * inset);
    const double corner = s * 0.2;
    QLinearGradient fill(badge.topLeft(), badge.bottomLeft());
    fill.setColorAt(0.0, kGraphiteLight);
    fill.setColorAt(1.0, kGraphiteDark);
    painter.setPen(QPen(QColor(8, 10, 14), line));
    painter.setBrush(fill);
    painter.drawRoundedRect(badge, corner, corner);

    painter.setPen(QPen(QColor(255, 255, 255, 60), line));
    painter.drawLine(QPointF(badge.left() + corner, badge.top() + line * 1.5),
                     QPointF(badge.right() - corner, badge.top() + line * 1.5));

    // The ring: brushed aluminium with a dark rim.
    const QPointF centre(s * 0.45, s * 0.45);
    const double radius = s * 0.25;
    const double width = s * 0.12;
    QLinearGradient metal(QPointF(0, centre.y() - radius), QPointF(0, centre.y() + radius));
    metal.setColorAt(0.0, kAluminiumLight);
    metal.setColorAt(0.55, kAluminiumDark);
    metal.setColorAt(1.0, QColor(150, 156, 166));
    QPainterPath ring;
    ring.addEllipse(centre, radius + width / 2, radius + width / 2);
    ring.addEllipse(centre, radius - width / 2, radius - width / 2);
    painter.setPen(QPen(QColor(8, 10, 14), line * 0.8));
    painter.setBrush(metal);
    painter.drawPath(ring);

    // From 48 pixels up, an engine curve inside the ring.
    if (detailed) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kSignalAmber, std::max(1.5, s * 0.035), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(engineCurve(centre, radius - width / 2));
    }

    // The tail crosses the ring at its lower right, as a racing stripe: red with an amber line beside it.
    const double outer = radius + width / 2;
    painter.setPen(QPen(QColor(8, 10, 14), line * 0.8));
    painter.setBrush(kRacingRed);
    painter.drawPolygon(tailBand(centre, radius * 0.45, outer + s * 0.2, 0, s * 0.12));
    painter.setBrush(kSignalAmber);
    painter.drawPolygon(tailBand(centre, radius * 0.8, outer + s * 0.14, s * 0.095, s * 0.045));
}

class ProgramIconEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const int side = std::min(rect.width(), rect.height());
        painter->drawImage(QRect(rect.topLeft(), QSize(side, side)), programIconImage(side));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int side = std::clamp(std::min(size.width(), size.height()), 1, kMaxSide);
        if (mode != QIcon::Disabled)
            return art::cachedPixmap(kIconId, QSize(side, side), 1.0, [side] { return programIconImage(side); });
        return art::cachedPixmap(kDisabledIconId, QSize(side, side), 1.0, [side] {
            QImage faded(side, side, QImage::Format_ARGB32_Premultiplied);
            faded.fill(Qt::transparent);
            QPainter painter(&faded);
            painter.setOpacity(0.4);
            painter.drawImage(0, 0, programIconImage(side));
            return faded;
        });
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : kProgramIconSizes)
            sizes.append(QSize(side, side));
        return sizes;
    }

    QIconEngine* clone() const override { return new ProgramIconEngine; }
    QString key() const override { return QStringLiteral("qora-program-icon"); }
};

} // namespace

QImage programIconImage(int side) {
    side = std::clamp(side, 1, kMaxSide);
    return art::cachedImage(kIconId, QSize(side, side), 1.0, [side] {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paintIcon(painter, side);
        return image;
    });
}

QIcon programIcon() {
    return QIcon(new ProgramIconEngine);
}

} // namespace qora::gui
