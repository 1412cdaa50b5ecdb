#include "chart/gearing_chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include <QPainter>

#include "editor/field_access.h"

namespace qora::gui {

namespace {

constexpr int kMargin = 6;
constexpr int kMarkerRadius = 4;
constexpr int kSwatchWidth = 18;
// The share of the plot's width one speed label (with room around it) may take, and of its height one rpm label.
constexpr int kSpeedLabelRoom = 46;
constexpr int kRpmLabelRoom = 16;

const char* ordinal(int gear) {
    static constexpr std::array<const char*, 6> kNames{"1st", "2nd", "3rd", "4th", "5th", "6th"};
    return kNames[static_cast<std::size_t>(std::clamp(gear, 1, 6) - 1)];
}

QColor textColour() {
    return QColor(225, 225, 225);
}

// Where the figures land on the widget: speed across, engine speed up.
struct Axes {
    QRectF plot;
    double speedMax = 1;
    double speedStep = 1;
    double rpmMax = 1;
    double rpmStep = 1;

    QPointF at(double speed, double rpm) const {
        return {plot.left() + speed / speedMax * plot.width(), plot.bottom() - rpm / rpmMax * plot.height()};
    }
};

// The rounded-up end of an axis and its tick step, for at most `ticks` steps.
std::pair<double, double> axisRange(double maximum, int ticks) {
    const double step = niceTickStep(maximum, std::max(ticks, 1));
    const double end = std::max(step, std::ceil(maximum / step - 1e-9) * step);
    return {end, step};
}

// The entry point of each line: where the upshift from the gear before lands, or standstill.
QPointF entryOf(const GearingChartData& chart, const GearLine& line) {
    for (const ShiftMark& shift : chart.shifts)
        if (shift.toGear == line.gear)
            return {shift.speed, shift.rpmAfter};
    return {0, 0};
}

struct LegendEntry {
    QString text;
    QColor colour;
    bool dashed = false;
    bool swatch = true;
};

} // namespace

GearingChart::GearingChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GearingChart"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setToolTip(tr("Road speed in each gear while accelerating: each gear up to its upshift point, the top gear "
                  "up to Maximum RPM"));
}

void GearingChart::setCharts(const GearingChartData& vehicle, const std::optional<GearingChartData>& ghost, SpeedUnit unit) {
    m_vehicle = vehicle;
    m_ghost = ghost;
    m_unit = unit;
    update();
}

void GearingChart::setColours(const QColor& background, const QColor& grid) {
    m_background = background;
    m_grid = grid;
    update();
}

QColor GearingChart::gearColour(int gear) {
    switch (gear) {
    case 1:
        return QColor(255, 90, 70);
    case 2:
        return QColor(255, 165, 40);
    case 3:
        return QColor(235, 225, 60);
    case 4:
        return QColor(100, 220, 90);
    case 5:
        return QColor(80, 175, 255);
    default:
        return QColor(200, 130, 255);
    }
}

// The teal of the ghost's fields, lightened to read on the dark chart.
QColor GearingChart::ghostColour() {
    return QColor(0, 190, 190);
}

QSize GearingChart::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    // Tall enough that the gears' lines stay apart: at the window's first size the page shows all of it.
    return {metrics.horizontalAdvance(QLatin1Char('0')) * 40, metrics.height() * 11 + 2 * kMargin};
}

QSize GearingChart::sizeHint() const {
    // As low as it may be; spare height goes to it.
    const QSize minimum = minimumSizeHint();
    return {minimum.width() * 2, minimum.height()};
}

void GearingChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), m_background);
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    const QString unit = qtName(speedUnitName(m_unit));

    // The legend: one entry per gear of the vehicle (and the ghost), then the top speeds, flowing over rows.
    std::vector<LegendEntry> legend;
    for (const GearLine& line : m_vehicle.lines)
        legend.push_back({QString::fromLatin1(ordinal(line.gear)), gearColour(line.gear)});
    const bool ghostLines = m_ghost && !m_ghost->lines.empty();
    if (ghostLines)
        legend.push_back({tr("Ghost"), ghostColour(), true});
    const auto topSpeed = [&](const GearingChartData& chart) { return tr("%1 %2").arg(qRound(chart.topSpeed)).arg(unit); };
    if (!m_vehicle.lines.empty())
        legend.push_back({tr("Top speed %1").arg(topSpeed(m_vehicle)), textColour(), false, false});
    if (ghostLines)
        legend.push_back({tr("Ghost %1").arg(topSpeed(*m_ghost)), ghostColour(), false, false});

    const int legendLeft = kMargin + metrics.horizontalAdvance(QStringLiteral("00000")) + 6;
    const int right = width() - kMargin - metrics.horizontalAdvance(QLatin1Char('0')) * 2;
    std::vector<QPoint> legendAt;
    int x = legendLeft;
    int y = kMargin;
    for (const LegendEntry& entry : legend) {
        const int entryWidth = (entry.swatch ? kSwatchWidth + 4 : 0) + metrics.horizontalAdvance(entry.text) + 14;
        if (x + entryWidth > right && x > legendLeft) {
            x = legendLeft;
            y += lineHeight;
        }
        legendAt.emplace_back(x, y);
        x += entryWidth;
    }
    const int legendBottom = y + lineHeight + kMargin;

    // The plot, with the rpm labels on its left and the speed labels below it; the speed axis is named under
    // them when there is room (the top speed in the legend names the unit anyway).
    const bool speedTitle = height() >= lineHeight * 9;
    Axes axes;
    axes.plot = QRectF(legendLeft, legendBottom + lineHeight / 2.0, right - legendLeft,
                       height() - legendBottom - lineHeight / 2.0 - (speedTitle ? 2 : 1) * lineHeight - kMargin);
    if (axes.plot.width() < 20 || axes.plot.height() < 20)
        return;
    double speedMax = m_vehicle.topSpeed;
    double rpmMax = m_vehicle.limitRpm;
    if (ghostLines) {
        speedMax = std::max(speedMax, m_ghost->topSpeed);
        rpmMax = std::max(rpmMax, m_ghost->limitRpm);
    }
    std::tie(axes.speedMax, axes.speedStep) =
        axisRange(speedMax > 0 ? speedMax : (m_unit == SpeedUnit::Mph ? 200 : 300),
                  static_cast<int>(axes.plot.width()) / kSpeedLabelRoom);
    // The rpm axis ends on a whole thousand, its labels as dense as the height allows.
    axes.rpmMax = std::ceil((rpmMax > 0 ? rpmMax : 8000) / 1000.0) * 1000.0;
    axes.rpmStep = niceTickStep(axes.rpmMax, static_cast<int>(axes.plot.height()) / kRpmLabelRoom);

    painter.setPen(QPen(m_grid, 1));
    for (double speed = 0; speed <= axes.speedMax + 1e-9; speed += axes.speedStep) {
        const QPointF bottom = axes.at(speed, 0);
        painter.setPen(QPen(m_grid, 1));
        painter.drawLine(bottom, axes.at(speed, axes.rpmMax));
        painter.setPen(textColour());
        const QString label = QString::number(qRound(speed));
        painter.drawText(QRectF(bottom.x() - 40, bottom.y() + 2, 80, lineHeight), Qt::AlignHCenter | Qt::AlignTop,
                         label);
    }
    for (double rpm = 0; rpm <= axes.rpmMax + 1e-9; rpm += axes.rpmStep) {
        const QPointF left = axes.at(0, rpm);
        painter.setPen(QPen(m_grid, 1));
        painter.drawLine(left, axes.at(axes.speedMax, rpm));
        painter.setPen(textColour());
        painter.drawText(QRectF(kMargin, left.y() - lineHeight / 2.0, left.x() - kMargin - 4, lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(qRound(rpm)));
    }
    // The engine speed axis is named at its top, in the legend's row.
    painter.drawText(QRectF(kMargin, kMargin, legendLeft - kMargin - 4, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
                     tr("rpm"));
    if (speedTitle)
        painter.drawText(QRectF(axes.plot.left(), axes.plot.bottom() + lineHeight + 2, axes.plot.width(), lineHeight),
                         Qt::AlignHCenter | Qt::AlignTop, tr("Road speed (%1)").arg(unit));

    painter.setClipRect(axes.plot.adjusted(-kMarkerRadius - 1, -kMarkerRadius - 1, 1, 1));
    // The ghost behind, dashed: the part of each gear it uses and its drops.
    if (ghostLines) {
        QPen dashed(ghostColour(), 1.6, Qt::DashLine);
        painter.setBrush(Qt::NoBrush);
        for (const GearLine& line : m_ghost->lines) {
            const QPointF entry = entryOf(*m_ghost, line);
            painter.setPen(dashed);
            painter.drawLine(axes.at(entry.x(), entry.y()), axes.at(line.toSpeed, line.toRpm));
        }
        for (const ShiftMark& shift : m_ghost->shifts) {
            painter.setPen(dashed);
            painter.drawLine(axes.at(shift.speed, shift.rpmBefore), axes.at(shift.speed, shift.rpmAfter));
            painter.setPen(QPen(ghostColour(), 1.4));
            painter.drawEllipse(axes.at(shift.speed, shift.rpmBefore), kMarkerRadius - 1, kMarkerRadius - 1);
        }
    }

    // The vehicle: each gear faint from standstill, bold where it is used, the drop of each upshift, the markers.
    for (const GearLine& line : m_vehicle.lines) {
        const QColor colour = gearColour(line.gear);
        const QPointF entry = entryOf(m_vehicle, line);
        if (entry != QPointF(0, 0)) {
            QColor faint = colour;
            faint.setAlpha(80);
            painter.setPen(QPen(faint, 1));
            painter.drawLine(axes.at(0, 0), axes.at(entry.x(), entry.y()));
        }
        painter.setPen(QPen(colour, 2.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(axes.at(entry.x(), entry.y()), axes.at(line.toSpeed, line.toRpm));
    }
    for (const ShiftMark& shift : m_vehicle.shifts) {
        const QColor colour = gearColour(shift.fromGear);
        painter.setPen(QPen(colour, 1.4));
        painter.drawLine(axes.at(shift.speed, shift.rpmBefore), axes.at(shift.speed, shift.rpmAfter));
        painter.setPen(QPen(m_background, 1.2));
        painter.setBrush(colour);
        painter.drawEllipse(axes.at(shift.speed, shift.rpmBefore), kMarkerRadius, kMarkerRadius);
        painter.setBrush(Qt::NoBrush);
    }
    painter.setClipping(false);

    if (m_vehicle.lines.empty() && !m_vehicle.problem.empty()) {
        painter.setPen(textColour());
        painter.drawText(axes.plot.adjusted(12, 8, -12, -8), Qt::AlignCenter | Qt::TextWordWrap,
                         QString::fromStdString(m_vehicle.problem));
    }

    for (std::size_t i = 0; i < legend.size(); ++i) {
        const LegendEntry& entry = legend[i];
        const QPoint at = legendAt[i];
        int textLeft = at.x();
        if (entry.swatch) {
            const double middle = at.y() + lineHeight / 2.0;
            painter.setPen(QPen(entry.colour, entry.dashed ? 1.6 : 2.6, entry.dashed ? Qt::DashLine : Qt::SolidLine));
            painter.drawLine(QPointF(at.x(), middle), QPointF(at.x() + kSwatchWidth, middle));
            textLeft += kSwatchWidth + 4;
        }
        painter.setPen(entry.dashed || !entry.swatch ? entry.colour : textColour());
        painter.drawText(QRect(textLeft, at.y(), width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter, entry.text);
    }
}

} // namespace qora::gui
