#pragma once

#include <array>
#include <locale>
#include <string>
#include <string_view>
#include <vector>

#include "garage/version_store.h"

namespace qora {
class Prompt;
class VehicleFile;
class Settings;
} // namespace qora

// Everything the "My Garage" dialog decides that is not a widget: its list of versions, the title and notes
// boxes, which buttons are enabled, every question and message of its buttons, and the status flashes. The
// dialog shows what this model holds and forwards its user's actions to it.
namespace qora::garage {

inline constexpr std::string_view kVersionControlTitle = "QORA Version Control";
inline constexpr std::string_view kVersionManagerTitle = "QORA Version Manager";

inline constexpr std::string_view kAddingNewVersion = "Adding new version...";
inline constexpr std::string_view kEmptyFileName = "Filename is empty and contains no useful value.";
inline constexpr std::string_view kNoVersionSelected = "No version selected.";
inline constexpr std::string_view kFileIndexOutOfRange = "No files or file index out of range.";
inline constexpr std::string_view kDuplicateTitle =
    "A version with that name already exists.  Version titles must be unique.  Enter a different title name or, "
    "if you are trying to update an existing version file, select the version in the list, then click the "
    "[Save/Update] button.";
inline constexpr std::string_view kOverwriteQuestion =
    "This will overwrite the selected version file with the data currently in the editor (thus making it the most "
    "recent version) and update any changes to your version notes.  Continue?";
inline constexpr std::string_view kWriteBufferFailed = "FATAL: Unable to write file buffer.";
inline constexpr std::string_view kDeleteQuestion =
    "This will permanently delete the selected version from your Garage folder.  Are you sure?";
inline constexpr std::string_view kDeleteAllQuestion =
    "This will permanently delete ALL versions for this vehicle in your Garage folder!  Are you sure?";
inline constexpr std::string_view kInvalidVersionExtension =
    "Invalid file version extention.  Version files must have a '.vfv' extention.";
inline constexpr std::string_view kRevertQuestion =
    "This function will replace the contents of memory with the selected version file's contents (revert).  The "
    "actual veh file is not physically changed until you Save it.  Continue?";
// "Unable to delete file [" + path + "]." (kVersionManagerTitle, information icon)
std::string deleteFailedText(const std::string& path);

// ---- Flashes ----------------------------------------------------------------------------------------------------

inline constexpr std::string_view kVersionCreatedFlash = "Version File Created";    // in pCarName
inline constexpr std::string_view kNotesSavedFlash = "Version note file saved";     // in pFileName
inline constexpr std::string_view kNotesDeletedFlash = "Version note file deleted"; // in pFileName

enum class FlashPanel { CarName = 0, FileName = 1 };

// The two header panels of the dialog and their flashes: a flash shows its text in yellow for eight ticks of the
// 600 ms timer (about 4.8 seconds), then the panel gets back its own text in white.
class PanelFlashes {
public:
    static constexpr int kIntervalMs = 600;
    static constexpr int kTicks = 8;

    PanelFlashes(std::string carName, std::string baseName);

    void flash(FlashPanel panel, std::string_view text); // starts the timer
    // One timer tick; afterwards running() tells whether the timer goes on.
    void tick();
    bool running() const { return m_running; }
    const std::string& text(FlashPanel panel) const { return m_text[index(panel)]; }
    bool yellow(FlashPanel panel) const { return m_counter[index(panel)] < kTicks; } // else white

private:
    static std::size_t index(FlashPanel panel) { return static_cast<std::size_t>(panel); }
    std::array<std::string, 2> m_own;
    std::array<std::string, 2> m_text;
    std::array<int, 2> m_counter{kTicks, kTicks};
    bool m_running = false;
};

// ---- The dialog -------------------------------------------------------------------------------------------------

struct GarageButtons {
    bool New = false;
    bool Update = false;
    bool Delete = false;
    bool DeleteAll = false;
    bool Load = false;
    bool LoadGhost = false;
    bool Use = false; // always hidden; enabled as the others are
    bool operator==(const GarageButtons&) const = default;
};

// The state of one visit to the Garage. The vehicle (not owned) must have been brought up to date by a prepare-only
// save (EnterGarage): its lines are what a version holds.
class FileVersionModel {
public:
    enum Action : int { ActionNone = 0, ActionSaved = 1, ActionLoad = 2, ActionLoadGhost = 3 };

    // Showing the dialog: reads the Garage folder and selects the oldest version. Dates are written in the
    // locale's short date and long time.
    FileVersionModel(const VehicleFile& vehicle, std::string carName, const Settings& settings, Prompt& prompt,
                     std::locale locale = browser::userLocale());

    // ---- What the dialog shows ----
    const std::string& baseName() const { return m_baseName; }
    const std::string& carName() const { return m_carName; }
    std::string versionsCaption() const; // "Versions (" + count + ")"
    const std::vector<VersionRecord>& versions() const { return m_versions; }
    std::vector<std::string> titles() const;    // lbVersions, in list order
    int selected() const { return m_selected; } // -1: none
    const std::string& title() const { return m_title; }
    const std::string& dateText() const { return m_date; }
    const std::string& notes() const { return m_notes; }
    bool titleReadOnly() const { return m_browsing; }
    bool browsing() const { return m_browsing; }
    bool dirty() const { return m_dirty; }
    int action() const { return m_action; }
    GarageButtons buttons() const;
    PanelFlashes& flashes() { return m_flashes; }
    const PanelFlashes& flashes() const { return m_flashes; }

    // ---- The user's actions ----
    // A click in the list; -1 or an index outside the list clears the selection.
    void select(int index);
    // The title box's key filter (beeps on a refused key).
    bool titleKeyAccepted(char c);
    // The title box's text changed (ignored while browsing: the box is read-only then). Kept to 30 characters.
    void setTitle(std::string_view text);
    void setNotes(std::string_view text);

    void createVersion();
    // Save/Update. Returns whether a version was written and its notes saved; the list is then read again.
    bool updateVersion();
    // Delete / Delete All, after their question. Return whether the folder was read again.
    bool deleteSelected();
    bool deleteAllVersions();
    // Load / Load As Ghost. Return whether the dialog closes (the action is then set).
    bool load();
    bool loadGhost();

    // The version file to write, load or delete: while adding, the Garage folder + base + "~" + title + ".vfv";
    // while browsing, the selected version's file. Empty when there is none; while an action is set the reason is
    // shown under "QORA Version Control".
    std::string versionPath();

    // Reads the Garage folder again and selects the oldest version.
    void refresh();

private:
    std::string versionPathOrError() const; // an error starts with ">"
    void showSelected();
    void loadNotes();
    void deleteOne(const std::string& path);

    const VehicleFile& m_vehicle;
    const Settings& m_settings;
    Prompt& m_prompt;
    std::locale m_locale;
    std::string m_garageFolder;
    std::string m_baseName;
    std::string m_carName;
    std::vector<std::string> m_files; // the Garage listing the records point into
    std::vector<VersionRecord> m_versions;
    int m_selected = -1;
    std::string m_title;
    std::string m_date;
    std::string m_notes;
    bool m_browsing = true;
    bool m_dirty = false;
    int m_action = ActionNone;
    PanelFlashes m_flashes;
};

} // namespace qora::garage
