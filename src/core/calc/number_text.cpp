#include "calc/number_text.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qora::numbers {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the shape [sign] digits [. digits] [(e|E) [sign] digits] with at least one mantissa digit.
bool hasNumberShape(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    return i == s.size();
}

} // namespace

std::optional<double> parseDouble(std::string_view text) {
    // Short plain decimals ("1125.0", "-0.073"), the usual case in vehicle files, in one pass: the digits as an
    // integer below 2^53 divided by an exact power of ten is the correctly rounded value, the same as the
    // general conversion gives.
    {
        static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        std::size_t i = 0;
        const std::size_t n = text.size();
        const bool negative = n > 0 && text[0] == '-';
        if (n > 0 && (text[0] == '-' || text[0] == '+'))
            ++i;
        std::uint64_t mantissa = 0;
        int significant = 0;
        int decimals = 0;
        int digitCount = 0;
        bool point = false;
        for (; i < n; ++i) {
            const char c = text[i];
            if (isDigit(c)) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
                ++digitCount;
                if (mantissa != 0)
                    ++significant;
                if (point)
                    ++decimals;
            } else if (c == '.' && !point) {
                point = true;
            } else {
                break;
            }
        }
        if (i == n && digitCount > 0 && significant + decimals <= 15 && decimals <= 15) {
            const double value = static_cast<double>(mantissa) / kPowersOfTen[decimals];
            return negative ? -value : value;
        }
    }
    if (!hasNumberShape(text))
        return std::nullopt;
    std::string_view s = text;
    bool negative = false;
    if (s.front() == '+' || s.front() == '-') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> parseInt(std::string_view text) {
    std::string_view s = text;
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || !isDigit(s.front()))
        return std::nullopt;
    long long value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

std::string generalText(double value) {
    if (value == 0)
        return "0";
    // std::to_chars, not printf: it writes "." whatever locale the program runs in (a Qt program takes the
    // user's, and printf would then write "0,5").
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string s(buf, ec == std::errc() ? end : buf);
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A'); // "E20", and "INF" / "NAN" as printf's %G writes them
    // "%G" writes exponents as "E+20" / "E-05"; the general form writes "E20" / "E-5".
    const auto e = s.find('E');
    if (e != std::string::npos) {
        std::string mantissa = s.substr(0, e);
        std::string exponent = s.substr(e + 1);
        bool negativeExp = false;
        if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
            negativeExp = exponent[0] == '-';
            exponent.erase(0, 1);
        }
        while (exponent.size() > 1 && exponent[0] == '0')
            exponent.erase(0, 1);
        s = mantissa + "E" + (negativeExp ? "-" : "") + exponent;
    }
    return s;
}

std::string formatFloat(std::string_view pattern, double value) {
    const auto point = pattern.find('.');
    const std::string_view integerPart = pattern.substr(0, point);
    const std::string_view fractionPart =
        point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    int minIntegerDigits = 0;
    for (char c : integerPart)
        if (c == '0')
            ++minIntegerDigits;
    int maxDecimals = 0;
    int minDecimals = 0;
    for (char c : fractionPart) {
        if (c == '0' || c == '#')
            ++maxDecimals;
        if (c == '0')
            minDecimals = maxDecimals;
    }
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");

    // The exact decimal expansion of the binary value, correctly rounded (a tie goes to the even digit).
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed,
                                         maxDecimals);
    std::string digits = ec == std::errc() ? std::string(buffer, end) : std::string("0");
    std::string whole = digits;
    std::string fraction;
    if (const auto dot = digits.find('.'); dot != std::string::npos) {
        whole = digits.substr(0, dot);
        fraction = digits.substr(dot + 1);
    }
    while (static_cast<int>(fraction.size()) > minDecimals && fraction.back() == '0')
        fraction.pop_back();
    if (whole == "0" && minIntegerDigits == 0)
        whole.clear();
    while (static_cast<int>(whole.size()) < minIntegerDigits)
        whole.insert(whole.begin(), '0');

    const bool allZero = (whole.find_first_not_of('0') == std::string::npos) &&
                         (fraction.find_first_not_of('0') == std::string::npos);
    std::string out;
    if (value < 0 && !allZero)
        out += '-';
    out += whole;
    if (!fraction.empty()) {
        out += '.';
        out += fraction;
    }
    return out;
}

long long roundHalfEven(double value) {
    const double r = std::nearbyint(value); // the default rounding mode rounds a half to even
    return static_cast<long long>(r);
}

} // namespace qora::numbers
