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

TEST(Text, CaseFoldingCoversLatin1Letters) {
    EXPECT_TRUE(text::iequals("CSINSIDE_idle_rpm=", "csinside_IDLE_RPM="));
    EXPECT_TRUE(text::iequals("\xC9t\xE9", "\xE9T\xC9")); // accented e in both cases
    EXPECT_FALSE(text::iequals("\xD7", "\xF7"));          // multiplication and division signs are not letters
    EXPECT_EQ(text::ifind("x = MASS=(1)", "mass="), 4u);
    EXPECT_EQ(text::ifind("abc", "abcd"), std::string_view::npos);
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
