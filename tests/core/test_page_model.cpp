#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/data_validation.h"
#include "calc/field_rules.h"
#include "editor/page_model.h"
#include "platform/text.h"
#include "support/veh_fixture.h"
#include "vehicle/veh_format.h"
#include "vehicle/vehicle_file.h"

using namespace qora;
using namespace qora::editor;
using namespace qora::testing;

namespace {

// A fixture holding the new-vehicle template as the current vehicle.
struct TemplateVehicle : VehFixture {
    VehicleFile vehicle;

    TemplateVehicle() : vehicle(open(dir.file("New.veh"))) { vehicle.load(VehicleFile::ModeNew); }

    std::string& value(int section, std::string_view key, int instance = 1) {
        return vehicle.findEntry(section, key, instance)->value;
    }

    PageLoad load(int page, bool ghost = false) { return loadPage(vehicle, page, ghost, settings, prompt); }
};

std::vector<std::string> bufferValues(const VehicleFile& vehicle) {
    std::vector<std::string> values;
    for (const SectionRec& section : vehicle.sections)
        for (const EntryRec& entry : section.entries)
            values.push_back(std::string(section.name) + std::string(entry.key) + entry.value);
    return values;
}

} // namespace

TEST(PageModel, TemplateRoundTripLeavesTheBufferAndTheFileAsTheyWere) {
    TemplateVehicle t;
    const std::vector<std::string> before = bufferValues(t.vehicle);
    PageLoad loaded = loadPages(t.vehicle, false, t.settings, t.prompt);
    EXPECT_TRUE(t.prompt.calls.empty());
    EXPECT_EQ(loaded.texts.at("eDriver1Name"), "Ray Colter");
    EXPECT_EQ(loaded.texts.at("e2Aggression"), "0.7");
    EXPECT_EQ(loaded.texts.at("dlUnlockPoints"), "Random");
    EXPECT_EQ(loaded.texts.at("efAngle"), "0.1748");
    EXPECT_EQ(loaded.texts.at("eGear6"), "0.000"); // the template has five gears
    EXPECT_EQ(loaded.texts.at("eCollTop3"), "-0.750,1.025,2.225");
    EXPECT_EQ(loaded.texts.count("eGearRpm2"), 0u);

    const TransferResult result =
        transferBuffer(t.vehicle, loaded.texts, keptAuthorData(t.vehicle), t.settings, t.prompt);
    ASSERT_TRUE(result.ok()) << result.text;
    EXPECT_TRUE(result.title().empty());
    EXPECT_TRUE(result.rewritten.empty());

    // The absent 6th gear now holds the zero the page showed; everything else is as it was.
    std::vector<std::string> expected = before;
    for (std::string& v : expected)
        if (v == "[GEARS]gear=")
            v = "[GEARS]gear=0.000";
    EXPECT_EQ(bufferValues(t.vehicle), expected);

    // Saved, that zero ends the gear list: the file is the template with the stamp.
    t.vehicle.save("", false);
    std::vector<std::string> lines = veh::templateLines();
    lines.push_back("// Editor=QORA 4.0");
    EXPECT_EQ(readBytes(t.dir.file("New.veh")), text::joinLinesCrLf(lines));
}

TEST(PageModel, DriverLinesAreSplitLimitedAndChecked) {
    DriverData d = parseDriverLine("Ray Colter/0.6/0.4/0.9");
    EXPECT_EQ(d.name, "Ray Colter");
    EXPECT_EQ(d.attributes, (std::array<std::string, 3>{"0.6", "0.4", "0.9"}));
    EXPECT_TRUE(d.valid);

    d = parseDriverLine("Nobody");
    EXPECT_EQ(d.name, "Nobody");
    EXPECT_EQ(d.attributes, (std::array<std::string, 3>{"0.0", "0.0", "0.0"}));
    EXPECT_FALSE(d.valid);
    EXPECT_TRUE(d.conversionFailures.empty());

    d = parseDriverLine("Wild/-0.5/12/0.25");
    EXPECT_EQ(d.attributes, (std::array<std::string, 3>{"0.0", "9.9", "0.2"}));
    EXPECT_FALSE(d.valid);

    d = parseDriverLine("Typo/0.5/x.5/0.7/extra");
    EXPECT_EQ(d.attributes, (std::array<std::string, 3>{"0.5", "0.0", "0.7"}));
    EXPECT_EQ(d.conversionFailures, std::vector<std::string>{"'x.5' is not a valid floating point value."});
    EXPECT_FALSE(d.valid);

    d = parseDriverLine("Short/0.5");
    EXPECT_EQ(d.attributes, (std::array<std::string, 3>{"0.5", "0.0", "0.0"}));
    EXPECT_FALSE(d.valid);
    EXPECT_TRUE(d.conversionFailures.empty());

    EXPECT_EQ(driverAttributeText(""), "0.0");
    EXPECT_EQ(driverAttributeText("9.9"), "9.9");
    for (std::string_view bad : {"1", "1.", ".5", "10.", "1,5", "a.b", "1.55", " 1.5"})
        EXPECT_EQ(driverAttributeText(bad), std::nullopt) << bad;
}

TEST(PageModel, InvalidDriversAreReportedForTheVehicleAndFlaggedForTheGhost) {
    TemplateVehicle t;
    t.value(veh::SecDetails, "//Driver1=") = "Ray Colter/0.6/oops/0.9";
    t.value(veh::SecDetails, "//Driver2=") = "Ned Halvik";

    PageLoad load = t.load(PgDetails);
    EXPECT_EQ(load.texts.at("e1Defensive"), "0.0");
    EXPECT_EQ(load.texts.at("e1Ability"), "0.9");
    EXPECT_EQ(load.texts.at("eDriver2Name"), "Ned Halvik");
    EXPECT_EQ(load.texts.at("e2Ability"), "0.0");
    EXPECT_FALSE(load.ghostProblems);
    const auto messages = t.prompt.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].title, "QORA Floating Point Error: ParseDriverData()");
    EXPECT_EQ(messages[0].text, "'oops' is not a valid floating point value.");
    EXPECT_EQ(messages[1].title, "QORA Parse Driver Attributes");
    EXPECT_EQ(messages[1].text, "Driver 1 contains either invalid or no driver attributes.  Using default values.");
    EXPECT_EQ(messages[2].text, "Driver 2 contains either invalid or no driver attributes.  Using default values.");
    for (const auto& m : messages)
        EXPECT_EQ(m.icon, PromptIcon::Exclamation);

    t.prompt.calls.clear();
    load = t.load(PgDetails, true);
    EXPECT_TRUE(load.ghostProblems);
    EXPECT_EQ(load.texts.at("e1Ability"), "0.9");
    EXPECT_TRUE(t.prompt.calls.empty());
}

TEST(PageModel, DetailsSaverChecksAttributesAndRebuildsTheDriverLine) {
    TemplateVehicle t;
    PageTexts texts = t.load(PgDetails).texts;
    texts["eDriver1Name"] = "  Ann Other ";
    texts["e1Aggression"] = "";
    texts["e1Ability"] = "1.0";
    texts["eIIdleSound"] = " IDLE2.WAV ";
    texts["eORevvedRpm"] = " 4200.0 ";
    texts["eTeamName"] = " Blanks Kept ";
    texts["dlUnlockPoints"] = "20%";
    EXPECT_TRUE(savePage(t.vehicle, PgDetails, texts, t.settings, t.prompt).empty());
    EXPECT_EQ(t.value(veh::SecDetails, "//Driver1="), "Ann Other/0.0/0.4/1.0");
    EXPECT_EQ(t.value(veh::SecDetails, "//Driver2="), "Ned Halvik/0.7/0.5/0.7");
    EXPECT_EQ(t.value(veh::SecSounds, "CSINSIDE_ENGINE_IDLE="), "IDLE2.WAV");
    EXPECT_EQ(t.value(veh::SecSounds, "CSOUTSIDE_revved_rpm="), "4200.0");
    EXPECT_EQ(t.value(veh::SecDetails, "//TeamName="), " Blanks Kept ");
    EXPECT_EQ(t.value(veh::SecDetails, "//UnlockPoints="), "4");

    // Each attribute names itself; a failing page assigns nothing.
    const std::vector<std::pair<std::string, std::string>> cases{
        {"e2Aggression", "Driver attribute 'Aggression' must be in the format of #.#"},
        {"e1Defensive", "Driver attribute defensive must be in the format of #.#"},
        {"e2Ability", "Driver attribute ability must be in the format of #.#"},
    };
    for (const auto& [name, reason] : cases) {
        PageTexts bad = texts;
        bad["eTeamName"] = "Changed";
        bad[name] = ".75";
        try {
            savePage(t.vehicle, PgDetails, bad, t.settings, t.prompt);
            ADD_FAILURE() << name;
        } catch (const DataValidationError& e) {
            EXPECT_EQ(e.reason(), reason);
            EXPECT_EQ(std::string(e.what()), "TfMain::SaveDetailsPage()-> " + reason);
        }
        EXPECT_EQ(t.value(veh::SecDetails, "//TeamName="), " Blanks Kept ");
    }

    // A driver line without "/" gains the attributes the page showed.
    t.value(veh::SecDetails, "//Driver2=") = "Solo";
    PageTexts solo = loadPage(t.vehicle, PgDetails, true, t.settings, t.prompt).texts;
    savePage(t.vehicle, PgDetails, solo, t.settings, t.prompt);
    EXPECT_EQ(t.value(veh::SecDetails, "//Driver2="), "Solo/0.0/0.0/0.0");

    // Fields the window does not hand over keep their values, the driver line's other parts included.
    savePage(t.vehicle, PgDetails, {{"e1Defensive", "0.8"}}, t.settings, t.prompt);
    EXPECT_EQ(t.value(veh::SecDetails, "//Driver1="), "Ann Other/0.0/0.8/1.0");
    EXPECT_EQ(t.value(veh::SecDetails, "//TeamName="), " Blanks Kept ");
}

TEST(PageModel, RacePercentIsAListPosition) {
    EXPECT_EQ(racePosition("3"), 3);
    EXPECT_EQ(racePosition(" 2 "), 2);
    EXPECT_EQ(racePosition("7"), 5);
    EXPECT_EQ(racePosition("-1"), 0);
    EXPECT_EQ(racePosition("abc"), 0);
    EXPECT_EQ(racePosition(""), 0);

    TemplateVehicle t;
    t.value(veh::SecDetails, "//UnlockPoints=") = "3";
    EXPECT_EQ(t.load(PgDetails).texts.at("dlUnlockPoints"), "40%");
    t.value(veh::SecDetails, "//UnlockPoints=") = "99";
    EXPECT_EQ(t.load(PgDetails).texts.at("dlUnlockPoints"), "0%");

    savePage(t.vehicle, PgDetails, {{"dlUnlockPoints", "80%"}}, t.settings, t.prompt);
    EXPECT_EQ(t.value(veh::SecDetails, "//UnlockPoints="), "1");
    // No item chosen: the stored position stays.
    savePage(t.vehicle, PgDetails, {{"dlUnlockPoints", ""}}, t.settings, t.prompt);
    EXPECT_EQ(t.value(veh::SecDetails, "//UnlockPoints="), "1");
}

TEST(PageModel, WingAnglesInDegreesAndTheRadianFallback) {
    TemplateVehicle t;
    t.settings.anglesInDegrees = true;
    PageLoad load = t.load(PgAerodynamics);
    EXPECT_EQ(load.texts.at("efAngle"), "10.0");
    EXPECT_EQ(load.texts.at("erAngle"), "10.0");
    EXPECT_EQ(load.texts.at("eDragCoeff"), "1.700,3.000,0.357");
    EXPECT_FALSE(load.angleModeSwitched);

    // The angle the user changed is converted back to radians; the one left as shown keeps its radians exactly
    // (0.1748 shows as 10.0, which would convert back to 0.1745).
    load.texts["erAngle"] = "11.5";
    savePage(t.vehicle, PgAerodynamics, load.texts, t.settings, t.prompt);
    EXPECT_EQ(t.value(veh::SecAerodynamics, "airdam_angle="), "0.1748");
    EXPECT_EQ(t.value(veh::SecAerodynamics, "rearwing_angle="), "0.2007");

    // A radian text that does not convert shows raw, and the display falls back to radians.
    t.value(veh::SecAerodynamics, "rearwing_angle=") = "0.2x";
    load = loadPage(t.vehicle, PgAerodynamics, false, t.settings, t.prompt, AngleTexts{"5.7", "11.5"});
    EXPECT_EQ(load.texts.at("efAngle"), "0.1748");
    EXPECT_EQ(load.texts.at("erAngle"), "0.2x");
    EXPECT_TRUE(load.angleModeSwitched);
    EXPECT_FALSE(t.settings.anglesInDegrees);
    EXPECT_EQ(load.otherAngleTexts, (AngleTexts{"0.0995", "0.2007"}));
    const auto messages = t.prompt.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "QORA Math Unit");
    EXPECT_EQ(messages[0].text, "'0.2x' is not a valid number. Airdam/Wing angle radian value invalid.  Angle mode "
                                "will be switched to raw radian mode.");
    EXPECT_EQ(messages[0].icon, PromptIcon::Stop);
}

TEST(PageModel, TransferStopsAtAnAngleThatCannotBeSaved) {
    TemplateVehicle t;
    t.settings.anglesInDegrees = true;
    PageLoad loaded = loadPages(t.vehicle, false, t.settings, t.prompt);
    loaded.texts["eTeamName"] = "Saved First";
    loaded.texts["efFunction"] = "0.5";
    loaded.texts["efAngle"] = "1..0";
    loaded.texts["eMass"] = "999.0";

    const TransferResult result = transferBuffer(t.vehicle, loaded.texts, {}, t.settings, t.prompt);
    EXPECT_EQ(result.failure, TransferResult::Failure::DataValidation);
    EXPECT_EQ(result.title(), "QORA Data Validation Error");
    EXPECT_EQ(result.text, "TfMain::SaveAerodynamicsPage()-> File contains invalid data and cannot be saved.");
    const auto messages = t.prompt.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "QORA Math Unit");
    EXPECT_EQ(messages[0].text,
              "'1..0' is not a valid number. Airdam/Wing angle degree value is invalid and cannot be converted to "
              "radians.");

    // The pages before it were written; the failing page and the ones after it were not.
    EXPECT_EQ(t.value(veh::SecDetails, "//TeamName="), "Saved First");
    EXPECT_EQ(t.value(veh::SecAerodynamics, "airdam_func="), "0.980");
    EXPECT_EQ(t.value(veh::SecBody, "mass="), "1125.0");
}

TEST(PageModel, DriveTrainGearsShowAndStoreZeros) {
    TemplateVehicle t;
    t.value(veh::SecDriveline, "final_drive_ratio=") = "";
    PageLoad load = t.load(PgDriveTrain);
    EXPECT_EQ(load.texts.at("eGear5"), "0.690");
    EXPECT_EQ(load.texts.at("eGear6"), "0.000");
    EXPECT_EQ(load.texts.at("eGearFinal"), "0.000");
    EXPECT_EQ(load.texts.at("cbDriveType"), "REAR");

    PageTexts texts = load.texts;
    texts["eGearReverse"] = "";
    texts["eGear4"] = "";
    texts["eGearFinal"] = "";
    texts["cbDriveType"] = "four";
    const PageTexts rewritten = savePage(t.vehicle, PgDriveTrain, texts, t.settings, t.prompt);
    EXPECT_EQ(rewritten, (PageTexts{{"eGearReverse", "0.0000"}, {"eGear4", "0.0000"}}));
    EXPECT_EQ(t.value(veh::SecGears, "gear_reverse="), "0.0000");
    EXPECT_EQ(t.value(veh::SecGears, "gear=", 4), "0.0000");
    EXPECT_EQ(t.value(veh::SecGears, "gear=", 6), "0.000");
    EXPECT_EQ(t.value(veh::SecDriveline, "final_drive_ratio="), "");
    EXPECT_EQ(t.value(veh::SecDriveline, "drive="), "four");
}

TEST(PageModel, TransferStoresTheCurveAfterThePerformancePageAndKeepsTheAuthorData) {
    TemplateVehicle t;
    t.value(veh::SecQora, "ModifiedBy=") = "me";
    const AuthorData kept = keptAuthorData(t.vehicle);
    EXPECT_EQ(kept, (AuthorData{"", "", "", "me", ""}));

    PageLoad loaded = loadPages(t.vehicle, false, t.settings, t.prompt);
    loaded.texts["eMaxRpm"] = "8000.0";
    loaded.texts["eGear1"] = "3.600";
    AuthorData edited = kept;
    edited[AuthorVersion] = "1.1";

    std::vector<std::string> seenByCurve;
    const auto storeCurve = [&seenByCurve](VehicleFile& v) {
        seenByCurve.push_back(v.findEntry(veh::SecEngine, "maximum_rpm=")->value);
        seenByCurve.push_back(v.findEntry(veh::SecGears, "gear=", 1)->value);
        v.torquePoints.resize(3);
    };
    const TransferResult result = transferBuffer(t.vehicle, loaded.texts, edited, t.settings, t.prompt, storeCurve);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(seenByCurve, (std::vector<std::string>{"8000.0", "3.570"}));
    EXPECT_EQ(t.vehicle.torquePoints.size(), 3u);
    EXPECT_EQ(t.value(veh::SecGears, "gear=", 1), "3.600");
    EXPECT_EQ(t.value(veh::SecQora, "VehFileVersion="), "1.1");
    EXPECT_EQ(t.value(veh::SecQora, "ModifiedBy="), "me");

    // A vehicle-file failure on the way is reported as such.
    const auto failingCurve = [](VehicleFile&) { throw VehicleFileError("Internal Error: curve"); };
    const TransferResult failed = transferBuffer(t.vehicle, loaded.texts, edited, t.settings, t.prompt, failingCurve);
    EXPECT_EQ(failed.failure, TransferResult::Failure::VehicleFile);
    EXPECT_EQ(failed.title(), "QORA File Error");
    EXPECT_EQ(failed.text, "Internal Error: curve");
}

TEST(PageModel, GeometryListLearnsNewGeometries) {
    Settings settings;
    settings.geometryList = {"EX1", "EX2"};
    EXPECT_FALSE(rememberGeometry("", settings));
    EXPECT_FALSE(rememberGeometry("   ", settings));
    EXPECT_FALSE(rememberGeometry("ex2", settings));
    EXPECT_TRUE(rememberGeometry(" EX9 ", settings));
    EXPECT_FALSE(rememberGeometry("EX9", settings));
    EXPECT_EQ(settings.geometryList, (std::vector<std::string>{"EX1", "EX2", "EX9"}));

    EXPECT_EQ(settingsListItems("dlGeometry", settings), &settings.geometryList);
    EXPECT_EQ(settingsListItems("geOIdleSound", settings), &settings.outsideIdleSounds);
    EXPECT_EQ(settingsListItems("eMass", settings), nullptr);
}

TEST(PageModel, CaptionAndSaveAnimation) {
    EXPECT_EQ(windowCaption("/home/me/cars/GT2.veh"), "QORA 4.0 - /home/me/cars/GT2.veh");
    EXPECT_EQ(windowCaption("/opt/qora/MasVeh/VehicleMas=BMW6.veh"), "QORA 4.0 - VehicleMas=BMW6.veh");
    EXPECT_EQ(windowCaption("/opt/qora/MasVeh/ghostmas=BMW6.veh"), "QORA 4.0 - ghostmas=BMW6.veh");

    std::vector<std::string> frames;
    int counter = 0;
    for (SaveAnimationFrame f = saveAnimationFrame(counter); !f.done; f = saveAnimationFrame(++counter))
        frames.push_back(f.text);
    const std::string all = "** FILE SAVED **";
    // The text opens out from its middle, then blinks, starting with the empty caption.
    std::vector<std::string> expected{"E ",         "LE S",         "ILE SA",         "FILE SAV",
                                      " FILE SAVE", "* FILE SAVED", "** FILE SAVED ", all};
    for (int blink = 0; blink < 13; ++blink)
        expected.push_back(blink % 2 == 0 ? "" : all);
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(counter, kSaveAnimationTicks);
    EXPECT_TRUE(saveAnimationFrame(-1).done);
}
