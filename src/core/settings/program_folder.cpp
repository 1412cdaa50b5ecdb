#include "settings/program_folder.h"

#include "platform/file_system.h"
#include "platform/file_writer.h"

#ifdef _WIN32
#include "platform/windows_api.h"

#include <knownfolders.h>
#include <shlobj.h>
#endif

namespace qora {

namespace {

bool isSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

// Whether a file can be created in the folder: tried for real, since permissions, read-only mounts and
// access control lists all have their say.
bool canCreateFilesIn(const std::string& folder) {
    FileSystem& fs = fileSystem();
    if (folder.empty() || !fs.folderExists(folder))
        return false;
    const std::string probe = temporarySiblingPath(joinPath(folder, "qora-probe"));
    try {
        fs.writeFile(probe, {});
    } catch (const FileError&) {
        try {
            fs.removeFile(probe); // a failed write may still have created it
        } catch (const FileError&) {
        }
        return false;
    }
    try {
        fs.removeFile(probe);
    } catch (const FileError&) {
    }
    return true;
}

// Whether the executable lies in an installed tree (bin/ beside share/qora/, as the install and the package lay it
// out). Such a tree is shared by every user and is often a system folder: only a portable copy keeps its settings,
// archive copies and Garage beside the program, even when whoever runs it (root, say) could write there.
bool isInstalledTree(const std::string& executableFolder) {
    const std::string folder = folderWithoutTrailingSeparator(executableFolder);
#ifdef _WIN32
    // The installer's uninstaller lies beside the program it installed; a portable copy has none.
    if (fileSystem().fileExists(joinPath(folder, "uninstall.exe")))
        return true;
#endif
    const std::string prefix = parentFolder(folder);
    return !prefix.empty() && fileSystem().folderExists(joinPath(joinPath(prefix, "share"), "qora"));
}

} // namespace

std::string folderWithoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && isSeparator(folder.back())) {
#ifdef _WIN32
        if (folder.size() == 3 && folder[1] == ':')
            break;
#endif
        folder.pop_back();
    }
    return folder;
}

std::optional<std::string> windowsUserDataFolder() {
#ifdef _WIN32
    PWSTR roaming = nullptr;
    std::optional<std::string> folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &roaming)) && roaming)
        folder = joinPath(pathText(std::filesystem::path(roaming)), "QORA");
    ::CoTaskMemFree(roaming);
    return folder;
#else
    return std::nullopt;
#endif
}

std::string resolveProgramFolder(const std::optional<std::string>& qoraHome, const std::string& executableFolder,
                                 const std::string& userDataFolder) {
    if (qoraHome && !qoraHome->empty())
        return folderWithoutTrailingSeparator(*qoraHome);
    if (!isInstalledTree(executableFolder) && canCreateFilesIn(executableFolder))
        return folderWithoutTrailingSeparator(executableFolder);
    const std::string folder = folderWithoutTrailingSeparator(userDataFolder);
    createFolderPath(folder);
    return folder;
}

} // namespace qora
