// qora-cli with the files modders really have: two scripts changing one file at once, pipes and devices where a
// vehicle is expected, a read-only file and a backup that cannot be made, seen as an ordinary user.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/cli_runner.h"
#include "support/mas_builder.h"

using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

// Runs two qora-cli commands at the same time in the folder; both results, in the order given.
std::pair<CliResult, CliResult> runTwoAtOnce(const TempDir& dir, const std::vector<std::string>& first,
                                             const std::vector<std::string>& second) {
    CliProcess a(dir, first, "-a");
    CliProcess b(dir, second, "-b");
    CliResult resultA = a.wait();
    return {std::move(resultA), b.wait()};
}

#ifndef _WIN32
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
#endif

} // namespace

TEST(CliFileIdentity, TwoSetsAtOnceBothLand) {
    TempDir dir;
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", "car.veh"}).exitCode, 0);
    for (int round = 0; round < 20; ++round) {
        const std::string mass = std::to_string(1000 + round) + ".0";
        const std::string fuel = "0." + std::to_string(300 + round);
        const auto [first, second] = runTwoAtOnce(dir, {"set", "--no-backup", "car.veh", "BODY.mass=" + mass},
                                                  {"set", "--no-backup", "car.veh", "BODY.fuel=" + fuel});
        ASSERT_EQ(first.exitCode, 0) << first.err;
        ASSERT_EQ(second.exitCode, 0) << second.err;
        const std::string bytes = readBytes(dir.file("car.veh"));
        ASSERT_NE(bytes.find("mass=(" + mass + ")"), std::string::npos) << "round " << round << " lost the mass";
        ASSERT_NE(bytes.find("fuel=(" + fuel + ")"), std::string::npos) << "round " << round << " lost the fuel";
    }
}

TEST(CliFileIdentity, TwoArchiveReplacementsAtOnceBothLand) {
    TempDir dir;
    writeBytes(
        dir.file("Vehicle.Mas"),
        MasBuilder().add("CAR1.VEH", vehicleText("First", "GT")).add("CAR2.VEH", vehicleText("Second", "GT")).bytes());
    for (int round = 0; round < 10; ++round) {
        const std::string first = "First " + std::to_string(round);
        const std::string second = "Second " + std::to_string(round);
        writeBytes(dir.file("one.veh"), vehicleText(first, "GT"));
        writeBytes(dir.file("two.veh"), vehicleText(second, "GT"));
        const auto [one, two] = runTwoAtOnce(dir, {"mas", "replace", "Vehicle.Mas", "CAR1.VEH", "one.veh"},
                                             {"mas", "replace", "Vehicle.Mas", "CAR2.VEH", "two.veh"});
        ASSERT_EQ(one.exitCode, 0) << one.err;
        ASSERT_EQ(two.exitCode, 0) << two.err;
        const std::string bytes = readBytes(dir.file("Vehicle.Mas"));
        ASSERT_NE(bytes.find(first), std::string::npos) << "round " << round;
        ASSERT_NE(bytes.find(second), std::string::npos) << "round " << round;
    }
}

#ifndef _WIN32
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
#else

TEST(CliFileIdentity, DevicesAreRefusedAtOnce) {
    TempDir dir;
    const auto start = std::chrono::steady_clock::now();
    const CliResult r = runCli(dir, {"check", "NUL"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "NUL: error: Cannot open [NUL]: it is not a file but a device, a pipe or a socket.  Open a "
                     "vehicle file (.veh).\n");
}

TEST(CliFileIdentity, TheReadOnlyAttributeStopsTheSave) {
    TempDir dir;
    ASSERT_EQ(runCli(dir, {"new", "--no-backup", "locked.veh"}).exitCode, 0);
    const std::string before = readBytes(dir.file("locked.veh"));
    // What Explorer's "Read-only" box sets.
    fs::permissions(dir.file("locked.veh"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const CliResult r = runCli(dir, {"set", "locked.veh", "BODY.mass=1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qora-cli: Error saving file [locked.veh]: it is read-only.  Allow writing to the file (its "
                     "permissions or its read-only attribute), or save it under another name with Save As.  The "
                     "file on disk was not changed.\n");
    EXPECT_EQ(readBytes(dir.file("locked.veh")), before);
    fs::permissions(dir.file("locked.veh"), fs::perms::owner_write, fs::perm_options::add);
}

#endif
