#pragma once

#include <algorithm>
#include <array>

// The torque chart's sizes, shared by its set-up and its zoom: the chart image grows by a step per zoom level in
// either direction, and the legends stand beside and under it.
namespace qora::gui::torque_chart_layout {

inline constexpr int kMaxZoom = 4;
inline constexpr int kBaseWidth = 608;
inline constexpr int kWidthPerZoom = 121;
inline constexpr int kBaseHeight = 288;
inline constexpr int kHeightPerZoom = 38;
inline constexpr int kLeftLegendWidth = 30;
inline constexpr int kBottomLegendHeight = 14;
inline constexpr int kLeftLegendExtra = 10;
// The room the scroll bars take beside and under the chart image as the owner of a centred picture sees it.
inline constexpr int kScrollBarRoom = 16;
inline constexpr int kWheelStep = 120; // one notch of a mouse wheel

inline constexpr std::array<const char*, kMaxZoom + 1> kXScaleTexts{"0%", "20%", "40%", "60%", "80%"};
inline constexpr std::array<const char*, kMaxZoom + 1> kYScaleTexts{"0%", "15%", "30%", "45%", "60%"};

inline int chartWidth(int zoom) {
    return kBaseWidth + kWidthPerZoom * std::clamp(zoom, 0, kMaxZoom);
}

// 288, 326, 369, 402, 440: a height that is a multiple of 14 grows by 5 so the grid rows stay whole.
inline int chartHeight(int zoom) {
    int height = kBaseHeight + kHeightPerZoom * std::clamp(zoom, 0, kMaxZoom);
    if (height % 14 == 0)
        height += 5;
    return height;
}

} // namespace qora::gui::torque_chart_layout
