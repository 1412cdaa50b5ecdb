#include <gtest/gtest.h>

#include "calc/gearing_chart.h"

using namespace qora;

namespace {

// The template car: five gears, 3.900 final drive, 0.32 m tyres, Maximum 7750, Auto-Shift 7300.
GearingInput templateInput(SpeedUnit unit = SpeedUnit::Kmh) {
    DriveTrainTexts page;
    page.gears = {"-3.500", "3.570", "2.315", "1.549", "1.035", "0.690", "0.000", "3.900"};
    page.maxRpm = "7750.0";
    page.autoShiftRpm = "7300.0";
    page.peakTorqueRpm = 5000;
    page.peakPowerRpm = 7500;
    return gearingInput(page, UpshiftBase{BaseAutoShift, {}}, "0.32", unit);
}

} // namespace

TEST(GearingChart, RoadSpeedFromEngineSpeedGearsAndTyre) {
    // 7750 rpm in a 0.690 top gear with a 3.900 final drive on 0.32 m tyres: 2880 wheel turns a minute of 2.011 m.
    EXPECT_NEAR(roadSpeed(7750, 0.690, 3.900, 0.32, SpeedUnit::Kmh), 347.43, 0.01);
    EXPECT_NEAR(roadSpeed(7750, 0.690, 3.900, 0.32, SpeedUnit::Mph), 215.88, 0.01);
    // A missing gear, final drive or tyre gives no speed rather than a division by zero.
    EXPECT_EQ(roadSpeed(7000, 0.0, 3.9, 0.32, SpeedUnit::Kmh), 0.0);
    EXPECT_EQ(roadSpeed(7000, 1.0, 0.0, 0.32, SpeedUnit::Kmh), 0.0);
    EXPECT_EQ(roadSpeed(7000, 1.0, 3.9, 0.0, SpeedUnit::Kmh), 0.0);
}

TEST(GearingChart, SawToothShiftsAtTheUpshiftPointAndTopsOutAtTheLimit) {
    const GearingChartData chart = gearingChart(templateInput());
    ASSERT_TRUE(chart.problem.empty());
    ASSERT_EQ(chart.lines.size(), 5u); // the 6th gear has no ratio
    EXPECT_DOUBLE_EQ(chart.lines[3].toRpm, 7300.0);
    EXPECT_DOUBLE_EQ(chart.lines[4].toRpm, 7750.0);
    EXPECT_NEAR(chart.topSpeed, 347.43, 0.01);
    // Each upshift keeps the road speed and drops the engine by the ratio of the gears, where the page's upshift
    // read-outs put it (1st to 2nd: 2.315 / 3.570 x 7300 = 4734 rpm).
    ASSERT_EQ(chart.shifts.size(), 4u);
    EXPECT_EQ(chart.shifts[0].toGear, 2);
    EXPECT_DOUBLE_EQ(chart.shifts[0].speed, chart.lines[0].toSpeed);
    EXPECT_NEAR(chart.shifts[0].rpmAfter, 4733.75, 0.01);
    EXPECT_NEAR(gearingChart(templateInput(SpeedUnit::Mph)).topSpeed * kKilometresPerMile, chart.topSpeed, 1e-9);
}

TEST(GearingChart, GearsWithoutARatioAreSkippedAndOrderDecidesTheShifts) {
    GearingInput input = templateInput();
    input.ratios = {3.0, 0.0, 2.0, 0.05, 2.5, 1.0};
    const GearingChartData chart = gearingChart(input);
    ASSERT_EQ(chart.lines.size(), 4u);
    EXPECT_EQ(chart.lines[1].gear, 3);
    // 3rd cannot shift into a longer 5th and runs to the limit; 5th shifts into 6th.
    ASSERT_EQ(chart.shifts.size(), 2u);
    EXPECT_EQ(chart.shifts[0].toGear, 3);
    EXPECT_DOUBLE_EQ(chart.lines[1].toRpm, 7750.0);
    EXPECT_EQ(chart.shifts[1].toGear, 6);
    // Without a usable upshift point nothing shifts.
    input.shiftRpm = 9000;
    EXPECT_TRUE(gearingChart(input).shifts.empty());
}

TEST(GearingChart, MissingFiguresLeaveAnExplanationInsteadOfLines) {
    GearingInput input = templateInput();
    input.finalDrive = 0;
    GearingChartData chart = gearingChart(input);
    EXPECT_TRUE(chart.lines.empty());
    EXPECT_EQ(chart.problem, "Enter a Final Gear ratio to see the road speed in each gear.");
    input = templateInput();
    input.tyreRadius = 0;
    EXPECT_EQ(gearingChart(input).problem,
              "Enter the driven tyres' Radius on the Tires page to see the road speed in each gear.");
    input = templateInput();
    input.ratios = {};
    EXPECT_EQ(gearingChart(input).problem, "Enter the forward gear ratios to see the road speed in each gear.");
}

TEST(GearingChart, TheDrivenWheelsAndRoundTicks) {
    EXPECT_EQ(drivenTyreField("REAR"), "erRadius");
    EXPECT_EQ(drivenTyreField("FOUR"), "erRadius");
    EXPECT_EQ(drivenTyreField("front"), "efRadius");
    EXPECT_DOUBLE_EQ(niceTickStep(347.4, 8), 50.0);
    EXPECT_DOUBLE_EQ(niceTickStep(7750, 8), 1000.0);
    EXPECT_DOUBLE_EQ(niceTickStep(0, 8), 1.0);
}
