#include "settings/settings.h"

#include <array>
#include <optional>

#include "platform/file_system.h"

#ifdef _WIN32
#include "platform/windows_api.h"
#endif

namespace qora {

namespace {

constexpr const char* kRegistryTitle = "QORA Registry Search";
constexpr const char* kTrevantKey = "\\SOFTWARE\\Orvane Works\\Trevant";
constexpr const char* kInstallPathValue = "InstallPath";
constexpr const char* kVehKey = "\\.VEH";
constexpr const char* kVehFileClass = "QORAVehicleFile";
constexpr const char* kVehFileKey = "\\QORAVehicleFile";

std::string withoutTrailingSeparator(std::string path) {
    // A lone separator is a root folder, not a folder with a separator after it.
    if (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

// The game's installer may record a short (8.3) name such as "C:\PROGRA~1\TREVAN~1". Short names exist on Windows
// only, so elsewhere the path is returned as it is. nullopt when the short name cannot be resolved.
std::optional<std::string> withLongName(const std::string& path) {
#ifdef _WIN32
    if (path.find("TREVAN~") == std::string::npos)
        return path;
    const std::wstring shortPath = nativePath(path).wstring();
    const DWORD size = GetLongPathNameW(shortPath.c_str(), nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring longPath(size, L'\0');
    const DWORD length = GetLongPathNameW(shortPath.c_str(), longPath.data(), size);
    if (length == 0 || length >= size)
        return std::nullopt;
    longPath.resize(length);
    // The whole path is expanded, so a short name that is not the last part is resolved too.
    return pathText(std::filesystem::path(longPath));
#else
    return path;
#endif
}

// The command line the desktop starts for an opened file. A program path with a blank is quoted, since the
// unquoted form would be split at the blank into a program that does not exist and a stray argument.
std::string openCommand(const std::string& programPath) {
    const bool needsQuotes = programPath.find_first_of(" \t") != std::string::npos;
#ifdef _WIN32
    // The Explorer puts the opened file's full path in place of %1 as it is: a file in "My Cars" would reach the
    // program as two arguments unless it is quoted too.
    return (needsQuotes ? "\"" + programPath + "\"" : programPath) + " \"%1\"";
#else
    return (needsQuotes ? "\"" + programPath + "\"" : programPath) + " %1";
#endif
}

} // namespace

std::string Settings::trevantFolder() {
    if (!gameFolder.empty())
        return gameFolder;

    std::string readFromRegistry;
    std::string problem;
    try {
        // Without a registry every key is missing.
        if (m_registry == nullptr || !m_registry->keyExists(RegistryRoot::LocalMachine, kTrevantKey)) {
            problem = std::string("Trevant Registry Key not found [") + kTrevantKey +
                      "].  Trevant installation may be incorrect/corrupt.";
        } else {
            readFromRegistry =
                m_registry->readString(RegistryRoot::LocalMachine, kTrevantKey, kInstallPathValue).value_or("");
            if (readFromRegistry.empty() || !fileSystem().folderExists(readFromRegistry))
                problem = "Trevant Registry entry [InstallPath] not found.  Trevant installation may be "
                          "incorrect/corrupt.";
        }
    } catch (const RegistryError&) {
        m_prompt->tell(kRegistryTitle, "Unknown error retrieving Trevant registry data.", PromptIcon::Exclamation);
        return {};
    }

    if (problem.empty())
        return withLongName(withoutTrailingSeparator(readFromRegistry)).value_or("");

#ifdef _WIN32
    m_prompt->tell(kRegistryTitle, problem, PromptIcon::Exclamation);
    if (auto picked = m_folderPicker->pickFolder("Locate Trevant folder", programFolder))
        return *picked;
    return readFromRegistry;
#else
    // Elsewhere there is no registry for the game's installer to write to: a missing key is no error. The user is
    // asked once, in plain words; "Not now" is remembered, and QORA then works with folders only until a game
    // folder is set in Preferences.
    if (gameFolderNotNow)
        return {};
    constexpr int kChoose = 0;
    constexpr int kNotNow = 1;
    if (m_prompt->choose("QORA", std::string(kGameFolderQuestion), {"Choose Folder...", "Not now"}, kChoose, kNotNow,
                         PromptIcon::Question) == kChoose) {
        if (auto picked = m_folderPicker->pickFolder("Locate Trevant folder", programFolder))
            return *picked;
    }
    gameFolderNotNow = true;
    return {};
#endif
}

bool Settings::isAssociated() {
    if (m_registry == nullptr)
        return false;
    try {
        return m_registry->keyExists(RegistryRoot::ClassesRoot, kVehKey) &&
               m_registry->keyExists(RegistryRoot::ClassesRoot, kVehFileKey);
    } catch (const RegistryError&) {
        return false;
    }
}

void Settings::associateVehFiles(bool associate, const std::string& programPath) {
    if (!associate) {
        if (m_registry == nullptr)
            return;
        try {
            m_registry->deleteKey(RegistryRoot::ClassesRoot, kVehKey);
            m_registry->deleteKey(RegistryRoot::ClassesRoot, kVehFileKey);
        } catch (const RegistryError&) {
            m_prompt->tell(kRegistryTitle, "Key error", PromptIcon::Exclamation);
        }
        m_registry->associationsChanged();
        return;
    }

    struct Entry {
        const char* key;
        std::string defaultValue;
    };
    const std::array<Entry, 4> entries{{
        {kVehKey, kVehFileClass},
        {kVehFileKey, "Trevant Veh File"},
        {"\\QORAVehicleFile\\DefaultIcon", programPath + ",0"},
        {"\\QORAVehicleFile\\shell\\open\\command", openCommand(programPath)},
    }};
    // Entries written before a failure stay: each is valid on its own, and un-associating removes them all.
    for (const Entry& entry : entries) {
        try {
            if (m_registry == nullptr || !m_registry->createKey(RegistryRoot::ClassesRoot, entry.key)) {
                m_prompt->tell(kRegistryTitle, "Key error", PromptIcon::Exclamation);
                return;
            }
            m_registry->writeString(RegistryRoot::ClassesRoot, entry.key, "", entry.defaultValue);
        } catch (const RegistryError&) {
            m_prompt->tell(kRegistryTitle, "Key error", PromptIcon::Exclamation);
            m_registry->associationsChanged();
            return;
        }
    }
    m_registry->associationsChanged();
}

} // namespace qora
