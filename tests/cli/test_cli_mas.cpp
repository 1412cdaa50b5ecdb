#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"
#include "support/mas_builder.h"

using namespace qora::testing;
using Json = nlohmann::json;

namespace {

const std::string kUsageHint = "Run 'qora-cli --help' or 'qora-cli COMMAND --help' for usage.\n";

MasBuilder garage() {
    MasBuilder b;
    b.add("DEFAULT.VHS", "[BODY]\r\n")
        .add("CAFE.VEH", vehicleText("Caf\xE9 Racer", "GT", "250"))
        .add("RALLY.VEH", vehicleText("Rally Car", "Rally"));
    return b;
}

} // namespace

TEST(CliMas, ListPrintsTheDirectoryAsTextAndJson) {
    TempDir dir;
    const MasBuilder b = garage();
    writeBytes(dir.file("Vehicle.Mas"), b.bytes());

    auto r = runCli(dir, {"mas", "list", "Vehicle.Mas"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "DEFAULT.VHS\t\t\t\nCAFE.VEH\tGT\t250\tCaf\xE9 Racer\nRALLY.VEH\tRally\t\tRally Car\n");
    EXPECT_EQ(r.err, "");

    r = runCli(dir, {"mas", "list", "--json", "Vehicle.Mas"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["count"], 3);
    EXPECT_EQ(j["data_size"], b.bytes().size() - 8 - 3 * 32);
    ASSERT_EQ(j["entries"].size(), 3u);
    const Json& cafe = j["entries"][1];
    std::vector<std::string> keys;
    const auto ordered = nlohmann::ordered_json::parse(r.out);
    for (const auto& [key, value] : ordered.items())
        keys.push_back(key);
    for (const auto& [key, value] : ordered["entries"][1].items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"count", "data_size", "entries", "name", "desc", "class", "unlock",
                                              "offset", "size"}));
    EXPECT_EQ(cafe["name"], "CAFE.VEH");
    EXPECT_EQ(cafe["desc"], "Caf\xC3\xA9 Racer");
    EXPECT_EQ(cafe["class"], "GT");
    EXPECT_EQ(cafe["unlock"], "250");
    EXPECT_EQ(cafe["offset"], b.offsets()[1]);
    EXPECT_EQ(cafe["size"], vehicleText("Caf\xE9 Racer", "GT", "250").size());
    EXPECT_EQ(j["entries"][0]["desc"], "");
}

TEST(CliMas, ReadingErrorsAndTheSizeQuestion) {
    TempDir dir;
    writeBytes(dir.file("short.mas"), "abc");
    auto r = runCli(dir, {"mas", "list", "short.mas"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qora-cli: Unexpected End Of File reading vehicle.mas header.\n");
    EXPECT_EQ(r.out, "");

    std::filesystem::create_directory(dir.file("folder.mas"));
    r = runCli(dir, {"mas", "extract", "folder.mas", "X.VEH"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qora-cli: The specified vehicle.mas file was invalid -> [folder.mas].\n");

    // Bytes after the data region: the size question, answered No unless --force.
    writeBytes(dir.file("long.mas"), garage().trailing("xyz").bytes());
    r = runCli(dir, {"mas", "list", "long.mas"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("qora-cli: QORA MAS Scan: Vehicle.mas file header invalid or file is corrupt.  "),
              std::string::npos);
    EXPECT_TRUE(r.err.ends_with("Continue anyway? [answered no]\nqora-cli: MAS File load aborted.\n")) << r.err;
    r = runCli(dir, {"mas", "list", "--force", "long.mas"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 12), "DEFAULT.VHS\t");

    writeBytes(dir.file("bad.mas"), MasBuilder().add("NOKEYS.VEH", "mass=1\r\n").bytes());
    r = runCli(dir, {"mas", "list", "--json", "bad.mas"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qora-cli: FATAL: File [NOKEYS.VEH] contains no valid Vehicle Description (car name).  Your "
                     "vehicle.mas file may be corrupt.\n");

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"mas"},
                                               {"mas", "list"},
                                               {"mas", "extract", "a.mas"},
                                               {"mas", "replace", "a.mas", "X"},
                                               {"mas", "pack", "a.mas"},
                                               {"mas", "list", "--bogus", "a.mas"}}) {
        r = runCli(dir, args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_TRUE(r.err.ends_with(kUsageHint)) << r.err;
    }
}

TEST(CliMas, ExtractWritesAnEntrysBytes) {
    TempDir dir;
    writeBytes(dir.file("Vehicle.Mas"), garage().add("../UP.VEH", vehicleText("Up", "GT")).bytes());

    auto r = runCli(dir, {"mas", "extract", "Vehicle.Mas", "rally.veh"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readBytes(dir.file("rally.veh")), vehicleText("Rally Car", "Rally"));

    r = runCli(dir, {"mas", "extract", "-o", "out.txt", "Vehicle.Mas", "CAFE.VEH"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readBytes(dir.file("out.txt")), vehicleText("Caf\xE9 Racer", "GT", "250"));
#ifdef _WIN32
    r = runCli(dir, {"mas", "extract", "-o", "NUL", "Vehicle.Mas", "CAFE.VEH"});
#else
    r = runCli(dir, {"mas", "extract", "-o", "/dev/null", "Vehicle.Mas", "CAFE.VEH"});
#endif
    EXPECT_EQ(r.exitCode, 0) << r.err;

    r = runCli(dir, {"mas", "extract", "Vehicle.Mas", "NONE.VEH"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qora-cli: Selected entry could not be located in the in-memory vehicle.mas file.  Make sure "
                     "that no other programs are running that alter your vehicle.mas file.  You will have to reload "
                     "the file into QORA.\n");

    // A name that is a path is never used as the output file.
    r = runCli(dir, {"mas", "extract", "Vehicle.Mas", "../up.veh"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qora-cli: The entry name [../up.veh] is not a plain file name (it holds \"/\", \"\\\", \":\" "
                     "or \"..\").  Give the output file with -o.\n");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir.path()).parent_path() / "up.veh"));
    r = runCli(dir, {"mas", "extract", "-o", "up.veh", "Vehicle.Mas", "../up.veh"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readBytes(dir.file("up.veh")), vehicleText("Up", "GT"));
}

TEST(CliMas, ReplaceRebuildsTheArchive) {
    TempDir dir;
    writeBytes(dir.file("Vehicle.Mas"), garage().bytes());
    const std::string edited = vehicleText("Caf\xE9 Racer II", "GT", "900") + std::string(64, '-');
    writeBytes(dir.file("edited.veh"), edited);

    auto r = runCli(dir, {"mas", "replace", "Vehicle.Mas", "cafe.veh", "edited.veh"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    MasBuilder expected;
    expected.add("DEFAULT.VHS", "[BODY]\r\n")
        .add("CAFE.VEH", edited)
        .add("RALLY.VEH", vehicleText("Rally Car", "Rally"));
    EXPECT_EQ(readBytes(dir.file("Vehicle.Mas")), expected.bytes());

    r = runCli(dir, {"mas", "replace", "Vehicle.Mas", "NEW.VEH", "edited.veh"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qora-cli: File [NEW.VEH] was not found in vehicle.mas file.  If you wish to insert/delete "
                     "objects in a MAS file, use a MAS reader/writer which is specifically designed for this "
                     "purpose.  Save cancelled.\n");
    r = runCli(dir, {"mas", "replace", "Vehicle.Mas", "CAFE.VEH", "missing.veh"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("qora-cli: cannot open 'missing.veh': ", 0), 0u) << r.err;
    EXPECT_EQ(readBytes(dir.file("Vehicle.Mas")), expected.bytes());
}
