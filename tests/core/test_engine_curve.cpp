#include <gtest/gtest.h>

#include "calc/engine_curve.h"
#include "calc/number_text.h"
#include "support/veh_fixture.h"

using namespace qora;
using namespace qora::testing;

namespace {

// The template's torque curve in Nm, one value every 500 rpm from 0 to 9000 rpm.
const std::vector<double> kTemplateTorque = {0,   175, 405, 445, 505, 530, 590, 600, 614, 622.5,
                                             633, 626, 606, 563, 524, 491, 425, 290, 0};

struct CurveFixture : VehFixture {
    LineData torque;
    LineData power;

    // A vehicle whose pairs hold these torques at 0, 500, 1000 ... rpm, without lines.
    VehicleFile vehicleWith(const std::vector<double>& torques) {
        VehicleFile vehicle = open(dir.file("car.veh"));
        for (std::size_t k = 0; k < torques.size(); ++k)
            vehicle.torquePoints.push_back({numbers::formatFloat("0.0", 500.0 * static_cast<double>(k)),
                                            numbers::formatFloat("0.00", torques[k]), -1});
        return vehicle;
    }

    VehicleFile loadTemplate() {
        VehicleFile vehicle = open(copy("template.veh", "car.veh"));
        vehicle.load(VehicleFile::ModeOpen);
        loadEngineCurve(vehicle, false, settings, torque, power);
        return vehicle;
    }
};

// The template's power, worked out by hand: torque (Nm) x rpm x 0.00014041 (in single precision).
constexpr double kHp491At7500 = 517.05984;
constexpr double kHp633At5000 = 444.39766;

} // namespace

TEST(EngineCurve, LoadingTheTemplateGivesItsCurveAndFigures) {
    CurveFixture f;
    f.loadTemplate();
    ASSERT_EQ(f.torque.points.size(), 41u);
    ASSERT_EQ(f.power.points.size(), 41u);
    for (int k = 0; k < 41; ++k) {
        const double nm =
            k < static_cast<int>(kTemplateTorque.size()) ? kTemplateTorque[static_cast<std::size_t>(k)] : 0;
        EXPECT_DOUBLE_EQ(f.torque.points[static_cast<std::size_t>(k)].value, nm) << k;
    }
    EXPECT_NEAR(f.power.points[15].value, kHp491At7500, 1e-5);
    EXPECT_NEAR(f.power.points[10].value, kHp633At5000, 1e-5);
    EXPECT_EQ(f.power.points[0].value, 0);
    EXPECT_EQ(f.torque.unit, TorqueNm);
    EXPECT_EQ(f.power.unit, PowerHp);
    EXPECT_EQ(f.torque.highestPointIndex, 10);
    EXPECT_EQ(f.power.highestPointIndex, 15);
    EXPECT_EQ(peakRpm(f.power), 7500);
    EXPECT_EQ(f.torque.activePointIndex, 0);
    EXPECT_TRUE(f.torque.visible && f.power.visible);

    const PeakFigures metric = updatePeakFigures(f.torque, f.power, true);
    EXPECT_EQ(metric.torque, "633 Nm @5000rpm");
    EXPECT_EQ(metric.power, "386 kW @7500rpm"); // 517.06 hp x 0.747
    const PeakFigures imperial = updatePeakFigures(f.torque, f.power, false);
    EXPECT_EQ(imperial.torque, "473 ft-lbs @5000rpm"); // 633 x 0.747 = 472.85
    EXPECT_EQ(imperial.power, "517 hp @7500rpm");

    f.torque.activePointIndex = 9;
    EXPECT_EQ(showActivePointValue(f.torque), "622.50");
}

TEST(EngineCurve, PairsBeyondTheCurveAndItsEndPoints) {
    CurveFixture f;
    // Fewer pairs than points: the rest is 0.
    f.settings.chartGhostLines = false;
    loadEngineCurve(f.vehicleWith({0, 100, 200}), true, f.settings, f.torque, f.power);
    EXPECT_DOUBLE_EQ(f.torque.points[2].value, 200);
    for (std::size_t k = 3; k < 41; ++k)
        EXPECT_EQ(f.torque.points[k].value, 0) << k;
    EXPECT_FALSE(f.torque.visible) << "ghost lines hidden while the ghost lines are off";

    // More pairs than points: pairs after the 41st are ignored; points 0 and 40 are 0 whatever the file says.
    std::vector<double> torques(45, 300.0);
    torques[44] = 900;
    loadEngineCurve(f.vehicleWith(torques), false, f.settings, f.torque, f.power);
    EXPECT_EQ(f.torque.points[0].value, 0);
    EXPECT_EQ(f.torque.points[40].value, 0);
    EXPECT_EQ(f.power.points[40].value, 0);
    EXPECT_DOUBLE_EQ(f.torque.points[39].value, 300);
    EXPECT_TRUE(f.torque.visible);
    // Equal maxima everywhere: the lowest rpm names the peak.
    EXPECT_EQ(f.torque.highestPointIndex, 1);
    EXPECT_EQ(updatePeakFigures(f.torque, f.power, true).torque, "300 Nm @500rpm");

    // No positive torque at all: both figures read 0 at 0 rpm.
    loadEngineCurve(f.vehicleWith({0, 0, 0, 0}), false, f.settings, f.torque, f.power);
    const PeakFigures zero = updatePeakFigures(f.torque, f.power, false);
    EXPECT_EQ(zero.torque, "0 ft-lbs @0rpm");
    EXPECT_EQ(zero.power, "0 hp @0rpm");
}

TEST(EngineCurve, UnitsFollowTheSettingsAndToggleBack) {
    CurveFixture f;
    f.settings.chartNm = false;
    f.settings.chartKW = true;
    f.loadTemplate();
    EXPECT_EQ(f.torque.unit, TorqueFtLbs);
    EXPECT_EQ(f.power.unit, PowerKW);
    EXPECT_DOUBLE_EQ(f.torque.points[10].value, 633 * 0.747);
    EXPECT_NEAR(f.power.points[15].value, kHp491At7500 * 0.747, 1e-5);
    // A ft-lbs line gives the power of its Nm value.
    EXPECT_NEAR(powerAtPoint(f.torque, 10, PowerHp), kHp633At5000, 1e-5);
    EXPECT_NEAR(powerAtPoint(f.torque, 10, PowerKW), kHp633At5000 * 0.747, 1e-5);

    // Metric text clear with the power line in kW: the figure is the line's value x 1/0.747.
    EXPECT_EQ(updatePeakFigures(f.torque, f.power, false).power, "517 hp @7500rpm");
    EXPECT_EQ(updatePeakFigures(f.torque, f.power, true).torque, "633 Nm @5000rpm");

    // Toggling the torque unit twice returns every value to within rounding; the ghost line goes along.
    LineData ghost = f.torque;
    const LineData before = f.torque;
    EXPECT_DOUBLE_EQ(applyChartNm(f.settings, true, &f.torque, &ghost), 1400.0);
    EXPECT_TRUE(f.settings.chartNm);
    EXPECT_EQ(ghost.unit, TorqueNm);
    EXPECT_NEAR(f.torque.points[10].value, 633, 1e-9);
    EXPECT_DOUBLE_EQ(applyChartNm(f.settings, false, &f.torque, nullptr), 1045.8);
    for (std::size_t k = 0; k < 41; ++k)
        EXPECT_NEAR(f.torque.points[k].value, before.points[k].value, 1e-9) << k;
    EXPECT_EQ(ghost.unit, TorqueNm) << "no ghost open, no ghost line converted";

    applyChartKW(f.settings, false, &f.power, nullptr);
    EXPECT_FALSE(f.settings.chartKW);
    EXPECT_NEAR(f.power.points[15].value, kHp491At7500, 1e-5);
    EXPECT_EQ(f.power.highestPointIndex, 15);

    // Converting to the unit a line already has changes nothing; the end points are never touched.
    EXPECT_FALSE(convertLineUnits(f.power, PowerHp, true));
    LineData ends;
    ends.points = {{5, 0, 0}, {10, 0, 0}, {5, 0, 0}};
    EXPECT_TRUE(convertLineUnits(ends, TorqueFtLbs, false));
    EXPECT_EQ(ends.points[0].value, 5);
    EXPECT_DOUBLE_EQ(ends.points[1].value, 7.47);
    EXPECT_EQ(ends.points[2].value, 5);
}

TEST(EngineCurve, AChangedTorquePointMovesThePowerPeak) {
    CurveFixture f;
    f.loadTemplate();
    f.torque.points[20].value = 600; // 10000 rpm
    recalculatePowerPoint(f.torque, f.power, 20);
    EXPECT_NEAR(f.power.points[20].value, 842.46002, 1e-5);
    EXPECT_EQ(f.power.highestPointIndex, 20);
    EXPECT_EQ(updatePeakFigures(f.torque, f.power, false).power, "842 hp @10000rpm");
    const LineData unchanged = f.power;
    recalculatePowerPoint(f.torque, f.power, 41);
    EXPECT_EQ(f.power.highestPointIndex, unchanged.highestPointIndex);
}

TEST(EngineCurve, StoringWritesPairsUpToTheEndOfTheCurve) {
    CurveFixture f;
    // Unchanged, the template's own pairs come back, in ft-lbs too.
    f.settings.chartNm = false;
    VehicleFile vehicle = f.loadTemplate();
    const std::vector<TorquePoint> original = vehicle.torquePoints;
    EXPECT_EQ(storeEngineCurve(f.torque, f.power, vehicle), 18);
    ASSERT_EQ(vehicle.torquePoints.size(), original.size());
    for (std::size_t k = 0; k < original.size(); ++k) {
        EXPECT_EQ(vehicle.torquePoints[k].rpm, original[k].rpm) << k;
        EXPECT_EQ(vehicle.torquePoints[k].torque, original[k].torque) << k;
        EXPECT_EQ(vehicle.torquePoints[k].line, original[k].line) << k;
    }

    // A zero torque at 3000 rpm ends the curve there: pairs for 0 ... 3000 rpm, the chart zeroed from 3000 rpm.
    f.torque.points[6].value = 0;
    EXPECT_EQ(storeEngineCurve(f.torque, f.power, vehicle), 6);
    EXPECT_EQ(vehicle.torquePoints[6].rpm, "3000.0");
    EXPECT_EQ(vehicle.torquePoints[6].torque, "0.00");
    EXPECT_EQ(vehicle.torquePoints[7].torque, "600.00") << "pairs after the end are left for the save to drop";
    for (std::size_t k = 6; k < 41; ++k) {
        EXPECT_EQ(f.torque.points[k].value, 0) << k;
        EXPECT_EQ(f.power.points[k].value, 0) << k;
    }
    EXPECT_EQ(f.torque.highestPointIndex, 5);
    EXPECT_EQ(f.power.highestPointIndex, 5);
    storeAbsentGearsAsZero(vehicle);
    vehicle.save("", false);
    const std::string saved = readBytes(vehicle.fileName);
    EXPECT_NE(saved.find("rpm_torque=(2500.0, 530.00)\r\nrpm_torque=(3000.0, 0.00)\r\n\r\n[DRIVELINE]"),
              std::string::npos);
}

TEST(EngineCurve, StoringAddsPairsAndEndsAtATorqueTooSmallToWrite) {
    CurveFixture f;
    VehicleFile vehicle = f.vehicleWith({0, 100, 200});
    loadEngineCurve(vehicle, false, f.settings, f.torque, f.power);
    f.torque.points[3].value = 250;
    f.torque.points[4].value = 180.125;
    EXPECT_EQ(storeEngineCurve(f.torque, f.power, vehicle), 5);
    ASSERT_EQ(vehicle.torquePoints.size(), 6u);
    EXPECT_EQ(vehicle.torquePoints[3].rpm, "1500.0");
    EXPECT_EQ(vehicle.torquePoints[4].torque, "180.12");
    EXPECT_EQ(vehicle.torquePoints[5].rpm, "2500.0");
    EXPECT_EQ(vehicle.torquePoints[5].line, -1);

    // The first two points are always written; a positive torque that reads "0.00" ends the curve as 0 does,
    // so the chart shows nothing the saved file will not have.
    f.torque.points[1].value = 0;
    f.torque.points[5].value = 90;
    f.torque.points[3].value = 0.004;
    EXPECT_EQ(storeEngineCurve(f.torque, f.power, vehicle), 3);
    EXPECT_EQ(vehicle.torquePoints[1].torque, "0.00");
    EXPECT_EQ(vehicle.torquePoints[3].torque, "0.00");
    EXPECT_EQ(f.torque.points[5].value, 0);
}
