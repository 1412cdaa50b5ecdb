// The editor never writes what it cannot read back: numeric fields are checked when the pages are transferred
// (the field at fault gets the focus), pasted text goes through the typing filter, and the figures around the
// chart and the gear calculator show what the vehicle holds.

#include <QtTest>

#include <string>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "editor/page_fields.h"
#include "chart/torque_chart.h"
#include "support/editor_fixture.h"
#include "support/qt_strings.h"

using namespace qora;
using namespace qora::testing;
using gui::TorqueChart;

class TestValueChecks : public QObject {
    Q_OBJECT

private slots:
    void aNumericFieldThatIsNotANumberStopsTheSaveAndGetsTheFocus() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        const std::string before = readBytes(car);
        editor.window->pages()->setCurrentIndex(editor::PgPerformance);
        editor.type("eMaxRpm", QStringLiteral("77..50"));
        editor.window->pages()->setCurrentIndex(editor::PgOther);

        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        const auto message = editor.prompt.messages().back();
        QCOMPARE(q(message.title), QStringLiteral("QORA Data Validation Error"));
        QCOMPARE(q(message.text), QStringLiteral("TfMain::SavePerformancePage()-> Maximum RPM on the Performance page: "
                                                 "'77..50' is not a number.  Type a number, with \".\" as the decimal "
                                                 "point."));
        QCOMPARE(readBytes(car), before);
        QVERIFY(editor.window->isChanged());
        QCOMPARE(editor.window->pages()->currentIndex(), int(editor::PgPerformance));
        QCOMPARE(editor.window->focusWidget(), editor.find("eMaxRpm"));

        // A number outside the field's limits is refused the same way; a number within them saves.
        editor.type("eMaxRpm", QStringLiteral("25000"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(q(editor.prompt.messages().back().text)
                    .endsWith(QStringLiteral("'25000' is outside the field's limits, 0 to 20000.")));
        editor.type("eMaxRpm", QStringLiteral("7750.0"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(readBytes(car).find("maximum_rpm=(7750.0)") != std::string::npos);
    }

    void aTextThatWouldChangeTheFileIsRefused() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        editor.type("eDescription", QStringLiteral("Mustang // V8"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QCOMPARE(q(editor.prompt.messages().back().text),
                 QStringLiteral("TfMain::SaveDetailsPage()-> Description on the Details page: \"Mustang // V8\" cannot "
                                "be stored: it holds \"//\", which starts a comment in a vehicle file.  Leave out "
                                "\"//\", line breaks, \"editor=\" and section names in square brackets such as "
                                "\"[ENGINE]\"."));
        QCOMPARE(editor.window->focusWidget(), editor.find("eDescription"));
        QVERIFY(readBytes(car).find("Mustang") == std::string::npos);
    }

    void pastedTextGoesThroughTheTypingFilter() {
        EditorFixture editor;
        editor.startWith();
        editor.window->pages()->setCurrentIndex(editor::PgPerformance);
        QLineEdit* field = editor.find<QLineEdit>("eAutoShiftRpm");
        field->setFocus();
        field->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("7x5"));
        const std::size_t before = editor.prompt.beeps();
        QTest::keySequence(field, QKeySequence::Paste);
        QCOMPARE(field->text(), QStringLiteral("75"));
        QCOMPARE(editor.prompt.beeps(), before + 1);
    }

    void thePeakFiguresFollowASaveThatEndsTheCurveEarly() {
        EditorFixture editor;
        editor.startWith();
        editor.window->pages()->setCurrentIndex(editor::PgPerformance);
        QCOMPARE(editor.find<QLabel>("lTorque")->text(), QStringLiteral("473 ft-lbs @5000rpm"));
        // A torque of nothing at 1500 rpm: the save ends the curve there.
        LineData& torque = editor.window->torqueChart().line(TorqueChart::TorqueLine);
        torque.points[3].value = 0;
        editor.window->setChanged(true);
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        const QString figure = editor.find<QLabel>("lTorque")->text();
        QVERIFY2(!figure.endsWith(QStringLiteral("@5000rpm")), qPrintable(figure));
        QCOMPARE(figure, QString::fromLatin1(editor.window->torqueChart().peakFigures(false).torque.c_str()));
    }

    void theBaseUpshiftItemsAreNeverCut() {
        EditorFixture editor;
        editor.startWith();
        editor.window->pages()->setCurrentIndex(editor::PgDriveTrain);
        auto* base = editor.find<QComboBox>("cbUpshiftBase");
        for (int i = 0; i < base->count(); ++i) {
            base->setCurrentIndex(i);
            QCOMPARE(base->lineEdit()->text(), base->itemText(i));
            QVERIFY2(base->itemText(i).size() > 5, qPrintable(base->itemText(i)));
        }
        // Typing (which reaches the list itself) is still limited to five digits.
        base->lineEdit()->selectAll();
        QTest::keyClicks(base, QStringLiteral("1234567"));
        QCOMPARE(base->lineEdit()->text(), QStringLiteral("12345"));
    }
};

QTEST_MAIN(TestValueChecks)
#include "test_value_checks.moc"
