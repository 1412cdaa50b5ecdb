#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/ini_registry.h"
#include "support/failing_file_system.h"
#include "support/message_of.h"
#include "support/temp_dir.h"

using namespace qora;
using namespace qora::testing;

namespace {

constexpr RegistryRoot LM = RegistryRoot::LocalMachine;
constexpr RegistryRoot CR = RegistryRoot::ClassesRoot;

} // namespace

TEST(IniRegistry, WritesOneSectionPerKeyAndReadsItBackAfterReopening) {
    TempDir dir;
    const std::string path = dir.file("registry.ini");
    {
        IniRegistry registry(path);
        registry.writeString(LM, "\\SOFTWARE\\Orvane Works\\Trevant", "InstallPath", "/games/trevant");
        registry.writeString(CR, "\\.VEH", "", "QORAVehicleFile");
        registry.writeString(CR, ".veh", "", "Replaced");
    }
    EXPECT_EQ(readBytes(path), "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvane Works]\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvane Works\\Trevant]\r\n"
                               "InstallPath=/games/trevant\r\n\r\n"
                               "[HKEY_CLASSES_ROOT\\.VEH]\r\n"
                               "@=Replaced\r\n");

    IniRegistry reopened(path);
    // Keys and value names match without regard to letter case; the leading "\" is optional.
    EXPECT_TRUE(reopened.keyExists(LM, "software\\ORVANE WORKS\\trevant"));
    EXPECT_TRUE(reopened.keyExists(LM, "\\SOFTWARE\\Orvane Works"));
    EXPECT_EQ(reopened.readString(LM, "\\Software\\Orvane Works\\Trevant", "installpath"), "/games/trevant");
    EXPECT_EQ(reopened.readString(CR, "\\.veh", ""), "Replaced");
    // The roots are separate trees.
    EXPECT_FALSE(reopened.keyExists(CR, "\\SOFTWARE"));
    EXPECT_FALSE(reopened.keyExists(LM, "\\.VEH"));
    EXPECT_EQ(reopened.readString(LM, "\\.VEH", ""), std::nullopt);
    EXPECT_EQ(reopened.readString(LM, "\\SOFTWARE\\Orvane Works\\Trevant", "Version"), std::nullopt);
    // An empty default value is present, unlike a missing one.
    EXPECT_EQ(reopened.readString(LM, "\\SOFTWARE", ""), std::nullopt);
    reopened.writeString(LM, "\\SOFTWARE", "", "");
    EXPECT_EQ(reopened.readString(LM, "\\SOFTWARE", ""), "");
}

TEST(IniRegistry, CreateKeyAddsParentsOnceAndWithoutAFileEveryKeyIsMissing) {
    TempDir dir;
    const std::string path = dir.file("config/qora/registry.ini");
    IniRegistry registry(path);
    EXPECT_FALSE(registry.keyExists(CR, "\\QORAVehicleFile"));
    EXPECT_EQ(registry.readString(CR, "\\QORAVehicleFile", ""), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(path));

    // The file's missing folders are created with it.
    EXPECT_TRUE(registry.createKey(CR, "\\QORAVehicleFile\\shell\\open\\command"));
    EXPECT_TRUE(registry.keyExists(CR, "\\QORAVehicleFile\\shell"));
    EXPECT_TRUE(registry.keyExists(CR, "\\QORAVehicleFile\\shell\\open\\command"));
    const std::string once = readBytes(path);
    EXPECT_EQ(once, "[HKEY_CLASSES_ROOT\\QORAVehicleFile]\r\n\r\n"
                    "[HKEY_CLASSES_ROOT\\QORAVehicleFile\\shell]\r\n\r\n"
                    "[HKEY_CLASSES_ROOT\\QORAVehicleFile\\shell\\open]\r\n\r\n"
                    "[HKEY_CLASSES_ROOT\\QORAVehicleFile\\shell\\open\\command]\r\n");
    EXPECT_TRUE(registry.createKey(CR, "qoravehiclefile\\SHELL"));
    EXPECT_EQ(readBytes(path), once);
}

TEST(IniRegistry, DeleteKeyRemovesTheKeyWithItsSubkeysOnly) {
    TempDir dir;
    const std::string path = dir.file("registry.ini");
    IniRegistry registry(path);
    registry.writeString(CR, "\\QORAVehicleFile", "", "Trevant Veh File");
    registry.writeString(CR, "\\QORAVehicleFile\\DefaultIcon", "", "/usr/bin/qora,0");
    registry.writeString(CR, "\\QORAVehicleFileBackup", "", "kept");
    registry.writeString(LM, "\\QORAVehicleFile", "", "kept");

    registry.deleteKey(CR, "qoravehiclefile");
    EXPECT_FALSE(registry.keyExists(CR, "\\QORAVehicleFile"));
    EXPECT_FALSE(registry.keyExists(CR, "\\QORAVehicleFile\\DefaultIcon"));
    EXPECT_EQ(registry.readString(CR, "\\QORAVehicleFileBackup", ""), "kept");
    EXPECT_EQ(registry.readString(LM, "\\QORAVehicleFile", ""), "kept");
    EXPECT_EQ(readBytes(path), "[HKEY_CLASSES_ROOT\\QORAVehicleFileBackup]\r\n@=kept\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\QORAVehicleFile]\r\n@=kept\r\n");

    // A missing key is no error and leaves the file alone.
    const std::string before = readBytes(path);
    registry.deleteKey(CR, "\\QORAVehicleFile");
    registry.deleteKey(CR, "\\Nowhere\\Deeper");
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(messageOf<RegistryError>([&] { registry.deleteKey(CR, "\\"); }),
              "The registry root HKEY_CLASSES_ROOT cannot be deleted.");
}

TEST(IniRegistry, RefusesNamesTheFileCannotHold) {
    TempDir dir;
    const std::string path = dir.file("registry.ini");
    IniRegistry registry(path);
    for (const std::string key : {"\\A]B", "\\A\\\\B", "\\A\\", "\\A ", "\\A\nB"}) {
        EXPECT_FALSE(registry.createKey(CR, key)) << key;
        EXPECT_FALSE(registry.keyExists(CR, key)) << key;
        EXPECT_EQ(messageOf<RegistryError>([&] { registry.writeString(CR, key, "", "x"); }),
                  "The registry file cannot hold the key [" + key + "].");
    }
    for (const std::string name : {"@", "a=b", "[x]", ";x", " x"}) {
        EXPECT_EQ(messageOf<RegistryError>([&] { registry.writeString(CR, "\\Key", name, "x"); }),
                  "The registry file cannot hold the value name [" + name + "].");
        EXPECT_EQ(registry.readString(CR, "\\Key", name), std::nullopt) << name;
    }
    EXPECT_EQ(messageOf<RegistryError>(
                  [&] { registry.writeString(CR, "\\Key", "Name", "one\r\n[HKEY_CLASSES_ROOT\\Evil]"); }),
              "The registry file cannot hold a value with a line break [Name].");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(IniRegistry, AFailedWriteRaisesAndLeavesTheOldFileByteIdentical) {
    TempDir dir;
    const std::string path = dir.file("registry.ini");
    IniRegistry registry(path);
    registry.writeString(CR, "\\.VEH", "", "QORAVehicleFile");
    const std::string before = readBytes(path);

    FailingFileSystem failing;
    failing.failWritesAfterBytes = 10;
    {
        ScopedFileSystem scoped(failing);
        EXPECT_EQ(messageOf<RegistryError>([&] { registry.writeString(CR, "\\.VEH", "", "Other"); }),
                  "Cannot write the registry file '" + path + "': No space left on device");
        EXPECT_EQ(messageOf<RegistryError>([&] { registry.deleteKey(CR, "\\.VEH"); }),
                  "Cannot write the registry file '" + path + "': No space left on device");
        EXPECT_FALSE(registry.createKey(CR, "\\QORAVehicleFile"));
        // Reading needs no write.
        EXPECT_EQ(registry.readString(CR, "\\.VEH", ""), "QORAVehicleFile");
    }
    EXPECT_GE(failing.writeCalls, 3);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(namesIn(dir.path()).size(), 1u); // no temporary file is left behind
}

TEST(IniRegistry, AFileThatCannotBeReadOrPlacedRaises) {
    TempDir dir;
    // A file where the registry file's folder should be.
    writeBytes(dir.file("blocker"), "x");
    IniRegistry blocked(dir.file("blocker/registry.ini"));
    EXPECT_FALSE(blocked.createKey(CR, "\\.VEH"));
    EXPECT_EQ(messageOf<RegistryError>([&] { blocked.writeString(CR, "\\.VEH", "", "QORAVehicleFile"); }),
              "Cannot write the registry file '" + dir.file("blocker/registry.ini") + "': File exists");

    // A folder where the registry file should be.
    std::filesystem::create_directory(dir.file("registry.ini"));
    IniRegistry unreadable(dir.file("registry.ini"));
    const std::string message = "Cannot read the registry file '" + dir.file("registry.ini") + "': it is a folder";
    EXPECT_EQ(messageOf<RegistryError>([&] { unreadable.keyExists(LM, "\\SOFTWARE"); }), message);
    EXPECT_EQ(messageOf<RegistryError>([&] { unreadable.readString(LM, "\\SOFTWARE", "InstallPath"); }), message);
    EXPECT_EQ(messageOf<RegistryError>([&] { unreadable.deleteKey(LM, "\\SOFTWARE"); }), message);
    EXPECT_FALSE(unreadable.createKey(LM, "\\SOFTWARE"));
}
