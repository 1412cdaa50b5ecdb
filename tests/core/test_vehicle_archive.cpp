#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>

#include "archive/vehicle_archive.h"
#include "browser/file_commands.h"
#include "settings/settings.h"
#include "support/failing_file_system.h"
#include "support/mas_builder.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace qora;
using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

const std::string kHeaderEof = "Unexpected End Of File reading vehicle.mas header.";
const std::string kEntryEof =
    "FATAL: Unexpected End Of File reading vehicle.mas entry.  Your vehicle.mas file may be corrupt.";
const std::string kSizeQuestion =
    "Vehicle.mas file header invalid or file is corrupt.  The size of the data specified in the MAS header does not "
    "match the actual size of data in the file.  It is recommended that you do NOT continue since doing so could "
    "case QORA to crash if the file is seriously corrupt.  Continue anyway?";
const std::string kNotLocated =
    "Selected entry could not be located in the in-memory vehicle.mas file.  Make sure that no other programs are "
    "running that alter your vehicle.mas file.  You will have to reload the file into QORA.";

std::string readError(const std::string& name) {
    return "FATAL: File [" + name +
           "] generated a read error.  This may be due to a lack of available memory or your vehicle.mas file is "
           "corrupt.";
}

class ScriptedFilePicker : public FilePicker {
public:
    std::deque<std::optional<std::string>> answers;
    std::vector<std::vector<std::string>> calls;

    std::optional<std::string> pickFile(const std::string& title, const std::string& filterName,
                                        const std::string& pattern, const std::string& extension,
                                        const std::string& startFolder) override {
        calls.push_back({title, filterName, pattern, extension, startFolder});
        if (answers.empty())
            throw std::logic_error("unexpected file dialog: " + title);
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

// A game folder with "Dat" and a program folder, default settings, a scripted prompt and locate dialog.
struct MasFixture {
    TempDir dir;
    ScriptedPrompt prompt;
    ScriptedFilePicker picker;
    Settings settings;

    MasFixture() {
        settings.setPrompt(prompt);
        fs::create_directories(dir.file("game/Dat"));
        fs::create_directories(dir.file("prog"));
        settings.gameFolder = dir.file("game");
        settings.setProgramFolder(dir.file("prog"));
    }

    std::string archivePath() const { return dir.file("game/Dat/Vehicle.Mas"); }
    std::string masVeh(const std::string& name) const { return dir.file("prog/MasVeh/" + name); }
    std::string write(const std::string& bytes) {
        writeBytes(archivePath(), bytes);
        return archivePath();
    }
    VehicleArchive mas() { return VehicleArchive(settings, prompt, picker); }

    // The message of the VehicleArchiveError that loading `bytes` raises.
    std::string loadError(const std::string& bytes) {
        write(bytes);
        VehicleArchive m = mas();
        try {
            m.loadFile(archivePath());
        } catch (const VehicleArchiveError& e) {
            return e.what();
        }
        return "(loaded)";
    }
};

MasBuilder threeCars() {
    MasBuilder b;
    b.add("CAR1.VEH", vehicleText("First Car", "GT", "100"))
        .add("CAR2.VEH", vehicleText("Second Car", "Rally"))
        .add("CAR3.VEH", vehicleText("Third Car", "GT", "300"));
    return b;
}

std::vector<std::string> names(const VehicleArchive& m) {
    std::vector<std::string> out;
    for (const auto& e : *m.Entries)
        out.push_back(e.Name);
    return out;
}

} // namespace

TEST(MasFileRead, HeaderAndDirectoryOfAWellFormedArchive) {
    MasFixture f;
    EXPECT_EQ(f.loadError(""), kHeaderEof);
    EXPECT_EQ(f.loadError(std::string(3, '\0')), kHeaderEof);
    EXPECT_EQ(f.loadError(std::string(7, '\0')), kHeaderEof);

    f.write(std::string(8, '\0'));
    VehicleArchive empty = f.mas();
    empty.loadFile(f.archivePath());
    ASSERT_TRUE(empty.Entries.has_value());
    EXPECT_TRUE(empty.Entries->empty());
    EXPECT_TRUE(f.prompt.calls.empty());
    try {
        empty.extractEntry("CAR1.VEH", true);
        ADD_FAILURE();
    } catch (const VehicleArchiveError& e) {
        EXPECT_STREQ(e.what(), "No entries found in vehicle.mas file.");
    }

    const MasBuilder b = threeCars();
    f.write(b.bytes());
    VehicleArchive m = f.mas();
    m.loadFile(f.archivePath());
    EXPECT_TRUE(f.prompt.calls.empty());
    EXPECT_EQ(m.FileName, f.archivePath());
    EXPECT_EQ(m.EntryCount, 3u);
    EXPECT_EQ(m.DataStart, 8u + 3 * 32);
    EXPECT_EQ(m.ExpectedSize, b.bytes().size());
    EXPECT_EQ(m.DataSize, b.bytes().size() - m.DataStart);
    ASSERT_EQ(names(m), (std::vector<std::string>{"CAR1.VEH", "CAR2.VEH", "CAR3.VEH"}));
    const ArchiveEntry& second = (*m.Entries)[1];
    EXPECT_EQ(second.DescFile, "Second Car");
    EXPECT_EQ(second.DescClass, "Rally");
    EXPECT_EQ(second.UnlockPoints, "");
    EXPECT_EQ(second.Offset, b.offsets()[1]);
    EXPECT_EQ(second.Size, vehicleText("Second Car", "Rally").size());
    EXPECT_EQ((*m.Entries)[2].UnlockPoints, "300");
    EXPECT_EQ(m.entryBytes("car2.veh"), vehicleText("Second Car", "Rally"));

    m.unload();
    EXPECT_FALSE(m.Stream.has_value());
    EXPECT_FALSE(m.Entries.has_value());
}

TEST(MasFileRead, SizeQuestionGuardsAMismatchedHeader) {
    MasFixture f;
    // Three records announced, one present.
    const std::string bytes = MasBuilder().add("CAR1.VEH", vehicleText("A", "B")).entryCount(3).bytes();
    f.prompt.answer(PromptAnswer::No);
    EXPECT_EQ(f.loadError(bytes), "MAS File load aborted.");
    ASSERT_EQ(f.prompt.questions().size(), 1u);
    const auto q = f.prompt.questions()[0];
    EXPECT_EQ(q.title, "QORA MAS Scan");
    EXPECT_EQ(q.text, kSizeQuestion);
    EXPECT_EQ(q.buttons, PromptButtons::YesNo);
    EXPECT_EQ(q.icon, PromptIcon::Stop);
    EXPECT_EQ(q.defaultButton, PromptAnswer::Yes);

    f.prompt.answer(PromptAnswer::Yes);
    EXPECT_EQ(f.loadError(MasBuilder().entryCount(3).bytes()), kEntryEof);

    // Yes with intact records but bytes after the data region: the entries are read.
    f.prompt.answer(PromptAnswer::Yes);
    f.write(threeCars().trailing("junk").bytes());
    VehicleArchive m = f.mas();
    m.loadFile(f.archivePath());
    EXPECT_EQ(m.Entries->size(), 3u);
}

TEST(MasFileRead, EveryEntryButTheDefaultNeedsNameAndClass) {
    MasFixture f;
    const std::string noDesc = "//DescClass=GT\r\n";
    const std::string noClass = "//DescFile=Car\r\n// DescClass=GT\r\n";
    EXPECT_EQ(f.loadError(MasBuilder().add("A.VEH", vehicleText("A", "GT")).add("B.VEH", noDesc).bytes()),
              "FATAL: File [B.VEH] contains no valid Vehicle Description (car name).  Your vehicle.mas file may be "
              "corrupt.");
    EXPECT_EQ(f.loadError(MasBuilder().add("C.VEH", noClass).bytes()),
              "FATAL: File [C.VEH] contains no valid Vehicle Class (car class).  Your vehicle.mas file may be "
              "corrupt.");
    EXPECT_EQ(f.loadError(MasBuilder().add("", vehicleText("A", "GT")).bytes()),
              "FATAL: A vehicle entry in your vehicle.mas file is missing a filename.  Your vehicle.mas file may be "
              "corrupt.");

    // The default vehicle in any letter case needs no keys; a 16-character name has no NUL and is kept whole.
    f.write(MasBuilder()
                .add("default.vhs", "[BODY]\r\n")
                .add("Default.Vhs", "")
                .add("SIXTEEN_CHARS.VE", vehicleText("Long", "GT"))
                .bytes());
    VehicleArchive m = f.mas();
    m.loadFile(f.archivePath());
    EXPECT_EQ(names(m), (std::vector<std::string>{"default.vhs", "Default.Vhs", "SIXTEEN_CHARS.VE"}));
    EXPECT_EQ((*m.Entries)[0].DescFile, "");
}

TEST(MasFileRead, DescriptionValuesFollowTheCommentRules) {
    auto value = [](std::string_view data, std::string_view key = "DescFile=", std::size_t limit = 255) {
        return VehicleArchive::descriptionValue(data, key, limit);
    };
    EXPECT_EQ(value("[BODY]\r\n//descfile=Blue Car   \t\r\nx"), "Blue Car");
    EXPECT_EQ(value("//DescFile=Blue Car // the fast one\r\n"), "Blue Car");
    EXPECT_EQ(value("//DescFile=A/B\n"), "A/B");
    EXPECT_EQ(value("mass=1\n//DescFile=At the end"), "At the end");
    EXPECT_EQ(value("// DescFile=Spaced\r\n"), "");
    EXPECT_EQ(value("//DescFile=First\r\n//DescFile=Second\r\n"), "First");
    EXPECT_EQ(value("//Description\r\n//DescFile=Later\r\n"), "Later");
    EXPECT_EQ(value("//DescFi"), "");
    EXPECT_EQ(value("//DescFile="), "");
    EXPECT_EQ(value(""), "");
    EXPECT_EQ(value("//UNLOCKPOINTS=250\r\n", "UnlockPoints="), "250");

    // The limit counts the characters taken before the value's end, blanks included.
    EXPECT_EQ(value("//DescClass=" + std::string(63, 'c') + "\r\n", "DescClass=", 64), std::string(63, 'c'));
    EXPECT_EQ(value("//DescClass=" + std::string(64, 'c') + "\r\n", "DescClass=", 64), "");
    EXPECT_EQ(value("//DescClass=" + std::string(62, 'c') + "  \r\n", "DescClass=", 64), "");
    EXPECT_EQ(value("//DescFile=" + std::string(254, 'n')), std::string(254, 'n'));
    EXPECT_EQ(value("//DescFile=" + std::string(255, 'n')), "");

    // A class of 64 characters counts as missing and stops the load.
    MasFixture f;
    EXPECT_EQ(f.loadError(MasBuilder().add("LONG.VEH", vehicleText("Car", std::string(64, 'x'))).bytes()),
              "FATAL: File [LONG.VEH] contains no valid Vehicle Class (car class).  Your vehicle.mas file may be "
              "corrupt.");
}

TEST(MasFileRead, LocatesTheArchiveInTheGameFolderOrThroughTheDialog) {
    MasFixture f;
    const std::string bytes = threeCars().bytes();
    writeBytes(f.dir.file("game/Dat/VEHICLE.MAS"), bytes);
    {
        VehicleArchive m = f.mas();
        ASSERT_TRUE(m.load());
        EXPECT_TRUE(browser::samePath(m.FileName, f.dir.file("game/Dat/VEHICLE.MAS"))) << m.FileName;
        EXPECT_EQ(m.Entries->size(), 3u);
        EXPECT_TRUE(f.picker.calls.empty());
    }

    // A folder where the archive should be.
    fs::remove(f.dir.file("game/Dat/VEHICLE.MAS"));
    fs::create_directory(f.archivePath());
    {
        VehicleArchive m = f.mas();
        try {
            m.load();
            ADD_FAILURE();
        } catch (const VehicleArchiveError& e) {
            EXPECT_EQ(e.what(), "The specified vehicle.mas file was invalid -> [" + f.archivePath() + "].");
        }
        try {
            m.loadFile(f.archivePath());
            ADD_FAILURE();
        } catch (const VehicleArchiveError& e) {
            EXPECT_EQ(e.what(), "The specified vehicle.mas file was invalid -> [" + f.archivePath() + "].");
        }
    }

    // Without "Dat" the dialog is shown; cancelling returns false without a message.
    f.settings.gameFolder = f.dir.file("nowhere");
    fs::create_directories(f.dir.file("mods"));
    writeBytes(f.dir.file("mods/vehicle.mas"), bytes);
    f.picker.answers = {std::nullopt, f.dir.file("mods/anything.txt"), f.dir.file("gone/vehicle.mas"),
                        f.dir.file("game/x")};
    VehicleArchive m = f.mas();
    EXPECT_FALSE(m.load());
    ASSERT_EQ(f.picker.calls.size(), 1u);
    EXPECT_EQ(f.picker.calls[0], (std::vector<std::string>{"Locate Your Vehicle.Mas File", "Vehicle Mas File",
                                                           "vehicle.mas", "mas", f.dir.file("nowhere")}));
    EXPECT_TRUE(f.prompt.calls.empty());

    // Only the chosen file's folder counts.
    ASSERT_TRUE(m.load());
    EXPECT_TRUE(browser::samePath(m.FileName, f.dir.file("mods/vehicle.mas"))) << m.FileName;
    EXPECT_EQ(m.Entries->size(), 3u);

    // The archive located by hand is remembered: the next load asks nothing, until the file is gone.
    EXPECT_TRUE(browser::samePath(f.settings.archiveFile, f.dir.file("mods/vehicle.mas"))) << f.settings.archiveFile;
    {
        VehicleArchive again = f.mas();
        ASSERT_TRUE(again.load());
        EXPECT_TRUE(browser::samePath(again.FileName, f.dir.file("mods/vehicle.mas"))) << again.FileName;
        EXPECT_EQ(f.picker.calls.size(), 2u);
    }
    fs::remove(f.dir.file("mods/vehicle.mas"));

    VehicleArchive gone = f.mas();
    try {
        gone.load();
        ADD_FAILURE();
    } catch (const VehicleArchiveError& e) {
        EXPECT_EQ(e.what(), "The specified vehicle.mas file was invalid Folder-> [" + f.dir.file("gone") + "],.");
    }
    try {
        gone.load();
        ADD_FAILURE();
    } catch (const VehicleArchiveError& e) {
        EXPECT_EQ(e.what(), "The specified vehicle.mas file was invalid -> [" + f.dir.file("game/Vehicle.Mas") + "].");
    }

#ifndef _WIN32
    // Without a game folder, after "Not now", nothing is asked: the browser works with folders only. (On Windows
    // the game's installer writes its folder into the registry: a missing one is reported every time.)
    f.settings.gameFolder.clear();
    f.settings.gameFolderNotNow = true;
    const std::size_t dialogs = f.picker.calls.size();
    VehicleArchive withoutGame = f.mas();
    EXPECT_FALSE(withoutGame.load());
    EXPECT_EQ(f.picker.calls.size(), dialogs);
    EXPECT_TRUE(f.prompt.calls.empty());
#endif
}

TEST(MasFileExtract, TargetNamesAndTheOverwriteQuestion) {
    MasFixture f;
    f.write(threeCars().bytes());
    VehicleArchive m = f.mas();
    try {
        m.extractEntry("CAR1.VEH", false);
        ADD_FAILURE();
    } catch (const VehicleArchiveError& e) {
        EXPECT_STREQ(e.what(), "No vehicle.mas data loaded into memory.");
    }
    m.loadFile(f.archivePath());

    const std::string working = m.extractEntry("car2.veh", false);
    EXPECT_EQ(working, f.masVeh("vehiclemas=car2.veh"));
    EXPECT_EQ(readBytes(working), vehicleText("Second Car", "Rally"));
    EXPECT_EQ(m.extractEntry("CAR1.VEH", true), f.masVeh("ghostmas=CAR1.VEH"));
    EXPECT_EQ(m.extractEntry("CAR1.VEH", true), f.masVeh("ghostmas=CAR1.VEH"));
    EXPECT_EQ(m.extractEntry("CAR3.VEH~temp~", false), f.masVeh("~temp~.txt"));
    EXPECT_EQ(readBytes(f.masVeh("~temp~.txt")), vehicleText("Third Car", "GT", "300"));
    EXPECT_EQ(m.extractEntry("CAR1.VEH~temp~", true), f.masVeh("~temp~.txt"));
    EXPECT_EQ(readBytes(f.masVeh("~temp~.txt")), vehicleText("First Car", "GT", "100"));
    EXPECT_TRUE(f.prompt.calls.empty()) << "ghost and throwaway copies are replaced without a question";

    // The working copy holds saved edits: No keeps them, Yes replaces them.
    writeBytes(working, "edited");
    f.prompt.answer(PromptAnswer::No).answer(PromptAnswer::Yes);
    EXPECT_EQ(m.extractEntry("car2.veh", false), working);
    EXPECT_EQ(readBytes(working), "edited");
    ASSERT_EQ(f.prompt.questions().size(), 1u);
    const auto q = f.prompt.questions()[0];
    EXPECT_EQ(q.title, "QORA Mas Extraction");
    EXPECT_EQ(q.text, "You have already extracted the file 'car2.veh' for editing.  Select [Yes] to extract the "
                      "requested file, thus overwriting the existing file or select [No] to load the existing file.");
    EXPECT_EQ(q.buttons, PromptButtons::YesNo);
    EXPECT_EQ(q.icon, PromptIcon::Exclamation);
    EXPECT_EQ(q.defaultButton, PromptAnswer::Yes);
    EXPECT_EQ(m.extractEntry("car2.veh", false), working);
    EXPECT_EQ(readBytes(working), vehicleText("Second Car", "Rally"));

    try {
        m.extractEntry("CAR9.VEH", true);
        ADD_FAILURE();
    } catch (const VehicleArchiveError& e) {
        EXPECT_EQ(e.what(), kNotLocated);
    }

    // Without a program folder there is no working-copy folder: nothing lands in the current folder.
    Settings bare;
    VehicleArchive loose(bare, f.prompt, f.picker);
    loose.loadFile(f.archivePath());
    try {
        loose.extractEntry("CAR1.VEH", true);
        ADD_FAILURE();
    } catch (const VehicleArchiveError& e) {
        EXPECT_STREQ(e.what(), "No folder for the working copies of vehicle.mas entries is known (the program "
                               "folder is not set).");
    }
}

TEST(MasFileExtract, EntryNamesAreNeverPaths) {
    MasFixture f;
    f.write(MasBuilder()
                .add("../escape.veh", vehicleText("A", "GT"))
                .add("sub/car.veh", vehicleText("B", "GT"))
                .add("c:car.veh", vehicleText("C", "GT"))
                .add("back\\car.veh", vehicleText("D", "GT"))
                .bytes());
    VehicleArchive m = f.mas();
    m.loadFile(f.archivePath());
    EXPECT_EQ(m.Entries->size(), 4u) << "names are data: the archive still loads";
    for (const auto& e : *m.Entries) {
        for (const std::string& request : {e.Name, e.Name + "~temp~"}) {
            for (bool ghost : {false, true}) {
                try {
                    m.extractEntry(request, ghost);
                    ADD_FAILURE() << request;
                } catch (const VehicleArchiveError& x) {
                    EXPECT_EQ(x.what(), "The vehicle.mas entry name [" + e.Name +
                                            "] is not a plain file name (it holds \"/\", \"\\\", \":\" or \"..\") "
                                            "and is never used to name a file.  Extraction cancelled.");
                }
            }
        }
    }
    EXPECT_FALSE(fs::exists(f.dir.file("prog/escape.veh")));
    EXPECT_FALSE(fs::exists(f.dir.file("prog/MasVeh/vehiclemas=sub")));
    EXPECT_EQ(m.entryBytes("../ESCAPE.VEH"), vehicleText("A", "GT"));
    EXPECT_TRUE(VehicleArchive::isPlainEntryName("CAR.1.VEH"));
}

TEST(MasFileWrite, GrowingAnEntryMovesTheLaterOnesInADirectoryOrderedArchive) {
    MasFixture f;
    const MasBuilder before = threeCars();
    f.write(before.bytes());
    const std::string longer = vehicleText("Second Car", "Rally") + std::string(100, 'x');

    VehicleArchive m = f.mas();
    m.loadFile(f.archivePath());
    ASSERT_TRUE(m.replaceEntry("car2.veh", longer));
    EXPECT_FALSE(m.Stream.has_value()) << "a written archive is no longer the one in memory";

    const std::string after = readBytes(f.archivePath());
    const std::string old = before.bytes();
    EXPECT_EQ(after.size(), old.size() + 100);
    EXPECT_EQ(u32At(after, 0), 3u);
    EXPECT_EQ(u32At(after, 4), u32At(old, 4) + 100);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t r = 8 + 32 * i;
        SCOPED_TRACE(i);
        EXPECT_EQ(after.substr(r, 16), old.substr(r, 16));
        EXPECT_EQ(u32At(after, r + 16), u32At(old, r + 16) + (i == 2 ? 100 : 0));
        EXPECT_EQ(u32At(after, r + 20), u32At(old, r + 20) + (i == 1 ? 100 : 0));
        EXPECT_EQ(u32At(after, r + 24), u32At(after, r + 20));
        EXPECT_EQ(u32At(after, r + 28), 0u);
    }
    EXPECT_EQ(after, MasBuilder()
                         .add("CAR1.VEH", vehicleText("First Car", "GT", "100"))
                         .add("CAR2.VEH", longer)
                         .add("CAR3.VEH", vehicleText("Third Car", "GT", "300"))
                         .bytes());

    // Writing the entry's own bytes back reproduces the archive byte for byte.
    writeBytes(f.archivePath(), old);
    m.loadFile(f.archivePath());
    ASSERT_TRUE(m.replaceEntry("CAR2.VEH", vehicleText("Second Car", "Rally")));
    EXPECT_EQ(readBytes(f.archivePath()), old);
    EXPECT_EQ(namesIn(f.dir.file("game/Dat")).size(), 1u) << "no temporary file is left behind";
}

TEST(MasFileWrite, SaveEntryRereadsTheArchiveAndWritesTheWorkingCopyBack) {
    MasFixture f;
    f.write(threeCars().bytes());
    {
        VehicleArchive m = f.mas();
        ASSERT_TRUE(m.load());
        writeBytes(m.extractEntry("car1.veh", false), vehicleText("Renamed", "GT", "100"));
    }
    // Another program changed the archive meanwhile: the write-back starts from the archive on disk.
    f.write(MasBuilder()
                .add("CAR1.VEH", vehicleText("First Car", "GT", "100"))
                .add("NEW.VEH", vehicleText("N", "X"))
                .bytes());
    VehicleArchive m = f.mas();
    ASSERT_TRUE(m.saveEntry("car1.veh"));
    EXPECT_FALSE(m.Stream.has_value());
    EXPECT_EQ(readBytes(f.archivePath()), MasBuilder()
                                              .add("CAR1.VEH", vehicleText("Renamed", "GT", "100"))
                                              .add("NEW.VEH", vehicleText("N", "X"))
                                              .bytes());

    // An entry that vanished: the message, false, and the archive untouched.
    const std::string now = readBytes(f.archivePath());
    writeBytes(f.masVeh("vehiclemas=CAR3.VEH"), "text");
    EXPECT_FALSE(m.saveEntry("CAR3.VEH"));
    EXPECT_FALSE(m.Stream.has_value());
    ASSERT_EQ(f.prompt.messages().size(), 1u);
    EXPECT_EQ(f.prompt.messages()[0].title, "QORA MAS Reader");
    EXPECT_EQ(f.prompt.messages()[0].text,
              "File [CAR3.VEH] was not found in vehicle.mas file.  If you wish to insert/delete objects in a MAS file, "
              "use a MAS reader/writer which is specifically designed for this purpose.  Save cancelled.");
    EXPECT_EQ(f.prompt.messages()[0].icon, PromptIcon::Stop);

    // An unreadable working copy: the message, then the file error goes on.
    EXPECT_THROW(m.saveEntry("NEW.VEH"), FileError);
    EXPECT_FALSE(m.Stream.has_value());
    ASSERT_EQ(f.prompt.messages().size(), 2u);
    EXPECT_EQ(f.prompt.messages()[1].title, "QORA Veh File Load");
    EXPECT_EQ(f.prompt.messages()[1].text,
              f.masVeh("vehiclemas=NEW.VEH") + " could not be loaded into memory.  File save to vehicle.mas aborted.");
    EXPECT_EQ(readBytes(f.archivePath()), now);

    // The locate dialog cancelled: false and nothing else.
    f.settings.gameFolder = f.dir.file("nowhere");
    f.picker.answers = {std::nullopt};
    EXPECT_FALSE(m.saveEntry("CAR1.VEH"));
    EXPECT_EQ(f.prompt.messages().size(), 2u);
}

TEST(MasFileWrite, EntriesAfterTheEditedDataMoveWhateverTheirDirectoryPlace) {
    MasFixture f;
    // Data region in the order C, B, A: A's data lies after B's although it comes first in the directory.
    const std::vector<std::string> texts = {vehicleText("A", "GT") + std::string(40, 'a'),
                                            vehicleText("B", "GT") + std::string(10, 'b'),
                                            vehicleText("C", "GT") + std::string(70, 'c')};
    const std::string old =
        MasBuilder().add("A.VEH", texts[0]).add("B.VEH", texts[1]).add("C.VEH", texts[2]).dataOrder({2, 1, 0}).bytes();
    for (const std::string& replacement : {texts[1] + std::string(500, 'B'), vehicleText("B", "GT", "", "")}) {
        f.write(old);
        VehicleArchive m = f.mas();
        m.loadFile(f.archivePath());
        ASSERT_TRUE(m.replaceEntry("B.VEH", replacement));
        m.loadFile(f.archivePath());
        EXPECT_EQ(m.entryBytes("A.VEH"), texts[0]);
        EXPECT_EQ(m.entryBytes("B.VEH"), replacement);
        EXPECT_EQ(m.entryBytes("C.VEH"), texts[2]);
        EXPECT_EQ((*m.Entries)[2].Offset, 0u) << "data before the edited entry keeps its place";
        EXPECT_EQ(m.ExpectedSize, readBytes(f.archivePath()).size());
    }

    // Two names for the same bytes: writing one back would change the other, so nothing is written.
    const std::string shared = MasBuilder()
                                   .add("A.VEH", texts[0])
                                   .add({"ALIAS.VEH", "", 0u, static_cast<std::uint32_t>(texts[0].size()), {}, 0})
                                   .bytes();
    f.write(shared);
    VehicleArchive m = f.mas();
    m.loadFile(f.archivePath());
    try {
        m.replaceEntry("ALIAS.VEH", "x");
        ADD_FAILURE();
    } catch (const VehicleArchiveError& e) {
        EXPECT_STREQ(e.what(), "File [ALIAS.VEH] shares its data in vehicle.mas with file [A.VEH].  Writing it back "
                               "would damage that file.  Save cancelled.");
    }
    EXPECT_EQ(readBytes(f.archivePath()), shared);
}

TEST(MasFileWrite, AFailedWriteLeavesTheArchiveAsItWas) {
    MasFixture f;
    const std::string path = f.write(threeCars().bytes());
    const std::string original = readBytes(path);
    FailingFileSystem failing;
    ScopedFileSystem scoped(failing);
    const std::string expected =
        "The vehicle.mas file [" + path +
        "] could not be written: No space left on device.  It has been left as it was.  Make room on the disk or "
        "check that the folder may be written to, then save again.";

    for (int mode = 0; mode < 2; ++mode) {
        SCOPED_TRACE(mode);
        failing.failWritesAfterBytes = mode == 0 ? 50 : -1;
        failing.failRenames = mode == 1;
        VehicleArchive m = f.mas();
        m.loadFile(path);
        try {
            m.replaceEntry("CAR1.VEH", std::string(300, 'n'));
            ADD_FAILURE();
        } catch (const VehicleArchiveError& e) {
            if (mode == 0)
                EXPECT_EQ(e.what(), expected);
            else
                EXPECT_EQ(e.what(), "The vehicle.mas file [" + path +
                                        "] could not be written: Input/output error.  It has been left as it was.  "
                                        "Make room on the disk or check that the folder may be written to, then save "
                                        "again.");
        }
        EXPECT_EQ(readBytes(path), original);
        EXPECT_EQ(namesIn(f.dir.file("game/Dat")).size(), 1u);
    }
}

TEST(MasFileRead, OffsetsAndSizesAreCheckedAgainstTheFile) {
    MasFixture f;
    const std::string text = vehicleText("Car", "GT");
    auto broken = [&](std::optional<std::uint32_t> offset, std::optional<std::uint32_t> size) {
        return MasBuilder().add("OK.VEH", text).add({"BAD.VEH", text, offset, size, {}, 0}).bytes();
    };
    EXPECT_EQ(f.loadError(broken({}, 0xFFFFFFFFu)), readError("BAD.VEH"));
    EXPECT_EQ(f.loadError(broken(0xFFFFFFF0u, 0x20u)), readError("BAD.VEH"));
    EXPECT_EQ(f.loadError(broken(static_cast<std::uint32_t>(text.size()) + 1, {})), readError("BAD.VEH"));

    // Sizes the header cannot back: asked about, then stopped at the first record that is not there.
    f.prompt.answer(PromptAnswer::Yes).answer(PromptAnswer::Yes).answer(PromptAnswer::Yes);
    EXPECT_EQ(f.loadError(MasBuilder().entryCount(0xFFFFFFFFu).dataSize(0xFFFFFFFFu).bytes()), kEntryEof);
    EXPECT_EQ(f.loadError(MasBuilder().add("OK.VEH", text).entryCount(0x7FFFFFFFu).bytes()), readError("OK.VEH"));
    // 32 * 0x08000000 is 2^32: in 32 bits the header would seem to match the file's length.
    const std::string wrapped = MasBuilder().entryCount(0x08000000u).bytes();
    EXPECT_EQ(f.loadError(wrapped), kEntryEof);
    EXPECT_EQ(f.prompt.questions().size(), 3u);
    EXPECT_EQ(f.prompt.unusedAnswers(), 0u);

    // A load that stopped half-way keeps what it read, but nothing can be written back from it.
    const std::string half = broken({}, 0xFFFFFFFFu);
    f.write(half);
    VehicleArchive m = f.mas();
    EXPECT_THROW(m.loadFile(f.archivePath()), VehicleArchiveError);
    ASSERT_EQ(m.Entries->size(), 1u);
    try {
        m.replaceEntry("OK.VEH", "x");
        ADD_FAILURE();
    } catch (const VehicleArchiveError& e) {
        EXPECT_STREQ(e.what(), "No vehicle.mas data loaded into memory.");
    }
    EXPECT_EQ(readBytes(f.archivePath()), half);
}
