#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/page_model.h"

// The vehicle summary: every value of a vehicle, page by page, with the pages' labels and units, as one table
// the user can read, paste into a forum post (plain text) or keep (HTML). The compare summary sets a second
// vehicle (the ghost) beside the first and marks each value that differs, with the difference for numbers.
//
// Values are taken as the pages show them (a PageTexts map, so the window can pass the texts the user sees,
// unsaved edits included), plus the engine curve of the Performance page and the three optional sections the side
// dialogs edit. Texts are the file's Latin-1 bytes throughout and paths the platform's file-name bytes (UTF-8);
// both renderings are UTF-8.
namespace qora {
class VehicleFile;
class Settings;
struct LineData;
} // namespace qora

namespace qora::editor {

inline constexpr std::string_view kSummaryTitle = "QORA Vehicle Summary";
inline constexpr std::string_view kCompareSummaryTitle = "QORA Vehicle Compare Summary";

// Everything a summary shows of one vehicle.
struct SummarySource {
    std::string path;
    PageTexts texts;              // the seven pages' field texts, keyed by the vehicle controls' objectNames
    std::vector<double> torqueNm; // the engine curve: point k is the torque at k x 500 rpm, in Nm; empty: none
    std::string peakTorque;       // the figures under the chart ("633 Nm @5000rpm"); empty: not shown
    std::string peakPower;
    PageTexts sideValues;         // the optional sections' values keyed "SECTION.key" ("PARTS.turbo_charger")
    bool anglesInDegrees = false; // the wing angles are shown in degrees rather than radians
};

// The source of a vehicle as the editor shows it right after opening it: the seven page loaders (without their
// messages), the engine curve in Nm with the figures in the settings' text units, the optional sections.
// The settings are copied, never changed.
SummarySource summarySource(const VehicleFile& vehicle, const Settings& settings);
// The optional sections' values of a vehicle's buffer, for SummarySource::sideValues.
PageTexts summarySideValues(const VehicleFile& vehicle);
// A torque line's values in Nm, whichever unit the line is held in (LineData::unit).
std::vector<double> summaryTorqueNm(const LineData& torqueLine);

// One value of the summary.
struct SummaryRow {
    std::string group; // the heading it stands under on its page ("FRONT", "Driver #1", ...); empty: none
    std::string label; // the page's label without its ":" and unit ("Pressure")
    std::string unit;  // "kPa", "kg", "%", "deg", "Nm", ...; empty: none
    std::string value;
    // Compare summaries only.
    std::string other;
    bool differs = false;
    // Both values are numbers that differ: other - value, written with as many decimals as the more precise of the
    // two texts and a sign ("+30000", "-0.050"); and that difference relative to the size of value ("+25.0%"), so
    // it has the difference's sign; absent when value is 0.
    std::optional<double> difference;
    std::string differenceText;
    std::optional<double> percent;
    std::string percentText;
};

struct SummaryPage {
    std::string caption; // "Details" ... "Other", then "AI Basis", "Vehicle Modification Parts", "Author Information"
    std::vector<SummaryRow> rows;
};

// The name, description and path of one vehicle column.
struct SummaryColumn {
    std::string heading; // "Value" for a single summary; "Vehicle", "Ghost" (or "A", "B") for a comparison
    std::string description;
    std::string path;
};

struct VehicleSummary {
    bool compare = false;
    std::string title; // kSummaryTitle or kCompareSummaryTitle
    SummaryColumn first;
    SummaryColumn second; // compare only
    std::vector<SummaryPage> pages;

    int rowCount() const;
    int differenceCount() const;
};

// The summary of one vehicle.
VehicleSummary buildSummary(const SummarySource& vehicle, std::string_view heading = "Value");
// The two vehicles side by side. Numbers (both texts read as numbers) are compared as numbers, so "1.50" equals
// "1.5"; anything else is compared as text. An optional section or engine-curve point that only one vehicle has
// is shown with an empty value on the other side.
VehicleSummary buildCompareSummary(const SummarySource& first, const SummarySource& second,
                                   std::string_view firstHeading = "Vehicle", std::string_view secondHeading = "Ghost");
// The same summary keeping only the rows that differ (pages left without a row are dropped).
VehicleSummary differencesOnly(const VehicleSummary& summary);

// Plain text in aligned columns, each differing row marked with "*" at the start of its line; lines end with "\n".
std::string summaryText(const VehicleSummary& summary);
// A self-contained HTML document (UTF-8, inline style) with every text escaped and the differing rows highlighted.
std::string summaryHtml(const VehicleSummary& summary);

} // namespace qora::editor
