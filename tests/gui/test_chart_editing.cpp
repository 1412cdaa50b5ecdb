#include <QtTest>

#include <string>

#include <QColorDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QToolButton>
#include <QWheelEvent>

#include "calc/engine_curve.h"
#include "chart/chart_artwork.h"
#include "chart/chart_bitmap.h"
#include "editor/field_widgets.h"
#include "editor/main_window.h"
#include "editor/page_fields.h"
#include "chart/torque_chart.h"
#include "support/editor_fixture.h"

using namespace qora;
using namespace qora::testing;
using gui::TorqueChart;

namespace {

constexpr const char* kColorControl = "QORA Color Control";
constexpr const char* kPointFormatText = "Chart point bitmap file format error.  Point bitmaps must be 11x11 in size "
                                         "with a color depth of 16 million colors (24 bit).";

struct ChartEditor : EditorFixture {
    explicit ChartEditor(bool startNow = true) {
        if (!startNow)
            return;
        startWith();
        window->pages()->setCurrentIndex(editor::PgPerformance);
    }
    TorqueChart& chart() const { return window->torqueChart(); }
    QWidget* grid() const { return find("iTorqueGrid"); }
    LineData& torque() const { return chart().line(TorqueChart::TorqueLine); }
    LineData& power() const { return chart().line(TorqueChart::PowerLine); }
    QPoint pointAt(int index) const {
        const LinePoint& point = torque().points[static_cast<std::size_t>(index)];
        return {point.x, point.y};
    }
    QString pointValue() const { return find<QLineEdit>("ePointValue")->text(); }
    QString label(const char* name) const { return find<QLabel>(name)->text(); }
    // The image a chart picture was made from, for comparing pictures.
    static QImage imageOf(const ChartPicturePtr& bitmap) {
        const QImage* image = chartBitmapImage(bitmap);
        return image ? *image : QImage();
    }
    static QImage builtIn(std::string_view name) { return ChartBitmap(builtInChartPicture(name)).image(); }
};

// Whether the legend image shows text (light pixels over the dark pattern) within two pixels of x.
bool hasTextAt(const QImage& legend, int x) {
    for (int column = std::max(0, x - 2); column <= std::min(legend.width() - 1, x + 2); ++column)
        for (int row = 0; row < legend.height(); ++row)
            if (qGray(legend.pixel(column, row)) > 140)
                return true;
    return false;
}

} // namespace

class TestChartEditing : public QObject {
    Q_OBJECT

private slots:
    void draggingATorquePointMovesPowerAndPeaks() {
        ChartEditor editor;
        QVERIFY(!editor.window->isChanged());
        QCOMPARE(editor.label("lTorque"), QStringLiteral("473 ft-lbs @5000rpm"));
        QCOMPARE(editor.label("lHp"), QStringLiteral("517 hp @7500rpm"));

        // Point 0 is not pickable: no hand cursor, and a press starts nothing.
        QTest::mouseMove(editor.grid(), editor.pointAt(0));
        QCOMPARE(editor.chart().hoveredPoint(), -1);
        QCOMPARE(editor.grid()->cursor().shape(), Qt::ArrowCursor);
        QTest::mousePress(editor.grid(), Qt::LeftButton, {}, editor.pointAt(0));
        QVERIFY(!editor.chart().dragging());
        QVERIFY(!editor.window->isChanged());
        QTest::mouseRelease(editor.grid(), Qt::LeftButton, {}, editor.pointAt(0));

        // Point 1 (175 Nm at 500 rpm): the hand over it, a press starts the drag and marks the file changed,
        // without changing the value by itself.
        const QPoint start = editor.pointAt(1);
        QTest::mouseMove(editor.grid(), start);
        QCOMPARE(editor.chart().hoveredPoint(), 1);
        QCOMPARE(editor.grid()->cursor().shape(), Qt::PointingHandCursor);
        QTest::mousePress(editor.grid(), Qt::LeftButton, {}, start);
        QCoreApplication::processEvents();
        QVERIFY(editor.chart().dragging());
        QVERIFY(editor.chart().chart().partialMode());
        QVERIFY(editor.window->isChanged());
        QCOMPARE(editor.torque().activePointIndex, 1);
        QCOMPARE(editor.torque().points[1].value, 175.0);
        QCOMPARE(editor.pointValue(), QStringLiteral("175.00"));

        // 20 pixels up at 5 Nm a pixel: the whole value of that pixel row, with its power point.
        QTest::mouseMove(editor.grid(), start - QPoint(0, 20));
        const double value = (287 - (start.y() - 20)) * 5.0;
        QCOMPARE(editor.torque().points[1].value, value);
        QCOMPARE(editor.pointValue(), QString::number(value, 'f', 2));
        QCOMPARE(editor.power().points[1].value, powerAtPoint(editor.torque(), 1, PowerHp));
        QCOMPARE(editor.power().points[1].y, editor.chart().chart().valueToY(editor.power().points[1].value));

        // Far above the chart the drag stops at the vertical maximum, and point 1 becomes the torque peak.
        QTest::mouseMove(editor.grid(), QPoint(start.x(), -100));
        QCOMPARE(editor.torque().points[1].value, 1400.0);
        QCOMPARE(editor.pointValue(), QStringLiteral("1400.00"));
        QCOMPARE(editor.label("lTorque"), QStringLiteral("1046 ft-lbs @500rpm"));
        QCOMPARE(editor.label("lHp"), QStringLiteral("517 hp @7500rpm"));

        QTest::mouseRelease(editor.grid(), Qt::LeftButton, {}, QPoint(start.x(), -100));
        QVERIFY(!editor.chart().dragging());
        QVERIFY(!editor.chart().chart().partialMode());

        // The edit reaches the file when the page is written back.
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QCOMPARE(editor.window->currentVehicle()->torquePoints[1].torque, std::string("1400.00"));
    }

    void steppingTheActivePointStopsAtItsLimits() {
        ChartEditor editor;
        // After loading, the active point is the torque peak: 633 Nm at 5000 rpm.
        QCOMPARE(editor.torque().activePointIndex, 10);
        QCOMPARE(editor.pointValue(), QStringLiteral("633.00"));
        auto* spin = editor.find<gui::SpinButton>("csbChartPoint");
        spin->upButton()->click();
        QCOMPARE(editor.pointValue(), QStringLiteral("634.00"));
        QCOMPARE(editor.torque().points[10].value, 634.0);
        QCOMPARE(editor.power().points[10].value, powerAtPoint(editor.torque(), 10, PowerHp));
        QCOMPARE(editor.label("lTorque"), QStringLiteral("474 ft-lbs @5000rpm"));
        QVERIFY(editor.window->isChanged());

        // The wheel over the value steps it too, one step a notch.
        QWheelEvent wheel(QPointF(5, 5), QPointF(), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(editor.find("ePointValue"), &wheel);
        QCOMPARE(editor.pointValue(), QStringLiteral("632.00"));

        // Dragged to the top the point holds 1400 Nm; one more step up is refused with a beep.
        const QPoint peak = editor.pointAt(10);
        QTest::mouseMove(editor.grid(), peak);
        QTest::mousePress(editor.grid(), Qt::LeftButton, {}, peak);
        QTest::mouseMove(editor.grid(), QPoint(peak.x(), -50));
        QTest::mouseRelease(editor.grid(), Qt::LeftButton, {}, QPoint(peak.x(), -50));
        QCOMPARE(editor.pointValue(), QStringLiteral("1400.00"));
        const std::size_t beeps = editor.prompt.beeps();
        spin->upButton()->click();
        QCOMPARE(editor.prompt.beeps(), beeps + 1);
        QCOMPARE(editor.pointValue(), QStringLiteral("1400.00"));
        QCOMPARE(editor.torque().points[10].value, 1400.0);
        spin->downButton()->click();
        QCOMPARE(editor.pointValue(), QStringLiteral("1399.00"));

        // A point at 0 (past the curve's end) does not go below 0.
        const QPoint empty = editor.pointAt(30);
        QTest::mouseMove(editor.grid(), empty);
        QTest::mousePress(editor.grid(), Qt::LeftButton, {}, empty);
        QTest::mouseRelease(editor.grid(), Qt::LeftButton, {}, empty);
        QCOMPARE(editor.torque().activePointIndex, 30);
        QCOMPARE(editor.pointValue(), QStringLiteral("0.00"));
        spin->downButton()->click();
        QCOMPARE(editor.prompt.beeps(), beeps + 2);
        QCOMPARE(editor.pointValue(), QStringLiteral("0.00"));
        QCOMPARE(editor.torque().points[30].value, 0.0);

        // "Select Highest Point" goes back to the peak.
        QTest::mouseClick(editor.find("sbHighPoint"), Qt::LeftButton);
        QCOMPARE(editor.torque().activePointIndex, 10);
        QCOMPARE(editor.pointValue(), QStringLiteral("1399.00"));
    }

    void zoomSizesReadOutsAndLegends() {
        ChartEditor editor;
        auto* x = editor.find<gui::UpDown>("bXScaleAdjust");
        auto* y = editor.find<gui::UpDown>("bYScaleAdjust");
        const QStringList xTexts{"0%", "20%", "40%", "60%", "80%"};
        const QStringList yTexts{"0%", "15%", "30%", "45%", "60%"};
        const int heights[] = {288, 326, 369, 402, 440};

        // Point 1 active: a rebuild makes the torque peak the active point again.
        QTest::mouseMove(editor.grid(), editor.pointAt(1));
        QTest::mousePress(editor.grid(), Qt::LeftButton, {}, editor.pointAt(1));
        QTest::mouseRelease(editor.grid(), Qt::LeftButton, {}, editor.pointAt(1));
        QCOMPARE(editor.torque().activePointIndex, 1);

        for (int p = 0; p <= 4; ++p) {
            if (p > 0) {
                x->upButton()->click();
                y->upButton()->click();
            }
            QCOMPARE(editor.grid()->size(), QSize(608 + 121 * p, heights[p]));
            QCOMPARE(editor.find("iTorqueChart_Bottom")->width(), 608 + 121 * p);
            QCOMPARE(editor.find("iTorqueChart_Left")->height(), heights[p] + 10);
            QCOMPARE(editor.find<QLabel>("lXScale")->text(), xTexts[p]);
            QCOMPARE(editor.find<QLabel>("lYScale")->text(), yTexts[p]);
            QCOMPARE(editor.window->settings().chartXZoom, p);
            QCOMPARE(editor.window->settings().chartYZoom, p);
            QCOMPARE(editor.torque().activePointIndex, p == 0 ? 1 : 10);
            // Every whole number of the rpm legend is written; at the narrowest zoom the halves give way.
            const QImage legend = editor.chart().painter().legendX();
            const int cell = (608 + 121 * p) / 40;
            for (int label = 2; label <= 40; label += 2)
                QVERIFY2(hasTextAt(legend, label * cell), qPrintable(QStringLiteral("label %1").arg(label)));
            if (p == 0)
                for (int label = 1; label < 40; label += 2)
                    QVERIFY(!hasTextAt(legend, label * cell));
        }
        QVERIFY(!x->upButton()->isEnabled());
        x->upButton()->click();
        QCOMPARE(editor.window->settings().chartXZoom, 4);

        // Both zooms are kept in the settings file.
        editor.prompt.answer(PromptAnswer::No);
        editor.window->close();
        const std::string ini = readBytes(editor.home.file("qora.ini"));
        QVERIFY(ini.find("ChartXZoom=4") != std::string::npos);
        QVERIFY(ini.find("ChartYZoom=4") != std::string::npos);
    }

    void unitTogglesChangeLinesAndFigures() {
        ChartEditor editor;
        Settings& settings = editor.window->settings();
        QVERIFY(triggerAction(editor.window.get(), "mcoMetricText"));
        QVERIFY(settings.chartMetricText);
        QCOMPARE(editor.label("lTorque"), QStringLiteral("633 Nm @5000rpm"));
        QCOMPARE(editor.label("lHp"), QStringLiteral("386 kW @7500rpm"));

        // Torque in ft-lbs: the line, the vertical maximum and the point value change; the figures do not.
        QVERIFY(triggerAction(editor.window.get(), "mcoTorqueNm"));
        QVERIFY(!settings.chartNm);
        QCOMPARE(editor.torque().unit, int(TorqueFtLbs));
        QCOMPARE(editor.chart().chart().legends()->verticalMaximum, 1045.8);
        QCOMPARE(editor.pointValue(), QStringLiteral("472.85"));
        QCOMPARE(editor.label("lTorque"), QStringLiteral("633 Nm @5000rpm"));

        QVERIFY(triggerAction(editor.window.get(), "mcoPowerKw"));
        QVERIFY(settings.chartKW);
        QCOMPARE(editor.power().unit, int(PowerKW));
        QCOMPARE(editor.label("lHp"), QStringLiteral("386 kW @7500rpm"));
        QVERIFY(triggerAction(editor.window.get(), "mcoMetricText"));
        QCOMPARE(editor.label("lTorque"), QStringLiteral("473 ft-lbs @5000rpm"));
        QCOMPARE(editor.label("lHp"), QStringLiteral("517 hp @7500rpm"));

        // Back in Nm, within rounding of where it started.
        QVERIFY(triggerAction(editor.window.get(), "mcoTorqueNm"));
        QVERIFY(qAbs(editor.torque().points[10].value - 633.0) < 1e-9);
        QCOMPARE(editor.chart().chart().legends()->verticalMaximum, 1400.0);

        // 3D points and lines; the ghost lines wait for a ghost.
        QVERIFY(triggerAction(editor.window.get(), "mco3DPoints"));
        QVERIFY(!settings.chart3DPoints);
        QVERIFY(!editor.chart().chart().view()->points3D);
        QVERIFY(triggerAction(editor.window.get(), "mco3DLines"));
        QVERIFY(!settings.chart3DLines);
        QVERIFY(!editor.chart().chart().view()->lines3D);
        QVERIFY(!editor.action("mcoGhostLines")->isEnabled());
        editor.chart().setGhostOpen(true);
        QVERIFY(triggerAction(editor.window.get(), "mcoGhostLines"));
        QVERIFY(!settings.chartGhostLines);
        QVERIFY(!editor.chart().line(TorqueChart::GhostTorqueLine).visible);

        editor.window->close();
        const std::string ini = readBytes(editor.home.file("qora.ini"));
        for (const char* line :
             {"ChartMetricText=0", "ChartNm=1", "ChartkW=1", "Chart3DPoints=0", "Chart3DLines=0", "ChartGhostLines=0"})
            QVERIFY2(ini.find(line) != std::string::npos, line);
    }

    void colorsThroughTheDialogAndResetToDefaults() {
        ChartEditor editor;
        Settings& settings = editor.window->settings();
        editor.dialogs.then([](QDialog& dialog) {
            auto& colors = dynamic_cast<QColorDialog&>(dialog);
            colors.setCurrentColor(QColor(10, 20, 30));
            return int(QDialog::Accepted);
        });
        QVERIFY(triggerAction(editor.window.get(), "mccPrimaryTorqueNorm"));
        QCOMPARE(editor.dialogs.shown, QStringList{QStringLiteral("dlgChartColor")});
        QCOMPARE(settings.chartColor(3), rgbColor(10, 20, 30));
        QCOMPARE(editor.torque().normal, rgbColor(10, 20, 30));

        // A cancelled dialog keeps the colour.
        editor.dialogs.then([](QDialog&) { return int(QDialog::Rejected); });
        QVERIFY(triggerAction(editor.window.get(), "mccChartBackground"));
        QCOMPARE(settings.chartColor(0), rgbColor(0, 0, 0));

        editor.prompt.answer(PromptAnswer::No).answer(PromptAnswer::Yes);
        QVERIFY(triggerAction(editor.window.get(), "mccDefaults"));
        QCOMPARE(settings.chartColor(3), rgbColor(10, 20, 30));
        QVERIFY(triggerAction(editor.window.get(), "mccDefaults"));
        QCOMPARE(settings.chartColor(3), rgbColor(255, 0, 0));
        QCOMPARE(editor.torque().normal, rgbColor(255, 0, 0));
        const auto questions = editor.prompt.questions();
        QCOMPARE(questions.size(), std::size_t(2));
        QCOMPARE(questions[0].title, std::string(kColorControl));
        QCOMPARE(questions[0].text,
                 std::string("This will set all chart colors to their default values.  Are you sure?"));
        QVERIFY(questions[0].buttons == PromptButtons::YesNo);
        QVERIFY(questions[0].icon == PromptIcon::Question);
    }

    void pointBitmapsMustBeElevenByElevenTrueColour() {
        ChartEditor editor;
        Settings& settings = editor.window->settings();
        ChartView& view = *editor.chart().chart().view();
        QCOMPARE(ChartEditor::imageOf(view.pointBitmap), ChartEditor::builtIn(kPointPicture));

        QImage big(16, 16, QImage::Format_RGB888);
        big.fill(Qt::yellow);
        const std::string bigPath = editor.home.file("big.bmp");
        QVERIFY(big.save(QString::fromStdString(bigPath), "BMP"));
        editor.files.choose(QString::fromStdString(bigPath));
        QVERIFY(triggerAction(editor.window.get(), "mcbPointNormal"));
        auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].title, std::string(kColorControl));
        QCOMPARE(messages[0].text, std::string(kPointFormatText));
        QVERIFY(messages[0].icon == PromptIcon::Stop);
        QVERIFY(settings.chartPointBitmap.empty());
        QCOMPARE(ChartEditor::imageOf(view.pointBitmap), ChartEditor::builtIn(kPointPicture));

        // The right size in 256 colours is refused as well; in 24 bits it is taken.
        QImage marker(11, 11, QImage::Format_RGB888);
        marker.fill(Qt::cyan);
        const std::string indexedPath = editor.home.file("indexed.bmp");
        QVERIFY(marker.convertToFormat(QImage::Format_Indexed8).save(QString::fromStdString(indexedPath), "BMP"));
        editor.files.choose(QString::fromStdString(indexedPath));
        QVERIFY(triggerAction(editor.window.get(), "mcbPointActive"));
        QCOMPARE(editor.prompt.messages().size(), std::size_t(2));
        QVERIFY(settings.chartActPointBitmap.empty());

        const std::string goodPath = editor.home.file("marker.bmp");
        QVERIFY(marker.save(QString::fromStdString(goodPath), "BMP"));
        editor.files.choose(QString::fromStdString(goodPath));
        QVERIFY(triggerAction(editor.window.get(), "mcbPointActive"));
        QCOMPARE(editor.prompt.messages().size(), std::size_t(2));
        QCOMPARE(settings.chartActPointBitmap, goodPath);
        QCOMPARE(ChartEditor::imageOf(view.activePointBitmap).pixelColor(5, 5), QColor(Qt::cyan));

        // A cancelled dialog changes nothing; "Default" brings both built-in markers back.
        editor.files.cancel();
        QVERIFY(triggerAction(editor.window.get(), "mcbPointActive"));
        QCOMPARE(settings.chartActPointBitmap, goodPath);
        QVERIFY(triggerAction(editor.window.get(), "mcbPointDefault"));
        QVERIFY(settings.chartActPointBitmap.empty());
        QCOMPARE(ChartEditor::imageOf(view.activePointBitmap), ChartEditor::builtIn(kActivePointPicture));

        // A marker file refused at start-up: the message, the built-in marker, the setting emptied.
        ChartEditor second(false);
        second.writeSettings(second.copy("template.veh", "car.veh"),
                             "[CHART_PROPERTIES]\r\nChartPointBitmap=" + bigPath + "\r\n");
        second.start();
        QCOMPARE(second.prompt.messages().size(), std::size_t(1));
        QCOMPARE(second.prompt.messages()[0].text, std::string(kPointFormatText));
        QVERIFY(second.window->settings().chartPointBitmap.empty());
        QCOMPARE(ChartEditor::imageOf(second.chart().chart().view()->pointBitmap), ChartEditor::builtIn(kPointPicture));
    }

    void backgroundPictureAndDrawStyle() {
        ChartEditor editor;
        Settings& settings = editor.window->settings();
        ChartView& view = *editor.chart().chart().view();
        QCOMPARE(settings.chartBitmap, std::string("[default]"));
        QVERIFY(editor.action("mcbBgDefault")->isChecked());
        QVERIFY(editor.action("mcbDrawCentered")->isChecked());
        QVERIFY(view.picture != nullptr);

        QVERIFY(triggerAction(editor.window.get(), "mcbBgNone"));
        QVERIFY(settings.chartBitmap.empty());
        QVERIFY(view.picture == nullptr);
        QVERIFY(editor.action("mcbBgNone")->isChecked());
        QVERIFY(!editor.action("mcbBgDefault")->isChecked());

        // A file that is not there is reported; the choice stays as it was.
        editor.files.choose(QString::fromStdString(editor.home.file("missing.bmp")));
        QVERIFY(triggerAction(editor.window.get(), "mcbBgUser"));
        QCOMPARE(editor.prompt.messages().size(), std::size_t(1));
        QCOMPARE(editor.prompt.messages()[0].title, std::string(kColorControl));
        QCOMPARE(editor.prompt.messages()[0].text, std::string("Could not find selected bitmap file."));
        QVERIFY(editor.action("mcbBgNone")->isChecked());
        QVERIFY(!editor.action("mcbBgUser")->isChecked());

        QImage picture(40, 30, QImage::Format_RGB888);
        picture.fill(QColor(0, 0, 200));
        const std::string path = editor.home.file("back.bmp");
        QVERIFY(picture.save(QString::fromStdString(path), "BMP"));
        editor.files.choose(QString::fromStdString(path));
        QVERIFY(triggerAction(editor.window.get(), "mcbBgUser"));
        QCOMPARE(settings.chartBitmap, path);
        QVERIFY(editor.action("mcbBgUser")->isChecked());
        QCOMPARE(ChartEditor::imageOf(view.picture).size(), QSize(40, 30));

        // Tiled, the picture covers the layer: its blue shows in a corner away from the grid lines.
        QVERIFY(triggerAction(editor.window.get(), "mcbDrawTiled"));
        QCOMPARE(settings.chartBitmapStyle, 2);
        QVERIFY(view.pictureStyle == PictureStyle::Tiled);
        QVERIFY(editor.action("mcbDrawTiled")->isChecked());
        QVERIFY(!editor.action("mcbDrawCentered")->isChecked());
        QCOMPARE(editor.chart().painter().background().pixelColor(600, 2), QColor(0, 0, 200));
        QVERIFY(triggerAction(editor.window.get(), "mcbDrawStretched"));
        QCOMPARE(settings.chartBitmapStyle, 3);

        // QORA's own background is laid out for the chart, at every zoom.
        QVERIFY(triggerAction(editor.window.get(), "mcbBgDefault"));
        QCOMPARE(settings.chartBitmap, std::string("[default]"));
        QCOMPARE(ChartEditor::imageOf(view.picture).size(), QSize(608, 288));
        editor.find<gui::UpDown>("bXScaleAdjust")->upButton()->click();
        editor.find<gui::UpDown>("bYScaleAdjust")->upButton()->click();
        QCOMPARE(ChartEditor::imageOf(view.picture).size(), QSize(729, 326));
    }
};

QTEST_MAIN(TestChartEditing)
#include "test_chart_editing.moc"
