#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "editor/page_model.h"

namespace qora {
class VehicleFile;
}

namespace qora::gui {

// The torque curve as the chart holds it: one value per point, in the unit of the line (Nm or ft-lbs).
struct TorqueCurve {
    int unit = 0;
    std::vector<double> values;

    bool operator==(const TorqueCurve&) const = default;
};

// The values of the three sections the side dialogs edit: [AIBASIS] and [PARTS] as the buffer holds them, and
// the five author strings the window keeps for [QORA].
struct SideSections {
    std::vector<std::string> aiBasis;
    std::vector<std::string> parts;
    editor::AuthorData author;

    bool operator==(const SideSections&) const = default;

    static SideSections of(const VehicleFile& vehicle, const editor::AuthorData& author);
    void storeInto(VehicleFile& vehicle) const;
};

// What the user edits of the vehicle: the page fields' texts (keyed by objectName), the torque curve and the
// side sections. A whole state has every part; a change holds only the parts and fields it touches.
struct VehicleState {
    editor::PageTexts texts;
    // The wing angles in texts are in degrees (else radians), as the Aerodynamics page showed them then.
    bool anglesInDegrees = false;
    std::optional<TorqueCurve> torque;
    std::optional<SideSections> side;

    bool empty() const { return texts.empty() && !torque && !side; }
    // Lays a change over this state: its texts, curve and sections replace these.
    void overlay(const VehicleState& change);
};

// The curve in another torque unit, converted as the chart converts its line.
TorqueCurve inUnit(const TorqueCurve& curve, int unit);

// The parts of two whole states that differ: `before` and `after` hold the same fields, the curve when it
// differs, the sections when they differ. Both are empty when nothing differs.
struct StateChange {
    VehicleState before;
    VehicleState after;

    bool empty() const { return before.empty() && after.empty(); }
};
StateChange difference(const VehicleState& from, const VehicleState& to);

// The wing angle texts of a state shown in the other angle mode, converted; texts that do not convert stay.
void convertAngles(VehicleState& state, bool toDegrees);

// A person's reading of a change: "Mass Body Weight(kg) 1125.0 → 1200.0", "Torque at 5000 rpm 633.00 →
// 700.00", "3 values on Tires". Used as the command's text when the caller has no better one.
QString describeChange(const StateChange& change);
// The field's label without its colon ("Mass Body Weight(kg)"); the objectName when it has no label.
QString fieldCaption(const std::string& name);
// The page a change belongs to: its first field's page, the Performance page for the curve alone; -1 for the
// side sections alone.
int pageOfChange(const VehicleState& change);
// The first point where two curves differ; -1 when none does.
int firstDifferentPoint(const TorqueCurve& a, const TorqueCurve& b);

} // namespace qora::gui
