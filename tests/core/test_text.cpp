#include <gtest/gtest.h>

#include "calc/number_text.h"
#include "platform/text.h"

using namespace qora;

TEST(Text, SplitLinesAcceptsEveryLineEnd) {
    EXPECT_EQ(text::splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(text::splitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(text::splitLines("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(text::splitLines("\r\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(text::splitLines("").empty());
    EXPECT_EQ(text::splitLines(std::string("a\0b", 3)), (std::vector<std::string>{std::string("a\0b", 3)}));
}

TEST(Text, EveryLeadingByteOrderMarkIsReadPast) {
    // A doubled mark would otherwise be lost one at a time, a save after each read.
    const std::string mark(text::kByteOrderMark);
    EXPECT_EQ(text::withoutByteOrderMark(mark + mark + "[SETTINGS]"), "[SETTINGS]");
    EXPECT_EQ(text::withoutByteOrderMark("[SETTINGS]" + mark), "[SETTINGS]" + mark);
}

TEST(Text, CaseFoldingCoversLatin1Letters) {
    EXPECT_TRUE(text::iequals("CSINSIDE_idle_rpm=", "csinside_IDLE_RPM="));
    EXPECT_TRUE(text::iequals("\xC9t\xE9", "\xE9T\xC9")); // accented e in both cases
    EXPECT_FALSE(text::iequals("\xD7", "\xF7"));          // multiplication and division signs are not letters
    EXPECT_EQ(text::ifind("x = MASS=(1)", "mass="), 4u);
    EXPECT_EQ(text::ifind("abc", "abcd"), std::string_view::npos);
    EXPECT_TRUE(text::istartsWith("VehicleMas=G01B.VEH", "vehiclemas="));
    EXPECT_TRUE(text::iendsWith("bmw~Fast.VFV", ".vfv"));
    EXPECT_TRUE(text::iendsWith("\xC9T\xC9", "t\xE9"));
    EXPECT_FALSE(text::istartsWith("cl", "clRed")); // a prefix longer than the text
    EXPECT_FALSE(text::iendsWith("vfv", ".vfv"));
    EXPECT_TRUE(text::istartsWith("", "") && text::iendsWith("car.veh", ""));
}

TEST(Text, TrimRemovesControlCharactersAndBlanks) {
    EXPECT_EQ(text::trim(" \t x y \r"), "x y");
    EXPECT_EQ(text::trim("   "), "");
}

TEST(Numbers, StrictParsing) {
    EXPECT_EQ(numbers::parseDouble("1125.0"), 1125.0);
    EXPECT_EQ(numbers::parseDouble("-0.073"), -0.073);
    EXPECT_EQ(numbers::parseDouble("+5"), 5.0);
    EXPECT_EQ(numbers::parseDouble(".5"), 0.5);
    EXPECT_EQ(numbers::parseDouble("1e3"), 1000.0);
    for (const char* bad : {"", " 1", "1 ", "1,5", "abc", "1.2.3", "-", ".", "1e", "nan", "inf", "0x10", "1e999"})
        EXPECT_FALSE(numbers::parseDouble(bad).has_value()) << bad;
    EXPECT_EQ(numbers::parseInt("-42"), -42);
    EXPECT_EQ(numbers::parseInt("+7"), 7);
    for (const char* bad : {"", "1.0", "4294967296", "x", "-", "1 "})
        EXPECT_FALSE(numbers::parseInt(bad).has_value()) << bad;
}

TEST(Numbers, GeneralText) {
    EXPECT_EQ(numbers::generalText(0), "0");
    EXPECT_EQ(numbers::generalText(1.5), "1.5");
    EXPECT_EQ(numbers::generalText(-1125), "-1125");
    EXPECT_EQ(numbers::generalText(0.1), "0.1");
    EXPECT_EQ(numbers::generalText(1e20), "1E20");
    EXPECT_EQ(numbers::generalText(0.00001), "1E-5");
    EXPECT_EQ(numbers::generalText(123456789012345678.0), "1.23456789012346E17");
}

TEST(Numbers, DisplayPatterns) {
    using numbers::formatFloat;
    EXPECT_EQ(formatFloat("###0.00", 633), "633.00");
    EXPECT_EQ(formatFloat("###0.00", 0), "0.00");
    EXPECT_EQ(formatFloat("###0.00", -0.073), "-0.07");
    EXPECT_EQ(formatFloat("###0.00", -0.001), "0.00");          // no "-0.00"
    EXPECT_EQ(formatFloat("###0.00", 9.999), "10.00");          // rounds up across a digit
    EXPECT_EQ(formatFloat("###0.00", 123456.789), "123456.79"); // more integer digits than the pattern
    EXPECT_EQ(formatFloat("0.0", 0.05), "0.1");                 // 0.05 is stored slightly above the half
    EXPECT_EQ(formatFloat("0.00", 0.125), "0.12");              // an exact half goes to the even digit
    EXPECT_EQ(formatFloat("0.00", 0.375), "0.38");
    EXPECT_EQ(formatFloat("#0.0000", 0.2 / 57.3 * 57.3), "0.2000");
    EXPECT_EQ(formatFloat("####0", 4999.5), "5000");
    EXPECT_EQ(formatFloat("####0", 4998.5), "4998");
    EXPECT_EQ(formatFloat("####0", -12.7), "-13");
    EXPECT_EQ(formatFloat("#####0.000", 4666.6666666), "4666.667");
    EXPECT_EQ(formatFloat("0.000", 1e12), "1000000000000.000");
    EXPECT_EQ(formatFloat("0.##", 5), "5");
    EXPECT_EQ(formatFloat("0.##", 5.1), "5.1");
    EXPECT_EQ(formatFloat("#.00", 0.5), ".50");
    EXPECT_EQ(formatFloat("00.0", 1.25), "01.2");
}

TEST(Numbers, RoundHalfEven) {
    EXPECT_EQ(numbers::roundHalfEven(2.5), 2);
    EXPECT_EQ(numbers::roundHalfEven(3.5), 4);
    EXPECT_EQ(numbers::roundHalfEven(-2.5), -2);
    EXPECT_EQ(numbers::roundHalfEven(4666.667), 4667);
    EXPECT_EQ(numbers::roundHalfEven(-0.4), 0);
    EXPECT_EQ(numbers::generalText(7300), "7300");
    EXPECT_EQ(numbers::generalText(1045.8), "1045.8");
}
