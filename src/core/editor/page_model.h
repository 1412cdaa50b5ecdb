#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/field_rules.h"
#include "editor/page_fields.h"
#include "platform/prompt.h"

// The document side of the editor window: moving values between the vehicle file's buffer and the page fields
// (the page loaders and savers), the driver attribute rules, the transfer run by every save, the author data
// the window keeps for its dialog, and the fixed texts the window shows around them (caption, status texts,
// save animation, questions). Nothing here touches a widget: the window reads and writes its controls by the
// objectNames of the page tables (page_fields.h) and hands the texts over in a PageTexts map.
namespace qora {
class VehicleFile;
class Settings;
} // namespace qora

namespace qora::editor {

// Field texts keyed by the objectName of the VEHICLE's control ("eMass", "dlUnlockPoints", "e1Aggression"),
// also when a ghost is loaded: the window shows them in the ghost twins (PageField::ghostName).
//
// Lists hold their item's text: Race % one of raceItems() ("Random", "80%", ...); Damage, Drive type, Geometry
// and the sound names the text shown in the list's edit. Computed displays (upshift rpm, best gears, estimated
// 6th gear) are never loaded or saved here; the gearing calculator fills them.
using PageTexts = std::map<std::string, std::string, std::less<>>;

// ---- Driver attributes ------------------------------------------------------------------------------------

// One driver line ("//Driver1=Ray Colter/0.6/0.4/0.9") split for the Details page.
struct DriverData {
    std::string name;                      // text before the first "/" (the whole line when it has none)
    std::array<std::string, 3> attributes; // aggression, defensive, ability with "0.0"; "0.0" where unusable
    bool valid = true; // false: no "/", a missing or unconvertible number, or a number limited to 0.0..9.9
    // The conversion failure of each number that is not a number ("'x' is not a valid floating point value."),
    // shown under kFloatingPointErrorTitle for the current vehicle.
    std::vector<std::string> conversionFailures;
};

// ParseDriverData() for one line, without messages. A number below 0.0 becomes 0.0 and one above 9.9 becomes
// 9.9; a missing (empty) number counts as 0.0; each makes the entry invalid.
DriverData parseDriverLine(std::string_view line);

inline constexpr std::string_view kFloatingPointErrorTitle = "QORA Floating Point Error: ParseDriverData()";
inline constexpr std::string_view kParseDriverTitle = "QORA Parse Driver Attributes";
// "Driver 1 contains either invalid or no driver attributes.  Using default values."
std::string invalidDriverMessage(int driver);

// The saver's check of one attribute text: empty reads "0.0"; otherwise exactly digit "." digit. Returns the
// text to store, or nullopt when the format is wrong.
std::optional<std::string> driverAttributeText(std::string_view text);

// ---- Race % -------------------------------------------------------------------------------------------------

// The list position held in the buffer: a whole number, 0 when it is not one, limited to 0..5.
int racePosition(std::string_view bufferValue);

// ---- Loading pages ------------------------------------------------------------------------------------------

struct PageLoad {
    PageTexts texts;
    // Ghost only: a driver entry was invalid (the window sets its ghost-problems flag). No message is shown for a
    // ghost.
    bool ghostProblems = false;
    // Aerodynamics: a wing angle could not be shown in degrees. settings.anglesInDegrees has been cleared and the
    // message shown (kMathUnitTitle, stop icon); the loaded angle texts are the file's raw radians. The window
    // unchecks cbAnglesInDegrees, applies kAngleMaxLengthRadians and kAngleHeaderRadians to the angle edits, and
    // shows otherAngleTexts (when given) in the angle fields of the other open set.
    bool angleModeSwitched = false;
    std::optional<AngleTexts> otherAngleTexts;

    // Adds another page's load (texts and flags).
    void merge(PageLoad&& other);
};

// One page loader: the texts of the page's fields from the vehicle's buffer.
//  - Details: text fields unchanged; the two driver lines split by parseDriverLine. For the current vehicle
//    (ghost false) each conversion failure is shown under kFloatingPointErrorTitle and each invalid entry with
//    invalidDriverMessage under kParseDriverTitle (warning icon); for the ghost nothing is shown and
//    ghostProblems is set instead. Race % as its item text (racePosition).
//  - Aerodynamics: in degree mode (settings.anglesInDegrees) the wing angles through loadAngleTexts;
//    otherSetAngles are the angle texts the other open set shows (the ghost's while the vehicle is loaded, or
//    the reverse), needed to turn them back to radians when the mode falls back.
//  - Performance: the six text fields only. The torque curve is loaded by the window through the engine-curve
//    functions (LoadEngineCurve), as its own step of this page.
//  - DriveTrain: the eight gear texts, an empty or absent gear as "0.000"; the drive type unchanged. The
//    calculator's displays are not touched.
//  - every other field: the buffer value unchanged.
PageLoad loadPage(const VehicleFile& vehicle, int page, bool ghost, Settings& settings, Prompt& prompt,
                  const std::optional<AngleTexts>& otherSetAngles = std::nullopt);

// LoadPages: the seven loaders in page order, merged.
PageLoad loadPages(const VehicleFile& vehicle, bool ghost, Settings& settings, Prompt& prompt,
                   const std::optional<AngleTexts>& otherSetAngles = std::nullopt);

// ---- Saving pages -------------------------------------------------------------------------------------------

// One page saver: assigns the page's texts to the buffer. A field whose objectName is not in `texts` leaves its
// buffer value as it is. Returns the texts the saver rewrote in the page's controls (the window shows them).
//  - Details (SaveDetailsPage()): each attribute through driverAttributeText; a wrong format throws
//    DataValidationError "TfMain::SaveDetailsPage()-> Driver attribute 'Aggression' must be in the format of #.#"
//    (" defensive ", " ability " for the others). The driver line is the trimmed name + "/" + the three
//    attributes joined by "/". Sound names and rpm texts trimmed. Race % stores the position of its item text
//    (an unknown text keeps the stored position).
//  - Aerodynamics: in degree mode the wing angles back to radians through saveAngleTexts, which shows a failure
//    under kMathUnitTitle and throws DataValidationError "... File contains invalid data and cannot be saved.".
//  - Performance: the six text fields only; the window stores the torque curve (StoreEngineCurve), see
//    transferBuffer.
//  - DriveTrain: an empty reverse or forward gear is stored as "0.0000" and returned as rewritten (the final
//    gear is stored as it is).
//  - every other field: its text as it is.
// Every numeric field must hold a number in its field's form (three numbers separated by commas for a triple,
// a whole number for an integer field); one the user changed must also lie within its field's limits. A text
// field must not hold what would change the file's structure (veh::textValueProblem). A wing angle shown in
// degrees that the user did not change keeps its stored radians exactly.
// Throws DataValidationError (naming the field, its label and page); a page that fails assigns nothing, so the buffer
// keeps what it held before that page.
PageTexts savePage(VehicleFile& vehicle, int page, const PageTexts& texts, Settings& settings, Prompt& prompt);

// ---- Author data --------------------------------------------------------------------------------------------

// The five [QORA] strings the window keeps for the author data dialog, in this order.
enum AuthorItem : int { AuthorOriginal = 0, AuthorBasedOn, AuthorNotes, AuthorModifiedBy, AuthorVersion };
using AuthorData = std::array<std::string, 5>;
// The keys of the five strings: "OriginalAuthor=", "BasedOnCar=", "AuthorsNotes=", "ModifiedBy=", "VehFileVersion=".
inline constexpr std::array<std::string_view, 5> kAuthorKeys{
    "OriginalAuthor=", "BasedOnCar=", "AuthorsNotes=", "ModifiedBy=", "VehFileVersion="};

// Read from the current vehicle's buffer after LoadPages.
AuthorData keptAuthorData(const VehicleFile& vehicle);
// Writes the kept strings back into the buffer.
void storeAuthorData(VehicleFile& vehicle, const AuthorData& data);

// ---- Transfer -----------------------------------------------------------------------------------------------

inline constexpr std::string_view kTransferringStatus = "Transferring Buffer Data..."; // red on black
inline constexpr std::string_view kTransferredStatus = "Buffer Data Transferred";      // red on black
inline constexpr std::string_view kFileErrorTitle = "QORA File Error";
inline constexpr std::string_view kDataValidationErrorTitle = "QORA Data Validation Error";

struct TransferResult {
    enum class Failure { None, VehicleFile, DataValidation };
    Failure failure = Failure::None;
    std::string text;    // the failure's message (VehicleFileError or DataValidationError what())
    std::string field;   // the objectName of the field at fault, when one is (the window focuses it)
    PageTexts rewritten; // texts the savers rewrote (see savePage), also after a failure

    bool ok() const { return failure == Failure::None; }
    // kFileErrorTitle or kDataValidationErrorTitle (error icon); empty on success.
    std::string_view title() const;
};

// TransferBuffer without its status texts: the seven savers in page order, the torque curve stored by
// `storeEngineCurve` right after the Performance page's fields (skipped when empty), then the five kept author
// strings. Stops at the first VehicleFileError or DataValidationError failure and returns it; the window shows it under
// title(), restores its status and keeps the changed flag. Other exceptions pass through.
TransferResult transferBuffer(VehicleFile& vehicle, const PageTexts& texts, const AuthorData& authorData,
                              Settings& settings, Prompt& prompt,
                              const std::function<void(VehicleFile&)>& storeEngineCurve = {});

// ---- Lists --------------------------------------------------------------------------------------------------

// The fixed items of a list control (by vehicle objectName): dlUnlockPoints "Random", "80%", "60%", "40%",
// "20%", "0%"; cbDamage "0" ... "9"; cbDriveType "REAR", "FRONT", "FOUR". Empty for every other control.
std::span<const std::string_view> fixedListItems(std::string_view name);
std::span<const std::string_view> raceItems();
// The items a list takes from the settings: the four sound lists and the Geometry list; nullptr for any other
// control.
const std::vector<std::string>* settingsListItems(std::string_view name, const Settings& settings);

// After a successful save: a non-empty Geometry text (trimmed) not yet in the settings' Geometry list (letter
// case ignored) is appended to it. Returns whether it was added.
bool rememberGeometry(std::string_view geometryText, Settings& settings);

// ---- Window texts -------------------------------------------------------------------------------------------

// SetCaption: "QORA 4.0 - " + the path; for an archive working copy (lower-cased path holding "vehiclemas=" or
// "ghostmas=") the bare file name stands in place of the path.
std::string windowCaption(std::string_view path);

inline constexpr std::string_view kUndoPageTitle = "QORA Page Restore";
inline constexpr std::string_view kUndoPageQuestion =
    "This will undo all the changes on the current page to the values that existed when the file was last "
    "saved.  Are you sure you want to undo all the changes on this page?";
inline constexpr std::string_view kSaveChangesTitle = "QORA File Change";
inline constexpr std::string_view kSaveChangesQuestion = "Save changes to the current file?";

// ShowStatus with this text restores pCarName: the description, with application colours kStatusBackgroundColor
// and kStatusFontColor (pGhostCarName: kGhostStatusBackgroundColor and kGhostStatusFontColor).
inline constexpr std::string_view kDefaultStatus = "[default]";
inline constexpr int kStatusBackgroundColor = 8;
inline constexpr int kStatusFontColor = 9;
inline constexpr int kGhostStatusBackgroundColor = 10;
inline constexpr int kGhostStatusFontColor = 11;

// ---- Save animation (Timer1) --------------------------------------------------------------------------------

inline constexpr int kSaveAnimationIntervalMs = 160;
inline constexpr int kSaveAnimationTicks = 21;
inline constexpr std::string_view kFileSavedText = "** FILE SAVED **";

struct SaveAnimationFrame {
    bool done = false; // stop the timer, reset the counter and RestoreStatus
    std::string text;  // otherwise: pCarName's caption
};

// The frame for the timer's shared counter (0 on the first tick; the window increments it after each frame
// that is not done). Counters 0..7 open the text out from its middle ("E ", "LE S", ... the whole text); then
// the caption blinks, empty and whole text in turn; at kSaveAnimationTicks the animation is done.
SaveAnimationFrame saveAnimationFrame(int counter);

} // namespace qora::editor
