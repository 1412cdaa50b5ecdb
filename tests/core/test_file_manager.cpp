#include <gtest/gtest.h>

#include <filesystem>

#include "browser/file_manager.h"
#include "platform/file_system.h"
#include "settings/settings.h"
#include "support/failing_file_system.h"
#include "support/scripted_folder_picker.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace qora;
using namespace qora::browser;
using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

const std::string kNoDelete = "Cannot delete file [";

// A source folder holding the vehicle g01b.veh with its companions and an unrelated file; a destination folder.
struct ManagerFixture {
    TempDir dir;
    ScriptedPrompt prompt;
    ScriptedFolderPicker picker;
    Settings settings;
    FileManager manager{settings, prompt, picker};
    std::string source = dir.file("src");
    std::string target = dir.file("dst");
    std::vector<std::vector<std::string>> offered; // every list the check-list dialog showed

    ManagerFixture() {
        settings.setPrompt(prompt);
        settings.moveToFolder = dir.file("last");
        fs::create_directories(source);
        fs::create_directories(target);
        for (const char* name : {"g01b.veh", "g01b.veb", "g01b.vex", "g01bside.bmp", "g01b.txt", "other.veh"})
            writeBytes(in(source, name), std::string("bytes of ") + name);
    }

    static std::string in(const std::string& folder, const std::string& name) { return joinPath(folder, name); }
    bool exists(const std::string& folder, const std::string& name) const { return fs::exists(in(folder, name)); }

    // The check-list dialog: records the list, unticks the given names, then OK (or Cancel).
    ConfirmFiles confirm(std::vector<std::string> untick = {}, bool ok = true) {
        return [this, untick, ok](CheckList& list) {
            offered.push_back(list.items());
            for (std::size_t i = 0; i < list.items().size(); ++i) {
                EXPECT_TRUE(list.isChecked(i));
                if (std::find(untick.begin(), untick.end(), list.items()[i]) != untick.end())
                    list.setChecked(i, false);
            }
            return ok;
        };
    }
};

const std::vector<std::string> kCompanions{"g01b.txt", "g01b.veb", "g01b.veh", "g01b.vex", "g01bside.bmp"};

} // namespace

TEST(CompanionFiles, BitmapsOfTheCodeAndFilesOfTheBaseInAnyCase) {
    TempDir dir;
    for (const char* name : {"g01b.veh", "G01B.VEB", "g01b.vex", "G01BSIDE.BMP", "g01b.txt", "g01bx.veh", "g01c.bmp",
                             "ab.veh", "AB.VEX", "ab.vfront.bmp", "ab.bmp", "ax.veh"})
        writeBytes(dir.file(name), "x");
    fs::create_directories(dir.file("g01b.old"));

    EXPECT_EQ(companionFiles(dir.path(), "g01b.veh"),
              (std::vector<std::string>{"g01b.txt", "G01B.VEB", "g01b.veh", "g01b.vex", "G01BSIDE.BMP"}));
    // Fewer than four characters before the extension: the code takes the dot and what follows.
    EXPECT_EQ(companionFiles(dir.path(), "ab.veh"),
              (std::vector<std::string>{"ab.bmp", "ab.veh", "AB.VEX", "ab.vfront.bmp"}));
#ifndef _WIN32
    // The name's characters are not wildcards ("*" cannot be part of a name on Windows).
    writeBytes(dir.file("*x.veh"), "x");
    EXPECT_EQ(companionFiles(dir.path(), "*x.veh"), (std::vector<std::string>{"*x.veh"}));
#endif
}

TEST(CompanionFiles, CheckListEnablesOkOnlyWithATick) {
    CheckList list({"a", "b", "c"});
    EXPECT_FALSE(list.okEnabled());
    list.setAllChecked(true);
    EXPECT_TRUE(list.okEnabled());
    list.setChecked(1, false);
    EXPECT_EQ(list.checkedItems(), (std::vector<std::string>{"a", "c"}));
    list.setAllChecked(false);
    EXPECT_FALSE(list.okEnabled());
}

TEST(FileManagerDelete, DeletesTheTickedFilesAfterTheWarning) {
    ManagerFixture f;
    EXPECT_FALSE(f.manager.deleteVehicle(f.source, "g01b.veh", f.confirm({}, false)));
    EXPECT_TRUE(f.exists(f.source, "g01b.veh"));

    EXPECT_TRUE(f.manager.deleteVehicle(f.source, "g01b.veh", f.confirm({"g01b.txt"})));
    EXPECT_EQ(f.offered.back(), kCompanions);
    for (const std::string& name : kCompanions)
        EXPECT_EQ(f.exists(f.source, name), name == "g01b.txt") << name;
    EXPECT_TRUE(f.exists(f.source, "other.veh"));

    ASSERT_EQ(f.prompt.calls.size(), 2u);
    EXPECT_EQ(f.prompt.calls[1].title, "QORA Vehicle Manager");
    EXPECT_EQ(f.prompt.calls[1].icon, PromptIcon::Exclamation);
    EXPECT_EQ(f.prompt.calls[1].text,
              "The vehicle and its associated files are PERMANENTLY deleted and are NOT copied to the recycle bin.  "
              "Ensure that the list of files that will appear in the following dialog, are correct before deleting "
              "them.");
}

TEST(FileManagerDelete, AFileThatCannotBeDeletedIsReportedAndTheRestGoes) {
    ManagerFixture f;
    FailingFileSystem failing;
    failing.failRemoves = true;
    failing.filter = [](const std::string& path) { return fileNameOf(path) == "g01b.veb"; };
    ScopedFileSystem scoped(failing);

    EXPECT_TRUE(f.manager.deleteVehicle(f.source, "g01b.veh", f.confirm()));
    EXPECT_TRUE(f.exists(f.source, "g01b.veb"));
    EXPECT_FALSE(f.exists(f.source, "g01b.veh"));
    EXPECT_FALSE(f.exists(f.source, "g01bside.bmp"));
    EXPECT_EQ(f.prompt.calls.back().title, "QORA File Manager");
    EXPECT_EQ(f.prompt.calls.back().text, kNoDelete + ManagerFixture::in(f.source, "g01b.veb") + "].");
    EXPECT_EQ(f.prompt.calls.back().icon, PromptIcon::Stop);
}

TEST(FileManagerCopy, RefusesTheSourceFolderBeforeTheCheckList) {
    ManagerFixture f;
    f.picker.cancel().choose(f.source + "/").choose(f.target + "/../src");
#ifndef _WIN32
    // A link to the source folder is the source folder (Windows makes links for administrators only).
    fs::create_symlink(f.source, f.dir.file("alias"));
    f.picker.choose(f.dir.file("alias"));
    constexpr int kNamesOfTheSource = 3;
#else
    constexpr int kNamesOfTheSource = 2;
#endif

    EXPECT_FALSE(f.manager.copyVehicle(f.source, "g01b.veh", f.confirm()));
    for (int i = 0; i < kNamesOfTheSource; ++i) {
        EXPECT_FALSE(f.manager.copyVehicle(f.source, "g01b.veh", f.confirm()));
        EXPECT_EQ(f.prompt.calls.back().text, "The destination folder must not be the same as the source folder.");
        EXPECT_EQ(f.prompt.calls.back().title, "QORA File Manager");
    }
    EXPECT_TRUE(f.offered.empty());
    EXPECT_EQ(f.picker.calls[0].caption, "Choose Destination Folder");
    EXPECT_EQ(f.picker.calls[0].startFolder, f.dir.file("last"));
    EXPECT_EQ(f.settings.moveToFolder, f.dir.file("last"));
    EXPECT_EQ(namesIn(f.source).size(), 6u) << "a probe was left";
}

TEST(FileManagerCopy, CopiesTheTickedFilesAndAsksBeforeReplacing) {
    ManagerFixture f;
    writeBytes(f.in(f.target, "g01b.veb"), "old veb");
    writeBytes(f.in(f.target, "g01b.vex"), "old vex");
    f.picker.choose(f.target);
    f.prompt.answer(PromptAnswer::No).answer(PromptAnswer::Yes);

    EXPECT_FALSE(f.manager.copyVehicle(f.source, "g01b.veh", f.confirm({"g01b.txt"})));
    EXPECT_EQ(f.settings.moveToFolder, f.target);
    EXPECT_EQ(readBytes(f.in(f.target, "g01b.veb")), "old veb");
    EXPECT_EQ(readBytes(f.in(f.target, "g01b.vex")), "bytes of g01b.vex");
    EXPECT_EQ(readBytes(f.in(f.target, "g01b.veh")), "bytes of g01b.veh");
    EXPECT_TRUE(f.exists(f.target, "g01bside.bmp"));
    EXPECT_FALSE(f.exists(f.target, "g01b.txt"));
    for (const std::string& name : kCompanions)
        EXPECT_TRUE(f.exists(f.source, name));
    ASSERT_EQ(f.prompt.calls.size(), 2u);
    EXPECT_EQ(f.prompt.calls[0].text, "File [g01b.veb] already exists in destination folder.  Overwrite?");
    EXPECT_EQ(f.prompt.calls[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(f.prompt.calls[0].icon, PromptIcon::Exclamation);

    // Cancel stops the whole operation; what was done stays done.
    fs::remove(f.in(f.target, "g01bside.bmp"));
    f.picker.choose(f.target);
    f.prompt.answer(PromptAnswer::Cancel);
    f.manager.copyVehicle(f.source, "g01b.veh", f.confirm());
    EXPECT_FALSE(f.exists(f.target, "g01bside.bmp"));

    // Without general warnings existing files are replaced silently.
    f.settings.generalWarnings = false;
    f.picker.choose(f.target);
    const std::size_t questions = f.prompt.calls.size();
    f.manager.copyVehicle(f.source, "g01b.veh", f.confirm());
    EXPECT_EQ(readBytes(f.in(f.target, "g01b.veb")), "bytes of g01b.veb");
    EXPECT_EQ(f.prompt.calls.size(), questions);
}

TEST(FileManagerCopy, AFailedCopyLeavesSourceAndTargetAsTheyWere) {
    for (const bool silentDamage : {false, true}) {
        ManagerFixture f;
        f.settings.generalWarnings = false;
        writeBytes(f.in(f.target, "g01b.veh"), "old target");
        FailingFileSystem failing;
        (silentDamage ? failing.truncateCopies : failing.failCopies) = true;
        failing.filter = [&f](const std::string& path) { return parentFolder(path) == f.target; };
        ScopedFileSystem scoped(failing);
        f.picker.choose(f.target);

        f.manager.copyVehicle(f.source, "g01b.veh", f.confirm());
        EXPECT_EQ(f.prompt.calls.size(), kCompanions.size());
        EXPECT_EQ(f.prompt.calls[2].text, "Cannot copy file [" + ManagerFixture::in(f.source, "g01b.veh") + "].");
        EXPECT_EQ(readBytes(f.in(f.target, "g01b.veh")), "old target");
        EXPECT_EQ(readBytes(f.in(f.source, "g01b.veh")), "bytes of g01b.veh");
        // Nothing but the old target: no half copy, no temporary file.
        EXPECT_EQ(namesIn(f.target).size(), 1u);
    }
}

TEST(FileManagerMove, MovesByRenameOrByCopyAndDelete) {
    ManagerFixture f;
    f.picker.choose(f.target);
    EXPECT_TRUE(f.manager.moveVehicle(f.source, "g01b.veh", f.confirm()));
    for (const std::string& name : kCompanions) {
        EXPECT_FALSE(f.exists(f.source, name));
        EXPECT_EQ(readBytes(f.in(f.target, name)), "bytes of " + name);
    }

    // When the rename is refused (another file system), the file is copied and then deleted.
    ManagerFixture g;
    FailingFileSystem failing;
    failing.failRenames = true;
    int renames = 0;
    failing.filter = [&renames](const std::string& path) { return fileNameOf(path) == "g01b.veh" && renames++ == 0; };
    ScopedFileSystem scoped(failing);
    g.picker.choose(g.target);
    EXPECT_TRUE(g.manager.moveVehicle(g.source, "g01b.veh", g.confirm()));
    EXPECT_FALSE(g.exists(g.source, "g01b.veh"));
    EXPECT_EQ(readBytes(g.in(g.target, "g01b.veh")), "bytes of g01b.veh");
    EXPECT_TRUE(g.prompt.calls.empty());
}

TEST(FileManagerMove, NeverDeletesASourceThatWasNotCopied) {
    ManagerFixture f;
    FailingFileSystem failing;
    failing.failRenames = true;
    failing.failCopies = true;
    failing.filter = [&f](const std::string& path) { return parentFolder(path) == f.target; };
    ScopedFileSystem scoped(failing);
    f.picker.choose(f.target);

    EXPECT_TRUE(f.manager.moveVehicle(f.source, "g01b.veh", f.confirm({"g01b.txt", "g01b.veb", "g01b.vex"})));
    EXPECT_EQ(f.prompt.calls.size(), 2u);
    EXPECT_EQ(f.prompt.calls[0].text, "Cannot copy file [" + ManagerFixture::in(f.source, "g01b.veh") + "].");
    for (const std::string& name : kCompanions)
        EXPECT_EQ(readBytes(f.in(f.source, name)), "bytes of " + name);

    // Copied, but the source cannot be deleted: both stay and the user is told.
    failing.failCopies = false;
    failing.failRemoves = true;
    bool renameRefused = false;
    failing.filter = [&f, &renameRefused](const std::string& path) {
        if (path == ManagerFixture::in(f.source, "g01b.veh"))
            return true; // its delete
        if (path != ManagerFixture::in(f.target, "g01b.veh") || renameRefused)
            return false;
        renameRefused = true; // the move's rename, not the copy's
        return true;
    };
    f.picker.choose(f.target);
    f.manager.moveVehicle(f.source, "g01b.veh", f.confirm({"g01b.txt", "g01b.veb", "g01b.vex", "g01bside.bmp"}));
    EXPECT_EQ(f.prompt.calls.back().text, kNoDelete + ManagerFixture::in(f.source, "g01b.veh") + "].");
    EXPECT_TRUE(f.exists(f.source, "g01b.veh"));
    EXPECT_EQ(readBytes(f.in(f.target, "g01b.veh")), "bytes of g01b.veh");
}
