// Vehicle files as modders have them: sections in another order, an entry the editor disables written twice, a
// byte order mark from a Windows editor.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/text.h"
#include "settings/settings.h"
#include "support/veh_fixture.h"
#include "vehicle/veh_format.h"

using namespace qora;
using namespace qora::testing;

namespace {

std::string templateText() {
    return readBytes(dataFile("template.veh"));
}

// The text with the lines from `from` (a header) up to the next header cut out and put back before `before`.
std::string moveSection(std::string text, const std::string& from, const std::string& before) {
    const auto start = text.find(from);
    const auto end = text.find("\r\n[", start + from.size()) + 2;
    const std::string section = text.substr(start, end - start);
    text.erase(start, end - start);
    text.insert(text.find(before), section);
    return text;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

void save(VehicleFile& vehicle) {
    storeAbsentGearsAsZero(vehicle);
    vehicle.save("", false);
}

} // namespace

TEST(VehFilesAsPeopleHaveThem, TorquePointsBelongToTheEngineSectionWhereverItStands) {
    VehFixture f;
    f.settings.backupFiles = false;
    const std::string original = templateText();
    const std::string moved = moveSection(original, "[DRIVELINE]", "[ENGINE]");
    ASSERT_LT(moved.find("[DRIVELINE]"), moved.find("[ENGINE]"));
    const std::string path = f.dir.file("car.veh");
    writeBytes(path, moved);

    auto vehicle = f.open(path);
    vehicle.load(VehicleFile::ModeOpen);
    auto fromTemplate = f.open(dataFile("template.veh"));
    fromTemplate.load(VehicleFile::ModeGhost);
    ASSERT_EQ(vehicle.torquePoints.size(), fromTemplate.torquePoints.size());
    EXPECT_EQ(vehicle.maxTorque, fromTemplate.maxTorque);
    save(vehicle);
    EXPECT_EQ(count(readBytes(path), "rpm_torque="), count(original, "rpm_torque=")) << "no second set of points";

    // An [ENGINE] section without a single point cannot show a curve: the file is refused, not shown flat.
    std::string flat = original;
    while (flat.find("rpm_torque=") != std::string::npos) {
        const auto at = flat.find("rpm_torque=");
        flat.erase(at, flat.find("\r\n", at) + 2 - at);
    }
    writeBytes(path, flat);
    auto refused = f.open(path);
    try {
        refused.load(VehicleFile::ModeOpen);
        ADD_FAILURE() << "a file without a curve opened";
    } catch (const VehicleFileError& e) {
        EXPECT_NE(std::string(e.what()).find("rpm_torque entry [0] is invalid"), std::string::npos) << e.what();
    }
}

TEST(VehFilesAsPeopleHaveThem, EveryLineOfADisabledEntryIsDisabled) {
    VehFixture f;
    f.settings.backupFiles = false;
    std::string text = templateText();
    const auto aero = text.find("[AERODYNAMICS]\r\n") + 16;
    text.insert(aero, "side_skirts=(1.0)\r\nside_skirts=(2.0)\r\n");
    const std::string path = f.dir.file("car.veh");
    writeBytes(path, text);

    f.prompt.answer(PromptAnswer::Ok);
    auto vehicle = f.open(path);
    vehicle.load(VehicleFile::ModeOpen);
    EXPECT_EQ(f.prompt.questions().size(), 1u) << "one question for the key";
    save(vehicle);
    const std::string saved = readBytes(path);
    EXPECT_NE(saved.find("//--REMOVED BY QORA--side_skirts=(1.0)"), std::string::npos);
    EXPECT_NE(saved.find("//--REMOVED BY QORA--side_skirts=(2.0)"), std::string::npos);

    // The user was told the entry was removed: the next open asks nothing.
    auto again = f.open(path);
    again.load(VehicleFile::ModeOpen);
    EXPECT_EQ(f.prompt.questions().size(), 1u);
}

TEST(VehFilesAsPeopleHaveThem, AByteOrderMarkIsReadPastAndKept) {
    VehFixture f;
    f.settings.backupFiles = false;
    const std::string path = f.dir.file("car.veh");
    // A file whose first line is a key: the mark must not become part of it.
    std::string text = templateText();
    text.insert(0, std::string(text::kByteOrderMark) + "[BODY]\r\n");
    text.erase(text.find("[BODY]", 10), 8);
    writeBytes(path, text);
    auto vehicle = f.open(path);
    vehicle.load(VehicleFile::ModeOpen);
    EXPECT_GE(vehicle.sections[veh::SecBody].line, 0);
    vehicle.findEntry(veh::SecBody, "mass=")->value = "1300.0";
    save(vehicle);
    const std::string saved = readBytes(path);
    EXPECT_EQ(saved.substr(0, 11), std::string(text::kByteOrderMark) + "[BODY]\r\n");
    EXPECT_NE(saved.find("mass=(1300.0)"), std::string::npos);

    // qora.ini written by a Windows editor keeps its settings.
    const std::string ini = f.dir.file("qora.ini");
    writeBytes(ini, std::string(text::kByteOrderMark) + "[SETTINGS]\r\nVersion=4.0\r\nBackupFiles=0\r\nTabStyle=2\r\n");
    Settings settings;
    settings.setPrompt(f.prompt);
    settings.setProgramFolder(f.dir.path());
    settings.load();
    EXPECT_FALSE(settings.backupFiles);
    EXPECT_EQ(settings.tabStyle, 2);
}
