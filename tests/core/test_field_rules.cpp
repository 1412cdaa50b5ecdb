#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/data_validation.h"
#include "calc/field_rules.h"
#include "support/scripted_prompt.h"

using namespace qora;
using namespace qora::testing;

namespace {

constexpr bool kAngle = true;
constexpr bool kDegrees = true;

bool accepts(char key, std::string_view text, std::size_t caret, int maxLength) {
    return filterFieldKey(key, text, caret, maxLength) == KeyDecision::Accept;
}

void expectRefused(const GearExitDecision& d, GearExitAction action, const std::string& text,
                   const std::string& failure) {
    EXPECT_EQ(d.action, action);
    EXPECT_EQ(d.text, text);
    EXPECT_TRUE(d.beep);
    EXPECT_EQ(d.failure, failure);
}

void expectRewritten(const GearExitDecision& d, const std::string& text) {
    EXPECT_EQ(d.action, GearExitAction::Rewrite);
    EXPECT_EQ(d.text, text);
    EXPECT_FALSE(d.beep);
}

void expectStep(const SpinStep& s, const std::string& text, bool beep) {
    EXPECT_EQ(s.text, text);
    EXPECT_EQ(s.beep, beep);
}

} // namespace

TEST(FieldRules, KeyFilterLetsThroughOnlyWhatMakesANumber) {
    for (char key : std::string("0123456789\b"))
        EXPECT_TRUE(accepts(key, "12", 2, 5)) << int(key);
    for (char key : std::string("aE+ /"))
        EXPECT_FALSE(accepts(key, "12", 2, 32)) << key;

    // A second "." is dropped in a short field; a long field takes both.
    EXPECT_TRUE(accepts('.', "1", 1, 5));
    EXPECT_FALSE(accepts('.', "1.2", 3, 5));
    EXPECT_TRUE(accepts('.', "1.2", 3, 32));

    EXPECT_TRUE(accepts('-', "12", 0, 5));
    EXPECT_FALSE(accepts('-', "12", 1, 5));
    EXPECT_TRUE(accepts('-', "12", 1, 21));

    EXPECT_FALSE(accepts(',', "12", 2, 20));
    EXPECT_TRUE(accepts(',', "12", 2, 21));
}

TEST(FieldRules, EmptyGearEditsGetTheirDefaults) {
    expectRewritten(finishGearEdit(GearField::Final, "", true), "3.500");
    expectRewritten(finishGearEdit(GearField::Third, "", true), "0.000");
    expectRefused(finishGearEdit(GearField::Reverse, "", true), GearExitAction::Undo, "", "reverse gear invalid");
    expectRefused(finishGearEdit(GearField::Reverse, "", false), GearExitAction::Rewrite, "-3.000",
                  "reverse gear invalid");
}

TEST(FieldRules, ForwardGearsAreRangeCheckedAndRewritten) {
    expectRewritten(finishGearEdit(GearField::Second, "2.5", true), "2.500");
    expectRewritten(finishGearEdit(GearField::First, "3.0", false), "3.000");
    expectRefused(finishGearEdit(GearField::First, "12", true), GearExitAction::Undo, "", "gear too high");
    expectRefused(finishGearEdit(GearField::First, "12", false), GearExitAction::Rewrite, "0.000", "gear too high");
    expectRefused(finishGearEdit(GearField::Fourth, "-2", true), GearExitAction::Undo, "", "gear too low");
    expectRefused(finishGearEdit(GearField::Final, "0.5", true), GearExitAction::Undo, "",
                  "first or final gear too low");
    expectRewritten(finishGearEdit(GearField::Fifth, "0.5", true), "0.500");

    // Five characters with "." second are taken unchecked, even below 1 for the final gear.
    EXPECT_EQ(finishGearEdit(GearField::Final, "0.500", true).action, GearExitAction::Leave);
    EXPECT_FALSE(finishGearEdit(GearField::Final, "0.500", true).beep);

    // Texts the checks cannot read are refused like any other.
    expectRefused(finishGearEdit(GearField::Sixth, "5", false), GearExitAction::Rewrite, "0.000",
                  "gear text too short");
    expectRefused(finishGearEdit(GearField::Sixth, "2.x", true), GearExitAction::Undo, "", "gear not a number");
    expectRefused(finishGearEdit(GearField::Sixth, "a.bcd", true), GearExitAction::Undo, "", "gear not a number");
}

TEST(FieldRules, ReverseGearMustReadMinusDigitPoint) {
    const GearExitDecision kept = finishGearEdit(GearField::Reverse, "-2.5", false);
    EXPECT_EQ(kept.action, GearExitAction::Leave);
    EXPECT_FALSE(kept.beep);
    for (const char* text : {"2.500", "-0.50", "-1", "-", "-1,5", "-1.x"})
        expectRefused(finishGearEdit(GearField::Reverse, text, false), GearExitAction::Rewrite, "-3.000",
                      "reverse gear invalid");
}

TEST(FieldRules, SpinButtonsStepClampAndFormat) {
    const FieldDef& pressure = fieldDef(PageTires, 0);          // "##0.00", 0..900, 0.5
    const FieldDef& compound = fieldDef(PageTires, 1);          // "0.0", 0..1, 0.1
    const FieldDef& rideHeight = fieldDef(PageAerodynamics, 3); // "#0.000", -99..99, 0.001
    const FieldDef& idle = fieldDef(PagePerformance, 41);       // "0.00000", 0..1, 0.001

    expectStep(spinButtonUp("30", pressure, false, kDegrees), "30.50", false);
    expectStep(spinButtonDown("", pressure, false, kDegrees), "0.00", true);
    expectStep(spinButtonUp("", rideHeight, false, false), "0.001", false);
    expectStep(spinButtonDown("-98.9995", rideHeight, false, false), "-99.000", true);

    // At the maximum the value stays and the step beeps; arriving there exactly does not.
    expectStep(spinButtonUp("1.0", compound, false, false), "1.0", true);
    expectStep(spinButtonUp("0.999", idle, false, false), "1.00000", false);
    expectStep(spinButtonUp("1", idle, false, false), "1.00000", true);
}

TEST(FieldRules, SpinButtonsOfTheWingAnglesFollowTheAngleMode) {
    const FieldDef& airdam = fieldDef(PageAerodynamics, 0); // "0.0000", 0..99, 0.001
    expectStep(spinButtonUp("11.5", airdam, kAngle, kDegrees), "11.6", false);
    expectStep(spinButtonDown("0.05", airdam, kAngle, kDegrees), "0.0", true);
    expectStep(spinButtonUp("0.2", airdam, kAngle, false), "0.2010", false);
    expectStep(spinButtonUp("99", airdam, kAngle, kDegrees), "99.0", true);
}

TEST(FieldRules, SpinButtonsLeaveWhatTheyCannotStep) {
    // Not a number.
    expectStep(spinButtonUp("abc", fieldDef(PageTires, 0), false, false), "abc", true);
    // A torque point has step 0: its torque must not be forced to the rpm limits.
    expectStep(spinButtonUp("250.5", fieldDef(PagePerformance, 3), false, false), "250.5", true);
    // The wing centres have no room between their limits.
    expectStep(spinButtonDown("0.25", fieldDef(PageAerodynamics, 2), false, false), "0.25", true);

    // A torque point that did step would show its torque pattern.
    FieldDef torque = fieldDef(PagePerformance, 3);
    torque.step = 1;
    expectStep(spinButtonUp("250", torque, false, false), "251.00", false);
}

TEST(FieldRules, WheelFindsTheFirstPlainEditStrictlyUnderThePoint) {
    const std::vector<SpinButtonSite> sites = {
        {false, {0, 0, 100, 100}}, // steps something other than a plain edit
        {true, {10, 20, 50, 21}},
        {true, {10, 20, 80, 21}},
    };
    EXPECT_EQ(findSpinButtonAt(sites, {11, 21}), 1u);
    EXPECT_EQ(findSpinButtonAt(sites, {70, 30}), 2u);
    EXPECT_EQ(findSpinButtonAt(sites, {10, 30}), std::nullopt); // left edge
    EXPECT_EQ(findSpinButtonAt(sites, {30, 20}), std::nullopt); // top edge
    EXPECT_EQ(findSpinButtonAt(sites, {30, 41}), std::nullopt); // bottom edge
    EXPECT_EQ(findSpinButtonAt(sites, {30, 40}), 1u);
    EXPECT_EQ(findSpinButtonAt({}, {30, 30}), std::nullopt);
}

TEST(FieldRules, AngleTextsConvertWithTheDegreeFactor) {
    const TextConversion degrees = radiansToDegreesText("0.2");
    ASSERT_TRUE(degrees.ok());
    EXPECT_EQ(*degrees.text, "11.5");
    EXPECT_EQ(degreesToRadiansText(*degrees.text).text, "0.2007");
    EXPECT_EQ(radiansToDegreesText("").text, "0.0");
    EXPECT_EQ(degreesToRadiansText("").text, "0.0000");
    EXPECT_EQ(radiansToDegreesText("-0.1").text, "-5.7");

    const TextConversion bad = degreesToRadiansText("1,5");
    EXPECT_FALSE(bad.ok());
    EXPECT_EQ(bad.failure, "'1,5' is not a valid number.");
    EXPECT_EQ(radiansToDegreesText("1e308").failure, "'1e308' is out of range for an angle.");
}

TEST(FieldRules, AngleModeSwitchConvertsEverythingOrNothing) {
    const AngleTexts vehicle{"0.2", "0.1"};
    const AngleTexts ghost{"0", ""};

    const AngleModeChange toDegrees = setAngleMode(false, true, true, vehicle, ghost);
    EXPECT_EQ(toDegrees.outcome, AngleModeOutcome::Applied);
    EXPECT_TRUE(toDegrees.degrees);
    EXPECT_EQ(toDegrees.maxLength, 4);
    EXPECT_EQ(toDegrees.header, "<- Angle (deg.) ->");
    EXPECT_EQ(toDegrees.vehicle, (AngleTexts{"11.5", "5.7"}));
    EXPECT_EQ(toDegrees.ghost, (AngleTexts{"0.0", "0.0"}));

    const AngleModeChange back = setAngleMode(true, false, true, *toDegrees.vehicle, std::nullopt);
    EXPECT_EQ(back.outcome, AngleModeOutcome::Applied);
    EXPECT_EQ(back.maxLength, 7);
    EXPECT_EQ(back.header, "<- Angle (rads) ->");
    EXPECT_EQ(back.vehicle, (AngleTexts{"0.2007", "0.0995"}));
    EXPECT_EQ(back.ghost, std::nullopt);

    EXPECT_EQ(setAngleMode(true, true, true, vehicle, ghost).outcome, AngleModeOutcome::Unchanged);

    // Applying the stored mode at start-up sets length and header without touching texts.
    const AngleModeChange startUp = setAngleMode(true, true, false, vehicle, std::nullopt);
    EXPECT_EQ(startUp.outcome, AngleModeOutcome::Applied);
    EXPECT_EQ(startUp.header, "<- Angle (deg.) ->");
    EXPECT_EQ(startUp.vehicle, std::nullopt);

    // One bad ghost text stops the whole switch.
    const AngleModeChange failed = setAngleMode(false, true, true, vehicle, AngleTexts{"0.1", "x"});
    EXPECT_EQ(failed.outcome, AngleModeOutcome::Failed);
    EXPECT_EQ(failed.message,
              "Airdam/Wing angle contains an invalid value and cannot be converted to the requested display mode.");
    EXPECT_FALSE(failed.degrees);
    EXPECT_EQ(failed.maxLength, 7);
    EXPECT_EQ(failed.vehicle, std::nullopt);
    EXPECT_EQ(failed.ghost, std::nullopt);
}

TEST(FieldRules, LoadingAnglesFallsBackToRadiansAsAWhole) {
    const AngleTexts file{"0.2", "0.1"};
    EXPECT_EQ(loadAngleTexts(file, false).texts, file);

    const AngleLoad shown = loadAngleTexts(file, kDegrees);
    EXPECT_EQ(shown.texts, (AngleTexts{"11.5", "5.7"}));
    EXPECT_FALSE(shown.switchToRadians);
    EXPECT_TRUE(shown.message.empty());

    // The front converts but the rear does not: both show the file's radians, and the vehicle already shown in
    // degrees goes back to radians with them.
    const AngleLoad ghost = loadAngleTexts({"0.2", "bad"}, kDegrees, AngleTexts{"11.5", "oops"});
    EXPECT_EQ(ghost.texts, (AngleTexts{"0.2", "bad"}));
    EXPECT_TRUE(ghost.switchToRadians);
    EXPECT_EQ(ghost.otherSet, (AngleTexts{"0.2007", "oops"}));
    EXPECT_EQ(ghost.message, "'bad' is not a valid number. Airdam/Wing angle radian value invalid.  "
                             "Angle mode will be switched to raw radian mode.");
}

TEST(FieldRules, SavingAnglesStoresRadiansOrFailsTheSave) {
    ScriptedPrompt prompt;
    EXPECT_EQ(saveAngleTexts({"0.2", "abc"}, false, prompt), (AngleTexts{"0.2", "abc"}));
    EXPECT_EQ(saveAngleTexts({"11.5", ""}, kDegrees, prompt), (AngleTexts{"0.2007", "0.0000"}));
    EXPECT_TRUE(prompt.calls.empty());

    try {
        saveAngleTexts({"11.5", "1..5"}, kDegrees, prompt);
        FAIL() << "expected DataValidationError";
    } catch (const DataValidationError& e) {
        EXPECT_EQ(e.reason(), "File contains invalid data and cannot be saved.");
        EXPECT_STREQ(e.what(), "TfMain::SaveAerodynamicsPage()-> File contains invalid data and cannot be saved.");
    }
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].title, "QORA Math Unit");
    EXPECT_EQ(prompt.messages()[0].text,
              "'1..5' is not a valid number. Airdam/Wing angle degree value is invalid and cannot be converted to "
              "radians.");
    EXPECT_EQ(prompt.messages()[0].icon, PromptIcon::Stop);
}
