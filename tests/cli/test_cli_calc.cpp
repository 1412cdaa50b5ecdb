#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"

using namespace qora::testing;
using Json = nlohmann::ordered_json;

namespace {

const std::string kUsageHint = "Run 'qora-cli --help' or 'qora-cli COMMAND --help' for usage.\n";

// A folder holding the built-in template written by `qora-cli new` as car.veh.
struct TemplateFolder {
    TempDir dir;
    TemplateFolder() { EXPECT_EQ(runCli(dir, {"new", "--no-backup", "car.veh"}).exitCode, 0); }
};

} // namespace

TEST(CliCurve, PrintsTheCurveAndFiguresInTheChosenUnits) {
    TemplateFolder f;
    auto r = runCli(f.dir, {"curve", "car.veh"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "473 ft-lbs @5000rpm\n517 hp @7500rpm\n");
    EXPECT_EQ(r.err, "");

    r = runCli(f.dir, {"curve", "--json", "--metric-text", "car.veh"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Json j = Json::parse(r.out);
    ASSERT_EQ(j["torque"].size(), 41u);
    ASSERT_EQ(j["power"].size(), 41u);
    EXPECT_EQ(j["torque"][10], 633.0);
    EXPECT_EQ(j["torque"][18], 0.0);
    EXPECT_NEAR(j["power"][15].get<double>(), 517.0598, 1e-4);
    EXPECT_EQ(j["torque_peak_index"], 10);
    EXPECT_EQ(j["power_peak_index"], 15);
    EXPECT_EQ(j["torque_label"], "633 Nm @5000rpm");
    EXPECT_EQ(j["power_label"], "386 kW @7500rpm");
    std::vector<std::string> keys;
    for (const auto& item : j.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"torque", "power", "torque_peak_index", "power_peak_index",
                                              "torque_label", "power_label"}));

    r = runCli(f.dir, {"curve", "--json", "--ftlbs", "--kw", "car.veh"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    j = Json::parse(r.out);
    EXPECT_DOUBLE_EQ(j["torque"][10].get<double>(), 633 * 0.747);
    EXPECT_NEAR(j["power"][15].get<double>(), 517.0598 * 0.747, 1e-4);
    EXPECT_EQ(j["torque_label"], "473 ft-lbs @5000rpm");
    EXPECT_EQ(j["power_label"], "517 hp @7500rpm");
}

TEST(CliGears, TheTemplateShowsWhatItsDriveTrainPageShows) {
    TemplateFolder f;
    auto r = runCli(f.dir, {"gears", "--json", "car.veh"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const Json expected = Json::parse(R"({
        "upshift": ["@ 4734 rpm", "@ 4885 rpm", "@ 4878 rpm", "@ 4867 rpm", "*"],
        "upshift_colour": ["red", "red", "red", "red", "normal"],
        "best": ["1.956", "1.246", "0.853", "0.643", "0.506"],
        "upgraded6th": "0.460",
        "peak_torque_rpm": 5000,
        "peak_power_rpm": 7500,
        "messages": []
    })");
    EXPECT_EQ(Json::parse(r.out), expected);

    r = runCli(f.dir, {"gears", "car.veh"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2nd: @ 4734 rpm  best 1.956\n"
                     "3rd: @ 4885 rpm  best 1.246\n"
                     "4th: @ 4878 rpm  best 0.853\n"
                     "5th: @ 4867 rpm  best 0.643\n"
                     "6th: *  best 0.506\n"
                     "Estimated 6th gear: 0.460\n");

    r = runCli(f.dir, {"gears", "--json", "--base", "power", "--mode", "none", "--basis", "prev", "car.veh"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Json j = Json::parse(r.out);
    EXPECT_EQ(j["upshift"], Json::parse(R"(["@ 4863 rpm", "@ 5018 rpm", "@ 5011 rpm", "@ 5000 rpm", "*"])"));
    EXPECT_EQ(j["upshift_colour"], Json::parse(R"(["red", "normal", "normal", "normal", "normal"])"));
    EXPECT_EQ(j["best"], Json::parse(R"(["2.445", "1.586", "1.061", "0.709", "0.473"])"));
    EXPECT_EQ(j["upgraded6th"], "0.473"); // 0.690 / 7300 x 5000
}

TEST(CliGears, ATypedBaseOutOfRangeShowsTheCalculatorsMessage) {
    TemplateFolder f;
    auto r = runCli(f.dir, {"gears", "--json", "--base", "1500", "car.veh"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["upshift"], Json::parse(R"(["", "", "", "", ""])"));
    EXPECT_EQ(j["upshift_colour"], Json::parse(R"(["", "", "", "", ""])"));
    // The estimate keeps the 5th gear's rpm from the Auto-Shift refresh made when the pages were filled.
    EXPECT_EQ(j["upgraded6th"], "0.460");
    const std::string text = "Base Upshift Rpm field contains an invalid rpm value.  The value must be in the range "
                             "2000-max rpm (7750).  Upshift RPM values cannot be calculated.";
    EXPECT_EQ(j["messages"], (Json::array({{{"title", "QORA Upshift Rpm Calculator"}, {"text", text}}})));

    r = runCli(f.dir, {"gears", "--base", "1500", "car.veh"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.starts_with("2nd:   best 1.956\n")) << r.out;
    EXPECT_TRUE(r.out.ends_with("Estimated 6th gear: 0.460\nQORA Upshift Rpm Calculator: " + text + "\n")) << r.out;

    r = runCli(f.dir, {"gears", "--json", "--base", "6000", "car.veh"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Json::parse(r.out)["upshift"][0], "@ 3891 rpm");
}

TEST(CliCalc, LoadFailuresAndUsageErrors) {
    TempDir dir;
    std::filesystem::copy_file(dataFile("body_header_lowercase.veh"), dir.file("bad.veh"));
    std::filesystem::create_directory(dir.file("folder.veh"));
    for (const char* command : {"curve", "gears"}) {
        auto r = runCli(dir, {command, "bad.veh"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "qora-cli: FATAL: Section [BODY] missing from VEH file.\n");
        EXPECT_EQ(r.out, "");
        r = runCli(dir, {command, "--json", "folder.veh"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "qora-cli: FATAL: File is either not a text VEH file or is corrupt: [folder.veh]\n");
    }

    // The loader's questions are answered Cancel, which aborts the load.
    std::filesystem::copy_file(dataFile("side_skirts_and_clutch_eff.veh"), dir.file("skirts.veh"));
    auto r = runCli(dir, {"gears", "skirts.veh"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.ends_with("qora-cli: File loading process aborted by user.\n")) << r.err;

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"gears", "--base", "fast", "bad.veh"},
                                               {"gears", "--mode", "linear", "bad.veh"},
                                               {"curve", "--nm", "bad.veh"},
                                               {"curve"}}) {
        r = runCli(dir, args);
        EXPECT_EQ(r.exitCode, 2) << args[1];
        EXPECT_TRUE(r.err.ends_with(kUsageHint)) << r.err;
    }
}
