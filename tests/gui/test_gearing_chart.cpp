#include <QtTest>

#include <string>

#include <QComboBox>
#include <QDir>
#include <QStandardPaths>
#include <QTabWidget>

#include "calc/gearing_chart.h"
#include "dialogs/copy_from_ghost_dialog.h"
#include "chart/gearing_chart.h"
#include "editor/page_fields.h"
#include "support/editor_fixture.h"

using namespace qora;
using namespace qora::testing;

namespace {

// The template's top speed: 7750 rpm in a 0.690 5th gear, 3.900 final drive, 0.32 m tyres.
constexpr double kTemplateTopKmh = 347.43;

// The template with its final drive and REAR tyre radius (the file's second tire_radius) replaced.
std::string writeGhost(EditorFixture& editor, const std::string& finalDrive, const std::string& rearRadius) {
    std::string bytes = readBytes(dataFile("template.veh"));
    const auto replace = [&bytes](const std::string& from, const std::string& to, bool last) {
        const std::size_t at = last ? bytes.rfind(from) : bytes.find(from);
        bytes.replace(at, from.size(), to);
    };
    replace("GT2 #6 BMW M3", "GT2 #9 Saleen", false);
    replace("final_drive_ratio=(3.900)", "final_drive_ratio=(" + finalDrive + ")", false);
    replace("tire_radius=(0.32)", "tire_radius=(" + rearRadius + ")", true);
    const std::string path = editor.home.file("ghost.veh");
    writeBytes(path, bytes);
    return path;
}

gui::GearingChart* gearingChart(EditorFixture& editor) {
    editor.window->pages()->setCurrentIndex(editor::PgDriveTrain);
    return editor.find<gui::GearingChart>("GearingChart");
}

// Types into a field of another page, then comes back to the DriveTrain page.
void typeOnPage(EditorFixture& editor, int page, const char* name, const QString& text) {
    editor.window->pages()->setCurrentIndex(page);
    editor.type(name, text);
    editor.window->pages()->setCurrentIndex(editor::PgDriveTrain);
}

} // namespace

class TestGearingChart : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void theChartFollowsTheGearsTyresAndUnits() {
        EditorFixture editor;
        editor.startWith();
        gui::GearingChart* chart = gearingChart(editor);
        QVERIFY(chart != nullptr);
        QVERIFY(chart->isVisible());

        // Five gears (the template has no 6th), four upshifts at the Auto-Shift rpm, in mph without Metric Text.
        QCOMPARE(chart->unit(), SpeedUnit::Mph);
        QCOMPARE(chart->vehicleChart().lines.size(), std::size_t(5));
        QCOMPARE(chart->vehicleChart().shifts.size(), std::size_t(4));
        QVERIFY(qAbs(chart->vehicleChart().topSpeed * kKilometresPerMile - kTemplateTopKmh) < 0.01);
        QVERIFY(!chart->ghostChart());

        // A 6th gear adds a line; the bigger rear tyre (the car drives the rear wheels) raises every speed.
        editor.type("eGear6", QStringLiteral("0.550"));
        QCOMPARE(chart->vehicleChart().lines.size(), std::size_t(6));
        QCOMPARE(chart->vehicleChart().shifts.size(), std::size_t(5));
        editor.type("eGear6", QStringLiteral("0.000"));
        typeOnPage(editor, editor::PgTires, "erRadius", QStringLiteral("0.34"));
        QVERIFY(qAbs(chart->vehicleChart().topSpeed * kKilometresPerMile - kTemplateTopKmh * 0.34 / 0.32) < 0.01);
        // Front tyres do not count until the drive is to the front wheels.
        typeOnPage(editor, editor::PgTires, "efRadius", QStringLiteral("0.30"));
        QVERIFY(qAbs(chart->vehicleChart().topSpeed * kKilometresPerMile - kTemplateTopKmh * 0.34 / 0.32) < 0.01);
        editor.find<QComboBox>("cbDriveType")->setCurrentText(QStringLiteral("FRONT"));
        QVERIFY(qAbs(chart->vehicleChart().topSpeed * kKilometresPerMile - kTemplateTopKmh * 0.30 / 0.32) < 0.01);

        // Metric Text of the chart's options switches to km/h.
        editor.window->pages()->setCurrentIndex(editor::PgPerformance);
        QVERIFY(triggerAction(editor.window.get(), "mcoMetricText"));
        gearingChart(editor);
        QCOMPARE(chart->unit(), SpeedUnit::Kmh);
        QVERIFY(qAbs(chart->vehicleChart().topSpeed - kTemplateTopKmh * 0.30 / 0.32) < 0.01);

        // No final drive leaves an explanation and no lines.
        editor.type("eGearFinal", QStringLiteral("0.000"));
        QVERIFY(chart->vehicleChart().lines.empty());
        QVERIFY(!chart->vehicleChart().problem.empty());
        QVERIFY(!chart->grab().isNull());
    }

    void aGhostAddsItsOwnLinesUntilItIsClosed() {
        EditorFixture editor;
        editor.startWith();
        gui::GearingChart* chart = gearingChart(editor);
        QVERIFY(editor.window->openGhostFile(writeGhost(editor, "3.700", "0.34")));
        QVERIFY(chart->ghostChart().has_value());
        QCOMPARE(chart->ghostChart()->lines.size(), std::size_t(5));
        QCOMPARE(chart->ghostChart()->shifts.size(), std::size_t(4));
        QVERIFY(qAbs(chart->ghostChart()->topSpeed * kKilometresPerMile - kTemplateTopKmh * 3.9 / 3.7 * 0.34 / 0.32) <
                0.01);
        // The vehicle's own lines stay as they were.
        QVERIFY(qAbs(chart->vehicleChart().topSpeed * kKilometresPerMile - kTemplateTopKmh) < 0.01);
        QVERIFY(!chart->grab().isNull());

        QVERIFY(triggerAction(editor.window.get(), "mCloseGhost"));
        QVERIFY(!chart->ghostChart());
    }

    // With QORA_SCREENSHOT_DIR set, saves the DriveTrain page without and with a ghost (at the first size and
    // larger) and the Copy From Ghost dialog, for a person to look at. Run under a real X server for true fonts.
    void writeScreenshotsWhenAsked() {
        const QString folder = qEnvironmentVariable("QORA_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("QORA_SCREENSHOT_DIR is not set");
        QDir().mkpath(folder);
        EditorFixture editor;
        editor.startWith();
        gearingChart(editor);
        QCoreApplication::processEvents();
        QVERIFY(editor.window->grab().save(QDir(folder).filePath(QStringLiteral("drivetrain.png"))));
        QVERIFY(editor.window->openGhostFile(writeGhost(editor, "3.700", "0.34")));
        QCoreApplication::processEvents();
        QVERIFY(editor.window->grab().save(QDir(folder).filePath(QStringLiteral("drivetrain-ghost.png"))));
        editor.window->resize(1280, 900);
        QCoreApplication::processEvents();
        QVERIFY(editor.window->grab().save(QDir(folder).filePath(QStringLiteral("drivetrain-ghost-large.png"))));

        gui::CopyFromGhostDialog dialog(editor::PgDriveTrain, {1, false}, {3, true}, editor.window.get());
        dialog.show();
        QCoreApplication::processEvents();
        QVERIFY(dialog.grab().save(QDir(folder).filePath(QStringLiteral("copy-from-ghost.png"))));
    }
};

QTEST_MAIN(TestGearingChart)
#include "test_gearing_chart.moc"
