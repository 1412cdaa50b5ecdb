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
// ("1E20", "1E-5") only for very large or very small values.
std::string generalText(double value);

} // namespace qora::numbers
