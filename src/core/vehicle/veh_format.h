#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The layout of a vehicle file: its fourteen sections in the order the editor writes them, their keys, and
// which values are written bare and which in parentheses.
namespace qora::veh {

inline constexpr int kSectionCount = 14;

enum Section : int {
    SecDetails = 0, // the "//" detail lines at the top; never written as a header
    SecSounds,
    SecBody,
    SecAerodynamics,
    SecSuspension,
    SecControls,
    SecEngine,
    SecDriveline,
    SecGears,
    SecFrontWheels,
    SecRearWheels,
    SecAiBasis, // optional
    SecParts,   // optional
    SecQora,    // optional: the author data
};

// The section's name with brackets ("[BODY]"; "[DETAILS]" for the details).
std::string_view sectionName(int section);
// The keys of a section in file order, each with its "=" ("//DescFile=", "mass=", "gear=" six times ...).
std::span<const std::string_view> sectionKeys(int section);
// 1-based instance of key number `entry` among the same keys of its section (coll_all= 1..4, gear= 1..6).
int keyInstance(int section, int entry);
// Index of the entry with this key (with or without its "=", any letter case) and 1-based instance in the
// section; -1 when the section has no such key or instance.
int entryIndex(int section, std::string_view key, int instance = 1);
// The entry's value is written bare rather than in parentheses.
bool isBareValue(int section, int entry);
// The entry holds text that is never checked as a number (sound file names, geometry, drive, details, author data).
bool isTextEntry(int section, int entry);
// side_skirts= and clutch_eff=: entries the game misbehaves with, disabled on loading and never written.
bool isForbiddenKey(std::string_view key);
// Whether the section must be in every vehicle file (all but the three optional ones).
inline bool isRequiredSection(int section) {
    return section >= SecDetails && section <= SecRearWheels;
}

// The section with this name: "DETAILS" or a header name without brackets, any letter case; -1 when unknown.
int sectionByPlainName(std::string_view name);

// The 144 lines of the built-in new-vehicle template.
const std::vector<std::string>& templateLines();

// Marker put in front of a disabled side_skirts= or clutch_eff= line.
inline constexpr std::string_view kRemovedMarker = "//--REMOVED BY QORA--";

} // namespace qora::veh
