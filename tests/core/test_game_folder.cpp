#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/ini_registry.h"
#include "settings/settings.h"
#include "support/failing_file_system.h"
#include "support/scripted_folder_picker.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace qora;
using namespace qora::testing;

namespace {

constexpr const char* kTrevantKey = "\\SOFTWARE\\Orvane Works\\Trevant";
constexpr const char* kKeyMissing =
    "Trevant Registry Key not found [\\SOFTWARE\\Orvane Works\\Trevant].  Trevant installation may be "
    "incorrect/corrupt.";
constexpr const char* kEntryMissing =
    "Trevant Registry entry [InstallPath] not found.  Trevant installation may be incorrect/corrupt.";

struct RegistryFixture {
    TempDir dir;
    ScriptedPrompt prompt;
    ScriptedFolderPicker picker;
    IniRegistry registry{dir.file("registry.ini")};
    Settings settings;

    RegistryFixture() {
        settings.setPrompt(prompt);
        settings.setFolderPicker(picker);
        settings.setRegistry(&registry);
        settings.programFolder = dir.file("program");
    }

    void setInstallPath(const std::string& path) {
        registry.writeString(RegistryRoot::LocalMachine, kTrevantKey, "InstallPath", path);
    }

    void expectOneRegistryMessage(const std::string& text) {
        const auto messages = prompt.messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, "QORA Registry Search");
        EXPECT_EQ(messages[0].text, text);
        EXPECT_EQ(messages[0].icon, PromptIcon::Exclamation);
    }
};

// The registry store with one key that cannot be created, as a registry without the rights for it would be.
class RefusingRegistry : public Registry {
public:
    RefusingRegistry(Registry& inner, std::string refusedKey) : m_inner(inner), m_refused(std::move(refusedKey)) {}
    bool keyExists(RegistryRoot root, const std::string& key) override { return m_inner.keyExists(root, key); }
    std::optional<std::string> readString(RegistryRoot root, const std::string& key, const std::string& name) override {
        return m_inner.readString(root, key, name);
    }
    bool createKey(RegistryRoot root, const std::string& key) override {
        return key != m_refused && m_inner.createKey(root, key);
    }
    void writeString(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::string& value) override {
        m_inner.writeString(root, key, name, value);
    }
    void deleteKey(RegistryRoot root, const std::string& key) override { m_inner.deleteKey(root, key); }

private:
    Registry& m_inner;
    std::string m_refused;
};

} // namespace

TEST(GameFolder, SettingOrRegistryGivesTheFolderWithoutAsking) {
    RegistryFixture f;
    f.settings.gameFolder = "/no/such/trevant/";
    EXPECT_EQ(f.settings.trevantFolder(), "/no/such/trevant/");

    f.settings.gameFolder.clear();
    const std::string game = f.dir.file("Trevant");
    std::filesystem::create_directory(game);
    f.setInstallPath(game + "/");
    EXPECT_EQ(f.settings.trevantFolder(), game);
    f.setInstallPath(game);
    EXPECT_EQ(f.settings.trevantFolder(), game);

    EXPECT_TRUE(f.prompt.calls.empty());
    EXPECT_TRUE(f.picker.calls.empty());
    EXPECT_EQ(f.settings.gameFolder, ""); // the result is not stored
}

#ifdef _WIN32
TEST(GameFolder, MissingKeyTellsWhyThenAsksForTheFolder) {
    RegistryFixture f;
    f.picker.choose("/picked/trevant").cancel();
    EXPECT_EQ(f.settings.trevantFolder(), "/picked/trevant");
    f.expectOneRegistryMessage(kKeyMissing);
    ASSERT_EQ(f.picker.calls.size(), 1u);
    EXPECT_EQ(f.picker.calls[0].caption, "Locate Trevant folder");
    EXPECT_EQ(f.picker.calls[0].startFolder, f.dir.file("program"));

    f.prompt.calls.clear();
    EXPECT_EQ(f.settings.trevantFolder(), "");
    f.expectOneRegistryMessage(kKeyMissing);

    // Without a registry every key is missing.
    f.prompt.calls.clear();
    f.settings.setRegistry(nullptr);
    f.picker.choose("/elsewhere");
    EXPECT_EQ(f.settings.trevantFolder(), "/elsewhere");
    f.expectOneRegistryMessage(kKeyMissing);
    EXPECT_EQ(f.picker.unusedAnswers(), 0u);
}

TEST(GameFolder, InstallPathOfAMissingFolderTellsWhyAndCancelKeepsIt) {
    RegistryFixture f;
    const std::string gone = f.dir.file("Trevant/");
    f.setInstallPath(gone);
    f.picker.cancel().choose("/picked");
    EXPECT_EQ(f.settings.trevantFolder(), gone);
    f.expectOneRegistryMessage(kEntryMissing);
    EXPECT_EQ(f.settings.trevantFolder(), "/picked");

    // A key without the InstallPath value is the same case, with nothing read to fall back on.
    RegistryFixture g;
    ASSERT_TRUE(g.registry.createKey(RegistryRoot::LocalMachine, kTrevantKey));
    g.picker.cancel();
    EXPECT_EQ(g.settings.trevantFolder(), "");
    g.expectOneRegistryMessage(kEntryMissing);
}
#else

// Without a registry written by the game's installer, a missing key is no error: the user is asked once, in plain
// words, and "Not now" is remembered.
TEST(GameFolder, WithoutARegistryTheUserIsAskedOnceAndNotNowIsRemembered) {
    RegistryFixture f;
    f.prompt.choice(0);
    f.picker.choose("/picked/trevant");
    EXPECT_EQ(f.settings.trevantFolder(), "/picked/trevant");
    ASSERT_EQ(f.prompt.questions().size(), 1u);
    const auto question = f.prompt.questions()[0];
    EXPECT_EQ(question.title, "QORA");
    EXPECT_EQ(question.text, "Where is Trevant installed? QORA uses its Patch folder and its vehicle archive.");
    EXPECT_EQ(question.choices, (std::vector<std::string>{"Choose Folder...", "Not now"}));
    EXPECT_EQ(question.defaultIndex, 0);
    EXPECT_TRUE(f.prompt.messages().empty()) << "no registry message";
    ASSERT_EQ(f.picker.calls.size(), 1u);
    EXPECT_EQ(f.picker.calls[0].caption, "Locate Trevant folder");
    EXPECT_EQ(f.picker.calls[0].startFolder, f.dir.file("program"));
    EXPECT_FALSE(f.settings.gameFolderNotNow);

    // "Not now" (or a cancelled folder dialog) is remembered: nothing is asked again.
    f.prompt.choice(1);
    EXPECT_EQ(f.settings.trevantFolder(), "");
    EXPECT_TRUE(f.settings.gameFolderNotNow);
    EXPECT_EQ(f.settings.trevantFolder(), "");
    EXPECT_EQ(f.prompt.questions().size(), 2u);
    EXPECT_EQ(f.picker.calls.size(), 1u);

    RegistryFixture g;
    g.prompt.choice(0);
    g.picker.cancel();
    EXPECT_EQ(g.settings.trevantFolder(), "");
    EXPECT_TRUE(g.settings.gameFolderNotNow);
}

TEST(GameFolder, AnInstallPathOfAMissingFolderIsAskedAboutTheSameWay) {
    RegistryFixture f;
    f.setInstallPath(f.dir.file("Trevant/"));
    f.prompt.choice(1);
    EXPECT_EQ(f.settings.trevantFolder(), "");
    EXPECT_TRUE(f.prompt.messages().empty());
    EXPECT_TRUE(f.picker.calls.empty());
}

#endif
TEST(GameFolder, UnreadableRegistryTellsAndReturnsNothing) {
    RegistryFixture f;
    std::filesystem::create_directory(f.dir.file("registry.ini"));
    EXPECT_EQ(f.settings.trevantFolder(), "");
    f.expectOneRegistryMessage("Unknown error retrieving Trevant registry data.");
    EXPECT_TRUE(f.picker.calls.empty());
}

TEST(VehAssociation, AssociateWritesTheFourEntriesAndRemovingDeletesThemWithSubkeys) {
    RegistryFixture f;
    const auto value = [&](const std::string& key) {
        return f.registry.readString(RegistryRoot::ClassesRoot, key, "").value_or("<missing>");
    };
    EXPECT_FALSE(f.settings.isAssociated());

    f.settings.associateVehFiles(true, "/usr/bin/qora");
    EXPECT_TRUE(f.settings.isAssociated());
    EXPECT_EQ(value("\\.VEH"), "QORAVehicleFile");
    EXPECT_EQ(value("\\QORAVehicleFile"), "Trevant Veh File");
    EXPECT_EQ(value("\\QORAVehicleFile\\DefaultIcon"), "/usr/bin/qora,0");
#ifdef _WIN32
    // The Explorer's file path is quoted too: a file in "My Cars" reaches the program as one argument.
    EXPECT_EQ(value("\\QORAVehicleFile\\shell\\open\\command"), "/usr/bin/qora \"%1\"");
#else
    EXPECT_EQ(value("\\QORAVehicleFile\\shell\\open\\command"), "/usr/bin/qora %1");
#endif

    // A program path with a blank is quoted in the command, or it would be split at the blank.
    f.settings.associateVehFiles(true, "/opt/my qora/qora");
    EXPECT_EQ(value("\\QORAVehicleFile\\DefaultIcon"), "/opt/my qora/qora,0");
#ifdef _WIN32
    EXPECT_EQ(value("\\QORAVehicleFile\\shell\\open\\command"), "\"/opt/my qora/qora\" \"%1\"");
#else
    EXPECT_EQ(value("\\QORAVehicleFile\\shell\\open\\command"), "\"/opt/my qora/qora\" %1");
#endif
    EXPECT_TRUE(f.prompt.calls.empty());

    f.settings.associateVehFiles(false, "/opt/my qora/qora");
    EXPECT_FALSE(f.settings.isAssociated());
    EXPECT_FALSE(f.registry.keyExists(RegistryRoot::ClassesRoot, "\\.VEH"));
    EXPECT_FALSE(f.registry.keyExists(RegistryRoot::ClassesRoot, "\\QORAVehicleFile\\shell\\open\\command"));
    EXPECT_EQ(readBytes(f.dir.file("registry.ini")), "");
    // Removing a registration that is not there is no error.
    f.settings.associateVehFiles(false, "/usr/bin/qora");
    EXPECT_TRUE(f.prompt.calls.empty());

    // Only "\.VEH" is not an association.
    f.registry.createKey(RegistryRoot::ClassesRoot, "\\.VEH");
    EXPECT_FALSE(f.settings.isAssociated());
}

TEST(VehAssociation, AKeyThatCannotBeCreatedStopsWithKeyError) {
    RegistryFixture f;
    RefusingRegistry refusing(f.registry, "\\QORAVehicleFile\\DefaultIcon");
    f.settings.setRegistry(&refusing);
    f.settings.associateVehFiles(true, "/usr/bin/qora");
    f.expectOneRegistryMessage("Key error");
    // The entries before the refused key stay; none after it is written.
    EXPECT_EQ(f.registry.readString(RegistryRoot::ClassesRoot, "\\QORAVehicleFile", ""), "Trevant Veh File");
    EXPECT_FALSE(f.registry.keyExists(RegistryRoot::ClassesRoot, "\\QORAVehicleFile\\shell"));

    // A registry file that cannot be written: the first key fails and the file stays as it was.
    RegistryFixture g;
    g.registry.writeString(RegistryRoot::LocalMachine, kTrevantKey, "InstallPath", "/games/trevant");
    const std::string before = readBytes(g.dir.file("registry.ini"));
    FailingFileSystem failing;
    failing.failWritesAfterBytes = 0;
    {
        ScopedFileSystem scoped(failing);
        g.settings.associateVehFiles(true, "/usr/bin/qora");
    }
    g.expectOneRegistryMessage("Key error");
    EXPECT_EQ(readBytes(g.dir.file("registry.ini")), before);
    EXPECT_FALSE(g.settings.isAssociated());

    // Without a registry nothing can be associated.
    RegistryFixture h;
    h.settings.setRegistry(nullptr);
    EXPECT_FALSE(h.settings.isAssociated());
    h.settings.associateVehFiles(false, "/usr/bin/qora");
    EXPECT_TRUE(h.prompt.calls.empty());
    h.settings.associateVehFiles(true, "/usr/bin/qora");
    h.expectOneRegistryMessage("Key error");
}
