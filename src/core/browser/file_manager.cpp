#include "browser/file_manager.h"

#include <algorithm>
#include <filesystem>

#include "browser/file_commands.h"
#include "browser/vehicle_list.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/pickers.h"
#include "platform/prompt.h"
#include "platform/text.h"
#include "settings/settings.h"

namespace qora::browser {

namespace {

void removeQuietly(const std::string& path) {
    try {
        fileSystem().removeFile(path);
    } catch (const FileError&) {
    }
}

} // namespace

std::vector<std::string> companionFiles(const std::string& folder, std::string_view vehicleName) {
    const std::string_view code = vehicleName.substr(0, 4);
    const std::size_t dot = vehicleName.find('.');
    const std::string_view base = dot == std::string_view::npos ? vehicleName : vehicleName.substr(0, dot + 1);
    std::vector<std::string> names;
    try {
        for (FolderEntry& entry : fileSystem().listFolder(folder)) {
            if (!entry.isFile)
                continue;
            const std::string_view name = entry.name;
            const bool bitmap =
                name.size() >= code.size() + 4 && text::istartsWith(name, code) && text::iendsWith(name, ".bmp");
            if (bitmap || text::istartsWith(name, base))
                names.push_back(std::move(entry.name));
        }
    } catch (const FileError&) {
        return {};
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return alphabeticallyBefore(a, b); });
    return names;
}

// ---- CheckList --------------------------------------------------------------------------------------------------

CheckList::CheckList(std::vector<std::string> items) : m_items(std::move(items)), m_checked(m_items.size(), false) {}

void CheckList::setAllChecked(bool checked) {
    std::fill(m_checked.begin(), m_checked.end(), checked);
}

std::vector<std::string> CheckList::checkedItems() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_checked[i])
            out.push_back(m_items[i]);
    return out;
}

bool CheckList::okEnabled() const {
    return std::find(m_checked.begin(), m_checked.end(), true) != m_checked.end();
}

// ---- Copying ----------------------------------------------------------------------------------------------------

bool copyFileSafely(const std::string& source, const std::string& target) {
    FileSystem& files = fileSystem();
    try {
        // The copy takes the target's place the way every save does: through its links, keeping its permissions
        // and its other names.
        StagedFile staged(target, StagedFile::CopyOf{source, false});
        // A copy that reports success but differs from its source must not take the target's place.
        if (!staged.temporaryPath().empty() && files.readFile(staged.temporaryPath()) != files.readFile(source))
            return false;
        staged.commit();
        return true;
    } catch (const FileError&) {
        return false;
    }
}

// ---- FileManager ------------------------------------------------------------------------------------------------

FileManager::FileManager(Settings& settings, Prompt& prompt, FolderPicker& picker)
    : m_settings(&settings), m_prompt(&prompt), m_picker(&picker) {}

bool FileManager::deleteVehicle(const std::string& folder, const std::string& name, const ConfirmFiles& confirm) {
    m_prompt->tell(std::string(kVehicleManagerTitle), std::string(kDeleteWarning), PromptIcon::Exclamation);
    CheckList list(companionFiles(folder, name));
    list.setAllChecked(true);
    if (!confirm(list))
        return false;
    for (const std::string& file : list.checkedItems()) {
        const std::string path = joinPath(folder, file);
        try {
            fileSystem().removeFile(path);
        } catch (const FileError&) {
            m_prompt->tell(std::string(kFileManagerTitle), "Cannot delete file [" + path + "].", PromptIcon::Stop);
        }
    }
    return true;
}

bool FileManager::copyVehicle(const std::string& folder, const std::string& name, const ConfirmFiles& confirm) {
    transfer(folder, name, confirm, false);
    return false;
}

bool FileManager::moveVehicle(const std::string& folder, const std::string& name, const ConfirmFiles& confirm) {
    return transfer(folder, name, confirm, true);
}

bool FileManager::isSameFolder(const std::string& source, const std::string& destination) const {
    if (text::iequals(normalFolder(source), normalFolder(destination)))
        return true;
    // Another spelling of the same folder (a link, a second mount, letter case on a case-blind file system): a
    // file put into the destination shows up in the source. When nothing can be put there, the copies will fail
    // one by one and say so.
    FileSystem& files = fileSystem();
    std::string probe;
    try {
        probe = temporarySiblingPath(joinPath(destination, "folder-probe"));
        files.writeFile(probe, {});
    } catch (const FileError&) {
        if (!probe.empty())
            removeQuietly(probe);
        return false;
    }
    const bool seen = files.fileExists(joinPath(source, fileNameOf(probe)));
    removeQuietly(probe);
    return seen;
}

bool FileManager::transfer(const std::string& folder, const std::string& name, const ConfirmFiles& confirm, bool move) {
    const auto chosen = m_picker->pickFolder(std::string(kDestinationCaption), m_settings->moveToFolder);
    if (!chosen)
        return false;
    if (isSameFolder(folder, *chosen)) {
        m_prompt->tell(std::string(kFileManagerTitle), std::string(kSameFolder), PromptIcon::Stop);
        return false;
    }
    m_settings->moveToFolder = *chosen;

    CheckList list(companionFiles(folder, name));
    list.setAllChecked(true);
    if (!confirm(list))
        return false;

    FileSystem& files = fileSystem();
    for (const std::string& file : list.checkedItems()) {
        const std::string source = joinPath(folder, file);
        const std::string target = joinPath(*chosen, file);
        if (m_settings->generalWarnings && files.fileExists(target)) {
            const PromptAnswer answer = m_prompt->ask(
                std::string(kFileManagerTitle), "File [" + file + "] already exists in destination folder.  Overwrite?",
                PromptButtons::YesNoCancel, PromptIcon::Exclamation);
            if (answer == PromptAnswer::No)
                continue;
            if (answer != PromptAnswer::Yes)
                break;
        }
        // A rename would put the moved file in place of a file (or link) already at the target and cut that
        // file's other names and links off: only a free name is renamed to.
        if (move && !files.pathExists(target) && !files.linkTarget(target)) {
            try {
                files.rename(source, target);
                continue;
            } catch (const FileError&) {
                // Another file system, or a rename refused: the file is copied and then deleted.
            }
        }
        if (!copyFileSafely(source, target)) {
            m_prompt->tell(std::string(kFileManagerTitle), "Cannot copy file [" + source + "].", PromptIcon::Stop);
            continue;
        }
        if (!move)
            continue;
        try {
            files.removeFile(source);
        } catch (const FileError&) {
            m_prompt->tell(std::string(kFileManagerTitle), "Cannot delete file [" + source + "].", PromptIcon::Stop);
        }
    }
    return move;
}

} // namespace qora::browser
