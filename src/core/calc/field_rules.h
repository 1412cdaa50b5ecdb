#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/prompt.h"
#include "vehicle/field_catalogue.h"

// The small rules that keep the page fields usable: the key filter of numeric edits, the check made when the
// user leaves a gear edit, spin-button stepping, the mouse-wheel hit test, and the wing angles shown in degrees
// or radians (the vehicle file always holds radians). Each rule takes what the window holds and returns a
// decision the window applies; none of them touches a widget.
namespace qora {

// ---- Key filter -------------------------------------------------------------------------------------------

inline constexpr char kBackspaceKey = '\b';

enum class KeyDecision {
    Accept,
    Refuse // drop the key and beep
};

// Digits and backspace pass. "." passes in a long edit (maximum length above 20) or when the text holds no "."
// yet; "-" in a long edit or at caret position 0; "," only in a long edit. Everything else is refused.
KeyDecision filterFieldKey(char key, std::string_view text, std::size_t caret, int maxLength);

// A text that arrived in a numeric field other than by typing (pasted, dropped) as typing it would have left it:
// its characters typed one after the other through the key filter, the refused ones left out.
std::string keptAsTyped(std::string_view text, int maxLength);

// ---- Leaving a gear edit ----------------------------------------------------------------------------------

enum class GearField { Reverse, First, Second, Third, Fourth, Fifth, Sixth, Final };

enum class GearExitAction {
    Leave,   // the text stays as it is
    Rewrite, // the edit receives `text`
    Undo     // the edit undoes the user's change
};

struct GearExitDecision {
    GearExitAction action = GearExitAction::Leave;
    std::string text; // for Rewrite
    bool beep = false;
    std::string failure; // why a text was refused ("gear too high", ...); never shown to the user
};

inline constexpr std::string_view kReverseGearDefault = "-3.000";
inline constexpr std::string_view kFinalGearDefault = "3.500";
inline constexpr std::string_view kForwardGearDefault = "0.000";

// Reverse: kept when it reads "-" digit(1-9) "." ... and is a number; otherwise refused. Forward and final: an
// empty text gets its default; a number of at least 5 characters with "." second is kept unchecked; any other
// text must be a number within the gear's range and is rewritten with 3 decimals. A refused text is undone when
// the edit can undo, else replaced by the gear's default, with a beep.
GearExitDecision finishGearEdit(GearField gear, std::string_view text, bool canUndo);

// ---- Spin buttons -----------------------------------------------------------------------------------------

struct SpinStep {
    std::string text; // what the edit shows afterwards
    bool beep = false;
};

// One step of a field's spin button. An empty text counts as 0. The wing angle fields step by 0.1 in degree
// mode and show "#0.0" (degrees) or "#0.0000" (radians); every other field steps and shows as its catalogue
// entry says (a torque point by its torque pattern, the one after the "/"). A result beyond the entry's limit
// becomes the limit, with a beep. A text that is not a number, and an entry that cannot step (step 0, or no
// room between its limits), leave the text as it is, with a beep.
SpinStep spinButtonUp(std::string_view text, const FieldDef& field, bool isAngleField, bool anglesInDegrees);
SpinStep spinButtonDown(std::string_view text, const FieldDef& field, bool isAngleField, bool anglesInDegrees);

// ---- Mouse wheel ------------------------------------------------------------------------------------------

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A spin button of the active page, as the wheel sees it.
struct SpinButtonSite {
    bool stepsPlainEdit = false; // its focus control is a plain text edit
    Rect editRect;               // that edit's rectangle in page coordinates
};

// The index of the first spin button that steps a plain edit strictly containing the point (page coordinates):
// a point on the edit's left or top edge does not count.
std::optional<std::size_t> findSpinButtonAt(std::span<const SpinButtonSite> spinButtons, Point point);

// ---- Wing angles ------------------------------------------------------------------------------------------

inline constexpr std::string_view kMathUnitTitle = "QORA Math Unit";
inline constexpr std::string_view kAngleHeaderDegrees = "<- Angle (deg.) ->";
inline constexpr std::string_view kAngleHeaderRadians = "<- Angle (rads) ->";
inline constexpr int kAngleMaxLengthDegrees = 4;
inline constexpr int kAngleMaxLengthRadians = 7;
inline constexpr std::string_view kAngleModeFailure =
    "Airdam/Wing angle contains an invalid value and cannot be converted to the requested display mode.";
inline constexpr std::string_view kAngleLoadFailureSuffix =
    " Airdam/Wing angle radian value invalid.  Angle mode will be switched to raw radian mode.";
inline constexpr std::string_view kAngleSaveFailureSuffix =
    " Airdam/Wing angle degree value is invalid and cannot be converted to radians.";
inline constexpr std::string_view kInvalidDataText = "File contains invalid data and cannot be saved.";
// The saver operation named in that failure's message.
inline constexpr std::string_view kAngleSaveOperation = "SaveAerodynamicsPage()";

// A converted text, or why the text could not be converted.
struct TextConversion {
    std::optional<std::string> text;
    std::string failure;

    bool ok() const { return text.has_value(); }
};

// Radians times 57.3, shown with "#0.0"; and degrees times 1/57.3, shown with "#0.0000". An empty text counts as
// 0; a text that is not a number, or whose result is not finite, fails.
TextConversion radiansToDegreesText(std::string_view radians);
TextConversion degreesToRadiansText(std::string_view degrees);

// The front and rear angle texts of one set of fields (the vehicle's, or the open ghost's).
struct AngleTexts {
    std::string front;
    std::string rear;

    bool operator==(const AngleTexts&) const = default;
};

enum class AngleModeOutcome {
    Unchanged, // already in the requested mode: nothing to do
    Applied,   // store `degrees`, apply maxLength and header, and set the converted texts if any
    Failed     // show `message` in a warning box under kMathUnitTitle; nothing changes
};

struct AngleModeChange {
    AngleModeOutcome outcome = AngleModeOutcome::Unchanged;
    bool degrees = false; // the mode in effect afterwards
    int maxLength = kAngleMaxLengthRadians;
    std::string header;
    std::optional<AngleTexts> vehicle; // converted texts, only when converting
    std::optional<AngleTexts> ghost;   // converted texts, only when converting with a ghost open
    std::string message;
};

// Switches the angle display. With convertValues the shown texts of the vehicle and of the open ghost are
// converted all together; one failure leaves everything as it was.
AngleModeChange setAngleMode(bool currentDegrees, bool toDegrees, bool convertValues, const AngleTexts& vehicle,
                             const std::optional<AngleTexts>& ghost);

struct AngleLoad {
    AngleTexts texts;             // what the set being filled shows
    bool switchToRadians = false; // uncheck the degree box and apply radian mode without converting
    // With a switch: the texts of the other open set, which were shown in degrees, turned back into radians (a
    // text that does not convert is kept as it is).
    std::optional<AngleTexts> otherSet;
    std::string message; // with a switch: shown in an error box under kMathUnitTitle
};

// The angle part of filling the Aerodynamics page from the file's radian texts. In degree mode both texts are
// converted; if either fails, the whole set shows its raw file texts and the display falls back to radians, so
// no degree text is ever left on screen in radian mode. `otherSetShown` is the other set's shown texts (the
// vehicle while a ghost is filled, or the ghost while the vehicle is), when that set is open.
AngleLoad loadAngleTexts(const AngleTexts& fileTexts, bool anglesInDegrees,
                         const std::optional<AngleTexts>& otherSetShown = std::nullopt);

// The angle part of saving the Aerodynamics page: the radian texts to store. In degree mode a text that does not
// convert is reported in an error box under kMathUnitTitle and the save fails with DataValidationError
// (kAngleSaveOperation, kInvalidDataText).
AngleTexts saveAngleTexts(const AngleTexts& shown, bool anglesInDegrees, Prompt& prompt);

} // namespace qora
