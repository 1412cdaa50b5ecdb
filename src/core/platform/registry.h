#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace qora {

// The two registry roots QORA reads and writes.
enum class RegistryRoot { LocalMachine, ClassesRoot };

// A registry operation that failed for a reason other than a missing key or value.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The system registry as QORA uses it: the game's install path is read, the .veh association is written.
// Keys are written as "\SOFTWARE\Orvane Works\Trevant" (a leading "\" is optional); an empty value name is the
// key's default (unnamed) value. Key names compare without regard to letter case.
class Registry {
public:
    virtual ~Registry() = default;

    virtual bool keyExists(RegistryRoot root, const std::string& key) = 0;
    // The string value, or nullopt when the key or the value is missing. Throws RegistryError.
    virtual std::optional<std::string> readString(RegistryRoot root, const std::string& key,
                                                  const std::string& valueName) = 0;
    // Opens the key for writing, creating it (and its parents) when missing; false when that is not possible.
    virtual bool createKey(RegistryRoot root, const std::string& key) = 0;
    // Writes a string value into an existing or new key. Throws RegistryError.
    virtual void writeString(RegistryRoot root, const std::string& key, const std::string& valueName,
                             const std::string& value) = 0;
    // Deletes the key with its subkeys; a missing key is not an error. Throws RegistryError.
    virtual void deleteKey(RegistryRoot root, const std::string& key) = 0;
    // Called once the file association was written or removed, for a registry whose system must be told.
    virtual void associationsChanged() {}
};

} // namespace qora
