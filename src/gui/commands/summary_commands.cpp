#include "commands/summary_commands.h"

#include <QAction>
#include <QMainWindow>

#include "documents/ghost_document.h"
#include "documents/vehicle_document.h"
#include "editor/page_model.h"
#include "chart/torque_chart.h"
#include "editor/vehicle_summary.h"
#include "dialogs/vehicle_summary_dialog.h"
#include "platform/dialog_runner.h"
#include "platform/file_system.h"
#include "settings/settings.h"

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

SummaryCommands::SummaryCommands(CommandContext context, TorqueChart& chart, std::function<PageTexts()> pageTexts)
    : QObject(context.window), m_context(std::move(context)), m_chart(chart), m_pageTexts(std::move(pageTexts)) {
    const auto wire = [this](const char* name, void (SummaryCommands::*handler)()) {
        auto* action = m_context.window->findChild<QAction*>(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    wire("mVehicleSummary", &SummaryCommands::showVehicleSummary);
    wire("mCompareSummary", &SummaryCommands::showCompareSummary);
    update();
}

void SummaryCommands::update() {
    if (auto* summary = m_context.window->findChild<QAction*>(QStringLiteral("mVehicleSummary")))
        summary->setEnabled(m_context.document.isOpen());
    if (auto* compare = m_context.window->findChild<QAction*>(QStringLiteral("mCompareSummary")))
        compare->setEnabled(m_context.document.isOpen() && m_context.ghost.isOpen());
}

// The vehicle as the user sees it now: the page fields, the chart's curve and figures, the side dialogs' values.
editor::SummarySource SummaryCommands::pagesSummarySource() const {
    editor::SummarySource source;
    source.path = m_context.document.vehicle()->fileName;
    source.texts = m_pageTexts();
    source.anglesInDegrees = m_context.settings.anglesInDegrees;
    if (m_chart.exists()) {
        source.torqueNm = editor::summaryTorqueNm(m_chart.line(TorqueChart::TorqueLine));
        const PeakFigures figures = m_chart.peakFigures(false);
        source.peakTorque = figures.torque;
        source.peakPower = figures.power;
    }
    source.sideValues = editor::summarySideValues(*m_context.document.vehicle());
    // The author data the window keeps is what the next save writes.
    for (std::size_t i = 0; i < editor::kAuthorKeys.size(); ++i) {
        std::string_view key = editor::kAuthorKeys[i];
        key.remove_suffix(1); // its "="
        source.sideValues["QORA." + std::string(key)] = m_context.document.authorData()[i];
    }
    return source;
}

void SummaryCommands::showSummary(editor::VehicleSummary summary) {
    const bool compare = summary.compare;
    VehicleSummaryDialog dialog(std::move(summary), parentFolder(m_context.document.vehicle()->fileName),
                                summaryBaseName(m_context.document.vehicle()->fileName, compare),
                                m_context.host.fileDialogs, m_context.host.prompt, m_context.window);
    m_context.host.dialogs.run(dialog);
}

void SummaryCommands::showVehicleSummary() {
    m_context.guarded([this] {
        if (!m_context.document.vehicle())
            return;
        showSummary(editor::buildSummary(pagesSummarySource()));
    });
}

void SummaryCommands::showCompareSummary() {
    m_context.guarded([this] {
        if (!m_context.document.vehicle() || !m_context.ghost.vehicle())
            return;
        // The ghost is read-only: its fields show what its file holds.
        showSummary(editor::buildCompareSummary(pagesSummarySource(),
                                                editor::summarySource(*m_context.ghost.vehicle(), m_context.settings)));
    });
}

} // namespace qora::gui
