#include "vehicle/value_rules.h"

#include <cctype>

#include "calc/number_text.h"
#include "platform/text.h"
#include "vehicle/veh_format.h"

namespace qora::veh {

namespace {

// A section name in square brackets anywhere in the text, in any letter case ("[engine]" too: the file's own
// letter case is not to be relied on).
std::optional<std::string> sectionNameIn(std::string_view text) {
    for (int s = 1; s < kSectionCount; ++s) {
        const std::string_view name = sectionName(s);
        if (text::ifind(text, name) != std::string_view::npos)
            return std::string(name);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> textValueProblem(std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return "it holds a line break, which would end the entry";
    if (text.find("//") != std::string_view::npos)
        return "it holds \"//\", which starts a comment in a vehicle file";
    if (const auto section = sectionNameIn(text))
        return "it holds the section name \"" + *section + "\", which would start a section of its own";
    if (text::ifind(text, "editor=") != std::string_view::npos)
        return "it holds \"editor=\", which marks the name of the program that saved the file";
    if (text.find('\0') != std::string_view::npos)
        return "it holds a NUL character";
    return std::nullopt;
}

std::optional<std::string> driverNameProblem(std::string_view text) {
    if (auto problem = textValueProblem(text))
        return problem;
    if (text.find('/') != std::string_view::npos)
        return "it holds \"/\", which separates the driver's name from the attributes";
    return std::nullopt;
}

std::string textRefusalMessage(std::string_view what, std::string_view text, std::string_view problem) {
    return std::string(what) + ": \"" + std::string(text) + "\" cannot be stored: " + std::string(problem) +
           ".  Leave out \"//\", line breaks, \"editor=\" and section names in square brackets such as "
           "\"[ENGINE]\".";
}

bool isNumberList(std::string_view text, int count, bool integersOnly) {
    // The loader takes digits, ".", "-" and "," only (no blanks between the numbers, no "+", no exponent), and each
    // number must be one.
    const std::string_view value = text::trimView(text);
    if (value.find_first_not_of("0123456789.-,") != std::string_view::npos)
        return false;
    int found = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        const std::string_view item =
            value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const bool number = integersOnly ? numbers::parseInt(item).has_value() : numbers::parseDouble(item).has_value();
        if (!number)
            return false;
        ++found;
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return count == 0 || found == count;
}

bool isNumericKey(int section, std::string_view key) {
    if (section < 0 || section >= kSectionCount || section == SecQora)
        return false;
    const std::string withEquals = key.ends_with('=') ? std::string(key) : std::string(key) + "=";
    const auto keys = sectionKeys(section);
    for (std::size_t e = 0; e < keys.size(); ++e)
        if (text::iequals(keys[e], withEquals))
            return !isTextEntry(section, static_cast<int>(e));
    return false;
}

} // namespace qora::veh
