#pragma once

#include <optional>
#include <string>

namespace qora {

// The folder that holds "qora.ini", "MasVeh" and "Garage": QORA_HOME when it is set and not empty; else the
// executable's folder when files can be created in it and it is a portable copy, not an installed tree (no
// share/qora/ beside it, as the install and the package lay out, and no "uninstall.exe" in it, as the Windows
// installer leaves); else the per-user data folder, created (one level at a time) when missing. The host passes in what
// only it knows: the editor takes the executable and data folders from its toolkit. Throws FileError when the per-user
// folder cannot be created.
std::string resolveProgramFolder(const std::optional<std::string>& qoraHome, const std::string& executableFolder,
                                 const std::string& userDataFolder);

// The per-user data folder of Windows: %APPDATA%\QORA (the roaming application data of the user). Nothing
// elsewhere, where the editor takes the folder from its toolkit.
std::optional<std::string> windowsUserDataFolder();

// The folder without trailing separators ("/a/b/" -> "/a/b"); a root ("/", "C:\") stays as it is.
std::string folderWithoutTrailingSeparator(std::string folder);

} // namespace qora
