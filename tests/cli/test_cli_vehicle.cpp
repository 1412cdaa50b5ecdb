#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"
#include "vehicle/veh_format.h"

using namespace qora;
using namespace qora::testing;
using Json = nlohmann::json;

namespace {

const std::string kUsageHint = "Run 'qora-cli --help' or 'qora-cli COMMAND --help' for usage.\n";

std::string templateWithStamp() {
    std::string out;
    for (const auto& l : veh::templateLines())
        out += l + "\r\n";
    return out + "// Editor=QORA 4.0\r\n";
}

void copyFixture(const TempDir& dir, const std::string& name, const std::string& as) {
    std::filesystem::copy_file(dataFile(name), dir.file(as));
}

} // namespace

TEST(CliConventions, VersionHelpAndUsageErrors) {
    TempDir dir;
    auto r = runCli(dir, {"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("qora-cli 4.0 (build ", 0), 0u) << r.out;

    r = runCli(dir, {"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("check"), std::string::npos);
    r = runCli(dir, {"set", "--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("--torque"), std::string::npos);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"bogus"}, {"check"}, {"check", "--nope", "x.veh"}, {"show", "a.veh", "b.veh"}}) {
        r = runCli(dir, args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_EQ(r.err.rfind("qora-cli: ", 0), 0u) << r.err;
        EXPECT_TRUE(r.err.ends_with(kUsageHint)) << r.err;
    }
}

TEST(CliNewAndSet, NewWritesTheTemplateAndSetRemovesSurplusGears) {
    TempDir dir;
    auto r = runCli(dir, {"new", "x.veh"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readBytes(dir.file("x.veh")), templateWithStamp());

    r = runCli(dir, {"check", "x.veh"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "x.veh: ok\n");

    const std::string before = readBytes(dir.file("x.veh"));
    r = runCli(dir, {"set", "x.veh", "GEARS.gear[3]=0"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readBytes(dir.file("x.veX")), before);
    const std::string after = readBytes(dir.file("x.veh"));
    EXPECT_NE(after.find("gear=(3.570)\r\ngear=(2.315)\r\n\r\n[FRONTWHEELS]"), std::string::npos);
    EXPECT_EQ(after.find("gear=(1.549)"), std::string::npos);
}

TEST(CliNewAndSet, AssignmentsReachTheirKeys) {
    TempDir dir;
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", "x.veh"}).exitCode, 0);
    auto r = runCli(dir, {"set", "x.veh", "-o", "y.veh", "--no-backup", "DETAILS.DescFile=My = Car",
                          "BODY.coll_all[2]=-0.700,0.000,-1.950", "body.MASS=990.0", "PARTS.abs=1",
                          "QORA.OriginalAuthor=Mo", "--torque", "0:0;500:100;1000:300;1500:200"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("y.veX")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.veX")));
    const std::string y = readBytes(dir.file("y.veh"));
    for (const char* line : {"//DescFile=My = Car\r\n", "coll_all=(-0.700,0.000,-1.950)\r\n", "mass=(990.0)\r\n",
                             "rpm_torque=(1500, 200)\r\nrpm_torque=(2000.0, 0.00)\r\n\r\n[DRIVELINE]",
                             "// Editor=QORA 4.0\r\n\r\n[QORA]\r\nOriginalAuthor=Mo\r\n\r\n[PARTS]\r\nabs=1\r\n"})
        EXPECT_NE(y.find(line), std::string::npos) << line;
    EXPECT_EQ(readBytes(dir.file("x.veh")), templateWithStamp());

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"set", "x.veh", "FOO.bar=1"},
             {"set", "x.veh", "BODY.wings=1"},
             {"set", "x.veh", "BODY.coll_all[5]=1"},
             {"set", "x.veh", "BODY.mass[x]=1"},
             {"set", "x.veh", "mass=1"},
             {"set", "x.veh", "--torque", "0:0;1000:5;1500:5"},
             {"set", "x.veh", "--torque", "0:0;500:abc;1000:5"}}) {
        r = runCli(dir, args);
        EXPECT_EQ(r.exitCode, 2) << args.back() << ": " << r.err;
        EXPECT_TRUE(r.err.ends_with(kUsageHint)) << r.err;
    }
    EXPECT_EQ(readBytes(dir.file("x.veh")), templateWithStamp()) << "usage errors write nothing";
}

TEST(CliNewAndSet, LoadAndSaveFailuresExitWithTheirMessage) {
    TempDir dir;
    copyFixture(dir, "body_header_lowercase.veh", "bad.veh");
    auto r = runCli(dir, {"set", "bad.veh", "BODY.mass=1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qora-cli: FATAL: Section [BODY] missing from VEH file.\n");

    ASSERT_EQ(runCli(dir, {"new", "x.veh"}).exitCode, 0);
    r = runCli(dir, {"set", "x.veh", "-o", "missing/folder/y.veh"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("qora-cli: Error saving file [missing/folder/y.veh]: ", 0), 0u) << r.err;

    copyFixture(dir, "template.veh", "car.txt");
    r = runCli(dir, {"set", "car.txt", "BODY.mass=1000.0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "qora-cli: [car.txt] contains an invalid file VEH extention and cannot be backed up.\n");
}

TEST(CliNewAndSet, MissingEntriesAreCreatedAndQuestionsNeedRepair) {
    TempDir dir;
    copyFixture(dir, "commented_mass.veh", "c.veh");
    ASSERT_EQ(runCli(dir, {"set", "c.veh", "BODY.mass=1000.0"}).exitCode, 0);
    EXPECT_NE(readBytes(dir.file("c.veh")).find("[BODY]\r\nmass=(1000.0)\r\n//mass=(1125.0)\r\n"), std::string::npos);

    copyFixture(dir, "invalid_triple.veh", "t.veh");
    auto r = runCli(dir, {"set", "t.veh", "BODY.mass=1000.0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.ends_with("qora-cli: File loading process aborted by user.\n")) << r.err;
    r = runCli(dir, {"set", "--repair", "t.veh", "BODY.inertia=1.0,2.0,3.0"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(readBytes(dir.file("t.veh")).find("inertia=(1.0,2.0,3.0)\r\n"), std::string::npos);
}

TEST(CliCheck, TextAndJsonReports) {
    TempDir dir;
    copyFixture(dir, "commented_mass.veh", "c.veh");
    copyFixture(dir, "missing_desc_class.veh", "m.veh");
    copyFixture(dir, "side_skirts_and_clutch_eff.veh", "s.veh");
    auto r = runCli(dir, {"check", "c.veh", "m.veh"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "c.veh: ok, 1 missing entry\n  [BODY]\n  mass=\n"
                     "m.veh: error: FATAL: '//DescFile=' OR '//DescClass=' missing.  File is either not a text VEH "
                     "file or is corrupt.\n");

    r = runCli(dir, {"check", "--json", "s.veh"});
    EXPECT_EQ(r.exitCode, 1);
    const Json j = Json::parse(r.out);
    ASSERT_EQ(j.size(), 1u);
    EXPECT_EQ(j[0]["path"], "s.veh");
    EXPECT_EQ(j[0]["ok"], false);
    EXPECT_EQ(j[0]["error"], "File loading process aborted by user.");
    ASSERT_EQ(j[0]["questions"].size(), 1u);
    EXPECT_EQ(j[0]["questions"][0]["title"], "QORA Veh File Validation");
    EXPECT_EQ(j[0]["questions"][0]["answer"], "cancel");
    EXPECT_EQ(r.err, "");

    r = runCli(dir, {"check", "--json", "--repair", "s.veh"});
    EXPECT_EQ(r.exitCode, 0);
    const Json repaired = Json::parse(r.out);
    EXPECT_EQ(repaired[0]["ok"], true);
    EXPECT_EQ(repaired[0]["error"], nullptr);
    EXPECT_EQ(repaired[0]["questions"].size(), 2u);
    EXPECT_EQ(repaired[0]["questions"][1]["answer"], "ok");
    EXPECT_EQ(readBytes(dir.file("s.veh")), readBytes(dataFile("side_skirts_and_clutch_eff.veh")))
        << "check never writes";

    r = runCli(dir, {"check", "--ghost", "s.veh"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "s.veh: ok\n");
}

TEST(CliShow, PrintsTheBufferAsJson) {
    TempDir dir;
    copyFixture(dir, "latin1_details.veh", "l.veh");
    auto r = runCli(dir, {"show", "l.veh"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["path"], "l.veh");
    EXPECT_EQ(j["lines"], 144);
    EXPECT_EQ(j["editor"], "");
    EXPECT_EQ(j["max_rpm"], 9000.0);
    EXPECT_EQ(j["max_torque"], 633.0);
    ASSERT_EQ(j["sections"].size(), 14u);
    EXPECT_EQ(j["sections"][0]["name"], "[DETAILS]");
    EXPECT_EQ(j["sections"][0]["entries"][4]["value"], "\xC3\x89quipe Fran\xC3\xA7" "aise");
    EXPECT_EQ(j["sections"][2]["entries"][9]["key"], "coll_all=");
    EXPECT_EQ(j["sections"][2]["entries"][9]["instance"], 2);
    EXPECT_EQ(j["sections"][2]["entries"][9]["value"], "-0.800,0.000,-1.950");
    EXPECT_EQ(j["sections"][13]["line"], -1);
    EXPECT_EQ(j["sections"][8]["entries"][6]["line"], -1);
    ASSERT_EQ(j["torque"].size(), 19u);
    EXPECT_EQ(j["torque"][1], (Json{{"rpm", "500.0"}, {"torque", "175.00"}, {"line", 74}}));
    EXPECT_EQ(j["missing"], Json::array());

    r = runCli(dir, {"show", "nothing.veh"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qora-cli: FATAL: File is either not a text VEH file or is corrupt: [nothing.veh]\n");
    EXPECT_EQ(r.out, "");
}
