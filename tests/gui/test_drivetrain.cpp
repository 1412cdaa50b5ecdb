#include <QtTest>

#include <memory>
#include <string>

#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "editor/field_drag.h"
#include "editor/main_window.h"
#include "editor/page_fields.h"
#include "chart/torque_chart.h"
#include "support/editor_fixture.h"

using namespace qora;
using namespace qora::testing;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGrey(128, 128, 128);

struct DriveTrainEditor : EditorFixture {
    DriveTrainEditor() {
        startWith();
        window->pages()->setCurrentIndex(editor::PgDriveTrain);
    }
    QString text(const char* name) const { return find<QLineEdit>(name)->text(); }
    QColor colour(const char* name) const { return find<QLineEdit>(name)->palette().color(QPalette::Text); }
    QScrollBar* bar(const char* name) const { return find<QScrollBar>(name); }
    QComboBox* base() const { return find<QComboBox>("cbUpshiftBase"); }
};

} // namespace

class TestDriveTrain : public QObject {
    Q_OBJECT

private slots:
    void gearsBarsAndReadOutsFollowEveryChange() {
        DriveTrainEditor editor;
        // 1st 3.570, 2nd 2.315 ... 5th 0.690, no 6th; Auto-Shift 7300, peak torque 5000 rpm, peak power 7500.
        QCOMPARE(editor.find<QLabel>("hlDTTorque")->text(), QStringLiteral("Max Torque @5000rpm"));
        QCOMPARE(editor.find<QLabel>("hlDTHp")->text(), QStringLiteral("Max  Power @7500rpm"));
        QCOMPARE(editor.base()->itemText(0), QStringLiteral("Auto Shift rpm (7300.0)"));
        QCOMPARE(editor.base()->itemText(1), QStringLiteral("Maximum rpm (7750.0)"));
        QCOMPARE(editor.base()->itemText(2), QStringLiteral("Maximum Power rpm (7500)"));
        QCOMPARE(editor.text("eGearRpm2"), QStringLiteral("@ 4734 rpm"));
        QCOMPARE(editor.colour("eGearRpm2"), kRed);
        QCOMPARE(editor.text("eGearRpm6"), QStringLiteral("*"));
        QCOMPARE(editor.text("eBestGear2"), QStringLiteral("1.956")); // 3.570 / 7300 x (5000 - 1000)
        QCOMPARE(editor.bar("sbGear2")->value(), 2315);
        QVERIFY(!editor.window->isChanged());

        // Bar to edit, and the read-outs with it.
        editor.bar("sbGear2")->setValue(2600);
        QCOMPARE(editor.text("eGear2"), QStringLiteral("2.600"));
        QVERIFY(editor.window->isChanged());
        QCOMPARE(editor.text("eGearRpm2"), QStringLiteral("@ 5317 rpm"));
        QCOMPARE(editor.colour("eGearRpm2"), editor.colour("eGear1"));
        QCOMPARE(editor.text("eGearRpm3"), QStringLiteral("@ 4349 rpm"));

        // Edit to bar, for texts of the full shape only.
        editor.type("eGear3", QStringLiteral("1.750"));
        QCOMPARE(editor.bar("sbGear3")->value(), 1750);
        QCOMPARE(editor.text("eGearRpm3"), QStringLiteral("@ 4913 rpm"));
        editor.type("eGearReverse", QStringLiteral("-2.80"));
        QCOMPARE(editor.bar("sbGearReverse")->value(), 3500);
        editor.type("eGearReverse", QStringLiteral("-2.800"));
        QCOMPARE(editor.bar("sbGearReverse")->value(), 2800);

        // On Maximum RPM (7750) a 2nd gear of 3.500 lands above the power peak: grey.
        editor.base()->setCurrentIndex(1);
        editor.type("eGear2", QStringLiteral("3.500"));
        QCOMPARE(editor.text("eGearRpm2"), QStringLiteral("@ 7598 rpm"));
        QCOMPARE(editor.colour("eGearRpm2"), kGrey);

        // The best-gear options: no threshold, then each gear from the one before it.
        QTest::mouseClick(editor.find("sbGearThreshNone"), Qt::LeftButton);
        QCOMPARE(editor.window->settings().gearRpmThresholdMode, 0);
        QVERIFY(editor.find<QToolButton>("sbGearThreshNone")->isChecked());
        QCOMPARE(editor.text("eBestGear2"), QStringLiteral("2.445"));
        QTest::mouseClick(editor.find("bUpshiftBasePrev"), Qt::LeftButton);
        QVERIFY(!editor.window->settings().gearUpShiftBaseFirst);
        QCOMPARE(editor.text("eBestGear3"), QStringLiteral("2.397")); // 3.500 / 7300 x 5000

        // A best gear dropped onto a gear edit moves its bar.
        std::unique_ptr<QMimeData> data(
            gui::fieldMimeData(gui::FieldDragDrop::fieldKindOf(editor.find("eBestGear4")), editor.text("eBestGear4")));
        QLineEdit* fourth = editor.find<QLineEdit>("eGear4");
        QDropEvent drop(QPointF(fourth->rect().center()), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QDragEnterEvent enter(fourth->rect().center(), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(fourth, &enter);
        QApplication::sendEvent(fourth, &drop);
        QCOMPARE(fourth->text(), editor.text("eBestGear4"));
        QCOMPARE(editor.bar("sbGear4")->value(), qRound(fourth->text().toDouble() * 1000));
    }

    void theCurveIsReadAgainOnPageChange() {
        DriveTrainEditor editor;
        // Point 12 (6000 rpm) dragged to the top becomes the torque peak.
        editor.window->pages()->setCurrentIndex(editor::PgPerformance);
        gui::TorqueChart& chart = editor.window->torqueChart();
        QWidget* grid = editor.find("iTorqueGrid");
        const LinePoint point = chart.line(gui::TorqueChart::TorqueLine).points[12];
        QTest::mouseMove(grid, QPoint(point.x, point.y));
        QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(point.x, point.y));
        QTest::mouseMove(grid, QPoint(point.x, 0));
        QTest::mouseRelease(grid, Qt::LeftButton, {}, QPoint(point.x, 0));
        editor.window->pages()->setCurrentIndex(editor::PgDriveTrain);
        QCOMPARE(editor.find<QLabel>("hlDTTorque")->text(), QStringLiteral("Max Torque @6000rpm"));
        QCOMPARE(editor.text("eBestGear2"), QStringLiteral("2.445")); // 3.570 / 7300 x (6000 - 1000)

        // A Maximum RPM that is no number stops the read-outs with the field's message.
        editor.window->pages()->setCurrentIndex(editor::PgPerformance);
        editor.find<QLineEdit>("eMaxRpm")->clear();
        editor.window->pages()->setCurrentIndex(editor::PgDriveTrain);
        const auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].title, std::string("QORA Data Validation"));
        QCOMPARE(messages[0].text, std::string("TfMain::ValidateRpmValues()-> Field 'Maximum RPM' on the Performance "
                                               "Page contains no useful or valid value.  Cannot calculate Upshift "
                                               "RPM values."));
        QVERIFY(messages[0].icon == PromptIcon::Stop);
        QCOMPARE(editor.text("eGearRpm2"), QString());
    }

    void aTypedBaseIsUsedByTheButtonOnly() {
        DriveTrainEditor editor;
        QComboBox* base = editor.base();
        base->setFocus();
        base->lineEdit()->selectAll();
        QTest::keyClicks(base, QStringLiteral("15a00"));
        QCOMPARE(base->currentText(), QStringLiteral("1500"));
        QCOMPARE(base->currentIndex(), -1);
        QCOMPARE(editor.prompt.calls.size(), std::size_t(1)); // the beep for "a"
        QVERIFY(editor.prompt.calls[0].kind == ScriptedPrompt::Call::Beep);
        QCOMPARE(editor.text("eGearRpm2"), QStringLiteral("@ 4734 rpm"));

        QTest::mouseClick(editor.find("bCalcUpshiftRpm"), Qt::LeftButton);
        const auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].title, std::string("QORA Upshift Rpm Calculator"));
        QCOMPARE(messages[0].text, std::string("Base Upshift Rpm field contains an invalid rpm value.  The value must "
                                               "be in the range 2000-max rpm (7750).  Upshift RPM values cannot be "
                                               "calculated."));
        QVERIFY(messages[0].icon == PromptIcon::Stop);
        QCOMPARE(base->currentIndex(), 0);

        base->lineEdit()->selectAll();
        QTest::keyClicks(base, QStringLiteral("6000"));
        QTest::mouseClick(editor.find("bCalcUpshiftRpm"), Qt::LeftButton);
        QCOMPARE(editor.prompt.messages().size(), std::size_t(1));
        QCOMPARE(editor.text("eGearRpm2"), QStringLiteral("@ 3891 rpm")); // 2.315 / 3.570 x 6000
    }
};

QTEST_MAIN(TestDriveTrain)
#include "test_drivetrain.moc"
