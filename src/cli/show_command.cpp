#include <ostream>

#include <CLI/CLI.hpp>

#include "cli_prompt.h"
#include "json_text.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"
#include "vehicle_commands.h"

namespace qora::cli {

namespace {

class ShowCommand final : public Command {
public:
    const char* name() const override { return "show"; }
    const char* description() const override { return "Print a vehicle file's buffer as JSON"; }

    void setup(CLI::App& app) override {
        app.add_flag("--ghost", m_ghost, "Load as a read-only ghost vehicle");
        app.add_flag("--repair", m_repair, "Answer the loader's questions with OK");
        app.add_option("FILE", m_file, "Vehicle file")->required();
    }

    int execute(std::ostream& out, std::ostream& err) override {
        CliPrompt prompt(err, m_repair);
        Settings settings;
        settings.setPrompt(prompt);
        VehicleFile vehicle(m_file, prompt, settings);
        int lineCount = 0;
        std::vector<std::string> missing;
        try {
            lineCount = vehicle.load(m_ghost ? VehicleFile::ModeGhost : VehicleFile::ModeOpen);
            vehicle.listMissingEntries(missing);
        } catch (const VehicleFileError& e) {
            err << "qora-cli: " << e.what() << '\n';
            return kExitFailed;
        }

        Json doc;
        putPath(doc, "path", m_file);
        doc["lines"] = lineCount;
        doc["editor"] = fileText(vehicle.editorName);
        doc["max_rpm"] = vehicle.maxRpm;
        doc["max_torque"] = vehicle.maxTorque;
        doc["sections"] = Json::array();
        for (int s = 0; s < veh::kSectionCount; ++s) {
            const SectionRec& section = vehicle.sections[static_cast<std::size_t>(s)];
            Json sec;
            sec["no"] = s;
            sec["name"] = section.name;
            sec["line"] = section.line;
            sec["entries"] = Json::array();
            for (const EntryRec& e : section.entries)
                sec["entries"].push_back(
                    {{"key", e.key}, {"instance", e.instance}, {"line", e.line}, {"value", fileText(e.value)}});
            doc["sections"].push_back(std::move(sec));
        }
        doc["torque"] = Json::array();
        for (const TorquePoint& p : vehicle.torquePoints)
            doc["torque"].push_back({{"rpm", fileText(p.rpm)}, {"torque", fileText(p.torque)}, {"line", p.line}});
        doc["missing"] = Json::array();
        for (const auto& m : missing)
            doc["missing"].push_back(fileText(m));
        out << dumpJson(doc) << '\n';
        return kExitOk;
    }

private:
    bool m_ghost = false;
    bool m_repair = false;
    std::string m_file;
};

} // namespace

std::unique_ptr<Command> makeShowCommand() {
    return std::make_unique<ShowCommand>();
}

} // namespace qora::cli
