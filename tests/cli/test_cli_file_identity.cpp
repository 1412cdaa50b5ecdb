// qora-cli with the files modders really have: two scripts changing one file at once, pipes and devices where a
// vehicle is expected, a read-only file and a backup that cannot be made, seen as an ordinary user.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/cli_runner.h"
#include "support/mas_builder.h"

using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

// Runs a shell command in the folder; its exit status.
int shell(const TempDir& dir, const std::string& command) {
    const int status = std::system(("cd " + shellQuote(dir.path()) + " && " + command).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string cli() {
    return shellQuote(QORA_CLI_PATH);
}

// The command prefix that runs a program as an ordinary user; empty when the tests already run as one, nothing
// when no ordinary user can be had.
std::optional<std::string> asOrdinaryUser(const TempDir& dir) {
    if (::geteuid() != 0)
        return std::string();
    const std::string prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    if (shell(dir, prefix + "true") != 0)
        return std::nullopt;
    shell(dir, "chown -R 65534:65534 .");
    return prefix;
}

} // namespace

TEST(CliFileIdentity, TwoSetsAtOnceBothLand) {
    TempDir dir;
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", "car.veh"}).exitCode, 0);
    for (int round = 0; round < 20; ++round) {
        const std::string mass = std::to_string(1000 + round) + ".0";
        const std::string fuel = "0." + std::to_string(300 + round);
        const int status = shell(dir, "(" + cli() + " set --no-backup car.veh BODY.mass=" + mass + " & a=$!; " +
                                          cli() + " set --no-backup car.veh BODY.fuel=" + fuel +
                                          " & b=$!; wait $a && wait $b) 2>errors");
        ASSERT_EQ(status, 0) << readBytes(dir.file("errors"));
        const std::string bytes = readBytes(dir.file("car.veh"));
        ASSERT_NE(bytes.find("mass=(" + mass + ")"), std::string::npos) << "round " << round << " lost the mass";
        ASSERT_NE(bytes.find("fuel=(" + fuel + ")"), std::string::npos) << "round " << round << " lost the fuel";
    }
}

TEST(CliFileIdentity, TwoArchiveReplacementsAtOnceBothLand) {
    TempDir dir;
    writeBytes(dir.file("Vehicle.Mas"), MasBuilder()
                                            .add("CAR1.VEH", vehicleText("First", "GT"))
                                            .add("CAR2.VEH", vehicleText("Second", "GT"))
                                            .bytes());
    for (int round = 0; round < 10; ++round) {
        const std::string first = "First " + std::to_string(round);
        const std::string second = "Second " + std::to_string(round);
        writeBytes(dir.file("one.veh"), vehicleText(first, "GT"));
        writeBytes(dir.file("two.veh"), vehicleText(second, "GT"));
        const int status = shell(dir, "(" + cli() + " mas replace Vehicle.Mas CAR1.VEH one.veh & a=$!; " + cli() +
                                          " mas replace Vehicle.Mas CAR2.VEH two.veh & b=$!; wait $a && wait $b) "
                                          "2>errors");
        ASSERT_EQ(status, 0) << readBytes(dir.file("errors"));
        const std::string bytes = readBytes(dir.file("Vehicle.Mas"));
        ASSERT_NE(bytes.find(first), std::string::npos) << "round " << round;
        ASSERT_NE(bytes.find(second), std::string::npos) << "round " << round;
    }
}

TEST(CliFileIdentity, PipesAndDevicesAreRefusedAtOnce) {
    TempDir dir;
    ASSERT_EQ(shell(dir, "mkfifo pipe.veh"), 0);
    for (const std::string path : {"pipe.veh", "/dev/zero"}) {
        const auto start = std::chrono::steady_clock::now();
        const CliResult r = runCli(dir, {"check", path});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, path + ": error: Cannot open [" + path +
                             "]: it is not a file but a device, a pipe or a socket.  Open a vehicle file (.veh).\n");
    }
    const CliResult r = runCli(dir, {"set", "pipe.veh", "BODY.mass=1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe.veh")));
}

TEST(CliFileIdentity, AReadOnlyFileAndAMissingBackupStopTheSaveOfAnOrdinaryUser) {
    TempDir dir;
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", "locked.veh"}).exitCode, 0);
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", "car.veh"}).exitCode, 0);
    fs::create_directory(dir.file("shelf"));
    fs::rename(dir.file("car.veh"), dir.file("shelf/car.veh"));
    const std::string before = readBytes(dir.file("locked.veh"));
    const std::optional<std::string> user = asOrdinaryUser(dir);
    if (!user)
        GTEST_SKIP() << "no ordinary user to run as (setpriv refused)";
    ASSERT_EQ(shell(dir, "chmod 0444 locked.veh && chmod 0555 shelf"), 0);

    EXPECT_EQ(shell(dir, *user + cli() + " set locked.veh BODY.mass=1 2>err"), 1);
    EXPECT_EQ(readBytes(dir.file("err")),
              "qora-cli: Error saving file [locked.veh]: it is read-only.  Allow writing to the file (its permissions "
              "or its read-only attribute), or save it under another name with Save As.  The file on disk was not "
              "changed.\n");
    EXPECT_EQ(readBytes(dir.file("locked.veh")), before);

    // The file may be written but its folder takes no backup: without --no-backup the save stops.
    EXPECT_EQ(shell(dir, *user + cli() + " set shelf/car.veh BODY.mass=2 2>err"), 1);
    EXPECT_NE(readBytes(dir.file("err")).find("was not saved because its backup could not be made"), std::string::npos)
        << readBytes(dir.file("err"));
    EXPECT_EQ(shell(dir, *user + cli() + " set --no-backup shelf/car.veh BODY.mass=2 2>err"), 0)
        << readBytes(dir.file("err"));
    EXPECT_NE(readBytes(dir.file("shelf/car.veh")).find("mass=(2)"), std::string::npos);
    shell(dir, "chmod 0755 shelf");
}
