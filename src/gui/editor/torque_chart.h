#pragma once

#include <memory>

#include <QImage>
#include <QWidget>

#include "chart/chart_painter.h"
#include "chart/line_chart.h"

class QScrollArea;

namespace qora {
class TOldVehFile;
class TSettings;
} // namespace qora

namespace qora::gui {

// Shows one of the chart painter's images at its own size.
class ChartImage final : public QWidget {
    Q_OBJECT

public:
    explicit ChartImage(const QImage* image, QWidget* parent = nullptr);
    void imageResized();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* m_image;
};

// The engine chart of the Performance page: the chart image `iTorqueGrid` with its legends `iTorqueChart_Left`
// and `iTorqueChart_Bottom` in the scroll area `ChartScrollBox`, holding the four lines of the engine curve
// (0 ghost power, 1 ghost torque, 2 power, 3 torque; the torque line is the active one).
class TorqueChart final : public QWidget {
    Q_OBJECT

public:
    enum Line : int { GhostPowerLine = 0, GhostTorqueLine = 1, PowerLine = 2, TorqueLine = 3 };

    explicit TorqueChart(QWidget* parent = nullptr);
    ~TorqueChart() override;

    // Builds the chart from the settings: size from the zoom positions, colours, 3D flags, legends, the vertical
    // maximum of the torque unit, and four lines of 41 zero points.
    void setUp(const TSettings& settings);
    bool exists() const { return m_chart != nullptr; }

    // LoadEngineCurve for the vehicle (or the ghost) and a redraw.
    void loadCurve(const TOldVehFile& vehicle, bool ghost, const TSettings& settings);
    // Recomputes every point's position and redraws, after values were changed.
    void refresh();

    TLineChart& chart() { return *m_chart; }
    TLineData& line(Line line) { return m_chart->GetLineData(line); }
    const ChartPainter& painter() const { return m_painter; }

private:
    void sizeImages();

    ChartPainter m_painter;
    std::unique_ptr<TLineChart> m_chart;
    QScrollArea* m_scroll = nullptr;
    ChartImage* m_grid = nullptr;
    ChartImage* m_left = nullptr;
    ChartImage* m_bottom = nullptr;
};

} // namespace qora::gui
