#include "editor/page_fields.h"

#include <array>
#include <stdexcept>
#include <string>

#include "vehicle/veh_format.h"

namespace qora::editor {

namespace {

using W = FieldWidget;
using P = BufferPart;
using namespace veh;

// Drag-and-drop kinds: a value may be dropped on any field of its own kind. Front and rear twins share their
// kind, and so do the two drivers' names, all six driver attributes, the four sound rpms, the four sound names,
// the engine's two rpm limits, fuel and capacity, the four points of each collision group, and the six forward
// gears with the five best-gear displays. Every other field is a kind of its own.
enum Kind : int {
    KindNone = 0,
    KindDescription,
    KindEngineType,
    KindTeamName,
    KindDriverName,
    KindManufacturer,
    KindClass,
    KindCost,
    KindRace,
    KindDriverAttribute,
    KindSoundRpm,
    KindSoundName,
    KindPressure,
    KindCompound,
    KindTireMass,
    KindTireRadius,
    KindFriction,
    KindTireInertia,
    KindRollingResistance,
    KindLateral,
    KindLongitudinal,
    KindSteering,
    KindBraking,
    KindBrakeBalance,
    KindWingAngle,
    KindWingFunction,
    KindWingCenter,
    KindRideHeight,
    KindRideHeightAdj,
    KindDragCoeff,
    KindDragCenter,
    KindDownforce,
    KindSpring,
    KindBumpstopCoeff,
    KindShockBump,
    KindBumpstopLimit,
    KindBumpstopLength,
    KindShockRebound,
    KindCamber,
    KindAntiRollbar,
    KindGeometry,
    KindAntiPitch,
    KindIdleThrottle,
    KindEngineRpm,
    KindEngineInertia,
    KindEngineFriction,
    KindThrottleRatio,
    KindReverseGear,
    KindForwardGear,
    KindFinalGear,
    KindDriveType,
    KindMass,
    KindWeightDistribution,
    KindCenterHeight,
    KindBodyInertia,
    KindEyePoint,
    KindFuel,
    KindDamage,
    KindCollAll,
    KindCollPlayer,
    KindCollTop,
};

constexpr int kText = 32;  // most text fields
constexpr int kAttr = 3;   // driver attributes: digit "." digit
constexpr int kGear = 5;   // forward and final gears: "3.570"
constexpr int kRev = 6;    // reverse gear: "-3.500"
constexpr int kAngle = 7;  // both wing angles in radian mode ("0.1748"); degree mode types 4
constexpr int kSound = 12; // sound file names

constexpr bool Num = true;
constexpr bool Txt = false;
constexpr bool Spin = true;
constexpr bool NoSpin = false;

// The table keeps one row per field.
// clang-format off
// Columns: name, ghost twin, label, group, page, catalogue index, section, key, instance, part, widget,
// maximum length, kind, help number, numeric, spin[, upper case].
constexpr std::array kFields{
    // ---- Details ------------------------------------------------------------------------------------------
    PageField{"eDescription", "", "Description:", "", PgDetails, 0, SecDetails, "//DescFile=", 1, P::Whole, W::Edit, kText, KindDescription, 0, Txt, NoSpin},
    PageField{"eEngineType", "", "Engine Type:", "", PgDetails, 2, SecDetails, "//EngineType=", 1, P::Whole, W::Edit, kText, KindEngineType, 0, Txt, NoSpin},
    PageField{"eTeamName", "", "Team Name:", "", PgDetails, 4, SecDetails, "//TeamName=", 1, P::Whole, W::Edit, kText, KindTeamName, 0, Txt, NoSpin},
    PageField{"eDriver1Name", "", "Driver #1:", "", PgDetails, 7, SecDetails, "//Driver1=", 1, P::DriverName, W::Edit, kText, KindDriverName, 0, Txt, NoSpin},
    PageField{"eDriver2Name", "", "Driver #2:", "", PgDetails, 9, SecDetails, "//Driver2=", 1, P::DriverName, W::Edit, kText, KindDriverName, 0, Txt, NoSpin},
    PageField{"eManufacturer", "", "Manufacturer:", "", PgDetails, 3, SecDetails, "//Manufacturer=", 1, P::Whole, W::Edit, kText, KindManufacturer, 0, Txt, NoSpin},
    PageField{"eClass", "", "Class:", "", PgDetails, 1, SecDetails, "//DescClass=", 1, P::Whole, W::Edit, kText, KindClass, 0, Txt, NoSpin},
    PageField{"eCost", "", "Cost:", "", PgDetails, 6, SecDetails, "//VehCost=", 1, P::Whole, W::Edit, kText, KindCost, 0, Num, NoSpin},
    PageField{"dlUnlockPoints", "gdlUnlockPoints", "Race %:", "", PgDetails, 5, SecDetails, "//UnlockPoints=", 1, P::RacePosition, W::List, 0, KindRace, 0, Txt, NoSpin},
    PageField{"e1Aggression", "ge1Aggression", "Aggression:", "Driver #1", PgDetails, 8, SecDetails, "//Driver1=", 1, P::DriverAggression, W::Edit, kAttr, KindDriverAttribute, 100, Num, Spin},
    PageField{"e1Defensive", "ge1Defensive", "Defense:", "Driver #1", PgDetails, 8, SecDetails, "//Driver1=", 1, P::DriverDefensive, W::Edit, kAttr, KindDriverAttribute, 100, Num, Spin},
    PageField{"e1Ability", "ge1Ability", "Ability:", "Driver #1", PgDetails, 8, SecDetails, "//Driver1=", 1, P::DriverAbility, W::Edit, kAttr, KindDriverAttribute, 100, Num, Spin},
    PageField{"e2Aggression", "ge2Aggression", "Aggression:", "Driver #2", PgDetails, 10, SecDetails, "//Driver2=", 1, P::DriverAggression, W::Edit, kAttr, KindDriverAttribute, 100, Num, Spin},
    PageField{"e2Defensive", "ge2Defensive", "Defense:", "Driver #2", PgDetails, 10, SecDetails, "//Driver2=", 1, P::DriverDefensive, W::Edit, kAttr, KindDriverAttribute, 100, Num, Spin},
    PageField{"e2Ability", "ge2Ability", "Ability:", "Driver #2", PgDetails, 10, SecDetails, "//Driver2=", 1, P::DriverAbility, W::Edit, kAttr, KindDriverAttribute, 100, Num, Spin},
    PageField{"eIIdleRpm", "geIIdleRpm", "Idle rpm:", "Inside Sounds", PgDetails, 11, SecSounds, "CSINSIDE_idle_rpm=", 1, P::Whole, W::Edit, kText, KindSoundRpm, 101, Num, Spin},
    PageField{"eIRevvedRpm", "geIRevvedRpm", "Rev rpm:", "Inside Sounds", PgDetails, 15, SecSounds, "CSINSIDE_revved_rpm=", 1, P::Whole, W::Edit, kText, KindSoundRpm, 102, Num, Spin},
    PageField{"eIIdleSound", "geIIdleSound", "Idle Sound:", "Inside Sounds", PgDetails, 12, SecSounds, "CSINSIDE_ENGINE_IDLE=", 1, P::Whole, W::EditableList, kSound, KindSoundName, 0, Txt, NoSpin},
    PageField{"eIRevvedSound", "geIRevvedSound", "Rev Sound:", "Inside Sounds", PgDetails, 16, SecSounds, "CSINSIDE_ENGINE_REVVED=", 1, P::Whole, W::EditableList, kSound, KindSoundName, 0, Txt, NoSpin},
    PageField{"eOIdleRpm", "geOIdleRpm", "Idle rpm:", "Outside Sounds", PgDetails, 13, SecSounds, "CSOUTSIDE_idle_rpm=", 1, P::Whole, W::Edit, kText, KindSoundRpm, 101, Num, Spin},
    PageField{"eORevvedRpm", "geORevvedRpm", "Rev rpm:", "Outside Sounds", PgDetails, 17, SecSounds, "CSOUTSIDE_revved_rpm=", 1, P::Whole, W::Edit, kText, KindSoundRpm, 102, Num, Spin},
    PageField{"eOIdleSound", "geOIdleSound", "Idle Sound:", "Outside Sounds", PgDetails, 14, SecSounds, "CSOUTSIDE_ENGINE_IDLE=", 1, P::Whole, W::EditableList, kSound, KindSoundName, 0, Txt, NoSpin},
    PageField{"eORevvedSound", "geORevvedSound", "Rev Sound:", "Outside Sounds", PgDetails, 18, SecSounds, "CSOUTSIDE_ENGINE_REVVED=", 1, P::Whole, W::EditableList, kSound, KindSoundName, 0, Txt, NoSpin},

    // ---- Tires --------------------------------------------------------------------------------------------
    PageField{"efPressure", "gefPressure", "Pressure (kPa):", "FRONT", PgTires, 0, SecFrontWheels, "pressure=", 1, P::Whole, W::Edit, kText, KindPressure, 103, Num, Spin},
    PageField{"efCompound", "gefCompound", "Compound:", "FRONT", PgTires, 1, SecFrontWheels, "compound=", 1, P::Whole, W::Edit, kText, KindCompound, 104, Num, Spin},
    PageField{"efMass", "gefMass", "Mass (kg):", "FRONT", PgTires, 2, SecFrontWheels, "tire_mass=", 1, P::Whole, W::Edit, kText, KindTireMass, 105, Num, Spin},
    PageField{"efRadius", "gefRadius", "Radius (m):", "FRONT", PgTires, 3, SecFrontWheels, "tire_radius=", 1, P::Whole, W::Edit, kText, KindTireRadius, 106, Num, Spin},
    PageField{"efFriction", "gefFriction", "Friction:", "FRONT", PgTires, 4, SecFrontWheels, "friction=", 1, P::Whole, W::Edit, kText, KindFriction, 107, Num, Spin},
    PageField{"efInertia", "gefInertia", "Inertia:", "FRONT", PgTires, 5, SecFrontWheels, "tire_inertia=", 1, P::Whole, W::Edit, kText, KindTireInertia, 108, Num, Spin},
    PageField{"efRollingResistance", "gefRollingResistance", "Rolling Resistance:", "FRONT", PgTires, 6, SecFrontWheels, "rolling_resistance=", 1, P::Whole, W::Edit, kText, KindRollingResistance, 109, Num, Spin},
    PageField{"efLateralCoeff", "gefLateralCoeff", "Lateral Co-efficiency:", "FRONT", PgTires, 7, SecFrontWheels, "lateral_coeff=", 1, P::Whole, W::Edit, kText, KindLateral, 110, Num, Spin},
    PageField{"efLongitudinalCoeff", "gefLongitudinalCoeff", "Longitudinal Co-efficiency:", "FRONT", PgTires, 8, SecFrontWheels, "longitudinal_coeff=", 1, P::Whole, W::Edit, kText, KindLongitudinal, 111, Num, Spin},
    PageField{"erPressure", "gerPressure", "Pressure (kPa):", "REAR", PgTires, 9, SecRearWheels, "pressure=", 1, P::Whole, W::Edit, kText, KindPressure, 103, Num, Spin},
    PageField{"erCompound", "gerCompound", "Compound:", "REAR", PgTires, 10, SecRearWheels, "compound=", 1, P::Whole, W::Edit, kText, KindCompound, 104, Num, Spin},
    PageField{"erMass", "gerMass", "Mass (kg):", "REAR", PgTires, 11, SecRearWheels, "tire_mass=", 1, P::Whole, W::Edit, kText, KindTireMass, 105, Num, Spin},
    PageField{"erRadius", "gerRadius", "Radius (m):", "REAR", PgTires, 12, SecRearWheels, "tire_radius=", 1, P::Whole, W::Edit, kText, KindTireRadius, 106, Num, Spin},
    PageField{"erFriction", "gerFriction", "Friction:", "REAR", PgTires, 13, SecRearWheels, "friction=", 1, P::Whole, W::Edit, kText, KindFriction, 107, Num, Spin},
    PageField{"erInertia", "gerInertia", "Inertia:", "REAR", PgTires, 14, SecRearWheels, "tire_inertia=", 1, P::Whole, W::Edit, kText, KindTireInertia, 108, Num, Spin},
    PageField{"erRollingResistance", "gerRollingResistance", "Rolling Resistance:", "REAR", PgTires, 15, SecRearWheels, "rolling_resistance=", 1, P::Whole, W::Edit, kText, KindRollingResistance, 109, Num, Spin},
    PageField{"erLateralCoeff", "gerLateralCoeff", "Lateral Co-efficiency:", "REAR", PgTires, 16, SecRearWheels, "lateral_coeff=", 1, P::Whole, W::Edit, kText, KindLateral, 110, Num, Spin},
    PageField{"erLongitudinalCoeff", "gerLongitudinalCoeff", "Longitudinal Co-efficiency:", "REAR", PgTires, 17, SecRearWheels, "longitudinal_coeff=", 1, P::Whole, W::Edit, kText, KindLongitudinal, 111, Num, Spin},
    PageField{"eSteeringRatio", "geSteeringRatio", "Steering Ratio:", "", PgTires, 18, SecControls, "steering_ratio=", 1, P::Whole, W::Edit, kText, KindSteering, 112, Num, Spin},
    PageField{"eBrakeRatio", "geBrakeRatio", "Braking Ratio:", "", PgTires, 19, SecControls, "braking_ratio=", 1, P::Whole, W::Edit, kText, KindBraking, 113, Num, Spin},
    PageField{"eBrakeBalance", "geBrakeBalance", "Front Brake Balance(%):", "", PgTires, 20, SecControls, "front_brake_distrib=", 1, P::Whole, W::Edit, kText, KindBrakeBalance, 114, Num, Spin},

    // ---- Aerodynamics -------------------------------------------------------------------------------------
    PageField{"efAngle", "gefAngle", "Angle:", "Front AirDam", PgAerodynamics, 0, SecAerodynamics, "airdam_angle=", 1, P::Whole, W::Edit, kAngle, KindWingAngle, 115, Num, Spin},
    PageField{"efFunction", "gefFunction", "Function:", "Front AirDam", PgAerodynamics, 1, SecAerodynamics, "airdam_func=", 1, P::Whole, W::Edit, kText, KindWingFunction, 116, Num, Spin},
    PageField{"efCenter", "gefCenter", "Center:", "Front AirDam", PgAerodynamics, 2, SecAerodynamics, "airdam_center=", 1, P::Whole, W::Edit, kText, KindWingCenter, 117, Num, NoSpin},
    PageField{"erAngle", "gerAngle", "Angle:", "Rear Spoiler", PgAerodynamics, 5, SecAerodynamics, "rearwing_angle=", 1, P::Whole, W::Edit, kAngle, KindWingAngle, 115, Num, Spin},
    PageField{"erFunction", "gerFunction", "Function:", "Rear Spoiler", PgAerodynamics, 6, SecAerodynamics, "rearwing_func=", 1, P::Whole, W::Edit, kText, KindWingFunction, 116, Num, Spin},
    PageField{"erCenter", "gerCenter", "Center:", "Rear Spoiler", PgAerodynamics, 7, SecAerodynamics, "rearwing_center=", 1, P::Whole, W::Edit, kText, KindWingCenter, 117, Num, NoSpin},
    PageField{"efRideHeight", "gefRideHeight", "Ride Height:", "FRONT", PgAerodynamics, 3, SecFrontWheels, "ride_height=", 1, P::Whole, W::Edit, kText, KindRideHeight, 118, Num, Spin},
    PageField{"efRideHeightAdj", "gefRideHeightAdj", "Ride Height Adjustment:", "FRONT", PgAerodynamics, 4, SecFrontWheels, "ride_height_adj=", 1, P::Whole, W::Edit, kText, KindRideHeightAdj, 119, Num, Spin},
    PageField{"erRideHeight", "gerRideHeight", "Ride Height:", "REAR", PgAerodynamics, 8, SecRearWheels, "ride_height=", 1, P::Whole, W::Edit, kText, KindRideHeight, 118, Num, Spin},
    PageField{"erRideHeightAdj", "gerRideHeightAdj", "Ride Height Adjustment:", "REAR", PgAerodynamics, 9, SecRearWheels, "ride_height_adj=", 1, P::Whole, W::Edit, kText, KindRideHeightAdj, 119, Num, Spin},
    PageField{"eDragCoeff", "geDragCoeff", "Drag Co-efficiency:", "", PgAerodynamics, 10, SecAerodynamics, "drag_coeff=", 1, P::Whole, W::Edit, kText, KindDragCoeff, 120, Num, NoSpin},
    PageField{"eDragCenter", "geDragCenter", "Drag Center:", "", PgAerodynamics, 11, SecAerodynamics, "drag_center=", 1, P::Whole, W::Edit, kText, KindDragCenter, 121, Num, NoSpin},
    PageField{"eDownforceCoeff", "geDownforceCoeff", "Downforce Co-efficiency:", "", PgAerodynamics, 12, SecAerodynamics, "downforce_coeff=", 1, P::Whole, W::Edit, kText, KindDownforce, 122, Num, Spin},

    // ---- Handling -----------------------------------------------------------------------------------------
    PageField{"efSpringCoeff", "gefSpringCoeff", "Spring Co-efficiency:", "FRONT", PgHandling, 0, SecFrontWheels, "spring_coeff=", 1, P::Whole, W::Edit, kText, KindSpring, 124, Num, Spin},
    PageField{"efBumpstopCoeff", "gefBumpstopCoeff", "Bumpstop Co-efficiency:", "FRONT", PgHandling, 1, SecFrontWheels, "bumpstop_coeff=", 1, P::Whole, W::Edit, kText, KindBumpstopCoeff, 125, Num, Spin},
    PageField{"efShockBump", "gefShockBump", "Shock Bump:", "FRONT", PgHandling, 2, SecFrontWheels, "shock_bump=", 1, P::Whole, W::Edit, kText, KindShockBump, 126, Num, Spin},
    PageField{"efBumpstopLimit", "gefBumpstopLimit", "Bumpstop Limit:", "FRONT", PgHandling, 3, SecFrontWheels, "bumpstop_limit=", 1, P::Whole, W::Edit, kText, KindBumpstopLimit, 127, Num, Spin},
    PageField{"efBumpstopLength", "gefBumpstopLength", "Bumpstop Length:", "FRONT", PgHandling, 4, SecFrontWheels, "bumpstop_len=", 1, P::Whole, W::Edit, kText, KindBumpstopLength, 128, Num, Spin},
    PageField{"efShockRebound", "gefShockRebound", "Shock Rebound:", "FRONT", PgHandling, 5, SecFrontWheels, "shock_rebound=", 1, P::Whole, W::Edit, kText, KindShockRebound, 129, Num, Spin},
    PageField{"efCamber", "gefCamber", "Camber:", "FRONT", PgHandling, 6, SecFrontWheels, "camber=", 1, P::Whole, W::Edit, kText, KindCamber, 130, Num, Spin},
    PageField{"efAntiRollbar", "gefAntiRollbar", "Anti-Rollbar:", "FRONT", PgHandling, 7, SecSuspension, "rollbar_front=", 1, P::Whole, W::Edit, kText, KindAntiRollbar, 131, Num, Spin},
    PageField{"erSpringCoeff", "gerSpringCoeff", "Spring Co-efficiency:", "REAR", PgHandling, 8, SecRearWheels, "spring_coeff=", 1, P::Whole, W::Edit, kText, KindSpring, 124, Num, Spin},
    PageField{"erBumpstopCoeff", "gerBumpstopCoeff", "Bumpstop Co-efficiency:", "REAR", PgHandling, 9, SecRearWheels, "bumpstop_coeff=", 1, P::Whole, W::Edit, kText, KindBumpstopCoeff, 125, Num, Spin},
    PageField{"erShockBump", "gerShockBump", "Shock Bump:", "REAR", PgHandling, 10, SecRearWheels, "shock_bump=", 1, P::Whole, W::Edit, kText, KindShockBump, 126, Num, Spin},
    PageField{"erBumpstopLimit", "gerBumpstopLimit", "Bumpstop Limit:", "REAR", PgHandling, 11, SecRearWheels, "bumpstop_limit=", 1, P::Whole, W::Edit, kText, KindBumpstopLimit, 127, Num, Spin},
    PageField{"erBumpstopLength", "gerBumpstopLength", "Bumpstop Length:", "REAR", PgHandling, 12, SecRearWheels, "bumpstop_len=", 1, P::Whole, W::Edit, kText, KindBumpstopLength, 128, Num, Spin},
    PageField{"erShockRebound", "gerShockRebound", "Shock Rebound:", "REAR", PgHandling, 13, SecRearWheels, "shock_rebound=", 1, P::Whole, W::Edit, kText, KindShockRebound, 129, Num, Spin},
    PageField{"erCamber", "gerCamber", "Camber:", "REAR", PgHandling, 14, SecRearWheels, "camber=", 1, P::Whole, W::Edit, kText, KindCamber, 130, Num, Spin},
    PageField{"erAntiRollbar", "gerAntiRollbar", "Anti-Rollbar:", "REAR", PgHandling, 15, SecSuspension, "rollbar_rear=", 1, P::Whole, W::Edit, kText, KindAntiRollbar, 131, Num, Spin},
    PageField{"dlGeometry", "geGeometry", "Geometry:", "", PgHandling, 16, SecSuspension, "geometry=", 1, P::Whole, W::EditableList, kText, KindGeometry, 132, Txt, NoSpin, true},
    PageField{"eAntiPitch", "geAntiPitch", "Anti-Pitch Suspension:", "", PgHandling, 17, SecSuspension, "antipitch_susp=", 1, P::Whole, W::Edit, kText, KindAntiPitch, 133, Num, Spin},

    // ---- Performance (the torque chart is the window's) --------------------------------------------------
    PageField{"eIdleThrottle", "geIdleThrottle", "Idle Throttle:", "", PgPerformance, 41, SecEngine, "idle_throttle=", 1, P::Whole, W::Edit, kText, KindIdleThrottle, 134, Num, Spin},
    PageField{"eMaxRpm", "geMaxRpm", "Maximum RPM:", "", PgPerformance, 42, SecEngine, "maximum_rpm=", 1, P::Whole, W::Edit, kText, KindEngineRpm, 135, Num, Spin},
    PageField{"eAutoShiftRpm", "geAutoShiftRpm", "Auto-Shift RPM:", "", PgPerformance, 43, SecEngine, "auto_shift_rpm=", 1, P::Whole, W::Edit, kText, KindEngineRpm, 136, Num, Spin},
    PageField{"eEngineInertia", "geEngineInertia", "Engine Inertia:", "", PgPerformance, 44, SecEngine, "engine_inertia=", 1, P::Whole, W::Edit, kText, KindEngineInertia, 137, Num, Spin},
    PageField{"eEngineFriction", "geEngineFriction", "Engine Friction:", "", PgPerformance, 45, SecEngine, "engine_friction=", 1, P::Whole, W::Edit, kText, KindEngineFriction, 138, Num, Spin},
    PageField{"eThrottleRpmRatio", "geThrottleRpmRatio", "Throttle/rpm Ratio:", "", PgPerformance, 46, SecEngine, "throttle_rpm_ratio=", 1, P::Whole, W::Edit, kText, KindThrottleRatio, 139, Num, Spin},

    // ---- DriveTrain (gears step by their scroll bars, not by spin buttons) --------------------------------
    PageField{"eGearReverse", "geGearReverse", "Reverse Gear:", "Gear Ratios", PgDriveTrain, 2, SecGears, "gear_reverse=", 1, P::Whole, W::Edit, kRev, KindReverseGear, 148, Num, NoSpin},
    PageField{"eGear1", "geGear1", "1st Gear:", "Gear Ratios", PgDriveTrain, 3, SecGears, "gear=", 1, P::Whole, W::Edit, kGear, KindForwardGear, 149, Num, NoSpin},
    PageField{"eGear2", "geGear2", "2nd Gear:", "Gear Ratios", PgDriveTrain, 4, SecGears, "gear=", 2, P::Whole, W::Edit, kGear, KindForwardGear, 149, Num, NoSpin},
    PageField{"eGear3", "geGear3", "3rd Gear:", "Gear Ratios", PgDriveTrain, 5, SecGears, "gear=", 3, P::Whole, W::Edit, kGear, KindForwardGear, 149, Num, NoSpin},
    PageField{"eGear4", "geGear4", "4th Gear:", "Gear Ratios", PgDriveTrain, 6, SecGears, "gear=", 4, P::Whole, W::Edit, kGear, KindForwardGear, 149, Num, NoSpin},
    PageField{"eGear5", "geGear5", "5th Gear:", "Gear Ratios", PgDriveTrain, 7, SecGears, "gear=", 5, P::Whole, W::Edit, kGear, KindForwardGear, 149, Num, NoSpin},
    PageField{"eGear6", "geGear6", "6th Gear:", "Gear Ratios", PgDriveTrain, 8, SecGears, "gear=", 6, P::Whole, W::Edit, kGear, KindForwardGear, 149, Num, NoSpin},
    PageField{"eGearFinal", "geGearFinal", "Final Gear:", "Gear Ratios", PgDriveTrain, 1, SecDriveline, "final_drive_ratio=", 1, P::Whole, W::Edit, kGear, KindFinalGear, 150, Num, NoSpin},
    PageField{"cbDriveType", "geDriveType", "Drive:", "", PgDriveTrain, 0, SecDriveline, "drive=", 1, P::Whole, W::EditableList, kText, KindDriveType, 151, Txt, NoSpin},
    PageField{"eGearRpm2", "", "", "Upshift RPM", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindNone, 0, Txt, NoSpin},
    PageField{"eGearRpm3", "", "", "Upshift RPM", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindNone, 0, Txt, NoSpin},
    PageField{"eGearRpm4", "", "", "Upshift RPM", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindNone, 0, Txt, NoSpin},
    PageField{"eGearRpm5", "", "", "Upshift RPM", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindNone, 0, Txt, NoSpin},
    PageField{"eGearRpm6", "", "", "Upshift RPM", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindNone, 0, Txt, NoSpin},
    PageField{"eBestGear2", "", "", "Best Gear", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindForwardGear, 0, Txt, NoSpin},
    PageField{"eBestGear3", "", "", "Best Gear", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindForwardGear, 0, Txt, NoSpin},
    PageField{"eBestGear4", "", "", "Best Gear", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindForwardGear, 0, Txt, NoSpin},
    PageField{"eBestGear5", "", "", "Best Gear", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindForwardGear, 0, Txt, NoSpin},
    PageField{"eBestGear6", "", "", "Best Gear", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindForwardGear, 0, Txt, NoSpin},
    PageField{"eUpgraded6th", "", "Estimated 6th gear:", "", PgDriveTrain, -1, -1, "", 0, P::None, W::Display, 0, KindNone, 0, Txt, NoSpin},

    // ---- Other --------------------------------------------------------------------------------------------
    PageField{"eMass", "geMass", "Mass Body Weight(kg):", "", PgOther, 0, SecBody, "mass=", 1, P::Whole, W::Edit, kText, KindMass, 140, Num, Spin},
    PageField{"eWeightDistribution", "geWeightDistribution", "Weight Distibution(%):", "", PgOther, 1, SecBody, "weight_distrib=", 1, P::Whole, W::Edit, kText, KindWeightDistribution, 141, Num, Spin},
    PageField{"eCenterHeight", "geCenterHeight", "Center Height:", "", PgOther, 2, SecBody, "center_height=", 1, P::Whole, W::Edit, kText, KindCenterHeight, 142, Num, Spin},
    PageField{"eBodyInertia", "geBodyInertia", "Inertia:", "", PgOther, 6, SecBody, "inertia=", 1, P::Whole, W::Edit, kText, KindBodyInertia, 143, Num, NoSpin},
    PageField{"eEyePoint", "geEyePoint", "Eye Point:", "", PgOther, 7, SecBody, "eyepoint=", 1, P::Whole, W::Edit, kText, KindEyePoint, 147, Num, NoSpin},
    PageField{"eFuel", "geFuel", "Fuel:", "", PgOther, 3, SecBody, "fuel=", 1, P::Whole, W::Edit, kText, KindFuel, 144, Num, Spin},
    PageField{"eCapacity", "geCapacity", "Capacity:", "", PgOther, 4, SecBody, "capacity=", 1, P::Whole, W::Edit, kText, KindFuel, 145, Num, Spin},
    PageField{"cbDamage", "geDamage", "Damage:", "", PgOther, 5, SecBody, "damage=", 1, P::Whole, W::EditableList, kText, KindDamage, 146, Num, NoSpin},
    PageField{"eCollAll1", "geCollAll1", "Coll_All(1):", "Collision", PgOther, 8, SecBody, "coll_all=", 1, P::Whole, W::Edit, kText, KindCollAll, 0, Num, NoSpin},
    PageField{"eCollAll2", "geCollAll2", "Coll_All(2):", "Collision", PgOther, 9, SecBody, "coll_all=", 2, P::Whole, W::Edit, kText, KindCollAll, 0, Num, NoSpin},
    PageField{"eCollAll3", "geCollAll3", "Coll_All(3):", "Collision", PgOther, 10, SecBody, "coll_all=", 3, P::Whole, W::Edit, kText, KindCollAll, 0, Num, NoSpin},
    PageField{"eCollAll4", "geCollAll4", "Coll_All(4):", "Collision", PgOther, 11, SecBody, "coll_all=", 4, P::Whole, W::Edit, kText, KindCollAll, 0, Num, NoSpin},
    PageField{"eCollPlayer1", "geCollPlayer1", "Coll_Player(1):", "Collision", PgOther, 12, SecBody, "coll_player=", 1, P::Whole, W::Edit, kText, KindCollPlayer, 0, Num, NoSpin},
    PageField{"eCollPlayer2", "geCollPlayer2", "Coll_Player(2):", "Collision", PgOther, 13, SecBody, "coll_player=", 2, P::Whole, W::Edit, kText, KindCollPlayer, 0, Num, NoSpin},
    PageField{"eCollPlayer3", "geCollPlayer3", "Coll_Player(3):", "Collision", PgOther, 14, SecBody, "coll_player=", 3, P::Whole, W::Edit, kText, KindCollPlayer, 0, Num, NoSpin},
    PageField{"eCollPlayer4", "geCollPlayer4", "Coll_Player(4):", "Collision", PgOther, 15, SecBody, "coll_player=", 4, P::Whole, W::Edit, kText, KindCollPlayer, 0, Num, NoSpin},
    PageField{"eCollTop1", "geCollTop1", "Coll_Top(1):", "Collision", PgOther, 16, SecBody, "coll_top=", 1, P::Whole, W::Edit, kText, KindCollTop, 0, Num, NoSpin},
    PageField{"eCollTop2", "geCollTop2", "Coll_Top(2):", "Collision", PgOther, 17, SecBody, "coll_top=", 2, P::Whole, W::Edit, kText, KindCollTop, 0, Num, NoSpin},
    PageField{"eCollTop3", "geCollTop3", "Coll_Top(3):", "Collision", PgOther, 18, SecBody, "coll_top=", 3, P::Whole, W::Edit, kText, KindCollTop, 0, Num, NoSpin},
    PageField{"eCollTop4", "geCollTop4", "Coll_Top(4):", "Collision", PgOther, 19, SecBody, "coll_top=", 4, P::Whole, W::Edit, kText, KindCollTop, 0, Num, NoSpin},
};

// clang-format on

// Where each page's rows begin in kFields; the rows are sorted by page.
constexpr std::array<std::size_t, kPageCount + 1> pageStarts() {
    std::array<std::size_t, kPageCount + 1> starts{};
    std::size_t i = 0;
    for (int page = 0; page < kPageCount; ++page) {
        starts[static_cast<std::size_t>(page)] = i;
        while (i < kFields.size() && kFields[i].page == page)
            ++i;
    }
    starts[kPageCount] = i;
    return starts;
}
constexpr auto kPageStarts = pageStarts();
static_assert(kPageStarts[kPageCount] == kFields.size(), "the page tables must be sorted by page");

constexpr std::array<std::string_view, kPageCount> kCaptions{"Details",     "Tires",      "Aerodynamics", "Handling",
                                                             "Performance", "DriveTrain", "Other"};
constexpr std::array<std::string_view, kPageCount> kPageNames{
    "pgDetails", "pgTires", "pgAerodynamics", "pgHandling", "pgPerformance", "pgDriveTrain", "pgOther"};

std::size_t checkedPage(int page) {
    if (page < 0 || page >= kPageCount)
        throw std::out_of_range("page " + std::to_string(page) + " is not a page of the editor window");
    return static_cast<std::size_t>(page);
}

} // namespace

std::span<const PageField> pageFields(int page) {
    const std::size_t p = checkedPage(page);
    return std::span<const PageField>(kFields).subspan(kPageStarts[p], kPageStarts[p + 1] - kPageStarts[p]);
}

std::span<const PageField> allPageFields() {
    return kFields;
}

const PageField* findPageField(std::string_view name) {
    if (name.empty())
        return nullptr;
    for (const PageField& field : kFields)
        if (field.name == name || field.ghostName == name)
            return &field;
    return nullptr;
}

std::string_view pageCaption(int page) {
    return kCaptions[checkedPage(page)];
}

std::string_view pageName(int page) {
    return kPageNames[checkedPage(page)];
}

std::string_view groupHeading(const PageField& field) {
    static constexpr std::array<std::string_view, kPageCount> kUngrouped{"Vehicle", "Controls", "Body", "Suspension",
                                                                         "Engine",  "Drive",    "Body"};
    return field.group.empty() ? kUngrouped[checkedPage(field.page)] : field.group;
}

} // namespace qora::editor
