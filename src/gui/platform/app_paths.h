#pragma once

#include <string>

namespace qora::gui {

// The program folder (qora.ini, MasVeh, Garage): QORA_HOME when set, else the executable's folder when writable,
// else the per-user data folder. Throws FileError when the per-user folder cannot be created.
std::string programFolder();

// The registry store of platforms without a registry: "registry.ini" in the user's configuration folder.
std::string registryFilePath();

} // namespace qora::gui
