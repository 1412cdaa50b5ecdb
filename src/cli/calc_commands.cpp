#include "calc_commands.h"

#include <ostream>

#include <CLI/CLI.hpp>

#include "calc/engine_curve.h"
#include "calc/gearing.h"
#include "cli_prompt.h"
#include "json_text.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"

namespace qora::cli {

namespace {

// Loads the vehicle as the editor opens it; questions are answered Cancel. Prints the failure and returns
// false when the file cannot be loaded.
bool loadVehicle(VehicleFile& vehicle, std::ostream& err) {
    try {
        vehicle.load(VehicleFile::ModeOpen);
    } catch (const VehicleFileError& e) {
        err << "qora-cli: " << e.what() << '\n';
        return false;
    }
    return true;
}

Json lineValues(const LineData& line) {
    Json values = Json::array();
    for (const LinePoint& p : line.points)
        values.push_back(p.value);
    return values;
}

class CurveCommand final : public Command {
public:
    const char* name() const override { return "curve"; }
    const char* description() const override { return "Print the engine curve and its peak figures"; }

    void setup(CLI::App& app) override {
        app.add_flag("--json", m_json, "Print one JSON document");
        app.add_flag("--ftlbs", m_ftLbs, "Torque in ft-lbs instead of Nm");
        app.add_flag("--kw", m_kw, "Power in kW instead of hp");
        app.add_flag("--metric-text", m_metricText, "Figure texts in Nm and kW instead of ft-lbs and hp");
        app.add_option("FILE", m_file, "Vehicle file")->required();
    }

    int execute(std::ostream& out, std::ostream& err) override {
        CliPrompt prompt(err, false);
        Settings settings;
        settings.setPrompt(prompt);
        settings.chartNm = !m_ftLbs;
        settings.chartKW = m_kw;
        settings.chartMetricText = m_metricText;
        VehicleFile vehicle(m_file, prompt, settings);
        if (!loadVehicle(vehicle, err))
            return kExitFailed;

        LineData torque;
        LineData power;
        loadEngineCurve(vehicle, false, settings, torque, power);
        const PeakFigures figures = updatePeakFigures(torque, power, settings.chartMetricText);
        if (m_json) {
            Json doc;
            doc["torque"] = lineValues(torque);
            doc["power"] = lineValues(power);
            doc["torque_peak_index"] = torque.highestPointIndex;
            doc["power_peak_index"] = power.highestPointIndex;
            doc["torque_label"] = figures.torque;
            doc["power_label"] = figures.power;
            out << dumpJson(doc) << '\n';
        } else {
            out << figures.torque << '\n' << figures.power << '\n';
        }
        return kExitOk;
    }

private:
    bool m_json = false;
    bool m_ftLbs = false;
    bool m_kw = false;
    bool m_metricText = false;
    std::string m_file;
};

const char* colourName(const UpshiftReadout& readout) {
    if (readout.text.empty())
        return "";
    switch (readout.colour) {
    case ReadoutColour::Red:
        return "red";
    case ReadoutColour::Grey:
        return "grey";
    case ReadoutColour::Normal:
        break;
    }
    return "normal";
}

class GearsCommand final : public Command {
public:
    const char* name() const override { return "gears"; }
    const char* description() const override { return "Print the upshift engine speeds and recommended ratios"; }

    void setup(CLI::App& app) override {
        app.add_flag("--json", m_json, "Print one JSON document");
        app.add_option("--base", m_base,
                       "Upshift base: auto (Auto-Shift RPM), max (Maximum RPM), power (peak power rpm) or a typed "
                       "rpm of up to 5 digits")
            ->check(
                [](const std::string& value) {
                    if (value == "auto" || value == "max" || value == "power")
                        return std::string();
                    const bool digits = value.size() <= 5 && value.find_first_not_of("0123456789") == std::string::npos;
                    return digits ? std::string()
                                  : "'" + value + "' is not auto, max, power or an rpm of up to 5 digits";
                },
                "auto|max|power|RPM");
        app.add_option("--mode", m_mode, "Best gear rpm variance: none, crossfade or fadein")
            ->check(CLI::IsMember({"none", "crossfade", "fadein"}));
        app.add_option("--basis", m_basis, "Best gears based on the first gear only or on the previous gear")
            ->check(CLI::IsMember({"first", "prev"}));
        app.add_option("FILE", m_file, "Vehicle file")->required();
    }

    int execute(std::ostream& out, std::ostream& err) override {
        CliPrompt prompt(err, false);
        Settings settings;
        settings.setPrompt(prompt);
        applyGearThresholdMode(settings, m_mode == "none" ? 0 : m_mode == "fadein" ? 2 : 1);
        applyUpshiftBasis(settings, m_basis == "first");
        VehicleFile vehicle(m_file, prompt, settings);
        if (!loadVehicle(vehicle, err))
            return kExitFailed;

        // The pages as they are after loading: the Performance page's curve and fields, the DriveTrain gears.
        LineData torque;
        LineData power;
        loadEngineCurve(vehicle, false, settings, torque, power);
        DriveTrainTexts page;
        page.gears = driveTrainGearTexts(vehicle);
        const auto engineValue = [&vehicle](std::string_view key) {
            const EntryRec* entry = vehicle.findEntry(veh::SecEngine, key);
            return entry ? entry->value : std::string();
        };
        page.maxRpm = engineValue("maximum_rpm=");
        page.autoShiftRpm = engineValue("auto_shift_rpm=");
        page.peakTorqueRpm = peakRpm(torque);
        page.peakPowerRpm = peakRpm(power);

        // Filling the pages refreshes the calculator with the Auto-Shift item selected; another base is then
        // chosen in the combo box, or typed and applied with the button.
        GearCalculator calculator(settings);
        std::vector<MessageBoxText> messages;
        std::array<UpshiftReadout, 5> readouts;
        BestGears best;
        const auto take = [&](const UpshiftRefresh& refresh) {
            if (!refresh.upshift)
                return;
            readouts = refresh.upshift->readouts;
            if (refresh.upshift->message)
                messages.push_back(*refresh.upshift->message);
            best = *refresh.bestGears;
        };
        UpshiftBase base{BaseAutoShift, {}};
        take(calculator.calculateUpshift(UpshiftSender::PageControl, page, base));
        best = calculator.updateBestGears(page);
        if (m_base != "auto") {
            if (m_base == "max" || m_base == "power") {
                base.itemIndex = m_base == "max" ? BaseMaximum : BasePeakPower;
                take(calculator.calculateUpshift(UpshiftSender::BaseCombo, page, base));
            } else {
                base = UpshiftBase{BaseTypedRpm, m_base};
                take(calculator.calculateUpshift(UpshiftSender::BaseCombo, page, base));
                take(calculator.calculateUpshift(UpshiftSender::CalcButton, page, base));
            }
        }

        if (m_json) {
            Json doc;
            doc["upshift"] = Json::array();
            doc["upshift_colour"] = Json::array();
            for (const UpshiftReadout& r : readouts) {
                doc["upshift"].push_back(r.text);
                doc["upshift_colour"].push_back(colourName(r));
            }
            doc["best"] = Json::array();
            for (const std::string& b : best.best)
                doc["best"].push_back(b);
            doc["upgraded6th"] = best.upgraded6th;
            doc["peak_torque_rpm"] = page.peakTorqueRpm;
            doc["peak_power_rpm"] = page.peakPowerRpm;
            doc["messages"] = Json::array();
            for (const MessageBoxText& m : messages)
                doc["messages"].push_back({{"title", m.title}, {"text", fileText(m.text)}});
            out << dumpJson(doc) << '\n';
        } else {
            static constexpr const char* kGearNames[] = {"2nd", "3rd", "4th", "5th", "6th"};
            for (std::size_t i = 0; i < readouts.size(); ++i)
                out << kGearNames[i] << ": " << readouts[i].text << "  best " << best.best[i] << '\n';
            out << "Estimated 6th gear: " << best.upgraded6th << '\n';
            for (const MessageBoxText& m : messages)
                out << m.title << ": " << m.text << '\n';
        }
        return kExitOk;
    }

private:
    bool m_json = false;
    std::string m_base = "auto";
    std::string m_mode = "crossfade";
    std::string m_basis = "first";
    std::string m_file;
};

} // namespace

std::unique_ptr<Command> makeCurveCommand() {
    return std::make_unique<CurveCommand>();
}

std::unique_ptr<Command> makeGearsCommand() {
    return std::make_unique<GearsCommand>();
}

} // namespace qora::cli
