// qora-cli diff: the editor's Vehicle Compare Summary of two vehicle files, for scripts.
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli_prompt.h"
#include "editor/vehicle_summary.h"
#include "json_text.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"
#include "vehicle_commands.h"

namespace qora::cli {

namespace {

constexpr const char* kExitStatusHelp = "Exit status: 0 the vehicles have the same values, 1 they differ or a file "
                                        "could not be loaded (the message is on stderr), 2 usage error.\n";

Json optionalNumber(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json columnJson(const editor::SummaryColumn& column) {
    Json json;
    putPath(json, "path", column.path);
    json["description"] = fileText(column.description);
    return json;
}

Json summaryJson(const editor::VehicleSummary& summary, int differences) {
    Json doc;
    doc["a"] = columnJson(summary.first);
    doc["b"] = columnJson(summary.second);
    doc["differences"] = differences;
    doc["pages"] = Json::array();
    for (const editor::SummaryPage& page : summary.pages) {
        Json rows = Json::array();
        for (const editor::SummaryRow& row : page.rows)
            rows.push_back({{"group", row.group},
                            {"label", row.label},
                            {"unit", row.unit},
                            {"a", fileText(row.value)},
                            {"b", fileText(row.other)},
                            {"differs", row.differs},
                            {"difference", optionalNumber(row.difference)},
                            {"percent", optionalNumber(row.percent)}});
        doc["pages"].push_back({{"caption", page.caption}, {"rows", std::move(rows)}});
    }
    return doc;
}

class DiffCommand final : public Command {
public:
    const char* name() const override { return "diff"; }
    const char* description() const override {
        return "Compare two vehicle files value by value, as the editor's Vehicle Compare Summary";
    }

    void setup(CLI::App& app) override {
        app.add_flag("--json", m_json, "Print one JSON document");
        app.add_flag("--changed", m_changed, "Only the values that differ");
        app.add_flag("--repair", m_repair, "Answer the loader's questions with OK");
        app.add_flag("--metric-text", m_metricText, "Peak figures in Nm and kW instead of ft-lbs and hp");
        app.add_option("A", m_first, "Vehicle file (loaded as the editor opens a vehicle)")->required();
        app.add_option("B", m_second, "Vehicle file compared with A (loaded as the editor opens a ghost)")->required();
        app.footer(kExitStatusHelp);
    }

    int execute(std::ostream& out, std::ostream& err) override {
        CliPrompt prompt(err, m_repair);
        prompt.echoQuestions = !m_json;
        Settings settings;
        settings.setPrompt(prompt);
        settings.chartMetricText = m_metricText;

        VehicleFile first(m_first, prompt, settings);
        VehicleFile second(m_second, prompt, settings);
        try {
            first.load(VehicleFile::ModeOpen);
            second.load(VehicleFile::ModeGhost);
        } catch (const VehicleFileError& e) {
            err << "qora-cli: " << e.what() << '\n';
            return kExitFailed;
        }

        editor::VehicleSummary summary = editor::buildCompareSummary(editor::summarySource(first, settings),
                                                                     editor::summarySource(second, settings), "A", "B");
        const int differences = summary.differenceCount();
        if (m_changed)
            summary = editor::differencesOnly(summary);
        if (m_json)
            out << dumpJson(summaryJson(summary, differences)) << '\n';
        else
            out << editor::summaryText(summary);
        return differences == 0 ? kExitOk : kExitFailed;
    }

private:
    bool m_json = false;
    bool m_changed = false;
    bool m_repair = false;
    bool m_metricText = false;
    std::string m_first;
    std::string m_second;
};

} // namespace

std::unique_ptr<Command> makeDiffCommand() {
    return std::make_unique<DiffCommand>();
}

} // namespace qora::cli
