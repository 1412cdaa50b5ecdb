#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The gearing and upshift calculator of the DriveTrain page: the engine speed right after each upshift, the
// recommended ("best") ratios, the estimated upgraded 6th gear, and the rules that keep the gear scroll bars and
// edits in step. It works on the texts the page fields hold and on the engine curve's peak rpms.
//
// The window decides when to call: every operation here stands for one that runs only while a vehicle is open,
// the chart exists, the pages are not being filled and (for the read-outs and best gears) the DriveTrain page is
// active. None of those conditions is checked here.
namespace qora {

class VehicleFile;
class Settings;

// The record the best-ratio calculation validates and fills.
struct GearInfo {
    long double BaseRatio = 0;
    long double ShiftRpm = 0;
    long double TorqueRpm = 0;
    long double BestRatio = 0; // the result
    std::int32_t Gear = 0;     // the base gear, 1 to 6
    std::string ErrorText;     // the reason of the last failure
};

// The rpm offsets of the best-gear target for the base gears 1 to 5, per threshold mode (0 None, 1 Cross-Fade,
// 2 Quick Fade-In).
inline constexpr std::array<std::array<int, 5>, 3> kGearThresholdTable{{
    {0, 0, 0, 0, 0},
    {-1000, -350, 0, 500, 750},
    {-750, -250, 0, 0, 0},
}};
// The table's row for a mode; a mode outside 0..2 is clamped.
const std::array<int, 5>& gearThresholdRow(int mode);

// The gear edits in page order.
enum GearEdit : int { GearReverse = 0, Gear1, Gear2, Gear3, Gear4, Gear5, Gear6, GearFinal, kGearEditCount };

// What the calculator reads from the window.
struct DriveTrainTexts {
    std::array<std::string, kGearEditCount> gears; // eGearReverse, eGear1 ... eGear6, eGearFinal
    std::string maxRpm;                            // eMaxRpm (Performance page)
    std::string autoShiftRpm;                      // eAutoShiftRpm (Performance page)
    int peakTorqueRpm = 0;                         // of the vehicle's engine curve
    int peakPowerRpm = 0;
};

// The rpm inputs after ValidateRpmValues.
struct RpmValues {
    int powerRpm = 0;
    int torqueRpm = 0;
    double autoShiftRpm = 0;
    double maxRpm = 0;
};

// The ratios after ValidateGears, in this order.
enum ValidatedGear : int { Valid1st = 0, Valid2nd, Valid3rd, Valid4th, Valid5th, Valid6th, ValidFinal, ValidReverse };

// The font colour of an upshift read-out. Normal is the colour of eGear1.
enum class ReadoutColour { Normal, Red, Grey };

struct UpshiftReadout {
    std::string text; // "@ 4667 rpm", "*" or empty
    ReadoutColour colour = ReadoutColour::Normal;
};

// A message box the window shows (error icon, OK button).
struct MessageBoxText {
    std::string title;
    std::string text;
};

// The choices of cbUpshiftBase.
enum UpshiftBaseItem : int { BaseTypedRpm = -1, BaseAutoShift = 0, BaseMaximum = 1, BasePeakPower = 2 };

struct UpshiftBase {
    int itemIndex = BaseAutoShift;
    std::string typedText; // the combo's free text, used when no item is selected
};

// The engine speed the upshift read-outs start from, as the base choice gives it from the rpm inputs, or the
// reason it cannot be used (the refusal text the calculator shows; rpm is then 0).
struct UpshiftBaseRpm {
    double rpm = 0;
    std::string refusal;
};
UpshiftBaseRpm upshiftBaseRpm(const RpmValues& rpm, const UpshiftBase& base);

struct UpshiftResult {
    std::array<UpshiftReadout, 5> readouts; // eGearRpm2 ... eGearRpm6
    std::optional<MessageBoxText> message;
    // The base could not be used while no item was selected: the window selects the Auto-Shift item.
    bool selectAutoShiftItem = false;
};

struct BestGears {
    std::array<std::string, 5> best; // eBestGear2 ... eBestGear6
    std::string upgraded6th;         // eUpgraded6th
};

// The texts DoCalcUpshift sets on a page change.
struct UpshiftCaptions {
    std::string torque;                   // hlDTTorque: "Max Torque @5000rpm"
    std::string power;                    // hlDTHp: "Max  Power @7500rpm"
    std::array<std::string, 3> baseItems; // the three items of cbUpshiftBase
};
UpshiftCaptions upshiftCaptions(const DriveTrainTexts& page);

// What started a DoCalcUpshift.
enum class UpshiftSender { PageControl, BaseCombo, CalcButton };

struct UpshiftRefresh {
    std::optional<UpshiftCaptions> captions; // on a page change only
    // Both absent while a typed base waits for the button.
    std::optional<UpshiftResult> upshift;
    std::optional<BestGears> bestGears;
};

// The calculator. It reads the threshold row and the best-gear basis from the settings at each call, and keeps
// the rpm after the shift into 5th gear between calls, as the estimated 6th gear uses it.
class GearCalculator {
public:
    explicit GearCalculator(const Settings& settings) : m_settings(settings) {}

    // Validates the record and returns the best ratio, also kept in BestRatio: the base ratio scaled from the
    // shift rpm to the peak torque rpm plus the base gear's threshold. Throws DataValidationError (the reason also
    // kept in ErrorText).
    long double calculateBestGearRatio(GearInfo& info) const;
    // The same from the page's texts: "*" gives 0, an empty base ratio is 0. Throws DataValidationError.
    long double calculateBestGearRatio(std::string_view baseRatioText, std::string_view shiftRpmText, int gear,
                                       long double torqueRpm) const;

    // The best ratios of the gears 2 to 6 ("*" where none can be computed) and the estimated 6th gear.
    BestGears updateBestGears(const DriveTrainTexts& page) const;

    // The read-outs of the gears 2 to 6 and their colours, and the message box to show when a field or the base
    // rpm cannot be used. Sets RpmAfterShiftToFifth when the 5th gear's read-out is an rpm.
    UpshiftResult calculateUpshiftRpm(const DriveTrainTexts& page, const UpshiftBase& base);

    // Reads the rpm inputs into `values`, then cross-checks them. All four values are set before a cross-check
    // fails. Throws DataValidationError; only an unreadable field's message contains "Field".
    void validateRpmValues(const DriveTrainTexts& page, RpmValues& values) const;
    // Reads the eight gear texts (reverse, 1st ... 6th, final) into `ratios` (in the order of ValidatedGear) and
    // checks them. Throws DataValidationError at the first failure; the ratios after it stay 0.
    void validateGears(const std::array<std::string, kGearEditCount>& gearTexts,
                       std::array<double, kGearEditCount>& ratios) const;

    // A base choice, a press of "Calculate using specified RPM" or a page change: captions on a page change,
    // then the read-outs and best gears, unless the base is typed and the sender is not the button.
    UpshiftRefresh calculateUpshift(UpshiftSender sender, const DriveTrainTexts& page, const UpshiftBase& base);

    int RpmAfterShiftToFifth = 0;

private:
    const Settings& m_settings;
};

// Scroll bar to edit: the bar's position in thousandths as the edit's text ("3.570"; "-3.500" for reverse).
std::string gearTextFromPosition(int position, bool reverse);
// Edit to scroll bar: the position for a text of the accepted shape (forward and final: at least 5 characters
// with "." second, "3.570"; reverse: at least 6 with "-" first and "." third, "-3.500"), truncated toward zero.
// nullopt when the text is to be ignored: the bar stays, nothing is recalculated or marked changed.
std::optional<int> gearPositionFromText(std::string_view text, bool reverse);

// The gear texts as the DriveTrain page shows a vehicle: the file's values, an empty or absent gear as "0.000".
std::array<std::string, kGearEditCount> driveTrainGearTexts(const VehicleFile& vehicle);

// The data part of the option buttons: store the threshold mode and load its row, or store the basis.
void applyGearThresholdMode(Settings& settings, int mode);
void applyUpshiftBasis(Settings& settings, bool firstGearOnly);

} // namespace qora
