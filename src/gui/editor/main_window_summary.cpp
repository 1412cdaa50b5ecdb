// MainWindow's "&Vehicle Summary..." and "Vehicle &Compare Summary..." commands: every value of the vehicle as the
// pages show it (unsaved edits included), alone or beside the ghost's, in a dialog that copies it as text or saves
// it as HTML.

#include <QAction>

#include "editor/vehicle_summary_dialog.h"
#include "editor/main_window.h"
#include "editor/page_model.h"
#include "editor/torque_chart.h"
#include "editor/vehicle_summary.h"
#include "platform/dialog_runner.h"
#include "platform/file_system.h"

namespace qora::gui {

namespace {

// The file name the save dialog proposes: the vehicle's, without its extension, and what the summary is.
std::string summaryBaseName(const std::string& path, bool compare) {
    std::string name = fileNameOf(path);
    if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.erase(dot);
    if (name.empty())
        name = "vehicle";
    return name + (compare ? "-compare" : "-summary");
}

} // namespace

void MainWindow::createSummaryCommands() {
    const auto wire = [this](const char* name, void (MainWindow::*handler)()) {
        auto* action = findChild<QAction*>(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    wire("mVehicleSummary", &MainWindow::showVehicleSummary);
    wire("mCompareSummary", &MainWindow::showCompareSummary);
    updateSummaryCommands();
}

void MainWindow::updateSummaryCommands() {
    if (auto* summary = findChild<QAction*>(QStringLiteral("mVehicleSummary")))
        summary->setEnabled(m_document->vehicle() != nullptr);
    if (auto* compare = findChild<QAction*>(QStringLiteral("mCompareSummary")))
        compare->setEnabled(m_document->vehicle() != nullptr && m_ghostDocument->vehicle() != nullptr);
}

// The vehicle as the user sees it now: the page fields, the chart's curve and figures, the side dialogs' values.
editor::SummarySource MainWindow::pagesSummarySource() const {
    editor::SummarySource source;
    source.path = m_document->vehicle()->fileName;
    source.texts = collectTexts();
    source.anglesInDegrees = m_settings.anglesInDegrees;
    if (m_chart->exists()) {
        source.torqueNm = editor::summaryTorqueNm(m_chart->line(TorqueChart::TorqueLine));
        const PeakFigures figures = m_chart->peakFigures(false);
        source.peakTorque = figures.torque;
        source.peakPower = figures.power;
    }
    source.sideValues = editor::summarySideValues(*m_document->vehicle());
    // The author data the window keeps is what the next save writes.
    for (std::size_t i = 0; i < editor::kAuthorKeys.size(); ++i) {
        std::string_view key = editor::kAuthorKeys[i];
        key.remove_suffix(1); // its "="
        source.sideValues["QORA." + std::string(key)] = m_document->authorData()[i];
    }
    return source;
}

void MainWindow::showSummary(editor::VehicleSummary summary) {
    const bool compare = summary.compare;
    VehicleSummaryDialog dialog(std::move(summary), parentFolder(m_document->vehicle()->fileName),
                              summaryBaseName(m_document->vehicle()->fileName, compare), m_host.fileDialogs, prompt(), this);
    m_host.dialogs.run(dialog);
}

void MainWindow::showVehicleSummary() {
    guarded([this] {
        if (!m_document->vehicle())
            return;
        showSummary(editor::buildSummary(pagesSummarySource()));
    });
}

void MainWindow::showCompareSummary() {
    guarded([this] {
        if (!m_document->vehicle() || !m_ghostDocument->vehicle())
            return;
        // The ghost is read-only: its fields show what its file holds.
        showSummary(editor::buildCompareSummary(pagesSummarySource(), editor::summarySource(*m_ghostDocument->vehicle(), m_settings)));
    });
}

} // namespace qora::gui
