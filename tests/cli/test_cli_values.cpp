// qora-cli and the values a vehicle may hold: set refuses what would not read back, check reports numeric values
// that are not numbers, and JSON carries a path that is not UTF-8 without losing a byte.

#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"

using namespace qora::testing;
using Json = nlohmann::json;

namespace {

const std::string kUsageHint = "Run 'qora-cli --help' or 'qora-cli COMMAND --help' for usage.\n";

} // namespace

TEST(CliValues, SetRefusesValuesThatWouldNotReadBack) {
    TempDir dir;
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", "car.veh"}).exitCode, 0);
    const std::string before = readBytes(dir.file("car.veh"));
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"DETAILS.DescFile=Mustang // V8",
         "qora-cli: DETAILS.DescFile: \"Mustang // V8\" cannot be stored: it holds \"//\", which starts a comment in "
         "a vehicle file.  Leave out \"//\", line breaks, \"editor=\" and section names in square brackets such as "
         "\"[ENGINE]\".\n"},
        {"QORA.AuthorsNotes=see [ENGINE]", "it holds the section name \"[ENGINE]\""},
        {"ENGINE.maximum_rpm=77..50", "qora-cli: ENGINE.maximum_rpm: '77..50' is not a number"},
        {"AIBASIS.top_speed=fast", "'fast' is not a number"},
        {"ENGINE.auto_shift_rpm=", "'' is not a number"},
    };
    for (const auto& [assignment, message] : refused) {
        const CliResult r = runCli(dir, {"set", "car.veh", assignment});
        EXPECT_EQ(r.exitCode, 2) << assignment;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_TRUE(r.err.ends_with(kUsageHint));
    }
    EXPECT_EQ(readBytes(dir.file("car.veh")), before);
    EXPECT_EQ(
        runCli(dir, {"set", "--no-backup", "car.veh", "ENGINE.maximum_rpm=7750.0", "AIBASIS.top_speed=1.05"}).exitCode,
        0);
}

TEST(CliValues, CheckReportsNumericValuesThatAreNotNumbers) {
    TempDir dir;
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", "car.veh"}).exitCode, 0);
    std::string text = readBytes(dir.file("car.veh"));
    const auto replace = [&](const std::string& from, const std::string& to) {
        const auto at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, text.find(')', at) + 1 - at, to);
    };
    replace("maximum_rpm=(", "maximum_rpm=(77..50)");
    replace("auto_shift_rpm=(", "auto_shift_rpm=()");
    writeBytes(dir.file("car.veh"), text);

    CliResult r = runCli(dir, {"check", "car.veh"});
    EXPECT_EQ(r.exitCode, 1);
    const auto lineOf = [&](const std::string& key) {
        const auto at = text.find(key);
        return std::to_string(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    };
    EXPECT_EQ(r.out, "car.veh: error: 2 values are not numbers\n"
                     "  Line [" +
                         lineOf("auto_shift_rpm=") +
                         "] Entry 'auto_shift_rpm='\n"
                         "  Line [" +
                         lineOf("maximum_rpm=") + "] Entry 'maximum_rpm=77..50'\n");

    r = runCli(dir, {"check", "--json", "car.veh"});
    const Json report = Json::parse(r.out);
    EXPECT_FALSE(report[0]["ok"].get<bool>());
    EXPECT_EQ(report[0]["error"], "2 values are not numbers");
    EXPECT_EQ(report[0]["not_numbers"].size(), 2u);
}

#ifndef _WIN32
TEST(CliValues, JsonCarriesAPathThatIsNotUtf8WithoutLosingAByte) {
    TempDir dir;
    const std::string latin1 = "voiture\xe9.veh"; // a Latin-1 name, as copied from Windows
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", latin1}).exitCode, 0);
    CliResult r = runCli(dir, {"show", latin1});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Json doc = Json::parse(r.out);
    EXPECT_EQ(doc["path"], "voiture\u00e9.veh");
    EXPECT_EQ(doc["path_encoding"], "latin1");

    const std::string utf8 = "voiture\u00e9.veh";
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", utf8}).exitCode, 0);
    doc = Json::parse(runCli(dir, {"show", utf8}).out);
    EXPECT_EQ(doc["path"], utf8);
    EXPECT_FALSE(doc.contains("path_encoding"));
}
#endif

// Names in any script reach the files and come back unchanged: on Windows through the UTF-16 command line and
// file calls, elsewhere as the bytes they are.
TEST(CliValues, NamesInAnyScriptAreOpenedSavedAndReportedAsTyped) {
    TempDir dir;
    const std::string name = "Ma\u00efs \u00e9t\u00e9 \u0416\u0443\u043a \u8eca \U0001F3CE.veh";
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", name}).exitCode, 0);
    CliResult r = runCli(dir, {"set", name, "BODY.mass=1234.5"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(readBytes(dir.file(name)).find("mass=(1234.5)"), std::string::npos);
    // The backup lies beside it under the same name, its last letter changed.
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{name.substr(0, name.size() - 1) + "X", name}));
    r = runCli(dir, {"show", name});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json doc = Json::parse(r.out);
    EXPECT_EQ(doc["path"], name);
    EXPECT_FALSE(doc.contains("path_encoding"));
}
