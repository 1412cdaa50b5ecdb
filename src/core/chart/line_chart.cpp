#include "chart/line_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace qora {

namespace {

// Pixel positions are kept within this distance of the image so that a huge value from a file can neither
// overflow the conversion to int nor overflow a painter's fixed-point coordinates; a point that far off the chart
// is drawn the same either way.
constexpr long double kCoordinateLimit = 1 << 20;

[[noreturn]] void fail(const char* operation, const char* text) {
    throw LineChartError(std::string("TLineChart::") + operation + "-> " + text);
}

// To the nearest whole number, a half going to the even neighbour (the default rounding mode).
long double roundHalfEven(long double value) {
    return std::nearbyint(value);
}

} // namespace

LineChart::LineChart(ChartOwner owner, std::unique_ptr<ChartView> view, std::unique_ptr<ChartLegends> legends,
                     ChartRenderer* renderer)
    : m_renderer(renderer), m_owner(owner), m_view(std::move(view)), m_legends(std::move(legends)) {
    if (m_view && m_renderer && !m_renderer->resizeView(*this))
        fail("TLineChart()", "Back-buffer creation failed.  There may not be enough memory.");
    setLegends();
}

LineChart::~LineChart() = default;

void LineChart::setView(std::unique_ptr<ChartView> view) {
    m_view = std::move(view);
    setView();
}

void LineChart::setView() {
    if (m_view && m_renderer && !m_renderer->resizeView(*this))
        fail("SetView()", "Back-buffer creation failed.  There may not be enough memory.");
}

void LineChart::setLegends(std::unique_ptr<ChartLegends> legends) {
    m_legends = std::move(legends);
    setLegends();
}

void LineChart::setLegends() {
    if (!m_view)
        fail("SetLegends()", "A view must exist before a legend can be calculated.");
    calculateGrid();
    if (m_renderer)
        m_renderer->drawLegends(*this);
}

void LineChart::clearPicture() {
    if (m_view)
        m_view->picture.reset();
}

void LineChart::calculateGrid() {
    if (!m_view)
        fail("CalcGrid()", "No view has been defined.");
    if (!m_legends)
        fail("CalcGrid()", "No legends have been defined.");
    ChartGrid grid;
    grid.cellsX = static_cast<int>(m_legends->x.labels.size()) - 1;
    grid.cellsY = static_cast<int>(m_legends->y.labels.size()) - 1;
    // Fewer labels, a view narrower than its cells or a range that is not positive would divide by zero.
    if (grid.cellsX < 1 || grid.cellsY < 1)
        fail("CalcGrid()", "Each legend needs at least two labels.");
    grid.cellWidth = m_view->width / grid.cellsX;
    grid.cellHeight = m_view->height / grid.cellsY;
    if (grid.cellWidth < 1 || grid.cellHeight < 1)
        fail("CalcGrid()", "The view is too small for its legends.");
    if (!(m_legends->verticalRange > 0) || !std::isfinite(m_legends->verticalRange))
        fail("CalcGrid()", "The vertical range must be greater than 0.");
    grid.bottom = m_view->height - 1;
    grid.top = grid.bottom - grid.cellHeight * grid.cellsY;
    grid.height = grid.bottom - grid.top;
    grid.leftX = grid.cellWidth - m_radius;
    grid.rightX = (grid.cellsX - 1) * grid.cellWidth + m_radius;
    grid.valuePerPixel = static_cast<long double>(m_legends->verticalRange) / grid.height;
    m_grid = grid;
    m_grid.maximumY = valueToY(m_legends->verticalMaximum);
}

int LineChart::add(LineData line) {
    line.activePointIndex = 0;
    m_lines.push_back(std::make_unique<LineData>(std::move(line)));
    m_activeLine = lineCount() - 1;
    return m_activeLine;
}

void LineChart::removeLine(int index) {
    if (index < 0 || index >= lineCount())
        fail("Delete()", "Index out of bounds.");
    m_lines.erase(m_lines.begin() + index);
    // The active line stays the same line; when it is the one deleted, no line is active.
    if (index == m_activeLine) {
        m_activeLine = -1;
        m_partialMode = false;
    } else if (index < m_activeLine) {
        --m_activeLine;
    }
}

LineData& LineChart::lineData(int index) {
    if (index < 0 || index >= lineCount())
        fail("GetLineData()", "Index out of bounds.");
    return *m_lines[static_cast<std::size_t>(index)];
}

const LineData& LineChart::lineData(int index) const {
    return const_cast<LineChart*>(this)->lineData(index);
}

LineData* LineChart::activeLineData() {
    return m_activeLine >= 0 ? m_lines[static_cast<std::size_t>(m_activeLine)].get() : nullptr;
}

void LineChart::checkLines(const char* operation) const {
    if (m_lines.empty())
        fail(operation, "No lines exist to be drawn.");
}

void LineChart::setDrawing(bool enabled) {
    const bool wasEnabled = m_drawing;
    m_drawing = enabled;
    if (enabled && !wasEnabled)
        redraw();
}

void LineChart::redraw() {
    if (!m_drawing || !m_view)
        return;
    checkLines("DrawLines()");
    if (m_renderer)
        m_renderer->redraw(*this, m_partialMode);
}

void LineChart::recalcLine(LineData& line) {
    for (std::size_t i = 0; i < line.points.size(); ++i) {
        line.points[i].x = pointX(static_cast<int>(i));
        line.points[i].y = valueToY(line.points[i].value);
    }
    refreshHighPoint(line);
    if (line.activePointIndex < 2)
        line.activePointIndex = line.highestPointIndex;
}

void LineChart::recalculateAll() {
    if (m_legends)
        m_grid.maximumY = valueToY(m_legends->verticalMaximum);
    for (auto& line : m_lines)
        recalcLine(*line);
    createBgLayer();
}

void LineChart::createBgLayer() {
    if (!m_view)
        fail("CreateBgLayer()", "Cannot create background layer without an allocated view.");
    checkLines("DrawLines()");
    if (m_renderer)
        m_renderer->rebuildBackground(*this);
}

int LineChart::setPointValue(int lineIndex, int pointIndex, double value) {
    LineData& line = lineData(lineIndex);
    if (pointIndex < 0 || pointIndex >= static_cast<int>(line.points.size()))
        fail("SetPointValue()", "Index out of bounds.");
    if (lineIndex == m_activeLine && m_legends && value > m_legends->verticalMaximum)
        value = m_legends->verticalMaximum;
    LinePoint& point = line.points[static_cast<std::size_t>(pointIndex)];
    point.value = value;
    point.x = pointX(pointIndex);
    point.y = valueToY(value);
    refreshHighPoint(line);
    return point.y;
}

int LineChart::pointAt(int x, int y) const {
    if (m_activeLine < 0 || m_grid.cellWidth <= 0)
        return -1;
    if (x < m_grid.leftX || x > m_grid.rightX)
        return -1;
    const LineData& line = *m_lines[static_cast<std::size_t>(m_activeLine)];
    const int i = std::max(static_cast<int>(roundHalfEven(static_cast<long double>(x) / m_grid.cellWidth)), 0);
    if (i >= static_cast<int>(line.points.size()))
        return -1;
    const LinePoint& point = line.points[static_cast<std::size_t>(i)];
    return std::abs(x - point.x) <= m_radius && std::abs(y - point.y) <= m_radius ? i : -1;
}

void LineChart::setActivePoint(int index) {
    checkLines("DrawPoints()");
    LineData* line = activeLineData();
    if (!line)
        return;
    if (index < 0 || index >= static_cast<int>(line->points.size()))
        fail("SetActivePoint()", "Index out of bounds.");
    const int previous = line->activePointIndex;
    line->activePointIndex = index;
    if (!m_drawing || !m_view || !m_renderer)
        return;
    m_renderer->drawPointLook(*this, index, true);
    // Only a point other than the new one loses the active look; otherwise a click on the active point would
    // leave it drawn as a normal one.
    if (previous != index && previous >= 0 && previous < static_cast<int>(line->points.size()))
        m_renderer->drawPointLook(*this, previous, false);
}

bool LineChart::beginPointDrag() {
    const LineData* line = activeLineData();
    if (!line)
        return false;
    const int active = line->activePointIndex;
    if (active < 1 || active > static_cast<int>(line->points.size()) - 2)
        return false;
    const int x = pointX(active);
    m_partialRect = {x - (m_grid.cellWidth + 1), 0, x + m_grid.cellWidth + 1, m_grid.bottom + 1};
    m_partialCount = 3;
    m_partialFirst = active - 1;
    m_partialMode = true;
    return true;
}

void LineChart::dragPointTo(int /*x*/, int y) {
    LineData* line = activeLineData();
    if (!m_partialMode || !line)
        return;
    // The y of the vertical maximum limits the drag even when it lies above the image.
    y = std::clamp(y, std::min(m_grid.maximumY, m_grid.bottom), m_grid.bottom);
    const int active = line->activePointIndex;
    LinePoint& point = line->points[static_cast<std::size_t>(active)];
    point.value = yToValue(y, -1, -1);
    point.y = y;
    refreshHighPoint(*line);
    if (pointChanged)
        pointChanged(m_activeLine, active);
    redraw();
}

void LineChart::endPointDrag() {
    m_partialMode = false;
    redraw();
}

int LineChart::valueToY(double value) const {
    const long double y = m_grid.bottom - static_cast<long double>(value) / m_grid.valuePerPixel;
    if (std::isnan(y))
        return m_grid.bottom;
    return static_cast<int>(roundHalfEven(std::clamp(y, -kCoordinateLimit, kCoordinateLimit)));
}

double LineChart::yToValue(int y, int minY, int maxY) const {
    if (minY >= 0 && y < minY)
        y = minY;
    if (maxY >= 0 && y > maxY)
        y = maxY;
    return static_cast<double>(roundHalfEven(static_cast<long double>(m_grid.bottom - y) * m_grid.valuePerPixel));
}

int LineChart::legendYLabelY(int label) const {
    return m_grid.bottom - label * m_grid.cellHeight;
}

std::pair<int, int> LineChart::centredPicturePosition() const {
    if (!m_view || !m_view->picture)
        return {0, 0};
    const int pictureWidth = m_view->picture->width();
    const int pictureHeight = m_view->picture->height();
    const int visibleHeight = m_owner.height - 10;
    const int x = pictureWidth < m_view->width ? (m_owner.width - 16 - pictureWidth) / 2 : 0;
    const int y =
        pictureHeight < m_view->height ? (visibleHeight - pictureHeight) / 2 + (m_view->height - visibleHeight) : 0;
    return {x, y};
}

ChartRect LineChart::fullRect() const {
    return m_view ? ChartRect{0, 0, m_view->width, m_view->height} : ChartRect{};
}

PointRange LineChart::markerPoints(const LineData& line, bool partial) const {
    const int count = static_cast<int>(line.points.size());
    if (!partial)
        return {0, count};
    const int first = std::clamp(m_partialFirst, 0, count);
    const int last = std::clamp(m_partialFirst + m_partialCount, first, count);
    return {first, last - first};
}

PointRange LineChart::linePoints(const LineData& line, bool partial) const {
    const int count = static_cast<int>(line.points.size());
    if (!partial)
        return {0, count};
    const int first = std::clamp(m_partialFirst - 1, 0, count);
    const int last = std::clamp(m_partialFirst + m_partialCount + 1, first, count);
    return {first, last - first};
}

} // namespace qora
