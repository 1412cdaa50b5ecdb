#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "archive/vehicle_archive.h"
#include "browser/file_commands.h"
#include "platform/file_system.h"
#include "settings/settings.h"
#include "support/mas_builder.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"
#include "vehicle/vehicle_file.h"

using namespace qora;
using namespace qora::browser;
using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

const std::string kMasVeh = "/prog/MasVeh/";

std::string touch(const std::string& path, const std::string& bytes = "x") {
    fs::create_directories(fs::path(path).parent_path());
    writeBytes(path, bytes);
    return path;
}

} // namespace

TEST(FileCommandsOpen, ModesAndWorkingCopyNames) {
    EXPECT_TRUE(checksExistence(VehicleFile::ModeOpen));
    EXPECT_FALSE(checksExistence(VehicleFile::ModeNew));
    EXPECT_TRUE(asksForMissingEntries(VehicleFile::ModeNew));
    EXPECT_FALSE(asksForMissingEntries(VehicleFile::ModeGhost));
    EXPECT_FALSE(becomesCurrent(VehicleFile::ModeGhost));
    EXPECT_EQ(fileNotFoundText("/cars/a.veh"), "Could not find requested file: /cars/a.veh");
    EXPECT_EQ(priorEditorText(""), "Prior Editor: Unknown");
    EXPECT_EQ(priorEditorText("QORA 4.0"), "Prior Editor: QORA 4.0");

    EXPECT_TRUE(isExtraction(kMasVeh + "VehicleMas=G01B.VHS"));
    EXPECT_TRUE(isExtraction(kMasVeh + "ghostmas=G01B.VHS"));
    EXPECT_FALSE(isExtraction("/cars/vehicle.mas"));
    EXPECT_EQ(extractedEntryName(kMasVeh + "vehiclemas=G01B.VHS"), "G01B.VHS");
    EXPECT_EQ(extractedEntryName("/cars/a=b.veh"), "");

    EXPECT_EQ(archiveSaveQuestion("G01B.VHS"),
              "This will replace file [G01B.VHS] in your vehicle.mas file.  Are you sure you want to overwrite this "
              "entry in your vehicle.mas file?");
}

TEST(FileCommandsOpen, WorkingCopiesGoWhenTheirDocumentIsDiscardedOrReplaced) {
    const std::string copy = kMasVeh + "vehiclemas=G01B.VHS";
    const OpenDocument archiveDoc{copy, ArchiveEntryRecord{"G01B.VHS", "Zeta", std::nullopt}};

    // Replaced by a plain file: the working copy goes, and with it the archive record.
    Replacement r = replaceDocument(archiveDoc, "/cars/a.veh", false, "Alpha");
    EXPECT_EQ(r.path, "/cars/a.veh");
    EXPECT_EQ(r.deleteWorkingCopy, copy);
    EXPECT_FALSE(r.archiveEntry);
    EXPECT_EQ(r.saveAsCaption, "Save &As...");

    // Replaced by another entry: a new record named after the file, less its prefix.
    r = replaceDocument({"/cars/a.veh", {}}, kMasVeh + "VEHICLEMAS=G02E.VHS", false, "Bravo");
    EXPECT_FALSE(r.deleteWorkingCopy);
    EXPECT_EQ(r.archiveEntry, (ArchiveEntryRecord{"G02E.VHS", "Bravo", std::nullopt}));
    EXPECT_EQ(r.saveAsCaption, "Save Copy &As...");

    // The same working copy opened again is not deleted under the new document.
    EXPECT_FALSE(replaceDocument(archiveDoc, copy, false, "Zeta").deleteWorkingCopy);

    // A backup loaded in place keeps the path, the record and the working copy.
    r = replaceDocument(archiveDoc, kMasVeh + "vehiclemas=G01B.VHB", true, "Zeta");
    EXPECT_EQ(r.path, copy);
    EXPECT_FALSE(r.deleteWorkingCopy);
    EXPECT_EQ(r.archiveEntry, archiveDoc.archiveEntry);

    // A ghost's copy cannot become the main vehicle; nothing is decided.
    try {
        replaceDocument(archiveDoc, kMasVeh + "ghostmas=G02E.VHS", false, "Bravo");
        FAIL() << "no failure";
    } catch (const VehicleArchiveError& error) {
        EXPECT_STREQ(error.what(), "Invalid prefix on filename of extracted mas file.");
    }

    EXPECT_EQ(workingCopyOfDiscarded(kMasVeh + "vehiclemas=G02E.VHS", false, "/cars/a.veh"),
              kMasVeh + "vehiclemas=G02E.VHS");
    EXPECT_FALSE(workingCopyOfDiscarded(kMasVeh + "vehiclemas=G02E.VHS", true, "/cars/a.veh"));
    EXPECT_FALSE(workingCopyOfDiscarded("/cars/b.veh", false, "/cars/a.veh"));
    EXPECT_FALSE(workingCopyOfDiscarded(copy, false, copy)); // still the open document's file
}

TEST(FileCommandsRecent, FiveRecordsOfExistingVehicleFiles) {
    TempDir dir;
    std::vector<RecentRecord> list;
    for (int i = 1; i <= 6; ++i)
        EXPECT_TRUE(
            recordRecent(list, touch(dir.file("car" + std::to_string(i) + ".veh")), "Car " + std::to_string(i)));
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list.front().path, dir.file("car6.veh"));
    EXPECT_EQ(list.front().caption, "[ Car 6");
    EXPECT_EQ(list.back().path, dir.file("car2.veh"));

    // Already recorded under the same caption: the order stays.
    EXPECT_FALSE(recordRecent(list, dir.file("car4.veh"), "Car 4"));
    EXPECT_EQ(list.front().path, dir.file("car6.veh"));
    // Only existing ".veh" files.
    EXPECT_FALSE(recordRecent(list, touch(dir.file("car1.veB")), "Backup"));
    EXPECT_FALSE(recordRecent(list, dir.file("gone.veh"), "Gone"));
    EXPECT_TRUE(recordRecent(list, touch(dir.file("UPPER.VEH")), "Upper"));
    EXPECT_EQ(list.front().path, dir.file("UPPER.VEH"));

    list.insert(list.begin() + 1, RecentRecord{kMasVeh + "vehiclemas=G01B.veh", "[ Zeta"});
    const std::vector<RecentMenuEntry> menu = recentMenu(list);
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(menu[0].caption, "[ Upper ] " + dir.file("UPPER.VEH"));
    EXPECT_EQ(menu[1].path, dir.file("car6.veh"));

    // A recent file that vanished: told, nothing to open.
    ScriptedPrompt prompt;
    fs::remove(dir.file("car6.veh"));
    EXPECT_FALSE(recentFileAvailable(menu[1].path, prompt));
    ASSERT_EQ(prompt.calls.size(), 1u);
    EXPECT_EQ(prompt.calls[0].title, "QORA File Open");
    EXPECT_EQ(prompt.calls[0].text, "The file you selected could not be found.  It may have been moved or deleted.");
    EXPECT_TRUE(recentFileAvailable(menu[0].path, prompt));
    EXPECT_EQ(prompt.calls.size(), 1u);
}

TEST(FileCommandsBackups, EntriesFollowTheBackupsAndShowTheirTimes) {
    TempDir dir;
    const std::string car = touch(dir.file("car.veh"));
    EXPECT_EQ(backupPath(car, BackupKind::Prior), dir.file("car.veB"));
    EXPECT_EQ(backupPath(car, BackupKind::Original), dir.file("car.veX"));

    BackupEntry prior = backupEntry(car, BackupKind::Prior, std::locale::classic());
    EXPECT_FALSE(prior.enabled);
    EXPECT_EQ(prior.caption, "Open &Prior (veB)");
    ScriptedPrompt prompt;
    EXPECT_FALSE(backupToOpen(car, BackupKind::Prior, prompt));
    ASSERT_EQ(prompt.calls.size(), 1u);
    EXPECT_EQ(prompt.calls[0].title, "QORA Open Backup");
    EXPECT_EQ(prompt.calls[0].text, "File not found.");

    // 4 March 2026, 05:06:07 local time.
    std::tm local{};
    local.tm_year = 126;
    local.tm_mon = 2;
    local.tm_mday = 4;
    local.tm_hour = 5;
    local.tm_min = 6;
    local.tm_sec = 7;
    local.tm_isdst = -1;
    const auto when = std::chrono::system_clock::from_time_t(std::mktime(&local));
    fs::last_write_time(touch(dir.file("car.veX")), std::chrono::file_clock::from_sys(when));
    const BackupEntry original = backupEntry(car, BackupKind::Original, std::locale::classic());
    EXPECT_TRUE(original.enabled);
    EXPECT_EQ(original.caption, "Open &Original (veX) - 03/04/26 05:06:07");
    EXPECT_EQ(backupToOpen(car, BackupKind::Original, prompt), dir.file("car.veX"));
    EXPECT_FALSE(backupEntry("", BackupKind::Original, std::locale::classic()).enabled);
}

TEST(FileCommandsPictures, VehicleAndGhostPictures) {
    TempDir dir;
    touch(dir.file("cars/g02e.veh"));
    touch(dir.file("cars/G02E_side.BMP"));
    touch(dir.file("cars/g02eFront.bmp"));
    touch(dir.file("patch/G01B_top.bmp"));

    EXPECT_TRUE(vehiclePicture("").isNoCar());
    EXPECT_EQ(vehiclePicture(kMasVeh + "vehiclemas=g01b.vhs"), (CarPicture{"BMPG01B", "", false}));
    EXPECT_EQ(vehiclePicture(kMasVeh + "ghostmas=G02E.VHS").builtIn, "BMPG02E");
    EXPECT_TRUE(vehiclePicture(kMasVeh + "vehiclemas=ZZZZ.VHS").isNoCar());
    EXPECT_EQ(vehiclePicture(dir.file("cars/g02e.veh")), CarPicture::bitmapFile(dir.file("cars/G02E_side.BMP")));
    EXPECT_TRUE(vehiclePicture(dir.file("cars/nopic.veh")).isNoCar());

    const std::string garage = dir.file("prog/Garage");
    EXPECT_TRUE(isGarageFile(garage + "/anything.veh", garage + "/"));
    EXPECT_TRUE(isGarageFile(dir.file("elsewhere/g01b~fast.VFV"), garage));
    EXPECT_FALSE(isGarageFile(dir.file("elsewhere/g01b.vfv"), garage));
    EXPECT_FALSE(isGarageFile(dir.file("cars/g02e.veh"), garage));

    // A Garage version shows the vehicle it was saved from, as found in the patch folder.
    EXPECT_EQ(ghostPicture(garage + "/g01b~fast.vfv", garage, dir.file("patch")),
              CarPicture::bitmapFile(dir.file("patch/G01B_top.bmp")));
    EXPECT_TRUE(ghostPicture(garage + "/g01b~fast.vfv", garage, "").isNoCar());
    EXPECT_TRUE(ghostPicture(garage + "/g01b.vfv", garage, dir.file("patch")).isNoCar());
    EXPECT_EQ(ghostPicture(dir.file("cars/g02e.veh"), garage, dir.file("patch")).file, dir.file("cars/G02E_side.BMP"));
}

TEST(FileCommandsBrowser, StartParametersSetUpAndSelection) {
    TempDir dir;
    ScriptedPrompt prompt;
    NoFilePicker picker;
    Settings settings;
    settings.setPrompt(prompt);
    settings.setProgramFolder(dir.file("prog"));
    settings.gameFolder = dir.file("game");
    settings.favoriteFolders = {"Vehicle.mas"};
    settings.carClasses = {"RALLY"};
    settings.showRacePercentage = false;
    const std::string car = touch(dir.file("cars/g02e.veh"), vehicleText("Bravo", "GT2"));
    fs::create_directories(dir.file("prog"));

    BrowserStart start = browserStartForVehicle(car, "gt2", dir.file("prog"));
    EXPECT_EQ(start.folder, dir.file("cars"));
    EXPECT_EQ(start.carClass, "GT2");
    EXPECT_EQ(start.proposedFile, car);
    EXPECT_EQ(browserStartForVehicle(dir.file("gone/a.veh"), "", dir.file("prog/")).folder, dir.file("prog"));
    const std::string garage = dir.file("prog/Garage");
    EXPECT_EQ(browserStartForGhost(touch(garage + "/g02e~x.vfv"), "gt1", car, garage, dir.file("prog")).folder,
              dir.file("cars"));
    EXPECT_EQ(browserStartForGhost(car, "gt1", "", garage, dir.file("prog")).carClass, "GT1");

    // No archive where the game keeps it and the locate dialog cancelled: the browser opens without one.
    VehicleArchive mas(settings, prompt, picker);
    EXPECT_EQ(readArchiveForBrowser(mas, prompt), ArchiveForBrowser::NotLoaded);
    touch(dir.file("game/Dat/Vehicle.Mas"), "bad");
    EXPECT_EQ(readArchiveForBrowser(mas, prompt), ArchiveForBrowser::Failed);
    EXPECT_EQ(prompt.calls.back().title, "QORA MAS Reader");
    writeBytes(dir.file("game/Dat/Vehicle.Mas"), MasBuilder().add("G02E.VHS", vehicleText("Bravo", "GT2")).bytes());
    ASSERT_EQ(readArchiveForBrowser(mas, prompt), ArchiveForBrowser::Loaded);

    // Started from an archive vehicle: archive mode, its entry preselected, its class shown.
    VehicleList list(&mas, settings, prompt);
    prepareBrowser(list, settings, {dir.file("prog/MasVeh"), "GT2", dir.file("prog/MasVeh/vehiclemas=g02e.vhs")}, true);
    EXPECT_TRUE(list.archiveMode());
    EXPECT_EQ(list.classText(), "GT2");
    EXPECT_EQ(list.userClasses(), settings.carClasses);
    list.show();
    EXPECT_EQ(list.selectedName(), "G02E.VHS");
    EXPECT_EQ(list.items()[0].text, "Bravo");
    EXPECT_EQ(browserSelectionPath(list, &mas, false, prompt), dir.file("prog/MasVeh/vehiclemas=G02E.VHS"));
    EXPECT_EQ(browserSelectionPath(list, &mas, true, prompt), dir.file("prog/MasVeh/ghostmas=G02E.VHS"));

    list.setRacePercent(true);
    list.setClassText("RALLY");
    list.addFavorite();
    storeBrowserChoices(list, settings);
    EXPECT_TRUE(settings.showRacePercentage);
    EXPECT_EQ(settings.favoriteFolders, (std::vector<std::string>{"Vehicle.mas", dir.file("prog/MasVeh")}));

    // Nothing selected under the class: the selection is invalid.
    const std::size_t messages = prompt.calls.size();
    EXPECT_FALSE(browserSelectionPath(list, &mas, false, prompt));
    ASSERT_EQ(prompt.calls.size(), messages + 1);
    EXPECT_EQ(prompt.calls.back().title, "QORA Get Selection");
    EXPECT_EQ(prompt.calls.back().text, "Invalid file selection.");

    // A plain vehicle: folder mode on its folder, [ALL] without a class.
    VehicleList plain(&mas, settings, prompt);
    prepareBrowser(plain, settings, {dir.file("cars"), "", car}, true);
    plain.show();
    EXPECT_FALSE(plain.archiveMode());
    EXPECT_EQ(plain.classText(), "[ALL]");
    EXPECT_EQ(browserSelectionPath(plain, &mas, false, prompt), car);
}

TEST(FileCommands, AWorkingCopyGoesWithItsBackups) {
    TempDir dir;
    const std::string copy = dir.file("vehiclemas=G01B.VEH");
    for (const std::string& name :
         {copy, dir.file("vehiclemas=G01B.VEX"), dir.file("vehiclemas=G01B.VEB"), dir.file("vehiclemas=G02E.VEX")})
        writeBytes(name, "x");
    deleteWorkingCopy(copy);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"vehiclemas=G02E.VEX"}) << "another entry's backup stays";
}
