#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart/line_chart.h"
#include "support/message_of.h"

using namespace qora;
using qora::testing::messageOf;

namespace {

// Records what the chart asks to be drawn.
class RecordingRenderer : public ChartRenderer {
public:
    bool canResize = true;
    std::vector<std::string> calls;

    bool resizeView(const LineChart&) override {
        calls.push_back("resize");
        return canResize;
    }
    void rebuildBackground(const LineChart&) override { calls.push_back("background"); }
    void redraw(const LineChart&, bool partial) override { calls.push_back(partial ? "partial" : "full"); }
    void drawPointLook(const LineChart&, int index, bool active) override {
        calls.push_back("point " + std::to_string(index) + (active ? " active" : " normal"));
    }
    void drawLegends(const LineChart&) override { calls.push_back("legends"); }
};

class SizedBitmap : public ChartPicture {
public:
    SizedBitmap(int w, int h) : m_w(w), m_h(h) {}
    int width() const override { return m_w; }
    int height() const override { return m_h; }

private:
    int m_w, m_h;
};

std::unique_ptr<ChartView> engineView(int width = 608, int height = 288) {
    auto view = std::make_unique<ChartView>();
    view->width = width;
    view->height = height;
    return view;
}

// The engine chart's legends: 0 .. 14 hundreds and 0 .. 20 thousands of rpm in steps of 0.5.
std::unique_ptr<ChartLegends> engineLegends(double maximum = 1400.0) {
    auto legends = std::make_unique<ChartLegends>();
    for (int i = 0; i <= 14; ++i)
        legends->y.labels.push_back(std::to_string(i));
    for (int i = 0; i <= 40; ++i)
        legends->x.labels.push_back(i % 2 ? std::to_string(i / 2) + ".5" : std::to_string(i / 2));
    legends->verticalRange = 1400.0;
    legends->verticalMaximum = maximum;
    return legends;
}

LineData lineOf(std::vector<double> values, bool background = false) {
    LineData line;
    line.background = background;
    for (double v : values)
        line.points.push_back({v, 0, 0});
    return line;
}

// Four lines of 41 points in the editor's order; the torque line (3) is active.
void addEngineLines(LineChart& chart, double torque = 500) {
    chart.add(lineOf(std::vector<double>(41, 0), true));
    chart.add(lineOf(std::vector<double>(41, 0), true));
    chart.add(lineOf(std::vector<double>(41, 200)));
    chart.add(lineOf(std::vector<double>(41, torque)));
    chart.recalculateAll();
}

} // namespace

TEST(LineChart, GridOfTheEngineChartAtBothEndsOfTheZoom) {
    LineChart chart({624, 298}, engineView(), engineLegends());
    const ChartGrid& g = chart.grid();
    EXPECT_EQ(g.cellsX, 40);
    EXPECT_EQ(g.cellWidth, 15);
    EXPECT_EQ(g.cellHeight, 20);
    EXPECT_EQ(g.bottom, 287);
    EXPECT_EQ(g.top, 7);
    EXPECT_EQ(g.height, 280);
    EXPECT_EQ(g.leftX, 10);
    EXPECT_EQ(g.rightX, 590);
    EXPECT_EQ(g.valuePerPixel, 5.0L);
    EXPECT_EQ(g.maximumY, 7);
    EXPECT_EQ(chart.legendYLabelY(14), 7);
    EXPECT_EQ(chart.legendXLabelX(40), 600);

    addEngineLines(chart);
    const LineData& torque = chart.lineData(3);
    for (int i = 0; i < 41; ++i)
        EXPECT_EQ(torque.points[static_cast<std::size_t>(i)].x, 15 * i);

    // The widest and highest zoom, changed the way the editor does it: the view record, then SetView and
    // setLegends(), then RecalcAll.
    chart.view()->width = 1092;
    chart.view()->height = 440;
    chart.setView();
    chart.setLegends();
    chart.recalculateAll();
    EXPECT_EQ(chart.grid().cellWidth, 27);
    EXPECT_EQ(chart.grid().cellHeight, 31);
    EXPECT_EQ(chart.grid().top, 5);
    EXPECT_EQ(torque.points[40].x, 1080);
    EXPECT_EQ(torque.points[5].y, chart.valueToY(500));
}

TEST(LineChart, ValuesAndRowsRoundHalfToEvenAndStayDrawable) {
    LineChart chart({}, engineView(), engineLegends());
    EXPECT_EQ(chart.valueToY(0), 287);
    EXPECT_EQ(chart.valueToY(1400), 7);
    EXPECT_EQ(chart.valueToY(702.5), 146); // 146.5
    EXPECT_EQ(chart.valueToY(697.5), 148); // 147.5
    EXPECT_EQ(chart.yToValue(100, -1, -1), 935);
    EXPECT_EQ(chart.yToValue(0, 7, 287), 1400);
    EXPECT_EQ(chart.yToValue(300, 7, 287), 0);
    EXPECT_EQ(chart.yToValue(300, -1, -1), -65);

    // Values from a file can be anything; their rows stay within what a painter can draw.
    EXPECT_EQ(chart.valueToY(1e300), -(1 << 20));
    EXPECT_EQ(chart.valueToY(-1e300), 1 << 20);
    EXPECT_EQ(chart.valueToY(std::nan("")), 287);

    // 326 pixels high: 1400 / 322 per pixel, and still whole values.
    chart.view()->height = 326;
    chart.setLegends();
    for (int y = 0; y < 326; ++y) {
        const double v = chart.yToValue(y, -1, -1);
        EXPECT_EQ(v, std::floor(v)) << y;
    }
}

TEST(LineChart, PicksOnlyInnerPointsWithinTheirSquare) {
    LineChart chart({}, engineView(), engineLegends());
    addEngineLines(chart, 500);
    const int y = chart.valueToY(500); // 187
    EXPECT_EQ(chart.pointAt(9, y), -1);
    EXPECT_EQ(chart.pointAt(10, y), 1);
    EXPECT_EQ(chart.pointAt(20, y + 5), 1);
    EXPECT_EQ(chart.pointAt(15, y + 6), -1);
    EXPECT_EQ(chart.pointAt(22, y), -1); // nearest point 1, 7 pixels away
    EXPECT_EQ(chart.pointAt(300, y - 5), 20);
    EXPECT_EQ(chart.pointAt(590, y), 39);
    EXPECT_EQ(chart.pointAt(591, y), -1);
    EXPECT_EQ(chart.pointAt(0, y), -1);
    EXPECT_EQ(chart.pointAt(600, y), -1);
}

TEST(LineChart, HighestAndActivePoints) {
    LineChart chart({}, engineView(), engineLegends());
    std::vector<double> values(41, 100);
    values[0] = values[40] = 900; // the ends never count
    values[7] = values[12] = 800;
    chart.add(lineOf(values));
    LineData second = lineOf(values);
    chart.add(second);
    chart.lineData(0).activePointIndex = 1;
    chart.lineData(1).activePointIndex = 2;
    chart.recalculateAll();
    EXPECT_EQ(LineChart::findHighPoint(chart.lineData(0)), std::make_pair(7, 800.0));
    EXPECT_EQ(chart.lineData(0).highestPointIndex, 7);
    EXPECT_EQ(chart.lineData(0).activePointIndex, 7); // below 2: moved to the highest point
    EXPECT_EQ(chart.lineData(1).activePointIndex, 2); // kept

    // On the active line a value is limited to the vertical maximum; on others it is not.
    chart.legends()->verticalMaximum = 1045.8;
    EXPECT_EQ(chart.setPointValue(1, 20, 2000), chart.valueToY(1045.8));
    EXPECT_EQ(chart.lineData(1).points[20].value, 1045.8);
    EXPECT_EQ(chart.lineData(1).highestPointIndex, 20);
    EXPECT_EQ(chart.setPointValue(0, 20, 2000), -113);
    EXPECT_EQ(chart.lineData(0).highestValue, 2000);
}

TEST(LineChart, DraggingAPointRedrawsPartlyAndReportsWholeValues) {
    RecordingRenderer renderer;
    LineChart chart({}, engineView(), engineLegends(1045.8), &renderer);
    addEngineLines(chart);
    std::vector<std::pair<int, int>> changed;
    chart.pointChanged = [&](int line, int point) {
        changed.emplace_back(line, point);
        chart.setPointValue(2, point, chart.lineData(line).points[static_cast<std::size_t>(point)].value / 2);
    };
    chart.setDrawing(true);

    chart.setActivePoint(0);
    EXPECT_FALSE(chart.beginPointDrag());
    chart.setActivePoint(40);
    EXPECT_FALSE(chart.beginPointDrag());
    chart.dragPointTo(600, 100); // no drag begun: nothing changes
    EXPECT_EQ(chart.lineData(3).points[40].value, 500);

    chart.setActivePoint(1);
    ASSERT_TRUE(chart.beginPointDrag());
    EXPECT_TRUE(chart.partialMode());
    EXPECT_EQ(chart.partialRect(), (ChartRect{-1, 0, 31, 288}));
    EXPECT_EQ(chart.partialCount(), 3);
    EXPECT_EQ(chart.partialFirst(), 0);
    const LineData& torque = chart.lineData(3);
    EXPECT_EQ(chart.markerPoints(torque, true), (PointRange{0, 3}));
    EXPECT_EQ(chart.linePoints(torque, true), (PointRange{0, 4}));
    EXPECT_EQ(chart.linePoints(torque, false), (PointRange{0, 41}));

    renderer.calls.clear();
    chart.dragPointTo(15, -40); // above the chart: stops at the row of 1045.8
    EXPECT_EQ(chart.grid().maximumY, 78);
    EXPECT_EQ(torque.points[1].y, 78);
    EXPECT_EQ(torque.points[1].value, 1045); // the whole value of that row
    EXPECT_EQ(torque.highestPointIndex, 1);
    EXPECT_EQ(chart.lineData(2).points[1].value, 522.5);
    chart.dragPointTo(15, 500); // below the bottom
    EXPECT_EQ(torque.points[1].value, 0);
    EXPECT_EQ(torque.points[1].y, 287);
    chart.dragPointTo(15, 100);
    EXPECT_EQ(torque.points[1].value, 935);
    EXPECT_EQ(changed, (std::vector<std::pair<int, int>>{{3, 1}, {3, 1}, {3, 1}}));
    EXPECT_EQ(renderer.calls, (std::vector<std::string>{"partial", "partial", "partial"}));

    chart.endPointDrag();
    EXPECT_FALSE(chart.partialMode());
    EXPECT_EQ(renderer.calls.back(), "full");

    chart.setActivePoint(20);
    ASSERT_TRUE(chart.beginPointDrag());
    EXPECT_EQ(chart.markerPoints(torque, true), (PointRange{19, 3}));
    EXPECT_EQ(chart.linePoints(torque, true), (PointRange{18, 5}));
}

TEST(LineChart, DrawsOnlyWhenEnabledAndRedrawsTheMarkersThatChangeLook) {
    RecordingRenderer renderer;
    LineChart chart({}, engineView(), engineLegends(), &renderer);
    EXPECT_EQ(renderer.calls, (std::vector<std::string>{"resize", "legends"}));
    addEngineLines(chart);
    EXPECT_EQ(renderer.calls.back(), "background"); // the layer is rebuilt even while drawing is off
    renderer.calls.clear();

    chart.redraw();
    chart.setActivePoint(5);
    EXPECT_TRUE(renderer.calls.empty());
    chart.setDrawing(true);
    chart.setDrawing(true);
    EXPECT_EQ(renderer.calls, (std::vector<std::string>{"full"}));

    renderer.calls.clear();
    chart.setActivePoint(6);
    chart.setActivePoint(6);
    EXPECT_EQ(renderer.calls, (std::vector<std::string>{"point 6 active", "point 5 normal", "point 6 active"}));
    EXPECT_EQ(chart.lineData(3).activePointIndex, 6);
}

TEST(LineChart, AddAndDeleteKeepTheActiveLine) {
    LineChart chart({}, engineView(), engineLegends());
    addEngineLines(chart);
    EXPECT_EQ(chart.activeLine(), 3);
    EXPECT_EQ(chart.lineData(3).activePointIndex, 1); // 0 after Add, then the highest point
    chart.removeLine(0);
    EXPECT_EQ(chart.lineCount(), 3);
    EXPECT_EQ(chart.activeLine(), 2);
    EXPECT_EQ(chart.lineData(2).points[0].value, 500);
    chart.removeLine(2);
    EXPECT_EQ(chart.activeLine(), -1);
    EXPECT_EQ(chart.pointAt(15, 187), -1);
    EXPECT_FALSE(chart.beginPointDrag());
    EXPECT_EQ(chart.add(lineOf({1, 2, 3})), 2);
    EXPECT_EQ(chart.activeLine(), 2);
}

TEST(LineChart, CentresAPictureInTheVisiblePartOfTheLayer) {
    LineChart chart({624, 298}, engineView(), engineLegends());
    EXPECT_EQ(chart.centredPicturePosition(), std::make_pair(0, 0)); // no picture
    chart.view()->picture = std::make_shared<SizedBitmap>(200, 100);
    EXPECT_EQ(chart.centredPicturePosition(), std::make_pair(204, 94));
    // A zoomed layer scrolled to its lower left: centred in the part that shows.
    chart.view()->width = 1092;
    chart.view()->height = 440;
    EXPECT_EQ(chart.centredPicturePosition(), std::make_pair(204, 246));
    chart.setOwnerSize(101, 298);
    EXPECT_EQ(chart.centredPicturePosition(), std::make_pair(-57, 246)); // -115 / 2, toward zero
    chart.view()->picture = std::make_shared<SizedBitmap>(1092, 440);
    EXPECT_EQ(chart.centredPicturePosition(), std::make_pair(0, 0));
    chart.clearPicture();
    EXPECT_FALSE(chart.view()->picture);
}

TEST(LineChart, FailuresNameTheOperation) {
    RecordingRenderer refusing;
    refusing.canResize = false;
    EXPECT_EQ(messageOf<LineChartError>([&] { LineChart c({}, engineView(), engineLegends(), &refusing); }),
              "TLineChart::TLineChart()-> Back-buffer creation failed.  There may not be enough memory.");
    EXPECT_EQ(messageOf<LineChartError>([] { LineChart c({}, nullptr, engineLegends()); }),
              "TLineChart::SetLegends()-> A view must exist before a legend can be calculated.");
    EXPECT_EQ(messageOf<LineChartError>([] { LineChart c({}, engineView(), nullptr); }),
              "TLineChart::CalcGrid()-> No legends have been defined.");
    auto oneLabel = engineLegends();
    oneLabel->y.labels.resize(1);
    EXPECT_EQ(messageOf<LineChartError>([&] { LineChart c({}, engineView(), std::move(oneLabel)); }),
              "TLineChart::CalcGrid()-> Each legend needs at least two labels.");
    EXPECT_EQ(messageOf<LineChartError>([] { LineChart c({}, engineView(30, 288), engineLegends()); }),
              "TLineChart::CalcGrid()-> The view is too small for its legends.");
    auto noRange = engineLegends();
    noRange->verticalRange = 0;
    EXPECT_EQ(messageOf<LineChartError>([&] { LineChart c({}, engineView(), std::move(noRange)); }),
              "TLineChart::CalcGrid()-> The vertical range must be greater than 0.");

    RecordingRenderer renderer;
    LineChart chart({}, engineView(), engineLegends(), &renderer);
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.recalculateAll(); }),
              "TLineChart::DrawLines()-> No lines exist to be drawn.");
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.setDrawing(true); }),
              "TLineChart::DrawLines()-> No lines exist to be drawn.");
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.setActivePoint(0); }),
              "TLineChart::DrawPoints()-> No lines exist to be drawn.");
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.removeLine(0); }), "TLineChart::Delete()-> Index out of bounds.");
    addEngineLines(chart);
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.lineData(4); }),
              "TLineChart::GetLineData()-> Index out of bounds.");
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.lineData(-1); }),
              "TLineChart::GetLineData()-> Index out of bounds.");
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.setPointValue(3, 41, 1); }),
              "TLineChart::SetPointValue()-> Index out of bounds.");
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.setActivePoint(41); }),
              "TLineChart::SetActivePoint()-> Index out of bounds.");

    renderer.canResize = false;
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.setView(); }),
              "TLineChart::SetView()-> Back-buffer creation failed.  There may not be enough memory.");
    chart.setView(nullptr);
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.calculateGrid(); }),
              "TLineChart::CalcGrid()-> No view has been defined.");
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.recalculateAll(); }),
              "TLineChart::CreateBgLayer()-> Cannot create background layer without an allocated view.");
    EXPECT_EQ(messageOf<LineChartError>([&] { chart.setLegends(engineLegends()); }),
              "TLineChart::SetLegends()-> A view must exist before a legend can be calculated.");
}
