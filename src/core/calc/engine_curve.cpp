#include "calc/engine_curve.h"

#include "calc/number_text.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"

namespace qora {

namespace {

double toMetric(double value) {
    return static_cast<double>(static_cast<long double>(value) * kInverseUnitFactor);
}

double toImperial(double value) {
    return value * kUnitFactor;
}

double valueAt(const LineData& line, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= line.points.size())
        return 0.0;
    return line.points[static_cast<std::size_t>(index)].value;
}

} // namespace

double powerAtPoint(const LineData& torqueLine, int index, int powerUnit) {
    long double torque = valueAt(torqueLine, index);
    if (torqueLine.unit == TorqueFtLbs)
        torque *= kInverseUnitFactor;
    long double power =
        torque * static_cast<long double>(index * kRpmPerPoint) * static_cast<long double>(kPowerConstant);
    if (powerUnit == PowerKW)
        power *= static_cast<long double>(kUnitFactor);
    return static_cast<double>(power);
}

bool convertLineUnits(LineData& line, int wantedUnit, bool isPowerLine) {
    if (line.unit == wantedUnit)
        return false;
    // Torque to ft-lbs and power to kW are the directions that multiply by the factor.
    const bool byFactor = isPowerLine ? wantedUnit == PowerKW : wantedUnit == TorqueFtLbs;
    for (std::size_t i = 1; i + 1 < line.points.size(); ++i)
        line.points[i].value = byFactor ? toImperial(line.points[i].value) : toMetric(line.points[i].value);
    line.unit = wantedUnit;
    refreshHighPoint(line);
    return true;
}

void loadEngineCurve(const VehicleFile& vehicle, bool isGhost, const Settings& settings, LineData& torqueLine,
                     LineData& powerLine) {
    torqueLine.unit = TorqueNm;
    powerLine.unit = PowerHp;
    torqueLine.points.resize(kCurvePointCount);
    powerLine.points.resize(kCurvePointCount);
    for (int k = 0; k < kCurvePointCount; ++k) {
        double torque = 0.0;
        if (static_cast<std::size_t>(k) < vehicle.torquePoints.size()) {
            // The loader has checked every pair's numbers.
            torque = numbers::parseDouble(vehicle.torquePoints[static_cast<std::size_t>(k)].torque).value_or(0.0);
        }
        torqueLine.points[static_cast<std::size_t>(k)].value = torque;
        powerLine.points[static_cast<std::size_t>(k)].value = powerAtPoint(torqueLine, k, PowerHp);
    }
    for (LineData* line : {&torqueLine, &powerLine}) {
        line->points.front().value = 0.0;
        line->points.back().value = 0.0;
    }
    convertLineUnits(torqueLine, settings.chartNm ? TorqueNm : TorqueFtLbs, false);
    convertLineUnits(powerLine, settings.chartKW ? PowerKW : PowerHp, true);
    const bool visible = !isGhost || settings.chartGhostLines;
    for (LineData* line : {&torqueLine, &powerLine}) {
        line->activePointIndex = 0;
        line->visible = visible;
        refreshHighPoint(*line);
    }
}

void recalculatePowerPoint(const LineData& torqueLine, LineData& powerLine, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= powerLine.points.size() ||
        static_cast<std::size_t>(index) >= torqueLine.points.size())
        return;
    powerLine.points[static_cast<std::size_t>(index)].value = powerAtPoint(torqueLine, index, powerLine.unit);
    refreshHighPoint(powerLine);
}

int peakRpm(const LineData& line) {
    return line.highestPointIndex * kRpmPerPoint;
}

PeakFigures updatePeakFigures(const LineData& torqueLine, const LineData& powerLine, bool metricText) {
    double torque = valueAt(torqueLine, torqueLine.highestPointIndex);
    double power = valueAt(powerLine, powerLine.highestPointIndex);
    // Only the shown numbers are converted; the lines keep their units.
    if (metricText) {
        if (torqueLine.unit == TorqueFtLbs)
            torque = toMetric(torque);
        if (powerLine.unit == PowerHp)
            power = toImperial(power);
    } else {
        if (torqueLine.unit == TorqueNm)
            torque = toImperial(torque);
        if (powerLine.unit == PowerKW)
            power = toMetric(power);
    }
    PeakFigures figures;
    figures.torque = numbers::formatFloat("###0", torque) + (metricText ? " Nm @" : " ft-lbs @") +
                     numbers::formatFloat("####0", peakRpm(torqueLine)) + "rpm";
    figures.power = numbers::formatFloat("####0", power) + (metricText ? " kW @" : " hp @") +
                    numbers::formatFloat("####0", peakRpm(powerLine)) + "rpm";
    return figures;
}

std::string showActivePointValue(const LineData& torqueLine) {
    return numbers::formatFloat("###0.00", valueAt(torqueLine, torqueLine.activePointIndex));
}

int storeEngineCurve(LineData& torqueLine, LineData& powerLine, VehicleFile& vehicle) {
    auto& pairs = vehicle.torquePoints;
    double rpm = 0.0;
    for (int k = 0; k < kCurvePointCount; ++k) {
        double torque = valueAt(torqueLine, k);
        if (torqueLine.unit == TorqueFtLbs)
            torque = toMetric(torque);
        if (pairs.size() <= static_cast<std::size_t>(k))
            pairs.insert(pairs.begin() + k, TorquePoint{{}, {}, -1});
        TorquePoint& pair = pairs[static_cast<std::size_t>(k)];
        pair.rpm = numbers::formatFloat("####0.0", rpm);
        pair.torque = numbers::formatFloat("###0.00", torque);
        // A torque too small to show in the text ("0.00") ends the curve too: the save ends the file's curve at
        // that pair, so the chart must not keep points after it that the file no longer has.
        if (k > 1 && (torque <= 0 || numbers::parseDouble(pair.torque).value_or(0.0) == 0.0)) {
            for (LineData* line : {&torqueLine, &powerLine}) {
                for (std::size_t i = static_cast<std::size_t>(k); i < line->points.size(); ++i)
                    line->points[i].value = 0.0;
                refreshHighPoint(*line);
            }
            return k;
        }
        rpm += kRpmPerPoint;
    }
    return -1;
}

double applyChartNm(Settings& settings, bool nm, LineData* vehicleTorque, LineData* ghostTorque) {
    settings.chartNm = nm;
    for (LineData* line : {ghostTorque, vehicleTorque})
        if (line)
            convertLineUnits(*line, nm ? TorqueNm : TorqueFtLbs, false);
    return nm ? kTorqueAxisMaxNm : kTorqueAxisMaxFtLbs;
}

void applyChartKW(Settings& settings, bool kw, LineData* vehiclePower, LineData* ghostPower) {
    settings.chartKW = kw;
    for (LineData* line : {ghostPower, vehiclePower})
        if (line)
            convertLineUnits(*line, kw ? PowerKW : PowerHp, true);
}

} // namespace qora
