#include "documents/vehicle_state.h"

#include <algorithm>
#include <cstddef>

#include "calc/engine_curve.h"
#include "calc/field_rules.h"
#include "calc/number_text.h"
#include "editor/page_fields.h"
#include "platform/qt_text.h"
#include "vehicle/vehicle_file.h"

namespace qora::gui {

namespace {

constexpr int kShownTextLength = 24; // longer texts (a description, notes) are cut in the command's text

std::vector<std::string> sectionValues(const VehicleFile& vehicle, int section) {
    std::vector<std::string> values;
    for (const EntryRec& entry : vehicle.sections[static_cast<std::size_t>(section)].entries)
        values.push_back(entry.value);
    return values;
}

void storeSectionValues(VehicleFile& vehicle, int section, const std::vector<std::string>& values) {
    auto& entries = vehicle.sections[static_cast<std::size_t>(section)].entries;
    for (std::size_t i = 0; i < entries.size() && i < values.size(); ++i)
        entries[i].value = values[i];
}

QString shownText(const std::string& text) {
    if (text.empty())
        return QStringLiteral("(empty)");
    QString shown = fromLatin1(text).simplified();
    if (shown.size() > kShownTextLength)
        shown = shown.left(kShownTextLength - 1) + QChar(0x2026);
    return shown;
}

QString arrow() {
    return QStringLiteral(" \u2192 ");
}

QString torqueText(double value) {
    return QString::fromStdString(numbers::formatFloat("###0.00", value));
}

} // namespace

// ---- Side sections ------------------------------------------------------------------------------------------

SideSections SideSections::of(const VehicleFile& vehicle, const editor::AuthorData& author) {
    return SideSections{sectionValues(vehicle, veh::SecAiBasis), sectionValues(vehicle, veh::SecParts), author};
}

void SideSections::storeInto(VehicleFile& vehicle) const {
    storeSectionValues(vehicle, veh::SecAiBasis, aiBasis);
    storeSectionValues(vehicle, veh::SecParts, parts);
    editor::storeAuthorData(vehicle, author);
}

// ---- States and their differences ---------------------------------------------------------------------------

TorqueCurve inUnit(const TorqueCurve& curve, int unit) {
    if (curve.unit == unit)
        return curve;
    // The chart's own conversion, so a curve converted here equals the chart's converted line exactly.
    LineData line;
    line.unit = curve.unit;
    for (double value : curve.values)
        line.points.push_back(LinePoint{value, 0, 0});
    convertLineUnits(line, unit, false);
    TorqueCurve converted{unit, {}};
    for (const LinePoint& point : line.points)
        converted.values.push_back(point.value);
    return converted;
}

void VehicleState::overlay(const VehicleState& change) {
    for (const auto& [name, text] : change.texts)
        texts[name] = text;
    if (change.torque)
        torque = change.torque;
    if (change.side)
        side = change.side;
}

StateChange difference(const VehicleState& from, const VehicleState& to) {
    StateChange change;
    change.before.anglesInDegrees = from.anglesInDegrees;
    change.after.anglesInDegrees = to.anglesInDegrees;
    for (const auto& [name, text] : to.texts) {
        const auto old = from.texts.find(name);
        const std::string oldText = old == from.texts.end() ? std::string() : old->second;
        if (old == from.texts.end() || oldText != text) {
            change.before.texts.emplace(name, oldText);
            change.after.texts.emplace(name, text);
        }
    }
    if (from.torque && to.torque) {
        // A switch of the chart's torque unit is no change of the curve: the earlier curve is compared (and kept)
        // in the unit the chart shows now.
        TorqueCurve earlier = inUnit(*from.torque, to.torque->unit);
        if (earlier != *to.torque) {
            change.before.torque = std::move(earlier);
            change.after.torque = to.torque;
        }
    }
    if (from.side && to.side && *from.side != *to.side) {
        change.before.side = from.side;
        change.after.side = to.side;
    }
    return change;
}

void convertAngles(VehicleState& state, bool toDegrees) {
    if (state.anglesInDegrees == toDegrees)
        return;
    const auto front = state.texts.find("efAngle");
    const auto rear = state.texts.find("erAngle");
    if (front != state.texts.end() || rear != state.texts.end()) {
        // A missing one of the pair converts as 0 and is not written back.
        const AngleTexts shown{front != state.texts.end() ? front->second : std::string("0"),
                               rear != state.texts.end() ? rear->second : std::string("0")};
        const AngleModeChange converted = setAngleMode(state.anglesInDegrees, toDegrees, true, shown, std::nullopt);
        if (converted.outcome == AngleModeOutcome::Applied && converted.vehicle) {
            if (front != state.texts.end())
                front->second = converted.vehicle->front;
            if (rear != state.texts.end())
                rear->second = converted.vehicle->rear;
        }
    }
    state.anglesInDegrees = toDegrees;
}

// ---- Reading a change -----------------------------------------------------------------------------------------

QString fieldCaption(const std::string& name) {
    const editor::PageField* field = editor::findPageField(name);
    if (field == nullptr || field->label.empty())
        return fromLatin1(name);
    QString caption = fromLatin1(std::string(field->label));
    while (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    caption = caption.trimmed();
    // Front and rear fields share their labels: the group tells them apart.
    const auto fields = editor::allPageFields();
    const auto sameLabel = std::count_if(fields.begin(), fields.end(),
                                         [&](const editor::PageField& other) { return other.label == field->label; });
    if (sameLabel > 1 && !field->group.empty()) {
        QString group = fromLatin1(std::string(field->group)).toLower();
        group[0] = group[0].toUpper();
        caption += QStringLiteral(" (") + group + QLatin1Char(')');
    }
    return caption;
}

int firstDifferentPoint(const TorqueCurve& a, const TorqueCurve& b) {
    const std::size_t count = std::max(a.values.size(), b.values.size());
    for (std::size_t i = 0; i < count; ++i) {
        const double x = i < a.values.size() ? a.values[i] : 0.0;
        const double y = i < b.values.size() ? b.values[i] : 0.0;
        if (x != y)
            return static_cast<int>(i);
    }
    return -1;
}

int pageOfChange(const VehicleState& change) {
    for (const auto& [name, text] : change.texts)
        if (const editor::PageField* field = editor::findPageField(name))
            return field->page;
    if (change.torque)
        return editor::PgPerformance;
    return -1;
}

QString describeChange(const StateChange& change) {
    const VehicleState& before = change.before;
    const VehicleState& after = change.after;
    if (after.texts.size() == 1 && !after.torque && !after.side) {
        const auto& [name, text] = *after.texts.begin();
        return fieldCaption(name) + QLatin1Char(' ') + shownText(before.texts.at(name)) + arrow() + shownText(text);
    }
    if (after.texts.empty() && after.torque && before.torque && !after.side) {
        const int first = firstDifferentPoint(*before.torque, *after.torque);
        int differing = 0;
        for (std::size_t i = 0; i < after.torque->values.size() && i < before.torque->values.size(); ++i)
            differing += after.torque->values[i] != before.torque->values[i] ? 1 : 0;
        if (differing == 1 && before.torque->unit == after.torque->unit)
            return QStringLiteral("Torque at %1 rpm ").arg(first * kRpmPerPoint) +
                   torqueText(before.torque->values[static_cast<std::size_t>(first)]) + arrow() +
                   torqueText(after.torque->values[static_cast<std::size_t>(first)]);
        return QStringLiteral("Torque curve: %1 points").arg(differing);
    }
    if (after.texts.empty() && !after.torque && after.side)
        return QStringLiteral("Side sections");
    const int count = static_cast<int>(after.texts.size());
    QString text = count == 1 ? QStringLiteral("1 value") : QStringLiteral("%1 values").arg(count);
    if (after.torque)
        text += count > 0 ? QStringLiteral(" and the torque curve") : QStringLiteral("the torque curve");
    const int page = pageOfChange(after);
    bool onePage = page >= 0;
    for (const auto& [name, value] : after.texts)
        if (const editor::PageField* field = editor::findPageField(name); field != nullptr && field->page != page)
            onePage = false;
    if (after.torque && page != editor::PgPerformance)
        onePage = false;
    if (onePage)
        text += QStringLiteral(" on ") + fromLatin1(std::string(editor::pageCaption(page)));
    return text;
}

} // namespace qora::gui
