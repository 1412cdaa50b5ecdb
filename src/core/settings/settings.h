#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pickers.h"
#include "platform/prompt.h"
#include "platform/registry.h"
#include "settings/color_text.h"

namespace qora {

// The program version: written into the settings file and, after "QORA ", into every saved vehicle.
inline constexpr const char* kProgramVersion = "4.0";
// The name the editor stamps into the files it saves.
inline constexpr const char* kEditorName = "QORA";

// Failure of the settings object; the message is "Exception EAppSettings: " + class + operation + " - " + text.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ColorRecord {
    std::string name; // the key in the settings file
    Color color = 0;
};

// A recently opened vehicle: its path (lower case) and its caption ("[ " + the vehicle's description).
struct RecentRecord {
    std::string path;
    std::string caption;
};

// All preferences, folders, lists and colours of QORA, kept between runs in "qora.ini" in the program folder.
// The editor keeps one object for the whole run; qora-cli and tests make their own with the defaults.
class Settings {
public:
    Settings();

    // Every field back to its default; the colour lists get their 18 and 14 records.
    void setDefaults();

    // Reads "qora.ini" from the program folder; without one this is a first run (the game folder is looked up
    // and the folders are set from it). Keys missing from the file keep their current values; the lists are
    // replaced by the file's. Tells the user when "Vehicle.mas" had to be added to the favourites. Never writes
    // the file. Always true; throws KeyedTextFileError when the file cannot be read or a value cannot be read as its
    // type.
    bool load();
    // Writes "qora.ini" (in one step: a failure leaves the previous file as it was). A file of another version
    // is replaced by a fresh one; otherwise sections the program does not know are kept. False after a write
    // failure, which the user is told of.
    bool save();

    // The colour accessors throw SettingsError when the list is empty and std::out_of_range for an index outside it.
    void setChartColor(int index, Color color);
    Color chartColor(int index) const;
    void setAppColor(int index, Color color);
    Color appColor(int index) const;
    // The five upshift thresholds of the mode's preset (mode clamped to 0..2).
    void setGearThresholds(int mode);

    // Makes the backup of a vehicle file before it is overwritten: the file before QORA's first save keeps the
    // name with its last character replaced by "X", the file before the latest save the one with "B".
    // Returns whether a backup was made: false when there is no file yet. A file whose name does not end in "h"
    // cannot be backed up: the user is told and the result is false. Throws FileError when the backup cannot be
    // written (no space, no permission); the caller decides whether to go on without it.
    bool backupFile(const std::string& path);

    // The game folder: the TrevantInstallPath setting, else the registry's install path, else a folder the user
    // picks (on Windows after being told why; elsewhere, where no installer writes a registry, after one plain
    // question whose "Not now" is remembered in gameFolderNotNow and not asked again). Empty when none is known.
    std::string trevantFolder();
    // Whether .veh files are registered to QORA.
    bool isAssociated();
    // Registers .veh files to the program at programPath, or removes the registration.
    void associateVehFiles(bool associate, const std::string& programPath);

    // The host's services; the settings do not own them. Without a host, questions are cancelled and dialogs
    // are not shown.
    void setPrompt(Prompt& prompt) { m_prompt = &prompt; }
    void setRegistry(Registry* registry) { m_registry = registry; }
    void setFolderPicker(FolderPicker& picker) { m_folderPicker = &picker; }
    Prompt& prompt() const { return *m_prompt; }

    // Sets the program folder (without trailing separator) and the folders that hang off it: the garage, and the
    // move-to folder while it still is the previous program folder (its default).
    void setProgramFolder(const std::string& folder);
    std::string settingsFilePath() const; // program folder + "qora.ini"; empty without a program folder
    std::string masVehFolder() const;     // program folder + "MasVeh": working copies of archive entries

    // The version text for the editor stamp: the settings' version, or the program's own before the settings
    // have ever been saved.
    std::string stampVersion() const;

    std::vector<ColorRecord> chartColors; // CHARTCOLORS
    std::vector<ColorRecord> appColors;   // APPCOLORS
    std::string gameFolder;               // TrevantInstallPath
    std::string patchFolder;              // PatchFolder
    std::string programFolder;            // holds qora.ini, MasVeh and Garage
    std::string soundFolder;              // SoundFolder
    std::string moveToFolder;             // MoveToFolder
    std::string textEditor;           // TextEditor: the command that opens files in a text editor; empty: the system's
    std::string archiveFile;          // VehicleMasFile: the archive located by hand, while it exists
    bool gameFolderNotNow = false;    // GameFolderNotNow: the user chose "Not now" when asked for the game folder
    std::string garageFolder;         // program folder + "Garage"
    std::string lastFile;             // LastFile
    std::string lastGhostFile;        // LastGhostFile
    std::string version;              // Version: of the settings file; every save writes the program version
    std::string pageBackgroundBitmap; // BitmapPageBg (APPCOLORS)
    std::string toolbarButtons;       // ToolbarButtons, lower case
    bool showToolBar = true;          // ShowToolBar
    std::vector<std::string> insideIdleSounds;    // INSIDE_IDLE_SOUNDS
    std::vector<std::string> outsideIdleSounds;   // OUTSIDE_IDLE_SOUNDS
    std::vector<std::string> insideRevvedSounds;  // INSIDE_REVVED_SOUNDS
    std::vector<std::string> outsideRevvedSounds; // OUTSIDE_REVVED_SOUNDS
    std::vector<std::string> geometryList;        // GEOMETRY
    std::vector<RecentRecord> recentVehicles;     // RECENT_VEHICLES
    std::vector<RecentRecord> recentGhosts;       // RECENT_GHOSTS
    std::vector<std::string> favoriteFolders;     // FAVORITES
    std::vector<std::string> carClasses;          // CAR_CLASSES
    bool backupFiles = true;                      // BackupFiles
    bool firstRun = false;                        // no settings file existed at load
    bool ghostIsOpen = false;                     // GhostIsOpen
    bool hideSpinButtons = false;                 // HideSpinButtons
    bool warnCompressedFiles = true;              // WarnCompressedFiles
    bool generalWarnings = true;                  // GeneralWarnings
    bool showCarPic = true;                       // ShowCarPic
    bool showRacePercentage = true;               // ShowRacePercentage
    bool showTabIcons = true;                     // ShowTabIcons
    bool anglesInDegrees = false;                 // AnglesInDegrees
    int maxGearRange = 6000;                      // MaxGearRange
    bool chartMetricText = false;                 // ChartMetricText
    bool chartKW = false;                         // ChartkW
    bool chartNm = true;                          // ChartNm
    bool chart3DPoints = true;                    // Chart3DPoints
    bool chart3DLines = true;                     // Chart3DLines
    bool chartGhostLines = true;                  // ChartGhostLines
    int chartXZoom = 0;                           // ChartXZoom, 0..4
    int chartYZoom = 0;                           // ChartYZoom, 0..4
    std::string chartBitmap;                      // ChartBitmap
    std::string chartPointBitmap;                 // ChartPointBitmap
    std::string chartActPointBitmap;              // ChartActPointBitmap
    int chartBitmapStyle = 1;                     // ChartBitmapStyle
    int tabStyle = 2;                             // TabStyle
    std::array<int, 5> gearRpmThresholds{};       // the preset of the threshold mode
    int gearRpmThresholdMode = 1;                 // GearRpmThresholdMode, 0..2
    bool gearUpShiftBaseFirst = true;             // GearUpshiftBaseFirst

private:
    [[noreturn]] void raise(const char* operation, const std::string& text) const;

    std::string m_className = "TSettings::";
    mutable std::string m_operation; // the running operation, for messages (the const accessors set it too)
    Prompt* m_prompt;
    Registry* m_registry = nullptr;
    FolderPicker* m_folderPicker;
};

// The question a first run asks where no registry tells the game folder.
inline constexpr std::string_view kGameFolderQuestion =
    "Where is Trevant installed? QORA uses its Patch folder and its vehicle archive.";

// Names of the two backups of a vehicle file.
std::string originalBackupPath(const std::string& path); // before QORA's first save: last character "X"
std::string priorBackupPath(const std::string& path);    // before the latest save: last character "B"

} // namespace qora
