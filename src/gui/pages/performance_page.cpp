#include "pages/performance_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "calc/engine_curve.h"
#include "chart/torque_chart.h"
#include "documents/edit_history.h"
#include "documents/vehicle_document.h"
#include "editor/page_fields.h"
#include "pages/page_host.h"
#include "platform/qt_text.h"
#include "settings/settings.h"

namespace qora::gui {

namespace {

// How far the vehicle's peak figures move down while no ghost figures stand beside them.
constexpr int kFiguresDropWithoutGhost = 7;

} // namespace

PerformancePage::PerformancePage(PageHost& host, const TorqueChartHost& chartHost, QWidget* parent)
    : FieldPage(editor::PgPerformance, host, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);

    auto* box = new QWidget(this);
    auto* chartColumn = new QVBoxLayout(box);
    chartColumn->setContentsMargins(0, 0, 0, 0);
    chartColumn->setSpacing(4);
    m_chart = new TorqueChart(box);
    m_chart->attach(chartHost);
    // A drag shows the vehicle changed while it runs and becomes one command when it ends; steps of one point
    // make one command while they follow each other.
    connect(m_chart, &TorqueChart::edited, this, [this] { this->host().document().setEditInProgress(true); });
    connect(m_chart, &TorqueChart::pointEdited, this, [this](int point, bool stepped) {
        VehicleDocument& document = this->host().document();
        document.history().record({}, stepped ? QStringLiteral("torque:%1").arg(point) : QString());
        document.setEditInProgress(false);
    });
    connect(m_chart, &TorqueChart::peakFiguresChanged, this, [this](bool ghost) { showPeakFigures(ghost); });
    m_chart->setObjectName(QStringLiteral("TorqueChart"));
    chartColumn->addWidget(m_chart);

    const auto figure = [box](const char* name, const QString& text, bool ghost) {
        auto* label = new QLabel(text, box);
        label->setObjectName(QString::fromLatin1(name));
        QFont font = label->font();
        font.setBold(!ghost);
        label->setFont(font);
        if (ghost) {
            QPalette grey = label->palette();
            grey.setColor(QPalette::WindowText, QColor(0, 128, 128));
            label->setPalette(grey);
            label->hide();
        }
        return label;
    };
    m_torqueFigure = figure("lTorque", QStringLiteral("0000 ft-lbs @ 00000rpm"), false);
    m_powerFigure = figure("lHp", QStringLiteral("00000 bhp @ 00000rpm"), false);
    m_ghostTorqueFigure = figure("glTorque", QStringLiteral("0000 ft-lbs @ 00000rpm"), true);
    m_ghostPowerFigure = figure("glHp", QStringLiteral("00000 bhp @ 00000rpm"), true);
    addGhostWidget(m_ghostTorqueFigure);
    addGhostWidget(m_ghostPowerFigure);
    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(24);
    figures->addWidget(m_torqueFigure, 0, 0);
    figures->addWidget(m_powerFigure, 0, 1);
    figures->addWidget(m_ghostTorqueFigure, 1, 0);
    figures->addWidget(m_ghostPowerFigure, 1, 1);
    figures->setColumnStretch(2, 1);
    chartColumn->addLayout(figures);

    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(box, 0, Qt::AlignTop);
    row->addWidget(buildGroups(1, this), 1, Qt::AlignTop);
    layout->addLayout(row);
    layout->addStretch(1);
    placePeakFigures(false);
}

void PerformancePage::afterFill(const VehicleFile& vehicle, bool ghost) {
    if (!m_chart->exists())
        return;
    const Settings& settings = host().settings();
    m_chart->loadCurve(vehicle, ghost, settings);
    const TorqueChart::Line torque = ghost ? TorqueChart::GhostTorqueLine : TorqueChart::TorqueLine;
    const TorqueChart::Line power = ghost ? TorqueChart::GhostPowerLine : TorqueChart::PowerLine;
    const PeakFigures figures =
        updatePeakFigures(m_chart->line(torque), m_chart->line(power), settings.chartMetricText);
    (ghost ? m_ghostTorqueFigure : m_torqueFigure)->setText(fromLatin1(figures.torque));
    (ghost ? m_ghostPowerFigure : m_powerFigure)->setText(fromLatin1(figures.power));
}

void PerformancePage::showPeakFigures(bool ghost) {
    if (!m_chart->exists())
        return;
    const PeakFigures figures = m_chart->peakFigures(ghost);
    (ghost ? m_ghostTorqueFigure : m_torqueFigure)->setText(fromLatin1(figures.torque));
    (ghost ? m_ghostPowerFigure : m_powerFigure)->setText(fromLatin1(figures.power));
}

void PerformancePage::placePeakFigures(bool ghostShown) {
    const int top = ghostShown ? 0 : kFiguresDropWithoutGhost;
    m_torqueFigure->setContentsMargins(0, top, 0, 0);
    m_powerFigure->setContentsMargins(0, top, 0, 0);
}

} // namespace qora::gui
