#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

// QORA's built-in artwork: every bitmap the editor refers to by name ("bmpPageBg", "bmpChartBg", "bmpLegendBg",
// "bmpPoint", "bmpActivePoint", "bmpNoCar", the car thumbnails "BMP" + code, "bmpFormBg", the about picture, the
// dialog backgrounds, the toolbar buttons and the tab icons). Everything is painted by the program, the same way on
// every run; names are looked up without regard to letter case.
//
// Each picture has a natural size (artworkSize) and can also be painted for another size: backgrounds are laid out
// anew for the size asked, and the rest is drawn to scale, so a picture stays sharp when a frame or the screen's
// pixel ratio calls for more pixels. Results are cached.
namespace qora::gui {

// Sizes that are part of the editor's behaviour.
inline constexpr QSize kPointMarkerSize{11, 11};   // "bmpPoint", "bmpActivePoint"
inline constexpr QSize kCarThumbnailSize{112, 56}; // "bmpNoCar" and the car thumbnails
inline constexpr QSize kToolbarButtonSize{100, 50};
inline constexpr QSize kAboutPictureSize{328, 200};
inline constexpr QSize kPageSkinSize{608, 368}; // "bmpPageBg": a seamless tile within the 612 x 369 page limit

// Names of the built-in bitmaps the editor loads by name.
inline constexpr std::string_view kPageBackground = "bmpPageBg";
inline constexpr std::string_view kChartBackground = "bmpChartBg";
inline constexpr std::string_view kLegendBackground = "bmpLegendBg";
inline constexpr std::string_view kPointMarker = "bmpPoint";
inline constexpr std::string_view kActivePointMarker = "bmpActivePoint";
inline constexpr std::string_view kNoCarPicture = "bmpNoCar";
inline constexpr std::string_view kFormBackground = "bmpFormBg";
inline constexpr std::string_view kAboutPicture = "bmpAbout";
// Dialog backgrounds: a dark caption band (kDialogCaptionBand high) over a brushed-metal panel. The generic one
// serves the small dialogs; the others carry a watermark of their dialog's subject in the lower right corner.
inline constexpr std::string_view kGenericDialogBackground = "bmpDlgGenBase";
inline constexpr std::string_view kFileOpenDialogBackground = "bmpDlgFileOpen";
inline constexpr std::string_view kGarageDialogBackground = "bmpDlgFileVersion";
inline constexpr std::string_view kSelectFolderDialogBackground = "bmpDlgSelectFolder";
inline constexpr std::string_view kFileManDialogBackground = "bmpDlgFileMan";
inline constexpr int kDialogCaptionBand = 30;

// The built-in picture at its natural size; a null image for an unknown name. Pictures meant to be drawn opaque
// (backgrounds, thumbnails, the point markers) have no alpha channel (Format_RGB32), so the point markers meet the
// editor's own 11 x 11, 24-bit rule; toolbar buttons and tab icons have transparent corners.
QImage artworkImage(std::string_view name);
// The picture painted for `size` (device-independent pixels) at the given pixel ratio; a null image for an unknown
// name or an empty size.
QImage artworkImage(std::string_view name, QSize size, qreal devicePixelRatio = 1.0);

// The same as pixmaps, for widgets. Call from the GUI thread only.
QPixmap artworkPixmap(std::string_view name, qreal devicePixelRatio = 1.0);
QPixmap artworkPixmap(std::string_view name, QSize size, qreal devicePixelRatio = 1.0);

// Whether a built-in picture of that name exists, and its natural size (invalid for an unknown name).
bool hasArtwork(std::string_view name);
QSize artworkSize(std::string_view name);

// Every built-in picture's name, in a stable order (backgrounds, chart, cars, toolbar buttons, tab icons).
std::vector<std::string> artworkNames();

// ---- Toolbar --------------------------------------------------------------------------------------------------

enum class ToolbarButton { OpenVehicle, OpenGhost, Save };

// The toolbar button sets, under the names the settings store.
inline constexpr std::string_view kToolbarSets[] = {"mixed", "bmw", "porche", "mustang"};

// The set a stored name selects, compared without regard to letter case; anything else selects "mixed".
std::string_view toolbarSet(std::string_view name);

// The built-in name of one toolbar image ("tbMixedOpenVehicle", "tbBmwSaveHot", ...), for artworkImage.
std::string toolbarImageName(std::string_view set, ToolbarButton button, bool hot);

// One toolbar image (normal or hot) of a set, 100 x 50.
QIcon toolbarIcon(std::string_view set, ToolbarButton button, bool hot);
// The button's icon for a toolbar: the normal image, and the hot image as the icon's Active mode, which Qt shows
// while the mouse is over an auto-raised tool button.
QIcon toolbarIcon(std::string_view set, ToolbarButton button);

// ---- Tab icons --------------------------------------------------------------------------------------------------

// The icon of one editor page (Details, Tires, Aerodynamics, Handling, Performance, DriveTrain, Other: 0 ... 6),
// painted at 16, 24, 32 and 48 pixels; a null icon for any other page.
QIcon tabIcon(int page);
// The built-in name of a page's icon ("tabDetails", ...); empty for any other page.
std::string tabIconName(int page);

} // namespace qora::gui
