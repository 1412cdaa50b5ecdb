#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qora {
class FolderPicker;
class Prompt;
class Settings;
} // namespace qora

// Deleting, copying and moving a vehicle together with its companion files, from the browser's context menu.
namespace qora::browser {

inline constexpr std::string_view kFileManagerTitle = "QORA File Manager";
inline constexpr std::string_view kVehicleManagerTitle = "QORA Vehicle Manager";
inline constexpr std::string_view kDestinationCaption = "Choose Destination Folder";
inline constexpr std::string_view kDeleteWarning =
    "The vehicle and its associated files are PERMANENTLY deleted and are NOT copied to the recycle bin.  Ensure "
    "that the list of files that will appear in the following dialog, are correct before deleting them.";
inline constexpr std::string_view kSameFolder = "The destination folder must not be the same as the source folder.";
// The note above the check-list of companion files.
inline constexpr std::string_view kCompanionNotes =
    "The file(s) below appear to belong to the selected vehicle.  If you feel a file is in error, deselect it by "
    "removing it's checkmark.  If you are unsure, it's recommended that you unselect the file.  IMPORTANT! -> If "
    "you are moving/deleting this vehicle from your patch folder, make sure you sell it in the game first!";

// The companion files of the vehicle file `vehicleName` in `folder`, in alphabetical order, each once: every file
// whose name begins with the vehicle name's first four characters and ends in ".bmp", and every file whose name
// begins with the vehicle name up to and including its first "." (the whole name when it has none). Letter case
// is ignored; the characters of the vehicle name are taken literally, never as wildcards.
std::vector<std::string> companionFiles(const std::string& folder, std::string_view vehicleName);

// The ticked list of the file-manager dialog (and of the browser's report of unreadable files).
class CheckList {
public:
    CheckList() = default;
    explicit CheckList(std::vector<std::string> items);

    const std::vector<std::string>& items() const { return m_items; }
    bool isChecked(std::size_t index) const { return m_checked.at(index); }
    void setChecked(std::size_t index, bool checked) { m_checked.at(index) = checked; }
    void setAllChecked(bool checked);
    std::vector<std::string> checkedItems() const;
    // OK applies exactly when at least one item is ticked.
    bool okEnabled() const;

private:
    std::vector<std::string> m_items;
    std::vector<bool> m_checked;
};

// Shows the file-manager dialog with the list (all ticked) and returns true for OK, with the user's ticks left in
// the list, or false for Cancel.
using ConfirmFiles = std::function<bool(CheckList&)>;

// The browser's Delete, Copy and Move commands. Every question and message goes through the prompt.
//
// A copy never damages what is there: each file is copied to a temporary name in the destination, compared with
// its source, and only then renamed over the target, so a failed copy leaves both the source and an existing
// target as they were. A move renames the file where the file system allows it, else copies it that way and deletes
// the source only after the copy succeeded.
class FileManager {
public:
    // The settings give MoveToFolder (start folder of the destination picker, remembered) and GeneralWarnings
    // (ask before replacing a file). None is owned.
    FileManager(Settings& settings, Prompt& prompt, FolderPicker& picker);

    // Deletes the vehicle `name` of `folder` and the companion files the user leaves ticked. True when the
    // browser must list its folder again (the user did not cancel).
    bool deleteVehicle(const std::string& folder, const std::string& name, const ConfirmFiles& confirm);
    // Copies the vehicle and the ticked companion files into a folder the user picks. False: nothing in the
    // browser's folder changed.
    bool copyVehicle(const std::string& folder, const std::string& name, const ConfirmFiles& confirm);
    // Moves them. True when the browser must list its folder again.
    bool moveVehicle(const std::string& folder, const std::string& name, const ConfirmFiles& confirm);

private:
    bool transfer(const std::string& folder, const std::string& name, const ConfirmFiles& confirm, bool move);
    bool isSameFolder(const std::string& source, const std::string& destination) const;

    Settings* m_settings;
    Prompt* m_prompt;
    FolderPicker* m_picker;
};

// Copies `source` over `target` so that a failure leaves `target` as it was: through a temporary file beside the
// target, checked against the source before it takes the target's name. False when any step failed.
bool copyFileSafely(const std::string& source, const std::string& target);

} // namespace qora::browser
