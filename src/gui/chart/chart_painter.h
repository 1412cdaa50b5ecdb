#pragma once

#include <functional>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QVector>

#include "chart/line_chart.h"

class QPainter;

namespace qora {

// Draws a LineChart with QPainter into images a widget shows: the chart image (background layer plus the
// foreground lines and markers) and the two legend images. The background layer is kept apart, so a redraw
// copies it (whole, or the partial rectangle while a point is dragged) and draws only the foreground over it.
class ChartPainter final : public ChartRenderer {
public:
    bool resizeView(const LineChart& chart) override;
    void rebuildBackground(const LineChart& chart) override;
    void redraw(const LineChart& chart, bool partial) override;
    void drawPointLook(const LineChart& chart, int index, bool active) override;
    void drawLegends(const LineChart& chart) override;

    const QImage& image() const { return m_image; }
    const QImage& background() const { return m_layer; }
    const QImage& legendX() const { return m_legendX; }
    const QImage& legendY() const { return m_legendY; }

    // Told which part of the chart image changed, so that a widget repaints only that part.
    std::function<void(const QRect&)> onImageChanged;
    // Told when the legend images were drawn again.
    std::function<void()> onLegendsChanged;

    // A chart colour as Qt draws it; system colours come from the application's palette.
    static QColor toQColor(Color color);

private:
    void drawLines(QPainter& painter, const LineChart& chart, bool backgroundPass, bool partial);
    void drawPoints(QPainter& painter, const LineChart& chart, bool partial);
    void drawMarker(QPainter& painter, const LineChart& chart, const LineData& line, int index, bool active);
    void imageChanged(const QRect& rect);

    QImage m_layer;
    QImage m_image;
    QImage m_legendX;
    QImage m_legendY;
    QVector<QPoint> m_polyline; // reused, so a redraw does not allocate
};

} // namespace qora
