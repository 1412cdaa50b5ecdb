#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "chart/chart_view.h"
#include "chart/line_data.h"

namespace qora {

// A failure of the chart engine: "TLineChart::" + operation + "-> " + what went wrong.
class LineChartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class LineChart;

// How a chart gets drawn. The chart decides what is drawn and when; a renderer (the editor's painter) draws it,
// reading the lines, the view and the geometry back from the chart.
class ChartRenderer {
public:
    virtual ~ChartRenderer() = default;
    // Sizes the background layer and the chart image to the view. False when they cannot be made.
    virtual bool resizeView(const LineChart& chart) = 0;
    // Rebuilds the background layer: background colour, picture, grid, then the background lines.
    virtual void rebuildBackground(const LineChart& chart) = 0;
    // Shows the layer plus the foreground lines and the active line's markers on the chart image: all of it, or
    // with `partial` only the chart's partial rectangle, everything else staying as it is.
    virtual void redraw(const LineChart& chart, bool partial) = 0;
    // Draws one marker of the active line over the chart image, in the active or the normal look.
    virtual void drawPointLook(const LineChart& chart, int index, bool active) = 0;
    // Sizes both legend images to their legends and draws their backgrounds and labels.
    virtual void drawLegends(const LineChart& chart) = 0;
};

// The size of the scroll area that shows the chart image; a centred picture is centred in its visible part.
struct ChartOwner {
    int width = 0;
    int height = 0;
};

// A chart of polylines of equally spaced points (x is the point's index) over a grid, with two axis legends, a
// background layer and markers for the active line's points, one of which can be dragged with the mouse.
// Values are plain numbers; the vertical legend range sets the scale.
class LineChart {
public:
    // Takes the view and the legends (either may be missing, which the operations that need them report);
    // the renderer is not owned and may be null (nothing is drawn). Throws LineChartError.
    LineChart(ChartOwner owner, std::unique_ptr<ChartView> view, std::unique_ptr<ChartLegends> legends,
              ChartRenderer* renderer = nullptr);
    ~LineChart();
    LineChart(const LineChart&) = delete;
    LineChart& operator=(const LineChart&) = delete;

    // Called as (line, point) after a dragged point has taken its new value, before the redraw.
    std::function<void(int line, int point)> pointChanged;

    void setRenderer(ChartRenderer* renderer) { m_renderer = renderer; }

    // Replaces the view and sizes the layer and the image to it; the no-argument form applies the current view
    // again after its record was changed. Callers follow with setLegends() and RecalcAll.
    void setView(std::unique_ptr<ChartView> view);
    void setView();
    // Replaces the legends (or applies the current ones again), recomputes the grid and draws both legends.
    void setLegends(std::unique_ptr<ChartLegends> legends);
    void setLegends();
    ChartView* view() { return m_view.get(); }
    const ChartView* view() const { return m_view.get(); }
    ChartLegends* legends() { return m_legends.get(); }
    const ChartLegends* legends() const { return m_legends.get(); }
    void setOwnerSize(int width, int height) { m_owner = {width, height}; }
    const ChartOwner& owner() const { return m_owner; }
    // Drops the view's background picture. A new picture or new markers are put into the view directly,
    // followed by RecalcAll.
    void clearPicture();

    // Appends a line; it becomes the active line, with point 0 active. Returns its index.
    int add(LineData line);
    void removeLine(int index);
    LineData& lineData(int index);
    const LineData& lineData(int index) const;
    int lineCount() const { return static_cast<int>(m_lines.size()); }
    int activeLine() const { return m_activeLine; } // -1 when there is none

    // Drawing starts disabled; enabling it redraws at once. Bulk changes are bracketed with false ... true.
    void setDrawing(bool enabled);
    bool drawing() const { return m_drawing; }
    // Shows the background layer plus the foreground on the image (only the partial rectangle while a point is
    // dragged). Does nothing while drawing is disabled.
    void redraw();
    // Recomputes every point's position and every line's highest point (a line whose active point is below 2
    // gets its highest point as active point), then rebuilds the background layer.
    void recalculateAll();
    void calculateGrid();
    void createBgLayer();
    // Stores a value (limited to the vertical maximum on the active line), places the point and updates the
    // line's highest point; returns the point's new y. Neither redraws nor calls pointChanged.
    int setPointValue(int lineIndex, int pointIndex, double value);
    static std::pair<int, double> findHighPoint(const LineData& line) { return qora::findHighPoint(line); }

    // The active line's point under (x, y), or -1. The first and the last point are never found.
    int pointAt(int x, int y) const;
    // Makes a point of the active line the active point and redraws the two markers that change look.
    void setActivePoint(int index);
    // Starts dragging the active point: refused for the first and the last point. While a drag runs, redraws
    // cover only the point, its neighbours and the segments between them.
    bool beginPointDrag();
    // Moves the dragged point to the whole value at y, kept between the vertical maximum and the bottom.
    // Does nothing unless a drag was begun.
    void dragPointTo(int x, int y);
    void endPointDrag();

    // Value to pixel row and back, rounded to the nearest whole number (a half to the even one). YToValue first
    // limits y to minY and maxY, each only when it is 0 or more.
    int valueToY(double value) const;
    double yToValue(int y, int minY, int maxY) const;

    // What a renderer reads.
    const ChartGrid& grid() const { return m_grid; }
    int markerRadius() const { return m_radius; }
    int pointX(int index) const { return m_grid.cellWidth * index; }
    int legendXLabelX(int label) const { return m_grid.cellWidth * label; } // label 0 is not drawn
    int legendYLabelY(int label) const;                                     // the label's vertical centre
    // Top-left corner of the picture in the centred style: centred in the part of the layer the owner shows
    // (its lower left, the scroll bars taking 16 and 10 pixels), at 0 where the picture is not smaller.
    std::pair<int, int> centredPicturePosition() const;
    ChartRect fullRect() const;
    bool partialMode() const { return m_partialMode; }
    const ChartRect& partialRect() const { return m_partialRect; }
    int partialCount() const { return m_partialCount; }
    int partialFirst() const { return m_partialFirst; }
    // The markers a redraw draws: all, or while dragging the dragged point and its two neighbours.
    PointRange markerPoints(const LineData& line, bool partial) const;
    // The points a redraw draws a line through: while dragging one point further on each side than the markers,
    // so the segments that cross the edges of the partial rectangle are drawn again inside it.
    PointRange linePoints(const LineData& line, bool partial) const;

private:
    LineData* activeLineData();
    void checkLines(const char* operation) const;
    void recalcLine(LineData& line);

    ChartRenderer* m_renderer = nullptr;
    ChartOwner m_owner;
    std::unique_ptr<ChartView> m_view;
    std::unique_ptr<ChartLegends> m_legends;
    std::vector<std::unique_ptr<LineData>> m_lines;
    int m_activeLine = -1;
    bool m_drawing = false;
    int m_radius = 5;
    ChartGrid m_grid;
    bool m_partialMode = false;
    ChartRect m_partialRect;
    int m_partialCount = 0;
    int m_partialFirst = 0;
};

} // namespace qora
