#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qora {

// A colour as the settings keep it: 0x00BBGGRR for a red/green/blue colour, 0x80000000 + n for system colour n
// (the window caption, the highlight and so on, which the editor maps onto its palette).
using Color = std::uint32_t;

constexpr Color rgbColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}
constexpr bool isSystemColor(Color c) {
    return (c & 0xFF000000u) == 0x80000000u;
}
inline constexpr Color clActiveCaption = 0x80000002u; // active window caption
inline constexpr Color clInactiveCaption = 0x80000003u;
inline constexpr Color clWindow = 0x80000005u;
inline constexpr Color clWindowText = 0x80000008u;
inline constexpr Color clCaptionText = 0x80000009u;
inline constexpr Color clHighlight = 0x8000000Du;
inline constexpr Color clHighlightText = 0x8000000Eu;
inline constexpr Color clBtnFace = 0x8000000Fu;
inline constexpr Color clGrayText = 0x80000011u;
inline constexpr Color clBtnText = 0x80000012u;

// The stored form of every colour: "$" + eight upper-case hexadecimal digits of the value ("$00BBGGRR", or
// "$8000000D" for the highlight), which textToColor reads back to the same colour.
std::string colorToText(Color color);

// Reads "$" + up to eight hexadecimal digits (an RGB value or a system colour), "#RRGGBB", and the standard colour
// names without regard to letter case: "clRed" or "red" for the 16 basic colours (also "grey"), and the system
// colours by their "cl" names ("clHighlight"). Anything else, including a value that is neither an RGB colour nor
// a known system colour, gives nullopt, so the caller keeps the colour it had.
std::optional<Color> textToColor(std::string_view text);

} // namespace qora
