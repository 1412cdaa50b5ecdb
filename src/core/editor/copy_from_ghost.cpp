#include "editor/copy_from_ghost.h"

#include <cmath>

#include "calc/engine_curve.h"
#include "editor/page_fields.h"

namespace qora::editor {

namespace {

// Curve values within this of each other count as the same (unit conversions leave tiny remainders).
constexpr double kSameValue = 1e-6;

// The ghost's torque line in the unit of the vehicle's.
LineData inUnitOf(const LineData& ghostTorque, const LineData& torque) {
    LineData converted = ghostTorque;
    convertLineUnits(converted, torque.unit, false);
    return converted;
}

} // namespace

std::vector<FieldCopy> copyFromGhostPlan(const PageTexts& vehicle, const PageTexts& ghost, int activePage,
                                         CopyScope scope) {
    std::vector<FieldCopy> plan;
    for (const PageField& field : allPageFields()) {
        if (field.ghostName.empty() || (scope == CopyScope::ActivePage && field.page != activePage))
            continue;
        const auto ghostText = ghost.find(field.name);
        if (ghostText == ghost.end() || ghostText->second.empty())
            continue;
        const auto vehicleText = vehicle.find(field.name);
        if (vehicleText != vehicle.end() && vehicleText->second == ghostText->second)
            continue;
        plan.push_back(FieldCopy{std::string(field.name), ghostText->second, field.page});
    }
    return plan;
}

bool scopeHasCurve(int activePage, CopyScope scope) {
    return scope == CopyScope::AllPages || activePage == PgPerformance;
}

std::string activePageChoiceText(int page) {
    return "Copy the ghost's " + std::string(pageCaption(page)) + " page values";
}

bool curvesDiffer(const LineData& ghostTorque, const LineData& torque) {
    const LineData ghost = inUnitOf(ghostTorque, torque);
    if (ghost.points.size() != torque.points.size())
        return true;
    for (std::size_t i = 0; i < torque.points.size(); ++i)
        if (std::abs(ghost.points[i].value - torque.points[i].value) > kSameValue)
            return true;
    return false;
}

bool takeGhostCurve(const LineData& ghostTorque, LineData& torque, LineData& power) {
    if (!curvesDiffer(ghostTorque, torque))
        return false;
    const LineData ghost = inUnitOf(ghostTorque, torque);
    torque.points.resize(ghost.points.size());
    power.points.resize(ghost.points.size());
    for (std::size_t i = 0; i < ghost.points.size(); ++i) {
        torque.points[i].value = ghost.points[i].value;
        power.points[i].value = powerAtPoint(torque, static_cast<int>(i), power.unit);
    }
    refreshHighPoint(torque);
    refreshHighPoint(power);
    return true;
}

} // namespace qora::editor
