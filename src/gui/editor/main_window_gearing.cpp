// The DriveTrain page's gearing chart as the main window feeds it: the vehicle's gears, final drive, driven tyre
// and rpm figures from its fields (and the ghost's from its twins), drawn again whenever the page's read-outs are
// recalculated, a figure it depends on changes on another page, or a ghost comes or goes.

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "calc/engine_curve.h"
#include "calc/gearing_chart.h"
#include "chart/chart_painter.h"
#include "editor/gearing_chart.h"
#include "editor/main_window.h"
#include "editor/page_fields.h"
#include "editor/torque_chart.h"
#include "platform/qt_text.h"

namespace qora::gui {

namespace {

constexpr std::array<const char*, kGearEditCount> kGearFields{"eGearReverse", "eGear1", "eGear2", "eGear3",
                                                              "eGear4",       "eGear5", "eGear6", "eGearFinal"};

// The objectName of a vehicle field's ghost twin ("eGear1" -> "geGear1", "erRadius" -> "gerRadius").
std::string twinOf(std::string_view name) {
    const editor::PageField* field = editor::findPageField(name);
    return field != nullptr ? std::string(field->ghostName) : std::string();
}

} // namespace

QWidget* MainWindow::buildGearingChart(QWidget* parent) {
    auto* box = new QGroupBox(tr("Road Speed in Each Gear"), parent);
    box->setObjectName(QStringLiteral("grpGearingChart"));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    m_gearingChart = new GearingChart(box);
    layout->addWidget(m_gearingChart);
    return box;
}

void MainWindow::connectGearingChart() {
    // The figures the chart takes from other pages; the gears and the upshift base come with the read-outs.
    for (const char* name : {"efRadius", "erRadius", "eMaxRpm", "eAutoShiftRpm"})
        if (auto* edit = qobject_cast<QLineEdit*>(control(name)))
            connect(edit, &QLineEdit::textChanged, this, [this] { refreshGearingChart(); });
    if (auto* drive = qobject_cast<QComboBox*>(control("cbDriveType")))
        connect(drive, &QComboBox::currentTextChanged, this, [this] { refreshGearingChart(); });
    // A changed curve moves the peak power rpm; "Metric Text" switches between km/h and mph.
    connect(m_chart, &TorqueChart::peakFiguresChanged, this, [this] { refreshGearingChart(); });
}

void MainWindow::refreshGearingChart() {
    if (m_gearingChart == nullptr || m_pagesFilling)
        return;
    const SpeedUnit unit = m_settings.chartMetricText ? SpeedUnit::Kmh : SpeedUnit::Mph;
    const UpshiftBase base{m_upshiftBase->currentIndex(), toLatin1(m_upshiftBase->currentText())};

    GearingChartData vehicle;
    if (m_document->vehicle()) {
        const std::string_view tyre = drivenTyreField(toLatin1(controlText("cbDriveType")));
        vehicle = gearingChart(gearingInput(driveTrainTexts(), base, toLatin1(controlText(tyre)), unit));
    }
    std::optional<GearingChartData> ghost;
    if (m_ghostDocument->vehicle()) {
        DriveTrainTexts texts;
        for (int gear = 0; gear < kGearEditCount; ++gear)
            texts.gears[static_cast<std::size_t>(gear)] =
                toLatin1(controlText(twinOf(kGearFields[static_cast<std::size_t>(gear)])));
        texts.maxRpm = toLatin1(controlText(twinOf("eMaxRpm")));
        texts.autoShiftRpm = toLatin1(controlText(twinOf("eAutoShiftRpm")));
        if (m_chart->exists()) {
            texts.peakTorqueRpm = peakRpm(m_chart->line(TorqueChart::GhostTorqueLine));
            texts.peakPowerRpm = peakRpm(m_chart->line(TorqueChart::GhostPowerLine));
        }
        const std::string_view tyre = drivenTyreField(toLatin1(controlText(twinOf("cbDriveType"))));
        ghost = gearingChart(gearingInput(texts, base, toLatin1(controlText(twinOf(tyre))), unit));
    }
    m_gearingChart->setColours(ChartPainter::toQColor(m_settings.chartColor(0)),
                               ChartPainter::toQColor(m_settings.chartColor(1)));
    m_gearingChart->setCharts(vehicle, ghost, unit);
}

} // namespace qora::gui
