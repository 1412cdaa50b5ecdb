#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qora {
class Prompt;
class VehicleArchive;
class Settings;
} // namespace qora

// The vehicle browser's logic: which files and archive entries it lists, under which texts and classes, which
// thumbnail it shows, and its favourites and class maintenance. The dialog only mirrors this state in widgets.
namespace qora::browser {

// ---- Masks ------------------------------------------------------------------------------------------------------

// The favourite that stands for the game's archive.
inline constexpr std::string_view kArchiveFavorite = "Vehicle.mas";

struct MaskChoice {
    std::string_view caption;
    std::string_view mask;
};
// The mask box's items, in order.
inline constexpr std::array<MaskChoice, 4> kMaskChoices{{{"Vehicle Files (*.veh)", "*.veh"},
                                                         {"Backup Files (*.veb)", "*.veb"},
                                                         {"1st Backup Files (*.vex)", "*.vex"},
                                                         {"All Files (*.*)", "*.*"}}};
inline constexpr std::string_view kInitialMask = "*.veh";

// A mask whose files are read as vehicles (listed under their descriptions) rather than listed by name: one of
// "*.veh", "*.veb", "*.vex" and "*.qora", exactly.
bool isVehicleMask(std::string_view mask);

// Whether a file name matches a mask of patterns separated by ";". "*" stands for any run of characters, "?" for
// one; letters match without regard to case; "*.*" matches every name, with or without a dot.
bool matchesMask(std::string_view name, std::string_view mask);

// The order of the browser's sorted lists: letter case ignored, names equal but for case in byte order.
bool alphabeticallyBefore(std::string_view a, std::string_view b);

// The regular files of a folder whose names match the mask, in alphabetical order. Empty when the folder cannot
// be listed.
std::vector<std::string> listFiles(const std::string& folder, std::string_view mask);

// ---- Classes and race marks -------------------------------------------------------------------------------------

inline constexpr std::string_view kAllClasses = "[ALL]";
inline constexpr std::string_view kOtherClasses = "[OTHER]";
// The class box's first items, always present; the user's own classes follow them.
inline constexpr std::array<std::string_view, 6> kFixedClasses{"GT1", "GT2", "GT3", "GTQ", kAllClasses, kOtherClasses};
inline constexpr std::size_t kFirstUserClass = kFixedClasses.size();

// The mark appended to a description for the first character of its unlock points: "0" " - [Random]", "1"
// " - [80%]" ... "5" " - [0%]", anything else or nothing " - [?%]".
std::string_view raceMark(std::string_view unlockPoints);

// ---- Thumbnails -------------------------------------------------------------------------------------------------

inline constexpr std::string_view kNoCarBitmap = "bmpNoCar";

// The codes of the built-in car thumbnails, each named "BMP" + code.
inline constexpr std::array<std::string_view, 56> kThumbnailCodes{
    "G01B", "G01G", "G02E", "G02R", "G03E", "G03U", "G04Z", "G05Z", "G06B", "G06G", "G07G", "G10B", "G10K", "G11K",
    "G11P", "G12B", "G12E", "G13E", "G15B", "G15C", "G17P", "G22P", "G23P", "G24W", "G25P", "G25W", "G29L", "G32P",
    "G32W", "G33B", "G38B", "G38P", "G44M", "G46P", "G48B", "G51T", "G56P", "G56Q", "G57Q", "G58P", "G59T", "G61T",
    "G63B", "G65E", "G65S", "G67E", "G67P", "G68P", "G74P", "G76P", "G77S", "G82P", "G85D", "G94T", "G95S", "G99P"};

// A car picture: either a built-in bitmap, by name, or a bitmap file. A file that cannot be drawn is shown as
// "bmpNoCar" by the host.
struct CarPicture {
    std::string builtIn; // "bmpNoCar", "BMPG01B", ...; empty when `file` is set
    std::string file;    // path of a bitmap file
    bool stretched = false;

    static CarPicture noCar() { return {std::string(kNoCarBitmap), {}, false}; }
    static CarPicture bitmapFile(std::string path) { return {{}, std::move(path), true}; }
    bool isNoCar() const { return file.empty() && builtIn == kNoCarBitmap; }
    bool operator==(const CarPicture&) const = default;
};

// The built-in thumbnail "BMP" + code when the code (any letter case) names one, else "bmpNoCar"; drawn unstretched.
CarPicture builtInThumbnail(std::string_view code);

// Of alphabetically sorted bitmap names, the first whose first four characters equal `code` without regard to case.
std::optional<std::string> findThumbnail(const std::vector<std::string>& bitmaps, std::string_view code);

// ---- The browser's list -----------------------------------------------------------------------------------------

inline constexpr std::string_view kClassTitle = "QORA Class Maintenance";
inline constexpr std::string_view kClassExists = "Class already exists in list.";
inline constexpr std::string_view kClassNotDeletable = "Only existing user defined classes can be deleted.";
inline constexpr std::string_view kMasReaderTitle = "QORA Mas Reader";
inline constexpr std::string_view kArchiveUnavailable =
    "Errors previously occurred preventing opening of your Vehicle.mas file.";
inline constexpr std::string_view kNotepadTitle = "QORA Notepad Launcher";
inline constexpr std::string_view kExtractionTitle = "QORA Veh File Extraction";
inline constexpr std::string_view kLostFilesReport =
    "The files listed below are either corrupt or compressed and could not be loaded.  If you wish to ignore this "
    "message dialog in the future, select Edit\\Options and disable 'Warn If Compressed Veh Files Found'.";

// One line of the car list.
struct CarItem {
    std::string text;
    int source = -1; // the entry's index in the archive's Entries (archive mode) or the file's in files()
};

// Which context-menu commands can run now.
struct ContextCommands {
    bool notepad = false;
    bool copy = false;
    bool move = false;
    bool remove = false;
};

// The state of one vehicle browser, from the host's set-up to the selection it reads back. It lists either the
// vehicle files of a folder or the entries of the archive, filtered by class.
//
// A folder's vehicle files are read (details only) the first time a rebuild needs them after the folder was
// listed; rebuilds for another class or for the race marks filter what was read, and the archive's entries are
// filtered in memory, so typing into the class box never reads a file.
class VehicleList {
public:
    // `masFile` is the loaded archive or null; it is not owned. The settings serve the vehicle reader and give
    // WarnCompressedFiles and GeneralWarnings; the prompt shows the browser's messages and beeps.
    VehicleList(VehicleArchive* masFile, Settings& settings, Prompt& prompt);

    // ---- Set by the host before showing (in the order of its set-up) -------------------------------------------
    bool MasAvailable = false;
    std::string InitialFileName; // file or entry name to preselect
    bool Ready = false;          // until set, nothing rebuilds the list

    void setShowCarPic(bool on); // "Show Car Image": then updateSelection()
    bool showCarPic() const { return m_showCarPic; }
    void setRacePercent(bool on); // "Show Race %": then the list is rebuilt
    bool racePercent() const { return m_racePercent; }
    // The class box: the six fixed items, then the user's classes.
    void setUserClasses(const std::vector<std::string>& classes);
    const std::vector<std::string>& classItems() const { return m_classes; }
    std::vector<std::string> userClasses() const; // the items from position 6 on
    // The class text; a change rebuilds the list.
    void setClassText(std::string_view text);
    const std::string& classText() const { return m_classText; }
    void setFavorites(std::vector<std::string> folders);
    const std::vector<std::string>& favorites() const { return m_favorites; }
    int favoriteIndex() const { return m_favorite; } // the selected favourite; -1 for none

    // ---- Folder, mask and mode ---------------------------------------------------------------------------------
    // Makes `folder` current: lists its files and bitmaps, selects the matching favourite (or none), empties
    // LostFiles and rebuilds the list.
    void setFolder(const std::string& folder);
    const std::string& folder() const { return m_folder; }
    // The file mask; lists the folder again and rebuilds.
    void setMask(std::string_view mask);
    const std::string& mask() const { return m_mask; }
    // Lists the folder again (its files changed, or were deleted or moved from the browser) and rebuilds.
    void refreshFiles();
    const std::vector<std::string>& files() const { return m_files; }
    // Archive mode on or off; rebuilds. In archive mode the folder controls are hidden and the mask box disabled.
    void setArchiveMode(bool on);
    bool archiveMode() const { return m_masMode; }

    // The dialog comes on screen: the favourite of the mode is selected and InitialFileName is preselected. From
    // now on unreadable files are collected in LostFiles.
    void show();
    bool onScreen() const { return m_onScreen; }

    // ---- The list ----------------------------------------------------------------------------------------------
    // Rebuilds the car list from the archive's entries or the folder's files, selects its first item.
    void fileListChanged();
    // Selects an item (-1 for none) and refreshes name, OK and picture.
    void selectItem(int index);
    void updateSelection();
    // The list text of a vehicle, or empty when it is not shown under the current class filter: the description,
    // with the race mark when "Show Race %" is on; empty without a description or a class.
    std::string formatCarItem(std::string_view carClass, std::string_view description,
                              std::string_view unlockPoints) const;

    const std::vector<CarItem>& items() const { return m_items; }
    int selectedItem() const { return m_selected; }
    std::string fileCountText() const; // eFileCount
    // The selected file or entry name as the name box shows it: in lower case.
    std::string fileNameText() const;
    // The selected file or entry name as it is.
    const std::string& selectedName() const { return m_name; }
    bool okEnabled() const { return !m_name.empty(); }
    bool classEnabled() const; // the class box applies in archive mode and with a vehicle mask
    ContextCommands commands() const;
    const CarPicture& carPicture() const { return m_picture; }

    // Names of the files the last rebuild could not read (with WarnCompressedFiles on).
    const std::vector<std::string>& lostFiles() const { return m_lostFiles; }
    // True once, on screen, after the first listing of a folder (not a class filter's rebuild) that found
    // unreadable files to report (kLostFilesReport).
    bool takeLostFilesReport();

    // In folder mode the folder joined with the selected file's name; in archive mode the selected entry's name.
    // Empty without a selection.
    std::string selection() const;

    // ---- Favourites, classes, text editor -----------------------------------------------------------------------
    // Picks a favourite: "Vehicle.mas" switches to archive mode (or tells why it cannot); an existing folder
    // becomes current in folder mode; anything else does nothing.
    void chooseFavorite(int index);
    // Adds the current folder unless it is listed already, and selects it.
    void addFavorite();
    // Removes the selected favourite; beeps with none selected or for "Vehicle.mas".
    void deleteFavorite();
    // Adds the class text as a user class, or tells why not.
    void addClass();
    // Removes the class text from the user classes, or tells why not.
    void deleteClass();
    // The file to open in the text editor for the selection, after the warning when GeneralWarnings is on. In
    // archive mode the entry is extracted as a throwaway copy first; nullopt (after the message) when that fails,
    // and without a selection.
    std::optional<std::string> openInNotepad();

private:
    struct Details {
        enum State { Unread, Read, Unreadable } state = Unread;
        std::string description;
        std::string carClass;
        std::string unlockPoints;
    };

    void listFolder();
    const Details& detailsOf(std::size_t file);
    void selectFavoriteOfFolder();
    std::string itemName(const CarItem& item) const;

    VehicleArchive* m_masFile;
    Settings* m_settings;
    Prompt* m_prompt;

    bool m_masMode = false;
    bool m_onScreen = false;
    bool m_showCarPic = true;
    bool m_racePercent = true;
    bool m_reportDue = false;
    bool m_listed = false;                   // the folder was listed since the last rebuild
    std::set<std::string> m_reportedFolders; // folders whose unreadable files were reported
    std::string m_folder;
    std::string m_mask{kInitialMask};
    std::vector<std::string> m_files;   // lbFiles
    std::vector<std::string> m_bitmaps; // lbBitmaps: the folder's "*.bmp" files
    std::vector<Details> m_details;     // per file, read when first needed
    std::vector<std::string> m_classes;
    std::string m_classText;
    std::vector<std::string> m_favorites;
    int m_favorite = -1;

    std::vector<CarItem> m_items;
    int m_selected = -1;
    std::string m_name;
    CarPicture m_picture = CarPicture::noCar();
    std::vector<std::string> m_lostFiles;
};

} // namespace qora::browser
