#include <ostream>

#include <CLI/CLI.hpp>

#include "cli_prompt.h"
#include "json_text.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"
#include "vehicle_commands.h"

namespace qora::cli {

namespace {

class CheckCommand final : public Command {
public:
    const char* name() const override { return "check"; }
    const char* description() const override { return "Load and validate vehicle files; nothing is written"; }

    void setup(CLI::App& app) override {
        app.add_flag("--ghost", m_ghost, "Load as a read-only ghost vehicle (never asks about entries to remove)");
        app.add_flag("--repair", m_repair, "Answer the loader's questions with OK (the repairs stay in memory)");
        app.add_flag("--json", m_json, "Print one JSON document");
        app.add_option("FILE", m_files, "Vehicle files")->required();
    }

    int execute(std::ostream& out, std::ostream& err) override {
        bool allLoaded = true;
        Json report = Json::array();
        for (const std::string& path : m_files) {
            CliPrompt prompt(err, m_repair);
            prompt.echoQuestions = !m_json;
            Settings settings;
            settings.setPrompt(prompt);
            VehicleFile vehicle(path, prompt, settings);
            std::string error;
            std::vector<std::string> missing;
            std::vector<std::string> notNumbers;
            int missingCount = 0;
            try {
                vehicle.load(m_ghost ? VehicleFile::ModeGhost : VehicleFile::ModeOpen);
                missingCount = vehicle.listMissingEntries(missing);
                // The loader checks the characters of a number only; the game needs a number.
                notNumbers = valuesThatAreNotNumbers(vehicle);
                if (!notNumbers.empty()) {
                    error = std::to_string(notNumbers.size()) +
                            (notNumbers.size() == 1 ? " value is not a number" : " values are not numbers");
                    allLoaded = false;
                }
            } catch (const VehicleFileError& e) {
                error = e.what();
                allLoaded = false;
            }

            if (m_json) {
                Json entry;
                putPath(entry, "path", path);
                entry["ok"] = error.empty();
                entry["error"] = error.empty() ? Json(nullptr) : messageText(error);
                entry["missing"] = Json::array();
                for (const auto& m : missing)
                    entry["missing"].push_back(fileText(m));
                entry["not_numbers"] = Json::array();
                for (const auto& n : notNumbers)
                    entry["not_numbers"].push_back(fileText(n));
                entry["questions"] = Json::array();
                for (const auto& q : prompt.questions)
                    entry["questions"].push_back(
                        {{"title", q.title}, {"text", fileText(q.text)}, {"answer", answerName(q.answer)}});
                report.push_back(std::move(entry));
                continue;
            }
            if (!error.empty()) {
                out << path << ": error: " << error << '\n';
                for (const auto& n : notNumbers)
                    out << "  " << n << '\n';
                continue;
            }
            out << path << ": ok";
            if (missingCount > 0)
                out << ", " << missingCount << (missingCount == 1 ? " missing entry" : " missing entries");
            out << '\n';
            for (const auto& m : missing)
                out << "  " << m << '\n';
        }
        if (m_json)
            out << dumpJson(report) << '\n';
        return allLoaded ? kExitOk : kExitFailed;
    }

private:
    bool m_ghost = false;
    bool m_repair = false;
    bool m_json = false;
    std::vector<std::string> m_files;
};

} // namespace

std::unique_ptr<Command> makeCheckCommand() {
    return std::make_unique<CheckCommand>();
}

} // namespace qora::cli
