#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "browser/file_commands.h"

namespace qora {
class Prompt;
class VehicleFile;
} // namespace qora

// My Garage on disk: the names of version and notes files in the Garage folder, the versions of one vehicle,
// and the atomic writes of both kinds of file. A version is a complete vehicle text named
// base + "~" + title + ".vfv"; its notes sit beside it as the same name with ".txt".
namespace qora::garage {

// A version or notes file that cannot be named, written or deleted. The message is the text the user reads
// under "QORA Version Control".
class GarageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::string_view kVersionExtension = ".vfv";
inline constexpr std::string_view kNotesExtension = ".txt";

// Whether a path lies in the Garage folder, or is a ".vfv" file whose name holds "~" (letter case ignored).
// The browser's host chooses its start folder with it; it lives with the browser rules.
using browser::isGarageFile;

// ---- Names ------------------------------------------------------------------------------------------------------

// The vehicle's file name without its folder, in lower case, cut at its first "." (Bmw.Veh and bmw.old.veh
// both give "bmw", so they share their versions).
std::string versionBaseName(std::string_view vehiclePath);
// base + "~" + title + ".vfv"
std::string versionFileName(std::string_view base, std::string_view title);
// The notes file of a version: its path with the ".vfv" extension replaced by ".txt". Throws GarageError when the
// path has no extension.
std::string notesPathOf(const std::string& versionPath);

// ---- Titles -----------------------------------------------------------------------------------------------------

inline constexpr std::size_t kMaxTitleLength = 30;
// The characters a title cannot hold: they would change the file's name, folder or the title's own end.
inline constexpr std::string_view kForbiddenTitleCharacters = "\\/.><\"*?|=~";

// Whether a key typed into the title box is refused. Control characters are refused as well, so that a
// pasted tab or line break cannot reach a file name.
bool isForbiddenTitleCharacter(char c);
// The title box's key filter: false, after a beep, for a forbidden character.
bool titleKeyAccepted(char c, Prompt& prompt);
// A title as it is stored: leading and trailing blanks removed.
std::string cleanTitle(std::string_view title);
// Why a cleaned title cannot name a version file, or empty when it can. Typing cannot produce such a title,
// pasting can.
std::string titleProblem(std::string_view cleanedTitle);
inline constexpr std::string_view kNoTitle = "No version title entered.";
inline constexpr std::string_view kTitleTooLong = "Version titles cannot be longer than 30 characters.";
inline constexpr std::string_view kTitleCharacters =
    "Version titles cannot contain any of the characters \\ / . > < \" * ? | = ~";

// ---- The versions of a vehicle ----------------------------------------------------------------------------------

struct VersionRecord {
    std::string Title;
    int FileIndex = -1; // position of the file in the Garage listing
    std::filesystem::file_time_type Date{};
};

// The Garage folder as the dialog sees it for one vehicle: every file matching base + "~*" + ".vfv" (letter
// case ignored) in alphabetical order, and one record per version, oldest first. The title is the text after
// the "~" that follows the base, up to the next "."; a file whose title holds another "~" belongs to a vehicle
// whose own name continues with "~" and is not listed.
struct VersionListing {
    std::vector<std::string> files;
    std::vector<VersionRecord> versions;
};
// An unreadable or missing folder lists nothing.
VersionListing listVersions(const std::string& garageFolder, std::string_view base);

// Whether a title is already used by one of the versions, letter case ignored.
bool titleTaken(const std::vector<VersionRecord>& versions, std::string_view title);

// ---- Files ------------------------------------------------------------------------------------------------------

// The bytes of a version: the vehicle's lines, as its last save (prepare only) left them, each with CR LF.
// Throws GarageError when the vehicle holds no lines.
std::string versionBytes(const VehicleFile& vehicle);
// Writes (or replaces) a version file in one step: a failure leaves the previous file as it was and throws
// GarageError. The vehicle keeps its own file name.
void writeVersion(const std::string& versionPath, const VehicleFile& vehicle);

// The notes of a version, byte for byte; empty when it has none. Throws GarageError when a notes file exists but
// cannot be read.
std::string readNotes(const std::string& versionPath);

enum class NotesResult { Saved, Deleted, Unchanged };
// Stores the notes of a version: non-empty notes replace the notes file in one step (Saved); empty notes delete
// it (Deleted, or Unchanged when there was none). Throws GarageError; a failed write leaves the old notes file.
NotesResult saveNotes(const std::string& versionPath, std::string_view notes);

enum class DeleteResult { Deleted, InvalidExtension, Failed };
// Deletes a version file and then its notes. The notes stay when the version itself could not be deleted, so
// a version is never left without them. A notes file that cannot be deleted is left behind silently.
DeleteResult deleteVersion(const std::string& versionPath);

} // namespace qora::garage
