#include "calc/gearing_chart.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

#include "calc/number_text.h"

namespace qora {

namespace {

constexpr const char* kNoFinalDrive = "Enter a Final Gear ratio to see the road speed in each gear.";
constexpr const char* kNoTyreRadius =
    "Enter the driven tyres' Radius on the Tires page to see the road speed in each gear.";
constexpr const char* kNoRevLimit = "Enter a Maximum RPM on the Performance page to see the road speed in each gear.";
constexpr const char* kNoGears = "Enter the forward gear ratios to see the road speed in each gear.";

double numberOr0(std::string_view text) {
    const auto value = numbers::parseDouble(text);
    return value && std::isfinite(*value) ? *value : 0.0;
}

} // namespace

std::string_view speedUnitName(SpeedUnit unit) {
    return unit == SpeedUnit::Mph ? "mph" : "km/h";
}

double roadSpeed(double rpm, double gearRatio, double finalDrive, double tyreRadius, SpeedUnit unit) {
    if (!(gearRatio > 0) || !(finalDrive > 0) || !(tyreRadius > 0))
        return 0.0;
    const double wheelTurnsPerMinute = rpm / (gearRatio * finalDrive);
    const double metresPerMinute = wheelTurnsPerMinute * 2.0 * std::numbers::pi * tyreRadius;
    const double kmh = metresPerMinute * 60.0 / 1000.0;
    return unit == SpeedUnit::Mph ? kmh / kKilometresPerMile : kmh;
}

GearingChartData gearingChart(const GearingInput& input) {
    GearingChartData chart;
    chart.limitRpm = input.limitRpm;
    if (!(input.finalDrive > 0)) {
        chart.problem = kNoFinalDrive;
        return chart;
    }
    if (!(input.tyreRadius > 0)) {
        chart.problem = kNoTyreRadius;
        return chart;
    }
    if (!(input.limitRpm > 0)) {
        chart.problem = kNoRevLimit;
        return chart;
    }

    std::vector<int> gears;
    for (int gear = 1; gear <= 6; ++gear)
        if (input.ratios[static_cast<std::size_t>(gear - 1)] >= kLowestGearRatio)
            gears.push_back(gear);
    if (gears.empty()) {
        chart.problem = kNoGears;
        return chart;
    }

    const bool shifts = input.shiftRpm > 0 && input.shiftRpm <= input.limitRpm;
    const auto ratio = [&](int gear) { return input.ratios[static_cast<std::size_t>(gear - 1)]; };
    const auto speed = [&](double rpm, int gear) {
        return roadSpeed(rpm, ratio(gear), input.finalDrive, input.tyreRadius, input.unit);
    };
    for (std::size_t i = 0; i < gears.size(); ++i) {
        const int gear = gears[i];
        const bool upshift = shifts && i + 1 < gears.size() && ratio(gears[i + 1]) < ratio(gear);
        GearLine line;
        line.gear = gear;
        line.toRpm = upshift ? input.shiftRpm : input.limitRpm;
        line.toSpeed = speed(line.toRpm, gear);
        chart.lines.push_back(line);
        chart.topSpeed = std::max(chart.topSpeed, line.toSpeed);
        if (upshift) {
            const int next = gears[i + 1];
            // The road speed stays while the clutch is in: the engine falls by the ratio of the two gears.
            chart.shifts.push_back(
                ShiftMark{gear, next, line.toSpeed, input.shiftRpm, input.shiftRpm * ratio(next) / ratio(gear)});
        }
    }
    return chart;
}

GearingInput gearingInput(const DriveTrainTexts& page, const UpshiftBase& base, std::string_view tyreRadiusText,
                           SpeedUnit unit) {
    GearingInput input;
    for (int gear = Gear1; gear <= Gear6; ++gear)
        input.ratios[static_cast<std::size_t>(gear - Gear1)] = numberOr0(page.gears[static_cast<std::size_t>(gear)]);
    input.finalDrive = numberOr0(page.gears[GearFinal]);
    input.tyreRadius = numberOr0(tyreRadiusText);
    input.unit = unit;

    // The same rpm inputs the upshift read-outs use; the chart does not insist on their cross-checks.
    RpmValues rpm;
    rpm.powerRpm = page.peakPowerRpm;
    rpm.torqueRpm = page.peakTorqueRpm;
    rpm.maxRpm = numberOr0(page.maxRpm);
    rpm.autoShiftRpm = numberOr0(page.autoShiftRpm);
    input.limitRpm = rpm.maxRpm;
    const UpshiftBaseRpm shift = upshiftBaseRpm(rpm, base);
    input.shiftRpm = shift.refusal.empty() ? shift.rpm : 0.0;
    return input;
}

std::string_view drivenTyreField(std::string_view driveType) {
    std::string trimmed(driveType);
    std::transform(trimmed.begin(), trimmed.end(), trimmed.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return trimmed.find("FRONT") != std::string::npos ? "efRadius" : "erRadius";
}

double niceTickStep(double maxValue, int maxTicks) {
    if (!(maxValue > 0) || maxTicks < 1 || !std::isfinite(maxValue))
        return 1.0;
    const double rough = maxValue / maxTicks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * magnitude >= rough)
            return factor * magnitude;
    return 10.0 * magnitude;
}

} // namespace qora
