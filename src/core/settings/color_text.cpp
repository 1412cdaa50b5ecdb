#include "settings/color_text.h"

#include <array>
#include <cstdio>

#include "platform/text.h"

namespace qora {

namespace {

struct NamedColor {
    std::string_view name;
    Color color;
};

// The basic colours, each also readable with a "cl" prefix.
constexpr std::array<NamedColor, 17> kBasicColors{{
    {"black", rgbColor(0, 0, 0)},
    {"maroon", rgbColor(128, 0, 0)},
    {"green", rgbColor(0, 128, 0)},
    {"olive", rgbColor(128, 128, 0)},
    {"navy", rgbColor(0, 0, 128)},
    {"purple", rgbColor(128, 0, 128)},
    {"teal", rgbColor(0, 128, 128)},
    {"gray", rgbColor(128, 128, 128)},
    {"grey", rgbColor(128, 128, 128)},
    {"silver", rgbColor(192, 192, 192)},
    {"red", rgbColor(255, 0, 0)},
    {"lime", rgbColor(0, 255, 0)},
    {"yellow", rgbColor(255, 255, 0)},
    {"blue", rgbColor(0, 0, 255)},
    {"fuchsia", rgbColor(255, 0, 255)},
    {"aqua", rgbColor(0, 255, 255)},
    {"white", rgbColor(255, 255, 255)},
}};

constexpr std::array<NamedColor, 10> kSystemColors{{
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clWindow", clWindow},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
}};

// The platform has 31 system colours (indexes 0 to 30); a higher index names nothing the editor can show.
constexpr Color kLastSystemIndex = 30;

std::optional<unsigned> hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    const char lower = text::toLower(c);
    if (lower >= 'a' && lower <= 'f')
        return static_cast<unsigned>(lower - 'a' + 10);
    return std::nullopt;
}

std::optional<Color> parseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    Color value = 0;
    for (const char c : digits) {
        const auto d = hexDigit(c);
        if (!d)
            return std::nullopt;
        value = (value << 4) | *d;
    }
    return value;
}

std::optional<Color> byName(std::string_view name) {
    for (const NamedColor& c : kSystemColors)
        if (text::iequals(name, c.name))
            return c.color;
    std::string_view plain = name;
    if (plain.size() > 2 && text::istartsWith(plain, "cl"))
        plain.remove_prefix(2);
    for (const NamedColor& c : kBasicColors)
        if (text::iequals(plain, c.name))
            return c.color;
    return std::nullopt;
}

} // namespace

std::string colorToText(Color color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<unsigned>(color));
    return buffer;
}

std::optional<Color> textToColor(std::string_view textIn) {
    const std::string_view t = text::trimView(textIn);
    if (t.empty())
        return std::nullopt;
    if (t.front() == '$') {
        const auto value = parseHex(t.substr(1));
        if (!value)
            return std::nullopt;
        if ((*value & 0xFF000000u) == 0)
            return value;
        if (isSystemColor(*value) && (*value & 0x00FFFFFFu) <= kLastSystemIndex)
            return value;
        return std::nullopt;
    }
    if (t.front() == '#') {
        if (t.size() != 7)
            return std::nullopt;
        const auto value = parseHex(t.substr(1));
        if (!value)
            return std::nullopt;
        return rgbColor(static_cast<std::uint8_t>(*value >> 16), static_cast<std::uint8_t>(*value >> 8),
                        static_cast<std::uint8_t>(*value));
    }
    return byName(t);
}

} // namespace qora
