#pragma once

#include "pages/field_page.h"

class QLabel;

namespace qora::gui {

class TorqueChart;
struct TorqueChartHost;

// The Performance page: the engine chart with the torque curve the user drags, the peak torque and power figures
// of the vehicle and the ghost under it, and the engine fields in a column beside it.
class PerformancePage final : public FieldPage {
    Q_OBJECT

public:
    PerformancePage(PageHost& host, const TorqueChartHost& chartHost, QWidget* parent = nullptr);

    TorqueChart& chart() const { return *m_chart; }
    // Loads the engine curve of the vehicle (or the ghost) into the chart and shows its peak figures.
    void afterFill(const VehicleFile& vehicle, bool ghost) override;
    // Without a ghost the vehicle's figures move down into the room its figures leave.
    void placePeakFigures(bool ghostShown);
    // Shows the peak figures of the chart's vehicle (or ghost) lines as they stand.
    void showPeakFigures(bool ghost);

private:
    TorqueChart* m_chart = nullptr;
    QLabel* m_torqueFigure = nullptr;
    QLabel* m_powerFigure = nullptr;
    QLabel* m_ghostTorqueFigure = nullptr;
    QLabel* m_ghostPowerFigure = nullptr;
};

} // namespace qora::gui
