#pragma once

#include <utility>
#include <vector>

#include "settings/color_text.h"

namespace qora {

// One point of a chart line: its value, and where the chart places it, in pixels.
struct LinePoint {
    double value = 0;
    int x = 0;
    int y = 0;
};

// One line of a chart: equally spaced points (x is the point's index), its colours and state.
struct LineData {
    // The line is drawn as three polylines: one pixel above in the high colour, one below in the shadow colour
    // (with 3D lines on) and the line itself in the normal colour.
    Color high = 0;
    Color normal = 0;
    Color shadow = 0;
    // Point markers: fill and outline, normal and active.
    Color point = 0;
    Color pointShadow = 0;
    Color activePoint = 0;
    Color activePointShadow = 0;
    bool visible = true;
    std::vector<LinePoint> points;
    int activePointIndex = 0;
    int highestPointIndex = 0;
    double highestValue = 0;
    int unit = 0;            // owned by the chart's user (the engine curve's Nm/ft-lbs or kW/hp flag)
    bool background = false; // drawn into the background layer rather than over it
    int userTag = 0;         // set by the chart's user; the chart does not read it
};

// The highest point of a line: start with index 0 and value 0; for the points 1 to count - 2, a value strictly
// greater than the best replaces it. So ties keep the lower index, the two end points never count, and a line
// without a positive value reports index 0.
inline std::pair<int, double> findHighPoint(const LineData& line) {
    int best = 0;
    double value = 0.0;
    for (std::size_t i = 1; i + 1 < line.points.size(); ++i) {
        if (line.points[i].value > value) {
            best = static_cast<int>(i);
            value = line.points[i].value;
        }
    }
    return {best, value};
}

// Records the line's highest point in the line after its values changed.
inline void refreshHighPoint(LineData& line) {
    const auto [index, value] = findHighPoint(line);
    line.highestPointIndex = index;
    line.highestValue = value;
}

} // namespace qora
