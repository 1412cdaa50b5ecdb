#include "chart/chart_painter.h"

#include <algorithm>
#include <cstring>

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPen>

#include "chart/chart_bitmap.h"

namespace qora {

namespace {

QRect toQRect(const ChartRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

// Copies a rectangle of the layer onto the image, row by row; both are RGB32 of the same size.
void copyRect(const QImage& from, QImage& to, const QRect& rect) {
    if (rect.isEmpty())
        return;
    if (rect == to.rect() && from.bytesPerLine() == to.bytesPerLine()) {
        std::memcpy(to.bits(), from.constBits(), static_cast<std::size_t>(from.sizeInBytes()));
        return;
    }
    const std::size_t offset = static_cast<std::size_t>(rect.left()) * 4;
    const std::size_t bytes = static_cast<std::size_t>(rect.width()) * 4;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        std::memcpy(to.scanLine(y) + offset, from.constScanLine(y) + offset, bytes);
}

QPen linePen(Color color) {
    QPen pen(ChartPainter::toQColor(color));
    pen.setWidth(1);
    return pen;
}

void fillLegend(QImage& image, const ChartLegend& legend) {
    image = QImage();
    if (legend.width <= 0 || legend.height <= 0)
        return;
    image = QImage(legend.width, legend.height, QImage::Format_RGB32);
    if (image.isNull())
        return;
    QPainter painter(&image);
    if (const QImage* pattern = chartBitmapImage(legend.pattern))
        painter.fillRect(image.rect(), QBrush(*pattern));
    else
        painter.fillRect(image.rect(), ChartPainter::toQColor(legend.backgroundColor));
}

QFont legendFont(const ChartLegend& legend) {
    QFont font(QString::fromLatin1(legend.fontName.data(), static_cast<qsizetype>(legend.fontName.size())));
    if (legend.fontSize > 0)
        font.setPointSize(legend.fontSize);
    return font;
}

QString labelText(const std::string& label) {
    return QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
}

// Labels closer than this look like one number.
constexpr int kLabelGap = 4;

// Which X labels fit side by side: every one, else every second, fourth, ... counted from label 0, so a legend
// of half steps ("0", "0.5", "1", ...) keeps all its whole numbers and drops the halves first.
std::size_t labelStep(const QFontMetrics& metrics, const std::vector<std::string>& labels, int cellWidth) {
    std::size_t step = 1;
    for (; step < labels.size(); step *= 2) {
        int widest = 0;
        for (std::size_t i = step; i < labels.size(); i += step)
            widest = std::max(widest, metrics.horizontalAdvance(labelText(labels[i])));
        if (widest + kLabelGap <= static_cast<int>(step) * cellWidth)
            break;
    }
    return step;
}

} // namespace

QColor ChartPainter::toQColor(Color color) {
    if (!isSystemColor(color))
        return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                      static_cast<int>((color >> 16) & 0xFF));
    const QPalette palette = qGuiApp ? QGuiApplication::palette() : QPalette();
    switch (color) {
    case clActiveCaption:
    case clHighlight:
        return palette.color(QPalette::Highlight);
    case clInactiveCaption:
        return palette.color(QPalette::Inactive, QPalette::Highlight);
    case clWindow:
        return palette.color(QPalette::Base);
    case clWindowText:
        return palette.color(QPalette::Text);
    case clCaptionText:
    case clHighlightText:
        return palette.color(QPalette::HighlightedText);
    case clBtnFace:
        return palette.color(QPalette::Button);
    case clGrayText:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case clBtnText:
        return palette.color(QPalette::ButtonText);
    default:
        return palette.color(QPalette::Window);
    }
}

bool ChartPainter::resizeView(const LineChart& chart) {
    const ChartView& view = *chart.view();
    if (view.width <= 0 || view.height <= 0) {
        m_layer = QImage();
        m_image = QImage();
        return true;
    }
    if (m_layer.size() != QSize(view.width, view.height)) {
        m_layer = QImage(view.width, view.height, QImage::Format_RGB32);
        m_image = QImage(view.width, view.height, QImage::Format_RGB32);
        if (m_layer.isNull() || m_image.isNull()) {
            m_layer = QImage();
            m_image = QImage();
            return false;
        }
        // Magenta until the first redraw, so an image shown too early is plainly not a chart.
        m_image.fill(QColor(255, 0, 255));
    }
    return true;
}

void ChartPainter::rebuildBackground(const LineChart& chart) {
    if (m_layer.isNull())
        return;
    const ChartView& view = *chart.view();
    const ChartGrid& grid = chart.grid();
    const QRect all = m_layer.rect();
    QPainter painter(&m_layer);
    painter.fillRect(all, toQColor(view.backgroundColor));

    if (const QImage* picture = chartBitmapImage(view.picture)) {
        switch (view.pictureStyle) {
        case PictureStyle::Normal:
            painter.drawImage(0, 0, *picture);
            break;
        case PictureStyle::Stretched:
            painter.drawImage(all, *picture);
            break;
        case PictureStyle::Tiled:
            painter.fillRect(all, QBrush(*picture));
            break;
        case PictureStyle::Centred: {
            const auto [x, y] = chart.centredPicturePosition();
            painter.drawImage(x, y, *picture);
            break;
        }
        }
    }

    painter.setPen(linePen(view.gridColor));
    for (int k = 1; k < grid.cellsX; ++k)
        painter.drawLine(k * grid.cellWidth, 0, k * grid.cellWidth, all.bottom());
    for (int k = 1; k < grid.cellsY; ++k)
        painter.drawLine(0, grid.bottom - k * grid.cellHeight, all.right(), grid.bottom - k * grid.cellHeight);

    drawLines(painter, chart, true, false);
}

void ChartPainter::redraw(const LineChart& chart, bool partial) {
    if (m_image.isNull() || m_layer.size() != m_image.size())
        return;
    const QRect area = partial ? toQRect(chart.partialRect()) & m_image.rect() : m_image.rect();
    if (area.isEmpty())
        return;
    copyRect(m_layer, m_image, area);
    QPainter painter(&m_image);
    if (partial)
        painter.setClipRect(area);
    drawLines(painter, chart, false, partial);
    drawPoints(painter, chart, partial);
    painter.end();
    imageChanged(area);
}

void ChartPainter::drawPointLook(const LineChart& chart, int index, bool active) {
    if (m_image.isNull() || chart.activeLine() < 0)
        return;
    const LineData& line = chart.lineData(chart.activeLine());
    if (!line.visible || index < 0 || index >= static_cast<int>(line.points.size()))
        return;
    QPainter painter(&m_image);
    drawMarker(painter, chart, line, index, active);
    painter.end();
    const LinePoint& point = line.points[static_cast<std::size_t>(index)];
    const int r = chart.markerRadius();
    imageChanged(QRect(point.x - r, point.y - r, 2 * r + 1, 2 * r + 1) & m_image.rect());
}

void ChartPainter::drawLegends(const LineChart& chart) {
    const ChartLegends* legends = chart.legends();
    if (!legends)
        return;
    fillLegend(m_legendX, legends->x);
    if (!m_legendX.isNull()) {
        QPainter painter(&m_legendX);
        painter.setFont(legendFont(legends->x));
        painter.setPen(toQColor(legends->x.textColor));
        // Label 0 would be cut in half by the left edge; the Y legend's 0 stands for both axes.
        const std::size_t step = labelStep(painter.fontMetrics(), legends->x.labels, chart.grid().cellWidth);
        for (std::size_t i = step; i < legends->x.labels.size(); i += step) {
            const int x = chart.legendXLabelX(static_cast<int>(i));
            painter.drawText(QRect(x - 500, 0, 1000, m_legendX.height()), Qt::AlignHCenter | Qt::AlignTop,
                             labelText(legends->x.labels[i]));
        }
    }
    fillLegend(m_legendY, legends->y);
    if (!m_legendY.isNull()) {
        QPainter painter(&m_legendY);
        painter.setFont(legendFont(legends->y));
        painter.setPen(toQColor(legends->y.textColor));
        for (std::size_t i = 0; i < legends->y.labels.size(); ++i) {
            const int y = chart.legendYLabelY(static_cast<int>(i));
            painter.drawText(QRect(0, y - 500, m_legendY.width(), 1001), Qt::AlignRight | Qt::AlignVCenter,
                             labelText(legends->y.labels[i]));
        }
    }
    if (onLegendsChanged)
        onLegendsChanged();
}

void ChartPainter::drawLines(QPainter& painter, const LineChart& chart, bool backgroundPass, bool partial) {
    const bool lines3D = chart.view()->lines3D;
    for (int l = 0; l < chart.lineCount(); ++l) {
        const LineData& line = chart.lineData(l);
        if (!line.visible || line.background != backgroundPass)
            continue;
        const PointRange range = chart.linePoints(line, partial);
        if (range.count < 2)
            continue;
        m_polyline.resize(range.count);
        for (int i = 0; i < range.count; ++i) {
            const LinePoint& point = line.points[static_cast<std::size_t>(range.first + i)];
            m_polyline[i] = QPoint(point.x, point.y);
        }
        // One pixel above, one below, then the line itself on top: a three-pixel line, shaded with 3D lines on.
        painter.setPen(linePen(lines3D ? line.high : line.normal));
        painter.translate(0, -1);
        painter.drawPolyline(m_polyline.constData(), range.count);
        painter.setPen(linePen(lines3D ? line.shadow : line.normal));
        painter.translate(0, 2);
        painter.drawPolyline(m_polyline.constData(), range.count);
        painter.setPen(linePen(line.normal));
        painter.translate(0, -1);
        painter.drawPolyline(m_polyline.constData(), range.count);
    }
}

void ChartPainter::drawPoints(QPainter& painter, const LineChart& chart, bool partial) {
    if (chart.activeLine() < 0)
        return;
    const LineData& line = chart.lineData(chart.activeLine());
    if (!line.visible)
        return;
    const PointRange range = chart.markerPoints(line, partial);
    for (int i = range.first; i < range.first + range.count; ++i)
        drawMarker(painter, chart, line, i, i == line.activePointIndex);
}

void ChartPainter::drawMarker(QPainter& painter, const LineChart& chart, const LineData& line, int index, bool active) {
    const ChartView& view = *chart.view();
    const LinePoint& point = line.points[static_cast<std::size_t>(index)];
    const int r = chart.markerRadius();
    const QImage* bitmap =
        view.points3D ? chartBitmapImage(active ? view.activePointBitmap : view.pointBitmap) : nullptr;
    if (bitmap) {
        painter.drawImage(point.x - r, point.y - r, *bitmap);
        return;
    }
    painter.setPen(linePen(active ? line.activePointShadow : line.pointShadow));
    painter.setBrush(toQColor(active ? line.activePoint : line.point));
    painter.drawEllipse(QPoint(point.x, point.y), r, r);
}

void ChartPainter::imageChanged(const QRect& rect) {
    if (onImageChanged && !rect.isEmpty())
        onImageChanged(rect);
}

} // namespace qora
