#pragma once

#include <stdexcept>
#include <string>

#include "platform/prompt.h"

namespace qora {

// The program version: written into the settings file and, after "QORA ", into every saved vehicle.
inline constexpr const char* kProgramVersion = "4.0";
// The name the editor stamps into the files it saves.
inline constexpr const char* kEditorName = "QORA";

// Failure of the settings object; the message is "Exception EAppSettings: " + class + operation + " - " + text.
class EAppSettings : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// All preferences of QORA. One object lives for the whole run of the editor; qora-cli and tests make their own
// with the defaults.
class TSettings {
public:
    TSettings();

    // Every field back to its default.
    void SetDefaults();

    // Makes the backup of a vehicle file before it is overwritten: the file before QORA's first save keeps the
    // name with its last character replaced by "X", the file before the latest save the one with "B".
    // Returns whether a backup was made. A file whose name does not end in "h" cannot be backed up: the user
    // is told and the result is false.
    bool BackupFile(const std::string& path);

    // The host that shows the settings' messages; the settings do not own it.
    void setPrompt(Prompt& prompt) { m_prompt = &prompt; }
    Prompt& prompt() const { return *m_prompt; }

    // The version text for the editor stamp: the settings' version, or the program's own before the settings
    // have ever been saved.
    std::string stampVersion() const;

    bool backupFiles = true;   // BackupFiles
    std::string version;       // Version: of the settings file; every save writes the program version

private:
    Prompt* m_prompt;
};

// Names of the two backups of a vehicle file.
std::string originalBackupPath(const std::string& path); // before QORA's first save: last character "X"
std::string priorBackupPath(const std::string& path);    // before the latest save: last character "B"

} // namespace qora
