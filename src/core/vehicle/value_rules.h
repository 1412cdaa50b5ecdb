#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a value of a vehicle file may hold so that, saved and read again, it is the same value. A vehicle file is
// plain text whose structure lives in its characters: a line break ends an entry, "//" starts a comment, a section
// name in square brackets starts a section, "editor=" after a "//" marks the editor stamp. A value holding one of
// them would change the file's structure, so it is refused where it is entered.
namespace qora::veh {

// Why `text` cannot be stored as a text value ("it holds \"//\", which starts a comment in a vehicle file"); nothing
// when it can. Blanks at either end are not part of a value (they are dropped when the file is read).
std::optional<std::string> textValueProblem(std::string_view text);

// The same for a driver's name, which is also the first part of "name/aggression/defense/ability": a "/" in it
// would be read as the end of the name.
std::optional<std::string> driverNameProblem(std::string_view text);

// The message shown when a text is refused: names the value (`what`, e.g. "Description" or "DETAILS.DescFile"),
// the text, the problem and what may not be used.
std::string textRefusalMessage(std::string_view what, std::string_view text, std::string_view problem);

// Whether `text` is a list of numbers separated by commas, as the loader reads one back: digits, "." and "-" only
// (blanks at the ends of the whole text aside), each a decimal number as numbers::parseDouble reads it (whole
// numbers only with `integersOnly`). `count` is how many there must be; 0 takes one or more.
bool isNumberList(std::string_view text, int count = 0, bool integersOnly = false);

// Whether the value of a numeric key is fit to be stored: a number list for the key (a section's key, with or
// without its "="). Text keys take any value that textValueProblem accepts.
bool isNumericKey(int section, std::string_view key);

} // namespace qora::veh
