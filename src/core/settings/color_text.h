#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qora {

// A colour as the settings keep it: 0x00BBGGRR for a red/green/blue colour, 0x80000000 + n for system colour n
// (the window caption, the highlight and so on, which the editor maps onto its palette).
using TColor = std::uint32_t;

constexpr TColor rgbColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr bool isSystemColor(TColor c) {
    return (c & 0xFF000000u) == 0x80000000u;
}
inline constexpr TColor clActiveCaption = 0x80000002u; // active window caption
inline constexpr TColor clInactiveCaption = 0x80000003u;
inline constexpr TColor clWindow = 0x80000005u;
inline constexpr TColor clWindowText = 0x80000008u;
inline constexpr TColor clCaptionText = 0x80000009u;
inline constexpr TColor clHighlight = 0x8000000Du;
inline constexpr TColor clHighlightText = 0x8000000Eu;
inline constexpr TColor clBtnFace = 0x8000000Fu;
inline constexpr TColor clGrayText = 0x80000011u;
inline constexpr TColor clBtnText = 0x80000012u;

// The stored form of every colour: "$" + eight upper-case hexadecimal digits of the value ("$00BBGGRR", or
// "$8000000D" for the highlight), which textToColor reads back to the same colour.
std::string colorToText(TColor color);

// Reads "$" + up to eight hexadecimal digits (an RGB value or a system colour), "#RRGGBB", and the standard colour
// names without regard to letter case: "clRed" or "red" for the 16 basic colours (also "grey"), and the system
// colours by their "cl" names ("clHighlight"). Anything else, including a value that is neither an RGB colour nor
// a known system colour, gives nullopt, so the caller keeps the colour it had.
std::optional<TColor> textToColor(std::string_view text);

} // namespace qora
