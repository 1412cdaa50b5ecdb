#include "settings/settings.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "calc/gearing.h"
#include "calc/number_text.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/text.h"
#include "settings/program_folder.h"
#include "store/keyed_text_file.h"

namespace qora {

namespace {

constexpr const char* kSettingsSection = "SETTINGS";
constexpr const char* kInsideIdleSection = "INSIDE_IDLE_SOUNDS";
constexpr const char* kOutsideIdleSection = "OUTSIDE_IDLE_SOUNDS";
constexpr const char* kInsideRevvedSection = "INSIDE_REVVED_SOUNDS";
constexpr const char* kOutsideRevvedSection = "OUTSIDE_REVVED_SOUNDS";
constexpr const char* kFavoritesSection = "FAVORITES";
constexpr const char* kRecentVehiclesSection = "RECENT_VEHICLES";
constexpr const char* kRecentGhostsSection = "RECENT_GHOSTS";
constexpr const char* kGeometrySection = "GEOMETRY";
constexpr const char* kCarClassesSection = "CAR_CLASSES";
constexpr const char* kChartColorsSection = "CHARTCOLORS";
constexpr const char* kAppColorsSection = "APPCOLORS";
constexpr const char* kChartSection = "CHART_PROPERTIES";
constexpr const char* kGearSection = "GEAR_SETTINGS";

constexpr const char* kVehicleMas = "Vehicle.mas";
constexpr const char* kDefaultBitmap = "[default]";
constexpr const char* kDefaultToolbarButtons = "mixed";
constexpr int kDefaultMaxGearRange = 6000;
constexpr std::string_view kRecentSeparator = " ] ";
constexpr std::size_t kRecentKeysRead = 6;
constexpr int kMaxZoom = 4;

SilentPrompt& silentPrompt() {
    static SilentPrompt prompt;
    return prompt;
}

NoFolderPicker& noFolderPicker() {
    static NoFolderPicker picker;
    return picker;
}

std::string withLastCharacter(const std::string& path, char last) {
    std::string out = path;
    if (!out.empty())
        out.back() = last;
    return out;
}

bool isVehicleMas(std::string_view value) {
    return text::iequals(value, kVehicleMas);
}

// The sound folder of a first run without a game folder: the user's home.
std::string homeFolder() {
#ifdef _WIN32
    return "C:\\";
#else
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) : std::string("/");
#endif
}

// A value with a line end would split its line and could forge keys and sections in the file: it is not stored.
bool fitsOnOneLine(std::string_view value) {
    return value.find_first_of("\r\n") == std::string_view::npos;
}

// The settings file as the settings object uses it: opened on the file (or started empty, to replace it).
// It writes only when released: destroyed unreleased (after reading, or when writing failed half-way), it
// discards its lines, so a file that was only read is never rewritten.
class SettingsStore : public KeyedTextFile {
public:
    SettingsStore(const std::string& path, bool fresh) : KeyedTextFile(fresh ? std::string() : path) {
        m_fileName = path;
    }
    ~SettingsStore() override { discard(); }
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Drops the lines, so nothing is written.
    void discard() noexcept { m_lines.reset(); }

    // Whether the section holds the key at all, with a value or without one.
    bool holds(const std::string& section, const std::string& key) {
        std::vector<std::string> keys;
        readSection(section, keys);
        return std::any_of(keys.begin(), keys.end(), [&](const std::string& k) { return text::iequals(k, key); });
    }

    // The non-empty values of the section's first `limit` entries, in file order; the key names play no part.
    std::vector<std::string> values(const std::string& section, std::size_t limit = SIZE_MAX) {
        std::vector<std::string> keys;
        readSection(section, keys);
        std::vector<std::string> out;
        for (std::size_t i = 0; i < keys.size() && i < limit; ++i) {
            // A key used several times is read instance by instance.
            const auto instance = std::count_if(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(i),
                                                [&](const std::string& k) { return text::iequals(k, keys[i]); });
            std::string value = readStringInstance(static_cast<int>(instance), section, keys[i], "");
            if (!value.empty())
                out.push_back(std::move(value));
        }
        return out;
    }

    std::string readString(const char* section, const char* key, const std::string& def) {
        return readStringInstance(0, section, key, def);
    }
    void writeString(const char* section, const std::string& key, const std::string& value) {
        writeStringInstance(0, section, key, fitsOnOneLine(value) ? value : std::string());
    }

    // Writes the list as key0, key1, ... from a fresh section; items that cannot be stored are left out.
    template <typename List, typename Text>
    void writeList(const char* section, const char* keyWord, const List& items, Text&& textOf) {
        eraseSection(section);
        int position = 0;
        for (const auto& item : items) {
            const std::optional<std::string> value = textOf(item);
            if (!value || value->empty() || !fitsOnOneLine(*value))
                continue;
            writeStringInstance(0, section, keyWord + text::intToText(position++), *value);
        }
    }
};

std::vector<RecentRecord> readRecent(SettingsStore& ini, const char* section) {
    std::vector<RecentRecord> out;
    for (const std::string& value : ini.values(section, kRecentKeysRead)) {
        const std::size_t split = value.find(kRecentSeparator);
        if (split == std::string::npos)
            continue;
        RecentRecord record{value.substr(split + kRecentSeparator.size()), value.substr(0, split)};
        if (fileSystem().fileExists(record.path))
            out.push_back(std::move(record));
    }
    return out;
}

std::optional<std::string> recentText(const RecentRecord& record) {
    if (record.path.empty() || record.caption.empty() || !fileSystem().fileExists(record.path))
        return std::nullopt;
    return record.caption + std::string(kRecentSeparator) + record.path;
}

void readColors(SettingsStore& ini, const char* section, std::vector<ColorRecord>& colors) {
    for (ColorRecord& record : colors) {
        const std::string value = ini.readStringInstance(0, section, record.name, colorToText(record.color));
        if (const auto color = textToColor(value))
            record.color = *color;
    }
}

void writeColors(SettingsStore& ini, const char* section, const std::vector<ColorRecord>& colors) {
    for (const ColorRecord& record : colors)
        ini.writeString(section, record.name, colorToText(record.color));
}

} // namespace

Settings::Settings() : m_prompt(&silentPrompt()), m_folderPicker(&noFolderPicker()) {
    setDefaults();
}

void Settings::setDefaults() {
    textEditor.clear();
    archiveFile.clear();
    gameFolderNotNow = false;
    chartColors = {
        {"ChartBackground", rgbColor(0, 0, 0)},
        {"ChartGridLines", rgbColor(72, 68, 72)},
        {"PrimaryTorqueHigh", rgbColor(255, 80, 80)},
        {"PrimaryTorqueNorm", rgbColor(255, 0, 0)},
        {"PrimaryTorqueShad", rgbColor(175, 0, 0)},
        {"PrimaryHpHigh", rgbColor(80, 80, 255)},
        {"PrimaryHpNorm", rgbColor(0, 0, 255)},
        {"PrimaryHpShad", rgbColor(0, 0, 175)},
        // The ghost's lines are lighter than the vehicle's, not darker: on the black chart they keep a contrast of
        // at least 3:1, as lines must to be seen.
        {"GhostTorqueHigh", rgbColor(255, 160, 160)},
        {"GhostTorqueNorm", rgbColor(224, 96, 96)},
        {"GhostTorqueShad", rgbColor(150, 50, 50)},
        {"GhostHpHigh", rgbColor(170, 190, 255)},
        {"GhostHpNorm", rgbColor(110, 140, 255)},
        {"GhostHpShad", rgbColor(60, 80, 170)},
        {"Point", rgbColor(255, 0, 0)},
        {"PointShadow", rgbColor(175, 0, 0)},
        {"ActivePoint", rgbColor(0, 255, 0)},
        {"ActivePointShadow", rgbColor(0, 128, 0)},
    };
    appColors = {
        {"HeaderBackground", clActiveCaption},
        {"HeaderText", clCaptionText},
        {"PromptBackground", clHighlight},
        {"PromptText", clHighlightText},
        {"EditBackground", clWindow},
        {"EditText", clWindowText},
        {"GhostBackground", rgbColor(192, 192, 192)},
        {"GhostText", rgbColor(0, 80, 80)}, // a darker teal: 4.5:1 and more on the silver, as text needs
        {"CarBackground", rgbColor(0, 0, 0)},
        {"CarText", rgbColor(255, 255, 255)},
        {"GhostCarBackground", rgbColor(0, 0, 0)},
        {"GhostCarText", rgbColor(192, 192, 192)},
        {"ClearText", rgbColor(255, 255, 255)},
        {"HotClearText", rgbColor(0, 255, 0)},
    };
    gameFolder.clear();
    patchFolder.clear();
    soundFolder.clear();
    moveToFolder = programFolder;
    garageFolder = programFolder.empty() ? std::string() : joinPath(programFolder, "Garage");
    lastFile.clear();
    lastGhostFile.clear();
    version.clear();
    pageBackgroundBitmap = kDefaultBitmap;
    toolbarButtons = kDefaultToolbarButtons;
    showToolBar = true;
    insideIdleSounds.clear();
    outsideIdleSounds.clear();
    insideRevvedSounds.clear();
    outsideRevvedSounds.clear();
    geometryList.clear();
    recentVehicles.clear();
    recentGhosts.clear();
    favoriteFolders = {kVehicleMas};
    carClasses.clear();
    backupFiles = true;
    firstRun = false;
    ghostIsOpen = false;
    hideSpinButtons = false;
    warnCompressedFiles = true;
    generalWarnings = true;
    showCarPic = true;
    showRacePercentage = true;
    showTabIcons = true;
    anglesInDegrees = false;
    maxGearRange = kDefaultMaxGearRange;
    chartMetricText = false;
    chartKW = false;
    chartNm = true;
    chart3DPoints = true;
    chart3DLines = true;
    chartGhostLines = true;
    chartXZoom = 0;
    chartYZoom = 0;
    chartBitmap = kDefaultBitmap;
    chartPointBitmap.clear();
    chartActPointBitmap.clear();
    chartBitmapStyle = 1;
    tabStyle = 2;
    gearRpmThresholdMode = 1;
    setGearThresholds(gearRpmThresholdMode);
    gearUpShiftBaseFirst = true;
}

void Settings::setProgramFolder(const std::string& folder) {
    const std::string previous = programFolder;
    programFolder = folderWithoutTrailingSeparator(folder);
    garageFolder = programFolder.empty() ? std::string() : joinPath(programFolder, "Garage");
    if (moveToFolder.empty() || moveToFolder == previous)
        moveToFolder = programFolder;
}

std::string Settings::settingsFilePath() const {
    return programFolder.empty() ? std::string() : joinPath(programFolder, "qora.ini");
}

std::string Settings::masVehFolder() const {
    return programFolder.empty() ? std::string() : joinPath(programFolder, "MasVeh");
}

bool Settings::load() {
    m_operation = "Load()";
    const std::string path = settingsFilePath();
    if (path.empty() || !fileSystem().pathExists(path)) {
        const std::string game = trevantFolder();
        if (game.empty()) {
            patchFolder = programFolder;
            soundFolder = homeFolder();
        } else {
            gameFolder = game;
            patchFolder = joinPath(game, "Patch");
            soundFolder = joinPath(joinPath(game, "Sounds"), "22k16bit");
        }
        moveToFolder = programFolder;
        favoriteFolders = {kVehicleMas};
        if (!patchFolder.empty())
            favoriteFolders.push_back(patchFolder);
        firstRun = true;
        return true;
    }

    SettingsStore ini(path, false);
    firstRun = false;

    version = ini.readString(kSettingsSection, "Version", version);
    backupFiles = ini.readBoolInstance(0, kSettingsSection, "BackupFiles", backupFiles);
    ghostIsOpen = ini.readBoolInstance(0, kSettingsSection, "GhostIsOpen", ghostIsOpen);
    hideSpinButtons = ini.readBoolInstance(0, kSettingsSection, "HideSpinButtons", hideSpinButtons);
    showToolBar = ini.readBoolInstance(0, kSettingsSection, "ShowToolBar", showToolBar);
    tabStyle = ini.readIntegerInstance(0, kSettingsSection, "TabStyle", tabStyle);
    showTabIcons = ini.readBoolInstance(0, kSettingsSection, "ShowTabIcons", showTabIcons);
    generalWarnings = ini.readBoolInstance(0, kSettingsSection, "GeneralWarnings", generalWarnings);
    warnCompressedFiles = ini.readBoolInstance(0, kSettingsSection, "WarnCompressedFiles", warnCompressedFiles);
    showCarPic = ini.readBoolInstance(0, kSettingsSection, "ShowCarPic", showCarPic);
    showRacePercentage = ini.readBoolInstance(0, kSettingsSection, "ShowRacePercentage", showRacePercentage);
    const std::string gearRange = ini.readString(kSettingsSection, "MaxGearRange", text::intToText(maxGearRange));
    maxGearRange = numbers::parseInt(gearRange).value_or(kDefaultMaxGearRange);
    toolbarButtons = text::toLower(ini.readString(kSettingsSection, "ToolbarButtons", toolbarButtons));
    if (toolbarButtons.empty())
        toolbarButtons = kDefaultToolbarButtons;
    anglesInDegrees = ini.readBoolInstance(0, kSettingsSection, "AnglesInDegrees", anglesInDegrees);
    lastFile = ini.readString(kSettingsSection, "LastFile", lastFile);
    lastGhostFile = ini.readString(kSettingsSection, "LastGhostFile", lastGhostFile);
    patchFolder = ini.readString(kSettingsSection, "PatchFolder", patchFolder);
    gameFolder = ini.readString(kSettingsSection, "TrevantInstallPath", gameFolder);
    soundFolder = ini.readString(kSettingsSection, "SoundFolder", soundFolder);
    moveToFolder = ini.readString(kSettingsSection, "MoveToFolder", moveToFolder);
    textEditor = ini.readString(kSettingsSection, "TextEditor", textEditor);
    archiveFile = ini.readString(kSettingsSection, "VehicleMasFile", archiveFile);
    gameFolderNotNow = ini.readBoolInstance(0, kSettingsSection, "GameFolderNotNow", gameFolderNotNow);

    insideIdleSounds = ini.values(kInsideIdleSection);
    outsideIdleSounds = ini.values(kOutsideIdleSection);
    insideRevvedSounds = ini.values(kInsideRevvedSection);
    outsideRevvedSounds = ini.values(kOutsideRevvedSection);
    geometryList = ini.values(kGeometrySection);
    carClasses = ini.values(kCarClassesSection);

    // "Vehicle.mas" (the game's archive) is always offered; other favourites only while their folder exists.
    favoriteFolders.clear();
    bool hasVehicleMas = false;
    for (std::string& value : ini.values(kFavoritesSection)) {
        if (isVehicleMas(value)) {
            if (!hasVehicleMas)
                favoriteFolders.emplace_back(kVehicleMas);
            hasVehicleMas = true;
        } else if (fileSystem().folderExists(value)) {
            favoriteFolders.push_back(std::move(value));
        }
    }
    if (!hasVehicleMas) {
        prompt().tell("QORA Load Settings",
                      "Adding Vehicle.mas to your favorite folders so you can open files from it by selecting it in "
                      "the favorite folders listbox in the open dialog.",
                      PromptIcon::Information);
        favoriteFolders.insert(favoriteFolders.begin(), kVehicleMas);
    }
    if (favoriteFolders.size() < 2 && !patchFolder.empty())
        favoriteFolders.push_back(patchFolder);

    recentVehicles = readRecent(ini, kRecentVehiclesSection);
    recentGhosts = readRecent(ini, kRecentGhostsSection);

    readColors(ini, kChartColorsSection, chartColors);
    pageBackgroundBitmap = ini.readString(kAppColorsSection, "BitmapPageBg", pageBackgroundBitmap);
    // "BitmapPageBg=" is the plain background the user chose, not a missing value: it must not read back as the
    // default picture.
    const std::string kNoValue = "\x01";
    if (ini.holds(kAppColorsSection, "BitmapPageBg") &&
        ini.readString(kAppColorsSection, "BitmapPageBg", kNoValue) == kNoValue)
        pageBackgroundBitmap.clear();
    readColors(ini, kAppColorsSection, appColors);

    chartBitmap = ini.readString(kChartSection, "ChartBitmap", chartBitmap);
    chartPointBitmap = ini.readString(kChartSection, "ChartPointBitmap", chartPointBitmap);
    chartActPointBitmap = ini.readString(kChartSection, "ChartActPointBitmap", chartActPointBitmap);
    chartBitmapStyle = ini.readIntegerInstance(0, kChartSection, "ChartBitmapStyle", chartBitmapStyle);
    chartMetricText = ini.readBoolInstance(0, kChartSection, "ChartMetricText", chartMetricText);
    chartKW = ini.readBoolInstance(0, kChartSection, "ChartkW", chartKW);
    chartNm = ini.readBoolInstance(0, kChartSection, "ChartNm", chartNm);
    chart3DPoints = ini.readBoolInstance(0, kChartSection, "Chart3DPoints", chart3DPoints);
    chart3DLines = ini.readBoolInstance(0, kChartSection, "Chart3DLines", chart3DLines);
    chartXZoom = std::clamp(ini.readIntegerInstance(0, kChartSection, "ChartXZoom", chartXZoom), 0, kMaxZoom);
    chartYZoom = std::clamp(ini.readIntegerInstance(0, kChartSection, "ChartYZoom", chartYZoom), 0, kMaxZoom);
    chartGhostLines = ini.readBoolInstance(0, kChartSection, "ChartGhostLines", chartGhostLines);

    gearRpmThresholdMode =
        std::clamp(ini.readIntegerInstance(0, kGearSection, "GearRpmThresholdMode", gearRpmThresholdMode), 0, 2);
    setGearThresholds(gearRpmThresholdMode);
    gearUpShiftBaseFirst = ini.readBoolInstance(0, kGearSection, "GearUpshiftBaseFirst", gearUpShiftBaseFirst);
    return true;
}

bool Settings::save() {
    m_operation = "Save()";
    const std::string previousVersion = version;
    // A file of another version is replaced as a whole, so its obsolete sections go. The old file stays in
    // place until the new one has been written.
    const bool fresh = version != kProgramVersion;
    const auto fail = [&] {
        version = previousVersion;
        m_prompt->tell("QORA Ini Write Error", "Error writing to QORA.INI.", PromptIcon::Stop);
        return false;
    };
    if (programFolder.empty())
        return fail();
    version = kProgramVersion;
    try {
        SettingsStore ini(settingsFilePath(), fresh);

        ini.eraseSection(kSettingsSection);
        ini.writeString(kSettingsSection, "Version", version);
        ini.writeBoolInstance(0, kSettingsSection, "BackupFiles", backupFiles);
        ini.writeBoolInstance(0, kSettingsSection, "GhostIsOpen", ghostIsOpen);
        ini.writeBoolInstance(0, kSettingsSection, "HideSpinButtons", hideSpinButtons);
        ini.writeBoolInstance(0, kSettingsSection, "ShowToolBar", showToolBar);
        ini.writeIntegerInstance(0, kSettingsSection, "TabStyle", tabStyle);
        ini.writeBoolInstance(0, kSettingsSection, "ShowTabIcons", showTabIcons);
        ini.writeBoolInstance(0, kSettingsSection, "GeneralWarnings", generalWarnings);
        ini.writeBoolInstance(0, kSettingsSection, "WarnCompressedFiles", warnCompressedFiles);
        ini.writeBoolInstance(0, kSettingsSection, "ShowCarPic", showCarPic);
        ini.writeBoolInstance(0, kSettingsSection, "ShowRacePercentage", showRacePercentage);
        ini.writeIntegerInstance(0, kSettingsSection, "MaxGearRange", maxGearRange);
        ini.writeString(kSettingsSection, "ToolbarButtons", toolbarButtons);
        ini.writeBoolInstance(0, kSettingsSection, "AnglesInDegrees", anglesInDegrees);
        ini.writeString(kSettingsSection, "LastFile", lastFile);
        ini.writeString(kSettingsSection, "LastGhostFile", lastGhostFile);
        ini.writeString(kSettingsSection, "PatchFolder", patchFolder);
        ini.writeString(kSettingsSection, "TrevantInstallPath", gameFolder);
        ini.writeString(kSettingsSection, "SoundFolder", soundFolder);
        ini.writeString(kSettingsSection, "MoveToFolder", moveToFolder);
        // QORA's own addition to the section, written only when the user chose an editor.
        if (!textEditor.empty())
            ini.writeString(kSettingsSection, "TextEditor", textEditor);
        // Likewise the archive located by hand and the answer "Not now" to the game folder question.
        if (!archiveFile.empty())
            ini.writeString(kSettingsSection, "VehicleMasFile", archiveFile);
        if (gameFolderNotNow)
            ini.writeBoolInstance(0, kSettingsSection, "GameFolderNotNow", gameFolderNotNow);

        const auto asIs = [](const std::string& value) { return std::optional<std::string>(value); };
        ini.writeList(kInsideIdleSection, "Sound", insideIdleSounds, asIs);
        ini.writeList(kOutsideIdleSection, "Sound", outsideIdleSounds, asIs);
        ini.writeList(kInsideRevvedSection, "Sound", insideRevvedSounds, asIs);
        ini.writeList(kOutsideRevvedSection, "Sound", outsideRevvedSounds, asIs);
        ini.writeList(kFavoritesSection, "FavoriteFolder", favoriteFolders,
                      [](const std::string& value) -> std::optional<std::string> {
                          if (isVehicleMas(value) || fileSystem().folderExists(value))
                              return value;
                          return std::nullopt;
                      });
        ini.writeList(kRecentVehiclesSection, "File", recentVehicles, recentText);
        ini.writeList(kRecentGhostsSection, "File", recentGhosts, recentText);
        ini.writeList(kGeometrySection, "Geometry", geometryList, asIs);
        ini.writeList(kCarClassesSection, "CarClass", carClasses, asIs);

        ini.eraseSection(kChartColorsSection);
        writeColors(ini, kChartColorsSection, chartColors);
        ini.eraseSection(kAppColorsSection);
        ini.writeString(kAppColorsSection, "BitmapPageBg", pageBackgroundBitmap);
        writeColors(ini, kAppColorsSection, appColors);

        ini.eraseSection(kChartSection);
        ini.writeString(kChartSection, "ChartBitmap", chartBitmap);
        ini.writeString(kChartSection, "ChartPointBitmap", chartPointBitmap);
        ini.writeString(kChartSection, "ChartActPointBitmap", chartActPointBitmap);
        ini.writeIntegerInstance(0, kChartSection, "ChartBitmapStyle", chartBitmapStyle);
        ini.writeBoolInstance(0, kChartSection, "ChartMetricText", chartMetricText);
        ini.writeBoolInstance(0, kChartSection, "ChartkW", chartKW);
        ini.writeBoolInstance(0, kChartSection, "ChartNm", chartNm);
        ini.writeBoolInstance(0, kChartSection, "Chart3DPoints", chart3DPoints);
        ini.writeBoolInstance(0, kChartSection, "Chart3DLines", chart3DLines);
        ini.writeIntegerInstance(0, kChartSection, "ChartXZoom", chartXZoom);
        ini.writeIntegerInstance(0, kChartSection, "ChartYZoom", chartYZoom);
        ini.writeBoolInstance(0, kChartSection, "ChartGhostLines", chartGhostLines);

        ini.eraseSection(kGearSection);
        ini.writeIntegerInstance(0, kGearSection, "GearRpmThresholdMode", gearRpmThresholdMode);
        ini.writeBoolInstance(0, kGearSection, "GearUpshiftBaseFirst", gearUpShiftBaseFirst);

        ini.release();
    } catch (const KeyedTextFileError&) {
        return fail();
    }
    return true;
}

void Settings::raise(const char* operation, const std::string& text) const {
    m_operation = operation;
    throw SettingsError("Exception EAppSettings: " + m_className + m_operation + " - " + text);
}

void Settings::setChartColor(int index, Color color) {
    if (chartColors.empty())
        raise("SetChartColors()", "Chart color list is NULL or empty.");
    chartColors.at(static_cast<std::size_t>(index)).color = color;
}

Color Settings::chartColor(int index) const {
    if (chartColors.empty())
        raise("GetChartColors()", "Chart color list is NULL or empty.");
    return chartColors.at(static_cast<std::size_t>(index)).color;
}

void Settings::setAppColor(int index, Color color) {
    if (appColors.empty())
        raise("SetAppColors()", "App color list is NULL or empty.");
    appColors.at(static_cast<std::size_t>(index)).color = color;
}

Color Settings::appColor(int index) const {
    if (appColors.empty())
        raise("GetAppColors()", "App color list is NULL or empty.");
    return appColors.at(static_cast<std::size_t>(index)).color;
}

void Settings::setGearThresholds(int mode) {
    gearRpmThresholds = gearThresholdRow(mode);
}

std::string Settings::stampVersion() const {
    return version.empty() ? std::string(kProgramVersion) : version;
}

std::string originalBackupPath(const std::string& path) {
    return withLastCharacter(path, 'X');
}

std::string priorBackupPath(const std::string& path) {
    return withLastCharacter(path, 'B');
}

bool Settings::backupFile(const std::string& path) {
    FileSystem& fs = fileSystem();
    if (!fs.fileExists(path))
        return false;
    if (!text::iendsWith(path, "h")) {
        m_prompt->tell("QORA File IO",
                       "[" + text::toLower(path) + "] contains an invalid file VEH extention and cannot be backed up.",
                       PromptIcon::Exclamation);
        return false;
    }
    // The backup is a copy, so the vehicle file stays at its path until its new content replaces it. The copy
    // is staged and renamed into place, so an existing backup is never left half-written, and it keeps the
    // vehicle's permission bits: a private file's backup stays private.
    const std::string original = originalBackupPath(path);
    const std::string target = fs.fileExists(original) ? priorBackupPath(path) : original;
    StagedFile staged(target, StagedFile::CopyOf{path, true});
    staged.commit();
    return true;
}

} // namespace qora
