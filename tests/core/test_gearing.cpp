#include <gtest/gtest.h>

#include "calc/data_validation.h"
#include "calc/gearing.h"
#include "calc/number_text.h"
#include "support/message_of.h"
#include "support/veh_fixture.h"

using namespace qora;
using namespace qora::testing;

namespace {

// The template's DriveTrain page: 5 forward gears, Maximum 7750, Auto-Shift 7300, peaks at 5000 and 7500 rpm.
DriveTrainTexts templatePage() {
    DriveTrainTexts page;
    page.gears = {"-3.500", "3.570", "2.315", "1.549", "1.035", "0.690", "0.000", "3.900"};
    page.maxRpm = "7750.0";
    page.autoShiftRpm = "7300.0";
    page.peakTorqueRpm = 5000;
    page.peakPowerRpm = 7500;
    return page;
}

// Two forward gears 3.000 and 2.000 with a 7000 rpm base.
DriveTrainTexts twoGearPage() {
    DriveTrainTexts page = templatePage();
    page.gears = {"-3.500", "3.000", "2.000", "0.000", "0.000", "0.000", "0.000", "3.900"};
    page.autoShiftRpm = "7000";
    return page;
}

std::array<std::string, 5> readoutTexts(const UpshiftResult& r) {
    std::array<std::string, 5> texts;
    for (std::size_t i = 0; i < 5; ++i)
        texts[i] = r.readouts[i].text;
    return texts;
}

} // namespace

TEST(Gearing, BestRatioRecordIsValidatedInOrder) {
    Settings settings; // Cross-Fade
    GearCalculator calc(settings);
    GearInfo info;
    info.BaseRatio = 3.0;
    info.ShiftRpm = 7000;
    info.TorqueRpm = 5000;
    info.Gear = 1;
    EXPECT_EQ(numbers::formatFloat("0.000", static_cast<double>(calc.calculateBestGearRatio(info))), "1.714");
    EXPECT_NEAR(static_cast<double>(info.BestRatio), 3.0 / 7000 * 4000, 1e-12);
    info.Gear = 6; // no offset for a 6th base gear
    EXPECT_NEAR(static_cast<double>(calc.calculateBestGearRatio(info)), 3.0 / 7000 * 5000, 1e-12);

    const auto failure = [&](GearInfo record) {
        const std::string message = messageOf<DataValidationError>([&] { calc.calculateBestGearRatio(record); });
        EXPECT_EQ("TfMain::CalcBestGearRatio(GearInfo)-> " + record.ErrorText, message);
        return message;
    };
    GearInfo bad = info;
    bad.Gear = 7;
    bad.BaseRatio = 0; // the gear is checked first
    EXPECT_EQ(failure(bad), "TfMain::CalcBestGearRatio(GearInfo)-> [7] is not a valid gear.");
    bad = info;
    bad.Gear = 2;
    bad.BaseRatio = 10;
    EXPECT_EQ(failure(bad), "TfMain::CalcBestGearRatio(GearInfo)-> [10.000] is not a valid gear ratio (gear=2).");
    bad = info;
    bad.ShiftRpm = 500;
    EXPECT_EQ(failure(bad), "TfMain::CalcBestGearRatio(GearInfo)-> [500] is not a valid upshift rpm.");
    bad = info;
    bad.ShiftRpm = 20000.5;
    EXPECT_EQ(failure(bad), "TfMain::CalcBestGearRatio(GearInfo)-> [20000.5] is not a valid upshift rpm.");
    // The target (1400 - 1000) is out of range; the message names the torque rpm.
    bad = info;
    bad.Gear = 1;
    bad.TorqueRpm = 1400;
    EXPECT_EQ(failure(bad), "TfMain::CalcBestGearRatio(GearInfo)-> [1400] is not a valid torque rpm.");
    EXPECT_NO_THROW(calc.calculateBestGearRatio(info));
    EXPECT_EQ(info.ErrorText, "");
}

TEST(Gearing, BestRatioFromTexts) {
    Settings settings;
    GearCalculator calc(settings);
    EXPECT_EQ(calc.calculateBestGearRatio("*", "junk", 1, 5000), 0);
    EXPECT_NEAR(static_cast<double>(calc.calculateBestGearRatio("3.000", "7000", 1, 5000)), 3.0 / 7000 * 4000, 1e-12);
    EXPECT_EQ(messageOf<DataValidationError>([&] { calc.calculateBestGearRatio("", "7000", 2, 5000); }),
              "TfMain::CalcBestGearRatio(GearInfo)-> [0.000] is not a valid gear ratio (gear=2).");
    EXPECT_EQ(messageOf<DataValidationError>([&] { calc.calculateBestGearRatio("3,0", "7000", 1, 5000); }),
              "TfMain::CalcBestGearRatio(void)-> BaseRatio could not be converted to type double.");
    EXPECT_EQ(messageOf<DataValidationError>([&] { calc.calculateBestGearRatio("3.000", "7000 rpm", 1, 5000); }),
              "TfMain::CalcBestGearRatio(void)-> ShiftRpm could not be converted to type double.");
    EXPECT_EQ(messageOf<DataValidationError>([&] { calc.calculateBestGearRatio("3.000", "", 1, 5000); }),
              "TfMain::CalcBestGearRatio(GearInfo)-> [0] is not a valid upshift rpm.");
}

TEST(Gearing, ThresholdModesAndBasisLiveInTheSettings) {
    Settings settings;
    for (int mode : {-1, 0, 1, 2, 3}) {
        applyGearThresholdMode(settings, mode);
        EXPECT_EQ(settings.gearRpmThresholdMode, mode);
        EXPECT_EQ(settings.gearRpmThresholds, gearThresholdRow(mode)) << mode;
    }
    EXPECT_EQ(gearThresholdRow(1), (std::array<int, 5>{-1000, -350, 0, 500, 750}));
    EXPECT_EQ(gearThresholdRow(2), (std::array<int, 5>{-750, -250, 0, 0, 0}));
    EXPECT_EQ(gearThresholdRow(-5), (std::array<int, 5>{0, 0, 0, 0, 0}));

    // The same page with Quick Fade-In: the 2nd gear's target is 5000 - 750.
    applyGearThresholdMode(settings, 2);
    GearCalculator calc(settings);
    EXPECT_EQ(calc.updateBestGears(twoGearPage()).best[0], "1.821");
    applyUpshiftBasis(settings, false);
    EXPECT_FALSE(settings.gearUpShiftBaseFirst);
}

TEST(Gearing, BestGearsChainOrFollowThePreviousGear) {
    Settings settings;
    GearCalculator calc(settings);
    DriveTrainTexts page = templatePage();
    // First gear only: each best gear scales the one before it (1.956 = 3.570 / 7300 x 4000, then x 4650 ...).
    BestGears best = calc.updateBestGears(page);
    EXPECT_EQ(best.best, (std::array<std::string, 5>{"1.956", "1.246", "0.853", "0.643", "0.506"}));
    EXPECT_EQ(best.upgraded6th, "*") << "no upshift into 5th computed yet";
    calc.calculateUpshiftRpm(page, {});
    EXPECT_EQ(calc.RpmAfterShiftToFifth, 4867);
    EXPECT_EQ(calc.updateBestGears(page).upgraded6th, "0.460"); // 0.690 / 7300 x 4867

    // A "*" propagates down the chain in first-gear mode, but not when each gear uses the previous gear.
    page.gears[Gear1] = "12.00";
    best = calc.updateBestGears(page);
    EXPECT_EQ(best.best, (std::array<std::string, 5>{"*", "*", "*", "*", "*"}));
    applyUpshiftBasis(settings, false);
    best = calc.updateBestGears(page);
    EXPECT_EQ(best.best, (std::array<std::string, 5>{"*", "1.475", "1.061", "0.780", "0.543"}));

    // The estimated 6th gear counts any failure as 0.
    page.autoShiftRpm = "";
    EXPECT_EQ(calc.updateBestGears(page).upgraded6th, "*");
    page.autoShiftRpm = "0";
    EXPECT_EQ(calc.updateBestGears(page).upgraded6th, "*");
}

TEST(Gearing, RpmValuesAreReadThenCrossChecked) {
    Settings settings;
    GearCalculator calc(settings);
    DriveTrainTexts page = templatePage();
    RpmValues values;
    EXPECT_NO_THROW(calc.validateRpmValues(page, values));
    EXPECT_EQ(values.maxRpm, 7750);
    EXPECT_EQ(values.autoShiftRpm, 7300);

    const auto message = [&](DriveTrainTexts p) {
        values = RpmValues{};
        return messageOf<DataValidationError>([&] { calc.validateRpmValues(p, values); });
    };
    page.maxRpm = "";
    EXPECT_EQ(message(page),
              "TfMain::ValidateRpmValues()-> Field 'Maximum RPM' on the Performance Page contains no useful or valid "
              "value.");
    page = templatePage();
    page.autoShiftRpm = "7,300";
    EXPECT_EQ(message(page), "TfMain::ValidateRpmValues()-> Field 'Auto-Shift RPM' on the Performance Page contains "
                             "no useful or valid value.");
    page = templatePage();
    page.peakTorqueRpm = 7500;
    page.maxRpm = "100";
    EXPECT_EQ(message(page), "TfMain::ValidateRpmValues()-> Your vehicles Torque RPM value is greater than or equal "
                             "to your vehicles Horsepower RPM value.  Horsepower should be higher in RPM than your "
                             "highest torque value.");
    EXPECT_EQ(values.maxRpm, 100) << "all four values are set before the checks";
    EXPECT_EQ(values.autoShiftRpm, 7300);
    page = templatePage();
    page.maxRpm = "4000";
    EXPECT_EQ(message(page), "TfMain::ValidateRpmValues()-> Your vehicles Maximum RPM is less than its highest torque "
                             "RPM.");
    page.maxRpm = "7000";
    EXPECT_EQ(message(page),
              "TfMain::ValidateRpmValues()-> Your vehicles Maximum RPM is less than its horsepower RPM.");
    page.maxRpm = "7500";
    page.autoShiftRpm = "7600";
    EXPECT_EQ(message(page), "TfMain::ValidateRpmValues()-> Your vehicles Maximum RPM is less than its AutoShift RPM.");
    page = templatePage();
    page.autoShiftRpm = "4000";
    EXPECT_EQ(message(page), "TfMain::ValidateRpmValues()-> Your vehicles AutoShift RPM is less than its highest "
                             "torque RPM.");
}

TEST(Gearing, GearsAreReadInOrderAndStopAtTheFirstFailure) {
    Settings settings;
    GearCalculator calc(settings);
    std::array<double, kGearEditCount> ratios{};
    const auto message = [&](std::array<std::string, kGearEditCount> gears) {
        return messageOf<DataValidationError>([&] { calc.validateGears(gears, ratios); });
    };
    const std::string p = "TfMain::ValidateGears()-> ";
    EXPECT_EQ(message({"-3.500", "3.570", "2.315", "1.549", "1.035", "0.690", "0.500", "3.900"}), "");
    EXPECT_EQ(ratios, (std::array<double, 8>{3.57, 2.315, 1.549, 1.035, 0.69, 0.5, 3.9, -3.5}));

    // Missing 5th and 6th gears: both 0, so 6th is not less than 5th.
    EXPECT_EQ(message({"-3.500", "3.570", "2.315", "1.549", "1.035", "", "0.000", "3.900"}),
              p + "6th gear must be less than 5th gear.");
    EXPECT_EQ(message({"-3.500", "3.570", "3.570", "1.549", "1.035", "0.690", "0.500", "3.900"}),
              p + "2nd gear must be less than 1st gear.");
    EXPECT_EQ(message({"-3.500", "3.570", "2.315", "1.5x", "1.035", "0.690", "0.500", "3.900"}),
              p + "3rd gear contains an invalid value.  It must be in the format of #.###");
    EXPECT_EQ(ratios, (std::array<double, 8>{3.57, 2.315, 0, 0, 0, 0, 0, 0})) << "gears after a failure stay 0";
    EXPECT_EQ(message({"-3.500", "0.900", "2.315", "1.549", "1.035", "0.690", "0.500", "3.900"}),
              p + "1st gear must contain a value greater than or equal to 1.000");
    EXPECT_EQ(ratios, (std::array<double, 8>{0.9, 0, 0, 0, 0, 0, 0, 0})) << "the gear out of range keeps its value";
    EXPECT_EQ(
        message({"-3.500", "3.570", "2.315", "1.549", "1.035", "0.690", "0.500", "x"}),
        p + "Final gear contains an invalid value.  It must be in the format of #.### and contain a value greater "
            "than or equal to 1.000");
    EXPECT_EQ(message({"-3.500", "3.570", "2.315", "1.549", "1.035", "0.690", "0.500", "0.900"}),
              p + "Final gear must contain a value greater than or equal to 1.000");
    EXPECT_EQ(message({"3.500", "3.570", "2.315", "1.549", "1.035", "0.690", "0.500", "3.900"}),
              p + "Reverse gear must contain a value less than or equal to -1.000");
    EXPECT_EQ(message({"-3.5.0", "3.570", "2.315", "1.549", "1.035", "0.690", "0.500", "3.900"}),
              p + "Reverse gear contains an invalid value.  It must be in the format of -#.### and contain a value "
                  "less than or equal to -1.000");
}

TEST(Gearing, UpshiftReadoutsAndTheirColours) {
    Settings settings;
    GearCalculator calc(settings);
    DriveTrainTexts page = twoGearPage();
    // 2.000 / 3.000 x 7000 = 4666.667: shown as 4667, red below the 5000 rpm torque peak; no 3rd gear gives "*".
    UpshiftResult r = calc.calculateUpshiftRpm(page, {BaseAutoShift, {}});
    EXPECT_FALSE(r.message);
    EXPECT_EQ(readoutTexts(r), (std::array<std::string, 5>{"@ 4667 rpm", "*", "*", "*", "*"}));
    EXPECT_EQ(r.readouts[0].colour, ReadoutColour::Red);
    EXPECT_EQ(r.readouts[1].colour, ReadoutColour::Normal);
    page.peakTorqueRpm = 4667;
    EXPECT_EQ(calc.calculateUpshiftRpm(page, {}).readouts[0].colour, ReadoutColour::Normal);
    page.peakTorqueRpm = 3000;
    page.peakPowerRpm = 4666;
    EXPECT_EQ(calc.calculateUpshiftRpm(page, {}).readouts[0].colour, ReadoutColour::Grey);

    // A torque peak at or above the power peak is only advice: the read-outs are still computed.
    page = twoGearPage();
    page.peakTorqueRpm = 7500;
    r = calc.calculateUpshiftRpm(page, {BaseMaximum, {}});
    EXPECT_FALSE(r.message);
    EXPECT_EQ(r.readouts[0].text, "@ 5167 rpm"); // 2 / 3 x 7750

    // The template: 6th gear missing; with 5th gear 0, 5th and 6th both show "*".
    page = templatePage();
    calc.RpmAfterShiftToFifth = 0;
    r = calc.calculateUpshiftRpm(page, {BasePeakPower, {}});
    EXPECT_EQ(readoutTexts(r),
              (std::array<std::string, 5>{"@ 4863 rpm", "@ 5018 rpm", "@ 5011 rpm", "@ 5000 rpm", "*"}));
    EXPECT_EQ(calc.RpmAfterShiftToFifth, 5000);
    page.gears[Gear5] = "0.000";
    r = calc.calculateUpshiftRpm(page, {BasePeakPower, {}});
    EXPECT_EQ(readoutTexts(r), (std::array<std::string, 5>{"@ 4863 rpm", "@ 5018 rpm", "@ 5011 rpm", "*", "*"}));
    EXPECT_EQ(calc.RpmAfterShiftToFifth, 5000) << "kept until the next rpm into 5th gear";

    // The three-decimal rpm is rounded half to even: 1 / 2 x 7001 = 3500.5 -> 3500.
    page = twoGearPage();
    page.gears[Gear1] = "2.000";
    page.gears[Gear2] = "1.000";
    EXPECT_EQ(calc.calculateUpshiftRpm(page, {BaseTypedRpm, "7001"}).readouts[0].text, "@ 3500 rpm");
}

TEST(Gearing, UnusableInputsAreReportedInMessageBoxes) {
    Settings settings;
    GearCalculator calc(settings);
    const std::string rangeMessage = "Base Upshift Rpm field contains an invalid rpm value.  The value must be in the "
                                     "range 2000-max rpm (7750).  Upshift RPM values cannot be calculated.";
    // A typed base outside 2000 ... Maximum RPM, or no number at all: the box, and back to the Auto-Shift item.
    for (const char* typed : {"1500", "7751", ""}) {
        const UpshiftResult r = calc.calculateUpshiftRpm(templatePage(), {BaseTypedRpm, typed});
        ASSERT_TRUE(r.message) << typed;
        EXPECT_EQ(r.message->title, "QORA Upshift Rpm Calculator");
        EXPECT_EQ(r.message->text, rangeMessage);
        EXPECT_TRUE(r.selectAutoShiftItem);
        EXPECT_EQ(readoutTexts(r), (std::array<std::string, 5>{}));
    }
    EXPECT_FALSE(calc.calculateUpshiftRpm(templatePage(), {BaseTypedRpm, "7750"}).message);

    DriveTrainTexts page = templatePage();
    page.autoShiftRpm = "1999";
    page.peakTorqueRpm = 1000;
    UpshiftResult r = calc.calculateUpshiftRpm(page, {BaseAutoShift, {}});
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->text, "Field 'Auto-Shift RPM' on the Performance page contains an invalid value.  It must be "
                               "less than or equal to Maximum Rpm.  Upshift RPM values cannot be calculated.");
    EXPECT_FALSE(r.selectAutoShiftItem);

    page = templatePage();
    page.peakTorqueRpm = 1000;
    page.peakPowerRpm = 1500;
    r = calc.calculateUpshiftRpm(page, {BasePeakPower, {}});
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->text, "The maximum horsepower RPM value must be greater than or equal to 2000rpm.  Upshift "
                               "RPM values cannot be calculated.");

    page = templatePage();
    page.maxRpm = "7750 rpm";
    r = calc.calculateUpshiftRpm(page, {BaseMaximum, {}});
    ASSERT_TRUE(r.message);
    EXPECT_EQ(r.message->title, "QORA Data Validation");
    EXPECT_EQ(r.message->text, "TfMain::ValidateRpmValues()-> Field 'Maximum RPM' on the Performance Page contains no "
                               "useful or valid value.  Cannot calculate Upshift RPM values.");
    EXPECT_EQ(readoutTexts(r), (std::array<std::string, 5>{}));
}

TEST(Gearing, RefreshCaptionsAndTheTypedBaseWaitsForTheButton) {
    Settings settings;
    GearCalculator calc(settings);
    const DriveTrainTexts page = templatePage();
    UpshiftRefresh refresh = calc.calculateUpshift(UpshiftSender::PageControl, page, {});
    ASSERT_TRUE(refresh.captions);
    EXPECT_EQ(refresh.captions->torque, "Max Torque @5000rpm");
    EXPECT_EQ(refresh.captions->power, "Max  Power @7500rpm");
    EXPECT_EQ(
        refresh.captions->baseItems,
        (std::array<std::string, 3>{"Auto Shift rpm (7300.0)", "Maximum rpm (7750.0)", "Maximum Power rpm (7500)"}));
    ASSERT_TRUE(refresh.upshift && refresh.bestGears);
    EXPECT_EQ(refresh.upshift->readouts[0].text, "@ 4734 rpm");
    EXPECT_EQ(refresh.bestGears->upgraded6th, "0.460");

    refresh = calc.calculateUpshift(UpshiftSender::BaseCombo, page, {BaseTypedRpm, "6000"});
    EXPECT_FALSE(refresh.captions || refresh.upshift || refresh.bestGears);
    refresh = calc.calculateUpshift(UpshiftSender::CalcButton, page, {BaseTypedRpm, "6000"});
    ASSERT_TRUE(refresh.upshift);
    EXPECT_FALSE(refresh.captions);
    EXPECT_EQ(refresh.upshift->readouts[0].text, "@ 3891 rpm"); // 2.315 / 3.570 x 6000
    refresh = calc.calculateUpshift(UpshiftSender::BaseCombo, page, {BaseMaximum, {}});
    ASSERT_TRUE(refresh.upshift);
    EXPECT_EQ(refresh.upshift->readouts[0].text, "@ 5026 rpm");
}

TEST(Gearing, ScrollBarsAndEditsKeepInStep) {
    EXPECT_EQ(gearTextFromPosition(3570, false), "3.570");
    EXPECT_EQ(gearTextFromPosition(3500, true), "-3.500");
    EXPECT_EQ(gearTextFromPosition(0, false), "0.000");
    EXPECT_EQ(gearTextFromPosition(12345, false), "12.345");
    EXPECT_EQ(gearTextFromPosition(123456, false), "123.460") << "five significant digits";

    EXPECT_EQ(gearPositionFromText("-3.50", true), std::nullopt) << "five characters do not move the reverse bar";
    EXPECT_EQ(gearPositionFromText("-3.500", true), 3500);
    EXPECT_EQ(gearPositionFromText("3.500-", true), std::nullopt);
    EXPECT_EQ(gearPositionFromText("1.549", false), 1549);
    EXPECT_EQ(gearPositionFromText("1.5499", false), 1549) << "truncated";
    EXPECT_EQ(gearPositionFromText("0.000", false), 0);
    EXPECT_EQ(gearPositionFromText("3.5", false), std::nullopt);
    EXPECT_EQ(gearPositionFromText("12.34", false), std::nullopt);
    EXPECT_EQ(gearPositionFromText("1.2x4", false), std::nullopt);
    for (int position = 0; position <= 9999; ++position)
        ASSERT_EQ(gearPositionFromText(gearTextFromPosition(position, false), false), position);
}

TEST(Gearing, GearTextsAsThePageShowsAVehicle) {
    VehFixture f;
    VehicleFile vehicle = f.open(f.copy("template.veh", "car.veh"));
    vehicle.load(VehicleFile::ModeOpen);
    EXPECT_EQ(driveTrainGearTexts(vehicle),
              (std::array<std::string, 8>{"-3.500", "3.570", "2.315", "1.549", "1.035", "0.690", "0.000", "3.900"}));
}
