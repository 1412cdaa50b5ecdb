// Numbers QORA writes or shows as file data use "." whatever the user's locale: the editor runs with the user's
// locale (Qt sets it), and a comma there must not reach the chart's labels or the settings file.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "calc/number_text.h"
#include "store/keyed_text_file.h"
#include "support/temp_dir.h"

using namespace qora;
using namespace qora::testing;

namespace {

// Switches the C locale's numbers to a locale with a decimal comma for the lifetime of the object, built into a
// private folder with localedef so the test does not depend on the machine's generated locales.
class CommaLocale {
public:
    CommaLocale() {
#ifdef _WIN32
        // Windows has its locales built in.
        m_active = std::setlocale(LC_ALL, "German_Germany.1252") != nullptr &&
                   std::string(std::localeconv()->decimal_point) == ",";
#else
        const std::string folder = m_dir.path();
        const std::string command = "localedef -i de_DE -f UTF-8 " + folder + "/de_DE.UTF-8 >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0 && !std::filesystem::exists(folder + "/de_DE.UTF-8"))
            return;
        ::setenv("LOCPATH", folder.c_str(), 1);
        m_active =
            std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr && std::string(std::localeconv()->decimal_point) == ",";
#endif
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, "C");
#ifndef _WIN32
        ::unsetenv("LOCPATH");
#endif
    }
    bool active() const {
        return m_active;
    }

private:
    TempDir m_dir;
    bool m_active = false;
};

} // namespace

TEST(NumberLocale, NumbersAreWrittenAndReadWithAPointUnderACommaLocale) {
    CommaLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no locale with a decimal comma can be made here (localedef and de_DE sources missing)";
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 0.5);
    ASSERT_EQ(std::string(check), "0,5") << "the comma locale is in force";

    EXPECT_EQ(numbers::generalText(0.5), "0.5");
    EXPECT_EQ(numbers::generalText(-1234.25), "-1234.25");
    EXPECT_EQ(numbers::generalText(1e20), "1E20");
    EXPECT_EQ(numbers::formatFloat("###0.00", 633.005), "633.00");
    EXPECT_EQ(numbers::parseDouble("0.5"), 0.5);
    EXPECT_FALSE(numbers::parseDouble("0,5"));

    // The keyed text store writes a float that it reads back.
    TempDir dir;
    const std::string path = dir.file("qora.ini");
    {
        KeyedTextFile ini(path);
        ini.writeFloatInstance(0, "CHART", "Scale", 0.75);
        ini.release();
    }
    EXPECT_NE(readBytes(path).find("Scale=0.75"), std::string::npos) << readBytes(path);
    KeyedTextFile ini(path);
    EXPECT_EQ(ini.readFloatInstance(0, "CHART", "Scale", 1.0), 0.75);
}
