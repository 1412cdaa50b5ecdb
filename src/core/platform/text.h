#pragma once

#include <string>
#include <string_view>
#include <vector>

// Byte-string helpers for the program's text files. Texts are Latin-1 bytes; letter case is folded for
// the ASCII letters and the Latin-1 accented letters, as the game's own platform compares names.
namespace qora::text {

constexpr bool isBlank(char c) noexcept {
    // Delphi-style trimming removes every control character and the space.
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trimView(std::string_view s) noexcept;
std::string trim(std::string_view s);

char toLower(char c) noexcept;
char toUpper(char c) noexcept;
std::string toLower(std::string_view s);
std::string toUpper(std::string_view s);

bool iequals(std::string_view a, std::string_view b) noexcept;
// Position of the first occurrence of needle in hay, ignoring letter case; npos when absent.
std::size_t ifind(std::string_view hay, std::string_view needle) noexcept;
bool startsWith(std::string_view s, std::string_view prefix) noexcept;

// Splits file bytes into lines: a line ends at CR, LF or CR LF. A final line end does not start an
// empty line; text after the last line end is the last line.
std::vector<std::string> splitLines(std::string_view bytes);
// Joins lines, each followed by CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// Decimal text of an integer.
std::string intToText(long long value);

// Latin-1 bytes to UTF-8 (for JSON output and Qt strings).
std::string latin1ToUtf8(std::string_view latin1);

} // namespace qora::text
