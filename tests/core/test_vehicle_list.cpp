#include <gtest/gtest.h>

#include <filesystem>

#include "archive/vehicle_archive.h"
#include "browser/vehicle_list.h"
#include "platform/file_system.h"
#include "settings/settings.h"
#include "support/mas_builder.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace qora;
using namespace qora::browser;
using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> texts(const VehicleList& list) {
    std::vector<std::string> out;
    for (const CarItem& item : list.items())
        out.push_back(item.text);
    return out;
}

// A folder of vehicles with thumbnails and a few files that are not vehicles, and an archive of two entries.
struct BrowserFixture {
    TempDir dir;
    ScriptedPrompt prompt;
    NoFilePicker picker;
    Settings settings;
    std::string cars = dir.file("cars");
    VehicleArchive mas{settings, prompt, picker};

    BrowserFixture() {
        settings.setPrompt(prompt);
        settings.setProgramFolder(dir.file("prog"));
        fs::create_directories(dir.file("prog"));
        fs::create_directories(cars + "/sub.veh");
        writeBytes(cars + "/G01B.VEH", vehicleText("alpha", "GT1"));
        writeBytes(cars + "/g02e.veh", vehicleText("Bravo", "gt2", "1"));
        writeBytes(cars + "/rally.Veh", vehicleText("Charlie", "Rally", "0"));
        writeBytes(cars + "/nameless.veh", vehicleText("", "GT1", "2"));
        writeBytes(cars + "/broken.veh", "not a vehicle\r\n");
        writeBytes(cars + "/g01b.veb", vehicleText("alpha backup", "GT1", "3"));
        writeBytes(cars + "/g01bSide.BMP", "bmp");
        writeBytes(cars + "/G01BFront.bmp", "bmp");
        writeBytes(cars + "/notes.txt", "text");

        writeBytes(dir.file("Vehicle.Mas"), MasBuilder()
                                                .add("G01B.VHS", vehicleText("Zeta", "GT1", "5"))
                                                .add("XXXX.VHS", vehicleText("Eta", "GT3"))
                                                .bytes());
        mas.loadFile(dir.file("Vehicle.Mas"));
    }

    // A browser on the folder, set up as the host does, listing every class.
    std::unique_ptr<VehicleList> browser(const std::string& classText = "[ALL]") {
        auto list = std::make_unique<VehicleList>(&mas, settings, prompt);
        list->MasAvailable = true;
        list->setFolder(cars);
        list->Ready = true;
        list->setClassText(classText);
        return list;
    }
};

} // namespace

TEST(VehicleListMasks, MatchWithoutRegardToCaseAndListOnlyFiles) {
    EXPECT_TRUE(matchesMask("CAR.VEH", "*.veh"));
    EXPECT_TRUE(matchesMask("car.veh", "*.VEH"));
    EXPECT_FALSE(matchesMask("car.veh.txt", "*.veh"));
    EXPECT_TRUE(matchesMask("README", "*.*"));
    EXPECT_TRUE(matchesMask("g01bside.bmp", "g01b*.BMP;g01b.*"));
    EXPECT_TRUE(matchesMask("G01B.vex", "g01b*.BMP;g01b.*"));
    EXPECT_FALSE(matchesMask("g01c.vex", "g01b*.BMP;g01b.*"));
    EXPECT_TRUE(matchesMask("ab1.veh", "ab?.veh"));
    EXPECT_FALSE(matchesMask("ab.veh", "ab?.veh"));

    EXPECT_TRUE(isVehicleMask("*.veh"));
    EXPECT_TRUE(isVehicleMask("*.qora"));
    EXPECT_FALSE(isVehicleMask("*.VEH"));
    EXPECT_FALSE(isVehicleMask("*.*"));

    BrowserFixture f;
    EXPECT_EQ(listFiles(f.cars, "*.veh"),
              (std::vector<std::string>{"broken.veh", "G01B.VEH", "g02e.veh", "nameless.veh", "rally.Veh"}));
    EXPECT_EQ(listFiles(f.cars, "*.bmp"), (std::vector<std::string>{"G01BFront.bmp", "g01bSide.BMP"}));
    EXPECT_TRUE(listFiles(f.dir.file("missing"), "*.*").empty());
}

TEST(VehicleListMasks, RaceMarksAndBuiltInThumbnails) {
    EXPECT_EQ(raceMark("0"), " - [Random]");
    EXPECT_EQ(raceMark("1"), " - [80%]");
    EXPECT_EQ(raceMark("2"), " - [60%]");
    EXPECT_EQ(raceMark("3"), " - [40%]");
    EXPECT_EQ(raceMark("4"), " - [20%]");
    EXPECT_EQ(raceMark("5 points"), " - [0%]");
    EXPECT_EQ(raceMark("6"), " - [?%]");
    EXPECT_EQ(raceMark(""), " - [?%]");

    EXPECT_EQ(builtInThumbnail("g01b"), (CarPicture{"BMPG01B", "", false}));
    EXPECT_EQ(builtInThumbnail("G99P").builtIn, "BMPG99P");
    EXPECT_TRUE(builtInThumbnail("G00X").isNoCar());
}

TEST(VehicleList, FolderListShowsDescriptionsSortedWithMarksAndCount) {
    BrowserFixture f;
    auto list = f.browser();
    EXPECT_EQ(texts(*list), (std::vector<std::string>{"alpha - [?%]", "Bravo - [80%]", "Charlie - [Random]"}));
    EXPECT_EQ(list->fileCountText(), "3");
    // Each item carries its file's index in the folder listing.
    EXPECT_EQ(list->files()[static_cast<std::size_t>(list->items()[1].source)], "g02e.veh");

    list->setRacePercent(false);
    EXPECT_EQ(texts(*list), (std::vector<std::string>{"alpha", "Bravo", "Charlie"}));

    list->setMask("*.veb");
    EXPECT_EQ(texts(*list), (std::vector<std::string>{"alpha backup"}));
    EXPECT_EQ(list->fileCountText(), "1");

    // An empty folder: nothing selected, nothing to open.
    list->setFolder(f.dir.file("prog"));
    EXPECT_EQ(list->fileCountText(), "0");
    EXPECT_FALSE(list->okEnabled());
    EXPECT_TRUE(list->carPicture().isNoCar());
    EXPECT_FALSE(list->commands().notepad);
}

TEST(VehicleList, ClassFilterTakesFixedAndUserClasses) {
    BrowserFixture f;
    auto list = f.browser("gt2");
    list->setRacePercent(false);
    EXPECT_EQ(texts(*list), (std::vector<std::string>{"Bravo"})); // "gt2" in the file is class GT2

    list->setClassText("GT1");
    EXPECT_EQ(texts(*list), (std::vector<std::string>{"alpha"})); // the nameless GT1 is never listed

    list->setClassText("[OTHER]");
    EXPECT_EQ(texts(*list), (std::vector<std::string>{"Charlie"}));
    list->setUserClasses({"Rally"});
    list->setClassText("[other]");
    EXPECT_TRUE(texts(*list).empty());
    list->setClassText("RALLY");
    EXPECT_EQ(texts(*list), (std::vector<std::string>{"Charlie"}));

    EXPECT_EQ(list->classItems(), (std::vector<std::string>{"GT1", "GT2", "GT3", "GTQ", "[ALL]", "[OTHER]", "Rally"}));
    EXPECT_EQ(list->userClasses(), (std::vector<std::string>{"Rally"}));
    EXPECT_EQ(list->formatCarItem("", "Desc", "1"), "");
    EXPECT_EQ(list->formatCarItem("RALLY", "", "1"), "");
}

TEST(VehicleList, UnreadableFilesAreReportedOncePerFolderListingOnScreenAndWhenWarned) {
    BrowserFixture f;
    auto list = f.browser();
    // The first listing happens before the dialog shows: it is reported once the dialog is there.
    EXPECT_EQ(list->lostFiles(), (std::vector<std::string>{"broken.veh"}));
    EXPECT_FALSE(list->takeLostFilesReport());
    list->show();
    EXPECT_TRUE(list->takeLostFilesReport());
    EXPECT_FALSE(list->takeLostFilesReport());

    // A class typed into the class box rebuilds the list but is no listing: nothing to report, and neither is a
    // second listing of the same folder.
    list->setClassText("G");
    EXPECT_FALSE(list->takeLostFilesReport());
    list->refreshFiles();
    EXPECT_FALSE(list->takeLostFilesReport());

    f.settings.warnCompressedFiles = false;
    list->refreshFiles();
    EXPECT_TRUE(list->lostFiles().empty());
    EXPECT_FALSE(list->takeLostFilesReport());
}

TEST(VehicleList, SelectionNamePictureAndCommandsInFolderMode) {
    BrowserFixture f;
    auto list = f.browser();
    EXPECT_EQ(list->selectedItem(), 0);
    EXPECT_EQ(list->selectedName(), "G01B.VEH");
    EXPECT_EQ(list->fileNameText(), "g01b.veh");
    EXPECT_EQ(list->selection(), joinPath(f.cars, "G01B.VEH"));
    EXPECT_TRUE(list->okEnabled());
    // The first bitmap, in alphabetical order, whose first four characters equal the code in any case.
    EXPECT_EQ(list->carPicture(), CarPicture::bitmapFile(joinPath(f.cars, "G01BFront.bmp")));
    const ContextCommands commands = list->commands();
    EXPECT_TRUE(commands.notepad && commands.copy && commands.move && commands.remove);

    list->selectItem(2); // Charlie: rally.Veh, no bitmap
    EXPECT_TRUE(list->carPicture().isNoCar());

    list->setShowCarPic(false);
    list->selectItem(0);
    EXPECT_TRUE(list->carPicture().isNoCar()); // unchanged while pictures are off

    // With a mask that is not a vehicle mask: file names in folder order, no classes, no picture, no commands.
    list->setShowCarPic(true);
    list->setMask("*.*");
    EXPECT_EQ(texts(*list), list->files());
    EXPECT_EQ(texts(*list).size(), 9u);
    EXPECT_FALSE(list->classEnabled());
    list->selectItem(2);
    EXPECT_EQ(list->selectedName(), "G01B.VEH");
    EXPECT_TRUE(list->carPicture().isNoCar());
    EXPECT_FALSE(list->commands().notepad);
    EXPECT_FALSE(list->commands().remove);
}

TEST(VehicleList, ArchiveModeFiltersEntriesInMemory) {
    BrowserFixture f;
    auto list = f.browser();
    list->setArchiveMode(true);
    EXPECT_EQ(texts(*list), (std::vector<std::string>{"Eta - [?%]", "Zeta - [0%]"}));
    EXPECT_EQ(list->items()[1].source, 0);
    list->selectItem(1);
    EXPECT_EQ(list->selection(), "G01B.VHS");
    EXPECT_EQ(list->carPicture(), (CarPicture{"BMPG01B", "", false}));
    EXPECT_TRUE(list->commands().notepad);
    EXPECT_FALSE(list->commands().copy || list->commands().move || list->commands().remove);
    list->selectItem(0);
    EXPECT_TRUE(list->carPicture().isNoCar()); // no thumbnail "BMPXXXX"

    // Filtering reads nothing again: the archive file may be gone.
    fs::remove(f.dir.file("Vehicle.Mas"));
    list->setClassText("GT3");
    EXPECT_EQ(texts(*list), (std::vector<std::string>{"Eta - [?%]"}));
}

TEST(VehicleList, ShowingSelectsFavoriteAndInitialFile) {
    BrowserFixture f;
    auto list = f.browser();
    list->setFavorites({"Vehicle.mas", f.cars});
    list->InitialFileName = "g02E.VEH";
    list->show();
    EXPECT_EQ(list->favoriteIndex(), 1);
    EXPECT_EQ(list->selectedName(), "g02e.veh");

    BrowserFixture g;
    auto archive = g.browser();
    archive->setFavorites({"Vehicle.mas", g.cars});
    archive->setArchiveMode(true);
    archive->InitialFileName = "g01b.vhs";
    archive->show();
    EXPECT_EQ(archive->favoriteIndex(), 0);
    EXPECT_EQ(archive->selectedName(), "G01B.VHS");
}

TEST(VehicleList, FavoritesSwitchModesAndGuardTheArchiveItem) {
    BrowserFixture f;
    auto list = f.browser();
    list->setFavorites({"Vehicle.mas", f.dir.file("prog"), f.dir.file("missing"), ""});
    list->MasAvailable = false;
    list->chooseFavorite(0);
    EXPECT_FALSE(list->archiveMode());
    ASSERT_EQ(f.prompt.calls.size(), 1u);
    EXPECT_EQ(f.prompt.calls[0].title, "QORA Mas Reader");
    EXPECT_EQ(f.prompt.calls[0].text, "Errors previously occurred preventing opening of your Vehicle.mas file.");
    EXPECT_EQ(f.prompt.calls[0].icon, PromptIcon::Stop);

    list->MasAvailable = true;
    list->chooseFavorite(0);
    EXPECT_TRUE(list->archiveMode());
    list->chooseFavorite(1);
    EXPECT_FALSE(list->archiveMode());
    EXPECT_EQ(list->folder(), f.dir.file("prog"));
    list->chooseFavorite(2); // a folder that is gone: nothing happens
    list->chooseFavorite(3);
    EXPECT_EQ(list->folder(), f.dir.file("prog"));

    list->setFolder(f.cars);
    EXPECT_EQ(list->favoriteIndex(), -1);
    list->addFavorite();
    list->addFavorite();
    EXPECT_EQ(list->favorites().size(), 5u);
    EXPECT_EQ(list->favoriteIndex(), 4);
    list->deleteFavorite();
    EXPECT_EQ(list->favorites().size(), 4u);
    list->deleteFavorite(); // none selected
    list->chooseFavorite(0);
    list->deleteFavorite(); // the archive item stays
    EXPECT_EQ(list->favorites().size(), 4u);
    EXPECT_EQ(f.prompt.calls.size(), 3u);
    EXPECT_EQ(f.prompt.calls[1].kind, ScriptedPrompt::Call::Beep);
    EXPECT_EQ(f.prompt.calls[2].kind, ScriptedPrompt::Call::Beep);
}

TEST(VehicleList, ClassMaintenanceAcceptsOnlyUserClasses) {
    BrowserFixture f;
    auto list = f.browser();
    const auto lastText = [&f] { return f.prompt.calls.back().text; };
    for (const char* refused : {"[ALL]", "[other]", "", "gt1"}) {
        list->setClassText(refused);
        list->addClass();
        EXPECT_EQ(lastText(), "Class already exists in list.") << refused;
        EXPECT_EQ(f.prompt.calls.back().title, "QORA Class Maintenance");
    }
    list->setClassText("Rally");
    list->addClass();
    list->addClass();
    EXPECT_EQ(list->userClasses(), (std::vector<std::string>{"Rally"}));

    for (const char* refused : {"GT1", "[ALL]", "Vintage", ""}) {
        list->setClassText(refused);
        list->deleteClass();
        EXPECT_EQ(lastText(), "Only existing user defined classes can be deleted.") << refused;
    }
    const std::size_t messages = f.prompt.calls.size();
    list->setClassText("RALLY");
    list->deleteClass();
    EXPECT_TRUE(list->userClasses().empty());
    EXPECT_EQ(f.prompt.calls.size(), messages);
}

TEST(VehicleList, OpenInNotepadWarnsAndExtractsArchiveEntries) {
    BrowserFixture f;
    auto list = f.browser();
    const std::string file = joinPath(f.cars, "G01B.VEH");
    EXPECT_EQ(list->openInNotepad(), file);
    EXPECT_EQ(f.prompt.calls.back().title, "QORA Notepad Launcher");
    EXPECT_EQ(f.prompt.calls.back().icon, PromptIcon::Exclamation);
    EXPECT_EQ(f.prompt.calls.back().text,
              "This function has the potential to cause the file [" + file +
                  "] to become 'out-of-sync'.  If you edit the data in one program (NotePad or QORA), those changes "
                  "will NOT be reflected in the other program.");

    list->setArchiveMode(true);
    list->selectItem(1);
    const std::string temp = joinPath(f.settings.masVehFolder(), "~temp~.txt");
    EXPECT_EQ(list->openInNotepad(), temp);
    EXPECT_EQ(readBytes(temp), vehicleText("Zeta", "GT1", "5"));
    EXPECT_EQ(f.prompt.calls.back().text, "This function only allows you to load the temp file [" + temp +
                                              "].  You cannot update any changes using this method to your "
                                              "vehicle.mas file.");

    f.settings.generalWarnings = false;
    const std::size_t messages = f.prompt.calls.size();
    EXPECT_EQ(list->openInNotepad(), temp);
    EXPECT_EQ(f.prompt.calls.size(), messages);

    // A file where the working-copy folder should be: the extraction fails and nothing is opened.
    fs::remove_all(f.dir.file("prog/MasVeh"));
    writeBytes(f.dir.file("prog/MasVeh"), "in the way");
    EXPECT_EQ(list->openInNotepad(), std::nullopt);
    EXPECT_EQ(f.prompt.calls.back().title, "QORA Veh File Extraction");
    EXPECT_EQ(f.prompt.calls.back().icon, PromptIcon::Stop);
}
