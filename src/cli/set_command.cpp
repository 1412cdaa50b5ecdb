#include <ostream>

#include <CLI/CLI.hpp>

#include "calc/number_text.h"
#include "cli_prompt.h"
#include "platform/file_lock.h"
#include "platform/file_writer.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/value_rules.h"
#include "vehicle/vehicle_file.h"
#include "vehicle_commands.h"

namespace qora::cli {

namespace {

struct Assignment {
    int section = 0;
    std::string key; // as the buffer holds it, with "="
    int instance = 1;
    std::string value;
};

// SECTION.KEY=VALUE or SECTION.KEY[N]=VALUE; the section is DETAILS or a header name without brackets, the key
// has no "=" (details keys no "//"), N is the 1-based instance.
Assignment parseAssignment(const std::string& argument) {
    const auto eq = argument.find('=');
    const auto dot = argument.find('.');
    if (eq == std::string::npos || dot == std::string::npos || dot > eq)
        throw UsageError{"'" + argument +
                         "' is not an assignment of the form SECTION.KEY=VALUE or SECTION.KEY[N]=VALUE"};
    Assignment a;
    const std::string sectionName = argument.substr(0, dot);
    std::string key = argument.substr(dot + 1, eq - dot - 1);
    a.value = argument.substr(eq + 1);
    a.section = veh::sectionByPlainName(sectionName);
    if (a.section < 0)
        throw UsageError{"unknown section '" + sectionName + "' in '" + argument +
                         "' (use DETAILS or a header name without brackets, such as BODY or GEARS)"};
    if (const auto open = key.find('['); open != std::string::npos) {
        const auto close = key.find(']', open);
        const auto n =
            close == std::string::npos ? std::nullopt : numbers::parseInt(key.substr(open + 1, close - open - 1));
        if (!n || close + 1 != key.size() || *n < 1)
            throw UsageError{"malformed instance in '" + argument + "' (write KEY[N] with N from 1)"};
        a.instance = *n;
        key.erase(open);
    }
    if (a.section == veh::SecDetails && key.rfind("//", 0) != 0)
        key = "//" + key;
    const int entry = veh::entryIndex(a.section, key, a.instance);
    if (entry < 0) {
        if (veh::entryIndex(a.section, key, 1) >= 0)
            throw UsageError{"'" + argument + "': " + sectionName + "." + key + " has no instance " +
                             std::to_string(a.instance)};
        throw UsageError{"unknown key '" + key + "' in section " + sectionName + " ('" + argument + "')"};
    }
    a.key = std::string(veh::sectionKeys(a.section)[static_cast<std::size_t>(entry)]);
    // Only what reads back as written may be stored: a numeric key takes numbers, and no value may hold what
    // would change the file's structure.
    const std::string name = argument.substr(0, eq);
    if (const auto problem = veh::textValueProblem(a.value))
        throw UsageError{veh::textRefusalMessage(name, a.value, *problem)};
    if (veh::isNumericKey(a.section, a.key) && !veh::isNumberList(text::trim(a.value)))
        throw UsageError{name + ": '" + a.value +
                         "' is not a number (numbers separated by commas for a list, with "
                         "\".\" as the decimal point)"};
    return a;
}

// "RPM:TORQUE;RPM:TORQUE;...": at least three points, from 0 rpm in steps of 500 rpm, as the Performance page
// holds its curve. A curve that breaks those rules would save a file that cannot be opened again.
std::vector<TorquePoint> parseTorque(const std::string& argument) {
    std::vector<TorquePoint> points;
    std::size_t start = 0;
    while (start <= argument.size()) {
        auto end = argument.find(';', start);
        if (end == std::string::npos)
            end = argument.size();
        const std::string item = argument.substr(start, end - start);
        start = end + 1;
        if (item.empty())
            continue;
        const auto colon = item.find(':');
        const std::string rpm = colon == std::string::npos ? std::string() : item.substr(0, colon);
        const std::string torque = colon == std::string::npos ? std::string() : item.substr(colon + 1);
        const auto r = numbers::parseDouble(rpm);
        if (!r || !numbers::parseDouble(torque))
            throw UsageError{"torque point '" + item + "' is not of the form RPM:TORQUE with two numbers"};
        if (*r != 500.0 * static_cast<double>(points.size()))
            throw UsageError{"torque point '" + item + "': the curve must start at 0 rpm and step by 500 rpm"};
        points.push_back({rpm, torque, -1});
    }
    if (points.size() < 3)
        throw UsageError{"a torque curve needs at least three points"};
    return points;
}

void storeTorque(VehicleFile& vehicle, const std::vector<TorquePoint>& given) {
    auto& points = vehicle.torquePoints;
    for (std::size_t k = 0; k < given.size(); ++k) {
        if (k < points.size()) {
            points[k].rpm = given[k].rpm;
            points[k].torque = given[k].torque;
        } else {
            points.push_back(given[k]);
        }
    }
    if (given.size() < points.size())
        points[given.size()].torque = "0.00"; // ends the curve; the save drops the points after it
}

int saveVehicle(VehicleFile& vehicle, const std::string& path, std::ostream& err) {
    storeAbsentGearsAsZero(vehicle);
    try {
        vehicle.save(path, false);
    } catch (const VehicleFileError& e) {
        err << "qora-cli: " << e.what() << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

class SetCommand final : public Command {
public:
    const char* name() const override { return "set"; }
    const char* description() const override {
        return "Change values of a vehicle file and save it as the editor does";
    }

    void setup(CLI::App& app) override {
        app.add_option("FILE", m_file, "Vehicle file")->required();
        app.add_option("-o,--output", m_output, "Save to this file instead of FILE");
        app.add_flag("--repair", m_repair, "Answer the loader's questions with OK");
        app.add_flag("--no-backup", m_noBackup, "Make no backup of the file being replaced");
        app.add_option("--torque", m_torque, "Torque curve \"RPM:TORQUE;RPM:TORQUE;...\"");
        app.add_option("ASSIGNMENT", m_assignments, "SECTION.KEY=VALUE or SECTION.KEY[N]=VALUE");
    }

    int execute(std::ostream&, std::ostream& err) override {
        std::vector<Assignment> assignments;
        for (const auto& a : m_assignments)
            assignments.push_back(parseAssignment(a));
        std::vector<TorquePoint> torque;
        if (!m_torque.empty())
            torque = parseTorque(m_torque);

        CliPrompt prompt(err, m_repair);
        Settings settings;
        settings.setPrompt(prompt);
        settings.backupFiles = !m_noBackup;
        VehicleFile vehicle(m_file, prompt, settings);
        // The file stays locked from its reading to its writing, so another QORA program's change made in between
        // is never lost: that program waits, or this one does.
        FileLock lock;
        try {
            lock.acquire(resolveLinks(m_file));
            vehicle.load(VehicleFile::ModeOpen);
        } catch (const FileError& e) {
            err << "qora-cli: " << e.what() << '\n';
            return kExitFailed;
        } catch (const VehicleFileError& e) {
            err << "qora-cli: " << e.what() << '\n';
            return kExitFailed;
        }
        for (const Assignment& a : assignments)
            vehicle.findEntry(a.section, a.key, a.instance)->value = a.value;
        if (!torque.empty())
            storeTorque(vehicle, torque);
        return saveVehicle(vehicle, m_output, err);
    }

private:
    std::string m_file;
    std::string m_output;
    bool m_repair = false;
    bool m_noBackup = false;
    std::string m_torque;
    std::vector<std::string> m_assignments;
};

class NewCommand final : public Command {
public:
    const char* name() const override { return "new"; }
    const char* description() const override { return "Write a new vehicle from the built-in template"; }

    void setup(CLI::App& app) override {
        app.add_flag("--no-backup", m_noBackup, "Make no backup when OUT already exists");
        app.add_option("OUT", m_output, "The new vehicle file")->required();
    }

    int execute(std::ostream&, std::ostream& err) override {
        CliPrompt prompt(err, false);
        Settings settings;
        settings.setPrompt(prompt);
        settings.backupFiles = !m_noBackup;
        VehicleFile vehicle(m_output, prompt, settings);
        vehicle.load(VehicleFile::ModeNew);
        return saveVehicle(vehicle, "", err);
    }

private:
    bool m_noBackup = false;
    std::string m_output;
};

} // namespace

std::unique_ptr<Command> makeSetCommand() {
    return std::make_unique<SetCommand>();
}

std::unique_ptr<Command> makeNewCommand() {
    return std::make_unique<NewCommand>();
}

} // namespace qora::cli
