#include "garage/file_version_model.h"

#include <exception>

#include "editor/page_model.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"

namespace qora::garage {

std::string deleteFailedText(const std::string& path) {
    return "Unable to delete file [" + path + "].";
}

// ---- Flashes ----------------------------------------------------------------------------------------------------

PanelFlashes::PanelFlashes(std::string carName, std::string baseName)
    : m_own{std::move(carName), std::move(baseName)}, m_text(m_own) {}

void PanelFlashes::flash(FlashPanel panel, std::string_view text) {
    m_text[index(panel)] = std::string(text);
    m_counter[index(panel)] = 0;
    m_running = true;
}

void PanelFlashes::tick() {
    if (!m_running)
        return;
    bool allWhite = true;
    for (std::size_t i = 0; i < m_counter.size(); ++i) {
        ++m_counter[i];
        if (m_counter[i] >= kTicks)
            m_text[i] = m_own[i];
        else
            allWhite = false;
    }
    if (allWhite) {
        m_counter = {kTicks, kTicks};
        m_running = false;
    }
}

// ---- The dialog -------------------------------------------------------------------------------------------------

FileVersionModel::FileVersionModel(const VehicleFile& vehicle, std::string carName, const Settings& settings,
                                   Prompt& prompt, std::locale locale)
    : m_vehicle(vehicle), m_settings(settings), m_prompt(prompt), m_locale(std::move(locale)),
      m_garageFolder(settings.garageFolder), m_baseName(versionBaseName(vehicle.fileName)),
      m_carName(std::move(carName)), m_flashes(m_carName, m_baseName) {
    refresh();
}

std::string FileVersionModel::versionsCaption() const {
    return "Versions (" + std::to_string(m_versions.size()) + ")";
}

std::vector<std::string> FileVersionModel::titles() const {
    std::vector<std::string> out;
    out.reserve(m_versions.size());
    for (const VersionRecord& v : m_versions)
        out.push_back(v.Title);
    return out;
}

GarageButtons FileVersionModel::buttons() const {
    const bool hasSelection = m_selected >= 0;
    GarageButtons b;
    b.New = m_browsing;
    b.Delete = b.DeleteAll = b.Load = b.LoadGhost = b.Use = hasSelection;
    b.Update = hasSelection || (!m_browsing && m_dirty && !cleanTitle(m_title).empty());
    return b;
}

void FileVersionModel::refresh() {
    VersionListing listing = listVersions(m_garageFolder, m_baseName);
    m_files = std::move(listing.files);
    m_versions = std::move(listing.versions);
    m_selected = m_versions.empty() ? -1 : 0;
    showSelected();
}

void FileVersionModel::select(int index) {
    m_selected = index >= 0 && static_cast<std::size_t>(index) < m_versions.size() ? index : -1;
    showSelected();
}

void FileVersionModel::showSelected() {
    m_browsing = true;
    m_dirty = false;
    if (m_selected < 0) {
        m_notes.clear();
        m_title.clear();
        m_date.clear();
        return;
    }
    const VersionRecord& record = m_versions[static_cast<std::size_t>(m_selected)];
    m_title = record.Title;
    m_date = browser::formatFileTime(record.Date, m_locale);
    loadNotes();
}

void FileVersionModel::loadNotes() {
    m_notes.clear();
    if (m_selected < 0 || !m_browsing)
        return;
    const std::string path = versionPathOrError();
    if (path.empty() || path.front() == '>')
        return;
    try {
        m_notes = readNotes(path);
    } catch (const GarageError& error) {
        m_prompt.tell(std::string(kVersionControlTitle), error.what(), PromptIcon::Stop);
    }
}

bool FileVersionModel::titleKeyAccepted(char c) {
    return garage::titleKeyAccepted(c, m_prompt);
}

void FileVersionModel::setTitle(std::string_view text) {
    if (m_browsing)
        return;
    m_title = std::string(text.substr(0, kMaxTitleLength));
    m_dirty = true;
}

void FileVersionModel::setNotes(std::string_view text) {
    m_notes = std::string(text);
    m_dirty = true;
}

void FileVersionModel::createVersion() {
    m_browsing = false;
    m_selected = -1;
    m_notes.clear();
    m_title.clear();
    m_date = std::string(kAddingNewVersion);
    m_dirty = false;
}

std::string FileVersionModel::versionPathOrError() const {
    if (!m_browsing) {
        const std::string title = cleanTitle(m_title);
        if (const std::string problem = titleProblem(title); !problem.empty())
            return ">" + problem;
        return joinPath(m_garageFolder, versionFileName(m_baseName, title));
    }
    if (m_selected < 0 || static_cast<std::size_t>(m_selected) >= m_versions.size())
        return ">" + std::string(kNoVersionSelected);
    const int file = m_versions[static_cast<std::size_t>(m_selected)].FileIndex;
    if (file < 0 || static_cast<std::size_t>(file) >= m_files.size())
        return ">" + std::string(kFileIndexOutOfRange);
    return joinPath(m_garageFolder, m_files[static_cast<std::size_t>(file)]);
}

std::string FileVersionModel::versionPath() {
    const std::string result = versionPathOrError();
    const bool failed = result.empty() || result.front() == '>';
    if (failed && m_action != ActionNone)
        m_prompt.tell(std::string(kVersionControlTitle),
                      result.empty() ? std::string(kEmptyFileName) : result.substr(1), PromptIcon::Stop);
    return failed ? std::string() : result;
}

bool FileVersionModel::updateVersion() {
    if (!m_browsing) {
        if (titleTaken(m_versions, cleanTitle(m_title))) {
            m_prompt.tell(std::string(kVersionControlTitle), std::string(kDuplicateTitle), PromptIcon::Stop);
            return false;
        }
    } else if (m_prompt.ask(std::string(kVersionControlTitle), std::string(kOverwriteQuestion), PromptButtons::YesNo,
                            PromptIcon::Question) != PromptAnswer::Yes) {
        return false;
    }

    m_action = ActionSaved;
    const std::string path = versionPath();
    if (path.empty()) {
        m_action = ActionNone;
        return false;
    }

    try {
        writeVersion(path, m_vehicle);
    } catch (const GarageError& error) {
        m_action = ActionNone;
        m_prompt.tell(std::string(editor::kFileErrorTitle), error.what(), PromptIcon::Stop);
        return false;
    } catch (const std::exception&) {
        m_action = ActionNone;
        m_prompt.tell(std::string(editor::kFileErrorTitle), std::string(kWriteBufferFailed), PromptIcon::Stop);
        return false;
    }
    m_flashes.flash(FlashPanel::CarName, kVersionCreatedFlash);

    // A notes failure keeps the dialog as it was (still adding, the notes still in the box), so that saving again
    // retries; the version file itself is already written.
    try {
        switch (saveNotes(path, m_notes)) {
        case NotesResult::Saved:
            m_flashes.flash(FlashPanel::FileName, kNotesSavedFlash);
            break;
        case NotesResult::Deleted:
            m_flashes.flash(FlashPanel::FileName, kNotesDeletedFlash);
            break;
        case NotesResult::Unchanged:
            break;
        }
    } catch (const GarageError& error) {
        m_action = ActionNone;
        m_prompt.tell(std::string(kVersionControlTitle), error.what(), PromptIcon::Stop);
        return false;
    }
    m_action = ActionNone;
    m_browsing = true;
    refresh();
    return true;
}

void FileVersionModel::deleteOne(const std::string& path) {
    switch (deleteVersion(path)) {
    case DeleteResult::InvalidExtension:
        m_prompt.tell(std::string(kVersionManagerTitle), std::string(kInvalidVersionExtension), PromptIcon::Stop);
        break;
    case DeleteResult::Failed:
        m_prompt.tell(std::string(kVersionManagerTitle), deleteFailedText(path), PromptIcon::Information);
        break;
    case DeleteResult::Deleted:
        break;
    }
}

bool FileVersionModel::deleteSelected() {
    if (!m_browsing || m_selected < 0)
        return false;
    if (m_prompt.ask(std::string(kVersionManagerTitle), std::string(kDeleteQuestion), PromptButtons::YesNo,
                     PromptIcon::Stop, PromptAnswer::No) != PromptAnswer::Yes)
        return false;
    deleteOne(versionPath());
    m_notes.clear();
    refresh();
    return true;
}

bool FileVersionModel::deleteAllVersions() {
    if (!m_browsing || m_versions.empty())
        return false;
    if (m_prompt.ask(std::string(kVersionManagerTitle), std::string(kDeleteAllQuestion), PromptButtons::YesNo,
                     PromptIcon::Stop, PromptAnswer::No) != PromptAnswer::Yes)
        return false;
    for (const VersionRecord& version : m_versions) {
        const bool listed = version.FileIndex >= 0 && static_cast<std::size_t>(version.FileIndex) < m_files.size();
        deleteOne(listed ? joinPath(m_garageFolder, m_files[static_cast<std::size_t>(version.FileIndex)])
                         : std::string());
    }
    m_notes.clear();
    refresh();
    return true;
}

bool FileVersionModel::load() {
    if (m_settings.generalWarnings && m_prompt.ask(std::string(kVersionControlTitle), std::string(kRevertQuestion),
                                                   PromptButtons::YesNo, PromptIcon::Exclamation) != PromptAnswer::Yes)
        return false;
    m_action = ActionLoad;
    return true;
}

bool FileVersionModel::loadGhost() {
    m_action = ActionLoadGhost;
    return true;
}

} // namespace qora::garage
