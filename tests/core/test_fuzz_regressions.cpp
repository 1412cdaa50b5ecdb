// Inputs the fuzz targets (fuzz/, docs/fuzzing.md) turned up, kept as fixtures under tests/data/fuzz/. Each test
// opens its fixture as the editor does, saves it to disk and opens the saved file again: a vehicle QORA has saved
// must open again with what it held.
//

#include <gtest/gtest.h>

#include "support/veh_fixture.h"
#include "vehicle/veh_format.h"

using namespace qora;
using namespace qora::testing;

namespace {

// Opens the fixture, saves it as the editor does (the gears page stores absent gears first) and returns the path.
std::string openAndSave(VehFixture& f, const std::string& fixture) {
    const std::string path = f.copy("fuzz/" + fixture, "car.veh");
    auto veh = f.open(path);
    veh.load(VehicleFile::ModeOpen);
    storeAbsentGearsAsZero(veh);
    veh.save("", false);
    return path;
}

bool holdsLine(const VehicleFile& veh, const std::string& text) {
    for (const std::string& line : *veh.lines())
        if (line == text)
            return true;
    return false;
}

} // namespace

TEST(FuzzRegressions, SaveKeepsALineThatHoldsTwoHeaders) {
    // The empty optional [QORA] section loses its header on saving; [FRONTWHEELS] stands on the same line and
    // must not go with it.
    VehFixture f;
    const std::string path = openAndSave(f, "optional_header_shares_line.veh");
    auto saved = f.open(path);
    ASSERT_NO_THROW(saved.load(VehicleFile::ModeOpen));
    EXPECT_TRUE(holdsLine(saved, "[QORA][FRONTWHEELS]"));
    EXPECT_EQ(saved.findEntry(veh::SecFrontWheels, "friction")->value, "2.400");
    EXPECT_EQ(saved.findEntry(veh::SecRearWheels, "friction")->value, "2.300");
}

TEST(FuzzRegressions, SaveKeepsATorquePointOnAHeaderLine) {
    // The first torque point shares its line with the empty [QORA] header: removing the header must neither delete
    // the point nor shift the points onto their neighbours' lines.
    VehFixture f;
    const std::string path = openAndSave(f, "torque_point_on_header_line.veh");
    auto saved = f.open(path);
    ASSERT_NO_THROW(saved.load(VehicleFile::ModeOpen));
    ASSERT_EQ(saved.torquePoints.size(), 3u);
    EXPECT_EQ(saved.torquePoints[0].rpm + " " + saved.torquePoints[0].torque, "0.0 100.00");
    EXPECT_EQ(saved.torquePoints[1].rpm + " " + saved.torquePoints[1].torque, "500.0 150.00");
    EXPECT_EQ(saved.torquePoints[2].rpm + " " + saved.torquePoints[2].torque, "1000.0 180.00");
}

TEST(FuzzRegressions, SaveKeepsTheDetailsInACommentAfterAValue) {
    // The file's only "//DescFile=" and "//DescClass=" follow the value of mass=, which the save rewrites in
    // parentheses: the comment, and with it the details the file needs to open, must stay.
    VehFixture f;
    const std::string path = openAndSave(f, "details_after_a_value.veh");
    auto saved = f.open(path);
    ASSERT_NO_THROW(saved.load(VehicleFile::ModeOpen));
    EXPECT_TRUE(holdsLine(saved, "mass=(1125.0) //DescFile=Details in a comment //DescClass=GT2"));
}

TEST(FuzzRegressions, SaveKeepsALineWithAHeaderInsideItsText) {
    // "[AIBASIS]" inside a torque line's key makes that line the empty [AIBASIS] header and ends the curve there.
    // Removing the empty header must not take the line's text with it, or the points after it join the curve on the
    // next open with a gap the loader refuses.
    VehFixture f;
    const std::string path = openAndSave(f, "header_inside_a_key.veh");
    auto saved = f.open(path);
    ASSERT_NO_THROW(saved.load(VehicleFile::ModeOpen));
    EXPECT_TRUE(holdsLine(saved, "rpm_[AIBASIS]torque=(1000.0, 180.00)"));
    EXPECT_EQ(saved.torquePoints.size(), 2u);
}

TEST(FuzzRegressions, SaveKeepsAHeaderAfterATorquePoint) {
    // "[SOUNDS]" follows the first torque point's ")" on its line. Writing the points back replaces the values in
    // parentheses only, so the header stays and the saved file still has its [SOUNDS] section.
    VehFixture f;
    const std::string path = openAndSave(f, "header_after_a_torque_point.veh");
    auto saved = f.open(path);
    ASSERT_NO_THROW(saved.load(VehicleFile::ModeOpen));
    EXPECT_TRUE(holdsLine(saved, "rpm_torque=(0.0, 100.00)[SOUNDS]"));
    EXPECT_TRUE(holdsLine(saved, "rpm_torque=(500.0, 150.00)"));
    EXPECT_EQ(saved.torquePoints.size(), 3u);
}

TEST(FuzzRegressions, SaveKeepsAnEmptyHeaderWhoseTextStandsAgainFurtherDown) {
    // The empty [AIBASIS] header comes first; its text stands again inside the engine section, where it is no
    // header. Removing the first would make the second the header at the next open and cut the curve in two.
    VehFixture f;
    const std::string path = openAndSave(f, "repeated_optional_header.veh");
    auto saved = f.open(path);
    ASSERT_NO_THROW(saved.load(VehicleFile::ModeOpen));
    EXPECT_EQ(saved.torquePoints.size(), 2u);
    EXPECT_TRUE(holdsLine(saved, "[AIBASIS]"));
}
