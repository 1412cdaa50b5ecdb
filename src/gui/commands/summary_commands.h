#pragma once

#include <functional>
#include <map>
#include <string>

#include <QObject>

#include "commands/command_context.h"

namespace qora::editor {
struct SummarySource;
struct VehicleSummary;
} // namespace qora::editor

namespace qora::gui {

class TorqueChart;

// "&Vehicle Summary..." and "Vehicle &Compare Summary...": every value of the vehicle as the pages show it (unsaved
// edits included), alone or beside the ghost's, in a dialog that copies it as text or saves it as HTML.
class SummaryCommands final : public QObject {
    Q_OBJECT

public:
    // Field texts keyed by the vehicle controls' objectNames, as the pages show them.
    using PageTexts = std::map<std::string, std::string, std::less<>>;

    SummaryCommands(CommandContext context, TorqueChart& chart, std::function<PageTexts()> pageTexts);

    // Enables the summaries for what is open: the vehicle, and the ghost for the comparison.
    void update();

public slots:
    void showVehicleSummary();
    void showCompareSummary();

private:
    editor::SummarySource pagesSummarySource() const;
    void showSummary(editor::VehicleSummary summary);

    CommandContext m_context;
    TorqueChart& m_chart;
    std::function<PageTexts()> m_pageTexts;
};

} // namespace qora::gui
