// Failing writes for every writer that the writers' own suites leave out: a rename that is refused after the new
// bytes were written, and a file standing where a folder should be. Each must leave the previous file as it was,
// leave no temporary file behind and name the failure. docs/fault-injection.md lists every writer's faults and
// the test that proves each.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "archive/vehicle_archive.h"
#include "browser/file_manager.h"
#include "garage/version_store.h"
#include "platform/file_system.h"
#include "platform/ini_registry.h"
#include "platform/pickers.h"
#include "settings/settings.h"
#include "support/failing_file_system.h"
#include "support/mas_builder.h"
#include "support/message_of.h"
#include "support/scripted_folder_picker.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"
#include "support/veh_fixture.h"
#include "vehicle/vehicle_file.h"

using namespace qora;
using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

// What the system says of a path that leads through a file as if it were a folder.
#ifdef _WIN32
const std::string kThroughAFile = "No such file or directory";
#else
const std::string kThroughAFile = "Not a directory";
#endif

const std::string kSaveAdvice =
    ".  Check that the folder exists, that you have enough disk space and that you may write "
    "to it.  The file on disk was not changed.";

void save(VehicleFile& vehicle, const std::string& path = "") {
    storeAbsentGearsAsZero(vehicle);
    vehicle.save(path, false);
}

} // namespace

TEST(FaultInjection, VehicleSaveNamesARefusedRenameAndAFileInPlaceOfTheFolder) {
    VehFixture f;
    const std::string path = f.copy("template.veh", "car.veh");
    const std::string before = readBytes(path);
    auto vehicle = f.open(path);
    vehicle.load(VehicleFile::ModeOpen);
    vehicle.findEntry(veh::SecBody, "mass=")->value = "1234.5";

    // Every rename refused: no backup can be put in place (the user goes on without it), and the new text cannot
    // replace the file either.
    FailingFileSystem failing;
    failing.failRenames = true;
    {
        ScopedFileSystem scoped(failing);
        f.prompt.answer(PromptAnswer::Yes);
        EXPECT_EQ(messageOf<VehicleFileError>([&] { save(vehicle); }),
                  "Error saving file [" + path + "]: Input/output error" + kSaveAdvice);
    }
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(namesIn(f.dir.path()), std::vector<std::string>{"car.veh"});
    EXPECT_EQ(vehicle.fileName, path);

    // Save As into a "folder" that is a file: the document keeps its name and the file on disk its bytes.
    writeBytes(f.dir.file("blocker"), "a file where a folder should be");
    const std::string blocked = f.dir.file("blocker/car.veh");
    EXPECT_EQ(messageOf<VehicleFileError>([&] { save(vehicle, blocked); }),
              "Error saving file [" + blocked + "]: " + kThroughAFile + kSaveAdvice);
    EXPECT_EQ(vehicle.fileName, path);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(readBytes(f.dir.file("blocker")), "a file where a folder should be");

    // Once the disk behaves again the edit is still there to be saved.
    save(vehicle);
    EXPECT_NE(readBytes(path).find("mass=(1234.5)"), std::string::npos);
    EXPECT_EQ(readBytes(f.dir.file("car.veX")), before);
}

TEST(FaultInjection, ArchiveWriteBackAndExtractionNameAFileInPlaceOfTheirFolder) {
    TempDir dir;
    ScriptedPrompt prompt;
    NoFilePicker picker;
    Settings settings;
    settings.setPrompt(prompt);
    fs::create_directories(dir.file("game/Dat"));
    settings.gameFolder = dir.file("game");
    // A file where the program folder's MasVeh folder (the working copies) should be.
    fs::create_directories(dir.file("prog"));
    writeBytes(dir.file("prog/MasVeh"), "a file where a folder should be");
    settings.setProgramFolder(dir.file("prog"));
    const std::string archive = dir.file("game/Dat/Vehicle.Mas");
    const std::string original = MasBuilder()
                                     .add("CAR1.VEH", vehicleText("First Car", "GT", "100"))
                                     .add("CAR2.VEH", vehicleText("Second Car", "Rally"))
                                     .bytes();
    writeBytes(archive, original);

    VehicleArchive mas(settings, prompt, picker);
    mas.loadFile(archive);
    const std::string copy = dir.file("prog/MasVeh/vehiclemas=CAR1.VEH");
    try {
        mas.extractEntry("CAR1.VEH", false);
        ADD_FAILURE() << "extracted into a file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), kThroughAFile);
    }
    EXPECT_EQ(readBytes(dir.file("prog/MasVeh")), "a file where a folder should be");

    // Writing the working copy back: it cannot be read, so the archive is not touched.
    EXPECT_THROW(mas.saveEntry("CAR1.VEH"), FileError);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].title, "QORA Veh File Load");
    EXPECT_EQ(prompt.messages()[0].text, copy + " could not be loaded into memory.  File save to vehicle.mas aborted.");
    EXPECT_EQ(readBytes(archive), original);

    // The archive replaced by a folder after it was read: the rebuilt archive cannot take its place.
    VehicleArchive loaded(settings, prompt, picker);
    loaded.loadFile(archive);
    fs::remove(archive);
    fs::create_directory(archive);
    writeBytes(archive + "/inside", "x");
    EXPECT_EQ(messageOf<VehicleArchiveError>([&] { loaded.replaceEntry("CAR2.VEH", vehicleText("Second Car", "GT")); }),
              "The vehicle.mas file [" + archive +
                  "] could not be written: it is a folder.  It has been left as it "
                  "was.  Make room on the disk or check that the folder may be written to, then save again.");
    EXPECT_EQ(readBytes(archive + "/inside"), "x");
    EXPECT_EQ(namesIn(dir.file("game/Dat")), std::vector<std::string>{"Vehicle.Mas"});
}

TEST(FaultInjection, VersionsAndNotesSurviveARefusedRenameAndAFileInPlaceOfTheGarage) {
    VehFixture f;
    const std::string path = f.copy("template.veh", "bmw.veh");
    auto vehicle = f.open(path);
    vehicle.load(VehicleFile::ModeOpen);
    const std::string garage = f.dir.file("Garage");
    fs::create_directory(garage);
    const std::string version = joinPath(garage, "bmw~Fast.vfv");
    writeBytes(version, "old version");
    writeBytes(garage::notesPathOf(version), "old notes");

    FailingFileSystem failing;
    failing.failRenames = true;
    {
        ScopedFileSystem scoped(failing);
        EXPECT_EQ(messageOf<garage::GarageError>([&] { garage::writeVersion(version, vehicle); }),
                  "Unable to write version file [" + version + "].  Input/output error.");
        EXPECT_EQ(messageOf<garage::GarageError>([&] { garage::saveNotes(version, "new notes"); }),
                  "Unable to write version notes file [" + garage::notesPathOf(version) + "].  Input/output error.");
    }
    EXPECT_EQ(readBytes(version), "old version");
    EXPECT_EQ(readBytes(garage::notesPathOf(version)), "old notes");
    EXPECT_EQ(namesIn(garage), (std::vector<std::string>{"bmw~Fast.txt", "bmw~Fast.vfv"}));

    // A file where the garage folder should be.
    writeBytes(f.dir.file("blocker"), "x");
    const std::string blocked = f.dir.file("blocker/bmw~Slow.vfv");
    EXPECT_EQ(messageOf<garage::GarageError>([&] { garage::writeVersion(blocked, vehicle); }),
              "Unable to write version file [" + blocked + "].  " + kThroughAFile + ".");
    EXPECT_EQ(messageOf<garage::GarageError>([&] { garage::saveNotes(blocked, "notes"); }),
              "Unable to write version notes file [" + garage::notesPathOf(blocked) + "].  " + kThroughAFile + ".");
    EXPECT_EQ(readBytes(f.dir.file("blocker")), "x");
}

TEST(FaultInjection, FileManagerKeepsTargetAndSourceWhenTheCopyCannotBePlaced) {
    TempDir dir;
    ScriptedPrompt prompt;
    ScriptedFolderPicker picker;
    Settings settings;
    settings.setPrompt(prompt);
    settings.generalWarnings = false;
    browser::FileManager manager(settings, prompt, picker);
    const std::string source = dir.file("src");
    const std::string target = dir.file("dst");
    fs::create_directories(source);
    fs::create_directories(target);
    writeBytes(joinPath(source, "g01b.veh"), "new bytes");
    writeBytes(joinPath(target, "g01b.veh"), "old bytes");
    const auto all = [](browser::CheckList&) { return true; };

    // The copy is made beside the target but cannot be renamed over it: copying and moving both give up.
    FailingFileSystem failing;
    failing.failRenames = true;
    failing.filter = [&](const std::string& path) { return parentFolder(path) == target; };
    {
        ScopedFileSystem scoped(failing);
        picker.choose(target).choose(target);
        manager.copyVehicle(source, "g01b.veh", all);
        EXPECT_TRUE(manager.moveVehicle(source, "g01b.veh", all));
    }
    ASSERT_EQ(prompt.messages().size(), 2u);
    for (const auto& message : prompt.messages()) {
        EXPECT_EQ(message.title, "QORA File Manager");
        EXPECT_EQ(message.text, "Cannot copy file [" + joinPath(source, "g01b.veh") + "].");
        EXPECT_EQ(message.icon, PromptIcon::Stop);
    }
    EXPECT_EQ(readBytes(joinPath(target, "g01b.veh")), "old bytes");
    EXPECT_EQ(readBytes(joinPath(source, "g01b.veh")), "new bytes");
    EXPECT_EQ(namesIn(target), std::vector<std::string>{"g01b.veh"});

    // A destination "folder" that is a file.
    prompt.calls.clear();
    const std::string blocker = dir.file("blocker");
    writeBytes(blocker, "x");
    picker.choose(blocker).choose(blocker);
    manager.copyVehicle(source, "g01b.veh", all);
    EXPECT_TRUE(manager.moveVehicle(source, "g01b.veh", all));
    ASSERT_EQ(prompt.messages().size(), 2u);
    EXPECT_EQ(prompt.messages()[1].text, "Cannot copy file [" + joinPath(source, "g01b.veh") + "].");
    EXPECT_EQ(readBytes(joinPath(source, "g01b.veh")), "new bytes");
    EXPECT_EQ(readBytes(blocker), "x");
}

TEST(FaultInjection, RegistryStoreKeepsItsFileWhenTheRenameIsRefused) {
    TempDir dir;
    const std::string path = dir.file("registry.ini");
    IniRegistry registry(path);
    registry.writeString(RegistryRoot::ClassesRoot, "\\.VEH", "", "QORAVehicleFile");
    const std::string before = readBytes(path);

    FailingFileSystem failing;
    failing.failRenames = true;
    {
        ScopedFileSystem scoped(failing);
        EXPECT_EQ(
            messageOf<RegistryError>([&] { registry.writeString(RegistryRoot::ClassesRoot, "\\.VEH", "", "Other"); }),
            "Cannot write the registry file '" + path + "': Input/output error");
        EXPECT_EQ(messageOf<RegistryError>([&] { registry.deleteKey(RegistryRoot::ClassesRoot, "\\.VEH"); }),
                  "Cannot write the registry file '" + path + "': Input/output error");
        EXPECT_FALSE(registry.createKey(RegistryRoot::ClassesRoot, "\\QORAVehicleFile"));
    }
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"registry.ini"});
    EXPECT_EQ(registry.readString(RegistryRoot::ClassesRoot, "\\.VEH", ""), "QORAVehicleFile");
}
