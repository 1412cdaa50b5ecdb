#include <gtest/gtest.h>

#include <filesystem>

#include "platform/text.h"
#include "support/failing_file_system.h"
#include "support/temp_dir.h"
#include "support/veh_fixture.h"
#include "vehicle/veh_format.h"

using namespace qora;
using namespace qora::testing;

namespace {

std::string crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

std::vector<std::string> templatePlus(std::vector<std::string> extra) {
    auto lines = veh::templateLines();
    lines.insert(lines.end(), extra.begin(), extra.end());
    return lines;
}

void expectLine(const VehicleFile& veh, int section, std::string_view key, int instance, const std::string& text) {
    const EntryRec* e = veh.findEntry(section, key, instance);
    ASSERT_NE(e, nullptr);
    ASSERT_GE(e->line, 0) << key;
    EXPECT_EQ((*veh.lines())[static_cast<std::size_t>(e->line)], text);
}

// Saves as the editor does: the DriveTrain page stores every gear, an absent one as "0.0000", before each save.
void save(VehicleFile& veh, const std::string& path = "", bool prepareOnly = false) {
    storeAbsentGearsAsZero(veh);
    veh.save(path, prepareOnly);
}

} // namespace

TEST(VehSave, GoldenLoadSaveRoundTrips) {
    for (const char* name : {"template_unchanged", "mixed_line_ends", "latin1_details"}) {
        SCOPED_TRACE(name);
        VehFixture f;
        const std::string path = f.copy(std::string("golden/") + name + "/input.veh", "car.veh");
        auto veh = f.open(path);
        veh.load(VehicleFile::ModeOpen);
        save(veh);
        EXPECT_EQ(readBytes(path), readBytes(dataFile(std::string("golden/") + name + "/expected.veh")));
        EXPECT_EQ(readBytes(f.dir.file("car.veX")), readBytes(dataFile(std::string("golden/") + name + "/input.veh")));
        EXPECT_EQ(veh.editorName, "QORA 4.0");
        EXPECT_EQ(namesIn(f.dir.path()).size(), 2u) << "no temporary file is left behind";
    }
}

TEST(VehSave, BackupsKeepTheFirstAndThePreviousFile) {
    VehFixture f;
    const std::string path = f.copy("template.veh", "car.veh");
    const std::string original = readBytes(path);
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);

    save(veh);
    const std::string first = readBytes(path);
    EXPECT_EQ(readBytes(f.dir.file("car.veX")), original);
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("car.veB")));

    veh.findEntry(veh::SecBody, "mass")->value = "1200.0";
    save(veh);
    EXPECT_EQ(readBytes(f.dir.file("car.veX")), original);
    EXPECT_EQ(readBytes(f.dir.file("car.veB")), first);

    veh.findEntry(veh::SecBody, "mass")->value = "1300.0";
    const std::string second = readBytes(path);
    save(veh);
    EXPECT_EQ(readBytes(f.dir.file("car.veB")), second);
    expectLine(veh, veh::SecBody, "mass", 1, "mass=(1300.0)");

    // With backups switched off nothing beside the file changes.
    f.settings.backupFiles = false;
    veh.findEntry(veh::SecBody, "mass")->value = "1400.0";
    save(veh);
    EXPECT_EQ(readBytes(f.dir.file("car.veB")), second);
    EXPECT_TRUE(f.prompt.calls.empty());
}

TEST(VehSave, FileWithoutVehExtensionIsSavedWithoutBackup) {
    VehFixture f;
    const std::string path = f.copy("template.veh", "car.txt");
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);
    save(veh);
    const auto messages = f.prompt.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "QORA File IO");
    EXPECT_EQ(messages[0].text, "[" + text::toLower(f.dir.file("car.txt")) +
                                    "] contains an invalid file VEH extention and cannot be backed up.");
    EXPECT_EQ(messages[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(namesIn(f.dir.path()).size(), 1u);
    EXPECT_EQ(readBytes(path), crlf(templatePlus({"// Editor=QORA 4.0"})));
}

TEST(VehSave, NewVehicleIsTheTemplateWithTheStamp) {
    VehFixture f;
    auto veh = f.open(f.dir.file("New.veh"));
    veh.load(VehicleFile::ModeNew);
    save(veh);
    EXPECT_EQ(readBytes(f.dir.file("New.veh")), crlf(templatePlus({"// Editor=QORA 4.0"})));
    EXPECT_EQ(namesIn(f.dir.path()).size(), 1u);
}

TEST(VehSave, ChangedValuesReplaceOnlyTheirValue) {
    VehFixture f;
    const std::string path = f.copy("mixed_line_ends.veh", "car.veh");
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);
    veh.findEntry(veh::SecBody, "mass")->value = "980.0";
    veh.findEntry(veh::SecBody, "damage")->value = "0";
    veh.findEntry(veh::SecDetails, "//Manufacturer")->value = "a";
    save(veh, "", true);
    // A changed value keeps the comment after it; the bare/parenthesised form follows the key.
    expectLine(veh, veh::SecBody, "mass", 1, "mass=(980.0) // heavy");
    expectLine(veh, veh::SecBody, "damage", 1, "damage=0");
    expectLine(veh, veh::SecDriveline, "drive", 1, "drive=REAR   // rear wheel drive");
    // The old value is looked for after the "=": "a" also occurs inside the key "//Manufacturer=".
    veh.findEntry(veh::SecDetails, "//Manufacturer")->value = "Audi";
    save(veh, "", true);
    expectLine(veh, veh::SecDetails, "//Manufacturer", 1, "//Manufacturer=Audi");
    // Prepare-only brings the lines up to date and writes nothing.
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("car.veX")));
    EXPECT_EQ(readBytes(path), readBytes(dataFile("mixed_line_ends.veh")));
}

TEST(VehSave, MissingKeysAreCreatedAfterTheKeyBeforeThem) {
    VehFixture f;
    auto lines = veh::templateLines();
    lines.erase(lines.begin() + 22); // mass=
    lines.erase(lines.begin() + 3);  // //Manufacturer=
    lines.erase(std::find(lines.begin(), lines.end(), "camber=(-0.0264)"));
    lines.erase(std::find(lines.begin(), lines.end(), "rpm_torque=(9000.0, 0.00)"));
    const std::string path = f.dir.file("car.veh");
    writeBytes(path, crlf(lines));
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);
    std::vector<std::string> missing;
    EXPECT_EQ(veh.listMissingEntries(missing), 3);
    EXPECT_EQ(missing,
              (std::vector<std::string>{"[DETAILS]", "//Manufacturer=", "[BODY]", "mass=", "[REARWHEELS]", "camber="}));
    veh.findEntry(veh::SecBody, "mass")->value = "1125.0";
    veh.findEntry(veh::SecDetails, "//Manufacturer")->value = "BMW";
    veh.findEntry(veh::SecRearWheels, "camber")->value = "-0.0264";
    // The curve lost its last point; the Performance page stores it again, as a point without a line.
    ASSERT_EQ(veh.torquePoints.size(), 18u);
    veh.torquePoints.push_back(TorquePoint{"9000.0", "0.00", -1});
    save(veh);
    EXPECT_EQ(readBytes(path), crlf(templatePlus({"// Editor=QORA 4.0"})));
}

TEST(VehSave, OptionalSectionsAppearWithContentAndGoWhenEmpty) {
    VehFixture f;
    const std::string path = f.copy("template.veh", "car.veh");
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);

    // All upgrade levels "0": the section is created and removed again, header included.
    for (EntryRec& e : veh.sections[veh::SecParts].entries)
        e.value = "0";
    save(veh, "", true);
    EXPECT_EQ(*veh.lines(), templatePlus({"// Editor=QORA 4.0"}));
    EXPECT_EQ(veh.sections[veh::SecParts].line, -1);

    veh.findEntry(veh::SecParts, "turbo_charger")->value = "2";
    veh.findEntry(veh::SecQora, "OriginalAuthor")->value = "Mo";
    veh.findEntry(veh::SecAiBasis, "braking")->value = "1.5";
    save(veh, "", true);
    EXPECT_EQ(*veh.lines(), templatePlus({"// Editor=QORA 4.0", "", "[QORA]", "OriginalAuthor=Mo", "", "[AIBASIS]",
                                          "braking=(1.5)", "", "[PARTS]", "turbo_charger=2"}));

    // Emptied again, the sections disappear; only their blank separator lines stay until the end is trimmed.
    veh.findEntry(veh::SecQora, "OriginalAuthor")->value = "";
    veh.findEntry(veh::SecAiBasis, "braking")->value = "";
    veh.findEntry(veh::SecParts, "turbo_charger")->value = "0";
    save(veh, "", true);
    EXPECT_EQ(*veh.lines(), templatePlus({"// Editor=QORA 4.0"}));
}

TEST(VehSave, ZeroGearEndsTheGearList) {
    VehFixture f;
    auto veh = f.open(f.copy("template.veh", "car.veh"));
    veh.load(VehicleFile::ModeOpen);
    auto& gears = veh.sections[veh::SecGears].entries;
    gears[1].value = "3.5";
    gears[2].value = "2.1";
    gears[3].value = "0";
    gears[4].value = "1.2";
    gears[6].value = "0.0000";
    save(veh, "", true);
    const auto& L = *veh.lines();
    const auto g = static_cast<std::size_t>(veh.sections[veh::SecGears].line);
    EXPECT_EQ(L[g + 1], "gear_reverse=(-3.500)");
    EXPECT_EQ(L[g + 2], "gear=(3.5)");
    EXPECT_EQ(L[g + 3], "gear=(2.1)");
    EXPECT_EQ(L[g + 4], "");
    EXPECT_EQ(L[g + 5], "[FRONTWHEELS]");
    for (std::size_t n = 3; n <= 6; ++n)
        EXPECT_EQ(gears[n].line, -1);
    EXPECT_EQ(veh.sections[veh::SecFrontWheels].line, static_cast<int>(g + 5));
}

TEST(VehSave, EmptyGearStopsTheSaveBeforeAnythingIsWritten) {
    VehFixture f;
    const std::string path = f.copy("template.veh", "car.veh");
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);
    try {
        veh.save("", false); // gear 6 is absent from the file and was never given a value
        FAIL();
    } catch (const VehicleFileError& e) {
        EXPECT_STREQ(e.what(), "Internal Error: Gear [6] contains no valid value (empty).");
    }
    EXPECT_EQ(readBytes(path), readBytes(dataFile("template.veh")));
    EXPECT_EQ(namesIn(f.dir.path()).size(), 1u);
}

TEST(VehSave, TorqueCurveEndsAtTheFirstZeroFromTheThirdPoint) {
    VehFixture f;
    auto veh = f.open(f.copy("template.veh", "car.veh"));
    veh.load(VehicleFile::ModeOpen);
    const int engine = veh.sections[veh::SecEngine].line;

    veh.torquePoints[10].torque = "0.00"; // 5000 rpm stays as the end of the curve
    save(veh, "", true);
    ASSERT_EQ(veh.torquePoints.size(), 11u);
    EXPECT_EQ((*veh.lines())[static_cast<std::size_t>(engine + 18)], "rpm_torque=(5000.0, 0.00)");
    EXPECT_EQ((*veh.lines())[static_cast<std::size_t>(engine + 19)], "");
    EXPECT_EQ(veh.sections[veh::SecDriveline].line, engine + 20);

    veh.torquePoints[4].rpm = "0.0"; // a zero rpm point goes with everything after it
    save(veh, "", true);
    EXPECT_EQ(veh.torquePoints.size(), 4u);

    // Points added in the editor get lines after the point before them.
    veh.torquePoints.push_back({"2000.0", "500.00", -1});
    veh.torquePoints.push_back({"2500.0", "0.00", -1});
    save(veh, "", true);
    ASSERT_EQ(veh.torquePoints.size(), 6u);
    EXPECT_EQ((*veh.lines())[static_cast<std::size_t>(engine + 13)], "rpm_torque=(2500.0, 0.00)");
    EXPECT_EQ((*veh.lines())[static_cast<std::size_t>(engine + 14)], "");
}

TEST(VehSave, StampIsUpdatedInPlaceOrAppended) {
    VehFixture f;
    auto lines = veh::templateLines();
    lines.insert(lines.begin() + 9, "// edited with: editor=Old Tool 1.0 // and more");
    lines.push_back("// Editor=");
    const std::string path = f.dir.file("car.veh");
    writeBytes(path, crlf(lines));
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);
    // The last line naming an editor has no name, so there is no stamp.
    EXPECT_EQ(veh.editorName, "");
    save(veh, "", true);
    EXPECT_EQ(veh.lines()->back(), "// Editor=QORA 4.0");
    EXPECT_EQ((*veh.lines())[9], "// edited with: editor=Old Tool 1.0 // and more");
    EXPECT_EQ((*veh.lines())[veh.lines()->size() - 2], "// Editor=");

    auto stamped = veh::templateLines();
    stamped.insert(stamped.begin() + 9, "// edited with: editor=Old Tool 1.0 // and more");
    writeBytes(path, crlf(stamped));
    auto again = f.open(path);
    again.load(VehicleFile::ModeOpen);
    EXPECT_EQ(again.editorName, "Old Tool 1.0 // and more");
    save(again, "", true);
    EXPECT_EQ((*again.lines())[9], "// edited with: editor=QORA 4.0");
    EXPECT_EQ(again.lines()->size(), 145u);
}

TEST(VehSave, SaveAsWritesTheNewPathAndKeepsTheOld) {
    VehFixture f;
    const std::string path = f.copy("template.veh", "car.veh");
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);
    save(veh, f.dir.file("copy.veh"), false);
    EXPECT_EQ(veh.fileName, f.dir.file("copy.veh"));
    EXPECT_EQ(readBytes(path), readBytes(dataFile("template.veh")));
    EXPECT_EQ(readBytes(f.dir.file("copy.veh")), crlf(templatePlus({"// Editor=QORA 4.0"})));
    EXPECT_EQ(namesIn(f.dir.path()).size(), 2u);
}

TEST(VehSave, FailedWritesNeverCostTheFileOnDisk) {
    const std::string before = readBytes(dataFile("template.veh"));
    const std::string messageEnd =
        ".  Check that the folder exists, that you have enough disk space and that you may write to it.  The file on "
        "disk was not changed.";
    {
        // The disk fills up half-way through the new text.
        VehFixture f;
        const std::string path = f.copy("template.veh", "car.veh");
        auto veh = f.open(path);
        veh.load(VehicleFile::ModeOpen);
        FailingFileSystem failing;
        failing.failWritesAfterBytes = 100;
        ScopedFileSystem scope(failing);
        try {
            save(veh);
            FAIL();
        } catch (const VehicleFileError& e) {
            EXPECT_EQ(e.what(), "Error saving file [" + path + "]: No space left on device" + messageEnd);
        }
        EXPECT_EQ(readBytes(path), before);
        EXPECT_EQ(namesIn(f.dir.path()).size(), 1u) << "neither a backup nor a partial file is left";
    }
    {
        // The new text is written, but it cannot be moved into place.
        VehFixture f;
        const std::string path = f.copy("template.veh", "car.veh");
        auto veh = f.open(path);
        veh.load(VehicleFile::ModeOpen);
        FailingFileSystem failing;
        failing.failRenames = true;
        failing.filter = [&](const std::string& p) { return p == path; };
        ScopedFileSystem scope(failing);
        EXPECT_THROW(save(veh), VehicleFileError);
        EXPECT_EQ(readBytes(path), before);
        EXPECT_EQ(readBytes(f.dir.file("car.veX")), before);
        EXPECT_EQ(namesIn(f.dir.path()).size(), 2u);
    }
    {
        // A real failure: saving as a name that is taken by a folder. The document keeps its own name.
        VehFixture f;
        const std::string path = f.copy("template.veh", "car.veh");
        const std::string folder = f.dir.file("taken.veh");
        std::filesystem::create_directory(folder);
        writeBytes(folder + "/inside.txt", "x");
        auto veh = f.open(path);
        veh.load(VehicleFile::ModeOpen);
        EXPECT_THROW(save(veh, folder), VehicleFileError);
        EXPECT_EQ(veh.fileName, path);
        EXPECT_EQ(readBytes(folder + "/inside.txt"), "x");
        EXPECT_EQ(namesIn(f.dir.path()).size(), 2u);
        // A later save in place still works.
        save(veh);
        EXPECT_EQ(readBytes(f.dir.file("car.veX")), before);
    }
    {
        // A folder that does not exist.
        VehFixture f;
        auto veh = f.open(f.dir.file("no/such/folder/New.veh"));
        veh.load(VehicleFile::ModeNew);
        EXPECT_THROW(save(veh), VehicleFileError);
    }
}

TEST(VehSave, ABackupThatCannotBeMadeIsNeverSkippedSilently) {
    VehFixture f;
    const std::string path = f.copy("template.veh", "car.veh");
    const std::string before = readBytes(path);
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);
    FailingFileSystem failing;
    failing.failCopies = true;
    ScopedFileSystem scope(failing);

    // No (the default): nothing is written, and the message says why and what to do.
    f.prompt.answer(PromptAnswer::No);
    try {
        save(veh);
        ADD_FAILURE() << "saved without asking";
    } catch (const VehicleFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "File [" + path +
                      "] was not saved because its backup could not be made: No space left on device.  "
                      "Make room on the disk or allow writing to its folder, or turn backups off (Backup Files in "
                      "Preferences, --no-backup for qora-cli).  The file on disk was not changed.");
    }
    ASSERT_EQ(f.prompt.questions().size(), 1u);
    const auto question = f.prompt.questions()[0];
    EXPECT_EQ(question.title, "QORA File IO");
    EXPECT_EQ(question.text, "The backup of [" + path + "] could not be made (cannot write '" + f.dir.file("car.veX") +
                                 "': No space left on device).  Save the file without a backup?");
    EXPECT_EQ(question.buttons, PromptButtons::YesNo);
    EXPECT_EQ(question.defaultButton, PromptAnswer::No);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(namesIn(f.dir.path()).size(), 1u) << "no backup, no partial copy, no temporary file";

    // Yes: the file is saved without its backup.
    f.prompt.answer(PromptAnswer::Yes);
    save(veh);
    EXPECT_EQ(readBytes(path), crlf(templatePlus({"// Editor=QORA 4.0"})));
    EXPECT_EQ(namesIn(f.dir.path()).size(), 1u);
}

TEST(VehSave, SaveWithoutLoadIsRefused) {
    VehFixture f;
    auto veh = f.open(f.dir.file("car.veh"));
    EXPECT_THROW(veh.save("", false), VehicleFileError);
}
