#pragma once

#include <chrono>
#include <filesystem>
#include <locale>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/working_copy_names.h"
#include "browser/vehicle_list.h"
#include "settings/settings.h"

namespace qora {
class Prompt;
class VehicleArchive;
} // namespace qora

// The rules behind the main window's file commands: what opening a vehicle does to the document it replaces,
// the archive working copies, the recent lists, the backup entries, the car pictures and the browser's start.
namespace qora::browser {

// ---- Archive working copies -------------------------------------------------------------------------------------

// Whether two paths name the same file once "." and ".." are resolved (letter case counts); false for an empty `a`.
bool samePath(const std::string& a, const std::string& b);

// A folder path in one spelling: "." and ".." resolved, no trailing separator (but for a root).
std::string normalFolder(const std::string& folder);

// Whether a path names a file extracted from the archive: its lower-cased text holds "vehiclemas=" or "ghostmas=".
bool isExtraction(std::string_view path);
// The entry name inside an extraction's file name: the part after its first "=". Empty for other paths.
std::string extractedEntryName(std::string_view path);

// ---- Opening a vehicle ------------------------------------------------------------------------------------------
// The modes are those of VehicleFile::load: ModeOpen (0), ModeNew (1, the template), ModeGhost (2, load only).

inline constexpr std::string_view kInvalidExtractionPrefix = "Invalid prefix on filename of extracted mas file.";
inline constexpr std::string_view kSaveAsCaption = "Save &As...";
inline constexpr std::string_view kSaveCopyAsCaption = "Save Copy &As...";

// Whether the file must exist before it is loaded (every mode but the template's).
bool checksExistence(int mode);
// "Could not find requested file: " + path (under "QORA File Error").
std::string fileNotFoundText(const std::string& path);
// Whether missing entries are offered in the lost-entries dialog; a load-only vehicle instead gets the
// ghost-problems flag and loads on.
bool asksForMissingEntries(int mode);
// Whether the vehicle becomes the current document (load only hands it back to its caller).
bool becomesCurrent(int mode);
// "Prior Editor: " + the vehicle's prior editor, or "Unknown" without one.
std::string priorEditorText(std::string_view editorName);

// The archive entry an open working copy stands for; Save writes it back into the archive.
struct ArchiveEntryRecord {
    std::string entryName;
    std::string description;
    // The hash of the entry's bytes in the archive when QORA extracted it or last wrote it back, so a change by
    // another program in between is noticed before the write-back; unknown for an entry opened otherwise.
    std::optional<std::uint64_t> entryHash;
    bool operator==(const ArchiveEntryRecord&) const = default;
};

// The window's current document as the file commands see it; an empty path when there is none.
struct OpenDocument {
    std::string path;
    std::optional<ArchiveEntryRecord> archiveEntry;
};

// The working copy to delete when a freshly loaded vehicle is discarded (its load failed, the user chose Abort or
// cancelled the save question): the new path when it is an extraction and keepPath is clear. A file that is also
// the current document's is never deleted.
std::optional<std::string> workingCopyOfDiscarded(const std::string& newPath, bool keepPath,
                                                  const std::string& currentPath);

// What opening a vehicle in place of the current document does, once the new vehicle has loaded and the save
// question is past.
struct Replacement {
    std::string path;                               // the path the new current vehicle takes
    std::optional<std::string> deleteWorkingCopy;   // the replaced document's working copy
    std::optional<ArchiveEntryRecord> archiveEntry; // the record while the new vehicle is open
    std::string_view saveAsCaption;                 // mSaveAs's caption
};
// With keepPath the new vehicle takes the current path and the archive record stays; otherwise the replaced
// document's working copy goes (unless the new vehicle is that very file) and a main working copy opened gets
// its record, named by its file name after "vehiclemas=". Throws VehicleArchiveError(kInvalidExtractionPrefix) for an
// extraction of another kind, before anything is decided, so the current document stays as it is.
Replacement replaceDocument(const OpenDocument& current, const std::string& newPath, bool keepPath,
                            const std::string& newDescription);

// Deletes a working copy with the backups ("X" and "B") its saves made; a failure leaves it behind, to be met by
// the extraction question next time.
void deleteWorkingCopy(const std::string& path);

// ---- Recent lists -----------------------------------------------------------------------------------------------

inline constexpr std::size_t kRecentLimit = 5;
inline constexpr std::string_view kRecentOpenTitle = "QORA File Open";
inline constexpr std::string_view kRecentMissing =
    "The file you selected could not be found.  It may have been moved or deleted.";

// Records a vehicle that is replaced, closed or still open at the end: only an existing ".veh" file; a record of
// the same path (letter case ignored) and the same caption "[ " + description leaves the list as it is; otherwise
// the new record goes on top and the list keeps its first five. Returns whether the list changed.
bool recordRecent(std::vector<RecentRecord>& list, const std::string& path, std::string_view description);

struct RecentMenuEntry {
    std::string caption; // "[ " + description + " ] " + path
    std::string path;
};
// The menu of a recent list: one entry per record, none for archive working copies.
std::vector<RecentMenuEntry> recentMenu(const std::vector<RecentRecord>& list);
// Whether a picked recent file still exists; tells the user when it does not.
bool recentFileAvailable(const std::string& path, Prompt& prompt);

// ---- Backups ----------------------------------------------------------------------------------------------------

enum class BackupKind { Prior, Original };
inline constexpr std::string_view kPriorCaption = "Open &Prior (veB)";
inline constexpr std::string_view kOriginalCaption = "Open &Original (veX)";
inline constexpr std::string_view kOpenBackupTitle = "QORA Open Backup";
inline constexpr std::string_view kBackupNotFound = "File not found.";

// The backup of a path: its last character replaced by "B" (prior) or "X" (original).
std::string backupPath(const std::string& path, BackupKind kind);

struct BackupEntry {
    bool enabled = false;
    std::string caption;
};
// The menu entry of a backup: enabled exactly when the backup exists, and then captioned with its modification
// time after " - ".
BackupEntry backupEntry(const std::string& currentPath, BackupKind kind, const std::locale& locale);
// The backup to open in place of the current file; nullopt after "File not found." when it is missing.
std::optional<std::string> backupToOpen(const std::string& currentPath, BackupKind kind, Prompt& prompt);

// A local time as the locale writes its short date, a space and its long time.
std::string formatDateTime(std::chrono::system_clock::time_point time, const std::locale& locale);
std::string formatFileTime(std::filesystem::file_time_type time, const std::locale& locale);
// The user's locale, or the classic one when the environment names none that exists.
std::locale userLocale();

// ---- Car pictures -----------------------------------------------------------------------------------------------

// The picture for a vehicle path: "bmpNoCar" for an empty path; for an archive working copy the built-in thumbnail
// "BMP" + the four characters after its file name's first "="; otherwise the alphabetically first bitmap of the
// file's folder matching the file name's first four characters + "*.bmp", stretched, or "bmpNoCar".
CarPicture vehiclePicture(const std::string& path);
// A Garage version file: in the garage folder, or a ".vfv" file whose name holds "~" (letter case ignored).
bool isGarageFile(const std::string& path, const std::string& garageFolder);
// The ghost's picture: for a Garage version the vehicle it was saved from, found in the patch folder under the
// version name cut before its first "~" + ".VEH"; else as vehiclePicture.
CarPicture ghostPicture(const std::string& path, const std::string& garageFolder, const std::string& patchFolder);

// ---- The browser's start and end --------------------------------------------------------------------------------

inline constexpr std::string_view kMasReaderErrorTitle = "QORA MAS Reader";
inline constexpr std::string_view kGetSelectionTitle = "QORA Get Selection";
inline constexpr std::string_view kInvalidSelection = "Invalid file selection.";

struct BrowserStart {
    std::string folder;       // start folder, without a trailing separator
    std::string carClass;     // class shown, upper case
    std::string proposedFile; // the file or working copy to preselect; empty for none
};
// Started for the current vehicle: its folder when that exists, else the program folder; the class box's text.
BrowserStart browserStartForVehicle(const std::string& vehiclePath, std::string_view classText,
                                    const std::string& programFolder);
// Started for the open ghost: the current vehicle's folder for a Garage version, else the ghost's folder when that
// exists, else the program folder; the ghost's class.
BrowserStart browserStartForGhost(const std::string& ghostPath, std::string_view ghostClass,
                                  const std::string& vehiclePath, const std::string& garageFolder,
                                  const std::string& programFolder);

// Whether the archive could be read for the browser.
enum class ArchiveForBrowser { Loaded, NotLoaded, Failed };
// Reads the archive before the browser opens. NotLoaded: the browser opens without it. Failed: its message was
// shown under "QORA MAS Reader" and the command ends.
ArchiveForBrowser readArchiveForBrowser(VehicleArchive& archive, Prompt& prompt);

// The host's set-up of a browser before showing it: the check boxes, classes and favourites from the settings,
// the start folder and the file to preselect, archive mode for a working copy, then Ready and the class (which
// builds the list). `masAvailable`: the archive was read.
void prepareBrowser(VehicleList& list, const Settings& settings, const BrowserStart& start, bool masAvailable);
// What the host keeps after the browser closed with either button: user classes, favourites, the two boxes.
void storeBrowserChoices(const VehicleList& list, Settings& settings);
// The file to open after the browser closed with OK: the selected file, or the selected entry extracted as the
// main vehicle's working copy (or the ghost's). nullopt after the message for an empty selection or a failed
// extraction.
std::optional<std::string> browserSelectionPath(const VehicleList& list, VehicleArchive* archive, bool asGhost,
                                                Prompt& prompt);

// ---- Saving -----------------------------------------------------------------------------------------------------

inline constexpr std::string_view kMasWriterTitle = "QORA Mas Writer";
inline constexpr std::string_view kMasHandlerTitle = "QORA Mas Handler";
inline constexpr std::string_view kSaveCopyNotice =
    "Because you are editing an internal vehicle from your vehicle.mas file, this procedure will only save a COPY of "
    "the current file.  The current file will remain loaded.";
// The question before an archive entry is written back.
std::string archiveSaveQuestion(std::string_view entryName);

} // namespace qora::browser
