#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart/line_data.h"
#include "editor/page_model.h"

// "Copy From Ghost": the ghost's values put into the vehicle's fields, for the page in front or for every page.
// Only the fields' texts change, never the vehicle's buffer, so Undo Page on a page puts back the values that
// page had when the file was last opened or saved, whichever pages the copy touched.
namespace qora::editor {

enum class CopyScope { ActivePage, AllPages };

// One vehicle field and the ghost's text it takes.
struct FieldCopy {
    std::string name; // objectName of the vehicle's control
    std::string text; // what the ghost's twin shows
    int page = 0;
};

// The fields a copy changes, in page order: every field of the pages in scope that has a ghost twin, whose ghost
// text is not empty (an entry the ghost file lacks stays empty in its twin and is not copied) and differs from
// the vehicle's text. Both maps are keyed by the VEHICLE's objectNames; `ghost` holds what the twins show.
std::vector<FieldCopy> copyFromGhostPlan(const PageTexts& vehicle, const PageTexts& ghost, int activePage,
                                         CopyScope scope);

// Whether the pages in scope hold the engine curve (the Performance page).
bool scopeHasCurve(int activePage, CopyScope scope);

// The dialog's two choices: "Copy the ghost's DriveTrain page values" and "Copy the ghost's values on all pages".
std::string activePageChoiceText(int page);
inline constexpr std::string_view kAllPagesChoiceText = "Copy the ghost's values on all pages";

inline constexpr std::string_view kCopyFromGhostTitle = "QORA Copy From Ghost";
// Told when a copy would change nothing.
inline constexpr std::string_view kNothingToCopyText =
    "The vehicle already has the ghost's values there, so nothing was copied.";

// Whether the ghost's torque curve differs from the vehicle's (compared in the vehicle line's unit).
bool curvesDiffer(const LineData& ghostTorque, const LineData& torque);

// The ghost's torque curve put into the vehicle's torque line, converted to that line's unit; every power point
// follows in the power line's unit and both highest points are found again. The lines' active points stay.
// Returns whether any torque value changed; the chart then recomputes positions and redraws.
bool takeGhostCurve(const LineData& ghostTorque, LineData& torque, LineData& power);

} // namespace qora::editor
