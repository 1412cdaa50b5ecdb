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

inline std::string_view trimView(std::string_view s) noexcept {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}
inline std::string trim(std::string_view s) {
    return std::string(trimView(s));
}

namespace detail {
struct CaseTables {
    char lower[256];
    char upper[256];
    constexpr CaseTables() : lower(), upper() {
        for (int i = 0; i < 256; ++i) {
            const bool isUpper = (i >= 'A' && i <= 'Z') || (i >= 0xC0 && i <= 0xDE && i != 0xD7);
            const bool isLower = (i >= 'a' && i <= 'z') || (i >= 0xE0 && i <= 0xFE && i != 0xF7);
            lower[i] = static_cast<char>(isUpper ? i + 0x20 : i);
            upper[i] = static_cast<char>(isLower ? i - 0x20 : i);
        }
    }
};
inline constexpr CaseTables kCase{};
} // namespace detail

inline char toLower(char c) noexcept {
    return detail::kCase.lower[static_cast<unsigned char>(c)];
}
inline char toUpper(char c) noexcept {
    return detail::kCase.upper[static_cast<unsigned char>(c)];
}
std::string toLower(std::string_view s);
std::string toUpper(std::string_view s);

inline bool iequals(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (toLower(a[i]) != toLower(b[i]))
            return false;
    return true;
}
// Whether s begins (ends) with prefix (suffix), ignoring letter case: file names, extensions and section names.
inline bool istartsWith(std::string_view s, std::string_view prefix) noexcept {
    return s.size() >= prefix.size() && iequals(s.substr(0, prefix.size()), prefix);
}
inline bool iendsWith(std::string_view s, std::string_view suffix) noexcept {
    return s.size() >= suffix.size() && iequals(s.substr(s.size() - suffix.size()), suffix);
}
// Position of the first occurrence of needle in hay, ignoring letter case; npos when absent.
std::size_t ifind(std::string_view hay, std::string_view needle) noexcept;
bool startsWith(std::string_view s, std::string_view prefix) noexcept;

// Splits file bytes into lines: a line ends at CR, LF or CR LF. A final line end does not start an
// empty line; text after the last line end is the last line.
std::vector<std::string> splitLines(std::string_view bytes);
// Joins lines, each followed by CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// The UTF-8 byte order mark that many Windows editors put at the start of a text file.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The bytes without their leading byte order marks (an editor that adds one to a file that has one already
// leaves two; all of them go, so what is read is what is written back).
inline std::string_view withoutByteOrderMark(std::string_view bytes) noexcept {
    while (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    return bytes;
}

// Decimal text of an integer.
std::string intToText(long long value);

// Latin-1 bytes to UTF-8 (for JSON output and Qt strings).
std::string latin1ToUtf8(std::string_view latin1);
// Whether bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool isUtf8(std::string_view bytes) noexcept;

} // namespace qora::text
