#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>

#include "browser/file_commands.h"
#include "garage/enter_garage.h"
#include "garage/file_version_model.h"
#include "garage/version_store.h"
#include "platform/text.h"
#include "support/failing_file_system.h"
#include "support/temp_dir.h"
#include "support/veh_fixture.h"
#include "vehicle/veh_format.h"

using namespace qora;
using namespace qora::garage;
using namespace qora::testing;
namespace fs = std::filesystem;
using Call = ScriptedPrompt::Call;

namespace {

// A vehicle on disk, loaded and prepared as the window prepares it before the Garage opens.
struct GarageFixture : VehFixture {
    std::string garage;
    std::string vehiclePath;
    std::optional<VehicleFile> vehicle;

    explicit GarageFixture(const std::string& vehicleName = "Bmw.Veh") {
        settings.setProgramFolder(dir.path());
        garage = settings.garageFolder;
        fs::create_directories(garage);
        fs::create_directories(dir.file("cars"));
        vehiclePath = dir.file("cars/" + vehicleName);
        writeBytes(vehiclePath, text::joinLinesCrLf(veh::templateLines()));
        vehicle.emplace(vehiclePath, prompt, settings);
        vehicle->load(VehicleFile::ModeOpen);
        prepare();
    }

    // The transfer and the prepare-only save of EnterGarage.
    void prepare() {
        ASSERT_TRUE(enterGarage(*vehicle, settings, prompt, [this] {
            storeAbsentGearsAsZero(*vehicle);
            return true;
        }));
    }

    FileVersionModel dialog(const std::string& carName = "Bavaria GT") {
        return FileVersionModel(*vehicle, carName, settings, prompt, std::locale::classic());
    }

    std::string inGarage(const std::string& name) const { return joinPath(garage, name); }

    // Ages a file so that the list order does not depend on how quickly a test runs.
    void age(const std::string& name, int seconds) const {
        fs::last_write_time(inGarage(name), fs::file_time_type::clock::now() - std::chrono::seconds(seconds));
    }

    void setMass(const std::string& value) {
        vehicle->findEntry(veh::SecBody, "mass=")->value = value;
        prepare();
    }
};

// Adds a version through the dialog as a user does: New, type the title and the notes, Save/Update.
bool addVersion(FileVersionModel& d, const std::string& title, const std::string& notes = {}) {
    d.createVersion();
    d.setTitle(title);
    if (!notes.empty())
        d.setNotes(notes);
    return d.updateVersion();
}

} // namespace

TEST(VersionStore, NamesAndTitleRules) {
    EXPECT_EQ(versionBaseName("/cars/Bmw.Veh"), "bmw");
    EXPECT_EQ(versionBaseName("/cars/car.old.veh"), "car");
    EXPECT_EQ(versionFileName("bmw", "Race Setup"), "bmw~Race Setup.vfv");
    EXPECT_EQ(notesPathOf("/g/bmw~Race Setup.vfv"), "/g/bmw~Race Setup.txt");
    try {
        notesPathOf("/g/bmw~fast");
        FAIL() << "a path without an extension names no notes";
    } catch (const GarageError& e) {
        EXPECT_STREQ(e.what(), "/g/bmw~fast is an invalid version filename.");
    }

    ScriptedPrompt prompt;
    for (char c : std::string("\\/.><\"*?|=~\t"))
        EXPECT_FALSE(titleKeyAccepted(c, prompt)) << c;
    EXPECT_EQ(prompt.calls.size(), 12u);
    EXPECT_EQ(prompt.calls.front().kind, Call::Beep);
    EXPECT_TRUE(titleKeyAccepted('a', prompt));
    EXPECT_TRUE(titleKeyAccepted(' ', prompt));
    EXPECT_TRUE(titleKeyAccepted('\xe9', prompt)); // Latin-1 letters are fine
    EXPECT_EQ(prompt.calls.size(), 12u);

    EXPECT_EQ(cleanTitle("  Wet race \t"), "Wet race");
    EXPECT_EQ(titleProblem(std::string(30, 'x')), "");
    EXPECT_EQ(titleProblem(std::string(31, 'x')), "Version titles cannot be longer than 30 characters.");
    EXPECT_EQ(titleProblem(""), "No version title entered.");
    EXPECT_EQ(titleProblem("../../etc"), "Version titles cannot contain any of the characters \\ / . > < \" * ? | = ~");
}

TEST(VersionStore, EnterGarageCreatesTheFolderAndPreparesTheVehicleWithoutWriting) {
    GarageFixture f;
    fs::remove(f.garage);
    const std::string before = readBytes(f.vehiclePath);
    f.vehicle->findEntry(veh::SecBody, "mass=")->value = "1234.5";
    // The window's transfer: its DriveTrain page stores the absent gears before every save.
    const auto transfer = [&f] {
        storeAbsentGearsAsZero(*f.vehicle);
        return true;
    };

    f.prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(enterGarage(*f.vehicle, f.settings, f.prompt, transfer));
    EXPECT_FALSE(fs::exists(f.garage));
    const Call question = f.prompt.questions().at(0);
    EXPECT_EQ(question.title, "QORA Version Control");
    EXPECT_EQ(question.text, "In order to use Version Control, QORA must create the folder [" + f.garage +
                                 "] for storage.  Continue?");
    EXPECT_EQ(question.buttons, PromptButtons::YesNo);
    EXPECT_EQ(question.icon, PromptIcon::Question);
    EXPECT_EQ(question.defaultButton, PromptAnswer::Yes);

    f.prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(enterGarage(*f.vehicle, f.settings, f.prompt, transfer));
    EXPECT_TRUE(fs::is_directory(f.garage));
    // The lines hold the new value; nothing was written and the vehicle keeps its name.
    EXPECT_NE(std::find(f.vehicle->lines()->begin(), f.vehicle->lines()->end(), "mass=(1234.5)"),
              f.vehicle->lines()->end());
    EXPECT_EQ(f.vehicle->fileName, f.vehiclePath);
    EXPECT_EQ(readBytes(f.vehiclePath), before);
    EXPECT_FALSE(fs::exists("dummy.txt"));
    EXPECT_EQ(namesIn(f.dir.file("cars")).size(), 1u);

    // A failed transfer, an invalid buffer and a folder that cannot be made each stop with their message.
    f.prompt.calls.clear();
    EXPECT_FALSE(enterGarage(*f.vehicle, f.settings, f.prompt, [] { return false; }));
    f.vehicle->findEntry(veh::SecGears, "gear=", 1)->value = "";
    EXPECT_FALSE(enterGarage(*f.vehicle, f.settings, f.prompt, transfer));
    writeBytes(f.dir.file("blocker"), "a file where the folder's parent should be");
    f.settings.garageFolder = f.dir.file("blocker/Garage");
    f.prompt.answer(PromptAnswer::Yes);
    EXPECT_FALSE(enterGarage(*f.vehicle, f.settings, f.prompt, transfer));

    const auto messages = f.prompt.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].title, "QORA Version Control");
    EXPECT_EQ(messages[0].text,
              "Data from page fields could not be transfered to file buffer.  Cannot enter Garage due to buffer "
              "transfer failure.  If you did not Cancel data transfer manually, please report this internal error "
              "to the email address in the About dialog.");
    EXPECT_EQ(messages[1].title, "QORA File Error");
    EXPECT_EQ(messages[1].text, "Internal Error: Gear [1] contains no valid value (empty).");
    EXPECT_EQ(messages[2].text, "Could not create requested folder.");
    EXPECT_EQ(messages[2].icon, PromptIcon::Stop);
}

TEST(VersionStore, VersionsAreListedForTheirVehicleOldestFirst) {
    GarageFixture f;
    {
        FileVersionModel d = f.dialog();
        EXPECT_EQ(d.baseName(), "bmw");
        EXPECT_EQ(d.versionsCaption(), "Versions (0)");
        EXPECT_EQ(d.buttons(), (GarageButtons{.New = true}));
        ASSERT_TRUE(addVersion(d, "  Fast  ", "Short gears."));
        ASSERT_TRUE(addVersion(d, "Wet"));
    }
    // The version is the vehicle's prepared text; the title was trimmed.
    EXPECT_EQ(readBytes(f.inGarage("bmw~Fast.vfv")), text::joinLinesCrLf(*f.vehicle->lines()));
    EXPECT_EQ(readBytes(f.inGarage("bmw~Fast.txt")), "Short gears.");
    EXPECT_FALSE(fs::exists(f.inGarage("bmw~Wet.txt")));

    // Other vehicles' files and other kinds of file are not listed; letter case does not matter.
    for (const char* other : {"bmwx~a.vfv", "bmw.vfv", "bmw~a~b.vfv", "bmw~t.txt", "BMW~Dry.VFV", "audi~Fast.vfv"})
        writeBytes(f.inGarage(other), "x");
    f.age("bmw~Wet.vfv", 300);
    f.age("BMW~Dry.VFV", 200);
    f.age("bmw~Fast.vfv", 100);

    FileVersionModel d = f.dialog();
    EXPECT_EQ(d.titles(), (std::vector<std::string>{"Wet", "Dry", "Fast"}));
    EXPECT_EQ(d.versionsCaption(), "Versions (3)");
    EXPECT_EQ(d.selected(), 0);
    EXPECT_EQ(d.title(), "Wet");
    EXPECT_EQ(d.dateText(),
              browser::formatFileTime(fs::last_write_time(f.inGarage("bmw~Wet.vfv")), std::locale::classic()));
    EXPECT_EQ(d.notes(), "");
    EXPECT_TRUE(d.titleReadOnly());
    EXPECT_EQ(d.buttons(), (GarageButtons{true, true, true, true, true, true, true}));
    d.select(2);
    EXPECT_EQ(d.title(), "Fast");
    EXPECT_EQ(d.notes(), "Short gears.");
    EXPECT_EQ(d.versionPath(), f.inGarage("bmw~Fast.vfv"));

    // Updating the oldest version makes it the newest.
    f.setMass("999.0");
    d.select(0);
    f.prompt.answer(PromptAnswer::Yes);
    ASSERT_TRUE(d.updateVersion());
    EXPECT_EQ(f.prompt.questions().back().text,
              "This will overwrite the selected version file with the data currently in the editor (thus making it "
              "the most recent version) and update any changes to your version notes.  Continue?");
    EXPECT_EQ(d.titles(), (std::vector<std::string>{"Dry", "Fast", "Wet"}));
    EXPECT_EQ(readBytes(f.inGarage("bmw~Wet.vfv")), text::joinLinesCrLf(*f.vehicle->lines()));

    // Answering No writes nothing.
    const std::string dry = readBytes(f.inGarage("BMW~Dry.VFV"));
    f.prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(d.updateVersion());
    EXPECT_EQ(readBytes(f.inGarage("BMW~Dry.VFV")), dry);

    // car.old.veh shares the versions of car.veh.
    GarageFixture g("car.old.veh");
    writeBytes(g.inGarage("car~Base.vfv"), "x");
    EXPECT_EQ(g.dialog().titles(), (std::vector<std::string>{"Base"}));
}

TEST(VersionStore, TitlesMustBeUniqueAndUsable) {
    GarageFixture f;
    FileVersionModel d = f.dialog();
    ASSERT_TRUE(addVersion(d, "Fast"));

    d.createVersion();
    EXPECT_FALSE(d.browsing());
    EXPECT_FALSE(d.titleReadOnly());
    EXPECT_EQ(d.dateText(), "Adding new version...");
    EXPECT_EQ(d.buttons(), GarageButtons{});
    d.setTitle(" FAST ");
    EXPECT_TRUE(d.buttons().Update);
    f.prompt.calls.clear();
    EXPECT_FALSE(d.updateVersion());
    ASSERT_EQ(f.prompt.messages().size(), 1u);
    EXPECT_EQ(f.prompt.messages()[0].title, "QORA Version Control");
    EXPECT_EQ(f.prompt.messages()[0].text,
              "A version with that name already exists.  Version titles must be unique.  Enter a different title "
              "name or, if you are trying to update an existing version file, select the version in the list, then "
              "click the [Save/Update] button.");
    EXPECT_EQ(d.action(), FileVersionModel::ActionNone);
    EXPECT_FALSE(d.browsing()) << "the user may correct the title";

    // The box keeps 30 characters; a blank title enables nothing; a pasted separator never reaches a file name.
    d.setTitle(std::string(35, 'x'));
    EXPECT_EQ(d.title(), std::string(30, 'x'));
    d.setTitle("   ");
    EXPECT_FALSE(d.buttons().Update);
    d.setTitle("../evil");
    EXPECT_FALSE(d.updateVersion());
    EXPECT_EQ(f.prompt.messages().back().text,
              "Version titles cannot contain any of the characters \\ / . > < \" * ? | = ~");
    d.setTitle("");
    EXPECT_FALSE(d.updateVersion());
    EXPECT_EQ(f.prompt.messages().back().text, "No version title entered.");
    EXPECT_EQ(d.action(), FileVersionModel::ActionNone);
    EXPECT_EQ(namesIn(f.garage).size(), 1u);
}

TEST(VersionStore, NotesFollowTheirVersionAndDeleteAllKeepsOtherVehicles) {
    GarageFixture f;
    FileVersionModel d = f.dialog();
    ASSERT_TRUE(addVersion(d, "A", "notes a"));
    EXPECT_EQ(d.flashes().text(FlashPanel::CarName), "Version File Created");
    EXPECT_EQ(d.flashes().text(FlashPanel::FileName), "Version note file saved");
    ASSERT_TRUE(addVersion(d, "B", "notes b"));
    f.age("bmw~A.vfv", 100);
    f.age("bmw~B.vfv", 50);
    writeBytes(f.inGarage("bmwx~A.vfv"), "x");
    writeBytes(f.inGarage("bmwx~A.txt"), "y");
    d.refresh();
    EXPECT_EQ(d.notes(), "notes a");

    // Emptying the notes and saving deletes the notes file.
    d.setNotes("");
    EXPECT_TRUE(d.dirty());
    f.prompt.answer(PromptAnswer::Yes);
    ASSERT_TRUE(d.updateVersion());
    EXPECT_FALSE(fs::exists(f.inGarage("bmw~A.txt")));
    EXPECT_EQ(d.flashes().text(FlashPanel::FileName), "Version note file deleted");
    EXPECT_EQ(d.titles(), (std::vector<std::string>{"B", "A"}));

    // Delete asks first; No keeps the version, Yes removes it with its notes.
    f.prompt.answer(PromptAnswer::No).answer(PromptAnswer::Yes);
    EXPECT_FALSE(d.deleteSelected());
    EXPECT_TRUE(fs::exists(f.inGarage("bmw~B.vfv")));
    EXPECT_TRUE(d.deleteSelected());
    const Call question = f.prompt.questions().back();
    EXPECT_EQ(question.title, "QORA Version Manager");
    EXPECT_EQ(question.text,
              "This will permanently delete the selected version from your Garage folder.  Are you sure?");
    EXPECT_EQ(question.icon, PromptIcon::Stop);
    EXPECT_EQ(question.defaultButton, PromptAnswer::No) << "Enter never deletes a version";
    EXPECT_FALSE(fs::exists(f.inGarage("bmw~B.vfv")));
    EXPECT_FALSE(fs::exists(f.inGarage("bmw~B.txt")));
    EXPECT_EQ(d.titles(), (std::vector<std::string>{"A"}));

    ASSERT_TRUE(addVersion(d, "C", "notes c"));
    f.prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(d.deleteAllVersions());
    EXPECT_EQ(f.prompt.questions().back().text,
              "This will permanently delete ALL versions for this vehicle in your Garage folder!  Are you sure?");
    EXPECT_EQ(f.prompt.questions().back().defaultButton, PromptAnswer::No);
    EXPECT_EQ(d.titles(), std::vector<std::string>{});
    EXPECT_EQ(d.selected(), -1);
    EXPECT_EQ(d.buttons(), (GarageButtons{.New = true}));
    EXPECT_FALSE(d.deleteAllVersions()) << "nothing to delete, nothing asked";
    EXPECT_EQ(namesIn(f.garage), (std::vector<std::string>{"bmwx~A.txt", "bmwx~A.vfv"}));
}

TEST(VersionStore, AFailedWriteLeavesTheOldVersionAndNotes) {
    GarageFixture f;
    FileVersionModel d = f.dialog();
    ASSERT_TRUE(addVersion(d, "Fast", "old notes"));
    const std::string version = f.inGarage("bmw~Fast.vfv");
    const std::string oldBytes = readBytes(version);
    f.setMass("777.0");

    FailingFileSystem failing;
    failing.failWritesAfterBytes = 10;
    failing.filter = [](const std::string& path) { return path.find(".vfv") != std::string::npos; };
    {
        ScopedFileSystem scoped(failing);
        d.select(0);
        d.setNotes("new notes");
        f.prompt.calls.clear();
        f.prompt.answer(PromptAnswer::Yes);
        EXPECT_FALSE(d.updateVersion());
    }
    ASSERT_EQ(f.prompt.messages().size(), 1u);
    EXPECT_EQ(f.prompt.messages()[0].title, "QORA File Error");
    EXPECT_EQ(f.prompt.messages()[0].text, "Unable to write version file [" + version + "].  No space left on device.");
    EXPECT_EQ(readBytes(version), oldBytes);
    EXPECT_EQ(readBytes(f.inGarage("bmw~Fast.txt")), "old notes");
    EXPECT_EQ(d.action(), FileVersionModel::ActionNone);
    EXPECT_EQ(d.notes(), "new notes") << "the typed notes stay for another try";

    // The notes cannot be written: the version is new, the old notes stay and the failure is named.
    failing.filter = [](const std::string& path) { return path.find(".txt") != std::string::npos; };
    {
        ScopedFileSystem scoped(failing);
        f.prompt.calls.clear();
        f.prompt.answer(PromptAnswer::Yes);
        EXPECT_FALSE(d.updateVersion());
    }
    ASSERT_EQ(f.prompt.messages().size(), 1u);
    EXPECT_EQ(f.prompt.messages()[0].title, "QORA Version Control");
    EXPECT_EQ(f.prompt.messages()[0].text,
              "Unable to write version notes file [" + f.inGarage("bmw~Fast.txt") + "].  No space left on device.");
    EXPECT_EQ(readBytes(f.inGarage("bmw~Fast.txt")), "old notes");
    EXPECT_EQ(readBytes(version), text::joinLinesCrLf(*f.vehicle->lines()));
    EXPECT_EQ(namesIn(f.garage).size(), 2u) << "no temporary file is left behind";

    // A version that cannot be deleted keeps its notes.
    failing.failWritesAfterBytes = -1;
    failing.failRemoves = true;
    failing.filter = [](const std::string& path) { return path.find(".vfv") != std::string::npos; };
    {
        ScopedFileSystem scoped(failing);
        f.prompt.calls.clear();
        f.prompt.answer(PromptAnswer::Yes);
        EXPECT_TRUE(d.deleteSelected());
    }
    ASSERT_EQ(f.prompt.messages().size(), 1u);
    EXPECT_EQ(f.prompt.messages()[0].title, "QORA Version Manager");
    EXPECT_EQ(f.prompt.messages()[0].text, "Unable to delete file [" + version + "].");
    EXPECT_EQ(f.prompt.messages()[0].icon, PromptIcon::Information);
    EXPECT_TRUE(fs::exists(version));
    EXPECT_TRUE(fs::exists(f.inGarage("bmw~Fast.txt")));
}

TEST(VersionStore, LoadingAVersionAsTheVehicleOrAsTheGhost) {
    GarageFixture f;
    {
        FileVersionModel d = f.dialog();
        ASSERT_TRUE(addVersion(d, "Fast"));
    }
    const std::string version = f.inGarage("bmw~Fast.vfv");

    // Load asks while general warnings are on; No keeps the dialog open.
    FileVersionModel d = f.dialog();
    f.prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(d.load());
    EXPECT_EQ(d.action(), FileVersionModel::ActionNone);
    EXPECT_FALSE(garageLoadRequest(d, f.vehiclePath, f.settings, f.prompt));
    const Call question = f.prompt.questions().back();
    EXPECT_EQ(question.title, "QORA Version Control");
    EXPECT_EQ(question.text,
              "This function will replace the contents of memory with the selected version file's contents "
              "(revert).  The actual veh file is not physically changed until you Save it.  Continue?");
    EXPECT_EQ(question.icon, PromptIcon::Exclamation);
    EXPECT_EQ(question.defaultButton, PromptAnswer::Yes);

    f.prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(d.load());
    const auto main = garageLoadRequest(d, f.vehiclePath, f.settings, f.prompt);
    ASSERT_TRUE(main);
    EXPECT_EQ(*main, (GarageLoad{GarageLoad::As::MainVehicle, version, true, true}));
    // Opened with the keep-path flag, the document goes on under the vehicle's own path.
    EXPECT_EQ(browser::replaceDocument({f.vehiclePath, {}}, main->path, main->keepPath, "Bavaria GT").path,
              f.vehiclePath);

    f.settings.generalWarnings = false;
    const std::size_t asked = f.prompt.questions().size();
    EXPECT_TRUE(d.load());
    EXPECT_EQ(f.prompt.questions().size(), asked);

    // As the ghost: the version itself, or a copy named as an archive ghost while an archive entry is open.
    EXPECT_TRUE(d.loadGhost());
    EXPECT_EQ(garageLoadRequest(d, f.vehiclePath, f.settings, f.prompt),
              (GarageLoad{GarageLoad::As::Ghost, version, false, false}));
    const std::string workingCopy = f.dir.file("MasVeh/vehiclemas=G01B.VHS");
    const std::string copy = f.dir.file("ghostmas=g01b.veh");
    writeBytes(copy, "an older ghost copy");
    EXPECT_EQ(garageLoadRequest(d, workingCopy, f.settings, f.prompt),
              (GarageLoad{GarageLoad::As::Ghost, copy, false, false}));
    EXPECT_EQ(readBytes(copy), readBytes(version));
    EXPECT_EQ(masGhostCopyPath(native("/prog"), native("/prog/MasVeh/vehiclemas=G02E~X.VHS")),
              native("/prog/ghostmas=g02e.veh"));
    EXPECT_EQ(masGhostCopyPath("/prog", "/cars/g02e.veh"), "");

    FailingFileSystem failing;
    failing.failCopies = true;
    {
        ScopedFileSystem scoped(failing);
        f.prompt.calls.clear();
        EXPECT_FALSE(garageLoadRequest(d, workingCopy, f.settings, f.prompt));
    }
    ASSERT_EQ(f.prompt.messages().size(), 1u);
    EXPECT_EQ(f.prompt.messages()[0].text,
              "Could not create mas ghost file [" + copy + "] from file [" + version + "].  File not loaded.");

    // A load without a usable selection names the reason, then the internal failure.
    d.refresh();
    d.select(-1);
    f.prompt.calls.clear();
    EXPECT_TRUE(d.loadGhost());
    EXPECT_FALSE(garageLoadRequest(d, f.vehiclePath, f.settings, f.prompt));
    ASSERT_EQ(f.prompt.messages().size(), 2u);
    EXPECT_EQ(f.prompt.messages()[0].text, "No version selected.");
    EXPECT_EQ(f.prompt.messages()[1].text, "Internal Filename Error: Requested function did not succeed.");
}

TEST(VersionStore, FlashesLastEightTicks) {
    PanelFlashes flashes("Bavaria GT", "bmw");
    EXPECT_FALSE(flashes.running());
    EXPECT_FALSE(flashes.yellow(FlashPanel::CarName));

    flashes.flash(FlashPanel::CarName, "Version File Created");
    for (int i = 0; i < 3; ++i)
        flashes.tick();
    flashes.flash(FlashPanel::FileName, "Version note file saved");
    for (int i = 0; i < 4; ++i)
        flashes.tick();
    EXPECT_EQ(flashes.text(FlashPanel::CarName), "Version File Created");
    EXPECT_TRUE(flashes.yellow(FlashPanel::CarName));
    flashes.tick(); // the eighth tick of the first flash
    EXPECT_EQ(flashes.text(FlashPanel::CarName), "Bavaria GT");
    EXPECT_FALSE(flashes.yellow(FlashPanel::CarName));
    EXPECT_TRUE(flashes.yellow(FlashPanel::FileName));
    EXPECT_TRUE(flashes.running());
    for (int i = 0; i < 3; ++i)
        flashes.tick();
    EXPECT_EQ(flashes.text(FlashPanel::FileName), "bmw");
    EXPECT_FALSE(flashes.running());
}
