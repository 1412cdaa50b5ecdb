#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"

using namespace qora::testing;
using Json = nlohmann::json;

namespace {

// Two vehicles from the template: a.veh as it is, b.veh with a heavier body, a shorter 2nd gear, a new name and
// an upgrade part.
void makePair(const TempDir& dir) {
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", "a.veh"}).exitCode, 0);
    const CliResult r =
        runCli(dir, {"set", "a.veh", "-o", "b.veh", "--no-backup", "BODY.mass=1200.5", "GEARS.gear[2]=1.900",
                     "DETAILS.DescFile=Rival <GT> & Co", "PARTS.turbo_charger=2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
}

std::size_t countOf(const std::string& text, const std::string& needle) {
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++count;
    return count;
}

} // namespace

TEST(CliDiff, TextComparisonMarksDifferencesAndExitsOneWhenTheyDiffer) {
    TempDir dir;
    makePair(dir);
    CliResult r = runCli(dir, {"diff", "a.veh", "b.veh"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.out.starts_with("QORA Vehicle Compare Summary\n"
                                  "A: GT2 #6 BMW M3  (a.veh)\n"
                                  "B: Rival <GT> & Co  (b.veh)\n"
                                  "4 values differ.\n"))
        << r.out;
    EXPECT_EQ(countOf(r.out, "\n* "), 4u) << r.out;
    EXPECT_NE(r.out.find("1125.0"), std::string::npos);
    EXPECT_NE(r.out.find("1200.5"), std::string::npos);
    EXPECT_NE(r.out.find("+75.5 (+6.7%)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("-0.415 (-17.9%)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n  Vehicle Modification Parts"), std::string::npos) << "a section only B has";
    EXPECT_NE(r.out.find("Torque at 5000 rpm"), std::string::npos);

    r = runCli(dir, {"diff", "--changed", "a.veh", "b.veh"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out.find("Torque at 5000 rpm"), std::string::npos) << "--changed keeps the differing rows only";
    EXPECT_EQ(r.out.find("Tires"), std::string::npos);
    EXPECT_EQ(countOf(r.out, "\n* "), 4u);

    r = runCli(dir, {"diff", "a.veh", "a.veh"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("The vehicles have the same values.\n"), std::string::npos);
    EXPECT_EQ(countOf(r.out, "\n* "), 0u);
}

TEST(CliDiff, JsonListsEveryRowWithNumbersForDifferences) {
    TempDir dir;
    makePair(dir);
    CliResult r = runCli(dir, {"diff", "--json", "a.veh", "b.veh"});
    ASSERT_EQ(r.exitCode, 1) << r.err;
    const Json doc = Json::parse(r.out);
    EXPECT_EQ(doc["a"]["path"], "a.veh");
    EXPECT_EQ(doc["b"]["description"], "Rival <GT> & Co");
    EXPECT_EQ(doc["differences"], 4);

    std::vector<std::string> captions;
    Json mass;
    Json gear;
    Json description;
    for (const Json& page : doc["pages"]) {
        captions.push_back(page["caption"]);
        for (const Json& row : page["rows"]) {
            if (row["label"] == "Mass Body Weight")
                mass = row;
            if (row["label"] == "2nd Gear")
                gear = row;
            if (row["label"] == "Description")
                description = row;
        }
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Details", "Tires", "Aerodynamics", "Handling", "Performance",
                                                  "DriveTrain", "Other", "Vehicle Modification Parts"}));
    EXPECT_EQ(mass, Json::parse(R"({"group": "Body", "label": "Mass Body Weight", "unit": "kg", "a": "1125.0",
                                   "b": "1200.5", "differs": true, "difference": 75.5, "percent": 6.7})"));
    EXPECT_EQ(gear["group"], "Gear Ratios");
    EXPECT_EQ(gear["difference"], -0.415);
    EXPECT_TRUE(description["differs"]);
    EXPECT_TRUE(description["difference"].is_null());
    EXPECT_TRUE(description["percent"].is_null());

    r = runCli(dir, {"diff", "--json", "--changed", "a.veh", "b.veh"});
    ASSERT_EQ(r.exitCode, 1);
    std::size_t rows = 0;
    const Json changed = Json::parse(r.out);
    for (const Json& page : changed["pages"])
        rows += page["rows"].size();
    EXPECT_EQ(rows, 4u);
}

TEST(CliDiff, LoadFailuresAndUsageErrors) {
    TempDir dir;
    makePair(dir);
    CliResult r = runCli(dir, {"diff", "a.veh", "missing.veh"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("qora-cli: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("[missing.veh]"), std::string::npos) << r.err;

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"diff"}, {"diff", "a.veh"}, {"diff", "--bogus", "a.veh", "b.veh"}}) {
        r = runCli(dir, args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_TRUE(r.err.ends_with("Run 'qora-cli --help' or 'qora-cli COMMAND --help' for usage.\n")) << r.err;
    }

    r = runCli(dir, {"diff", "--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Exit status: 0 the vehicles have the same values, 1 they differ"), std::string::npos);
}
