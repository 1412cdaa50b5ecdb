// Drawing the torque chart at its widest zoom (1092 x 440), timed against filling an image of that size.
//
// The chart is set up as the editor sets it up: four lines of 41 points (ghost power and ghost torque in the
// background layer, power and torque in front), the default colours, 3D lines and points with 11 x 11 marker
// bitmaps, the grid, and a background picture as large as the chart. The report gives median times, their ratios
// to the baseline and the two targets: a drag step within 1 ms, a full rebuild within 5 ms.

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "chart/chart_bitmap.h"
#include "chart/chart_painter.h"
#include "chart/line_chart.h"

using namespace qora;
using qora::bench::MedianReporter;
using qora::bench::TimeUnit;

namespace {

constexpr int kWidth = 1092; // 608 + 121 x 4
constexpr int kHeight = 440; // 288 + 38 x 4
constexpr int kPoints = 41;
constexpr int kDraggedPoint = 20;
constexpr int kRepetitions = 5;

const char* const kBaseline = "BM_FillImageBaseline";
const char* const kDragStep = "BM_DragStep";
const char* const kFullRebuild = "BM_RecalcAllAndRedraw";
const char* const kFullRedraw = "BM_RedrawOnly";

// A picture with some detail, so drawing it is not a plain fill.
QImage backgroundPicture() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x)
            row[x] = qRgb(x * 255 / kWidth, y * 255 / kHeight, (x ^ y) & 0x3F);
    }
    return image;
}

QImage marker(QColor fill, QColor outline) {
    QImage image(11, 11, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setPen(outline);
    painter.setBrush(fill);
    painter.drawEllipse(QPoint(5, 5), 5, 5);
    return image;
}

LineData line(Color high, Color normal, Color shadow, bool background, double scale) {
    LineData data;
    data.high = high;
    data.normal = normal;
    data.shadow = shadow;
    data.background = background;
    for (int i = 0; i < kPoints; ++i)
        data.points.push_back({scale * (300 + 500 * std::sin(3.14159 * i / (kPoints - 1))), 0, 0});
    return data;
}

// Power from torque (Nm) at the point's rpm (500 per point), as the editor recomputes it while a point moves.
double powerAt(const LineData& torque, int index) {
    return torque.points[static_cast<std::size_t>(index)].value * (index * 500.0) / 9549.0;
}

struct ChartSetup {
    ChartPainter painter;
    std::unique_ptr<LineChart> chart;

    ChartSetup() {
        auto view = std::make_unique<ChartView>();
        view->width = kWidth;
        view->height = kHeight;
        view->gridColor = rgbColor(72, 68, 72);
        view->backgroundColor = rgbColor(0, 0, 0);
        view->lines3D = true;
        view->points3D = true;
        view->picture = makeChartBitmap(backgroundPicture());
        view->pictureStyle = PictureStyle::Centred;
        view->pointBitmap = makeChartBitmap(marker(QColor(255, 0, 0), QColor(175, 0, 0)));
        view->activePointBitmap = makeChartBitmap(marker(QColor(0, 255, 0), QColor(0, 128, 0)));

        auto legends = std::make_unique<ChartLegends>();
        for (int i = 0; i <= 14; ++i)
            legends->y.labels.push_back(std::to_string(i));
        for (int i = 0; i < kPoints; ++i)
            legends->x.labels.push_back(i % 2 ? std::to_string(i / 2) + ".5" : std::to_string(i / 2));
        legends->x.width = kWidth;
        legends->x.height = 14;
        legends->y.width = 24;
        legends->y.height = kHeight + 10;
        legends->x.textColor = legends->y.textColor = rgbColor(255, 255, 255);
        legends->x.fontName = "Small Fonts";
        legends->x.fontSize = 7;
        legends->y.fontName = "Arial";
        legends->y.fontSize = 8;
        legends->verticalRange = 1400;
        legends->verticalMaximum = 1400;

        chart = std::make_unique<LineChart>(ChartOwner{624, 298}, std::move(view), std::move(legends), &painter);
        chart->add(line(rgbColor(0, 0, 208), rgbColor(0, 0, 128), rgbColor(0, 0, 43), true, 0.6));
        chart->add(line(rgbColor(208, 0, 0), rgbColor(128, 0, 0), rgbColor(43, 0, 0), true, 0.9));
        chart->add(line(rgbColor(80, 80, 255), rgbColor(0, 0, 255), rgbColor(0, 0, 175), false, 0.7));
        LineData torque = line(rgbColor(255, 80, 80), rgbColor(255, 0, 0), rgbColor(175, 0, 0), false, 1.0);
        torque.point = rgbColor(255, 0, 0);
        torque.pointShadow = rgbColor(175, 0, 0);
        torque.activePoint = rgbColor(0, 255, 0);
        torque.activePointShadow = rgbColor(0, 128, 0);
        chart->add(torque);
        chart->pointChanged = [this](int lineIndex, int point) {
            chart->setPointValue(2, point, powerAt(chart->lineData(lineIndex), point));
        };
        chart->recalculateAll();
        chart->setDrawing(true);
    }
};

ChartSetup* g_setup = nullptr;

void BM_FillImageBaseline(benchmark::State& state) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    int shade = 0;
    for (auto _ : state) {
        image.fill(QColor(shade, 0, 0));
        shade = (shade + 1) & 0xFF;
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
}

void BM_DragStep(benchmark::State& state) {
    LineChart& chart = *g_setup->chart;
    chart.setActivePoint(kDraggedPoint);
    if (!chart.beginPointDrag()) {
        state.SkipWithError("the drag was refused");
        return;
    }
    const int x = chart.pointX(kDraggedPoint);
    int y = 100;
    for (auto _ : state) {
        chart.dragPointTo(x, y);
        y = y == 100 ? 200 : 100;
        benchmark::DoNotOptimize(g_setup->painter.image().constBits());
    }
    chart.endPointDrag();
}

void BM_RecalcAllAndRedraw(benchmark::State& state) {
    LineChart& chart = *g_setup->chart;
    for (auto _ : state) {
        chart.recalculateAll();
        chart.redraw();
        benchmark::DoNotOptimize(g_setup->painter.image().constBits());
    }
}

void BM_RedrawOnly(benchmark::State& state) {
    LineChart& chart = *g_setup->chart;
    for (auto _ : state) {
        chart.redraw();
        benchmark::DoNotOptimize(g_setup->painter.image().constBits());
    }
}

// One line of the report against filling the image; the target is a time in milliseconds.
bool printResult(const MedianReporter& r, const char* label, const char* name, double targetMs) {
    return qora::bench::printRatio(r, label, name, kBaseline, TimeUnit::Microseconds, {.milliseconds = targetMs});
}

} // namespace

int main(int argc, char** argv) {
    // No display is needed: the chart draws into images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    ChartSetup setup;
    g_setup = &setup;

    auto runs = [](benchmark::internal::Benchmark* b) {
        b->Repetitions(kRepetitions)->Unit(benchmark::kMicrosecond)->UseRealTime();
    };
    runs(benchmark::RegisterBenchmark(kBaseline, BM_FillImageBaseline));
    runs(benchmark::RegisterBenchmark(kDragStep, BM_DragStep));
    runs(benchmark::RegisterBenchmark(kFullRebuild, BM_RecalcAllAndRedraw));
    runs(benchmark::RegisterBenchmark(kFullRedraw, BM_RedrawOnly));

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nMedian time per step and ratio to filling a %d x %d image:\n", kWidth, kHeight);
    printResult(reporter, "fill image (baseline)", kBaseline, 0);
    bool met = printResult(reporter, "drag step (value, power, partial)", kDragStep, 1);
    met = printResult(reporter, "RecalcAll + Redraw", kFullRebuild, 5) && met;
    printResult(reporter, "part: Redraw alone", kFullRedraw, 0);
    if (!met)
        std::printf("A target was missed.\n");
    g_setup = nullptr;
    return 0;
}
