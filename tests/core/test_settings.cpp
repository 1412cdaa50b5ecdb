#include <gtest/gtest.h>

#include <cmath>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"
#include "settings/program_folder.h"
#include "settings/settings.h"
#include "store/keyed_text_file.h"
#include "support/failing_file_system.h"
#include "support/message_of.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace qora;
using qora::testing::FailingFileSystem;
using qora::testing::messageOf;
using qora::testing::namesIn;
using qora::testing::native;
using qora::testing::readBytes;
using qora::testing::ScriptedPrompt;
using qora::testing::TempDir;
using qora::testing::writeBytes;

namespace {

constexpr const char* kFavoritesMessage = "Adding Vehicle.mas to your favorite folders so you can open files from it "
                                          "by selecting it in the favorite folders listbox in the open dialog.";

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs pairsOf(const std::vector<RecentRecord>& records) {
    Pairs out;
    for (const RecentRecord& r : records)
        out.emplace_back(r.caption, r.path);
    return out;
}

std::vector<std::pair<std::string, Color>> pairsOf(const std::vector<ColorRecord>& records) {
    std::vector<std::pair<std::string, Color>> out;
    for (const ColorRecord& r : records)
        out.emplace_back(r.name, r.color);
    return out;
}

std::vector<std::string> sectionHeaders(const std::string& bytes) {
    std::vector<std::string> out;
    for (const std::string& line : text::splitLines(bytes))
        if (text::startsWith(line, "["))
            out.push_back(line);
    return out;
}

bool hasLine(const std::string& bytes, const std::string& wanted) {
    for (const std::string& line : text::splitLines(bytes))
        if (line == wanted)
            return true;
    return false;
}

// A program folder in a temporary folder, with settings that tell the scripted prompt.
struct SettingsTest : ::testing::Test {
    TempDir dir;
    ScriptedPrompt prompt;
    Settings settings;

    SettingsTest() {
        settings.setPrompt(prompt);
        settings.setProgramFolder(dir.path());
    }

    std::string iniPath() const { return dir.file("qora.ini"); }
    void writeIni(const std::string& text) const { writeBytes(iniPath(), text); }

    std::string makeFile(const std::string& name) const {
        writeBytes(dir.file(name), "x");
        return dir.file(name);
    }
    std::string makeFolder(const std::string& name) const {
        std::filesystem::create_directory(dir.file(name));
        return dir.file(name);
    }

    // Loads the file into fresh settings over the same program folder.
    Settings reloaded() {
        Settings other;
        other.setPrompt(prompt);
        other.setProgramFolder(dir.path());
        other.load();
        return other;
    }
};

} // namespace

TEST_F(SettingsTest, DefaultsAndTheFoldersThatFollowTheProgramFolder) {
    ASSERT_EQ(settings.chartColors.size(), 18u);
    ASSERT_EQ(settings.appColors.size(), 14u);
    EXPECT_EQ(pairsOf(settings.chartColors)[1], std::make_pair(std::string("ChartGridLines"), rgbColor(72, 68, 72)));
    EXPECT_EQ(pairsOf(settings.chartColors)[17], std::make_pair(std::string("ActivePointShadow"), rgbColor(0, 128, 0)));
    const auto appColors = pairsOf(settings.appColors);
    EXPECT_EQ(std::vector(appColors.begin(), appColors.begin() + 7),
              (std::vector<std::pair<std::string, Color>>{{"HeaderBackground", clActiveCaption},
                                                          {"HeaderText", clCaptionText},
                                                          {"PromptBackground", clHighlight},
                                                          {"PromptText", clHighlightText},
                                                          {"EditBackground", clWindow},
                                                          {"EditText", clWindowText},
                                                          {"GhostBackground", rgbColor(192, 192, 192)}}));
    EXPECT_EQ(settings.gearRpmThresholds, (std::array<int, 5>{-1000, -350, 0, 500, 750}));
    EXPECT_EQ(settings.favoriteFolders, std::vector<std::string>{"Vehicle.mas"});
    EXPECT_EQ(settings.chartBitmap + settings.pageBackgroundBitmap + settings.toolbarButtons,
              "[default][default]mixed");

    EXPECT_EQ(settings.moveToFolder, dir.path());
    EXPECT_EQ(settings.garageFolder, dir.file("Garage"));
    EXPECT_EQ(settings.settingsFilePath(), dir.file("qora.ini"));
    EXPECT_EQ(settings.masVehFolder(), dir.file("MasVeh"));

    // The move-to folder follows the program folder only while it is the default.
    settings.setProgramFolder(dir.file("sub/"));
    EXPECT_EQ(settings.programFolder, dir.file("sub"));
    EXPECT_EQ(settings.moveToFolder, dir.file("sub"));
    EXPECT_EQ(settings.garageFolder, dir.file("sub/Garage"));
    settings.moveToFolder = "/elsewhere";
    settings.setProgramFolder(dir.path());
    EXPECT_EQ(settings.moveToFolder, "/elsewhere");

    settings.chartColors[0].color = 7;
    settings.gearRpmThresholdMode = 0;
    settings.favoriteFolders.clear();
    settings.setDefaults();
    EXPECT_EQ(settings.chartColors[0].color, rgbColor(0, 0, 0));
    EXPECT_EQ(settings.gearRpmThresholdMode, 1);
    EXPECT_EQ(settings.favoriteFolders, std::vector<std::string>{"Vehicle.mas"});
    EXPECT_EQ(settings.moveToFolder, dir.path());
}

TEST_F(SettingsTest, ColourAccessorsAndThresholdPresets) {
    settings.setChartColor(2, rgbColor(1, 2, 3));
    EXPECT_EQ(settings.chartColor(2), rgbColor(1, 2, 3));
    settings.setAppColor(0, clBtnFace);
    EXPECT_EQ(settings.appColor(0), clBtnFace);
    EXPECT_THROW(settings.chartColor(18), std::out_of_range);
    EXPECT_THROW(settings.setAppColor(-1, 0), std::out_of_range);

    settings.chartColors.clear();
    settings.appColors.clear();
    EXPECT_EQ(messageOf<SettingsError>([&] { settings.setChartColor(0, 0); }),
              "Exception EAppSettings: TSettings::SetChartColors() - Chart color list is NULL or empty.");
    EXPECT_EQ(messageOf<SettingsError>([&] { settings.chartColor(0); }),
              "Exception EAppSettings: TSettings::GetChartColors() - Chart color list is NULL or empty.");
    EXPECT_EQ(messageOf<SettingsError>([&] { settings.setAppColor(0, 0); }),
              "Exception EAppSettings: TSettings::SetAppColors() - App color list is NULL or empty.");
    EXPECT_EQ(messageOf<SettingsError>([&] { settings.appColor(0); }),
              "Exception EAppSettings: TSettings::GetAppColors() - App color list is NULL or empty.");

    settings.setGearThresholds(0);
    EXPECT_EQ(settings.gearRpmThresholds, (std::array<int, 5>{0, 0, 0, 0, 0}));
    settings.setGearThresholds(7);
    EXPECT_EQ(settings.gearRpmThresholds, (std::array<int, 5>{-750, -250, 0, 0, 0}));
    settings.setGearThresholds(-3);
    EXPECT_EQ(settings.gearRpmThresholds, (std::array<int, 5>{0, 0, 0, 0, 0}));
}

TEST_F(SettingsTest, FirstRunWithAGameFolderTakesItsFolders) {
    settings.gameFolder = native("/games/Trevant");

    EXPECT_TRUE(settings.load());

    EXPECT_TRUE(settings.firstRun);
    EXPECT_EQ(settings.gameFolder, native("/games/Trevant"));
    EXPECT_EQ(settings.patchFolder, native("/games/Trevant/Patch"));
    EXPECT_EQ(settings.soundFolder, native("/games/Trevant/Sounds/22k16bit"));
    EXPECT_EQ(settings.moveToFolder, dir.path());
    EXPECT_EQ(settings.favoriteFolders, (std::vector<std::string>{"Vehicle.mas", native("/games/Trevant/Patch")}));
    EXPECT_TRUE(prompt.calls.empty());
    EXPECT_FALSE(std::filesystem::exists(iniPath())); // loading never writes
}

#ifndef _WIN32
TEST_F(SettingsTest, FirstRunWithoutAGameFolderUsesTheProgramAndHomeFolders) {
    const char* oldHome = std::getenv("HOME");
    const std::optional<std::string> savedHome = oldHome ? std::optional<std::string>(oldHome) : std::nullopt;
    ::setenv("HOME", "/home/driver", 1);

    prompt.choice(1); // "Not now"
    EXPECT_TRUE(settings.load());

    EXPECT_TRUE(settings.firstRun);
    EXPECT_TRUE(settings.gameFolderNotNow);
    EXPECT_EQ(settings.gameFolder, "");
    EXPECT_EQ(settings.patchFolder, dir.path());
    EXPECT_EQ(settings.soundFolder, "/home/driver");
    EXPECT_EQ(settings.favoriteFolders, (std::vector<std::string>{"Vehicle.mas", dir.path()}));

    Settings homeless;
    homeless.setProgramFolder(dir.path());
    ::unsetenv("HOME");
    homeless.load();
    EXPECT_EQ(homeless.soundFolder, "/");

    if (savedHome)
        ::setenv("HOME", savedHome->c_str(), 1);
}
#endif

TEST_F(SettingsTest, EveryFieldSurvivesSaveAndLoad) {
    const std::string car = makeFile("Car.veh");
    const std::string ghost = makeFile("ghost.veh");
    Settings& s = settings;
    std::tie(s.gameFolder, s.patchFolder, s.soundFolder, s.moveToFolder, s.lastFile, s.lastGhostFile) =
        std::tuple("/games/t", "/games/t/Patch", "/snd", "/moved", car, ghost);
    std::tie(s.pageBackgroundBitmap, s.toolbarButtons, s.chartBitmap, s.chartPointBitmap, s.chartActPointBitmap) =
        std::tuple("/pics/page.bmp", "large", "/pics/chart.bmp", "/pics/point.bmp", "/pics/a.bmp");
    s.insideIdleSounds = {"ii1.wav", "ii2.wav"};
    s.outsideIdleSounds = {"oi.wav"};
    s.insideRevvedSounds = {"ir.wav"};
    s.outsideRevvedSounds = {"or1.wav", "or2.wav", "or3.wav"};
    s.geometryList = {"geo1", "geo2"};
    s.recentVehicles = {{car, "[ Fast car; red"}};
    s.recentGhosts = {{ghost, "[ Ghost"}, {car, "[ Fast car; red"}};
    s.favoriteFolders = {"Vehicle.mas", makeFolder("Mods")};
    s.carClasses = {"GT1", "GT2"};
    s.showToolBar = s.backupFiles = s.warnCompressedFiles = s.generalWarnings = s.showCarPic = s.showRacePercentage =
        s.showTabIcons = s.chartNm = s.chart3DPoints = s.chart3DLines = s.chartGhostLines = s.gearUpShiftBaseFirst =
            false;
    s.ghostIsOpen = s.hideSpinButtons = s.anglesInDegrees = s.chartMetricText = s.chartKW = true;
    std::tie(s.maxGearRange, s.chartXZoom, s.chartYZoom, s.chartBitmapStyle, s.tabStyle, s.gearRpmThresholdMode) =
        std::tuple(7500, 3, 4, 0, 1, 2);
    s.setGearThresholds(2);
    for (std::size_t i = 0; i < s.chartColors.size(); ++i)
        s.chartColors[i].color = rgbColor(static_cast<std::uint8_t>(i), 1, 2);
    for (std::size_t i = 0; i < s.appColors.size(); ++i)
        s.appColors[i].color = i % 2 ? clBtnText : rgbColor(3, static_cast<std::uint8_t>(i), 4);

    ASSERT_TRUE(s.save());
    EXPECT_EQ(s.version, "4.0");
    const Settings loaded = reloaded();
    EXPECT_TRUE(prompt.calls.empty());
    EXPECT_FALSE(loaded.firstRun);

    const auto texts = [](const Settings& x) {
        return std::tie(x.version, x.gameFolder, x.patchFolder, x.soundFolder, x.moveToFolder, x.garageFolder,
                        x.lastFile, x.lastGhostFile, x.pageBackgroundBitmap, x.toolbarButtons, x.chartBitmap,
                        x.chartPointBitmap, x.chartActPointBitmap);
    };
    const auto lists = [](const Settings& x) {
        return std::tie(x.insideIdleSounds, x.outsideIdleSounds, x.insideRevvedSounds, x.outsideRevvedSounds,
                        x.geometryList, x.favoriteFolders, x.carClasses);
    };
    const auto flags = [](const Settings& x) {
        return std::tie(x.showToolBar, x.backupFiles, x.ghostIsOpen, x.hideSpinButtons, x.warnCompressedFiles,
                        x.generalWarnings, x.showCarPic, x.showRacePercentage, x.showTabIcons, x.anglesInDegrees,
                        x.chartMetricText, x.chartKW, x.chartNm, x.chart3DPoints, x.chart3DLines, x.chartGhostLines,
                        x.gearUpShiftBaseFirst);
    };
    const auto numbers = [](const Settings& x) {
        return std::tie(x.maxGearRange, x.chartXZoom, x.chartYZoom, x.chartBitmapStyle, x.tabStyle,
                        x.gearRpmThresholdMode, x.gearRpmThresholds);
    };
    EXPECT_EQ(texts(loaded), texts(s));
    EXPECT_EQ(lists(loaded), lists(s));
    EXPECT_EQ(flags(loaded), flags(s));
    EXPECT_EQ(numbers(loaded), numbers(s));
    EXPECT_EQ(pairsOf(loaded.recentVehicles), pairsOf(s.recentVehicles));
    EXPECT_EQ(pairsOf(loaded.recentGhosts), pairsOf(s.recentGhosts));
    EXPECT_EQ(pairsOf(loaded.chartColors), pairsOf(s.chartColors));
    EXPECT_EQ(pairsOf(loaded.appColors), pairsOf(s.appColors));
}

TEST_F(SettingsTest, SaveWritesSectionsKeysAndValuesInTheirFixedForm) {
    const std::string car = makeFile("car.veh");
    settings.insideIdleSounds = {"a.wav", "b.wav"};
    settings.recentVehicles = {{car, "[ Car"}, {dir.file("gone.veh"), "[ Gone"}, {car, ""}};
    settings.favoriteFolders = {"Vehicle.mas", dir.file("no such folder"), dir.path()};
    settings.carClasses = {"GT1"};
    settings.lastFile = "/forged\r\n[SETTINGS]\r\nBackupFiles=0";
    settings.geometryList = {"geo\nline", "geo"};

    ASSERT_TRUE(settings.save());
    const std::string bytes = readBytes(iniPath());

    EXPECT_EQ(sectionHeaders(bytes),
              (std::vector<std::string>{"[SETTINGS]", "[INSIDE_IDLE_SOUNDS]", "[FAVORITES]", "[RECENT_VEHICLES]",
                                        "[GEOMETRY]", "[CAR_CLASSES]", "[CHARTCOLORS]", "[APPCOLORS]",
                                        "[CHART_PROPERTIES]", "[GEAR_SETTINGS]"}));
    EXPECT_TRUE(text::startsWith(bytes, "[SETTINGS]\r\nVersion=4.0\r\nBackupFiles=1\r\nGhostIsOpen=0\r\n"
                                        "HideSpinButtons=0\r\nShowToolBar=1\r\nTabStyle=2\r\nShowTabIcons=1\r\n"
                                        "GeneralWarnings=1\r\nWarnCompressedFiles=1\r\nShowCarPic=1\r\n"
                                        "ShowRacePercentage=1\r\nMaxGearRange=6000\r\nToolbarButtons=mixed\r\n"
                                        "AnglesInDegrees=0\r\nLastFile=\r\nLastGhostFile=\r\nPatchFolder=\r\n"
                                        "TrevantInstallPath=\r\nSoundFolder=\r\nMoveToFolder=" +
                                            dir.path() +
                                            "\r\n\r\n[INSIDE_IDLE_SOUNDS]\r\nSound0=a.wav\r\n"
                                            "Sound1=b.wav\r\n\r\n[FAVORITES]\r\n"
                                            "FavoriteFolder0=Vehicle.mas\r\nFavoriteFolder1=" +
                                            dir.path() + "\r\n\r\n[RECENT_VEHICLES]\r\nFile0=[ Car ] " + car +
                                            "\r\n\r\n[GEOMETRY]\r\nGeometry0=geo\r\n\r\n"));
    EXPECT_TRUE(hasLine(bytes, "CarClass0=GT1"));
    EXPECT_TRUE(hasLine(bytes, "ChartGridLines=$00484448"));
    EXPECT_TRUE(hasLine(bytes, "PrimaryTorqueHigh=$005050FF"));
    EXPECT_TRUE(hasLine(bytes, "BitmapPageBg=[default]"));
    EXPECT_TRUE(hasLine(bytes, "HeaderBackground=$80000002"));
    EXPECT_TRUE(hasLine(bytes, "PromptBackground=$8000000D"));
    EXPECT_TRUE(text::startsWith(bytes.substr(bytes.find("[CHART_PROPERTIES]")),
                                 "[CHART_PROPERTIES]\r\nChartBitmap=[default]\r\nChartPointBitmap=\r\n"
                                 "ChartActPointBitmap=\r\nChartBitmapStyle=1\r\nChartMetricText=0\r\nChartkW=0\r\n"
                                 "ChartNm=1\r\nChart3DPoints=1\r\nChart3DLines=1\r\nChartXZoom=0\r\nChartYZoom=0\r\n"
                                 "ChartGhostLines=1\r\n\r\n[GEAR_SETTINGS]\r\nGearRpmThresholdMode=1\r\n"
                                 "GearUpshiftBaseFirst=1\r\n"));
    EXPECT_EQ(bytes.substr(bytes.size() - 24), "GearUpshiftBaseFirst=1\r\n");
    EXPECT_EQ(namesIn(dir.path()).size(), 2u); // qora.ini and car.veh: no temporary file is left
}

TEST_F(SettingsTest, AnOldVersionIsReadAndThenReplacedByAFreshFile) {
    writeIni("[OLD_WINDOW]\r\nLeft=10\r\n\r\n[SETTINGS]\r\nVersion=3.0\r\nBackupFiles=0\r\nTabStyle=0\r\n"
             "[CHART_PROPERTIES]\r\nObsoleteKey=1\r\nChartNm=0\r\n");
    ASSERT_TRUE(settings.load());
    EXPECT_EQ(settings.version, "3.0");
    EXPECT_FALSE(settings.backupFiles);
    EXPECT_EQ(settings.tabStyle, 0);
    EXPECT_FALSE(settings.chartNm);

    ASSERT_TRUE(settings.save());
    const std::string bytes = readBytes(iniPath());
    EXPECT_TRUE(text::startsWith(bytes, "[SETTINGS]\r\nVersion=4.0\r\nBackupFiles=0\r\n"));
    EXPECT_EQ(bytes.find("OLD_WINDOW"), std::string::npos);
    EXPECT_EQ(bytes.find("ObsoleteKey"), std::string::npos);

    // A file of the current version is updated in place: what the program does not know stays.
    writeIni("; my notes\r\n[OLD_WINDOW]\r\nLeft=10\r\n\r\n[SETTINGS]\r\nVersion=4.0\r\nShowCarPic=0\r\n");
    Settings current = reloaded();
    EXPECT_FALSE(current.showCarPic);
    current.showCarPic = true;
    ASSERT_TRUE(current.save());
    const std::string updated = readBytes(iniPath());
    EXPECT_TRUE(text::startsWith(updated, "; my notes\r\n[OLD_WINDOW]\r\nLeft=10\r\n"));
    EXPECT_TRUE(hasLine(updated, "Version=4.0"));
    EXPECT_TRUE(hasLine(updated, "ShowCarPic=1"));
    EXPECT_FALSE(hasLine(updated, "ShowCarPic=0"));
}

TEST_F(SettingsTest, LoadNeverRewritesTheFileEvenWhenAValueIsUnreadable) {
    const std::string original =
        "[SETTINGS]\nVersion=4.0\n  ghostisopen = 1  \n[GEAR_SETTINGS]\nGearUpShiftBaseFirst=0";
    writeIni(original);
    ASSERT_TRUE(settings.load());
    EXPECT_TRUE(settings.ghostIsOpen);
    EXPECT_FALSE(settings.gearUpShiftBaseFirst); // keys match without regard to letter case
    EXPECT_EQ(readBytes(iniPath()), original);

    const std::string garbage = "[SETTINGS]\nVersion=4.0\nShowCarPic=yes\n";
    writeIni(garbage);
    Settings other;
    other.setProgramFolder(dir.path());
    try {
        other.load();
        FAIL() << "no error";
    } catch (const KeyedTextFileError& e) {
        EXPECT_EQ(std::string(e.what()), "TIniFileIO::ReadBoolInstance() -  [" + iniPath() +
                                             "] - 'yes' is not a valid boolean value in Section[SETTINGS]-"
                                             "Entry[ShowCarPic].");
    }
    EXPECT_EQ(readBytes(iniPath()), garbage);

    writeIni("[CHART_PROPERTIES]\nChartXZoom=2.5\n");
    EXPECT_THROW(reloaded(), KeyedTextFileError);
}

TEST_F(SettingsTest, FavouritesKeepVehicleMasAndExistingFolders) {
    const std::string mods = makeFolder("Mods");
    writeIni("[SETTINGS]\nVersion=4.0\n[FAVORITES]\nFavoriteFolder0=" + dir.file("gone") +
             "\nFavoriteFolder1=vehicle.MAS\nFavoriteFolder2=" + mods + "\nFavoriteFolder3=Vehicle.mas\n");
    Settings kept = reloaded();
    EXPECT_EQ(kept.favoriteFolders, (std::vector<std::string>{"Vehicle.mas", mods}));
    EXPECT_TRUE(prompt.calls.empty());

    // Without it, the user is told and it comes first; one folder besides it is enough.
    writeIni("[SETTINGS]\nVersion=4.0\nPatchFolder=/games/t/Patch\n[FAVORITES]\nFavoriteFolder0=" + mods + "\n");
    Settings added = reloaded();
    EXPECT_EQ(added.favoriteFolders, (std::vector<std::string>{"Vehicle.mas", mods}));
    ASSERT_EQ(prompt.calls.size(), 1u);
    EXPECT_EQ(prompt.calls[0].kind, ScriptedPrompt::Call::Tell);
    EXPECT_EQ(prompt.calls[0].title, "QORA Load Settings");
    EXPECT_EQ(prompt.calls[0].text, kFavoritesMessage);
    EXPECT_EQ(prompt.calls[0].icon, PromptIcon::Information);

    // Alone, it is joined by the patch folder (whether that exists is for the save to judge).
    prompt.calls.clear();
    writeIni("[SETTINGS]\nVersion=4.0\nPatchFolder=/games/t/Patch\n[FAVORITES]\nFavoriteFolder0=" + dir.file("gone") +
             "\n");
    Settings patched = reloaded();
    EXPECT_EQ(patched.favoriteFolders, (std::vector<std::string>{"Vehicle.mas", "/games/t/Patch"}));
    EXPECT_EQ(prompt.messages().size(), 1u);
    ASSERT_TRUE(patched.save());
    EXPECT_EQ(reloaded().favoriteFolders, (std::vector<std::string>{"Vehicle.mas", "/games/t/Patch"}));
}

TEST_F(SettingsTest, RecentListsReadSixKeysAndOnlyFilesThatExist) {
    std::string ini = "[SETTINGS]\nVersion=4.0\n[RECENT_VEHICLES]\n";
    for (int i = 0; i < 7; ++i)
        ini += "File" + std::to_string(i) + "=[ Car " + std::to_string(i) + " ] " +
               makeFile("Car" + std::to_string(i) + ".VEH") + "\n";
    ini += "[RECENT_GHOSTS]\nFile0=[ Gone ] " + dir.file("gone.veh") + "\nFile1=no separator\nFile1=[ A ] " +
           makeFile("x ] ghost.veh") + "\nFile3=\nFile4=[ B ] " + dir.file("Car0.VEH") + "\n";
    writeIni(ini);

    const Settings loaded = reloaded();
    ASSERT_EQ(loaded.recentVehicles.size(), 6u);
    EXPECT_EQ(loaded.recentVehicles[0].caption, "[ Car 0");
    EXPECT_EQ(loaded.recentVehicles[0].path, dir.file("Car0.VEH")); // kept as stored
    EXPECT_EQ(loaded.recentVehicles[5].caption, "[ Car 5");
    EXPECT_EQ(pairsOf(loaded.recentGhosts), (Pairs{{"[ A", dir.file("x ] ghost.veh")}, {"[ B", dir.file("Car0.VEH")}}));

    // A seventh key is not read even when earlier ones are unusable.
    writeIni("[SETTINGS]\nVersion=4.0\n[RECENT_GHOSTS]\nFile0=x\nFile1=x\nFile2=x\nFile3=x\nFile4=x\nFile5=x\n"
             "File6=[ Late ] " +
             dir.file("Car0.VEH") + "\n");
    EXPECT_TRUE(reloaded().recentGhosts.empty());
}

TEST_F(SettingsTest, OutOfRangeAndUnreadableValuesFallBack) {
    writeIni("[SETTINGS]\nVersion=4.0\nMaxGearRange=abc\nToolbarButtons=Large\n"
             "[CHARTCOLORS]\nChartBackground=clRed\nChartGridLines=no colour\nPoint=#0000FF\n"
             "[APPCOLORS]\nBitmapPageBg=/pics/bg.bmp\nHeaderText=clBtnFace\nEditText=$00FFFFFF\n"
             "[CHART_PROPERTIES]\nChartXZoom=9\nChartYZoom=-2\n[GEAR_SETTINGS]\nGearRpmThresholdMode=5\n");
    const Settings loaded = reloaded();
    EXPECT_EQ(loaded.maxGearRange, 6000);
    EXPECT_EQ(loaded.toolbarButtons, "large");
    EXPECT_EQ(loaded.chartXZoom, 4);
    EXPECT_EQ(loaded.chartYZoom, 0);
    EXPECT_EQ(loaded.gearRpmThresholdMode, 2);
    EXPECT_EQ(loaded.gearRpmThresholds, (std::array<int, 5>{-750, -250, 0, 0, 0}));
    EXPECT_EQ(loaded.chartColors[0].color, rgbColor(255, 0, 0));
    EXPECT_EQ(loaded.chartColors[1].color, rgbColor(72, 68, 72));
    EXPECT_EQ(loaded.chartColors[14].color, rgbColor(0, 0, 255));
    EXPECT_EQ(loaded.pageBackgroundBitmap, "/pics/bg.bmp");
    EXPECT_EQ(loaded.appColors[1].color, clBtnFace);
    EXPECT_EQ(loaded.appColors[5].color, rgbColor(255, 255, 255));
    EXPECT_EQ(loaded.appColors[0].color, clActiveCaption);

    writeIni("[SETTINGS]\nVersion=4.0\nMaxGearRange=8000\nToolbarButtons=\n[GEAR_SETTINGS]\nGearRpmThresholdMode=-1\n");
    const Settings other = reloaded();
    EXPECT_EQ(other.maxGearRange, 8000);
    EXPECT_EQ(other.toolbarButtons, "mixed");
    EXPECT_EQ(other.gearRpmThresholdMode, 0);
    EXPECT_EQ(other.gearRpmThresholds, (std::array<int, 5>{0, 0, 0, 0, 0}));
}

TEST_F(SettingsTest, TabsAndBytesAbove127AreReadAndKept) {
    // Folder names may hold any byte but a line end, so the file is not checked for plain text.
    const std::string latin1Folder = "/home/jos\xE9/sons";
    const std::string utf8File = "/data/caf\xC3\xA9.veh";
    writeIni("[SETTINGS]\r\nVersion=4.0\r\nSoundFolder=\t" + latin1Folder + "\t\r\nLastFile=" + utf8File +
             "\r\n\tShowCarPic\t=\t0\r\n");
    Settings loaded = reloaded();
    EXPECT_EQ(loaded.soundFolder, latin1Folder);
    EXPECT_EQ(loaded.lastFile, utf8File);
    EXPECT_FALSE(loaded.showCarPic);

    ASSERT_TRUE(loaded.save());
    const std::string bytes = readBytes(iniPath());
    EXPECT_TRUE(hasLine(bytes, "SoundFolder=" + latin1Folder));
    EXPECT_TRUE(hasLine(bytes, "LastFile=" + utf8File));
    EXPECT_EQ(reloaded().soundFolder, latin1Folder);
}

TEST_F(SettingsTest, AFailedSaveLeavesTheOldFileAndTellsTheUser) {
    const std::string old = "[SETTINGS]\r\nVersion=3.0\r\nBackupFiles=0\r\n";
    writeIni(old);
    ASSERT_TRUE(settings.load());
    prompt.calls.clear(); // the favourites message

    FailingFileSystem failing;
    {
        const ScopedFileSystem scoped(failing);
        failing.failWritesAfterBytes = 10;
        EXPECT_FALSE(settings.save());
    }
    EXPECT_EQ(readBytes(iniPath()), old);
    EXPECT_EQ(namesIn(dir.path()).size(), 1u);
    EXPECT_EQ(settings.version, "3.0"); // the next save still replaces the old file as a whole
    ASSERT_EQ(prompt.calls.size(), 1u);
    EXPECT_EQ(prompt.calls[0].kind, ScriptedPrompt::Call::Tell);
    EXPECT_EQ(prompt.calls[0].title, "QORA Ini Write Error");
    EXPECT_EQ(prompt.calls[0].text, "Error writing to QORA.INI.");
    EXPECT_EQ(prompt.calls[0].icon, PromptIcon::Stop);

    // The same for an update in place whose rename is refused.
    const std::string current = "[SETTINGS]\r\nVersion=4.0\r\nBackupFiles=0\r\n";
    writeIni(current);
    settings.version = "4.0";
    {
        const ScopedFileSystem scoped(failing);
        failing.failRenames = true;
        failing.failWritesAfterBytes = -1;
        EXPECT_FALSE(settings.save());
    }
    EXPECT_EQ(readBytes(iniPath()), current);
    EXPECT_EQ(namesIn(dir.path()).size(), 1u);
    EXPECT_EQ(prompt.messages().size(), 2u);

    EXPECT_TRUE(settings.save());
    EXPECT_TRUE(hasLine(readBytes(iniPath()), "Version=4.0"));

    // A program folder that is a file cannot hold the settings file.
    Settings blocked;
    blocked.setPrompt(prompt);
    blocked.setProgramFolder(iniPath());
    EXPECT_FALSE(blocked.save());
    Settings unplaced;
    unplaced.setPrompt(prompt);
    EXPECT_FALSE(unplaced.save());
    EXPECT_EQ(prompt.messages().size(), 4u);
    EXPECT_EQ(prompt.messages()[3].text, "Error writing to QORA.INI.");
}

TEST(ProgramFolder, AnInstalledTreeKeepsNothingBesideTheProgramEvenWhenItCouldBeWritten) {
    TempDir dir;
    const std::string exe = dir.file("usr/bin");
    std::filesystem::create_directories(exe);
    std::filesystem::create_directories(dir.file("usr/share/qora"));
    const std::string data = dir.file("home/.local/share/qora");
    EXPECT_EQ(resolveProgramFolder(std::nullopt, exe, data), data);
    EXPECT_TRUE(std::filesystem::is_empty(exe));
    EXPECT_EQ(resolveProgramFolder(std::string("/srv/qora"), exe, data), "/srv/qora");
}

TEST(ProgramFolder, HomeVariableThenWritableExecutableFolderThenUserDataFolder) {
    TempDir dir;
    const std::string exe = dir.file("bin");
    std::filesystem::create_directory(exe);
    const std::string data = dir.file("share/qora/data");

    EXPECT_EQ(resolveProgramFolder(std::string("/opt/qora/"), exe, data), "/opt/qora");
    EXPECT_EQ(resolveProgramFolder(std::string(), exe, data), exe);
    EXPECT_EQ(resolveProgramFolder(std::nullopt, exe + "/", data), exe);
    EXPECT_TRUE(std::filesystem::is_empty(exe)); // the probe file is gone
    EXPECT_FALSE(std::filesystem::exists(data));

    // An executable folder where no file can be created: the per-user folder is made, level by level.
    FailingFileSystem failing;
    failing.failWritesAfterBytes = 0;
    failing.filter = [&](const std::string& path) { return parentFolder(path) == exe; };
    {
        const ScopedFileSystem scoped(failing);
        EXPECT_EQ(resolveProgramFolder(std::nullopt, exe, data), data);
    }
    EXPECT_TRUE(std::filesystem::is_directory(data));
    EXPECT_TRUE(std::filesystem::is_empty(exe));

    // A file where the executable folder should be, and one in the way of the per-user folder.
    writeBytes(dir.file("file"), "x");
    EXPECT_EQ(resolveProgramFolder(std::nullopt, dir.file("file"), data), data);
    EXPECT_THROW(resolveProgramFolder(std::nullopt, dir.file("file"), dir.file("file/qora")), FileError);

    EXPECT_EQ(folderWithoutTrailingSeparator("/a/b//"), "/a/b");
    EXPECT_EQ(folderWithoutTrailingSeparator("/"), "/");
}

TEST_F(SettingsTest, APlainBackgroundStaysPlainAfterTheNextStart) {
    settings.version = kProgramVersion;
    settings.pageBackgroundBitmap.clear();
    ASSERT_TRUE(settings.save());
    Settings next;
    next.setPrompt(prompt);
    next.setProgramFolder(dir.path());
    next.load();
    EXPECT_EQ(next.pageBackgroundBitmap, "");

    // A file without the entry still starts with the default picture.
    writeIni("[SETTINGS]\r\nVersion=4.0\r\n[FAVORITES]\r\nFavoriteFolder0=Vehicle.mas\r\n");
    Settings fresh;
    fresh.setPrompt(prompt);
    fresh.setProgramFolder(dir.path());
    fresh.load();
    EXPECT_EQ(fresh.pageBackgroundBitmap, "[default]");
}

namespace {

// WCAG 2 relative luminance and contrast ratio of two colours.
double luminance(Color colour) {
    const auto channel = [](unsigned value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour & 0xFF) + 0.7152 * channel((colour >> 8) & 0xFF) +
           0.0722 * channel((colour >> 16) & 0xFF);
}

double contrast(Color a, Color b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color colourNamed(const std::vector<ColorRecord>& colours, const std::string& name) {
    for (const ColorRecord& record : colours)
        if (record.name == name)
            return record.color;
    throw std::logic_error("no colour " + name);
}

} // namespace

TEST(DefaultColours, TheGhostIsEasyToRead) {
    const Settings settings;
    // Text needs 4.5:1, lines 3:1 (WCAG).
    EXPECT_GE(
        contrast(colourNamed(settings.appColors, "GhostText"), colourNamed(settings.appColors, "GhostBackground")),
        4.5);
    EXPECT_GE(contrast(colourNamed(settings.appColors, "GhostCarText"),
                       colourNamed(settings.appColors, "GhostCarBackground")),
              4.5);
    const Color chart = colourNamed(settings.chartColors, "ChartBackground");
    for (const char* line : {"GhostTorqueNorm", "GhostHpNorm", "GhostTorqueHigh", "GhostHpHigh"})
        EXPECT_GE(contrast(colourNamed(settings.chartColors, line), chart), 3.0) << line;
}
