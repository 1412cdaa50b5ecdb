#pragma once

#include <string>
#include <string_view>

// How the vehicle file's loader and its saver read a line, shared by both.
namespace qora::vehicle_lines {

// The value of a key line: the text after the first "=", cut at "//", trimmed; for a value in parentheses,
// the first "(" and everything from the first ")" on are dropped, and the rest trimmed again.
std::string readValue(std::string_view line, bool inParentheses);
// Whether a value reads as the number zero.
bool isZero(const std::string& text);
// True when a line holds a section's header and nothing else but blanks and a comment after it.
bool holdsOnlyHeader(std::string_view line, std::string_view header);

} // namespace qora::vehicle_lines
