#include <QtTest>

#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include "calc/number_text.h"
#include "editor/field_access.h"
#include "editor/field_widgets.h"
#include "editor/main_window.h"
#include "editor/page_fields.h"
#include "support/editor_fixture.h"
#include "vehicle/field_catalogue.h"

using namespace qora;
using namespace qora::testing;

namespace {

struct FieldEditor : EditorFixture {
    FieldEditor() { startWith(); }
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(name); }
    void wheel(QWidget* over, int delta) const {
        QWheelEvent event(QPointF(over->rect().center()), QPointF(over->mapToGlobal(over->rect().center())), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    }
    // Enters a gear edit, replaces its text by typing and leaves it for the next field.
    void typeAndLeave(const char* name, const QString& text) {
        QLineEdit* field = edit(name);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
        find<QWidget>("cbDriveType")->setFocus();
    }
};

// The text a field's spin button shows for a value: radians for the wing angles, else the entry's pattern.
QString shown(const editor::PageField& field, const FieldDef& def, double value) {
    const bool angle = field.name == "efAngle" || field.name == "erAngle";
    return QString::fromStdString(numbers::formatFloat(angle ? "#0.0000" : def.format, value));
}

} // namespace

class TestFieldStepping : public QObject {
    Q_OBJECT

private slots:
    void spinButtonsStopAtTheCatalogueLimitsOnEveryPage() {
        FieldEditor editor;
        int stepped = 0;
        for (gui::SpinButton* spin : editor.window->findChildren<gui::SpinButton*>()) {
            const editor::PageField* field = editor::findPageField(spin->focusControl()->objectName().toStdString());
            if (field == nullptr)
                continue; // the chart's point value
            auto* text = qobject_cast<QLineEdit*>(spin->focusControl());
            QVERIFY(text != nullptr);
            const FieldDef& def = fieldDef(field->page, spin->tag());
            editor.window->pages()->setCurrentIndex(field->page);
            const QString name = text->objectName();

            text->setText(shown(*field, def, def.maximum));
            std::size_t beeps = editor.prompt.beeps();
            spin->upButton()->click();
            QVERIFY2(editor.prompt.beeps() == beeps + 1, qPrintable(name));
            QCOMPARE(text->text(), shown(*field, def, def.maximum));

            text->setText(shown(*field, def, def.minimum));
            beeps = editor.prompt.beeps();
            spin->downButton()->click();
            QVERIFY2(editor.prompt.beeps() == beeps + 1, qPrintable(name));
            QCOMPARE(text->text(), shown(*field, def, def.minimum));
            ++stepped;
        }
        QVERIFY(stepped > 40);

        // Within the limits a step moves by the entry's step in its format, and marks the file changed.
        editor.window->pages()->setCurrentIndex(editor::PgPerformance);
        const editor::PageField& maxRpm = *editor::findPageField("eMaxRpm");
        const FieldDef& def = fieldDef(maxRpm.page, maxRpm.catalogueIndex);
        editor.edit("eMaxRpm")->setText(QStringLiteral("7750.0"));
        const std::size_t beeps = editor.prompt.beeps();
        editor.find<gui::SpinButton>("csbeMaxRpm")->upButton()->click();
        QCOMPARE(editor.edit("eMaxRpm")->text(), shown(maxRpm, def, 7750.0 + def.step));
        QCOMPARE(editor.prompt.beeps(), beeps);
        QVERIFY(editor.window->isChanged());
    }

    void theMouseWheelStepsTheFieldUnderIt() {
        FieldEditor editor;
        editor.window->pages()->setCurrentIndex(editor::PgPerformance);
        const editor::PageField& maxRpm = *editor::findPageField("eMaxRpm");
        const FieldDef& def = fieldDef(maxRpm.page, maxRpm.catalogueIndex);
        QLineEdit* field = editor.edit("eMaxRpm");
        editor.wheel(field, 120);
        QCOMPARE(field->text(), shown(maxRpm, def, 7750.0 + def.step));
        // Half a notch waits for the other half; two notches down take two steps.
        editor.wheel(field, -60);
        QCOMPARE(field->text(), shown(maxRpm, def, 7750.0 + def.step));
        editor.wheel(field, -60);
        editor.wheel(field, -240);
        QCOMPARE(field->text(), shown(maxRpm, def, 7750.0 - 2 * def.step));

        // A gear edit has no spin button: the wheel leaves it alone.
        editor.window->pages()->setCurrentIndex(editor::PgDriveTrain);
        editor.wheel(editor.edit("eGear1"), 120);
        QCOMPARE(editor.edit("eGear1")->text(), QStringLiteral("3.570"));
    }

    void leavingAGearFieldChecksIt() {
        FieldEditor editor;
        editor.window->pages()->setCurrentIndex(editor::PgDriveTrain);
        editor.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));

        // Too high: undone, with a beep.
        editor.typeAndLeave("eGear1", QStringLiteral("12"));
        QCOMPARE(editor.edit("eGear1")->text(), QStringLiteral("3.570"));
        QCOMPARE(editor.prompt.beeps(), std::size_t(1));

        // Empty texts take the gear's default; a short number is written in full.
        editor.typeAndLeave("eGearFinal", QString());
        QCOMPARE(editor.edit("eGearFinal")->text(), QStringLiteral("3.500"));
        QCOMPARE(editor.find<QScrollBar>("sbGearFinal")->value(), 3500);
        editor.typeAndLeave("eGear3", QString());
        QCOMPARE(editor.edit("eGear3")->text(), QStringLiteral("0.000"));
        editor.typeAndLeave("eGear2", QStringLiteral("2.5"));
        QCOMPARE(editor.edit("eGear2")->text(), QStringLiteral("2.500"));
        QCOMPARE(editor.find<QScrollBar>("sbGear2")->value(), 2500);
        QCOMPARE(editor.prompt.beeps(), std::size_t(1));

        // A final gear below 1: refused when short, taken unchecked in the full form.
        editor.typeAndLeave("eGearFinal", QStringLiteral("0.5"));
        QCOMPARE(editor.edit("eGearFinal")->text(), QStringLiteral("3.500"));
        QCOMPARE(editor.prompt.beeps(), std::size_t(2));
        editor.typeAndLeave("eGearFinal", QStringLiteral("0.500"));
        QCOMPARE(editor.edit("eGearFinal")->text(), QStringLiteral("0.500"));
        QCOMPARE(editor.prompt.beeps(), std::size_t(2));

        // Reverse: an emptied edit goes back; a refused text nobody typed becomes -3.000.
        editor.typeAndLeave("eGearReverse", QString());
        QCOMPARE(editor.edit("eGearReverse")->text(), QStringLiteral("-3.500"));
        QCOMPARE(editor.prompt.beeps(), std::size_t(3));
        editor.edit("eGearReverse")->setText(QStringLiteral("-0.5"));
        editor.edit("eGearReverse")->setFocus();
        editor.find<QWidget>("cbDriveType")->setFocus();
        QCOMPARE(editor.edit("eGearReverse")->text(), QStringLiteral("-3.000"));
        QCOMPARE(editor.prompt.beeps(), std::size_t(4));
    }

    void theKeyFilterGuardsEveryNumericField() {
        FieldEditor editor;
        int checked = 0;
        for (const editor::PageField& field : editor::allPageFields()) {
            if (!field.numeric || field.widget == editor::FieldWidget::Display)
                continue;
            QWidget* control = editor.window->control(field.name);
            QVERIFY(control != nullptr);
            if (!control->isEnabled())
                continue;
            QLineEdit* text = gui::editOf(control);
            const QString before = text->text();
            const std::size_t beeps = editor.prompt.beeps();
            QTest::keyClick(control, Qt::Key_X);
            QVERIFY2(editor.prompt.beeps() == beeps + 1, field.name.data());
            QCOMPARE(text->text(), before);
            ++checked;
        }
        QVERIFY(checked > 60);

        // A second "." in a short field and "-" past the first position are refused as well; a long field
        // takes both.
        QLineEdit* gear = editor.edit("eGear2");
        gear->setCursorPosition(1);
        std::size_t beeps = editor.prompt.beeps();
        QTest::keyClicks(gear, QStringLiteral(".-"));
        QCOMPARE(gear->text(), QStringLiteral("2.315"));
        QCOMPARE(editor.prompt.beeps(), beeps + 2);
        QVERIFY(!editor.window->isChanged());
        QLineEdit* mass = editor.edit("eMass");
        mass->end(false);
        beeps = editor.prompt.beeps();
        QTest::keyClicks(mass, QStringLiteral(".-"));
        QCOMPARE(mass->text(), QStringLiteral("1125.0.-"));
        QCOMPARE(editor.prompt.beeps(), beeps);
    }

    void wingAnglesInDegreesOrRadians() {
        FieldEditor editor;
        editor.window->pages()->setCurrentIndex(editor::PgAerodynamics);
        auto* degrees = editor.find<QCheckBox>("cbAnglesInDegrees");
        QLineEdit* front = editor.edit("efAngle");
        editor.type("efAngle", QStringLiteral("0.2"));
        QTest::mouseClick(degrees, Qt::LeftButton, {}, QPoint(4, degrees->height() / 2));
        QVERIFY(degrees->isChecked());
        QVERIFY(editor.window->settings().anglesInDegrees);
        QCOMPARE(front->text(), QStringLiteral("11.5"));
        QCOMPARE(editor.edit("erAngle")->text(), QStringLiteral("10.0"));
        QCOMPARE(editor.find<QLabel>("Panel42")->text(), QStringLiteral("<- Angle (deg.) ->"));
        QCOMPARE(gui::typingLimit(front), 4);

        // In degrees the spin button steps by a tenth.
        editor.find<gui::SpinButton>("csbefAngle")->upButton()->click();
        QCOMPARE(front->text(), QStringLiteral("11.6"));
        editor.find<gui::SpinButton>("csbefAngle")->downButton()->click();

        QTest::mouseClick(degrees, Qt::LeftButton, {}, QPoint(4, degrees->height() / 2));
        QVERIFY(!degrees->isChecked());
        QCOMPARE(front->text(), QStringLiteral("0.2007"));
        QCOMPARE(editor.find<QLabel>("Panel42")->text(), QStringLiteral("<- Angle (rads) ->"));
        QCOMPARE(gui::typingLimit(front), 7);

        // A text that is no number cannot be converted: the warning, and nothing changes.
        front->setText(QStringLiteral("0.2x"));
        QTest::mouseClick(degrees, Qt::LeftButton, {}, QPoint(4, degrees->height() / 2));
        const auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].title, std::string("QORA Math Unit"));
        QCOMPARE(messages[0].text, std::string("Airdam/Wing angle contains an invalid value and cannot be converted "
                                               "to the requested display mode."));
        QVERIFY(messages[0].icon == PromptIcon::Exclamation);
        QVERIFY(!degrees->isChecked());
        QVERIFY(!editor.window->settings().anglesInDegrees);
        QCOMPARE(front->text(), QStringLiteral("0.2x"));
        QCOMPARE(editor.find<QLabel>("Panel42")->text(), QStringLiteral("<- Angle (rads) ->"));
    }
};

QTEST_MAIN(TestFieldStepping)
#include "test_field_stepping.moc"
