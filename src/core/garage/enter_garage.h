#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qora {
class Prompt;
class VehicleFile;
class Settings;
} // namespace qora

// The main window's "&My Garage..." command around the dialog: the Garage folder, bringing the vehicle's text up
// to date before the dialog, and what the dialog's Load and Load As Ghost ask the window to open afterwards.
namespace qora::garage {

class FileVersionModel;

// "In order to use Version Control, QORA must create the folder [" + folder + "] for storage.  Continue?"
std::string createFolderQuestion(const std::string& folder);
inline constexpr std::string_view kCreateFolderFailed = "Could not create requested folder.";
inline constexpr std::string_view kTransferFailed =
    "Data from page fields could not be transfered to file buffer.  Cannot enter Garage due to buffer transfer "
    "failure.  If you did not Cancel data transfer manually, please report this internal error to the email "
    "address in the About dialog.";
inline constexpr std::string_view kInternalFilenameError =
    "Internal Filename Error: Requested function did not succeed.";
// Shown (stop icon, "QORA Version Control") when opening the version as the main vehicle failed.
inline constexpr std::string_view kVersionLoadFailed =
    "Function failed.  If you selected to load a version, it may not be fully loaded (if at all) due to file errors.";
// The placeholder name of the prepare-only save; nothing is written under it.
inline constexpr std::string_view kPrepareOnlyName = "dummy.txt";
// "Could not create mas ghost file [" + copy + "] from file [" + version + "].  File not loaded."
std::string masGhostCopyFailedText(const std::string& copy, const std::string& version);

// Everything before the dialog opens, in order: the Garage folder (created, one level, after the question);
// the window's transfer of its page fields into the vehicle's buffer (`transfer` returns false after showing
// its own failure); the vehicle's save in prepare-only mode, which brings its lines up to date and validates them
// without writing a file or changing its file name. Every failure is shown through the prompt; returns whether
// the dialog may open.
bool enterGarage(VehicleFile& vehicle, const Settings& settings, Prompt& prompt, const std::function<bool()>& transfer);

// What the window opens after the dialog closed with a load.
struct GarageLoad {
    enum class As { MainVehicle, Ghost };
    As as = As::MainVehicle;
    std::string path; // the file to open
    // As the main vehicle: opened in mode 0 with the keep-path flag, so the document keeps its own path, and then
    // marked changed (a save writes the version over the vehicle's file).
    bool keepPath = false;
    bool markChanged = false;
    bool operator==(const GarageLoad&) const = default;
};

// After the dialog: nothing for no action or a saved version; otherwise the version file (after the dialog's own
// message and "Internal Filename Error..." when there is none). A ghost loaded while the main vehicle is an
// archive working copy is first copied to masGhostCopyPath (after the failure message, nothing is loaded).
// A failure of the window's load shows kVersionLoadFailed (main vehicle) or the exception's text, both under
// "QORA Version Control".
std::optional<GarageLoad> garageLoadRequest(FileVersionModel& dialog, const std::string& vehiclePath,
                                            const Settings& settings, Prompt& prompt);

// The archive-ghost copy of a version for a main vehicle that is an archive working copy: the program folder +
// "ghostmas=" + the entry name in lower case, cut at its first "~" or else its first "." + ".veh". The ghost
// loader treats that name as an archive ghost (its picture, its deletion when replaced). Empty when the vehicle
// is not a working copy.
std::string masGhostCopyPath(const std::string& programFolder, const std::string& vehiclePath);

} // namespace qora::garage
