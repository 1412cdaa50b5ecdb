#pragma once

#include <optional>
#include <string>
#include <string_view>

// Locale-independent number texts: "." is always the decimal point, whatever the user's locale.
namespace qora::numbers {

// Strict parse of a decimal number: optional sign, digits with an optional "." part, optional exponent.
// No blanks, no thousands separators. Empty or anything else gives nullopt.
std::optional<double> parseDouble(std::string_view text);

// Strict parse of a decimal integer with an optional sign that fits in an int.
std::optional<int> parseInt(std::string_view text);

// The general decimal form of a number: up to 15 significant digits, no trailing zeros, an exponent
// ("1E20", "1E-5") only for very large or very small values. This is the "plain number text" of a value.
std::string generalText(double value);

// A number written with a display pattern such as "###0.00", "0.0", "#0.0000" or "####0": before the ".",
// each "0" is a digit always shown (leading zeros pad to their count) and each "#" a digit shown only when
// significant; after it, "0" digits are always shown and "#" digits only when not trailing zeros. The value is
// rounded to the number of places after the "." (to nearest, a half to even); integer digits beyond the pattern
// are always shown. "." is always the decimal point, whatever the user's locale; no thousands separators.
// A value that rounds to zero is written without a minus sign.
std::string formatFloat(std::string_view pattern, double value);

// Rounds to the nearest integer, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
long long roundHalfEven(double value);

} // namespace qora::numbers
