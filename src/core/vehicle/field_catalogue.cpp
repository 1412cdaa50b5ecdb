#include "vehicle/field_catalogue.h"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <utility>
#include <vector>

namespace qora {
namespace {

constexpr FieldKind Int = FieldKind::Integer;
constexpr FieldKind Dec = FieldKind::Decimal;
constexpr FieldKind Txt = FieldKind::Text;

// One catalogue line, its columns in reading order: label, section, key, instance, value count, kind,
// format, minimum, maximum, step, in parentheses.
struct Row {
    const char* label;
    const char* section;
    const char* key;
    int instance;
    std::int16_t valueCount;
    FieldKind kind;
    const char* format;
    int minimum;
    int maximum;
    double step;
    bool inParentheses;
};

constexpr bool Paren = true;
constexpr bool Bare = false;

// The driver name and its attribute triple are two parts of the same driver line, hence the shared key.
constexpr Row kDetails[] = {
    {"Description", "", "//DescFile", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Class", "", "//DescClass", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Engine Type", "", "//EngineType", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Manufacturer", "", "//Manufacturer", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Team Name", "", "//TeamName", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Race %", "", "//UnlockPoints", 0, 1, Int, "0", 0, 5, 0, Bare},
    {"Cost", "", "//VehCost", 0, 1, Int, "0", 0, 0, 0, Bare},
    {"Driver #1", "", "//Driver1", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Driver #1 Attributes", "", "//Driver1", 0, 3, Dec, "0.0", 0, 9, 0.1, Bare},
    {"Driver #2", "", "//Driver2", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Driver #2 Attributes", "", "//Driver2", 0, 3, Dec, "0.0", 0, 9, 0.1, Bare},
    {"Inside Idle Rpm", "SOUNDS", "CSINSIDE_idle_rpm", 0, 1, Dec, "####0.0", 0, 20000, 25, Bare},
    {"Inside Idle Sound", "SOUNDS", "CSINSIDE_ENGINE_IDLE", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Outside Idle Rpm", "SOUNDS", "CSOUTSIDE_idle_rpm", 0, 1, Dec, "####0.0", 0, 20000, 25, Bare},
    {"Outside Idle Sound", "SOUNDS", "CSOUTSIDE_ENGINE_IDLE", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Inside Revved Rpm", "SOUNDS", "CSINSIDE_revved_rpm", 0, 1, Dec, "####0.0", 0, 20000, 25, Bare},
    {"Inside Revved Sound", "SOUNDS", "CSINSIDE_ENGINE_REVVED", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Outside Revved Rpm", "SOUNDS", "CSOUTSIDE_revved_rpm", 0, 1, Dec, "####0.0", 0, 20000, 25, Bare},
    {"Outside Revved Sound", "SOUNDS", "CSOUTSIDE_ENGINE_REVVED", 0, 1, Txt, "", 0, 0, 0, Bare},
};

// Front tyres, rear tyres in the same order, then the controls. The two tyre groups are not identical:
// rear inertia steps finer, and rear rolling resistance has a wider range.
constexpr Row kTires[] = {
    {"Pressure", "FRONTWHEELS", "pressure", 0, 1, Dec, "##0.00", 0, 900, 0.5, Paren},
    {"Compound", "FRONTWHEELS", "compound", 0, 1, Dec, "0.0", 0, 1, 0.1, Paren},
    {"Mass", "FRONTWHEELS", "tire_mass", 0, 1, Dec, "##0.00", 0, 999, 0.25, Paren},
    {"Radius", "FRONTWHEELS", "tire_radius", 0, 1, Dec, "0.00", 0, 9, 0.01, Paren},
    {"Friction", "FRONTWHEELS", "friction", 0, 1, Dec, "##0.00", 0, 999, 0.01, Paren},
    {"Inertia", "FRONTWHEELS", "tire_inertia", 0, 1, Dec, "##0.00", 0, 999, 0.1, Paren},
    {"Rolling Resistance", "FRONTWHEELS", "rolling_resistance", 0, 1, Dec, "0.000", 0, 9, 0.001, Paren},
    {"Lateral Co-efficiency", "FRONTWHEELS", "lateral_coeff", 0, 1, Dec, "##0.00", 0, 999, 0.1, Paren},
    {"Longitudinal Co-efficiency", "FRONTWHEELS", "longitudinal_coeff", 0, 1, Dec, "##0.00", 0, 999, 0.1, Paren},
    {"Pressure", "REARWHEELS", "pressure", 0, 1, Dec, "##0.00", 0, 900, 0.5, Paren},
    {"Compound", "REARWHEELS", "compound", 0, 1, Dec, "0.0", 0, 1, 0.1, Paren},
    {"Mass", "REARWHEELS", "tire_mass", 0, 1, Dec, "##0.00", 0, 999, 0.25, Paren},
    {"Radius", "REARWHEELS", "tire_radius", 0, 1, Dec, "0.00", 0, 9, 0.01, Paren},
    // Stepped like the front friction, so the rear friction's spin button actually moves the value.
    {"Friction", "REARWHEELS", "friction", 0, 1, Dec, "##0.00", 0, 999, 0.01, Paren},
    {"Inertia", "REARWHEELS", "tire_inertia", 0, 1, Dec, "##0.00", 0, 999, 0.01, Paren},
    {"Rolling Resistance", "REARWHEELS", "rolling_resistance", 0, 1, Dec, "#0.000", 0, 99, 0.001, Paren},
    {"Lateral Co-efficiency", "REARWHEELS", "lateral_coeff", 0, 1, Dec, "##0.00", 0, 999, 0.1, Paren},
    {"Longitudinal Co-efficiency", "REARWHEELS", "longitudinal_coeff", 0, 1, Dec, "##0.00", 0, 999, 0.1, Paren},
    {"Steering Ratio", "CONTROLS", "steering_ratio", 0, 1, Dec, "0.000", 0, 9, 0.005, Paren},
    {"Braking Ratio", "CONTROLS", "braking_ratio", 0, 1, Dec, "####0.0", 0, 99999, 25, Paren},
    {"Front Brake Balance", "CONTROLS", "front_brake_distrib", 0, 1, Dec, "0.00", 0, 1, 0.01, Paren},
};

constexpr Row kAerodynamics[] = {
    {"Airdam Angle", "AERODYNAMICS", "airdam_angle", 0, 1, Dec, "0.0000", 0, 99, 0.001, Paren},
    {"Airdam Function", "AERODYNAMICS", "airdam_func", 0, 1, Dec, "0.000", 0, 9, 0.02, Paren},
    {"Airdam Center", "AERODYNAMICS", "airdam_center", 0, 3, Dec, "##0.000", 0, 0, 0.01, Paren},
    {"Ride Height", "FRONTWHEELS", "ride_height", 0, 1, Dec, "#0.000", -99, 99, 0.001, Paren},
    {"Ride Height Adjustment", "FRONTWHEELS", "ride_height_adj", 0, 1, Dec, "#0.000", -99, 99, 0.001, Paren},
    {"Rear Wing Angle", "AERODYNAMICS", "rearwing_angle", 0, 1, Dec, "0.000", 0, 99, 0.001, Paren},
    {"Rear Wing Function", "AERODYNAMICS", "rearwing_func", 0, 1, Dec, "0.000", 0, 9, 0.02, Paren},
    {"Rear Wing Center", "AERODYNAMICS", "rearwing_center", 0, 3, Dec, "##0.000", 0, 0, 0.01, Paren},
    {"Ride Height", "REARWHEELS", "ride_height", 0, 1, Dec, "#0.000", -99, 99, 0.001, Paren},
    {"Ride Height Adjustment", "REARWHEELS", "ride_height_adj", 0, 1, Dec, "#0.000", -99, 99, 0.001, Paren},
    {"Drag Co-efficiency", "AERODYNAMICS", "drag_coeff", 0, 3, Dec, "0.000", 0, 9, 0.01, Paren},
    {"Drag Center", "AERODYNAMICS", "drag_center", 0, 3, Dec, "0.000", -9, 9, 0.01, Paren},
    {"Downforce Co-efficiency", "AERODYNAMICS", "downforce_coeff", 0, 1, Dec, "0.000", 0, 9, 0.01, Paren},
};

constexpr Row kHandling[] = {
    {"Spring Co-efficiency", "FRONTWHEELS", "spring_coeff", 0, 1, Dec, "####0.0", 0, 99999, 50, Paren},
    {"Bumpstop Co-efficiency", "FRONTWHEELS", "bumpstop_coeff", 0, 1, Dec, "###0.0", -9999, 9999, 10, Paren},
    {"Shock Bump", "FRONTWHEELS", "shock_bump", 0, 1, Dec, "###0.0", -9999, 9999, 10, Paren},
    {"Bumpstop Limit", "FRONTWHEELS", "bumpstop_limit", 0, 1, Dec, "0.000", -9, 9, 0.005, Paren},
    {"Bumpstop Length", "FRONTWHEELS", "bumpstop_len", 0, 1, Dec, "0.000", -9, 9, 0.005, Paren},
    {"Shock Rebound", "FRONTWHEELS", "shock_rebound", 0, 1, Dec, "###0.0", -9999, 9999, 10, Paren},
    {"Camber", "FRONTWHEELS", "camber", 0, 1, Dec, "0.0000", -9, 9, 0.001, Paren},
    {"Anti Rollbar", "SUSPENSION", "rollbar_front", 0, 1, Dec, "####0.0", 0, 99999, 50, Paren},
    {"Spring Co-efficiency", "REARWHEELS", "spring_coeff", 0, 1, Dec, "####0.0", 0, 99999, 50, Paren},
    {"Bumpstop Co-efficiency", "REARWHEELS", "bumpstop_coeff", 0, 1, Dec, "###0.0", -9999, 9999, 10, Paren},
    {"Shock Bump", "REARWHEELS", "shock_bump", 0, 1, Dec, "###0.0", -9999, 9999, 10, Paren},
    {"Bumpstop Limit", "REARWHEELS", "bumpstop_limit", 0, 1, Dec, "0.000", -9, 9, 0.005, Paren},
    {"Bumpstop Length", "REARWHEELS", "bumpstop_len", 0, 1, Dec, "0.000", -9, 9, 0.005, Paren},
    {"Shock Rebound", "REARWHEELS", "shock_rebound", 0, 1, Dec, "###0.0", -9999, 9999, 10, Paren},
    {"Camber", "REARWHEELS", "camber", 0, 1, Dec, "0.0000", -9, 9, 0.001, Paren},
    {"Anti Rollbar", "SUSPENSION", "rollbar_rear", 0, 1, Dec, "####0.0", 0, 99999, 50, Paren},
    {"Geometry", "SUSPENSION", "geometry", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Anti-Pitch Suspension", "SUSPENSION", "antipitch_susp", 0, 1, Dec, "###0.0", 0, 9999, 10, Paren},
};

// Each torque point is one rpm_torque line (rpm and torque); the limits bound the rpm.
constexpr int kTorquePointCount = 41;
constexpr Row kTorquePoint = {"", "ENGINE", "rpm_torque", 0, 2, Dec, "####0.0/###0.00", 1400, 20000, 0, Paren};

constexpr Row kEngine[] = {
    {"Idle Throttle", "ENGINE", "idle_throttle", 0, 1, Dec, "0.00000", 0, 1, 0.001, Paren},
    {"Maximum Rpm", "ENGINE", "maximum_rpm", 0, 1, Dec, "####0.0", 0, 20000, 25, Paren},
    {"AutoShift Rpm", "ENGINE", "auto_shift_rpm", 0, 1, Dec, "####0.0", 0, 20000, 25, Paren},
    {"Engine Inertia", "ENGINE", "engine_inertia", 0, 1, Dec, "#0.00", 0, 99, 0.01, Paren},
    {"Engine Friction", "ENGINE", "engine_friction", 0, 1, Dec, "0.00000", 0, 1, 0.001, Paren},
    {"Throttle/Rpm Ratio", "ENGINE", "throttle_rpm_ratio", 0, 1, Dec, "####0.0", 0, 99999, 50, Paren},
};

// The forward gears are instances of one repeated key; the reverse ratio is always negative.
constexpr Row kDriveTrain[] = {
    {"Drive Type", "DRIVELINE", "drive", 0, 1, Txt, "", 0, 0, 0, Bare},
    {"Final Gear Ratio", "DRIVELINE", "final_drive_ratio", 0, 1, Dec, "0.000", 0, 9, 0, Paren},
    {"Reverse Gear", "GEARS", "gear_reverse", 0, 1, Dec, "0.000", -9, -1, 0, Paren},
    {"1st Gear", "GEARS", "gear", 0, 1, Dec, "0.000", 1, 9, 0, Paren},
    {"2nd Gear", "GEARS", "gear", 1, 1, Dec, "0.000", 0, 9, 0, Paren},
    {"3rd Gear", "GEARS", "gear", 2, 1, Dec, "0.000", 0, 9, 0, Paren},
    {"4th Gear", "GEARS", "gear", 3, 1, Dec, "0.000", 0, 9, 0, Paren},
    {"5th Gear", "GEARS", "gear", 4, 1, Dec, "0.000", 0, 9, 0, Paren},
    {"6th Gear", "GEARS", "gear", 5, 1, Dec, "0.000", 0, 9, 0, Paren},
};

constexpr Row kBody[] = {
    {"Mass Body Weight", "BODY", "mass", 0, 1, Dec, "###0.0", 0, 9999, 5, Paren},
    {"Weight Distribution", "BODY", "weight_distrib", 0, 1, Dec, "0.00", 0, 1, 0.01, Paren},
    {"Center Height", "BODY", "center_height", 0, 1, Dec, "0.000", -9, 9, 0.005, Paren},
    {"Starting Fuel", "BODY", "fuel", 0, 1, Dec, "##0.00", 0, 999, 5, Paren},
    {"Fuel Capacity", "BODY", "capacity", 0, 1, Dec, "##0.00", 0, 999, 5, Paren},
    {"Damage", "BODY", "damage", 0, 1, Int, "0", 0, 9, 0, Bare},
    {"Body Inertia", "BODY", "inertia", 0, 3, Dec, "###0.000", -9999, 9999, 0.5, Paren},
    {"Eye Point", "BODY", "eyepoint", 0, 3, Dec, "0.000", -9, 9, 0.01, Paren},
};

// Four collision-model lines of each kind; the label counts from 1, the instance from 0.
constexpr int kCollisionModelCount = 4;
struct CollisionGroup {
    const char* labelStem;
    const char* key;
};
constexpr CollisionGroup kCollisionGroups[] = {
    {"Coll_All", "coll_all"},
    {"Coll_Player", "coll_player"},
    {"Coll_Top", "coll_top"},
};

constexpr Row kAiBasis[] = {
    {"Ground Effects", "AIBASIS", "ground_effects", -1, 1, Txt, "", 0, 0, 0, Paren},
    {"Cornering", "AIBASIS", "cornering", -1, 1, Txt, "", 0, 0, 0, Paren},
    {"Braking", "AIBASIS", "braking", -1, 1, Txt, "", 0, 0, 0, Paren},
    {"Acceleration", "AIBASIS", "acceleration", -1, 1, Txt, "", 0, 0, 0, Paren},
    {"Top Speed", "AIBASIS", "top_speed", -1, 1, Txt, "", 0, 0, 0, Paren},
};

// Upgrade parts: the first four are fitted or not, the rest have three upgrade levels.
constexpr Row kParts[] = {
    {"Gear Box (6th gear)", "PARTS", "gearbox_ringpinion", -1, 1, Int, "0", 0, 1, 1, Bare},
    {"Computer Chip", "PARTS", "computer_chip", -1, 1, Int, "0", 0, 1, 1, Bare},
    {"Intercooler", "PARTS", "intercooler", -1, 1, Int, "0", 0, 1, 1, Bare},
    {"ABS Brakes", "PARTS", "abs", -1, 1, Int, "0", 0, 1, 1, Bare},
    {"Turbo", "PARTS", "turbo_charger", -1, 1, Int, "0", 0, 3, 1, Bare},
    {"Brakes", "PARTS", "brake_system", -1, 1, Int, "0", 0, 3, 1, Bare},
    {"Weight Reduction", "PARTS", "weight_reduction", -1, 1, Int, "0", 0, 3, 1, Bare},
    {"Aerodynamics", "PARTS", "aerodynamic_work", -1, 1, Int, "0", 0, 3, 1, Bare},
    {"Clutch Flywheel", "PARTS", "clutch_flywheel", -1, 1, Int, "0", 0, 3, 1, Bare},
    {"Tires", "PARTS", "tires", -1, 1, Int, "0", 0, 3, 1, Bare},
    {"Suspension", "PARTS", "suspension", -1, 1, Int, "0", 0, 3, 1, Bare},
    {"Manifold Headers", "PARTS", "manifold_headers", -1, 1, Int, "0", 0, 3, 1, Bare},
    {"Exhaust", "PARTS", "muffler_pipes", -1, 1, Int, "0", 0, 3, 1, Bare},
    {"Air Intake", "PARTS", "air_intake", -1, 1, Int, "0", 0, 3, 1, Bare},
};

constexpr Row kQora[] = {
    {"Original Author", "QORA", "OriginalAuthor", -1, 1, Txt, "", 0, 0, 0, Bare},
    {"Based On Vehicle", "QORA", "BasedOnCar", -1, 1, Txt, "", 0, 0, 0, Bare},
    {"Authors Notes", "QORA", "AuthorsNotes", -1, 1, Txt, "", 0, 0, 0, Bare},
    {"Modified By", "QORA", "ModifiedBy", -1, 1, Txt, "", 0, 0, 0, Bare},
    {"VEH File Version", "QORA", "VehFileVersion", -1, 1, Txt, "", 0, 0, 0, Bare},
};

FieldDef toField(const Row& row) {
    return FieldDef{row.valueCount, row.kind,    row.format,  row.label,         row.section, row.key,
                    row.instance,   row.minimum, row.maximum, row.inParentheses, row.step};
}

struct Catalogue {
    std::array<std::string, kPageCount> names;
    std::vector<FieldDef> fields;
    // Page p holds fields[start[p]] up to fields[start[p + 1]].
    std::array<std::size_t, kPageCount + 1> start{};
};

Catalogue buildCatalogue() {
    Catalogue c;
    c.names = {"Details",    "Tires", "Aerodynamics", "Handling", "Performance",
               "DriveTrain", "Other", "AIBASIS",      "PARTS",    "QORA"};
    c.fields.reserve(171);

    auto add = [&c](std::span<const Row> rows) {
        for (const Row& row : rows)
            c.fields.push_back(toField(row));
    };
    auto beginPage = [&c](int page) { c.start[static_cast<std::size_t>(page)] = c.fields.size(); };

    beginPage(PageDetails);
    add(kDetails);
    beginPage(PageTires);
    add(kTires);
    beginPage(PageAerodynamics);
    add(kAerodynamics);
    beginPage(PageHandling);
    add(kHandling);

    beginPage(PagePerformance);
    for (int n = 0; n < kTorquePointCount; ++n) {
        FieldDef point = toField(kTorquePoint);
        point.label = "RpmTorque(" + std::to_string(n) + ")";
        point.instance = n;
        c.fields.push_back(std::move(point));
    }
    add(kEngine);

    beginPage(PageDriveTrain);
    add(kDriveTrain);

    beginPage(PageOther);
    add(kBody);
    for (const CollisionGroup& group : kCollisionGroups) {
        for (int n = 1; n <= kCollisionModelCount; ++n) {
            c.fields.push_back(FieldDef{1, Txt, "", std::string(group.labelStem) + "(" + std::to_string(n) + ")",
                                        "BODY", group.key, n - 1, 0, 0, Paren, 0});
        }
    }

    beginPage(PageAiBasis);
    add(kAiBasis);
    beginPage(PageParts);
    add(kParts);
    beginPage(PageQora);
    add(kQora);
    c.start[kPageCount] = c.fields.size();
    return c;
}

const Catalogue& catalogue() {
    static const Catalogue instance = buildCatalogue();
    return instance;
}

std::size_t checkedPage(int page) {
    if (page < 0 || page >= kPageCount)
        throw std::out_of_range("field catalogue: no page " + std::to_string(page));
    return static_cast<std::size_t>(page);
}

} // namespace

const std::string& pageName(int page) {
    return catalogue().names[checkedPage(page)];
}

int pageFieldCount(int page) {
    return static_cast<int>(pageFields(page).size());
}

std::span<const FieldDef> pageFields(int page) {
    const Catalogue& c = catalogue();
    const std::size_t p = checkedPage(page);
    return std::span<const FieldDef>(c.fields).subspan(c.start[p], c.start[p + 1] - c.start[p]);
}

const FieldDef& fieldDef(int page, int index) {
    const std::span<const FieldDef> fields = pageFields(page);
    if (index < 0 || static_cast<std::size_t>(index) >= fields.size())
        throw std::out_of_range("field catalogue: no field " + std::to_string(index) + " on page " +
                                std::to_string(page));
    return fields[static_cast<std::size_t>(index)];
}

std::span<const FieldDef> allFields() {
    return catalogue().fields;
}

} // namespace qora
