#pragma once

#include <string>

#include "chart/line_data.h"

// The engine curve of the Performance page: 41 torque points, one every 500 rpm from 0 to 20000 rpm, the power
// curve derived from them, the two peak figures under the chart, and the way back into the vehicle's
// rpm_torque pairs. The chart owns the lines and their pixel positions; these functions only set values, unit
// flags, active and highest points. After any of them changed values, the chart recomputes its positions and
// redraws (the functions say when that is needed).
namespace qora {

class VehicleFile;
class Settings;

// One factor serves both unit pairs: Nm -> ft-lbs and hp -> kW multiply by it, the opposite directions by its
// inverse, which is kept in extended precision.
inline constexpr double kUnitFactor = 0.747;
inline constexpr long double kInverseUnitFactor = 1.0L / 0.747L;
// Power in hp = torque in Nm x rpm x this single-precision constant.
inline constexpr float kPowerConstant = static_cast<float>(0.00014041);

inline constexpr int kCurvePointCount = 41;
inline constexpr int kRpmPerPoint = 500;

// The chart's vertical maximum for each torque unit (1045.8 = 1400 x 0.747).
inline constexpr double kTorqueAxisMaxNm = 1400.0;
inline constexpr double kTorqueAxisMaxFtLbs = 1045.8;

// Unit flags of the lines (LineData::unit).
enum TorqueUnit : int { TorqueNm = 0, TorqueFtLbs = 1 };
enum PowerUnit : int { PowerKW = 0, PowerHp = 1 };

// Fills the torque and power lines of the vehicle (or of the ghost) from its rpm_torque pairs: point k takes the
// torque of the k-th pair in the vehicle's list (its rpm is not consulted; missing pairs give 0, pairs beyond the
// 41st are ignored), points 0 and 40 are 0, the power line follows from the torque line. The lines end up in
// the settings' units (ChartNm, ChartkW) with their active point at 0 and their highest points found. The
// vehicle's lines are made visible, the ghost's only when the ghost lines are shown (ChartGhostLines).
// Afterwards the chart recomputes all positions, and the window shows the active point's value and the peak
// figures (UpdatePeakFigures).
void loadEngineCurve(const VehicleFile& vehicle, bool isGhost, const Settings& settings, LineData& torqueLine,
                     LineData& powerLine);

// Power at one point of a torque line (in the line's own unit) in the wanted power unit.
double powerAtPoint(const LineData& torqueLine, int index, int powerUnit);

// Converts a line's values in place to the wanted unit; the end points stay as they are (always 0). Returns
// false, changing nothing, when the line already is in that unit; true when the chart must recompute positions.
bool convertLineUnits(LineData& line, int wantedUnit, bool isPowerLine);

// After the chart changed a torque point: recomputes the power point at the index and the power line's highest
// point. The chart then recomputes that point's position; the window shows the active point's value and the
// vehicle's peak figures. An index outside the lines changes nothing.
void recalculatePowerPoint(const LineData& torqueLine, LineData& powerLine, int index);

// The two figures under the chart, for example "633 Nm @5000rpm" and "517 hp @7500rpm": metric texts are in Nm
// and kW, the others in ft-lbs and hp, whatever units the lines are held in.
struct PeakFigures {
    std::string torque; // lTorque (glTorque for the ghost)
    std::string power;  // lHp (glHp for the ghost)
};
PeakFigures updatePeakFigures(const LineData& torqueLine, const LineData& powerLine, bool metricText);

// The text of ePointValue: the active torque point's value with "###0.00".
std::string showActivePointValue(const LineData& torqueLine);

// The rpm of a line's highest point.
int peakRpm(const LineData& line);

// Writes the torque line back into the vehicle's rpm_torque pairs: pair k gets the rpm k x 500 ("####0.0") and
// the point's torque in Nm ("###0.00"); pairs the vehicle lacks are added without a line. The curve ends at the
// first point after the first two whose torque is not positive: that pair is the last written (pairs after it
// are dropped by the save), and both lines are zeroed from that point on. Returns the index the lines were
// zeroed from, after which the chart recomputes positions and redraws; -1 when no point ended the curve.
int storeEngineCurve(LineData& torqueLine, LineData& powerLine, VehicleFile& vehicle);

// The data part of the torque unit menu item: stores ChartNm and converts the given lines (the vehicle's, and
// the ghost's while one is open; null for a line that does not exist). Returns the chart's new vertical
// maximum. With lines given, the chart then recomputes positions and redraws, and the window shows the active
// point's value.
double applyChartNm(Settings& settings, bool nm, LineData* vehicleTorque, LineData* ghostTorque);

// The data part of the power unit menu item: stores ChartkW and converts the given lines. The vertical maximum
// stays as it is.
void applyChartKW(Settings& settings, bool kw, LineData* vehiclePower, LineData* ghostPower);

} // namespace qora
