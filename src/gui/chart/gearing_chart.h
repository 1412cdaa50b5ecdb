#pragma once

#include <optional>

#include <QColor>
#include <QWidget>

#include "calc/gearing_chart.h"

namespace qora::gui {

// The DriveTrain page's gearing chart: engine speed (up) against road speed (across) for each forward gear, one
// colour per gear, the part of each gear the vehicle uses drawn bold with the drop at each upshift (the
// saw-tooth), the upshift points marked, and the ghost's gearing dashed in the ghost's colour behind it. A
// vehicle whose figures give no lines shows why instead.
class GearingChart final : public QWidget {
    Q_OBJECT

public:
    explicit GearingChart(QWidget* parent = nullptr);

    // What to show: the vehicle's figures, the ghost's while a ghost is open, and the unit both are in.
    void setCharts(const GearingChartData& vehicle, const std::optional<GearingChartData>& ghost, SpeedUnit unit);
    // The chart's background and grid (the engine chart's colours, so both charts look alike).
    void setColours(const QColor& background, const QColor& grid);

    const GearingChartData& vehicleChart() const { return m_vehicle; }
    const std::optional<GearingChartData>& ghostChart() const { return m_ghost; }
    SpeedUnit unit() const { return m_unit; }

    // The colour of a gear's line (1 to 6) and of the ghost's lines.
    static QColor gearColour(int gear);
    static QColor ghostColour();

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GearingChartData m_vehicle;
    std::optional<GearingChartData> m_ghost;
    SpeedUnit m_unit = SpeedUnit::Kmh;
    QColor m_background{0, 0, 0};
    QColor m_grid{72, 68, 72};
};

} // namespace qora::gui
