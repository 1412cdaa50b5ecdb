#include "settings/settings.h"

#include "platform/file_system.h"
#include "platform/text.h"

namespace qora {

namespace {

SilentPrompt& silentPrompt() {
    static SilentPrompt prompt;
    return prompt;
}

NoFolderPicker& noFolderPicker() {
    static NoFolderPicker picker;
    return picker;
}

std::string withLastCharacter(const std::string& path, char last) {
    std::string out = path;
    if (!out.empty())
        out.back() = last;
    return out;
}

} // namespace

TSettings::TSettings() : m_prompt(&silentPrompt()), m_folderPicker(&noFolderPicker()) {
    SetDefaults();
}

void TSettings::SetDefaults() {
    backupFiles = true;
    version.clear();
}

std::string TSettings::stampVersion() const {
    return version.empty() ? std::string(kProgramVersion) : version;
}

std::string originalBackupPath(const std::string& path) {
    return withLastCharacter(path, 'X');
}

std::string priorBackupPath(const std::string& path) {
    return withLastCharacter(path, 'B');
}

bool TSettings::BackupFile(const std::string& path) {
    FileSystem& fs = fileSystem();
    if (!fs.fileExists(path))
        return false;
    const std::string lower = text::toLower(path);
    if (lower.empty() || lower.back() != 'h') {
        m_prompt->tell("QORA File IO",
                       "[" + lower + "] contains an invalid file VEH extention and cannot be backed up.",
                       PromptIcon::Exclamation);
        return false;
    }
    // The backup is a copy, so the vehicle file stays at its path until its new content replaces it.
    // The copy is staged and renamed into place, so an existing backup is never left half-written.
    const std::string original = originalBackupPath(path);
    const std::string target = fs.fileExists(original) ? priorBackupPath(path) : original;
    try {
        const std::string staging = temporarySiblingPath(target);
        try {
            fs.copyFile(path, staging);
            fs.rename(staging, target);
        } catch (...) {
            try {
                fs.removeFile(staging);
            } catch (...) {
            }
            throw;
        }
    } catch (const FileError&) {
        return false;
    }
    return true;
}

} // namespace qora
