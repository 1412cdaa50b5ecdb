#include <QtTest>

#include <functional>
#include <stdexcept>
#include <string>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>

#include "dialogs/side_section_dialogs.h"
#include "support/editor_fixture.h"
#include "support/qt_strings.h"
#include "vehicle/veh_format.h"

using namespace qora;
using namespace qora::testing;

namespace {

bool contains(const std::string& bytes, const std::string& part) {
    return bytes.find(part) != std::string::npos;
}

// A dialog step on a dialog of type T: the check runs on it, then it closes with the given result.
template <typename T> ScriptedDialogRunner::Step on(const std::function<void(T&)>& check, int result) {
    return [check, result](QDialog& dialog) {
        auto* typed = qobject_cast<T*>(&dialog);
        if (typed == nullptr)
            throw std::logic_error("unexpected dialog " + dialog.objectName().toStdString());
        typed->show();
        check(*typed);
        return result;
    };
}

// The template with the three optional sections, two parts out of range.
std::string startWithSections(EditorFixture& editor) {
    const std::string path = editor.home.file("car.veh");
    writeBytes(path, readBytes(dataFile("template.veh")) +
                         "\r\n[PARTS]\r\nabs=-1\r\ncomputer_chip=0\r\ngearbox_ringpinion=1\r\nintercooler=0\r\n"
                         "tires=2\r\nsuspension=0\r\nweight_reduction=0\r\naerodynamic_work=0\r\nbrake_system=0\r\n"
                         "manifold_headers=0\r\nmuffler_pipes=0\r\nair_intake=0\r\nturbo_charger=5\r\n"
                         "clutch_flywheel=0\r\n"
                         "\r\n[AIBASIS]\r\nground_effects=(1.5)\r\ncornering=(0.9)\r\nbraking=(1.1)\r\n"
                         "acceleration=(1.0)\r\ntop_speed=(1.2)\r\n"
                         "\r\n[QORA]\r\nOriginalAuthor=Ray Colter\r\nBasedOnCar=G01B\r\nAuthorsNotes=First try\r\n"
                         "ModifiedBy=\r\nVehFileVersion=1.0\r\n");
    editor.writeSettings(path);
    editor.start();
    return path;
}

std::string value(EditorFixture& editor, int section, std::string_view key) {
    return editor.window->currentVehicle()->findEntry(section, key)->value;
}

} // namespace

class TestSideDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void partsAreClampedAndAllZeroRemovesTheSectionOnSave() {
        EditorFixture editor;
        const std::string car = startWithSections(editor);
        using gui::PartsDialog;

        // Shown within range; Cancel leaves the file's values and the changed state.
        editor.dialogs.then(on<PartsDialog>(
            [](PartsDialog& dialog) {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Vehicle Modification Parts"));
                QCOMPARE(child<QSlider>(dialog, "tbTurboCharger")->value(), 3);
                QCOMPARE(child<QLabel>(dialog, "pTurbo")->text(), QStringLiteral("3"));
                QCOMPARE(child<QSlider>(dialog, "tbTires")->value(), 2);
                QCOMPARE(child<QLabel>(dialog, "pTires")->text(), QStringLiteral("2"));
                QVERIFY(!child<QCheckBox>(dialog, "cbAbs")->isChecked());
                QVERIFY(child<QCheckBox>(dialog, "cbGearBox")->isChecked());
                child<QSlider>(dialog, "tbTires")->setValue(1);
                QCOMPARE(child<QLabel>(dialog, "pTires")->text(), QStringLiteral("1"));
            },
            QDialog::Rejected));
        QVERIFY(triggerAction(editor.window.get(), "mVehMods"));
        QCOMPARE(q(value(editor, veh::SecParts, "turbo_charger")), QStringLiteral("5"));
        QCOMPARE(q(value(editor, veh::SecParts, "tires")), QStringLiteral("2"));
        QVERIFY(!editor.window->isChanged());

        // OK stores every part in range and marks the file changed.
        editor.dialogs.then(on<PartsDialog>([](PartsDialog&) {}, QDialog::Accepted));
        QVERIFY(triggerAction(editor.window.get(), "mVehMods"));
        QCOMPARE(q(value(editor, veh::SecParts, "turbo_charger")), QStringLiteral("3"));
        QCOMPARE(q(value(editor, veh::SecParts, "abs")), QStringLiteral("0"));
        QCOMPARE(q(value(editor, veh::SecParts, "gearbox_ringpinion")), QStringLiteral("1"));
        QVERIFY(editor.window->isChanged());
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(contains(readBytes(car), "turbo_charger=3"));

        // Nothing checked and every slider at the left: the section is gone after the save.
        editor.dialogs.then(on<PartsDialog>(
            [](PartsDialog& dialog) {
                child<QCheckBox>(dialog, "cbGearBox")->setChecked(false);
                for (const char* name : {"tbTurboCharger", "tbTires"})
                    child<QSlider>(dialog, name)->setValue(0);
                QCOMPARE(child<QLabel>(dialog, "pTurbo")->text(), QStringLiteral("0"));
            },
            QDialog::Accepted));
        QVERIFY(triggerAction(editor.window.get(), "mVehMods"));
        QCOMPARE(q(value(editor, veh::SecParts, "turbo_charger")), QString());
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        const std::string saved = readBytes(car);
        QVERIFY(!contains(saved, "[PARTS]"));
        QVERIFY(!contains(saved, "turbo_charger"));
        QVERIFY(contains(saved, "[AIBASIS]"));
    }

    void aiBasisMarksChangedOnlyWhenEditedAndClearsOnRequest() {
        EditorFixture editor;
        const std::string car = startWithSections(editor);
        using gui::AiBasisDialog;

        // Closed without typing: nothing changed.
        editor.dialogs.then(on<AiBasisDialog>(
            [](AiBasisDialog& dialog) {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("AI Basis"));
                QCOMPARE(child<QLineEdit>(dialog, "eGroundEffects")->text(), QStringLiteral("1.5"));
                QCOMPARE(child<QLineEdit>(dialog, "eTopSpeed")->maxLength(), 32);
            },
            QDialog::Accepted));
        QVERIFY(triggerAction(editor.window.get(), "mAiBasis"));
        QVERIFY(!editor.window->isChanged());

        // Typed: stored trimmed, changed.
        editor.dialogs.then(on<AiBasisDialog>(
            [](AiBasisDialog& dialog) {
                auto* cornering = child<QLineEdit>(dialog, "eCornering");
                cornering->selectAll();
                QTest::keyClicks(cornering, QStringLiteral(" 0.95 "));
            },
            QDialog::Rejected));
        QVERIFY(triggerAction(editor.window.get(), "mAiBasis"));
        QCOMPARE(q(value(editor, veh::SecAiBasis, "cornering")), QStringLiteral("0.95"));
        QVERIFY(editor.window->isChanged());

        // "Clear All Fields" asks first, and does not close the dialog; cleared, the section goes with the save.
        editor.prompt.answer(PromptAnswer::No).answer(PromptAnswer::Yes);
        editor.dialogs.then(on<AiBasisDialog>(
            [&](AiBasisDialog& dialog) {
                QPushButton* clear = child<QPushButton>(dialog, "bCancel");
                QCOMPARE(clear->text(), QStringLiteral("Clear &All Fields"));
                clear->click();
                QCOMPARE(child<QLineEdit>(dialog, "eBraking")->text(), QStringLiteral("1.1"));
                clear->click();
                QCOMPARE(child<QLineEdit>(dialog, "eBraking")->text(), QString());
                QVERIFY(dialog.isVisible());
                const auto question = editor.prompt.questions().back();
                QCOMPARE(q(question.title), QStringLiteral("QORA AI Basis"));
                QCOMPARE(q(question.text),
                         QStringLiteral("This will clear ALL data in ALL fields in this dialog.  Are you sure?"));
            },
            QDialog::Accepted));
        QVERIFY(triggerAction(editor.window.get(), "mAiBasis"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(!contains(readBytes(car), "[AIBASIS]"));
        QVERIFY(!contains(readBytes(car), "cornering"));
    }

    // AI Basis takes numbers only, typed or pasted; a field that is still not a number keeps the dialog open. Author
    // Information does not close over a text that would change the file.
    void sideDialogsKeepWhatCannotBeStoredOutOfTheFile() {
        EditorFixture editor;
        const std::string car = startWithSections(editor);
        using gui::AiBasisDialog;
        using gui::AuthorDialog;

        editor.dialogs.then(on<AiBasisDialog>(
            [&](AiBasisDialog& dialog) {
                auto* speed = child<QLineEdit>(dialog, "eTopSpeed");
                speed->selectAll();
                QTest::keyClicks(speed, QStringLiteral("fast"));
                QCOMPARE(speed->text(), QString());
                QTest::keyClicks(speed, QStringLiteral("1..2"));
                dialog.done(QDialog::Accepted);
                QVERIFY(dialog.isVisible());
                QCOMPARE(q(editor.prompt.messages().back().text),
                         QStringLiteral("Top Speed: '1..2' is not a number.  Type a number, with \".\" as the decimal "
                                        "point, or leave the field empty."));
                QCOMPARE(dialog.focusWidget(), speed);
                speed->selectAll();
                QTest::keyClicks(speed, QStringLiteral("1.25"));
            },
            QDialog::Accepted));
        QVERIFY(triggerAction(editor.window.get(), "mAiBasis"));
        QCOMPARE(q(value(editor, veh::SecAiBasis, "top_speed")), QStringLiteral("1.25"));

        editor.dialogs.then(on<AuthorDialog>(
            [&](AuthorDialog& dialog) {
                auto* based = child<QLineEdit>(dialog, "eBasedOnCar");
                based->selectAll();
                QTest::keyClicks(based, QStringLiteral("see http://mods.example/car"));
                dialog.done(QDialog::Accepted);
                QVERIFY(dialog.isVisible());
                QVERIFY(q(editor.prompt.messages().back().text)
                            .startsWith(QStringLiteral("Based On Vehicle: \"see http://mods.example/car\" cannot be "
                                                       "stored: it holds \"//\"")));
                based->selectAll();
                QTest::keyClicks(based, QStringLiteral("mods.example/car"));
            },
            QDialog::Accepted));
        QVERIFY(triggerAction(editor.window.get(), "mAuthorInfo"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(contains(readBytes(car), "BasedOnCar=mods.example/car"));
    }

    void authorDataClearedEmptiesTheQoraSection() {
        EditorFixture editor;
        const std::string car = startWithSections(editor);
        using gui::AuthorDialog;
        editor.window->settings().generalWarnings = false;

        editor.dialogs.then(on<AuthorDialog>(
            [](AuthorDialog& dialog) {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Author Information"));
                QCOMPARE(child<QLineEdit>(dialog, "eOriginalAuthor")->text(), QStringLiteral("Ray Colter"));
                QCOMPARE(child<QLineEdit>(dialog, "eBasedOnCar")->text(), QStringLiteral("G01B"));
                QCOMPARE(child<QLineEdit>(dialog, "eVersion")->text(), QStringLiteral("1.0"));
                QCOMPARE(child<QPlainTextEdit>(dialog, "mNotes")->toPlainText(), QStringLiteral("First try"));
                QTest::keyClicks(child<QLineEdit>(dialog, "eModifiedBy"), QStringLiteral("Ana Ruiz"));
                child<QPlainTextEdit>(dialog, "mNotes")->setPlainText(QStringLiteral("Softer springs.\nLonger gears."));
            },
            QDialog::Accepted));
        QVERIFY(triggerAction(editor.window.get(), "mAuthorInfo"));
        QVERIFY(editor.window->isChanged());
        QCOMPARE(q(editor.window->authorData()[3]), QStringLiteral("Ana Ruiz"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(contains(readBytes(car), "ModifiedBy=Ana Ruiz"));
        QVERIFY(contains(readBytes(car), "AuthorsNotes=Softer springs. Longer gears."));

        // Without general warnings "Clear All Fields" clears at once; closed, the section goes with the save.
        editor.dialogs.then(on<AuthorDialog>(
            [](AuthorDialog& dialog) {
                child<QPushButton>(dialog, "bCancel")->click();
                QCOMPARE(child<QLineEdit>(dialog, "eOriginalAuthor")->text(), QString());
                QCOMPARE(child<QPlainTextEdit>(dialog, "mNotes")->toPlainText(), QString());
            },
            QDialog::Rejected));
        QVERIFY(triggerAction(editor.window.get(), "mAuthorInfo"));
        QVERIFY(editor.prompt.questions().empty());
        QVERIFY(editor.window->isChanged());
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        const std::string saved = readBytes(car);
        QVERIFY(!contains(saved, "[QORA]"));
        QVERIFY(!contains(saved, "OriginalAuthor"));
        QVERIFY(contains(saved, "[AIBASIS]"));
    }
};

QTEST_MAIN(TestSideDialogs)
#include "test_side_dialogs.moc"
