#pragma once

#include <optional>
#include <string>

#include "platform/registry.h"

namespace qora {

// The registry of platforms that have none: a keyed text file ("registry.ini" in the user's configuration folder)
// holding the same roots, keys, value names and values. Each key is a section named by its root and key,
//
//     [HKEY_LOCAL_MACHINE\SOFTWARE\Orvane Works\Trevant]
//     InstallPath=/games/trevant
//
// and a key's default (unnamed) value is the line "@=...". Creating a key also creates its parents' sections.
//
// Every operation reads the file afresh and every change is written back at once, atomically, creating the
// file's folder when it is missing; so several QORA processes can share the file, and a failed write leaves the
// previous file byte for byte. Every operation but createKey throws RegistryError when an existing file cannot be
// read; writeString and deleteKey throw it when the file cannot be written (createKey returns false then).
//
// A value is kept as the text after "=", trimmed: its leading and trailing blanks are not kept. Names the file
// could not hold faithfully are refused: a key with an empty part ("A\\B", a trailing "\"), a "]", a control
// character or a trailing blank never exists and cannot be created; a value name that is "@", starts with "[" or
// ";", holds "=" or a control character, or has outer blanks, and a value holding a line break, make writeString
// throw RegistryError and read as missing.
class IniRegistry final : public Registry {
public:
    explicit IniRegistry(std::string filePath);

    bool keyExists(RegistryRoot root, const std::string& key) override;
    std::optional<std::string> readString(RegistryRoot root, const std::string& key,
                                          const std::string& valueName) override;
    bool createKey(RegistryRoot root, const std::string& key) override;
    void writeString(RegistryRoot root, const std::string& key, const std::string& valueName,
                     const std::string& value) override;
    // Deleting a root itself ("" or "\") throws RegistryError, as the system registry refuses it.
    void deleteKey(RegistryRoot root, const std::string& key) override;

    const std::string& filePath() const { return m_filePath; }

private:
    std::string m_filePath;
};

} // namespace qora
