#include <gtest/gtest.h>

#include <optional>

#include "settings/color_text.h"

using namespace qora;

TEST(ColorText, WritesDollarAndEightUpperCaseDigitsThatReadBack) {
    EXPECT_EQ(colorToText(rgbColor(0, 0, 0)), "$00000000");
    EXPECT_EQ(colorToText(rgbColor(0x12, 0xAB, 0xEF)), "$00EFAB12"); // blue, green, red
    EXPECT_EQ(colorToText(clHighlight), "$8000000D");
    EXPECT_EQ(colorToText(clActiveCaption), "$80000002");

    for (const Color c : {rgbColor(255, 80, 80), rgbColor(72, 68, 72), rgbColor(255, 255, 255), clActiveCaption,
                           clCaptionText, clHighlight, clHighlightText, clWindow, clWindowText})
        EXPECT_EQ(textToColor(colorToText(c)), c) << colorToText(c);

    EXPECT_EQ(textToColor("$00efab12"), rgbColor(0x12, 0xAB, 0xEF));
    EXPECT_EQ(textToColor("$ff"), rgbColor(255, 0, 0));
    EXPECT_EQ(textToColor("  $0000FF00  "), rgbColor(0, 255, 0));
}

TEST(ColorText, ReadsHashFormAndStandardNamesInAnyCase) {
    EXPECT_EQ(textToColor("#FF8000"), rgbColor(255, 128, 0));
    EXPECT_EQ(textToColor("#00ff00"), rgbColor(0, 255, 0));

    EXPECT_EQ(textToColor("clBlack"), rgbColor(0, 0, 0));
    EXPECT_EQ(textToColor("black"), rgbColor(0, 0, 0));
    EXPECT_EQ(textToColor("clMaroon"), rgbColor(128, 0, 0));
    EXPECT_EQ(textToColor("Olive"), rgbColor(128, 128, 0));
    EXPECT_EQ(textToColor("NAVY"), rgbColor(0, 0, 128));
    EXPECT_EQ(textToColor("clteal"), rgbColor(0, 128, 128));
    EXPECT_EQ(textToColor("gray"), rgbColor(128, 128, 128));
    EXPECT_EQ(textToColor("clGrey"), rgbColor(128, 128, 128));
    EXPECT_EQ(textToColor("silver"), rgbColor(192, 192, 192));
    EXPECT_EQ(textToColor("clRed"), rgbColor(255, 0, 0));
    EXPECT_EQ(textToColor("lime"), rgbColor(0, 255, 0));
    EXPECT_EQ(textToColor("clFuchsia"), rgbColor(255, 0, 255));
    EXPECT_EQ(textToColor("aqua"), rgbColor(0, 255, 255));
    EXPECT_EQ(textToColor("clWhite"), rgbColor(255, 255, 255));

    EXPECT_EQ(textToColor("clActiveCaption"), clActiveCaption);
    EXPECT_EQ(textToColor("CLHIGHLIGHTTEXT"), clHighlightText);
    EXPECT_EQ(textToColor("clWindowText"), clWindowText);
    EXPECT_EQ(textToColor("clBtnFace"), 0x8000000Fu);
    EXPECT_EQ(textToColor("clBtnText"), 0x80000012u);
    EXPECT_EQ(textToColor("clGrayText"), 0x80000011u);
    EXPECT_EQ(textToColor("clInactiveCaption"), 0x80000003u);
}

TEST(ColorText, RefusesWhatIsNoColour) {
    for (const char* bad : {"", "   ", "$", "$123456789", "$00GG0000", "#FFF", "#GG0000", "#FF00001", "cl", "darkred",
                            "clHighlightish", "255", "$12000000", "$80001000"})
        EXPECT_EQ(textToColor(bad), std::nullopt) << bad;
}
