#include "vehicle/veh_format.h"

#include <array>

#include "platform/text.h"

namespace qora::veh {

namespace {

using Keys = std::span<const std::string_view>;

constexpr std::string_view kDetailsKeys[] = {"//DescFile=",     "//DescClass=", "//EngineType=",
                                             "//Manufacturer=", "//TeamName=",  "//UnlockPoints=",
                                             "//VehCost=",      "//Driver1=",   "//Driver2="};
constexpr std::string_view kSoundsKeys[] = {"CSINSIDE_idle_rpm=",      "CSINSIDE_ENGINE_IDLE=",
                                            "CSOUTSIDE_idle_rpm=",     "CSOUTSIDE_ENGINE_IDLE=",
                                            "CSINSIDE_revved_rpm=",    "CSINSIDE_ENGINE_REVVED=",
                                            "CSOUTSIDE_revved_rpm=",   "CSOUTSIDE_ENGINE_REVVED="};
constexpr std::string_view kBodyKeys[] = {
    "mass=",     "center_height=", "weight_distrib=", "inertia=",     "eyepoint=",    "fuel=",
    "capacity=", "damage=",        "coll_all=",       "coll_all=",    "coll_all=",    "coll_all=",
    "coll_player=", "coll_player=", "coll_player=",   "coll_player=", "coll_top=",    "coll_top=",
    "coll_top=", "coll_top="};
constexpr std::string_view kAeroKeys[] = {"airdam_angle=",   "airdam_func=",     "airdam_center=", "rearwing_angle=",
                                          "rearwing_func=",  "rearwing_center=", "downforce_coeff=", "drag_coeff=",
                                          "drag_center=",    "side_skirts="};
constexpr std::string_view kSuspensionKeys[] = {"geometry=", "rollbar_front=", "rollbar_rear=", "antipitch_susp="};
constexpr std::string_view kControlsKeys[] = {"steering_ratio=", "braking_ratio=", "front_brake_distrib="};
constexpr std::string_view kEngineKeys[] = {"hybrid=",      "idle_throttle=",  "throttle_rpm_ratio=", "auto_shift_rpm=",
                                            "maximum_rpm=", "engine_inertia=", "engine_friction="};
constexpr std::string_view kDrivelineKeys[] = {"final_drive_ratio=", "drive=", "clutch_eff="};
constexpr std::string_view kGearsKeys[] = {"gear_reverse=", "gear=", "gear=", "gear=", "gear=", "gear=", "gear="};
constexpr std::string_view kWheelKeys[] = {
    "friction=",    "rolling_resistance=", "compound=",      "lateral_coeff=",  "longitudinal_coeff=", "tire_mass=",
    "tire_inertia=", "tire_radius=",       "spring_coeff=",  "shock_bump=",     "shock_rebound=",      "bumpstop_limit=",
    "bumpstop_len=", "bumpstop_coeff=",    "ride_height=",   "ride_height_adj=", "camber=",            "pressure="};
constexpr std::string_view kAiBasisKeys[] = {"ground_effects=", "cornering=", "braking=", "acceleration=", "top_speed="};
constexpr std::string_view kPartsKeys[] = {
    "abs=",           "computer_chip=",    "gearbox_ringpinion=", "intercooler=",   "tires=",
    "suspension=",    "weight_reduction=", "aerodynamic_work=",   "brake_system=",  "manifold_headers=",
    "muffler_pipes=", "air_intake=",       "turbo_charger=",      "clutch_flywheel="};
constexpr std::string_view kQoraKeys[] = {"OriginalAuthor=", "BasedOnCar=", "AuthorsNotes=", "ModifiedBy=",
                                          "VehFileVersion="};

constexpr std::array<std::string_view, kSectionCount> kNames = {
    "[DETAILS]", "[SOUNDS]", "[BODY]",        "[AERODYNAMICS]", "[SUSPENSION]", "[CONTROLS]", "[ENGINE]",
    "[DRIVELINE]", "[GEARS]", "[FRONTWHEELS]", "[REARWHEELS]",  "[AIBASIS]",    "[PARTS]",    "[QORA]"};

const std::array<Keys, kSectionCount> kKeys = {Keys(kDetailsKeys),    Keys(kSoundsKeys),   Keys(kBodyKeys),
                                               Keys(kAeroKeys),       Keys(kSuspensionKeys), Keys(kControlsKeys),
                                               Keys(kEngineKeys),     Keys(kDrivelineKeys), Keys(kGearsKeys),
                                               Keys(kWheelKeys),      Keys(kWheelKeys),     Keys(kAiBasisKeys),
                                               Keys(kPartsKeys),      Keys(kQoraKeys)};

const std::vector<std::string> kTemplate = {
    "//DescFile=GT2 #6 BMW M3",
    "//DescClass=GT2",
    "//EngineType=S50 B32 Vanos",
    "//Manufacturer=BMW",
    "//TeamName=PTG",
    "//UnlockPoints=0",
    "//VehCost=400000",
    "//Driver1=Ray Colter/0.6/0.4/0.9",
    "//Driver2=Ned Halvik/0.7/0.5/0.7",
    "",
    "",
    "[SOUNDS]",
    "CSINSIDE_idle_rpm=700.0",
    "CSINSIDE_ENGINE_IDLE=IDLEID.WAV",
    "CSOUTSIDE_idle_rpm=700.0",
    "CSOUTSIDE_ENGINE_IDLE=IDLEED.WAV",
    "CSINSIDE_revved_rpm=4100.0",
    "CSINSIDE_ENGINE_REVVED=eng2id.WAV",
    "CSOUTSIDE_revved_rpm=4100.0",
    "CSOUTSIDE_ENGINE_REVVED=eng2ed.WAV",
    "",
    "[BODY]",
    "mass=(1125.0)",
    "center_height=(-0.073)",
    "weight_distrib=(0.4900)",
    "inertia=(2043.443,2204.754,501.108)",
    "eyepoint=(0.000,0.820,0.140)",
    "fuel=(100.00)",
    "capacity=(100.00)",
    "damage=1",
    "coll_all=(0.800,0.000,-1.950)",
    "coll_all=(-0.800,0.000,-1.950)",
    "coll_all=(0.875,0.000,2.225)",
    "coll_all=(-0.875,0.000,2.225)",
    "coll_player=(0.000,0.000,-2.125)",
    "coll_player=(-0.900,0.000,0.000)",
    "coll_player=(0.000,0.000,2.325)",
    "coll_player=(0.900,0.000,0.000)",
    "coll_top=(0.625,1.025,-0.200)",
    "coll_top=(-0.625,1.025,-0.200)",
    "coll_top=(-0.750,1.025,2.225)",
    "coll_top=(0.750,1.025,2.225)",
    "",
    "[AERODYNAMICS]",
    "airdam_angle=(0.1748)",
    "airdam_func=(0.980)",
    "airdam_center=(0.000,-0.030,-2.030)",
    "rearwing_angle=(0.1748)",
    "rearwing_func=(1.430)",
    "rearwing_center=(0.000,0.960,2.070)",
    "downforce_coeff=(0.610)",
    "drag_coeff=(1.700,3.000,0.357)",
    "drag_center=(0.000,0.290,0.200)",
    "",
    "[SUSPENSION]",
    "geometry=EX1",
    "rollbar_front=(25500.0)",
    "rollbar_rear=(23500.0)",
    "antipitch_susp=(1700.0)",
    "",
    "[CONTROLS]",
    "steering_ratio=(0.650)",
    "braking_ratio=(11500.0)",
    "front_brake_distrib=(0.5650)",
    "",
    "[ENGINE]",
    "hybrid=0",
    "idle_throttle=(0.10032)",
    "throttle_rpm_ratio=(11962.5)",
    "auto_shift_rpm=(7300.0)",
    "maximum_rpm=(7750.0)",
    "engine_inertia=(0.35)",
    "engine_friction=(0.03400)",
    "rpm_torque=(0.0, 0.00)",
    "rpm_torque=(500.0, 175.00)",
    "rpm_torque=(1000.0, 405.00)",
    "rpm_torque=(1500.0, 445.00)",
    "rpm_torque=(2000.0, 505.00)",
    "rpm_torque=(2500.0, 530.00)",
    "rpm_torque=(3000.0, 590.00)",
    "rpm_torque=(3500.0, 600.00)",
    "rpm_torque=(4000.0, 614.00)",
    "rpm_torque=(4500.0, 622.50)",
    "rpm_torque=(5000.0, 633.00)",
    "rpm_torque=(5500.0, 626.00)",
    "rpm_torque=(6000.0, 606.00)",
    "rpm_torque=(6500.0, 563.00)",
    "rpm_torque=(7000.0, 524.00)",
    "rpm_torque=(7500.0, 491.00)",
    "rpm_torque=(8000.0, 425.00)",
    "rpm_torque=(8500.0, 290.00)",
    "rpm_torque=(9000.0, 0.00)",
    "",
    "[DRIVELINE]",
    "final_drive_ratio=(3.900)",
    "drive=REAR",
    "",
    "[GEARS]",
    "gear_reverse=(-3.500)",
    "gear=(3.570)",
    "gear=(2.315)",
    "gear=(1.549)",
    "gear=(1.035)",
    "gear=(0.690)",
    "",
    "[FRONTWHEELS]",
    "friction=(2.400)",
    "rolling_resistance=(0.010)",
    "compound=(0.5)",
    "lateral_coeff=(25.00)",
    "longitudinal_coeff=(19.00)",
    "tire_mass=(15.00)",
    "tire_inertia=(1.500)",
    "tire_radius=(0.32)",
    "spring_coeff=(19500.0)",
    "shock_bump=(2550.0)",
    "shock_rebound=(2550.0)",
    "bumpstop_limit=(0.080)",
    "bumpstop_len=(0.125)",
    "bumpstop_coeff=(3500.0)",
    "ride_height=(0.090)",
    "ride_height_adj=(0.010)",
    "camber=(-0.0352)",
    "pressure=(155.0000)",
    "",
    "[REARWHEELS]",
    "friction=(2.500)",
    "rolling_resistance=(0.010)",
    "compound=(0.5)",
    "lateral_coeff=(27.50)",
    "longitudinal_coeff=(20.00)",
    "tire_mass=(20.00)",
    "tire_inertia=(2.000)",
    "tire_radius=(0.32)",
    "spring_coeff=(25500.0)",
    "shock_bump=(3200.0)",
    "shock_rebound=(3200.0)",
    "bumpstop_limit=(0.080)",
    "bumpstop_len=(0.125)",
    "bumpstop_coeff=(3500.0)",
    "ride_height=(0.090)",
    "ride_height_adj=(0.005)",
    "camber=(-0.0264)",
    "pressure=(155.0000)",
};

} // namespace

std::string_view sectionName(int section) {
    return kNames.at(static_cast<std::size_t>(section));
}

std::span<const std::string_view> sectionKeys(int section) {
    return kKeys.at(static_cast<std::size_t>(section));
}

int keyInstance(int section, int entry) {
    const auto keys = sectionKeys(section);
    int instance = 1;
    for (int e = 0; e < entry; ++e)
        if (keys[static_cast<std::size_t>(e)] == keys[static_cast<std::size_t>(entry)])
            ++instance;
    return instance;
}

int entryIndex(int section, std::string_view key, int instance) {
    if (section < 0 || section >= kSectionCount)
        return -1;
    if (!key.empty() && key.back() == '=')
        key.remove_suffix(1);
    const auto keys = sectionKeys(section);
    int seen = 0;
    for (std::size_t e = 0; e < keys.size(); ++e) {
        const std::string_view k = keys[e].substr(0, keys[e].size() - 1);
        if (text::iequals(k, key) && ++seen == instance)
            return static_cast<int>(e);
    }
    return -1;
}

bool isBareValue(int section, int entry) {
    switch (section) {
    case SecDetails:
    case SecSounds:
    case SecParts:
    case SecQora:
        return true;
    case SecBody:
        return entry == 7; // damage=
    case SecSuspension:
        return entry == 0; // geometry=
    case SecEngine:
        return entry == 0; // hybrid=
    case SecDriveline:
        return entry == 1; // drive=
    default:
        return false;
    }
}

bool isTextEntry(int section, int entry) {
    switch (section) {
    case SecDetails:
    case SecQora:
        return true;
    case SecSounds:
        return entry % 2 == 1; // the four sound file names
    case SecSuspension:
        return entry == 0; // geometry=
    case SecDriveline:
        return entry == 1; // drive=
    default:
        return false;
    }
}

bool isForbiddenKey(std::string_view key) {
    return text::iequals(key, "side_skirts=") || text::iequals(key, "clutch_eff=");
}

int sectionByPlainName(std::string_view name) {
    for (int s = 0; s < kSectionCount; ++s) {
        const std::string_view full = kNames[static_cast<std::size_t>(s)];
        if (text::iequals(full.substr(1, full.size() - 2), name))
            return s;
    }
    return -1;
}

const std::vector<std::string>& templateLines() {
    return kTemplate;
}

} // namespace qora::veh
