// Every writer of QORA (vehicle save, archive write-back, qora.ini, registry.ini, Garage versions and notes,
// extraction, file-manager copy and move) through the files modders really have: links, a loop of links,
// read-only and private files, hard links, a full disk, the longest legal name, temporary files left by a killed
// program, pipes. One table of writers, one test per kind of file; docs/fault-injection.md lists the rows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "archive/vehicle_archive.h"
#include "browser/file_manager.h"
#include "garage/version_store.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/ini_registry.h"
#include "platform/pickers.h"
#include "settings/settings.h"
#include "support/failing_file_system.h"
#include "support/mas_builder.h"
#include "support/message_of.h"
#include "support/scripted_folder_picker.h"
#include "support/temp_dir.h"
#include "vehicle/vehicle_file.h"

using namespace qora;
using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

// Answers every question as a user who wants the save to go ahead, except the question whether to save
// without a backup (answered `backupAnswer`), and records what was asked and said.
class RecordingPrompt final : public Prompt {
public:
    PromptAnswer backupAnswer = PromptAnswer::No;
    std::vector<std::string> questions;
    std::vector<std::optional<PromptAnswer>> defaults;
    std::vector<std::string> messages;

    PromptAnswer ask(const std::string&, const std::string& text, PromptButtons buttons, PromptIcon,
                     std::optional<PromptAnswer> defaultButton = std::nullopt) override {
        questions.push_back(text);
        defaults.push_back(defaultButton);
        if (text.find("could not be made") != std::string::npos)
            return backupAnswer;
        return buttons == PromptButtons::OkCancel ? PromptAnswer::Ok : PromptAnswer::Yes;
    }
    void tell(const std::string&, const std::string& text, PromptIcon) override { messages.push_back(text); }
    void beep() override {}

    std::string lastMessage() const { return messages.empty() ? std::string() : messages.back(); }
};

// One run of a writer: the folder it works in, the file it writes, and the prompt it answers to.
struct Run {
    std::string folder;
    std::string path;
    RecordingPrompt prompt;
};

struct Writer {
    const char* name;
    std::string relativePath; // the file written, below the run's folder
    bool freeName;            // the file's name may be any legal name
    bool makesBackup;
    bool readsTarget;    // reads the file before writing it (it must exist)
    std::string initial; // the file's content before the write
    std::string marker;  // found in the new content, not in the old
    // Writes; returns what the user is told of a failure ("" when the write succeeded).
    std::function<std::string(Run&)> write;
};

std::string templateText() {
    return readBytes(dataFile("template.veh"));
}

std::string archiveBytes(const std::string& firstCar) {
    return MasBuilder()
        .add("CAR1.VEH", vehicleText(firstCar, "GT"))
        .add("CAR2.VEH", vehicleText("Second", "GT"))
        .bytes();
}

std::vector<Writer> writers() {
    std::vector<Writer> all;
    all.push_back({"vehicle save", "car.veh", true, true, true, templateText(), "mass=(1234.5)", [](Run& run) {
                       Settings settings;
                       settings.setPrompt(run.prompt);
                       VehicleFile vehicle(run.path, run.prompt, settings);
                       return messageOf<std::exception>([&] {
                           vehicle.load(VehicleFile::ModeOpen);
                           vehicle.findEntry(veh::SecBody, "mass=")->value = "1234.5";
                           storeAbsentGearsAsZero(vehicle);
                           vehicle.save("", false);
                       });
                   }});
    all.push_back(
        {"archive write-back", "Vehicle.Mas", false, false, true, archiveBytes("First"), "Written Car", [](Run& run) {
             Settings settings;
             settings.setPrompt(run.prompt);
             NoFilePicker picker;
             VehicleArchive archive(settings, run.prompt, picker);
             return messageOf<std::exception>([&] {
                 archive.loadFile(run.path);
                 archive.replaceEntry("CAR1.VEH", vehicleText("Written Car", "GT"));
             });
         }});
    all.push_back(
        {"qora.ini", "qora.ini", false, false, false, "[SETTINGS]\r\nVersion=4.0\r\n", "BackupFiles=", [](Run& run) {
             Settings settings;
             settings.setPrompt(run.prompt);
             settings.setProgramFolder(run.folder);
             settings.version = kProgramVersion;
             const std::string failure = messageOf<std::exception>([&] {
                 if (!settings.save())
                     throw std::runtime_error(run.prompt.lastMessage());
             });
             return failure;
         }});
    all.push_back({"registry.ini", "registry.ini", false, false, false, "", "QoraWriterTest", [](Run& run) {
                       return messageOf<std::exception>([&] {
                           IniRegistry registry(run.path);
                           registry.writeString(RegistryRoot::ClassesRoot, "QoraWriterTest", "", "QoraWriterTest");
                       });
                   }});
    all.push_back({"Garage version", "car~Heavy.vfv", true, false, false, "old version", "mass=(1234.5)", [](Run& run) {
                       Settings settings;
                       settings.setPrompt(run.prompt);
                       VehicleFile vehicle(dataFile("template.veh"), run.prompt, settings);
                       return messageOf<std::exception>([&] {
                           vehicle.load(VehicleFile::ModeOpen);
                           vehicle.findEntry(veh::SecBody, "mass=")->value = "1234.5";
                           storeAbsentGearsAsZero(vehicle);
                           vehicle.save("", true);
                           garage::writeVersion(run.path, vehicle);
                       });
                   }});
    all.push_back({"Garage notes", "car~Heavy.txt", false, false, false, "old notes", "New notes", [](Run& run) {
                       return messageOf<std::exception>(
                           [&] { garage::saveNotes(joinPath(parentFolder(run.path), "car~Heavy.vfv"), "New notes"); });
                   }});
    all.push_back({"extraction", "MasVeh/vehiclemas=CAR1.VEH", false, false, false, "old working copy", "Extracted Car",
                   [](Run& run) {
                       const std::string archivePath = joinPath(run.folder, "Vehicle.Mas");
                       writeBytes(archivePath, archiveBytes("Extracted Car"));
                       Settings settings;
                       settings.setPrompt(run.prompt);
                       settings.setProgramFolder(run.folder);
                       NoFilePicker picker;
                       VehicleArchive archive(settings, run.prompt, picker);
                       return messageOf<std::exception>([&] {
                           archive.loadFile(archivePath);
                           archive.extractEntry("CAR1.VEH", false);
                       });
                   }});
    const auto sourceFor = [](Run& run) {
        const std::string source = joinPath(joinPath(run.folder, "source"), fileNameOf(run.path));
        fs::create_directories(parentFolder(source));
        writeBytes(source, "Copied vehicle");
        return source;
    };
    all.push_back({"file-manager copy", "dest/g01b.veh", true, false, false, "old target", "Copied vehicle",
                   [sourceFor](Run& run) {
                       const std::string source = sourceFor(run);
                       return browser::copyFileSafely(source, run.path) ? std::string() : "the copy failed";
                   }});
    all.push_back({"file-manager move", "dest/g01b.veh", true, false, false, "old target", "Copied vehicle",
                   [sourceFor](Run& run) {
                       const std::string source = sourceFor(run);
                       Settings settings;
                       settings.setPrompt(run.prompt);
                       settings.generalWarnings = false;
                       ScriptedFolderPicker picker;
                       picker.choose(parentFolder(run.path));
                       browser::FileManager manager(settings, run.prompt, picker);
                       manager.moveVehicle(parentFolder(source), fileNameOf(source),
                                           [](browser::CheckList&) { return true; });
                       if (!run.prompt.messages.empty())
                           return run.prompt.lastMessage();
                       return fs::exists(source) ? std::string("the source is still there") : std::string();
                   }});
    return all;
}

// A fresh folder for one writer, with the file's folder made.
struct Scene {
    TempDir dir;
    Run run;

    Scene(const Writer& writer, const std::string& relativePath = {}) {
        run.folder = dir.file("case");
        run.path = joinPath(run.folder, relativePath.empty() ? writer.relativePath : relativePath);
        fs::create_directories(parentFolder(run.path));
    }
    void putInitial(const Writer& writer, const std::string& path) const {
        fs::create_directories(parentFolder(path));
        writeBytes(path, writer.initial);
    }
};

bool holdsNew(const Writer& writer, const std::string& path) {
    return readBytes(path).find(writer.marker) != std::string::npos;
}

// Temporary files anywhere below a folder.
std::vector<std::string> temporaryFilesIn(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().filename().string().find(".qora-") != std::string::npos)
            found.push_back(entry.path().filename().string());
    return found;
}

#ifndef _WIN32

constexpr uid_t kOrdinaryUser = 65534; // nobody
constexpr gid_t kOrdinaryGroup = 65534;

bool runningAsRoot() {
    return ::geteuid() == 0;
}

// Runs a writer as an ordinary user, so permissions are really checked: as root in a child process that has
// given up its rights, otherwise here. Returns the failure text, or nothing when no ordinary user can be had.
std::optional<std::string> asOrdinaryUser(const std::function<std::string()>& body) {
    if (!runningAsRoot())
        return body();
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kOrdinaryGroup) != 0 || ::setuid(kOrdinaryUser) != 0)
            ::_exit(77);
        std::string out;
        try {
            out = body();
        } catch (const std::exception& e) {
            out = std::string("exception: ") + e.what();
        }
        out.insert(0, "|"); // so an empty failure is told apart from a child that wrote nothing
        const char* p = out.data();
        std::size_t left = out.size();
        while (left > 0) {
            const ssize_t n = ::write(pipeEnds[1], p, left);
            if (n <= 0)
                break;
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || out.empty())
        return std::nullopt;
    return out.substr(1);
}

// Hands a folder and everything in it to the ordinary user, when the suite runs as root.
void giveToOrdinaryUser(const std::string& folder) {
    if (!runningAsRoot())
        return;
    ::chown(folder.c_str(), kOrdinaryUser, kOrdinaryGroup);
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        ::lchown(entry.path().c_str(), kOrdinaryUser, kOrdinaryGroup);
}

// A process number that belonged to a program that has ended.
unsigned long endedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<unsigned long>(child);
}

unsigned permissionsOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return static_cast<unsigned>(info.st_mode) & 07777;
}

#endif

class WriterDiscipline : public ::testing::TestWithParam<Writer> {};

} // namespace

// Test names and failure reports name a writer by its name.
namespace {
void PrintTo(const Writer& writer, std::ostream* out) {
    *out << writer.name;
}

std::string testNameOf(const ::testing::TestParamInfo<Writer>& info) {
    std::string name;
    for (const char c : std::string(info.param.name))
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
    return name;
}

// Whether this system lets the tests make symbolic links (Windows lets only administrators and developers do it).
bool symbolicLinksCanBeMade() {
    TempDir dir;
    std::error_code ec;
    fs::create_symlink(dir.file("target"), dir.file("link"), ec);
    return !ec;
}

#define SKIP_WITHOUT_SYMBOLIC_LINKS()                                                                                  \
    if (!symbolicLinksCanBeMade())                                                                                     \
    GTEST_SKIP() << "this system makes no symbolic links for this user"

} // namespace

TEST_P(WriterDiscipline, WritesThroughALinkChainAndTheLinksStay) {
    SKIP_WITHOUT_SYMBOLIC_LINKS();
    const Writer& writer = GetParam();
    Scene scene(writer);
    const std::string real = joinPath(scene.dir.file("elsewhere"), fileNameOf(scene.run.path));
    scene.putInitial(writer, real);
    const std::string middle = scene.dir.file("middle-link");
    fs::create_symlink(real, middle);
    fs::create_symlink(middle, scene.run.path);

    EXPECT_EQ(writer.write(scene.run), "");
    EXPECT_TRUE(fs::is_symlink(scene.run.path));
    EXPECT_TRUE(fs::is_symlink(middle));
    EXPECT_EQ(fs::read_symlink(scene.run.path).string(), middle);
    EXPECT_TRUE(holdsNew(writer, real));
    EXPECT_TRUE(temporaryFilesIn(scene.dir.path()).empty());
}

TEST_P(WriterDiscipline, ADanglingLinkGetsItsTargetAndALoopIsRefused) {
    SKIP_WITHOUT_SYMBOLIC_LINKS();
    const Writer& writer = GetParam();
    {
        Scene scene(writer);
        const std::string real = joinPath(scene.dir.file("elsewhere"), "not-yet");
        fs::create_directories(parentFolder(real));
        fs::create_symlink(real, scene.run.path);
        const std::string failure = writer.write(scene.run);
        EXPECT_TRUE(fs::is_symlink(scene.run.path));
        if (writer.readsTarget) {
            EXPECT_NE(failure, "") << "there is nothing to read";
            EXPECT_FALSE(fs::exists(real));
        } else {
            EXPECT_EQ(failure, "");
            EXPECT_TRUE(holdsNew(writer, real));
        }
    }
    {
        Scene scene(writer);
        const std::string other = joinPath(parentFolder(scene.run.path), "loop-partner");
        fs::create_symlink(other, scene.run.path);
        fs::create_symlink(scene.run.path, other);
        EXPECT_NE(writer.write(scene.run), "");
        EXPECT_TRUE(fs::is_symlink(scene.run.path));
        EXPECT_TRUE(fs::is_symlink(other));
        EXPECT_TRUE(temporaryFilesIn(scene.dir.path()).empty());
    }
}

TEST_P(WriterDiscipline, AHardLinkedFileIsWrittenInPlaceSoEveryNameSeesIt) {
    const Writer& writer = GetParam();
    Scene scene(writer);
    scene.putInitial(writer, scene.run.path);
    const std::string otherName = scene.dir.file("other-name");
    fs::create_hard_link(scene.run.path, otherName);

    EXPECT_EQ(writer.write(scene.run), "");
    EXPECT_TRUE(holdsNew(writer, otherName));
    EXPECT_TRUE(fs::equivalent(scene.run.path, otherName));
    EXPECT_EQ(fileSystem().status(otherName).linkCount, 2u); // the C runtime counts one link on Windows
    EXPECT_TRUE(temporaryFilesIn(scene.dir.path()).empty());
}

TEST_P(WriterDiscipline, AFullDiskLeavesTheFileAndNamesItNotATemporaryFile) {
    const Writer& writer = GetParam();
    Scene scene(writer);
    scene.putInitial(writer, scene.run.path);
    FailingFileSystem failing;
    failing.failWritesAfterBytes = 3;
    failing.failCopies = true;
    failing.filter = [](const std::string& path) { return path.find(".qora-") != std::string::npos; };
    std::string failure;
    {
        ScopedFileSystem scoped(failing);
        failure = writer.write(scene.run);
    }
    EXPECT_NE(failure, "");
    EXPECT_EQ(failure.find(".qora-"), std::string::npos) << failure;
    EXPECT_EQ(readBytes(scene.run.path), writer.initial);
    EXPECT_TRUE(temporaryFilesIn(scene.dir.path()).empty());
}

// The writers that write a file of the user's naming.
class WriterOfAnyName : public WriterDiscipline {};

TEST_P(WriterOfAnyName, TheLongestLegalNameCanBeWritten) {
    const Writer& writer = GetParam();
    const std::string longName = std::string(251, 'n') + ".veh"; // 255 bytes, the longest a name can be
    std::string relative = writer.relativePath;
    relative.replace(relative.size() - fileNameOf(relative).size(), std::string::npos, longName);
    Scene scene(writer, relative);
    scene.putInitial(writer, scene.run.path);
    EXPECT_EQ(writer.write(scene.run), "");
    EXPECT_TRUE(holdsNew(writer, scene.run.path));
    EXPECT_TRUE(temporaryFilesIn(scene.dir.path()).empty());
}

#ifndef _WIN32

TEST_P(WriterDiscipline, TemporaryFilesOfAKilledSaveGoAndNothingElse) {
    const Writer& writer = GetParam();
    Scene scene(writer);
    scene.putInitial(writer, scene.run.path);
    // Names as a save of this file by another process makes them.
    const std::string own = temporarySiblingPath(scene.run.path);
    const std::string ownProcess = "-" + std::to_string(::getpid()) + "-";
    const auto withProcess = [&](const std::string& path, unsigned long process) {
        std::string name = path;
        name.replace(name.rfind(ownProcess), ownProcess.size(), "-" + std::to_string(process) + "-");
        return name;
    };
    const std::string killed = withProcess(own, endedProcess());
    const std::string running = withProcess(own, 1); // the init process never ends
    const std::string anotherFiles = withProcess(temporarySiblingPath(scene.run.path + "x"), endedProcess());
    const std::string usersOwn =
        joinPath(parentFolder(scene.run.path), "." + fileNameOf(scene.run.path) + ".qora-notes.tmp");
    for (const std::string& path : {killed, running, anotherFiles, usersOwn})
        writeBytes(path, "left behind");

    EXPECT_EQ(writer.write(scene.run), "");
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(anotherFiles));
    EXPECT_TRUE(fs::exists(usersOwn));
}

TEST_P(WriterDiscipline, APrivateFileStaysPrivateAndKeepsItsOwner) {
    const Writer& writer = GetParam();
    Scene scene(writer);
    scene.putInitial(writer, scene.run.path);
    ::chmod(scene.run.path.c_str(), 0600);
    if (runningAsRoot())
        ::chown(scene.run.path.c_str(), kOrdinaryUser, kOrdinaryGroup); // another user's file, saved by root

    EXPECT_EQ(writer.write(scene.run), "");
    EXPECT_TRUE(holdsNew(writer, scene.run.path));
    EXPECT_EQ(permissionsOf(scene.run.path), 0600u);
    if (writer.makesBackup) {
        const std::string backup = scene.run.path.substr(0, scene.run.path.size() - 1) + "X";
        EXPECT_EQ(permissionsOf(backup), 0600u) << "the backup is as private as the file";
    }
    if (runningAsRoot()) {
        struct stat info {};
        ::stat(scene.run.path.c_str(), &info);
        EXPECT_EQ(info.st_uid, kOrdinaryUser);
        EXPECT_EQ(info.st_gid, kOrdinaryGroup);
    }
}

TEST_P(WriterDiscipline, AReadOnlyFileIsRefusedBeforeAnythingIsWritten) {
    const Writer& writer = GetParam();
    Scene scene(writer);
    scene.putInitial(writer, scene.run.path);
    giveToOrdinaryUser(scene.dir.path());
    ::chmod(scene.run.path.c_str(), 0444);
    const std::optional<std::string> failure = asOrdinaryUser([&] { return writer.write(scene.run); });
    if (!failure)
        GTEST_SKIP() << "no ordinary user to run as (setuid refused)";
    EXPECT_NE(*failure, "");
    EXPECT_EQ(readBytes(scene.run.path), writer.initial);
    EXPECT_EQ(permissionsOf(scene.run.path), 0444u);
    EXPECT_TRUE(temporaryFilesIn(scene.dir.path()).empty());
    if (writer.makesBackup) {
        EXPECT_NE(failure->find("read-only"), std::string::npos) << *failure;
        EXPECT_FALSE(fs::exists(scene.run.path.substr(0, scene.run.path.size() - 1) + "X")) << "no backup either";
    }
}

TEST_P(WriterDiscipline, AFileInAFolderThatTakesNoNewFilesIsWrittenInPlace) {
    const Writer& writer = GetParam();
    Scene scene(writer);
    scene.putInitial(writer, scene.run.path);
    giveToOrdinaryUser(scene.dir.path());
    ::chmod(parentFolder(scene.run.path).c_str(), 0555);
    scene.run.prompt.backupAnswer = PromptAnswer::Yes; // a backup cannot be made there either
    const std::optional<std::string> failure = asOrdinaryUser([&] { return writer.write(scene.run); });
    ::chmod(parentFolder(scene.run.path).c_str(), 0755);
    if (!failure)
        GTEST_SKIP() << "no ordinary user to run as (setuid refused)";
    EXPECT_EQ(*failure, "");
    EXPECT_TRUE(holdsNew(writer, scene.run.path));
}

TEST_P(WriterDiscipline, APipeIsRefusedAtOnceAndStaysAPipe) {
    const Writer& writer = GetParam();
    Scene scene(writer);
    ASSERT_EQ(::mkfifo(scene.run.path.c_str(), 0644), 0);
    EXPECT_NE(writer.write(scene.run), "");
    EXPECT_TRUE(fs::is_fifo(scene.run.path));
    EXPECT_TRUE(temporaryFilesIn(scene.dir.path()).empty());
}

#endif

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriterDiscipline, ::testing::ValuesIn(writers()), testNameOf);

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriterOfAnyName, ::testing::ValuesIn([] {
                             std::vector<Writer> some = writers();
                             some.erase(std::remove_if(some.begin(), some.end(),
                                                       [](const Writer& writer) { return !writer.freeName; }),
                                        some.end());
                             return some;
                         }()),
                         testNameOf);

TEST(WriterDiscipline, AVehicleWhoseBackupCannotBeMadeIsSavedOnlyWhenTheUserSaysSo) {
    const Writer vehicle = writers().front();
    for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
        Scene scene(vehicle);
        scene.putInitial(vehicle, scene.run.path);
        scene.run.prompt.backupAnswer = answer;
        FailingFileSystem failing;
        failing.failCopies = true;
        failing.filter = [](const std::string& path) { return path.find(".veX.qora-") != std::string::npos; };
        std::string failure;
        {
            ScopedFileSystem scoped(failing);
            failure = vehicle.write(scene.run);
        }
        ASSERT_EQ(scene.run.prompt.questions.size(), 1u);
        EXPECT_EQ(scene.run.prompt.defaults.front(), PromptAnswer::No);
        EXPECT_FALSE(fs::exists(scene.dir.file("case/car.veX")));
        EXPECT_TRUE(temporaryFilesIn(scene.dir.path()).empty());
        if (answer == PromptAnswer::No) {
            EXPECT_NE(failure.find("was not saved because its backup could not be made"), std::string::npos);
            EXPECT_EQ(readBytes(scene.run.path), vehicle.initial);
        } else {
            EXPECT_EQ(failure, "");
            EXPECT_TRUE(holdsNew(vehicle, scene.run.path));
        }
    }
}

TEST(WriterDiscipline, ANewVehicleSavedOntoADanglingLinkCreatesTheLinksTarget) {
    SKIP_WITHOUT_SYMBOLIC_LINKS();
    TempDir dir;
    RecordingPrompt prompt;
    Settings settings;
    settings.setPrompt(prompt);
    fs::create_directories(dir.file("mods"));
    fs::create_symlink(dir.file("mods/new.veh"), dir.file("new.veh"));
    VehicleFile vehicle(dir.file("new.veh"), prompt, settings);
    vehicle.load(VehicleFile::ModeNew);
    storeAbsentGearsAsZero(vehicle);
    vehicle.save("", false);
    EXPECT_TRUE(fs::is_symlink(dir.file("new.veh")));
    EXPECT_NE(readBytes(dir.file("mods/new.veh")).find("// Editor=QORA"), std::string::npos);
}

TEST(WriterDiscipline, AFailedWriteInPlacePutsThePreviousContentBack) {
    TempDir dir;
    const std::string path = dir.file("car.veh");
    writeBytes(path, "previous content");
    fs::create_hard_link(path, dir.file("other-name"));
    FailingFileSystem failing;
    failing.failWritesAfterBytes = 4;
    int writes = 0;
    failing.filter = [&](const std::string&) { return writes++ == 0; }; // the new content fails, the repair works
    std::string failure;
    {
        ScopedFileSystem scoped(failing);
        failure = messageOf<std::exception>([&] { writeFileAtomically(path, "new content that does not fit"); });
    }
    EXPECT_EQ(failure, "cannot write '" + path + "': No space left on device; its previous content was put back");
    EXPECT_EQ(readBytes(dir.file("other-name")), "previous content");
}

TEST(FileReaders, DevicesAndPipesAreRefusedAtOnce) {
#ifndef _WIN32
    TempDir dir;
    const std::string pipe = dir.file("car.veh");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    for (const std::string& path : {pipe, std::string("/dev/zero")}) {
        try {
            fileSystem().readFile(path);
            ADD_FAILURE() << path << " was read";
        } catch (const FileError& e) {
            EXPECT_EQ(e.kind(), FileError::Kind::NotRegular);
            EXPECT_EQ(std::string(e.what()),
                      "cannot read '" + path + "': it is not a file but a device, a pipe or a socket");
        }
    }
#endif
}

#ifndef _WIN32

namespace {

// Another program: a child process, forked before this one locks anything, that waits for a go and then tries
// to lock the file with the patience given. Its exit status: 0 locked, 3 gave up (busy), 4 another failure.
struct OtherProgram {
    pid_t pid = -1;
    int go = -1;

    OtherProgram(const std::string& path, std::chrono::milliseconds patience) {
        int ends[2];
        if (::pipe(ends) != 0)
            return;
        pid = ::fork();
        if (pid == 0) {
            ::close(ends[1]);
            char c = 0;
            if (::read(ends[0], &c, 1) != 1)
                ::_exit(5);
            try {
                FileLock lock(path, patience);
                ::_exit(0);
            } catch (const FileError& e) {
                ::_exit(e.kind() == FileError::Kind::Busy ? 3 : 4);
            }
        }
        ::close(ends[0]);
        go = ends[1];
    }
    int run() {
        const char c = 'g';
        if (::write(go, &c, 1) != 1)
            return -1;
        ::close(go);
        return finish();
    }
    void start() {
        const char c = 'g';
        (void)!::write(go, &c, 1);
        ::close(go);
    }
    int finish() {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

} // namespace

TEST(FileLocking, AnotherProgramWaitsForTheLockAndGivesUpAfterItsPatience) {
    TempDir dir;
    const std::string path = dir.file("car.veh");
    writeBytes(path, "vehicle");

    OtherProgram impatient(path, std::chrono::milliseconds(150));
    OtherProgram patient(path, std::chrono::milliseconds(5000));
    FileLock lock(path);
    {
        FileLock sameProgram(path, std::chrono::milliseconds(0)); // one program shares its own lock
        EXPECT_TRUE(sameProgram.held());
    }
    EXPECT_EQ(impatient.run(), 3);
    patient.start();
    ::usleep(100000);
    lock.release();
    EXPECT_EQ(patient.finish(), 0);
}

TEST(FileLocking, ALockOnAFileReplacedMeanwhileIsTakenOnTheNewFile) {
    TempDir dir;
    const std::string path = dir.file("car.veh");
    writeBytes(path, "vehicle");
    OtherProgram other(path, std::chrono::milliseconds(150));
    FileLock lock(path);
    // A save replaces the file while the lock is held: the new file is free, and another program locks it.
    writeFileAtomically(path, "saved");
    EXPECT_EQ(other.run(), 0);
    EXPECT_EQ(readBytes(path), "saved");
}

#endif
