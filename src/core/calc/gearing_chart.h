#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calc/gearing.h"

// The gearing chart of the DriveTrain page: for each forward gear, the road speed the vehicle makes at each engine
// speed, from standstill up to the upshift point (the last gear up to the rev limit), with the drop in engine
// speed that each upshift brings: the saw-tooth a driver sees on the rev counter while accelerating through the
// gears. Pure figures; the window paints them.
namespace qora {

enum class SpeedUnit { Kmh, Mph };
inline constexpr double kKilometresPerMile = 1.609344;

// The unit's short name: "km/h" or "mph".
std::string_view speedUnitName(SpeedUnit unit);

// Road speed at an engine speed in one gear: the wheels turn rpm / (gear x final drive) times a minute, each turn
// covers 2 pi x tyre radius metres. 0 when the gear, the final drive or the radius is not positive.
double roadSpeed(double rpm, double gearRatio, double finalDrive, double tyreRadius, SpeedUnit unit);

// A ratio below this is no gear (an empty or "0.000" gear edit), as for the upshift read-outs.
inline constexpr double kLowestGearRatio = 0.1;

struct GearingInput {
    std::array<double, 6> ratios{}; // 1st to 6th gear; below kLowestGearRatio: the vehicle has no such gear
    double finalDrive = 0;
    double tyreRadius = 0; // of the driven wheels, in metres
    double shiftRpm = 0;   // the upshift point; 0 or above the limit: each gear runs to the limit
    double limitRpm = 0;   // the rev limit (Maximum RPM)
    SpeedUnit unit = SpeedUnit::Kmh;
};

// One gear's rising line, from standstill to where the gear is left.
struct GearLine {
    int gear = 0; // 1 to 6
    double toRpm = 0;
    double toSpeed = 0;
};

// An upshift: at `speed` the engine falls from rpmBefore in gear fromGear to rpmAfter in gear toGear.
struct ShiftMark {
    int fromGear = 0;
    int toGear = 0;
    double speed = 0;
    double rpmBefore = 0;
    double rpmAfter = 0;
};

struct GearingChartData {
    std::vector<GearLine> lines; // in gear order, gears without a ratio left out
    std::vector<ShiftMark> shifts;
    double topSpeed = 0; // the fastest speed any line reaches
    double limitRpm = 0; // the rev limit the lines were drawn against
    std::string problem; // why there are no lines; empty when there are
};

// The chart's figures. Each gear is left for the next gear with a ratio when that ratio is lower (a true upshift);
// otherwise (the top gear, or gears in the wrong order) the gear runs up to the rev limit.
GearingChartData gearingChart(const GearingInput& input);

// The page's texts turned into the chart's input: the gear texts (reverse ignored), the driven wheels' tyre radius
// text, the unit; the upshift point follows the same base as the upshift read-outs (upshiftBaseRpm), and the rev
// limit is the Maximum RPM. Texts that are not numbers count as 0.
GearingInput gearingInput(const DriveTrainTexts& page, const UpshiftBase& base, std::string_view tyreRadiusText,
                           SpeedUnit unit);

// The tyre whose radius sets the road speed: the front tyre ("efRadius") for a front-driven vehicle, otherwise
// the rear tyre ("erRadius"). The drive type text as the Drive list holds it ("REAR", "FRONT", "FOUR").
std::string_view drivenTyreField(std::string_view driveType);

// A tick spacing of 1, 2 or 5 times a power of ten that cuts 0..maxValue into at most maxTicks steps.
double niceTickStep(double maxValue, int maxTicks);

} // namespace qora
