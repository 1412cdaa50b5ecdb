#include "calc/gearing.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "calc/data_validation.h"
#include "calc/number_text.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"

namespace qora {

namespace {

constexpr const char* kGearNames[kGearEditCount] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "Final", "Reverse"};

// The edit each validated gear is read from.
constexpr int kEditOfValidated[kGearEditCount] = {Gear1, Gear2, Gear3, Gear4, Gear5, Gear6, GearFinal, GearReverse};

constexpr const char* kDataValidationTitle = "QORA Data Validation";
constexpr const char* kUpshiftCalculatorTitle = "QORA Upshift Rpm Calculator";

std::string ratioText(long double ratio) {
    return ratio <= 0 ? std::string("*") : numbers::formatFloat("0.000", static_cast<double>(ratio));
}

} // namespace

const std::array<int, 5>& gearThresholdRow(int mode) {
    return kGearThresholdTable[static_cast<std::size_t>(std::clamp(mode, 0, 2))];
}

long double GearCalculator::calculateBestGearRatio(GearInfo& info) const {
    static constexpr std::string_view kOperation = "CalcBestGearRatio(GearInfo)";
    info.ErrorText.clear();
    const auto fail = [&info](std::string reason) {
        info.ErrorText = std::move(reason);
        raiseValidationError(kOperation, info.ErrorText);
    };
    const std::string gear = text::intToText(info.Gear);
    if (info.Gear < 1 || info.Gear > 6)
        fail("[" + gear + "] is not a valid gear.");
    // The threshold row covers the base gears 1 to 5; a 6th base gear has no offset.
    const int threshold = info.Gear <= 5 ? m_settings.gearRpmThresholds[static_cast<std::size_t>(info.Gear - 1)] : 0;
    const long double targetRpm = info.TorqueRpm + threshold;
    if (info.BaseRatio <= 0 || info.BaseRatio > 9.999)
        fail("[" + numbers::formatFloat("0.000", static_cast<double>(info.BaseRatio)) +
             "] is not a valid gear ratio (gear=" + gear + ").");
    if (info.ShiftRpm <= 500 || info.ShiftRpm >= 20000)
        fail("[" + numbers::generalText(static_cast<double>(info.ShiftRpm)) + "] is not a valid upshift rpm.");
    if (targetRpm <= 500 || targetRpm >= 20000)
        fail("[" + numbers::generalText(static_cast<double>(info.TorqueRpm)) + "] is not a valid torque rpm.");
    info.BestRatio = info.BaseRatio / info.ShiftRpm * targetRpm;
    return info.BestRatio;
}

long double GearCalculator::calculateBestGearRatio(std::string_view baseRatioText, std::string_view shiftRpmText,
                                                   int gear, long double torqueRpm) const {
    static constexpr std::string_view kOperation = "CalcBestGearRatio(void)";
    if (baseRatioText == "*")
        return 0;
    GearInfo info;
    if (!baseRatioText.empty()) {
        const auto base = numbers::parseDouble(baseRatioText);
        if (!base)
            raiseValidationError(kOperation, "BaseRatio could not be converted to type double.");
        info.BaseRatio = *base;
    }
    if (!shiftRpmText.empty()) {
        const auto shift = numbers::parseDouble(shiftRpmText);
        if (!shift)
            raiseValidationError(kOperation, "ShiftRpm could not be converted to type double.");
        info.ShiftRpm = *shift;
    }
    info.Gear = gear;
    info.TorqueRpm = torqueRpm;
    return calculateBestGearRatio(info);
}

BestGears GearCalculator::updateBestGears(const DriveTrainTexts& page) const {
    BestGears out;
    for (int n = 2; n <= 6; ++n) {
        // "First Gear Only" chains each best gear from the one just computed, starting at 1st gear.
        const std::string& base = !m_settings.gearUpShiftBaseFirst ? page.gears[static_cast<std::size_t>(n - 1)]
                                  : n == 2                         ? page.gears[Gear1]
                                                                   : out.best[static_cast<std::size_t>(n - 3)];
        long double result = 0;
        try {
            result = calculateBestGearRatio(base, page.autoShiftRpm, n - 1, page.peakTorqueRpm);
        } catch (const std::exception&) {
            result = 0;
        }
        out.best[static_cast<std::size_t>(n - 2)] = ratioText(result);
    }
    long double upgraded = 0;
    const auto fifth = numbers::parseDouble(page.gears[Gear5]);
    const auto autoShift = numbers::parseDouble(page.autoShiftRpm);
    if (fifth && autoShift && *autoShift != 0) {
        upgraded = static_cast<long double>(*fifth) / *autoShift * RpmAfterShiftToFifth;
        if (!std::isfinite(upgraded))
            upgraded = 0;
    }
    out.upgraded6th = ratioText(upgraded);
    return out;
}

void GearCalculator::validateRpmValues(const DriveTrainTexts& page, RpmValues& values) const {
    static constexpr std::string_view kOperation = "ValidateRpmValues()";
    values.powerRpm = page.peakPowerRpm;
    values.torqueRpm = page.peakTorqueRpm;
    const auto maxRpm = numbers::parseDouble(page.maxRpm);
    if (!maxRpm)
        raiseValidationError(kOperation,
                             "Field 'Maximum RPM' on the Performance Page contains no useful or valid value.");
    values.maxRpm = *maxRpm;
    const auto autoShift = numbers::parseDouble(page.autoShiftRpm);
    if (!autoShift)
        raiseValidationError(kOperation,
                             "Field 'Auto-Shift RPM' on the Performance Page contains no useful or valid value.");
    values.autoShiftRpm = *autoShift;

    if (values.torqueRpm >= values.powerRpm)
        raiseValidationError(kOperation, "Your vehicles Torque RPM value is greater than or equal to your vehicles "
                                         "Horsepower RPM value.  Horsepower should be higher in RPM than your "
                                         "highest torque value.");
    if (values.maxRpm < values.torqueRpm)
        raiseValidationError(kOperation, "Your vehicles Maximum RPM is less than its highest torque RPM.");
    if (values.maxRpm < values.powerRpm)
        raiseValidationError(kOperation, "Your vehicles Maximum RPM is less than its horsepower RPM.");
    if (values.maxRpm < values.autoShiftRpm)
        raiseValidationError(kOperation, "Your vehicles Maximum RPM is less than its AutoShift RPM.");
    if (values.autoShiftRpm < values.torqueRpm)
        raiseValidationError(kOperation, "Your vehicles AutoShift RPM is less than its highest torque RPM.");
}

void GearCalculator::validateGears(const std::array<std::string, kGearEditCount>& gearTexts,
                                   std::array<double, kGearEditCount>& ratios) const {
    static constexpr std::string_view kOperation = "ValidateGears()";
    ratios.fill(0.0);
    for (int g = 0; g < kGearEditCount; ++g) {
        const std::string& gearText = gearTexts[static_cast<std::size_t>(kEditOfValidated[g])];
        const std::string name = kGearNames[g];
        double ratio = 0.0;
        if (!gearText.empty()) {
            const auto parsed = numbers::parseDouble(gearText);
            if (!parsed) {
                if (g == ValidReverse)
                    raiseValidationError(kOperation, "Reverse gear contains an invalid value.  It must be in the "
                                                     "format of -#.### and contain a value less than or equal to "
                                                     "-1.000");
                if (g == ValidFinal)
                    raiseValidationError(kOperation, "Final gear contains an invalid value.  It must be in the "
                                                     "format of #.### and contain a value greater than or equal to "
                                                     "1.000");
                raiseValidationError(kOperation,
                                     name + " gear contains an invalid value.  It must be in the format of #.###");
            }
            ratio = *parsed;
        }
        // A gear out of range keeps its value; only the gears after it stay 0.
        ratios[static_cast<std::size_t>(g)] = ratio;
        if ((g == Valid1st || g == ValidFinal) && ratio < 1.0)
            raiseValidationError(kOperation, name + " gear must contain a value greater than or equal to 1.000");
        if (g == ValidReverse && ratio > -1.0)
            raiseValidationError(kOperation, "Reverse gear must contain a value less than or equal to -1.000");
    }
    for (int g = Valid2nd; g <= Valid6th; ++g)
        if (!(ratios[static_cast<std::size_t>(g)] < ratios[static_cast<std::size_t>(g - 1)]))
            raiseValidationError(kOperation, std::string(kGearNames[g]) + " gear must be less than " +
                                                 kGearNames[g - 1] + " gear.");
}

UpshiftBaseRpm upshiftBaseRpm(const RpmValues& rpm, const UpshiftBase& base) {
    UpshiftBaseRpm result;
    const bool typed = base.itemIndex < BaseAutoShift || base.itemIndex > BasePeakPower;
    if (typed) {
        // A typed text that is not a number is refused like a number out of range.
        const auto number = numbers::parseDouble(base.typedText);
        if (number && *number >= 2000 && *number <= rpm.maxRpm)
            result.rpm = *number;
        else
            result.refusal = "Base Upshift Rpm field contains an invalid rpm value.  The value must be in the range "
                             "2000-max rpm (" +
                             numbers::generalText(rpm.maxRpm) + ").";
    } else if (base.itemIndex == BaseAutoShift) {
        if (rpm.autoShiftRpm >= 2000 && rpm.autoShiftRpm <= rpm.maxRpm)
            result.rpm = rpm.autoShiftRpm;
        else
            result.refusal = "Field 'Auto-Shift RPM' on the Performance page contains an invalid value.  It must be "
                             "less than or equal to Maximum Rpm.";
    } else if (base.itemIndex == BaseMaximum) {
        result.rpm = rpm.maxRpm;
    } else {
        if (rpm.powerRpm >= 2000)
            result.rpm = rpm.powerRpm;
        else
            result.refusal = "The maximum horsepower RPM value must be greater than or equal to 2000rpm.";
    }
    return result;
}

UpshiftResult GearCalculator::calculateUpshiftRpm(const DriveTrainTexts& page, const UpshiftBase& base) {
    UpshiftResult result;

    // Only a field that cannot be read stops the read-outs; the rpm cross-checks are advice for other places.
    RpmValues rpm;
    try {
        validateRpmValues(page, rpm);
    } catch (const DataValidationError& e) {
        if (std::string_view(e.what()).find("Field") != std::string_view::npos) {
            result.message =
                MessageBoxText{kDataValidationTitle, std::string(e.what()) + "  Cannot calculate Upshift RPM values."};
            return result;
        }
    }

    // The gears after a failing one stay 0 and show as "*".
    std::array<double, kGearEditCount> ratios{};
    try {
        validateGears(page.gears, ratios);
    } catch (const DataValidationError&) {
    }

    const UpshiftBaseRpm chosen = upshiftBaseRpm(rpm, base);
    const double baseRpm = chosen.rpm;
    const std::string& refusal = chosen.refusal;
    const bool typed = base.itemIndex < BaseAutoShift || base.itemIndex > BasePeakPower;
    if (!refusal.empty()) {
        result.message =
            MessageBoxText{kUpshiftCalculatorTitle, refusal + "  Upshift RPM values cannot be calculated."};
        result.selectAutoShiftItem = typed;
        return result;
    }

    for (int k = 1; k <= 5; ++k) {
        UpshiftReadout& readout = result.readouts[static_cast<std::size_t>(k - 1)];
        const double from = ratios[static_cast<std::size_t>(k - 1)];
        const double to = ratios[static_cast<std::size_t>(k)];
        if (from < 0.1 || to < 0.1 || from <= to) {
            readout.text = "*";
            continue;
        }
        // The rpm is rounded as its three-decimal text reads.
        const long double exact = static_cast<long double>(to) / from * baseRpm;
        const std::string threeDecimals = numbers::formatFloat("#####0.000", static_cast<double>(exact));
        const long long shifted = numbers::roundHalfEven(numbers::parseDouble(threeDecimals).value_or(0.0));
        if (k == 4)
            RpmAfterShiftToFifth = static_cast<int>(shifted);
        readout.text = "@ " + text::intToText(shifted) + " rpm";
        if (shifted < rpm.torqueRpm)
            readout.colour = ReadoutColour::Red;
        else if (shifted > rpm.powerRpm)
            readout.colour = ReadoutColour::Grey;
    }
    return result;
}

UpshiftRefresh GearCalculator::calculateUpshift(UpshiftSender sender, const DriveTrainTexts& page,
                                                const UpshiftBase& base) {
    UpshiftRefresh refresh;
    if (sender == UpshiftSender::PageControl)
        refresh.captions = upshiftCaptions(page);
    const bool typed = base.itemIndex < BaseAutoShift || base.itemIndex > BasePeakPower;
    // A typed base is applied by the button only, not while the user is typing it.
    if (typed && sender != UpshiftSender::CalcButton)
        return refresh;
    refresh.upshift = calculateUpshiftRpm(page, base);
    refresh.bestGears = updateBestGears(page);
    return refresh;
}

UpshiftCaptions upshiftCaptions(const DriveTrainTexts& page) {
    UpshiftCaptions captions;
    captions.torque = "Max Torque @" + numbers::formatFloat("####0", page.peakTorqueRpm) + "rpm";
    captions.power = "Max  Power @" + numbers::formatFloat("####0", page.peakPowerRpm) + "rpm";
    captions.baseItems = {"Auto Shift rpm (" + page.autoShiftRpm + ")", "Maximum rpm (" + page.maxRpm + ")",
                          "Maximum Power rpm (" + numbers::formatFloat("####0", page.peakPowerRpm) + ")"};
    return captions;
}

std::string gearTextFromPosition(int position, bool reverse) {
    // Three decimals within five significant digits, as a fixed-notation text of precision 5 shows it.
    const double value = position / 1000.0;
    int integerDigits = 1;
    for (double v = std::fabs(value); v >= 10.0; v /= 10.0)
        ++integerDigits;
    const int decimals = std::clamp(5 - integerDigits, 0, 3);
    std::string out = numbers::formatFloat(
        decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : std::string("0"), value);
    if (decimals < 3)
        out += (decimals == 0 ? "." : "") + std::string(static_cast<std::size_t>(3 - decimals), '0');
    return reverse ? "-" + out : out;
}

std::optional<int> gearPositionFromText(std::string_view gearText, bool reverse) {
    std::optional<double> number;
    if (reverse) {
        if (gearText.size() < 6 || gearText[2] != '.' || gearText[0] != '-')
            return std::nullopt;
        number = numbers::parseDouble(gearText.substr(1));
    } else {
        if (gearText.size() < 5 || gearText[1] != '.')
            return std::nullopt;
        number = numbers::parseDouble(gearText);
    }
    // A text of the right shape that is no number ("1.2x4") is ignored like any other unusable text.
    if (!number)
        return std::nullopt;
    // Thousandths, truncated; a value whose binary form lies a hair below a whole thousandth ("1.549") keeps it.
    const double thousandths = *number * 1000.0;
    const double nearest = std::round(thousandths);
    const double position = std::fabs(thousandths - nearest) < 1e-6 ? nearest : std::trunc(thousandths);
    if (position < INT_MIN || position > INT_MAX)
        return std::nullopt;
    return static_cast<int>(position);
}

std::array<std::string, kGearEditCount> driveTrainGearTexts(const VehicleFile& vehicle) {
    const auto shown = [&vehicle](int section, std::string_view key, int instance) {
        const EntryRec* entry = vehicle.findEntry(section, key, instance);
        return entry == nullptr || entry->value.empty() ? std::string("0.000") : entry->value;
    };
    std::array<std::string, kGearEditCount> texts;
    texts[GearReverse] = shown(veh::SecGears, "gear_reverse=", 1);
    for (int n = 1; n <= 6; ++n)
        texts[static_cast<std::size_t>(Gear1 + n - 1)] = shown(veh::SecGears, "gear=", n);
    texts[GearFinal] = shown(veh::SecDriveline, "final_drive_ratio=", 1);
    return texts;
}

void applyGearThresholdMode(Settings& settings, int mode) {
    settings.gearRpmThresholdMode = mode;
    settings.setGearThresholds(mode);
}

void applyUpshiftBasis(Settings& settings, bool firstGearOnly) {
    settings.gearUpShiftBaseFirst = firstGearOnly;
}

} // namespace qora
