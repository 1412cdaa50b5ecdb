#include <gtest/gtest.h>

#include "calc/engine_curve.h"
#include "editor/copy_from_ghost.h"
#include "editor/page_fields.h"

using namespace qora;
using namespace qora::editor;

namespace {

std::vector<std::string> names(const std::vector<FieldCopy>& plan) {
    std::vector<std::string> out;
    for (const FieldCopy& copy : plan)
        out.push_back(copy.name);
    return out;
}

// A torque line of 41 points in a unit, with the given values at points 1.. (the rest 0).
LineData torqueLine(int unit, std::vector<double> values) {
    LineData line;
    line.unit = unit;
    line.points.resize(kCurvePointCount);
    for (std::size_t i = 0; i < values.size(); ++i)
        line.points[i + 1].value = values[i];
    return line;
}

} // namespace

TEST(CopyFromGhost, PlanTakesDifferingTwinnedFieldsOfThePagesInScope) {
    const PageTexts vehicle{
        {"eMass", "1125.0"},     {"efPressure", "155.0000"}, {"erPressure", "155.0000"},   {"eGear2", "2.315"},
        {"eGearFinal", "3.900"}, {"eDescription", "BMW"},    {"dlUnlockPoints", "Random"}, {"eFuel", "0.5"}};
    const PageTexts ghost{{"eMass", "1300.0"},      {"efPressure", "190.0000"}, {"erPressure", "155.0000"},
                          {"eGear2", "2.400"},      {"eGearFinal", ""},         {"eDescription", "Saleen"},
                          {"dlUnlockPoints", "80%"}};

    // The active page only: the front pressure differs, the rear is the same.
    auto plan = copyFromGhostPlan(vehicle, ghost, PgTires, CopyScope::ActivePage);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].name, "efPressure");
    EXPECT_EQ(plan[0].text, "190.0000");
    EXPECT_EQ(plan[0].page, PgTires);

    // An empty ghost text is an entry the ghost lacks and is not copied over the vehicle's final gear.
    EXPECT_EQ(names(copyFromGhostPlan(vehicle, ghost, PgDriveTrain, CopyScope::ActivePage)),
              std::vector<std::string>{"eGear2"});
    // The description has no ghost twin; Race % has one.
    EXPECT_EQ(names(copyFromGhostPlan(vehicle, ghost, PgDetails, CopyScope::ActivePage)),
              std::vector<std::string>{"dlUnlockPoints"});

    // All pages, in page order; a field the ghost shows nothing for (eFuel) is left alone.
    EXPECT_EQ(names(copyFromGhostPlan(vehicle, ghost, PgTires, CopyScope::AllPages)),
              (std::vector<std::string>{"dlUnlockPoints", "efPressure", "eGear2", "eMass"}));
    EXPECT_TRUE(copyFromGhostPlan(vehicle, vehicle, PgTires, CopyScope::AllPages).empty());
}

TEST(CopyFromGhost, ChoicesAreNamedAfterThePageAndOnlyPerformanceHoldsTheCurve) {
    EXPECT_EQ(activePageChoiceText(PgDriveTrain), "Copy the ghost's DriveTrain page values");
    EXPECT_TRUE(scopeHasCurve(PgPerformance, CopyScope::ActivePage));
    EXPECT_FALSE(scopeHasCurve(PgTires, CopyScope::ActivePage));
    EXPECT_TRUE(scopeHasCurve(PgTires, CopyScope::AllPages));
}

TEST(CopyFromGhost, CurveCopyConvertsUnitsAndRecomputesPower) {
    LineData torque = torqueLine(TorqueNm, {100, 200, 300});
    LineData power;
    power.unit = PowerHp;
    power.points.resize(kCurvePointCount);
    torque.activePointIndex = 5;
    const LineData ghost = torqueLine(TorqueNm, {150, 400, 250, 120});

    EXPECT_TRUE(curvesDiffer(ghost, torque));
    EXPECT_TRUE(takeGhostCurve(ghost, torque, power));
    EXPECT_DOUBLE_EQ(torque.points[2].value, 400.0);
    EXPECT_DOUBLE_EQ(torque.points[4].value, 120.0);
    EXPECT_EQ(torque.highestPointIndex, 2);
    EXPECT_DOUBLE_EQ(torque.highestValue, 400.0);
    EXPECT_EQ(torque.activePointIndex, 5);
    for (int i = 0; i < kCurvePointCount; ++i)
        EXPECT_DOUBLE_EQ(power.points[static_cast<std::size_t>(i)].value, powerAtPoint(torque, i, PowerHp));
    EXPECT_FALSE(takeGhostCurve(ghost, torque, power)); // nothing left to change

    // A ghost held in ft-lbs arrives in the vehicle's Nm; the same curve in the other unit is no difference.
    LineData imperial = ghost;
    convertLineUnits(imperial, TorqueFtLbs, false);
    EXPECT_FALSE(curvesDiffer(imperial, torque));
    LineData metric = torqueLine(TorqueNm, {});
    EXPECT_TRUE(takeGhostCurve(imperial, metric, power));
    EXPECT_NEAR(metric.points[2].value, 400.0, 1e-9);
}
