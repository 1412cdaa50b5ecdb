#include "calc/field_rules.h"

#include <cmath>

#include "calc/data_validation.h"
#include "calc/number_text.h"

namespace qora {

namespace {

// Edits longer than this take free text (lists of numbers), so the single-number rules do not apply to them.
constexpr int kFreeTextLength = 20;

constexpr long double kDegreesPerRadian = 57.3L;
constexpr long double kRadiansPerDegree = 1.0L / 57.3L;

constexpr std::string_view kDegreesPattern = "#0.0";
constexpr std::string_view kRadiansPattern = "#0.0000";
constexpr std::string_view kGearPattern = "0.000";
constexpr double kDegreeStep = 0.1;
constexpr double kHighestGear = 9.0;

// An empty text stands for 0; anything else must be a number.
std::optional<double> fieldValue(std::string_view text) {
    if (text.empty())
        return 0.0;
    return numbers::parseDouble(text);
}

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

TextConversion convertAngle(std::string_view text, long double factor, std::string_view pattern) {
    const auto value = fieldValue(text);
    if (!value)
        return {std::nullopt, quoted(text) + " is not a valid number."};
    const auto result = static_cast<double>(static_cast<long double>(*value) * factor);
    if (!std::isfinite(result))
        return {std::nullopt, quoted(text) + " is out of range for an angle."};
    return {numbers::formatFloat(pattern, result), {}};
}

GearExitDecision refuseGear(GearField gear, bool canUndo, std::string failure) {
    GearExitDecision d;
    d.beep = true;
    d.failure = std::move(failure);
    if (canUndo) {
        d.action = GearExitAction::Undo;
    } else {
        d.action = GearExitAction::Rewrite;
        d.text = gear == GearField::Reverse ? kReverseGearDefault : kForwardGearDefault;
    }
    return d;
}

GearExitDecision rewriteGear(std::string_view current, std::string text) {
    GearExitDecision d;
    if (text != current) {
        d.action = GearExitAction::Rewrite;
        d.text = std::move(text);
    }
    return d;
}

// A torque point holds "rpm/torque" patterns; its spin button steps the torque.
std::string_view entryPattern(const FieldDef& field) {
    const std::string_view format = field.format;
    const auto slash = format.find('/');
    return slash == std::string_view::npos ? format : format.substr(slash + 1);
}

SpinStep spin(std::string_view text, const FieldDef& field, bool isAngleField, bool anglesInDegrees, bool up) {
    const auto value = fieldValue(text);
    // A step of 0 or limits without room would only reformat or force the value to a limit, losing what the
    // user or the file put there.
    if (!value || field.step == 0 || field.maximum <= field.minimum)
        return {std::string(text), true};

    const bool degrees = isAngleField && anglesInDegrees;
    const double step = degrees ? kDegreeStep : field.step;
    const std::string_view pattern = isAngleField ? (degrees ? kDegreesPattern : kRadiansPattern) : entryPattern(field);

    // The limits are compared with the value as it will be shown, so landing exactly on a limit through
    // rounding noise (0.999 + 0.001) does not beep.
    std::string next = numbers::formatFloat(pattern, up ? *value + step : *value - step);
    const double shown = numbers::parseDouble(next).value_or(0.0);
    if (up && shown > field.maximum)
        return {numbers::formatFloat(pattern, field.maximum), true};
    if (!up && shown < field.minimum)
        return {numbers::formatFloat(pattern, field.minimum), true};
    return {std::move(next), false};
}

} // namespace

KeyDecision filterFieldKey(char key, std::string_view text, std::size_t caret, int maxLength) {
    const bool freeText = maxLength > kFreeTextLength;
    bool accept = false;
    if ((key >= '0' && key <= '9') || key == kBackspaceKey)
        accept = true;
    else if (key == '.')
        accept = freeText || text.find('.') == std::string_view::npos;
    else if (key == '-')
        accept = freeText || caret == 0;
    else if (key == ',')
        accept = freeText;
    return accept ? KeyDecision::Accept : KeyDecision::Refuse;
}

std::string keptAsTyped(std::string_view text, int maxLength) {
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text)
        if (c != kBackspaceKey && filterFieldKey(c, kept, kept.size(), maxLength) == KeyDecision::Accept)
            kept += c;
    return kept;
}

GearExitDecision finishGearEdit(GearField gear, std::string_view text, bool canUndo) {
    if (gear == GearField::Reverse) {
        const bool shaped = text.size() >= 3 && text[0] == '-' && text[1] >= '1' && text[2] == '.';
        // The shape alone would also pass pasted texts such as "-1.x"; only a number may reach the file.
        if (!shaped || !numbers::parseDouble(text))
            return refuseGear(gear, canUndo, "reverse gear invalid");
        return {};
    }

    const bool isFinal = gear == GearField::Final;
    if (text.empty())
        return rewriteGear(text, std::string(isFinal ? kFinalGearDefault : kForwardGearDefault));

    if (text.size() < 2)
        return refuseGear(gear, canUndo, "gear text too short");
    const auto value = numbers::parseDouble(text);
    if (!value)
        return refuseGear(gear, canUndo, "gear not a number");
    // A full "#.###" text is taken as the user typed it, without the range checks.
    if (text[1] == '.' && text.size() >= 5)
        return {};
    if (*value > kHighestGear)
        return refuseGear(gear, canUndo, "gear too high");
    if (*value < 0)
        return refuseGear(gear, canUndo, "gear too low");
    if ((gear == GearField::First || isFinal) && *value < 1.0)
        return refuseGear(gear, canUndo, "first or final gear too low");
    return rewriteGear(text, numbers::formatFloat(kGearPattern, *value));
}

SpinStep spinButtonUp(std::string_view text, const FieldDef& field, bool isAngleField, bool anglesInDegrees) {
    return spin(text, field, isAngleField, anglesInDegrees, true);
}

SpinStep spinButtonDown(std::string_view text, const FieldDef& field, bool isAngleField, bool anglesInDegrees) {
    return spin(text, field, isAngleField, anglesInDegrees, false);
}

std::optional<std::size_t> findSpinButtonAt(std::span<const SpinButtonSite> spinButtons, Point point) {
    for (std::size_t i = 0; i < spinButtons.size(); ++i) {
        const SpinButtonSite& site = spinButtons[i];
        const Rect& r = site.editRect;
        if (site.stepsPlainEdit && r.left < point.x && point.x < r.left + r.width && r.top < point.y &&
            point.y < r.top + r.height)
            return i;
    }
    return std::nullopt;
}

TextConversion radiansToDegreesText(std::string_view radians) {
    return convertAngle(radians, kDegreesPerRadian, kDegreesPattern);
}

TextConversion degreesToRadiansText(std::string_view degrees) {
    return convertAngle(degrees, kRadiansPerDegree, kRadiansPattern);
}

AngleModeChange setAngleMode(bool currentDegrees, bool toDegrees, bool convertValues, const AngleTexts& vehicle,
                             const std::optional<AngleTexts>& ghost) {
    const auto describe = [](AngleModeChange& change, bool degrees) {
        change.degrees = degrees;
        change.maxLength = degrees ? kAngleMaxLengthDegrees : kAngleMaxLengthRadians;
        change.header = degrees ? kAngleHeaderDegrees : kAngleHeaderRadians;
    };

    AngleModeChange change;
    describe(change, currentDegrees);
    if (currentDegrees == toDegrees && convertValues)
        return change;

    if (convertValues) {
        const auto convert = toDegrees ? radiansToDegreesText : degreesToRadiansText;
        const auto convertSet = [&](const AngleTexts& shown) -> std::optional<AngleTexts> {
            TextConversion front = convert(shown.front);
            TextConversion rear = convert(shown.rear);
            if (!front.ok() || !rear.ok())
                return std::nullopt;
            return AngleTexts{std::move(*front.text), std::move(*rear.text)};
        };
        change.vehicle = convertSet(vehicle);
        if (ghost)
            change.ghost = convertSet(*ghost);
        if (!change.vehicle || (ghost && !change.ghost)) {
            change.vehicle.reset();
            change.ghost.reset();
            change.outcome = AngleModeOutcome::Failed;
            change.message = kAngleModeFailure;
            return change;
        }
    }

    describe(change, toDegrees);
    change.outcome = AngleModeOutcome::Applied;
    return change;
}

AngleLoad loadAngleTexts(const AngleTexts& fileTexts, bool anglesInDegrees,
                         const std::optional<AngleTexts>& otherSetShown) {
    AngleLoad load;
    load.texts = fileTexts;
    if (!anglesInDegrees)
        return load;

    const TextConversion front = radiansToDegreesText(fileTexts.front);
    const TextConversion rear = radiansToDegreesText(fileTexts.rear);
    if (front.ok() && rear.ok()) {
        load.texts = {*front.text, *rear.text};
        return load;
    }

    load.switchToRadians = true;
    load.message = (front.ok() ? rear.failure : front.failure) + std::string(kAngleLoadFailureSuffix);
    if (otherSetShown) {
        const auto backToRadians = [](const std::string& shown) {
            TextConversion c = degreesToRadiansText(shown);
            return c.ok() ? std::move(*c.text) : shown;
        };
        load.otherSet = AngleTexts{backToRadians(otherSetShown->front), backToRadians(otherSetShown->rear)};
    }
    return load;
}

AngleTexts saveAngleTexts(const AngleTexts& shown, bool anglesInDegrees, Prompt& prompt) {
    if (!anglesInDegrees)
        return shown;
    const auto toRadians = [&prompt](const std::string& degrees) {
        TextConversion c = degreesToRadiansText(degrees);
        if (!c.ok()) {
            prompt.tell(std::string(kMathUnitTitle), c.failure + std::string(kAngleSaveFailureSuffix),
                        PromptIcon::Stop);
            raiseValidationError(kAngleSaveOperation, kInvalidDataText);
        }
        return std::move(*c.text);
    };
    AngleTexts stored;
    stored.front = toRadians(shown.front);
    stored.rear = toRadians(shown.rear);
    return stored;
}

} // namespace qora
