#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "editor/help_texts.h"

using namespace qora::editor;

namespace {

// The title lines of the label panels' help numbers 100 to 152, in order.
constexpr std::array<std::string_view, 53> kTitles = {
    "Driver attributes:",
    "Idle RPM:",
    "Revved RPM:",
    "Tire Pressure:",
    "Tire Compound:",
    "Tire Mass:",
    "Tire Radius:",
    "Tire Friction:",
    "Tire Inertia:",
    "Rolling Resistance:",
    "Lateral Co-efficiency:",
    "Longitudinal Co-efficiency:",
    "Steering Ratio:",
    "Braking Ratio:",
    "Front Brake Balance:",
    "Front AirDam and Rear Spoiler Angle:",
    "AirDam and Spoiler Function:",
    "AirDam and Spoiler Center:",
    "Ride Height:",
    "Ride Height Adjustment:",
    "Drag Co-Efficiency:",
    "Drag Center:",
    "Downforce Co-efficiency:",
    "Side Skirts:",
    "Spring Co-efficiency:",
    "Bumpstop Co-efficiency:",
    "Shock Bump:",
    "Bumpstop Limit:",
    "Bumpstop Length:",
    "Shock Rebound:",
    "Camber:",
    "Anti-Roll:",
    "Geometry:",
    "Anti-Pitch Suspension:",
    "Idle Throttle:",
    "Maximum RPM:",
    "Auto-Shift RPM:",
    "Engine Inertia:",
    "Engine Friction:",
    "Throttle/Rpm Ratio:",
    "Mass Body Weight:",
    "Weight Distribution:",
    "Center Height:",
    "Body Inertia:",
    "Fuel:",
    "Fuel Capacity:",
    "Damage:",
    "Eye Point:",
    "Reverse Gear:",
    "Forward Gear Ratio's:",
    "Final Gear:",
    "Wheel Drive Type:",
    "Clutch Efficiency:",
};

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace

TEST(HelpTexts, EveryHelpNumberHasItsTitleAndNoOtherNumberHasText) {
    ASSERT_EQ(kLastHelpNumber - kFirstHelpNumber + 1, static_cast<int>(kTitles.size()));
    for (int number = kFirstHelpNumber; number <= kLastHelpNumber; ++number) {
        const std::string_view title = kTitles[static_cast<std::size_t>(number - kFirstHelpNumber)];
        EXPECT_EQ(helpTitle(number), title) << number;
        EXPECT_TRUE(helpText(number).starts_with(std::string(title) + "\n\n")) << number;
    }

    for (int number : {INT_MIN, -1, 0, 1, 99, 153, 200, INT_MAX}) {
        EXPECT_TRUE(helpText(number).empty()) << number;
        EXPECT_TRUE(helpTitle(number).empty()) << number;
    }
}

TEST(HelpTexts, BodiesAreShortPlainLines) {
    for (int number = kFirstHelpNumber; number <= kLastHelpNumber; ++number) {
        const std::vector<std::string_view> lines = linesOf(helpText(number));
        ASSERT_GE(lines.size(), 3u) << number;
        const std::size_t bodyLines = lines.size() - 2;
        EXPECT_GE(bodyLines, 3u) << number;
        EXPECT_LE(bodyLines, 8u) << number;
        for (std::size_t i = 2; i < lines.size(); ++i) {
            const std::string_view line = lines[i];
            EXPECT_FALSE(line.empty()) << number << ": only the line after the title is blank";
            EXPECT_LE(line.size(), 100u) << number << ": " << line;
            EXPECT_FALSE(line.ends_with(' ')) << number << ": " << line;
            for (char c : line)
                EXPECT_TRUE(c >= ' ' && c <= '~') << number << ": plain printable text only: " << line;
        }
    }
}

TEST(HelpTexts, DriverAttributesAndDisabledEntriesSayWhatTheUserMustKnow) {
    const std::string_view drivers = helpText(100);
    EXPECT_TRUE(contains(drivers, "0.0 to 1.0"));
    EXPECT_TRUE(contains(drivers, "9.9"));
    EXPECT_TRUE(contains(drivers, "above 1.0"));

    for (int number : {123, 152}) {
        const std::string_view text = helpText(number);
        EXPECT_TRUE(contains(text, "QORA disables these entries")) << number;
        EXPECT_TRUE(contains(text, "misbehaves")) << number;
        EXPECT_TRUE(contains(text, "//--REMOVED BY QORA--")) << number;
    }
    EXPECT_TRUE(contains(helpText(123), "side_skirts="));
    EXPECT_TRUE(contains(helpText(152), "clutch_eff="));
}
