// Copy From Ghost: the ghost's values put into the vehicle's fields, for the page in front or for every page, and
// the chart's option that takes the ghost's torque curve. The copies change the fields only, never the vehicle's
// buffer, so Undo Page on any page brings back what that page held when the file was last opened or saved.

#include <QAction>
#include <QTabWidget>

#include "editor/copy_from_ghost.h"
#include "editor/copy_from_ghost_dialog.h"
#include "editor/main_window.h"
#include "pages/drivetrain_page.h"
#include "pages/performance_page.h"
#include "editor/page_fields.h"
#include "editor/torque_chart.h"
#include "platform/dialog_runner.h"
#include "platform/qt_text.h"

namespace qora::gui {

void MainWindow::createCopyFromGhost() {
    m_copyFromGhost = findChild<QAction*>(QStringLiteral("mCopyFromGhost"));
    connect(m_copyFromGhost, &QAction::triggered, this, &MainWindow::copyFromGhost);
    m_chartCopyFromGhost = m_chart->findChild<QAction*>(QStringLiteral("mcoCopyFromGhost"));
    m_chartCopyFromGhost->setToolTip(tr("Replace the vehicle's torque curve with the ghost's"));
    connect(m_chartCopyFromGhost, &QAction::triggered, this, &MainWindow::copyGhostCurve);
    updateCopyFromGhostCommands();
}

void MainWindow::updateCopyFromGhostCommands() {
    const bool enabled = m_document->vehicle() != nullptr && m_ghostDocument->vehicle() != nullptr;
    m_copyFromGhost->setEnabled(enabled);
    m_chartCopyFromGhost->setEnabled(enabled);
}

void MainWindow::afterGhostChange() {
    updateCopyFromGhostCommands();
    m_driveTrain->refreshGearingChart();
}

editor::PageTexts MainWindow::ghostTexts() const {
    editor::PageTexts texts;
    for (const editor::PageField& field : editor::allPageFields())
        if (!field.ghostName.empty())
            if (const QWidget* twin = control(field.ghostName))
                texts.emplace(std::string(field.name), toLatin1(FieldPage::textOf(twin)));
    return texts;
}

void MainWindow::copyFromGhost() {
    guarded([this] {
        if (!m_document->vehicle() || !m_ghostDocument->vehicle())
            return;
        const int page = m_pages->currentIndex();
        const editor::PageTexts vehicle = collectTexts();
        const editor::PageTexts ghost = ghostTexts();
        const bool curve = m_chart->exists() && editor::curvesDiffer(m_chart->line(TorqueChart::GhostTorqueLine),
                                                                     m_chart->line(TorqueChart::TorqueLine));
        const auto difference = [&](editor::CopyScope scope) {
            return CopyFromGhostDialog::Difference{
                static_cast<int>(editor::copyFromGhostPlan(vehicle, ghost, page, scope).size()),
                curve && editor::scopeHasCurve(page, scope)};
        };
        CopyFromGhostDialog dialog(page, difference(editor::CopyScope::ActivePage),
                                 difference(editor::CopyScope::AllPages), this);
        if (m_host.dialogs.run(dialog) != QDialog::Accepted)
            return;
        copyGhostValues(dialog.scope());
    });
}

void MainWindow::copyGhostCurve() {
    guarded([this] {
        if (!m_document->vehicle() || !m_ghostDocument->vehicle())
            return;
        if (!replaceCurveWithGhosts())
            prompt().tell(std::string(editor::kCopyFromGhostTitle), std::string(editor::kNothingToCopyText),
                          PromptIcon::Information);
    });
}

bool MainWindow::copyGhostValues(editor::CopyScope scope) {
    if (!m_document->vehicle() || !m_ghostDocument->vehicle())
        return false;
    const int page = m_pages->currentIndex();
    const std::vector<editor::FieldCopy> plan = editor::copyFromGhostPlan(collectTexts(), ghostTexts(), page, scope);
    // Each field's own change handling follows (the gear bars and read-outs, the name panel).
    for (const editor::FieldCopy& copy : plan)
        FieldPage::setControlText(control(copy.name), fromLatin1(copy.text));
    const bool curve = editor::scopeHasCurve(page, scope) && replaceCurveWithGhosts();
    if (plan.empty() && !curve) {
        prompt().tell(std::string(editor::kCopyFromGhostTitle), std::string(editor::kNothingToCopyText),
                      PromptIcon::Information);
        return false;
    }
    setChanged(true);
    return true;
}

// The ghost's torque curve into the vehicle's lines; the power line, the peak figures and the gearing chart follow.
bool MainWindow::replaceCurveWithGhosts() {
    if (!m_ghostDocument->vehicle() || !m_chart->exists())
        return false;
    if (!editor::replaceCurveWithGhosts(m_chart->line(TorqueChart::GhostTorqueLine), m_chart->line(TorqueChart::TorqueLine),
                                m_chart->line(TorqueChart::PowerLine)))
        return false;
    m_chart->refresh();
    m_performance->showPeakFigures(false);
    setChanged(true);
    m_driveTrain->refreshGearingChart();
    return true;
}

} // namespace qora::gui
