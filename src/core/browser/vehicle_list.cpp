#include "browser/vehicle_list.h"

#include <algorithm>

#include "archive/vehicle_archive.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"

namespace qora::browser {

namespace {

constexpr std::string_view kNotepadArchiveWarningStart = "This function only allows you to load the temp file [";
constexpr std::string_view kNotepadArchiveWarningEnd =
    "].  You cannot update any changes using this method to your vehicle.mas file.";
constexpr std::string_view kNotepadFileWarningStart = "This function has the potential to cause the file [";
constexpr std::string_view kNotepadFileWarningEnd =
    "] to become 'out-of-sync'.  If you edit the data in one program (NotePad or QORA), those changes will NOT be "
    "reflected in the other program.";
// Appended to an entry name, asks the archive for its throwaway copy.
constexpr std::string_view kThrowawayMarker = "~temp~";

// One pattern of a mask, matched from the front with backtracking to the last "*".
bool matchesPattern(std::string_view name, std::string_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || text::toLower(pattern[p]) == text::toLower(name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string_view firstFour(std::string_view name) {
    return name.substr(0, 4);
}

bool isFixedFilter(std::string_view item) {
    return item.empty() || text::iequals(item, kAllClasses) || text::iequals(item, kOtherClasses);
}

template <class List> int indexOfIgnoringCase(const List& list, std::string_view value) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (text::iequals(list[i], value))
            return static_cast<int>(i);
    return -1;
}

} // namespace

// ---- Masks ------------------------------------------------------------------------------------------------------

bool isVehicleMask(std::string_view mask) {
    return mask == "*.veh" || mask == "*.veb" || mask == "*.vex" || mask == "*.qora";
}

bool matchesMask(std::string_view name, std::string_view mask) {
    for (std::size_t start = 0; start <= mask.size();) {
        std::size_t end = mask.find(';', start);
        if (end == std::string_view::npos)
            end = mask.size();
        const std::string_view pattern = text::trimView(mask.substr(start, end - start));
        if (pattern == "*.*" || (!pattern.empty() && matchesPattern(name, pattern)))
            return true;
        start = end + 1;
    }
    return false;
}

bool alphabeticallyBefore(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(text::toLower(a[i]));
        const auto y = static_cast<unsigned char>(text::toLower(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

namespace {

std::vector<FolderEntry> listFolderQuietly(const std::string& folder) {
    if (folder.empty())
        return {};
    try {
        return fileSystem().listFolder(folder);
    } catch (const FileError&) {
        return {};
    }
}

std::vector<std::string> filesMatching(const std::vector<FolderEntry>& entries, std::string_view mask) {
    std::vector<std::string> names;
    for (const FolderEntry& entry : entries)
        if (entry.isFile && matchesMask(entry.name, mask))
            names.push_back(entry.name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return alphabeticallyBefore(a, b); });
    return names;
}

} // namespace

std::vector<std::string> listFiles(const std::string& folder, std::string_view mask) {
    return filesMatching(listFolderQuietly(folder), mask);
}

// ---- Classes, marks, thumbnails ---------------------------------------------------------------------------------

std::string_view raceMark(std::string_view unlockPoints) {
    switch (unlockPoints.empty() ? '\0' : unlockPoints.front()) {
    case '0':
        return " - [Random]";
    case '1':
        return " - [80%]";
    case '2':
        return " - [60%]";
    case '3':
        return " - [40%]";
    case '4':
        return " - [20%]";
    case '5':
        return " - [0%]";
    default:
        return " - [?%]";
    }
}

CarPicture builtInThumbnail(std::string_view code) {
    for (std::string_view known : kThumbnailCodes)
        if (text::iequals(known, code))
            return {"BMP" + std::string(known), {}, false};
    return CarPicture::noCar();
}

std::optional<std::string> findThumbnail(const std::vector<std::string>& bitmaps, std::string_view code) {
    for (const std::string& name : bitmaps)
        if (text::iequals(firstFour(name), code))
            return name;
    return std::nullopt;
}

// ---- The list ---------------------------------------------------------------------------------------------------

VehicleList::VehicleList(VehicleArchive* masFile, Settings& settings, Prompt& prompt)
    : m_masFile(masFile), m_settings(&settings), m_prompt(&prompt) {
    setUserClasses({});
}

void VehicleList::setShowCarPic(bool on) {
    m_showCarPic = on;
    updateSelection();
}

void VehicleList::setRacePercent(bool on) {
    m_racePercent = on;
    fileListChanged();
}

void VehicleList::setUserClasses(const std::vector<std::string>& classes) {
    m_classes.assign(kFixedClasses.begin(), kFixedClasses.end());
    m_classes.insert(m_classes.end(), classes.begin(), classes.end());
}

std::vector<std::string> VehicleList::userClasses() const {
    return {m_classes.begin() + static_cast<std::ptrdiff_t>(kFirstUserClass), m_classes.end()};
}

void VehicleList::setClassText(std::string_view text) {
    m_classText = std::string(text);
    fileListChanged();
}

void VehicleList::setFavorites(std::vector<std::string> folders) {
    m_favorites = std::move(folders);
    selectFavoriteOfFolder();
}

void VehicleList::selectFavoriteOfFolder() {
    m_favorite = m_folder.empty() ? -1 : indexOfIgnoringCase(m_favorites, m_folder);
}

void VehicleList::setFolder(const std::string& folder) {
    m_folder = folder;
    selectFavoriteOfFolder();
    m_lostFiles.clear();
    listFolder();
    fileListChanged();
}

void VehicleList::setMask(std::string_view mask) {
    m_mask = std::string(mask);
    listFolder();
    fileListChanged();
}

void VehicleList::refreshFiles() {
    listFolder();
    fileListChanged();
}

void VehicleList::listFolder() {
    const std::vector<FolderEntry> entries = listFolderQuietly(m_folder);
    m_files = filesMatching(entries, m_mask);
    m_bitmaps = filesMatching(entries, "*.bmp");
    m_details.assign(m_files.size(), Details());
    m_listed = true;
}

void VehicleList::setArchiveMode(bool on) {
    m_masMode = on;
    fileListChanged();
}

void VehicleList::show() {
    m_onScreen = true;
    if (m_masMode)
        m_favorite = m_favorites.empty() ? -1 : 0;
    else
        selectFavoriteOfFolder();
    if (InitialFileName.empty() || m_items.empty())
        return;
    for (std::size_t i = m_items.size(); i-- > 0;) {
        if (text::iequals(itemName(m_items[i]), InitialFileName)) {
            m_selected = static_cast<int>(i);
            break;
        }
    }
    updateSelection();
}

const VehicleList::Details& VehicleList::detailsOf(std::size_t file) {
    Details& details = m_details[file];
    if (details.state != Details::Unread)
        return details;
    // Only the description lines are needed, read without any question to the user.
    SilentPrompt silent;
    VehicleFile vehicle(joinPath(m_folder, m_files[file]), silent, *m_settings);
    vehicle.detailsOnly = true;
    try {
        vehicle.load(VehicleFile::ModeOpen);
        auto value = [&vehicle](std::string_view key) {
            const EntryRec* entry = vehicle.findEntry(veh::SecDetails, key);
            return entry ? entry->value : std::string();
        };
        details.description = value("//DescFile=");
        details.carClass = text::toUpper(value("//DescClass="));
        details.unlockPoints = value("//UnlockPoints=");
        details.state = Details::Read;
    } catch (const VehicleFileError&) {
        details.state = Details::Unreadable;
    } catch (const FileError&) {
        details.state = Details::Unreadable;
    }
    return details;
}

std::string VehicleList::formatCarItem(std::string_view carClass, std::string_view description,
                                       std::string_view unlockPoints) const {
    if (description.empty() || carClass.empty())
        return {};
    std::string item(description);
    if (m_racePercent)
        item += raceMark(unlockPoints);
    const std::string filter = text::toUpper(m_classText);
    if (filter == kAllClasses)
        return item;
    if (filter == kOtherClasses) {
        for (const std::string& known : m_classes)
            if (!isFixedFilter(known) && text::iequals(known, carClass))
                return {};
        return item;
    }
    return text::iequals(filter, carClass) ? item : std::string();
}

void VehicleList::fileListChanged() {
    if (!Ready)
        return;
    m_items.clear();
    m_lostFiles.clear();
    m_selected = -1;

    const bool vehicleMask = isVehicleMask(m_mask);
    if (m_masMode) {
        if (m_masFile && m_masFile->Entries) {
            const auto& entries = *m_masFile->Entries;
            for (std::size_t i = 0; i < entries.size(); ++i) {
                std::string text = formatCarItem(entries[i].DescClass, entries[i].DescFile, entries[i].UnlockPoints);
                if (!text.empty())
                    m_items.push_back({std::move(text), static_cast<int>(i)});
            }
        }
    } else if (vehicleMask) {
        const bool collectLost = m_settings->warnCompressedFiles;
        for (std::size_t i = 0; i < m_files.size(); ++i) {
            const Details& details = detailsOf(i);
            if (details.state == Details::Unreadable) {
                if (collectLost)
                    m_lostFiles.push_back(m_files[i]);
                continue;
            }
            std::string text = formatCarItem(details.carClass, details.description, details.unlockPoints);
            if (!text.empty())
                m_items.push_back({std::move(text), static_cast<int>(i)});
        }
    } else {
        for (std::size_t i = 0; i < m_files.size(); ++i)
            m_items.push_back({m_files[i], static_cast<int>(i)});
    }
    if (m_masMode || vehicleMask)
        std::stable_sort(m_items.begin(), m_items.end(),
                         [](const CarItem& a, const CarItem& b) { return alphabeticallyBefore(a.text, b.text); });

    if (!m_items.empty())
        m_selected = 0;
    updateSelection();
    // The report belongs to a listing of the folder, once per folder: a filter typed into the class box rebuilds
    // the list too, and a report then would take the typing away.
    if (m_listed && !m_masMode && !m_lostFiles.empty() && m_reportedFolders.insert(m_folder).second)
        m_reportDue = true;
    m_listed = false;
}

void VehicleList::selectItem(int index) {
    m_selected = index >= 0 && index < static_cast<int>(m_items.size()) ? index : -1;
    updateSelection();
}

std::string VehicleList::itemName(const CarItem& item) const {
    const auto source = static_cast<std::size_t>(item.source);
    if (m_masMode)
        return m_masFile && m_masFile->Entries && source < m_masFile->Entries->size()
                   ? (*m_masFile->Entries)[source].Name
                   : std::string();
    return source < m_files.size() ? m_files[source] : std::string();
}

void VehicleList::updateSelection() {
    if (m_selected < 0) {
        m_picture = CarPicture::noCar();
        m_name.clear();
        return;
    }
    m_name = itemName(m_items[static_cast<std::size_t>(m_selected)]);
    if (!m_showCarPic)
        return;
    if (m_name.empty() || !isVehicleMask(m_mask)) {
        m_picture = CarPicture::noCar();
        return;
    }
    const std::string_view code = firstFour(m_name);
    if (m_masMode) {
        m_picture = builtInThumbnail(code);
        return;
    }
    const auto bitmap = findThumbnail(m_bitmaps, code);
    m_picture = bitmap ? CarPicture::bitmapFile(joinPath(m_folder, *bitmap)) : CarPicture::noCar();
}

std::string VehicleList::fileCountText() const {
    return text::intToText(static_cast<long long>(m_items.size()));
}

std::string VehicleList::fileNameText() const {
    return text::toLower(m_name);
}

bool VehicleList::classEnabled() const {
    return m_masMode || isVehicleMask(m_mask);
}

ContextCommands VehicleList::commands() const {
    ContextCommands commands;
    commands.notepad = isVehicleMask(m_mask) && !m_name.empty();
    commands.copy = commands.move = commands.remove = commands.notepad && !m_masMode;
    return commands;
}

bool VehicleList::takeLostFilesReport() {
    // A listing made before the dialog came on screen is reported once it is there.
    if (!m_onScreen)
        return false;
    const bool due = m_reportDue;
    m_reportDue = false;
    return due;
}

std::string VehicleList::selection() const {
    if (m_name.empty())
        return {};
    return m_masMode ? m_name : joinPath(m_folder, m_name);
}

// ---- Favourites, classes, text editor ---------------------------------------------------------------------------

void VehicleList::chooseFavorite(int index) {
    if (index < 0 || index >= static_cast<int>(m_favorites.size()))
        return;
    m_favorite = index;
    const std::string item = m_favorites[static_cast<std::size_t>(index)];
    if (text::iequals(item, kArchiveFavorite)) {
        if (MasAvailable)
            setArchiveMode(true);
        else
            m_prompt->tell(std::string(kMasReaderTitle), std::string(kArchiveUnavailable), PromptIcon::Stop);
        return;
    }
    if (item.empty() || !fileSystem().folderExists(item))
        return;
    m_masMode = false;
    setFolder(item);
}

void VehicleList::addFavorite() {
    if (m_folder.empty())
        return;
    m_favorite = indexOfIgnoringCase(m_favorites, m_folder);
    if (m_favorite < 0) {
        m_favorites.push_back(m_folder);
        m_favorite = static_cast<int>(m_favorites.size()) - 1;
    }
}

void VehicleList::deleteFavorite() {
    if (m_favorite < 0 || m_favorite >= static_cast<int>(m_favorites.size()) ||
        text::iequals(m_favorites[static_cast<std::size_t>(m_favorite)], kArchiveFavorite)) {
        m_prompt->beep();
        return;
    }
    m_favorites.erase(m_favorites.begin() + m_favorite);
    m_favorite = -1;
}

void VehicleList::addClass() {
    if (isFixedFilter(m_classText) || indexOfIgnoringCase(m_classes, m_classText) >= 0) {
        m_prompt->tell(std::string(kClassTitle), std::string(kClassExists), PromptIcon::Stop);
        return;
    }
    m_classes.push_back(m_classText);
}

void VehicleList::deleteClass() {
    const int index = indexOfIgnoringCase(m_classes, m_classText);
    if (isFixedFilter(m_classText) || index < static_cast<int>(kFirstUserClass)) {
        m_prompt->tell(std::string(kClassTitle), std::string(kClassNotDeletable), PromptIcon::Stop);
        return;
    }
    m_classes.erase(m_classes.begin() + index);
}

std::optional<std::string> VehicleList::openInNotepad() {
    if (!commands().notepad)
        return std::nullopt;
    const bool warn = m_settings->generalWarnings;
    if (!m_masMode) {
        std::string path = selection();
        if (warn)
            m_prompt->tell(std::string(kNotepadTitle),
                           std::string(kNotepadFileWarningStart) + path + std::string(kNotepadFileWarningEnd),
                           PromptIcon::Exclamation);
        return path;
    }
    if (!m_masFile)
        return std::nullopt;
    std::string path;
    try {
        path = m_masFile->extractEntry(m_name + std::string(kThrowawayMarker), false);
    } catch (const VehicleArchiveError& error) {
        m_prompt->tell(std::string(kExtractionTitle), error.what(), PromptIcon::Stop);
        return std::nullopt;
    } catch (const FileError& error) {
        m_prompt->tell(std::string(kExtractionTitle), error.what(), PromptIcon::Stop);
        return std::nullopt;
    }
    if (warn)
        m_prompt->tell(std::string(kNotepadTitle),
                       std::string(kNotepadArchiveWarningStart) + path + std::string(kNotepadArchiveWarningEnd),
                       PromptIcon::Exclamation);
    return path;
}

} // namespace qora::browser
