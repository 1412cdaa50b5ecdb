#include <QtTest>

#include <memory>
#include <vector>

#include "chart/chart_bitmap.h"
#include "chart/chart_painter.h"

using namespace qora;

namespace {

// The engine chart's lines (ghost power, ghost torque, power, torque) with the default colours and torque
// markers in colours of their own, so that a probed pixel says which part drew it.
constexpr Color kPoint = rgbColor(10, 20, 30);
constexpr Color kPointShadow = rgbColor(40, 50, 60);
constexpr Color kActivePoint = rgbColor(70, 80, 90);
constexpr Color kActivePointShadow = rgbColor(100, 110, 120);

LineData lineOf(double value, bool background, Color high, Color normal, Color shadow) {
    LineData line;
    line.points.assign(41, LinePoint{value, 0, 0});
    line.background = background;
    line.high = high;
    line.normal = normal;
    line.shadow = shadow;
    return line;
}

struct Chart {
    ChartPainter painter;
    std::unique_ptr<LineChart> chart;
    std::vector<QRect> changed;

    // 608 x 288: cells of 15 x 20, 5 per pixel; torque 700 lies on row 147, power 300 on 227, ghost torque
    // 400 on 207. The ghost power line stays hidden.
    Chart() {
        auto view = std::make_unique<ChartView>();
        view->width = 608;
        view->height = 288;
        view->gridColor = rgbColor(72, 68, 72);
        view->backgroundColor = rgbColor(0, 0, 0);
        view->lines3D = true;
        view->points3D = true;
        auto legends = std::make_unique<ChartLegends>();
        for (int i = 0; i <= 14; ++i)
            legends->y.labels.push_back(std::to_string(i));
        for (int i = 0; i <= 40; ++i)
            legends->x.labels.push_back(std::to_string(i));
        legends->x.width = 608;
        legends->x.height = 14;
        legends->y.width = 24;
        legends->y.height = 298;
        legends->x.textColor = legends->y.textColor = rgbColor(255, 255, 255);
        legends->x.fontName = "Small Fonts";
        legends->x.fontSize = 7;
        legends->y.fontName = "Arial";
        legends->verticalRange = legends->verticalMaximum = 1400;
        chart = std::make_unique<LineChart>(ChartOwner{624, 298}, std::move(view), std::move(legends), &painter);

        LineData ghostPower = lineOf(0, true, rgbColor(0, 0, 208), rgbColor(0, 0, 128), rgbColor(0, 0, 43));
        ghostPower.visible = false;
        chart->add(ghostPower);
        chart->add(lineOf(400, true, rgbColor(208, 0, 0), rgbColor(128, 0, 0), rgbColor(43, 0, 0)));
        chart->add(lineOf(300, false, rgbColor(80, 80, 255), rgbColor(0, 0, 255), rgbColor(0, 0, 175)));
        LineData torque = lineOf(700, false, rgbColor(255, 80, 80), rgbColor(255, 0, 0), rgbColor(175, 0, 0));
        torque.point = kPoint;
        torque.pointShadow = kPointShadow;
        torque.activePoint = kActivePoint;
        torque.activePointShadow = kActivePointShadow;
        chart->add(torque);
        chart->recalculateAll(); // the torque line's active point becomes 1, its first highest point
        painter.onImageChanged = [this](const QRect& rect) { changed.push_back(rect); };
        chart->setDrawing(true);
    }

    QRgb at(int x, int y) const { return painter.image().pixel(x, y); }
};

QImage solid(int w, int h, QColor color) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QRgb rgb(Color c) {
    return ChartPainter::toQColor(c).rgb();
}

bool hasBrightPixel(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) > 128)
                return true;
    return false;
}

} // namespace

class TestChartPainter : public QObject {
    Q_OBJECT

private slots:
    void layerGridAndShadedLines() {
        Chart c;
        QCOMPARE(c.painter.image().size(), QSize(608, 288));
        QCOMPARE(c.changed.back(), QRect(0, 0, 608, 288));
        QCOMPARE(c.at(22, 30), qRgb(0, 0, 0));
        QCOMPARE(c.at(30, 30), qRgb(72, 68, 72));   // vertical grid line at 2 cells
        QCOMPARE(c.at(22, 27), qRgb(72, 68, 72));   // horizontal grid line at 13 cells
        QCOMPARE(c.at(22, 287), qRgb(0, 0, 0));     // no grid line on the bottom row
        QCOMPARE(c.at(37, 146), qRgb(255, 80, 80)); // torque: high, normal, shadow rows
        QCOMPARE(c.at(37, 147), qRgb(255, 0, 0));
        QCOMPARE(c.at(37, 148), qRgb(175, 0, 0));
        QCOMPARE(c.at(37, 227), qRgb(0, 0, 255)); // power
        QCOMPARE(c.at(37, 206), qRgb(208, 0, 0)); // ghost torque, from the layer
        QCOMPARE(c.at(37, 207), qRgb(128, 0, 0));
        QCOMPARE(c.at(37, 287), qRgb(0, 0, 0)); // the hidden ghost power line
        // The layer holds the background lines only.
        QCOMPARE(c.painter.background().pixel(37, 207), qRgb(128, 0, 0));
        QCOMPARE(c.painter.background().pixel(37, 147), qRgb(72, 68, 72)); // a grid row, no torque line

        c.chart->view()->lines3D = false;
        c.chart->recalculateAll();
        c.chart->redraw();
        QCOMPARE(c.at(37, 146), qRgb(255, 0, 0));
        QCOMPARE(c.at(37, 148), qRgb(255, 0, 0));
        QCOMPARE(c.at(37, 206), qRgb(128, 0, 0));
    }

    void circleAndBitmapMarkers() {
        Chart c;
        // 3D points without bitmaps: circles of radius 5, outline and fill.
        QCOMPARE(c.at(30, 150), rgb(kPoint));
        QCOMPARE(c.at(30, 152), rgb(kPointShadow));
        QCOMPARE(c.at(35, 147), rgb(kPointShadow));
        QCOMPARE(c.at(31, 153), qRgb(0, 0, 0));
        QCOMPARE(c.at(15, 150), rgb(kActivePoint)); // point 1 is active
        QCOMPARE(c.at(15, 152), rgb(kActivePointShadow));

        c.changed.clear();
        c.chart->setActivePoint(5);
        QCOMPARE(c.at(75, 150), rgb(kActivePoint));
        QCOMPARE(c.at(15, 150), rgb(kPoint));
        QCOMPARE(c.changed, (std::vector<QRect>{QRect(70, 142, 11, 11), QRect(10, 142, 11, 11)}));

        QImage normal = solid(11, 11, QColor(1, 2, 3));
        normal.setPixelColor(0, 0, QColor(200, 100, 50));
        c.chart->view()->pointBitmap = makeChartBitmap(normal);
        c.chart->view()->activePointBitmap = makeChartBitmap(solid(11, 11, QColor(4, 5, 6)));
        c.chart->redraw();
        QCOMPARE(c.at(25, 142), qRgb(200, 100, 50)); // top-left at (x - 5, y - 5)
        QCOMPARE(c.at(35, 152), qRgb(1, 2, 3));
        QCOMPARE(c.at(36, 153), qRgb(0, 0, 0));
        QCOMPARE(c.at(75, 147), qRgb(4, 5, 6));

        c.chart->view()->points3D = false; // circles again, bitmaps or not
        c.chart->redraw();
        QCOMPARE(c.at(30, 150), rgb(kPoint));
        QCOMPARE(c.at(25, 142), qRgb(0, 0, 0));
    }

    void partialRedrawTouchesOnlyItsRectangle() {
        Chart c;
        // Steep segments, so the segments beyond the neighbours cross the edges of the rectangle.
        for (int i = 0; i < 41; ++i) {
            c.chart->lineData(3).points[static_cast<std::size_t>(i)].value = i % 2 ? 1200 : 100;
            c.chart->lineData(2).points[static_cast<std::size_t>(i)].value = i % 2 ? 100 : 1100;
        }
        c.chart->recalculateAll();
        c.chart->setActivePoint(20);
        c.chart->redraw();
        QVERIFY(c.chart->beginPointDrag());
        c.chart->pointChanged = [&](int, int point) { c.chart->setPointValue(2, point, 700); };
        const QImage before = c.painter.image().copy();
        c.changed.clear();

        c.chart->dragPointTo(300, 60);
        const QImage after = c.painter.image().copy();
        const QRect rect(284, 0, 32, 288);
        QCOMPARE(c.changed, std::vector<QRect>{rect});
        int changedInside = 0;
        for (int y = 0; y < 288; ++y)
            for (int x = 0; x < 608; ++x) {
                if (rect.contains(x, y))
                    changedInside += before.pixel(x, y) != after.pixel(x, y);
                else if (before.pixel(x, y) != after.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1, %2 outside the rectangle changed").arg(x).arg(y)));
            }
        QVERIFY(changedInside > 100);
        QCOMPARE(after.pixel(300, 63), rgb(kActivePoint)); // the marker moved from row 267 to row 60
        QCOMPARE(before.pixel(302, 270), rgb(kActivePoint));
        QCOMPARE(after.pixel(302, 270), qRgb(0, 0, 0));

        // What the partial redraw left is exactly what a full redraw draws.
        c.chart->endPointDrag();
        QCOMPARE(c.changed.back(), QRect(0, 0, 608, 288));
        QCOMPARE(c.painter.image(), after);
    }

    void pictureStyles() {
        Chart c;
        c.chart->lineData(1).visible = false;
        c.chart->lineData(2).visible = false;
        c.chart->view()->picture = makeChartBitmap(solid(100, 50, QColor(0, 128, 255)));
        const QRgb picture = qRgb(0, 128, 255);
        const QRgb black = qRgb(0, 0, 0);
        struct Probe {
            PictureStyle style;
            QPoint inside, outside;
        };
        const Probe probes[] = {
            {PictureStyle::Normal, {5, 5}, {107, 5}},
            {PictureStyle::Centred, {256, 121}, {252, 121}}, // at (254, 119)
            {PictureStyle::Tiled, {107, 55}, {107, 55}},     // everywhere
            {PictureStyle::Stretched, {607, 287}, {607, 287}},
        };
        for (const Probe& p : probes) {
            c.chart->view()->pictureStyle = p.style;
            c.chart->recalculateAll();
            c.chart->redraw();
            QCOMPARE(c.at(p.inside.x(), p.inside.y()), picture);
            if (p.outside != p.inside)
                QCOMPARE(c.at(p.outside.x(), p.outside.y()), black);
            QCOMPARE(c.at(30, 30), qRgb(72, 68, 72)); // the grid is drawn over the picture
        }
        c.chart->clearPicture();
        c.chart->recalculateAll();
        c.chart->redraw();
        QCOMPARE(c.at(607, 287), black);
    }

    void legends() {
        Chart c;
        const QImage& x = c.painter.legendX();
        const QImage& y = c.painter.legendY();
        QCOMPARE(x.size(), QSize(608, 14));
        QCOMPARE(y.size(), QSize(24, 298));
        QCOMPARE(x.pixel(0, 13), qRgb(0, 0, 0));
        QVERIFY(hasBrightPixel(x, QRect(590, 0, 18, 14)));  // "40" centred on 600
        QVERIFY(!hasBrightPixel(x, QRect(0, 0, 6, 14)));    // label 0 is not drawn
        QVERIFY(hasBrightPixel(y, QRect(12, 281, 12, 13))); // "0" right-aligned, centred on row 287
        QVERIFY(!hasBrightPixel(y, QRect(0, 276, 24, 3)));  // between "0" and "1"

        // A pattern replaces the background colour.
        c.chart->legends()->x.pattern = makeChartBitmap(solid(4, 4, QColor(9, 9, 9)));
        c.chart->setLegends();
        QCOMPARE(c.painter.legendX().pixel(0, 13), qRgb(9, 9, 9));
    }

    void refusesALayerItCannotMake() {
        ChartPainter painter;
        auto view = std::make_unique<ChartView>();
        view->width = 1 << 28; // more bytes per row than an image can hold
        view->height = 288;
        auto legends = std::make_unique<ChartLegends>();
        legends->x.labels = legends->y.labels = {"0", "1"};
        legends->verticalRange = 1;
        try {
            LineChart chart({}, std::move(view), std::move(legends), &painter);
            QFAIL("no failure");
        } catch (const LineChartError& e) {
            QCOMPARE(QString(e.what()),
                     QString("TLineChart::TLineChart()-> Back-buffer creation failed.  There may not be enough "
                             "memory."));
        }
        QVERIFY(painter.image().isNull());
    }
};

QTEST_MAIN(TestChartPainter)
#include "test_chart_painter.moc"
