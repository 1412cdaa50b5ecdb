#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "calc/engine_curve.h"
#include "chart/line_data.h"
#include "editor/vehicle_summary.h"
#include "support/veh_fixture.h"
#include "vehicle/vehicle_file.h"

using namespace qora;
using namespace qora::editor;
using namespace qora::testing;

namespace {

// The new-vehicle template as the editor shows it right after opening it.
struct TemplateSource : VehFixture {
    VehicleFile vehicle;
    SummarySource source;

    TemplateSource() : vehicle(open(dir.file("New.veh"))) {
        vehicle.load(VehicleFile::ModeNew);
        source = summarySource(vehicle, settings);
    }
};

const SummaryPage& pageNamed(const VehicleSummary& summary, std::string_view caption) {
    const auto it = std::find_if(summary.pages.begin(), summary.pages.end(),
                                 [&](const SummaryPage& page) { return page.caption == caption; });
    if (it == summary.pages.end())
        throw std::runtime_error("no page " + std::string(caption));
    return *it;
}

const SummaryRow& rowOf(const VehicleSummary& summary, std::string_view caption, std::string_view label,
                        std::string_view group = {}) {
    for (const SummaryRow& row : pageNamed(summary, caption).rows)
        if (row.label == label && (group.empty() || row.group == group))
            return row;
    throw std::runtime_error("no row " + std::string(label));
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(VehicleSummary, ShowsEveryPageValueWithItsLabelUnitAndGroup) {
    TemplateSource t;
    EXPECT_TRUE(t.prompt.calls.empty());
    const VehicleSummary summary = buildSummary(t.source);
    EXPECT_FALSE(summary.compare);
    EXPECT_EQ(summary.title, "QORA Vehicle Summary");
    EXPECT_EQ(summary.first.description, "GT2 #6 BMW M3");
    EXPECT_EQ(summary.first.path, t.vehicle.fileName);

    // The seven pages in tab order; the template has none of the optional sections.
    std::vector<std::string> captions;
    for (const SummaryPage& page : summary.pages)
        captions.push_back(page.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Details", "Tires", "Aerodynamics", "Handling", "Performance",
                                                  "DriveTrain", "Other"}));

    const SummaryRow& pressure = rowOf(summary, "Tires", "Pressure", "REAR");
    EXPECT_EQ(pressure.unit, "kPa");
    EXPECT_EQ(pressure.value, "155.0000"); // as the page shows it, not reformatted
    EXPECT_EQ(rowOf(summary, "Other", "Mass Body Weight").unit, "kg");
    EXPECT_EQ(rowOf(summary, "Other", "Coll_All(1)").unit, ""); // a number in parentheses is no unit
    EXPECT_EQ(rowOf(summary, "Aerodynamics", "Angle", "Front AirDam").unit, "rad");
    EXPECT_EQ(rowOf(summary, "Aerodynamics", "Angle", "Front AirDam").value, "0.1748");
    EXPECT_EQ(rowOf(summary, "Details", "Aggression", "Driver #2").value, "0.7");
    EXPECT_EQ(rowOf(summary, "Details", "Race %").value, "Random");
    EXPECT_EQ(rowOf(summary, "DriveTrain", "6th Gear").value, "0.000");

    // The computed displays are not values of the vehicle.
    for (const SummaryRow& row : pageNamed(summary, "DriveTrain").rows)
        EXPECT_FALSE(row.label.empty() || row.label.starts_with("Estimated")) << row.label;

    // The engine curve: its figures and the points that carry torque, in Nm.
    EXPECT_EQ(rowOf(summary, "Performance", "Peak Torque").value, "473 ft-lbs @5000rpm");
    const SummaryRow& point = rowOf(summary, "Performance", "Torque at 5000 rpm", "Torque Curve");
    EXPECT_EQ(point.unit, "Nm");
    EXPECT_EQ(point.value, "633.00");
    EXPECT_THROW(rowOf(summary, "Performance", "Torque at 0 rpm"), std::runtime_error);
    EXPECT_EQ(summary.differenceCount(), 0);
}

TEST(VehicleSummary, ComparesNumbersAsNumbersAndTextsAsTexts) {
    TemplateSource t;
    SummarySource ghost = t.source;
    ghost.path = "ghost.veh";
    ghost.texts["eDescription"] = "Other Car";
    ghost.texts["eMass"] = "1125"; // the same number as "1125.0"
    ghost.texts["eCost"] = "500000";
    ghost.texts["efCamber"] = "-0.0402";
    ghost.texts["eGear6"] = "0.850"; // a gear the vehicle shows as 0.000
    ghost.texts["dlGeometry"] = "VIPER";
    ghost.torqueNm[10] = 650.0;

    const VehicleSummary summary = buildCompareSummary(t.source, ghost);
    EXPECT_TRUE(summary.compare);
    EXPECT_EQ(summary.title, "QORA Vehicle Compare Summary");
    EXPECT_EQ(summary.second.heading, "Ghost");
    EXPECT_EQ(summary.second.description, "Other Car");

    const SummaryRow& mass = rowOf(summary, "Other", "Mass Body Weight");
    EXPECT_EQ(mass.other, "1125");
    EXPECT_FALSE(mass.differs);
    EXPECT_TRUE(mass.differenceText.empty());

    const SummaryRow& cost = rowOf(summary, "Details", "Cost");
    EXPECT_TRUE(cost.differs);
    EXPECT_EQ(cost.differenceText, "+100000");
    EXPECT_EQ(cost.difference, 100000.0);
    EXPECT_EQ(cost.percentText, "+25.0%");
    EXPECT_EQ(cost.percent, 25.0);

    // The difference is written with the decimals of the more precise text, its sign always shown.
    const SummaryRow& camber = rowOf(summary, "Handling", "Camber", "FRONT");
    ASSERT_TRUE(camber.differs);
    EXPECT_EQ(camber.value, "-0.0352");
    EXPECT_EQ(camber.differenceText, "-0.0050");
    EXPECT_EQ(camber.difference, -0.005);
    EXPECT_EQ(camber.percentText, "-14.2%"); // relative to the size of the vehicle's value

    const SummaryRow& gear = rowOf(summary, "DriveTrain", "6th Gear");
    EXPECT_EQ(gear.differenceText, "+0.850");
    EXPECT_FALSE(gear.percent.has_value()); // no percentage of nothing
    EXPECT_TRUE(gear.percentText.empty());

    const SummaryRow& geometry = rowOf(summary, "Handling", "Geometry");
    EXPECT_TRUE(geometry.differs);
    EXPECT_FALSE(geometry.difference.has_value());
    EXPECT_TRUE(rowOf(summary, "Details", "Description").differs);

    const SummaryRow& torque = rowOf(summary, "Performance", "Torque at 5000 rpm");
    EXPECT_EQ(torque.differenceText, "+17.00");
    EXPECT_EQ(summary.differenceCount(), 6);

    const VehicleSummary changed = differencesOnly(summary);
    EXPECT_EQ(changed.rowCount(), 6);
    EXPECT_THROW(pageNamed(changed, "Tires"), std::runtime_error);
    EXPECT_EQ(changed.differenceCount(), 6);
}

TEST(VehicleSummary, RowsThatOnlyOneVehicleHasAreShownAgainstAnEmptyValue) {
    TemplateSource t;
    SummarySource ghost = t.source;
    ghost.sideValues["PARTS.turbo_charger"] = "2";
    ghost.sideValues["QORA.OriginalAuthor"] = "Someone";
    ghost.torqueNm[39] = 120.0; // a point the vehicle's curve does not reach

    const VehicleSummary summary = buildCompareSummary(t.source, ghost);
    const SummaryRow& turbo = rowOf(summary, "Vehicle Modification Parts", "Turbo");
    EXPECT_EQ(turbo.value, "");
    EXPECT_EQ(turbo.other, "2");
    EXPECT_TRUE(turbo.differs);
    EXPECT_FALSE(turbo.difference.has_value());
    EXPECT_EQ(pageNamed(summary, "Vehicle Modification Parts").rows.size(), 14u);
    EXPECT_TRUE(rowOf(summary, "Author Information", "Original Author").differs);
    EXPECT_THROW(pageNamed(summary, "AI Basis"), std::runtime_error);

    const SummaryRow& point = rowOf(summary, "Performance", "Torque at 19500 rpm");
    EXPECT_EQ(point.value, "0.00");
    EXPECT_EQ(point.other, "120.00");
    EXPECT_FALSE(point.percent.has_value());

    // The single summary of the ghost lists the sections it has.
    EXPECT_NO_THROW(pageNamed(buildSummary(ghost), "Author Information"));
    EXPECT_THROW(pageNamed(buildSummary(t.source), "Author Information"), std::runtime_error);
}

TEST(VehicleSummary, PlainTextLinesUpItsColumnsAndMarksDifferences) {
    TemplateSource t;
    SummarySource ghost = t.source;
    ghost.path = "ghost.veh";
    ghost.texts["eCost"] = "300000";
    ghost.texts["eDescription"] = "A rather longer description";
    ghost.texts["eTeamName"] = "Caf\xe9"; // Latin-1 from the file, written as UTF-8
    const std::string text = summaryText(buildCompareSummary(t.source, ghost));
    const std::vector<std::string> lines = linesOf(text);

    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "QORA Vehicle Compare Summary");
    EXPECT_EQ(lines[1], "Vehicle: GT2 #6 BMW M3  (" + t.vehicle.fileName + ")");
    EXPECT_EQ(lines[2], "Ghost:   A rather longer description  (ghost.veh)");
    EXPECT_EQ(lines[3], "3 values differ.");

    // Every row's values start in the same columns as the headings above them.
    const auto heading =
        std::find_if(lines.begin(), lines.end(), [](const std::string& line) { return line.starts_with("  Tires "); });
    ASSERT_NE(heading, lines.end());
    const std::size_t vehicleColumn = heading->find("Vehicle");
    const std::size_t ghostColumn = heading->find("Ghost");
    const std::size_t differenceColumn = heading->find("Difference");
    ASSERT_NE(vehicleColumn, std::string::npos);
    const auto cost = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& line) { return line.starts_with("*     Cost "); });
    ASSERT_NE(cost, lines.end()) << text;
    EXPECT_EQ(cost->substr(vehicleColumn, 7), "400000 ");
    EXPECT_EQ(cost->substr(ghostColumn, 7), "300000 ");
    EXPECT_EQ(cost->substr(differenceColumn), "-100000 (-25.0%)");

    // Grouped rows stand under their group's heading, further in.
    const auto front = std::find(lines.begin(), lines.end(), "    FRONT");
    ASSERT_NE(front, lines.end());
    EXPECT_TRUE(std::next(front)->starts_with("      Pressure ")) << *std::next(front);
    for (const std::string& line : lines)
        EXPECT_FALSE(line.ends_with(" ")) << "'" << line << "'";
    const auto team = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& line) { return line.starts_with("*     Team Name "); });
    ASSERT_NE(team, lines.end());
    EXPECT_EQ(team->substr(ghostColumn), "Caf\xc3\xa9");

    // A single summary has one value column and no difference sentence.
    const std::string single = summaryText(buildSummary(t.source));
    EXPECT_EQ(linesOf(single)[1], "GT2 #6 BMW M3  (" + t.vehicle.fileName + ")");
    EXPECT_EQ(single.find("Difference"), std::string::npos);
    EXPECT_EQ(single.find("* "), std::string::npos);
}

TEST(VehicleSummary, HtmlEscapesEveryTextAndHighlightsDifferingRows) {
    TemplateSource t;
    SummarySource ghost = t.source;
    ghost.path = "a&b.veh";
    ghost.texts["eDescription"] = "<script>alert('x')</script>";
    ghost.texts["eTeamName"] = "Caf\xe9 \"Racing\""; // Latin-1 from the file
    const std::string page = summaryHtml(buildCompareSummary(t.source, ghost));

    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>"));
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("a&amp;b.veh"), std::string::npos);
    EXPECT_NE(page.find("Caf\xc3\xa9 &quot;Racing&quot;"), std::string::npos);
    EXPECT_NE(page.find("<title>QORA Vehicle Compare Summary</title>"), std::string::npos);

    // Exactly the two differing rows are highlighted.
    std::size_t highlighted = 0;
    for (std::size_t at = page.find("<tr class=\"differs\""); at != std::string::npos;
         at = page.find("<tr class=\"differs\"", at + 1))
        ++highlighted;
    EXPECT_EQ(highlighted, 2u);
    EXPECT_NE(page.find("2 values differ."), std::string::npos);
    EXPECT_EQ(summaryHtml(buildSummary(t.source)).find("class=\"differs\""), std::string::npos);
}

TEST(VehicleSummary, TorqueHeldInFootPoundsIsShownInNewtonMetres) {
    LineData line;
    line.unit = TorqueFtLbs;
    line.points = {{0.0, 0, 0}, {74.7, 0, 0}, {0.0, 0, 0}};
    const std::vector<double> nm = summaryTorqueNm(line);
    ASSERT_EQ(nm.size(), 3u);
    EXPECT_NEAR(nm[1], 100.0, 1e-9);
    line.unit = TorqueNm;
    EXPECT_EQ(summaryTorqueNm(line)[1], 74.7);
}

TEST(VehicleSummary, AnglesInDegreesCarryTheirUnit) {
    TemplateSource t;
    t.settings.anglesInDegrees = true;
    const SummarySource source = summarySource(t.vehicle, t.settings);
    EXPECT_TRUE(source.anglesInDegrees);
    const VehicleSummary summary = buildSummary(source);
    EXPECT_EQ(rowOf(summary, "Aerodynamics", "Angle", "Rear Spoiler").unit, "deg");
    EXPECT_EQ(rowOf(summary, "Aerodynamics", "Angle", "Front AirDam").value, "10.0");
    EXPECT_TRUE(t.settings.anglesInDegrees); // the caller's settings are not touched
}
