#include <gtest/gtest.h>

#include "support/veh_fixture.h"
#include "vehicle/veh_format.h"

using namespace qora;
using namespace qora::testing;

namespace {

std::string loadError(VehFixture& f, const std::string& fixture, int mode = VehicleFile::ModeOpen) {
    auto veh = f.open(f.copy(fixture));
    try {
        veh.load(mode);
    } catch (const VehicleFileError& e) {
        EXPECT_EQ(veh.lines(), nullptr) << "a failed load keeps no lines";
        return e.what();
    }
    return "(loaded)";
}

} // namespace

TEST(VehLoad, TemplateFillsEveryKeyAndTheCurve) {
    VehFixture f;
    auto veh = f.open(f.copy("template.veh"));
    EXPECT_EQ(veh.load(VehicleFile::ModeOpen), 144);

    EXPECT_EQ(veh.sections[veh::SecDetails].line, 0);
    EXPECT_EQ(veh.findEntry(veh::SecDetails, "//DescFile")->value, "GT2 #6 BMW M3");
    EXPECT_EQ(veh.findEntry(veh::SecDetails, "//Driver2")->value, "Ned Halvik/0.7/0.5/0.7");
    EXPECT_EQ(veh.sections[veh::SecBody].line, 21);
    EXPECT_EQ(veh.findEntry(veh::SecBody, "mass=")->value, "1125.0");
    EXPECT_EQ(veh.findEntry(veh::SecBody, "damage")->value, "1");
    EXPECT_EQ(veh.findEntry(veh::SecBody, "coll_all", 2)->value, "-0.800,0.000,-1.950");
    EXPECT_EQ(veh.findEntry(veh::SecBody, "coll_top", 4)->line, 41);
    EXPECT_EQ(veh.findEntry(veh::SecSounds, "CSINSIDE_ENGINE_IDLE")->value, "IDLEID.WAV");
    EXPECT_EQ(veh.findEntry(veh::SecDriveline, "drive")->value, "REAR");
    EXPECT_EQ(veh.findEntry(veh::SecGears, "gear", 5)->value, "0.690");
    EXPECT_EQ(veh.findEntry(veh::SecGears, "gear", 6)->line, -1);
    EXPECT_EQ(veh.sections[veh::SecQora].line, -1);
    EXPECT_EQ(veh.editorName, "");

    ASSERT_EQ(veh.torquePoints.size(), 19u);
    EXPECT_EQ(veh.torquePoints[1].rpm, "500.0");
    EXPECT_EQ(veh.torquePoints[1].torque, "175.00");
    EXPECT_EQ(veh.torquePoints[1].line, 74);
    EXPECT_EQ(veh.maxRpm, 9000);
    EXPECT_EQ(veh.maxTorque, 633);

    std::vector<std::string> missing;
    EXPECT_EQ(veh.listMissingEntries(missing), 0);
    EXPECT_TRUE(missing.empty());
    EXPECT_TRUE(f.prompt.calls.empty());

    // A second Load returns the lines already held.
    EXPECT_EQ(veh.load(VehicleFile::ModeOpen), 144);
}

TEST(VehLoad, NewVehicleComesFromTheBuiltInTemplate) {
    VehFixture f;
    auto veh = f.open(f.dir.file("New.veh"));
    EXPECT_EQ(veh.load(VehicleFile::ModeNew), 144);
    EXPECT_EQ(*veh.lines(), veh::templateLines());
    EXPECT_EQ(veh.fileName, f.dir.file("New.veh"));
    EXPECT_EQ(veh.torquePoints.size(), 19u);
}

TEST(VehLoad, ReadsAnyLineEndCommentsAndThePriorEditor) {
    VehFixture f;
    auto veh = f.open(f.copy("mixed_line_ends.veh"));
    EXPECT_EQ(veh.load(VehicleFile::ModeOpen), 147);
    EXPECT_EQ(veh.findEntry(veh::SecDriveline, "drive")->value, "REAR");
    EXPECT_EQ(veh.editorName, "Some Other Tool 2.1");
    EXPECT_EQ(veh.findEntry(veh::SecBody, "mass")->value, "1125.0");
    EXPECT_EQ(veh.torquePoints.back().line, 91);
    std::vector<std::string> missing;
    EXPECT_EQ(veh.listMissingEntries(missing), 0);
}

TEST(VehLoad, FatalDefectsEndTheLoadWithTheirMessage) {
    VehFixture f;
    EXPECT_EQ(loadError(f, "missing_desc_class.veh"),
              "FATAL: '//DescFile=' OR '//DescClass=' missing.  File is either not a text VEH file or is corrupt.");
    EXPECT_EQ(loadError(f, "body_header_lowercase.veh"), "FATAL: Section [BODY] missing from VEH file.");
    EXPECT_EQ(loadError(f, "two_entries_on_one_line.veh"),
              "Line [22] Entry 'inertia='.  This line already contains other entries.  VEH file format "
              "specifications do not permit more than 1 entry per line.  Open this file in NotePad and correct this "
              "error before attempting to reload it into QORA.  File load aborted.");
    EXPECT_EQ(loadError(f, "torque_step_gap.veh"),
              "FATAL: Line (75), rpm_torque entry [2] is invalid.  Open the file in NotePad and fix this error, then "
              "retry loading the file again into QORA.");
    EXPECT_EQ(loadError(f, "torque_without_comma.veh"),
              "FATAL: Line (79), rpm_torque entry [6] is invalid.  Open the file in NotePad and fix this error, then "
              "retry loading the file again into QORA.");
    // A torque that is not a number names its line like any other broken point.
    EXPECT_EQ(loadError(f, "torque_not_a_number.veh"),
              "FATAL: Line (79), rpm_torque entry [6] is invalid.  Open the file in NotePad and fix this error, then "
              "retry loading the file again into QORA.");
    EXPECT_TRUE(f.prompt.calls.empty());
}

TEST(VehLoad, UnreadableInputFailsCleanly) {
    VehFixture f;
    const std::string expectedPrefix = "FATAL: File is either not a text VEH file or is corrupt: [";
    for (const std::string& path : {f.dir.file("absent.veh"), f.dir.path()}) {
        auto veh = f.open(path);
        try {
            veh.load(VehicleFile::ModeOpen);
            ADD_FAILURE() << path;
        } catch (const VehicleFileError& e) {
            EXPECT_EQ(e.what(), expectedPrefix + path + "]");
        }
    }

    const std::string detailsMessage =
        "FATAL: '//DescFile=' OR '//DescClass=' missing.  File is either not a text VEH file or is corrupt.";
    std::string garbage(4096, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919 + 13) % 256);
    const std::string oneMegabyteLine(1 << 20, 'x');
    for (const std::string& bytes : {std::string(), garbage, std::string("\0\0\0\r\n\0", 6), oneMegabyteLine}) {
        const std::string path = f.dir.file("bad.veh");
        writeBytes(path, bytes);
        auto veh = f.open(path);
        try {
            veh.load(VehicleFile::ModeOpen);
            ADD_FAILURE() << "loaded " << bytes.size() << " bytes";
        } catch (const VehicleFileError& e) {
            EXPECT_EQ(e.what(), detailsMessage);
        }
    }
}

TEST(VehLoad, FiftyMegabyteFilesLoadOrFailWithoutHanging) {
    VehFixture f;
    const std::string filler = "junk line with mass and gear and rpm_torque text but no keys\r\n";
    std::string junk;
    while (junk.size() < 50u * 1024 * 1024)
        junk += filler;
    {
        const std::string path = f.dir.file("no_sections.veh");
        writeBytes(path, "//DescFile=x\r\n//DescClass=y\r\n" + junk);
        auto veh = f.open(path);
        EXPECT_THROW(veh.load(VehicleFile::ModeOpen), VehicleFileError);
    }
    {
        // The junk sits inside the BODY section, where every key is looked for.
        std::string bytes;
        for (const auto& line : veh::templateLines()) {
            bytes += line + "\r\n";
            if (line == "coll_top=(0.750,1.025,2.225)")
                bytes += junk;
        }
        const std::string path = f.dir.file("big_body.veh");
        writeBytes(path, bytes);
        auto veh = f.open(path);
        EXPECT_GT(veh.load(VehicleFile::ModeOpen), 800000);
        EXPECT_EQ(veh.findEntry(veh::SecGears, "gear", 5)->value, "0.690");
    }
}

TEST(VehLoad, TorquePointsAreSortedByRpm) {
    VehFixture f;
    auto veh = f.open(f.copy("torque_unsorted.veh"));
    veh.load(VehicleFile::ModeOpen);
    EXPECT_EQ(veh.torquePoints[0].rpm, "0.0");
    EXPECT_EQ(veh.torquePoints[0].line, 74);
    EXPECT_EQ(veh.torquePoints[1].rpm, "500.0");
    EXPECT_EQ(veh.torquePoints[1].line, 73);
}

TEST(VehLoad, DisabledEntriesAreRemovedOnlyWithConsent) {
    const std::string skirts =
        "side_skirts= entry must be removed from the veh file for editing or your vehicle will not work correctly "
        "in the game.  Select [OK] to remove this entry or [Cancel] to abort loading this file.";
    {
        VehFixture f;
        f.prompt.answer(PromptAnswer::Ok).answer(PromptAnswer::Ok);
        auto veh = f.open(f.copy("side_skirts_and_clutch_eff.veh"));
        veh.load(VehicleFile::ModeOpen);
        const auto questions = f.prompt.questions();
        ASSERT_EQ(questions.size(), 2u);
        EXPECT_EQ(questions[0].title, "QORA Veh File Validation");
        EXPECT_EQ(questions[0].text, skirts);
        EXPECT_EQ(questions[0].buttons, PromptButtons::OkCancel);
        EXPECT_EQ(questions[0].icon, PromptIcon::Stop);
        EXPECT_EQ(questions[0].defaultButton, PromptAnswer::Ok);
        EXPECT_EQ(questions[1].text.substr(0, 25), "clutch_eff= entry must be");
        const EntryRec* e = veh.findEntry(veh::SecAerodynamics, "side_skirts");
        EXPECT_EQ(e->value, "");
        EXPECT_EQ((*veh.lines())[static_cast<std::size_t>(e->line)], "//--REMOVED BY QORA--side_skirts=(1.0)");
    }
    {
        VehFixture f;
        f.prompt.answer(PromptAnswer::Cancel);
        EXPECT_EQ(loadError(f, "side_skirts_and_clutch_eff.veh"), "File loading process aborted by user.");
        EXPECT_EQ(f.prompt.questions().size(), 1u);
    }
    {
        // A ghost is read-only: it is never asked about, and the lines are kept as they are.
        VehFixture f;
        auto veh = f.open(f.copy("side_skirts_and_clutch_eff.veh"));
        veh.load(VehicleFile::ModeGhost);
        EXPECT_TRUE(veh.ghost);
        EXPECT_TRUE(f.prompt.calls.empty());
        EXPECT_EQ(veh.findEntry(veh::SecDriveline, "clutch_eff")->value, "0.95");
    }
}

TEST(VehLoad, InvalidNumbersAreErasedOrAbortTheLoad) {
    const std::string question =
        "Line [25] Entry 'inertia=1.0, 2.0, 3.0' is an invalid numeric value or the file is in an unknown format.  "
        "Click [OK] to erase this value and continue or, click [Cancel] to abort loading this file.";
    {
        VehFixture f;
        f.prompt.answer(PromptAnswer::Ok);
        auto veh = f.open(f.copy("invalid_triple.veh"));
        veh.load(VehicleFile::ModeOpen);
        ASSERT_EQ(f.prompt.questions().size(), 1u);
        EXPECT_EQ(f.prompt.questions()[0].title, "QORA Veh File Validation");
        EXPECT_EQ(f.prompt.questions()[0].text, question);
        EXPECT_EQ(veh.findEntry(veh::SecBody, "inertia")->value, "");
        EXPECT_EQ(veh.findEntry(veh::SecBody, "inertia")->line, 25);
    }
    {
        VehFixture f;
        f.prompt.answer(PromptAnswer::Cancel);
        EXPECT_EQ(loadError(f, "invalid_triple.veh"), "File loading process aborted by user.");
    }
}

TEST(VehLoad, MissingAndCommentedKeysAreListedBySection) {
    VehFixture f;
    auto veh = f.open(f.copy("commented_mass.veh"));
    veh.load(VehicleFile::ModeOpen);
    std::vector<std::string> missing{"kept"};
    EXPECT_EQ(veh.listMissingEntries(missing), 1);
    EXPECT_EQ(missing, (std::vector<std::string>{"kept", "[BODY]", "mass="}));
}

TEST(VehLoad, DetailsOnlyReadsBrokenFiles) {
    VehFixture f;
    auto veh = f.open(f.copy("broken_sections_details_ok.veh"));
    veh.detailsOnly = true;
    EXPECT_EQ(veh.load(VehicleFile::ModeOpen), 14);
    EXPECT_EQ(veh.findEntry(veh::SecDetails, "//DescClass")->value, "GT2");
    EXPECT_EQ(loadError(f, "broken_sections_details_ok.veh"), "FATAL: Section [BODY] missing from VEH file.");
}

TEST(VehFormat, ValueFormsAndHeaders) {
    // A line is one key; values may carry comments; a header after "//" and a lower-case header do not count.
    VehFixture f;
    auto lines = veh::templateLines();
    lines[22] = "mass=(1125.0) // heavy";
    lines[23] = "center_height = (-0.073)"; // no "center_height=" text: the key is not on this line
    lines[11] = "[sounds]";
    lines.insert(lines.begin() + 11, "x // [SOUNDS]");
    lines.insert(lines.begin() + 13, "[SOUNDS] trailing text");
    std::string bytes;
    for (const auto& l : lines)
        bytes += l + "\n";
    const std::string path = f.dir.file("forms.veh");
    writeBytes(path, bytes);
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);
    EXPECT_EQ(veh.sections[veh::SecSounds].line, 13);
    EXPECT_EQ(veh.findEntry(veh::SecBody, "mass")->value, "1125.0");
    EXPECT_EQ(veh.findEntry(veh::SecBody, "center_height")->line, -1);
}

TEST(VehFormat, KeyMatchingAndValueRules) {
    // Keys match in any letter case and wherever their text occurs before a "//"; a value is cut at "//" and at
    // its first ")"; a line with a second "=" is still searched for its key.
    VehFixture f;
    auto lines = veh::templateLines();
    auto at = [&](const std::string& text) {
        return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), text) - lines.begin());
    };
    lines[at("mass=(1125.0)")] = "MASS=(990.5) // was 1125";
    lines[at("fuel=(100.00)")] = "x_fuel=(80.0";
    lines[at("capacity=(100.00)")] = "capacity=abc(90.0)x)";
    lines[at("damage=1")] = "note=1 damage=2";
    lines[at("drive=REAR")] = "  Drive = REAR";
    lines[at("rpm_torque=(500.0, 175.00)")] = "  RPM_TORQUE = (500.0 ,175.00) // low";
    lines[at("rpm_torque=(1000.0, 405.00)")] = "rpm_torque=1000.0, 405.00)";
    std::string bytes;
    for (const auto& l : lines)
        bytes += l + "\r";
    const std::string path = f.dir.file("rules.veh");
    writeBytes(path, bytes);
    // "abc90.0" is not a number, and a value is everything after a line's first "=": "1 damage=2".
    f.prompt.answer(PromptAnswer::Ok).answer(PromptAnswer::Ok);
    auto veh = f.open(path);
    EXPECT_EQ(veh.load(VehicleFile::ModeOpen), 144);
    EXPECT_EQ(veh.findEntry(veh::SecBody, "mass")->value, "990.5");
    EXPECT_EQ(veh.findEntry(veh::SecBody, "fuel")->value, "80.0");
    EXPECT_EQ(veh.findEntry(veh::SecBody, "damage")->line, 29);
    EXPECT_EQ(veh.findEntry(veh::SecBody, "capacity")->value, "");
    ASSERT_EQ(f.prompt.questions().size(), 2u);
    EXPECT_EQ(f.prompt.questions()[0].text.substr(0, 36), "Line [28] Entry 'capacity=abc90.0' i");
    EXPECT_EQ(f.prompt.questions()[1].text.substr(0, 37), "Line [29] Entry 'damage=1 damage=2' i");
    // "Drive = REAR" does not hold the text "drive=".
    EXPECT_EQ(veh.findEntry(veh::SecDriveline, "drive")->line, -1);
    EXPECT_EQ(veh.torquePoints[1].rpm, "500.0");
    EXPECT_EQ(veh.torquePoints[1].torque, "175.00");
    EXPECT_EQ(veh.torquePoints[2].rpm, "1000.0");
    EXPECT_EQ(veh.torquePoints[2].torque, "405.00");
}
