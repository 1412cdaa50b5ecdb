// The Performance page's engine chart as the main window sees it: the services its menus need, the changed
// state its edits set, and the peak figures under it.

#include <QLabel>

#include "editor/main_window.h"
#include "editor/torque_chart.h"
#include "platform/qt_text.h"

namespace qora::gui {

void MainWindow::connectChart() {
    m_chart->attach(TorqueChartHost{&m_host.prompt, &m_host.fileDialogs, &m_host.dialogs});
    connect(m_chart, &TorqueChart::edited, this, [this] { setChanged(true); });
    connect(m_chart, &TorqueChart::peakFiguresChanged, this, [this](bool ghost) { showPeakFigures(ghost); });
}

void MainWindow::showPeakFigures(bool ghost) {
    if (!m_chart->exists())
        return;
    const PeakFigures figures = m_chart->peakFigures(ghost);
    (ghost ? m_ghostTorqueFigure : m_torqueFigure)->setText(fromLatin1(figures.torque));
    (ghost ? m_ghostPowerFigure : m_powerFigure)->setText(fromLatin1(figures.power));
}

} // namespace qora::gui
