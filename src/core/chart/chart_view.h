#pragma once

#include <memory>
#include <string>
#include <vector>

#include "settings/color_text.h"

namespace qora {

// A picture the host owns and draws (background picture, point marker, legend pattern). The chart only needs its
// size; the renderer that made it knows its pixels.
class ChartPicture {
public:
    virtual ~ChartPicture() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};
using ChartPicturePtr = std::shared_ptr<const ChartPicture>;

// How the background picture covers the layer; the numbers are those the settings store.
enum class PictureStyle { Normal = 0, Centred = 1, Tiled = 2, Stretched = 3 };

// The drawing target: the chart image and what the background layer and the markers are made of.
struct ChartView {
    int width = 0; // the chart image, in pixels
    int height = 0;
    Color gridColor = 0;
    Color backgroundColor = 0;
    bool lines3D = false;    // lines get a high-colour edge above and a shadow edge below
    bool points3D = false;   // markers use the point bitmaps when present
    ChartPicturePtr picture; // background picture; none when empty
    PictureStyle pictureStyle = PictureStyle::Normal;
    ChartPicturePtr pointBitmap; // 11 x 11 markers, normal and active look
    ChartPicturePtr activePointBitmap;
};

// One axis legend, drawn on its own image beside the chart.
struct ChartLegend {
    int width = 0; // the legend image, in pixels
    int height = 0;
    std::vector<std::string> labels;
    Color textColor = 0;
    Color backgroundColor = 0; // used only without a pattern
    std::string fontName;
    int fontSize = 8;        // points
    ChartPicturePtr pattern; // tiled behind the labels when present
};

struct ChartLegends {
    ChartLegend x;             // one label per grid column line, the first at the left edge
    ChartLegend y;             // one label per grid row line, the first at the bottom
    double verticalRange = 0;   // the value at the top of the grid: it sets the scale
    double verticalMaximum = 0; // the highest value a drag or the active line may reach
};

// The grid metrics CalcGrid derives from the view's size and the legends.
struct ChartGrid {
    int cellsX = 0; // X labels - 1
    int cellsY = 0; // Y labels - 1
    int cellWidth = 0;
    int cellHeight = 0;
    int top = 0;
    int maximumY = 0; // y of the vertical maximum
    int leftX = 0;    // leftmost pickable x
    int rightX = 0;   // rightmost pickable x
    int bottom = 0;
    int height = 0; // bottom - top
    long double valuePerPixel = 0;
};

// A pixel rectangle; right and bottom are exclusive.
struct ChartRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const ChartRect&, const ChartRect&) = default;
};

// A run of point indexes: count points from first.
struct PointRange {
    int first = 0;
    int count = 0;
    friend bool operator==(const PointRange&, const PointRange&) = default;
};

} // namespace qora
