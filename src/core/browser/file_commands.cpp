#include "browser/file_commands.h"

#include <ctime>
#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "archive/vehicle_archive.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/text.h"
#include "vehicle/vehicle_file.h"

#ifdef _WIN32
#include "platform/windows_api.h"
#endif

namespace qora::browser {

namespace {

namespace fs = std::filesystem;

// The path without a trailing separator; a root keeps its own.
std::string withoutTrailingSeparator(const std::string& folder) {
    fs::path path = nativePath(folder);
    while (!path.has_filename() && path.has_relative_path())
        path = path.parent_path();
    return pathText(path);
}

std::string existingFolderOr(const std::string& path, const std::string& fallback) {
    const std::string folder = path.empty() ? std::string() : parentFolder(path);
    return withoutTrailingSeparator(!folder.empty() && fileSystem().folderExists(folder) ? folder : fallback);
}

} // namespace

bool samePath(const std::string& a, const std::string& b) {
    if (a.empty())
        return false;
    const fs::path first = nativePath(a).lexically_normal();
    const fs::path second = nativePath(b).lexically_normal();
#ifdef _WIN32
    // Windows names one file "Car.veh" and "CAR.VEH", in any mix of "\" and "/".
    return ::CompareStringOrdinal(first.c_str(), -1, second.c_str(), -1, TRUE) == CSTR_EQUAL;
#else
    return first == second;
#endif
}

std::string normalFolder(const std::string& folder) {
    fs::path path = nativePath(folder).lexically_normal();
    if (!path.has_filename() && path.has_relative_path())
        path = path.parent_path();
    return pathText(path);
}

// ---- Archive working copies -------------------------------------------------------------------------------------

bool isExtraction(std::string_view path) {
    const std::string lower = text::toLower(path);
    return lower.find(kWorkingCopyPrefix) != std::string::npos || lower.find(kGhostCopyPrefix) != std::string::npos;
}

std::string extractedEntryName(std::string_view path) {
    if (!isExtraction(path))
        return {};
    const std::string name = fileNameOf(std::string(path));
    const std::size_t equals = name.find('=');
    return equals == std::string::npos ? std::string() : name.substr(equals + 1);
}

// ---- Opening a vehicle ------------------------------------------------------------------------------------------

bool checksExistence(int mode) {
    return mode != VehicleFile::ModeNew;
}

std::string fileNotFoundText(const std::string& path) {
    return "Could not find requested file: " + path;
}

bool asksForMissingEntries(int mode) {
    return mode != VehicleFile::ModeGhost;
}

bool becomesCurrent(int mode) {
    return mode != VehicleFile::ModeGhost;
}

std::string priorEditorText(std::string_view editorName) {
    return "Prior Editor: " + (editorName.empty() ? std::string("Unknown") : std::string(editorName));
}

std::optional<std::string> workingCopyOfDiscarded(const std::string& newPath, bool keepPath,
                                                  const std::string& currentPath) {
    if (keepPath || !isExtraction(newPath) || samePath(currentPath, newPath))
        return std::nullopt;
    return newPath;
}

Replacement replaceDocument(const OpenDocument& current, const std::string& newPath, bool keepPath,
                            const std::string& newDescription) {
    const bool hasCurrent = !current.path.empty();
    Replacement result;
    if (keepPath && hasCurrent) {
        result.path = current.path;
        result.archiveEntry = current.archiveEntry;
    } else {
        const std::string name = fileNameOf(newPath);
        const bool extraction = isExtraction(newPath);
        if (extraction && !text::istartsWith(name, kWorkingCopyPrefix))
            throw VehicleArchiveError(std::string(kInvalidExtractionPrefix));
        result.path = newPath;
        if (hasCurrent && isExtraction(current.path) && !samePath(current.path, newPath))
            result.deleteWorkingCopy = current.path;
        if (extraction)
            result.archiveEntry =
                ArchiveEntryRecord{name.substr(kWorkingCopyPrefix.size()), newDescription, std::nullopt};
    }
    result.saveAsCaption = result.archiveEntry ? kSaveCopyAsCaption : kSaveAsCaption;
    return result;
}

void deleteWorkingCopy(const std::string& path) {
    // The backups its saves made go with it: they belong to the working copy, not to the archive, and would pile
    // up in the working-copy folder.
    for (const std::string& file : {path, originalBackupPath(path), priorBackupPath(path)}) {
        try {
            fileSystem().removeFile(file);
        } catch (const FileError&) {
        }
    }
}

// ---- Recent lists -----------------------------------------------------------------------------------------------

bool recordRecent(std::vector<RecentRecord>& list, const std::string& path, std::string_view description) {
    if (!text::iequals(pathText(nativePath(path).extension()), ".veh") || !fileSystem().fileExists(path))
        return false;
    std::string caption = "[ " + std::string(description);
    for (const RecentRecord& record : list)
        if (text::iequals(record.path, path) && record.caption == caption)
            return false;
    if (list.size() >= kRecentLimit)
        list.resize(kRecentLimit - 1);
    list.insert(list.begin(), RecentRecord{path, std::move(caption)});
    return true;
}

std::vector<RecentMenuEntry> recentMenu(const std::vector<RecentRecord>& list) {
    std::vector<RecentMenuEntry> menu;
    for (const RecentRecord& record : list)
        if (!isExtraction(record.path))
            menu.push_back({record.caption + " ] " + record.path, record.path});
    return menu;
}

bool recentFileAvailable(const std::string& path, Prompt& prompt) {
    if (fileSystem().fileExists(path))
        return true;
    prompt.tell(std::string(kRecentOpenTitle), std::string(kRecentMissing), PromptIcon::Stop);
    return false;
}

// ---- Backups ----------------------------------------------------------------------------------------------------

std::string backupPath(const std::string& path, BackupKind kind) {
    return kind == BackupKind::Prior ? priorBackupPath(path) : originalBackupPath(path);
}

BackupEntry backupEntry(const std::string& currentPath, BackupKind kind, const std::locale& locale) {
    BackupEntry entry;
    entry.caption = std::string(kind == BackupKind::Prior ? kPriorCaption : kOriginalCaption);
    if (currentPath.empty())
        return entry;
    const std::string backup = backupPath(currentPath, kind);
    if (!fileSystem().fileExists(backup))
        return entry;
    try {
        const std::string time = formatFileTime(fileSystem().modificationTime(backup), locale);
        entry.caption += " - " + time;
        entry.enabled = true;
    } catch (const FileError&) {
        // Gone between the two looks: as missing.
    }
    return entry;
}

std::optional<std::string> backupToOpen(const std::string& currentPath, BackupKind kind, Prompt& prompt) {
    const std::string backup = currentPath.empty() ? std::string() : backupPath(currentPath, kind);
    if (!backup.empty() && fileSystem().fileExists(backup))
        return backup;
    prompt.tell(std::string(kOpenBackupTitle), std::string(kBackupNotFound), PromptIcon::Stop);
    return std::nullopt;
}

std::string formatDateTime(std::chrono::system_clock::time_point time, const std::locale& locale) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    std::ostringstream out;
    out.imbue(locale);
    out << std::put_time(&local, "%x %X");
    return out.str();
}

std::string formatFileTime(std::filesystem::file_time_type time, const std::locale& locale) {
    const auto system = std::chrono::file_clock::to_sys(time);
    return formatDateTime(std::chrono::time_point_cast<std::chrono::system_clock::duration>(system), locale);
}

std::locale userLocale() {
    try {
        return std::locale("");
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}

// ---- Car pictures -----------------------------------------------------------------------------------------------

CarPicture vehiclePicture(const std::string& path) {
    if (path.empty())
        return CarPicture::noCar();
    const std::string name = fileNameOf(path);
    if (isExtraction(name)) {
        const std::size_t equals = name.find('=');
        return builtInThumbnail(text::toUpper(std::string_view(name).substr(equals + 1, 4)));
    }
    const std::string code = text::toUpper(std::string_view(name).substr(0, 4));
    if (code.empty())
        return CarPicture::noCar();
    // code + "*.bmp", with the code's characters taken literally.
    const std::string folder = withoutTrailingSeparator(parentFolder(path));
    for (const std::string& bitmap : listFiles(folder, "*.bmp"))
        if (bitmap.size() >= code.size() + 4 && text::istartsWith(bitmap, code))
            return CarPicture::bitmapFile(joinPath(folder, bitmap));
    return CarPicture::noCar();
}

bool isGarageFile(const std::string& path, const std::string& garageFolder) {
    if (!garageFolder.empty() &&
        text::iequals(withoutTrailingSeparator(parentFolder(path)), withoutTrailingSeparator(garageFolder)))
        return true;
    const fs::path file = nativePath(path);
    return text::iequals(pathText(file.extension()), ".vfv") && fileNameOf(path).find('~') != std::string::npos;
}

CarPicture ghostPicture(const std::string& path, const std::string& garageFolder, const std::string& patchFolder) {
    if (path.empty() || !isGarageFile(path, garageFolder))
        return vehiclePicture(path);
    const std::string name = text::toUpper(fileNameOf(path));
    const std::size_t tilde = name.find('~');
    if (patchFolder.empty() || tilde == std::string::npos)
        return CarPicture::noCar();
    return vehiclePicture(joinPath(patchFolder, name.substr(0, tilde) + ".VEH"));
}

// ---- The browser's start and end --------------------------------------------------------------------------------

BrowserStart browserStartForVehicle(const std::string& vehiclePath, std::string_view classText,
                                    const std::string& programFolder) {
    return {existingFolderOr(vehiclePath, programFolder), text::toUpper(classText), vehiclePath};
}

BrowserStart browserStartForGhost(const std::string& ghostPath, std::string_view ghostClass,
                                  const std::string& vehiclePath, const std::string& garageFolder,
                                  const std::string& programFolder) {
    const std::string& folderOf = isGarageFile(ghostPath, garageFolder) ? vehiclePath : ghostPath;
    return {existingFolderOr(folderOf, programFolder), text::toUpper(ghostClass), ghostPath};
}

ArchiveForBrowser readArchiveForBrowser(VehicleArchive& archive, Prompt& prompt) {
    try {
        return archive.load() ? ArchiveForBrowser::Loaded : ArchiveForBrowser::NotLoaded;
    } catch (const VehicleArchiveError& error) {
        prompt.tell(std::string(kMasReaderErrorTitle), error.what(), PromptIcon::Stop);
        return ArchiveForBrowser::Failed;
    }
}

void prepareBrowser(VehicleList& list, const Settings& settings, const BrowserStart& start, bool masAvailable) {
    list.MasAvailable = masAvailable;
    list.setShowCarPic(settings.showCarPic);
    list.setRacePercent(settings.showRacePercentage);
    list.setUserClasses(settings.carClasses);
    list.setFavorites(settings.favoriteFolders);
    const bool archiveEntry = isExtraction(start.proposedFile);
    if (!start.proposedFile.empty())
        list.InitialFileName = archiveEntry ? extractedEntryName(start.proposedFile) : fileNameOf(start.proposedFile);
    list.setFolder(start.folder);
    // Without an archive its mode would list nothing: a working copy then opens the browser on its folder.
    list.setArchiveMode(archiveEntry && masAvailable);
    list.Ready = true;
    list.setClassText(start.carClass.empty() ? kAllClasses : std::string_view(start.carClass));
}

void storeBrowserChoices(const VehicleList& list, Settings& settings) {
    settings.carClasses = list.userClasses();
    settings.favoriteFolders = list.favorites();
    settings.showCarPic = list.showCarPic();
    settings.showRacePercentage = list.racePercent();
}

std::optional<std::string> browserSelectionPath(const VehicleList& list, VehicleArchive* archive, bool asGhost,
                                                Prompt& prompt) {
    const std::string selection = list.selection();
    if (selection.empty() || (list.archiveMode() && !archive)) {
        prompt.tell(std::string(kGetSelectionTitle), std::string(kInvalidSelection), PromptIcon::Stop);
        return std::nullopt;
    }
    if (!list.archiveMode())
        return selection;
    try {
        return archive->extractEntry(selection, asGhost);
    } catch (const VehicleArchiveError& error) {
        prompt.tell(std::string(kExtractionTitle), error.what(), PromptIcon::Stop);
    } catch (const FileError& error) {
        prompt.tell(std::string(kExtractionTitle), error.what(), PromptIcon::Stop);
    }
    return std::nullopt;
}

// ---- Saving -----------------------------------------------------------------------------------------------------

std::string archiveSaveQuestion(std::string_view entryName) {
    return "This will replace file [" + std::string(entryName) +
           "] in your vehicle.mas file.  Are you sure you want to overwrite this entry in your vehicle.mas file?";
}

} // namespace qora::browser
