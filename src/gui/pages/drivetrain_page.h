#pragma once

#include <array>
#include <memory>

#include "pages/field_page.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace qora {
class GearCalculator;
struct DriveTrainTexts;
struct UpshiftRefresh;
enum class UpshiftSender;
enum class ReadoutColour;
} // namespace qora

namespace qora::gui {

class GearingChart;
class TorqueChart;

// The DriveTrain page: each gear's ratio with a bar that sets it, the upshift rpm and the recommended ratio the
// gear calculator works out from the engine curve, the calculator's options, and the gearing chart of road speed
// in each gear for the vehicle and the ghost.
class DriveTrainPage final : public FieldPage {
    Q_OBJECT

public:
    static constexpr int kGearCount = 8; // the gear edits: reverse, 1st to 6th, final

    // The chart is the Performance page's: its curve gives the peak rpms the calculator starts from.
    DriveTrainPage(PageHost& host, TorqueChart& chart, QWidget* parent = nullptr);
    ~DriveTrainPage() override;

    // Connects the figures the gearing chart takes from the other pages; called once every page exists.
    void followOtherPages();
    void afterFill(const VehicleFile& vehicle, bool ghost) override;
    void restoreOptions() override;
    // The page came to the front: the read-outs are worked out for what the other pages now hold.
    void pageShown();
    void setMaxGearRange(int maximum);
    // The read-outs' red (over the limit) and grey (not reached) stay through a change of the application colours.
    void paintUpshiftReadouts();
    void refreshGearingChart();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildContent(QWidget* parent);
    QWidget* buildGearingChart(QWidget* parent);
    DriveTrainTexts driveTrainTexts() const;
    void calculateUpshift(UpshiftSender sender);
    void recalculateDriveTrain();
    void updateBestGears();
    void showUpshift(const UpshiftRefresh& refresh);
    void gearBarMoved(int gear);
    void gearEditChanged(int gear);
    void finishGearEdit(int gear);
    void stepUpshiftBase(bool firstGearOnly);
    void setGearThreshold(int mode);

    TorqueChart& m_chart;
    std::unique_ptr<GearCalculator> m_gears;
    bool m_gearSync = false;                         // a gear bar is writing its edit
    std::array<ReadoutColour, 5> m_upshiftColours{}; // of the read-outs eGearRpm2..6
    std::array<QScrollBar*, kGearCount> m_gearBars{};
    std::array<QLineEdit*, kGearCount> m_gearEdits{};
    QLabel* m_peakTorqueCaption = nullptr;
    QLabel* m_peakPowerCaption = nullptr;
    QComboBox* m_upshiftBase = nullptr;
    QPushButton* m_calcUpshift = nullptr;
    QToolButton* m_baseFirst = nullptr;
    QToolButton* m_basePrev = nullptr;
    std::array<QToolButton*, 3> m_threshButtons{};
    GearingChart* m_gearingChart = nullptr;
};

} // namespace qora::gui
