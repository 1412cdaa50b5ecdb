// The Windows side of QORA's platform services, run on Windows or under Wine: the registry (both views of the
// machine's keys, the per-user association read back by the system's own reg.exe), the program folder rules,
// names without regard to letter case, and the writer against the read-only attribute and other programs' handles.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "platform/windows_api.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "archive/vehicle_archive.h"
#include "browser/file_commands.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/windows_registry.h"
#include "settings/program_folder.h"
#include "settings/settings.h"
#include "support/message_of.h"
#include "support/scripted_folder_picker.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace qora;
using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* kGameKey = L"SOFTWARE\\Orvane Works\\Trevant";

// The registry tests write the machine's real keys (the game's, the .veh association): they run where that is
// wanted, as in the private Wine prefix of the test preset.
bool mayWriteTheRegistry() {
    const char* allowed = std::getenv("QORA_TEST_WRITES_REGISTRY");
    return allowed != nullptr && std::string(allowed) == "1";
}

#define SKIP_UNLESS_REGISTRY_MAY_BE_WRITTEN()                                                                          \
    if (!mayWriteTheRegistry())                                                                                        \
    GTEST_SKIP() << "set QORA_TEST_WRITES_REGISTRY=1 to let the tests write this machine's registry"

void writeGameKey(REGSAM view, const std::wstring& installPath) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, L"InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(installPath.c_str()),
                     static_cast<DWORD>((installPath.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

void removeGameKey() {
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kGameKey, view, 0);
}

// What the system's reg.exe prints for a key's default value; empty when the key is missing.
std::string regQuery(const std::string& key) {
    const std::string command = "reg query \"" + key + "\" /ve 2>NUL";
    std::FILE* pipe = ::_popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {};
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    ::_pclose(pipe);
    return output;
}

struct SettingsWithRegistry {
    ScriptedPrompt prompt;
    ScriptedFolderPicker picker;
    WindowsRegistry registry;
    Settings settings;
    SettingsWithRegistry() {
        settings.setPrompt(prompt);
        settings.setFolderPicker(picker);
        settings.setRegistry(&registry);
    }
};

} // namespace

TEST(WindowsRegistry, TheGameFolderIsFoundInEitherViewOfTheMachinesKeys) {
    SKIP_UNLESS_REGISTRY_MAY_BE_WRITTEN();
    TempDir dir;
    const std::string game = dir.file("Trevant \u00e9t\u00e9");
    fs::create_directories(pathOf(game));
    removeGameKey();

    // A 32-bit installer writes into WOW6432Node.
    writeGameKey(KEY_WOW64_32KEY, pathOf(game).wstring() + L"\\");
    {
        SettingsWithRegistry f;
        EXPECT_EQ(f.settings.trevantFolder(), game);
        EXPECT_TRUE(f.prompt.calls.empty());
    }
    removeGameKey();
    writeGameKey(KEY_WOW64_64KEY, pathOf(game).wstring());
    {
        SettingsWithRegistry f;
        EXPECT_EQ(f.settings.trevantFolder(), game);
    }
    removeGameKey();
    {
        SettingsWithRegistry f;
        f.picker.cancel();
        EXPECT_EQ(f.settings.trevantFolder(), "");
        ASSERT_EQ(f.prompt.calls.size(), 1u);
        EXPECT_EQ(f.prompt.calls[0].text, "Trevant Registry Key not found [\\SOFTWARE\\Orvane Works\\Trevant].  "
                                          "Trevant installation may be incorrect/corrupt.");
    }
}

TEST(WindowsRegistry, TheAssociationIsThePerUserClassesKeysAndRemovingItLeavesNone) {
    SKIP_UNLESS_REGISTRY_MAY_BE_WRITTEN();
    SettingsWithRegistry f;
    const std::string program = "C:\\Program Files\\QORA \u00e9dition\\qora.exe";
    f.settings.associateVehFiles(false, program);
    EXPECT_FALSE(f.settings.isAssociated());

    f.settings.associateVehFiles(true, program);
    EXPECT_TRUE(f.settings.isAssociated());
    EXPECT_TRUE(f.prompt.calls.empty());
    EXPECT_EQ(f.registry.readString(RegistryRoot::ClassesRoot, "\\QORAVehicleFile\\shell\\open\\command", ""),
              "\"" + program + "\" \"%1\"");
    EXPECT_EQ(f.registry.readString(RegistryRoot::ClassesRoot, "\\QORAVehicleFile\\DefaultIcon", ""), program + ",0");

    // The system sees the same keys where it looks for a user's associations.
    EXPECT_NE(regQuery("HKCU\\Software\\Classes\\.VEH").find("QORAVehicleFile"), std::string::npos);
    EXPECT_NE(regQuery("HKCU\\Software\\Classes\\QORAVehicleFile").find("Trevant Veh File"), std::string::npos);
    EXPECT_NE(regQuery("HKCU\\Software\\Classes\\QORAVehicleFile\\shell\\open\\command").find("\" \"%1\""),
              std::string::npos);
    // Nothing was written for the whole machine.
    HKEY machine = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\QORAVehicleFile", 0, KEY_READ, &machine),
              ERROR_SUCCESS);

    f.settings.associateVehFiles(false, program);
    EXPECT_FALSE(f.settings.isAssociated());
    EXPECT_FALSE(f.registry.keyExists(RegistryRoot::ClassesRoot, "\\QORAVehicleFile\\shell"));
    EXPECT_EQ(regQuery("HKCU\\Software\\Classes\\.VEH").find("QORAVehicleFile"), std::string::npos);
    EXPECT_TRUE(f.prompt.calls.empty());
}

TEST(WindowsProgramFolder, APortableCopyKeepsItsFilesAnInstalledOneUsesAppData) {
    TempDir dir;
    const std::string exe = dir.file("QORA portable");
    fs::create_directories(pathOf(exe));
    const std::optional<std::string> appData = windowsUserDataFolder();
    ASSERT_TRUE(appData);
    EXPECT_TRUE(browser::samePath(fileNameOf(*appData), "QORA"));
    const char* roaming = std::getenv("APPDATA");
    if (roaming != nullptr) {
        EXPECT_TRUE(browser::samePath(parentFolder(*appData), roaming)) << *appData << " vs " << roaming;
    }

    const std::string data = dir.file("AppData/QORA");
    EXPECT_EQ(resolveProgramFolder(std::nullopt, exe, data), exe);
    // The installer leaves its uninstaller beside the program: settings then go to the user's folder.
    writeBytes(joinPath(exe, "Uninstall.exe"), "MZ");
    EXPECT_EQ(resolveProgramFolder(std::nullopt, exe, data), data);
    EXPECT_TRUE(fs::is_directory(pathOf(data)));
}

TEST(WindowsNames, LetterCaseAndSeparatorsDoNotMakeAnotherFile) {
    EXPECT_TRUE(browser::samePath("C:\\Games\\Trevant\\Car.veh", "c:/games/TREVANT/car.VEH"));
    EXPECT_TRUE(browser::samePath("C:\\Games\\..\\Games\\car.veh", "C:\\GAMES\\CAR.VEH"));
    EXPECT_FALSE(browser::samePath("C:\\Games\\car.veh", "D:\\Games\\car.veh"));
    EXPECT_TRUE(browser::samePath("\\\\server\\mods\\\u00c9T\u00c9.veh", "//SERVER/MODS/\u00e9t\u00e9.veh"));
    EXPECT_EQ(parentFolder("\\\\server\\mods\\car.veh"), "\\\\server\\mods");
    EXPECT_EQ(joinPath("C:\\", "car.veh"), "C:\\car.veh");
    EXPECT_EQ(folderWithoutTrailingSeparator("C:\\"), "C:\\");
    EXPECT_EQ(folderWithoutTrailingSeparator("C:\\Games\\\\"), "C:\\Games");

    // The file a name means is found in any letter case.
    TempDir dir;
    writeBytes(dir.file("G01B.VEH"), "bytes");
    EXPECT_TRUE(fileSystem().fileExists(dir.file("g01b.veh")));
    EXPECT_EQ(fileSystem().readFile(dir.file("g01b.veh")), "bytes");
}

TEST(WindowsWriter, TheReadOnlyAttributeIsRefusedAndTheFileStays) {
    TempDir dir;
    const std::string path = dir.file("locked.veh");
    writeBytes(path, "original");
    ASSERT_TRUE(::SetFileAttributesW(pathOf(path).c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        writeFileAtomically(path, "new");
        ADD_FAILURE() << "a read-only file was written";
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::ReadOnly);
        EXPECT_EQ(e.reason(), "it is read-only");
    }
    EXPECT_EQ(readBytes(path), "original");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"locked.veh"}));
    ::SetFileAttributesW(pathOf(path).c_str(), FILE_ATTRIBUTE_NORMAL);

    // A file that is not read-only gets the new content and stays writable.
    writeFileAtomically(path, "new");
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_EQ(::GetFileAttributesW(pathOf(path).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(WindowsWriter, AFileOtherProgramsHaveOpenIsReplacedOrLeftWhole) {
    TempDir dir;
    const std::string path = dir.file("car.veh");
    writeBytes(path, "original");

    // A viewer that lets others replace the file (as editors and Explorer's preview do): the save goes through.
    HANDLE viewer =
        ::CreateFileW(pathOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    writeFileAtomically(path, "first save");
    ::CloseHandle(viewer);
    EXPECT_EQ(readBytes(path), "first save");

    // A program that keeps the file to itself: the save fails, naming the file, and nothing is lost or left over.
    HANDLE holder = ::CreateFileW(pathOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const std::string failure = messageOf<FileError>([&] { writeFileAtomically(path, "second save"); });
    ::CloseHandle(holder);
    EXPECT_EQ(failure, "cannot write '" + path + "': another program has the file open");
    EXPECT_EQ(readBytes(path), "first save");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"car.veh"}));
}

TEST(WindowsWriter, TheSaveLockKeepsOtherWritersOutUntilTheFileIsReplaced) {
    TempDir dir;
    const std::string path = dir.file("car.veh");
    writeBytes(path, "original");
    const auto otherProgramWrites = [&] {
        HANDLE file = ::CreateFileW(pathOf(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        ::CloseHandle(file);
        return true;
    };
    {
        FileLock lock(path);
        EXPECT_FALSE(otherProgramWrites()) << "the file was open for writing during the read-change-write cycle";
        EXPECT_EQ(fileSystem().readFile(path), "original"); // this program still reads it
        writeFileAtomically(path, "saved under the lock");
    }
    EXPECT_EQ(readBytes(path), "saved under the lock");
    EXPECT_TRUE(otherProgramWrites());
}

#endif
