#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/registry.h"

namespace qora {

#ifdef _WIN32
// The Windows registry. The game's key is looked for in both views of HKEY_LOCAL_MACHINE: the 64-bit one and
// WOW6432Node, where the installer of a 32-bit game writes it. The classes root is the current user's
// HKEY_CURRENT_USER\Software\Classes, so associating .veh files needs no administrator rights and touches no other
// user; Windows merges it into HKEY_CLASSES_ROOT for the Explorer. Names and values are UTF-8 here and UTF-16 at
// the system. A missing key or value is never an error; anything else the system refuses is a RegistryError.
class WindowsRegistry final : public Registry {
public:
    bool keyExists(RegistryRoot root, const std::string& key) override;
    std::optional<std::string> readString(RegistryRoot root, const std::string& key,
                                          const std::string& valueName) override;
    bool createKey(RegistryRoot root, const std::string& key) override;
    void writeString(RegistryRoot root, const std::string& key, const std::string& valueName,
                     const std::string& value) override;
    void deleteKey(RegistryRoot root, const std::string& key) override;
    // Tells the Explorer that file associations changed, so icons and "Open" follow at once.
    void associationsChanged() override;
};
#endif

// The registry of this system: the Windows registry on Windows, elsewhere the keyed text file `storeFile`.
std::unique_ptr<Registry> makeSystemRegistry(const std::string& storeFile);

} // namespace qora
