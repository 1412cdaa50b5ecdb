#include <QtTest>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include <QCheckBox>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QSlider>
#include <QStandardPaths>
#include <QTabWidget>
#include <QUndoStack>
#include <QUndoView>
#include <QWheelEvent>

#include "chart/torque_chart.h"
#include "dialogs/copy_from_ghost_dialog.h"
#include "dialogs/side_section_dialogs.h"
#include "editor/field_drag.h"
#include "editor/field_widgets.h"
#include "editor/page_fields.h"
#include "support/editor_fixture.h"
#include "vehicle/vehicle_file.h"

using namespace qora;
using namespace qora::testing;
using gui::TorqueChart;

namespace {

using Texts = std::map<std::string, std::string, std::less<>>;

// The point of the torque curve at 5000 rpm, the template's peak and the active point after loading.
constexpr int kPoint5000 = 10;

// Everything the user can see of the vehicle's values: the field texts and the torque curve.
struct Shown {
    Texts texts;
    std::vector<double> torque;

    bool operator==(const Shown&) const = default;
};

Texts fieldTexts(EditorFixture& editor) {
    Texts texts;
    for (const editor::PageField& field : editor::allPageFields()) {
        if (field.widget == editor::FieldWidget::Display || field.part == editor::BufferPart::None)
            continue;
        texts.emplace(std::string(field.name), editor.window->controlText(field.name).toStdString());
    }
    return texts;
}

Shown shown(EditorFixture& editor) {
    Shown state{fieldTexts(editor), {}};
    for (const LinePoint& point : editor.window->torqueChart().line(TorqueChart::TorqueLine).points)
        state.torque.push_back(point.value);
    return state;
}

// The bytes a save would write now, without saving: the pages go into a copy of the vehicle, which is brought up
// to date with its buffer. The editor stamp is the same in every copy, so two states compare byte for byte.
std::string savedBytes(EditorFixture& editor) {
    if (!editor.window->transferPages())
        return "(the pages could not be transferred)";
    VehicleFile copy(*editor.window->currentVehicle());
    copy.save(std::string(), true);
    std::string bytes;
    for (const std::string& line : *copy.lines())
        bytes += line + "\n";
    return bytes;
}

QString text(EditorFixture& editor, const char* name) {
    return editor.window->controlText(name);
}

QUndoStack& stack(EditorFixture& editor) {
    return editor.window->undoStack();
}

bool undo(EditorFixture& editor) {
    return triggerAction(editor.window.get(), "mUndo");
}

bool redo(EditorFixture& editor) {
    return triggerAction(editor.window.get(), "mRedo");
}

void step(EditorFixture& editor, const char* spin, bool up) {
    auto* button = editor.find<gui::SpinButton>(spin);
    QVERIFY2(button != nullptr, spin);
    (up ? button->upButton() : button->downButton())->click();
}

// A ghost that differs from the template in the front tyre pressure, the body mass and the 5000 rpm torque.
std::string writeGhost(EditorFixture& editor) {
    return editor.writeVehicle("ghost.veh", {{"GT2 #6 BMW M3", "GT2 #9 Saleen"},
                                             {"pressure=(155.0000)", "pressure=(190.0000)"},
                                             {"mass=(1125.0)", "mass=(1300.0)"},
                                             {"rpm_torque=(5000.0, 633.00)", "rpm_torque=(5000.0, 700.00)"}});
}

// Drops a ghost field's value onto a vehicle field, as a drag and drop does.
void dropGhostValue(EditorFixture& editor, const char* ghostName, const char* targetName) {
    QLineEdit* ghost = editor.find<QLineEdit>(ghostName);
    QWidget* target = editor.find(targetName);
    QMimeData* data = gui::fieldMimeData(gui::FieldDragDrop::fieldKindOf(ghost), ghost->text());
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(centre), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    delete data;
}

// The Copy From Ghost dialog answered with its page-in-front choice.
ScriptedDialogRunner::Step copyActivePage() {
    return [](QDialog& dialog) {
        auto* copy = qobject_cast<gui::CopyFromGhostDialog*>(&dialog);
        if (copy == nullptr)
            return int(QDialog::Rejected);
        copy->setScope(editor::CopyScope::ActivePage);
        return int(QDialog::Accepted);
    };
}

// The parts dialog with the turbo slider moved, then OK.
ScriptedDialogRunner::Step partsWithTurbo(int turbo) {
    return [turbo](QDialog& dialog) {
        child<QSlider>(dialog, "tbTurboCharger")->setValue(turbo);
        return int(QDialog::Accepted);
    };
}

// Every kind of command: do, undo and redo put the page texts, the curve and the saved bytes back exactly.
void checkDoUndoRedo(EditorFixture& editor, const std::function<void()>& edit, const QString& expectedText) {
    const Shown before = shown(editor);
    const std::string bytesBefore = savedBytes(editor);
    const int count = stack(editor).count();
    edit();
    QCOMPARE(stack(editor).count(), count + 1);
    QCOMPARE(stack(editor).undoText(), expectedText);
    const Shown after = shown(editor);
    const std::string bytesAfter = savedBytes(editor);
    QVERIFY(bytesAfter != bytesBefore);

    QVERIFY(undo(editor));
    QVERIFY(shown(editor) == before);
    QCOMPARE(savedBytes(editor), bytesBefore);
    QVERIFY(redo(editor));
    QVERIFY(shown(editor) == after);
    QCOMPARE(savedBytes(editor), bytesAfter);
}

} // namespace

class TestUndoHistory : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void everyKindOfEditIsUndoneAndRedone() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        QVERIFY(window.openGhostFile(writeGhost(editor)));
        QCOMPARE(stack(editor).count(), 0);

        checkDoUndoRedo(
            editor, [&] { editor.type("eMass", QStringLiteral("1200.0")); },
            QStringLiteral("Mass Body Weight(kg) 1125.0 \u2192 1200.0"));
        checkDoUndoRedo(
            editor, [&] { step(editor, "csbefPressure", true); },
            QStringLiteral("Pressure (kPa) (Front) 155.0000 \u2192 155.50"));
        checkDoUndoRedo(
            editor, [&] { dropGhostValue(editor, "gefPressure", "erPressure"); },
            QStringLiteral("Pressure (kPa) (Rear) 155.0000 \u2192 190.0000"));

        window.pages()->setCurrentIndex(editor::PgPerformance);
        checkDoUndoRedo(
            editor, [&] { step(editor, "csbChartPoint", true); },
            QStringLiteral("Torque at 5000 rpm 633.00 \u2192 634.00"));

        window.pages()->setCurrentIndex(editor::PgDriveTrain);
        checkDoUndoRedo(
            editor, [&] { editor.find<QScrollBar>("sbGear2")->setValue(2600); },
            QStringLiteral("2nd Gear 2.315 \u2192 2.600"));

        window.pages()->setCurrentIndex(editor::PgTires);
        editor.dialogs.then(copyActivePage());
        checkDoUndoRedo(
            editor, [&] { QVERIFY(triggerAction(&window, "mCopyFromGhost")); },
            QStringLiteral("Copy From Ghost: 2 values on Tires"));

        editor.dialogs.then(partsWithTurbo(2));
        checkDoUndoRedo(
            editor, [&] { QVERIFY(triggerAction(&window, "mVehMods")); }, QStringLiteral("Vehicle Modification Parts"));

        editor.prompt.answer(PromptAnswer::Yes);
        checkDoUndoRedo(
            editor, [&] { QVERIFY(triggerAction(&window, "mUndoPage")); }, QStringLiteral("Undo Page: Tires"));
        QVERIFY(editor.prompt.unusedAnswers() == 0);
    }

    void undoBringsTheChangeToTheFrontAndFollowsTheCalculators() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QString torqueFigure = editor.find<QLabel>("lTorque")->text();

        window.pages()->setCurrentIndex(editor::PgPerformance);
        for (int i = 0; i < 3; ++i)
            step(editor, "csbChartPoint", true);
        // Steps of one point that follow each other are one command.
        QCOMPARE(stack(editor).count(), 1);
        QCOMPARE(stack(editor).undoText(), QStringLiteral("Torque at 5000 rpm 633.00 \u2192 636.00"));
        QVERIFY(editor.find<QLabel>("lTorque")->text() != torqueFigure);

        window.pages()->setCurrentIndex(editor::PgDriveTrain);
        editor.find<QScrollBar>("sbGear3")->setValue(1900);
        const QString upshift = editor.find<QLineEdit>("eGearRpm3")->text();
        editor.find<QScrollBar>("sbGear3")->setValue(1950);
        QCOMPARE(stack(editor).count(), 2); // the bar's moves merge too
        QVERIFY(editor.find<QLineEdit>("eGearRpm3")->text() != upshift);

        // Undoing the curve shows the Performance page with the figures of the curve as it was.
        QVERIFY(undo(editor));
        QVERIFY(undo(editor));
        QCOMPARE(window.pages()->currentIndex(), int(editor::PgPerformance));
        QCOMPARE(editor.find<QLabel>("lTorque")->text(), torqueFigure);
        QCOMPARE(window.torqueChart().line(TorqueChart::TorqueLine).activePointIndex, kPoint5000);

        // Redoing the gear shows its page, its field focused, its bar and the upshift read-outs as they were.
        QVERIFY(redo(editor));
        QVERIFY(redo(editor));
        QCOMPARE(window.pages()->currentIndex(), int(editor::PgDriveTrain));
        QCOMPARE(editor.find<QScrollBar>("sbGear3")->value(), 1950);
        QVERIFY(editor.find<QLineEdit>("eGear3")->hasFocus());
        QVERIFY(editor.find<QLineEdit>("eGearRpm3")->text() != upshift);
        QVERIFY(undo(editor));
        QCOMPARE(text(editor, "eGear3"), QStringLiteral("1.549"));
        QCOMPARE(editor.find<QScrollBar>("sbGear3")->value(), 1549);
    }

    void typingMergesUntilTheFieldIsLeft() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.pages()->setCurrentIndex(editor::PgOther);
        QLineEdit* mass = editor.find<QLineEdit>("eMass");
        mass->setFocus();
        editor.type("eMass", QStringLiteral("1300"));
        QTest::keyClicks(mass, QStringLiteral(".5"));
        QCOMPARE(stack(editor).count(), 1);
        QCOMPARE(stack(editor).undoText(), QStringLiteral("Mass Body Weight(kg) 1125.0 \u2192 1300.5"));

        // Steps of the same field are a command of their own, merged while they follow each other.
        step(editor, "csbeMass", true);
        step(editor, "csbeMass", true);
        // A notch of the wheel over the field is one more step of the same run.
        QWheelEvent wheel(QPointF(5, 5), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(mass, &wheel);
        QCOMPARE(stack(editor).count(), 2);
        QCOMPARE(stack(editor).undoText(), QStringLiteral("Mass Body Weight(kg) 1300.5 \u2192 1315.5"));

        // Typing in another field, then back: each run its own command.
        editor.type("eFuel", QStringLiteral("50"));
        editor.type("eMass", QStringLiteral("1400.0"));
        QCOMPARE(stack(editor).count(), 4);

        // Leaving the field ends the run: typing on after coming back is the next command.
        mass->setFocus();
        editor.find<QLineEdit>("eFuel")->setFocus();
        mass->setFocus();
        QTest::keyClicks(mass, QStringLiteral("5"));
        QCOMPARE(stack(editor).count(), 5);

        // Typing back what was there leaves no command.
        const int count = stack(editor).count();
        QLineEdit* fuel = editor.find<QLineEdit>("eFuel");
        const QString fuelText = fuel->text();
        QTest::keyClick(fuel, Qt::Key_End);
        QTest::keyClicks(fuel, QStringLiteral("1"));
        QTest::keyClick(fuel, Qt::Key_Backspace);
        QCOMPARE(fuel->text(), fuelText);
        QCOMPARE(stack(editor).count(), count);

        // Every command undone gives the file as opened.
        while (stack(editor).canUndo())
            QVERIFY(undo(editor));
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1125.0"));
        QVERIFY(!window.isChanged());
    }

    // A field's own undo keys would take back only its own typing: in the window they are the vehicle's.
    void undoKeysWorkWhereverTheFocusIs() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.pages()->setCurrentIndex(editor::PgOther);
        step(editor, "csbeMass", true);
        QLineEdit* fuel = editor.find<QLineEdit>("eFuel");
        fuel->setFocus();
        QTest::keyClick(fuel, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1125.0"));
        QVERIFY(!window.isChanged());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1130.0"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1130.0"));
        QVERIFY(window.isChanged());
    }

    void theChangedIndicatorFollowsTheSavedState() {
        EditorFixture editor;
        const std::string path = editor.startWith();
        gui::MainWindow& window = *editor.window;
        auto* indicator = editor.find("pHasChangedIndicator");
        const QColor green(0, 255, 0);
        QCOMPARE(indicator->palette().color(QPalette::Window), green);
        QVERIFY(!window.isChanged());
        QVERIFY(!editor.action("mUndo")->isEnabled());

        editor.type("eMass", QStringLiteral("1200.0"));
        QVERIFY(window.isChanged());
        QVERIFY(editor.action("mUndoPage")->isEnabled());
        QCOMPARE(editor.action("mUndo")->text(), QStringLiteral("&Undo Mass Body Weight(kg) 1125.0 \u2192 1200.0"));
        QVERIFY(undo(editor));
        QVERIFY(!window.isChanged());
        QCOMPARE(indicator->palette().color(QPalette::Window), green);
        QCOMPARE(editor.action("mRedo")->text(), QStringLiteral("&Redo Mass Body Weight(kg) 1125.0 \u2192 1200.0"));
        QVERIFY(redo(editor));
        QVERIFY(window.isChanged());

        // A save marks the state clean: undoing past it is a change, redoing back to it none.
        QVERIFY(triggerAction(&window, "mSave"));
        QVERIFY(!window.isChanged());
        QVERIFY(readBytes(path).find("mass=(1200.0)") != std::string::npos);
        editor.type("eFuel", QStringLiteral("40"));
        QVERIFY(window.isChanged());
        QVERIFY(undo(editor));
        QVERIFY(!window.isChanged());
        QVERIFY(undo(editor));
        QVERIFY(window.isChanged());
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1125.0"));
        QVERIFY(redo(editor));
        QVERIFY(!window.isChanged());

        // Opening another vehicle asks to save the changes first, then starts the history again.
        editor.type("eFuel", QStringLiteral("45"));
        editor.prompt.answer(PromptAnswer::No);
        QVERIFY(window.openVehicleFile(editor.copy("template.veh", "other.veh"), VehicleFile::ModeOpen));
        QCOMPARE(editor.prompt.unusedAnswers(), std::size_t(0));
        QCOMPARE(stack(editor).count(), 0);
        QVERIFY(!window.isChanged());
        QVERIFY(!editor.action("mUndo")->isEnabled());
    }

    void aTorqueDragIsOneCommand() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        window.pages()->setCurrentIndex(editor::PgPerformance);
        QCoreApplication::processEvents();
        TorqueChart& chart = window.torqueChart();
        const std::string opened = savedBytes(editor);
        QWidget* grid = chart.findChild<QWidget*>(QStringLiteral("iTorqueGrid"));
        QVERIFY(grid != nullptr);
        const LinePoint& point = chart.line(TorqueChart::TorqueLine).points[1];
        const QPoint start(point.x, point.y);
        QTest::mouseMove(grid, start);
        QTest::mousePress(grid, Qt::LeftButton, {}, start);
        QVERIFY(window.isChanged()); // while the point is held
        QTest::mouseMove(grid, start - QPoint(0, 10));
        QTest::mouseMove(grid, start - QPoint(0, 20));
        QTest::mouseRelease(grid, Qt::LeftButton, {}, start - QPoint(0, 20));
        QCOMPARE(stack(editor).count(), 1);
        const std::string dragged = savedBytes(editor);
        QVERIFY(dragged != opened);
        QVERIFY(stack(editor).undoText().startsWith(QStringLiteral("Torque at 500 rpm 175.00 \u2192 ")));
        QVERIFY(undo(editor));
        QCOMPARE(chart.line(TorqueChart::TorqueLine).points[1].value, 175.0);
        QCOMPARE(savedBytes(editor), opened);
        QVERIFY(!window.isChanged());
        QVERIFY(redo(editor));
        QCOMPARE(savedBytes(editor), dragged);
        QVERIFY(undo(editor));

        // A press that moves nothing leaves no command and the vehicle unchanged.
        QTest::mousePress(grid, Qt::LeftButton, {}, start);
        QTest::mouseRelease(grid, Qt::LeftButton, {}, start);
        QVERIFY(!window.isChanged());
        QVERIFY(!stack(editor).canUndo());
    }

    void aSwitchOfTheTorqueUnitIsNoChangeOfTheCurve() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        window.pages()->setCurrentIndex(editor::PgPerformance);
        const std::string opened = savedBytes(editor);
        QVERIFY(triggerAction(&window, "mcoTorqueNm")); // the curve in ft-lbs
        QCOMPARE(stack(editor).count(), 0);
        step(editor, "csbChartPoint", true);
        QCOMPARE(stack(editor).count(), 1);
        QCOMPARE(stack(editor).undoText(), QStringLiteral("Torque at 5000 rpm 472.85 \u2192 473.85"));
        QVERIFY(undo(editor));
        QCOMPARE(savedBytes(editor), opened);

        // A step recorded in ft-lbs and undone after switching back to Nm gives the curve as opened.
        QVERIFY(redo(editor));
        QVERIFY(triggerAction(&window, "mcoTorqueNm"));
        QVERIFY(undo(editor));
        QCOMPARE(window.torqueChart().line(TorqueChart::TorqueLine).points[kPoint5000].value, 633.0);
        QCOMPARE(savedBytes(editor), opened);
    }

    void theSideDialogsEditsAreUndone() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        const auto typeInto = [](const char* field, const QString& typed) -> ScriptedDialogRunner::Step {
            return [field, typed](QDialog& dialog) {
                auto* edit = child<QLineEdit>(dialog, field);
                edit->selectAll();
                QTest::keyClicks(edit, typed);
                return int(QDialog::Accepted);
            };
        };
        editor.dialogs.then(typeInto("eCornering", QStringLiteral("0.95")));
        checkDoUndoRedo(
            editor, [&] { QVERIFY(triggerAction(&window, "mAiBasis")); }, QStringLiteral("AI Basis"));
        editor.dialogs.then(typeInto("eOriginalAuthor", QStringLiteral("Ada")));
        checkDoUndoRedo(
            editor, [&] { QVERIFY(triggerAction(&window, "mAuthorInfo")); }, QStringLiteral("Author Information"));
        QCOMPARE(window.authorData()[editor::AuthorOriginal], std::string("Ada"));
        QVERIFY(undo(editor));
        QCOMPARE(window.authorData()[editor::AuthorOriginal], std::string());

        // Closed without an edit: no command, and the vehicle stays as it was.
        const int count = stack(editor).count();
        QVERIFY(triggerAction(&window, "mAiBasis"));
        QCOMPARE(stack(editor).count(), count);
    }

    void anAngleEditIsUndoneInTheUnitShownNow() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        window.pages()->setCurrentIndex(editor::PgAerodynamics);
        const std::string opened = savedBytes(editor);
        editor.type("efAngle", QStringLiteral("0.2"));
        auto* degrees = editor.find<QCheckBox>("cbAnglesInDegrees");
        QTest::mouseClick(degrees, Qt::LeftButton, {}, QPoint(4, degrees->height() / 2));
        QVERIFY(window.settings().anglesInDegrees);
        QCOMPARE(text(editor, "efAngle"), QStringLiteral("11.5"));
        // The switch of unit is no edit.
        QCOMPARE(stack(editor).count(), 1);

        QVERIFY(undo(editor));
        QCOMPARE(text(editor, "efAngle"), QStringLiteral("10.0"));
        QCOMPARE(savedBytes(editor), opened);
        QVERIFY(redo(editor));
        QCOMPARE(text(editor, "efAngle"), QStringLiteral("11.5"));
    }

    void aGarageVersionLoadedAsTheVehicleIsUndone() {
        EditorFixture editor;
        const std::string path = editor.startWith();
        gui::MainWindow& window = *editor.window;
        const Shown opened = shown(editor);
        const std::string openedBytes = savedBytes(editor);
        const std::string version =
            editor.writeVehicle("car~Fast.vfv", {{"mass=(1125.0)", "mass=(1000.0)"},
                                                 {"rpm_torque=(5000.0, 633.00)", "rpm_torque=(5000.0, 650.00)"}});

        writeBytes(version, readBytes(version) + "//editor=Tuner X\r\n");
        auto* priorEditor = editor.find<QLabel>("lEditorName");

        QVERIFY(window.openVehicleFile(version, VehicleFile::ModeOpen, true));
        QCOMPARE(priorEditor->text(), QStringLiteral("Prior Editor: Tuner X"));
        QCOMPARE(stack(editor).undoText(), QStringLiteral("Load Garage version Fast"));
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1000.0"));
        QCOMPARE(window.currentVehicle()->fileName, path);
        const Shown loaded = shown(editor);

        QVERIFY(undo(editor));
        QVERIFY(shown(editor) == opened);
        QCOMPARE(savedBytes(editor), openedBytes);
        QCOMPARE(window.currentVehicle()->fileName, path);
        QCOMPARE(priorEditor->text(), QStringLiteral("Prior Editor: Unknown"));
        QVERIFY(redo(editor));
        QVERIFY(shown(editor) == loaded);
        QVERIFY(triggerAction(&window, "mSave"));
        QVERIFY(readBytes(path).find("mass=(1000.0)") != std::string::npos);
    }

    void theHistoryWindowGoesToAnyState() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        editor.type("eMass", QStringLiteral("1200.0"));
        editor.type("eFuel", QStringLiteral("50"));
        step(editor, "csbeFuel", true);
        QVERIFY(triggerAction(&window, "mHistory"));
        auto* view = editor.find<QUndoView>("lvHistory");
        QVERIFY(view != nullptr);
        QCOMPARE(view->model()->rowCount(), 4); // the state as opened and three commands
        QCOMPARE(view->model()->index(0, 0).data().toString(), QStringLiteral("As opened"));

        view->setCurrentIndex(view->model()->index(1, 0));
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1200.0"));
        QVERIFY(text(editor, "eFuel") != QStringLiteral("50"));
        view->setCurrentIndex(view->model()->index(0, 0));
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1125.0"));
        QVERIFY(!window.isChanged());
        view->setCurrentIndex(view->model()->index(3, 0));
        QCOMPARE(text(editor, "eFuel"), QStringLiteral("55.00"));
    }

    // Any sequence of edits, undone to the start, gives the file as it was opened; redone, the state before.
    void randomEditsUndoneGiveTheFileAsOpened() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        QVERIFY(window.openGhostFile(writeGhost(editor)));
        const Shown opened = shown(editor);
        const std::string openedBytes = savedBytes(editor);

        std::mt19937 random(20261207);
        const auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
        const std::vector<const char*> typed{"eMass", "eFuel", "efPressure", "erPressure", "efMass", "eGearFinal"};
        const std::vector<const char*> stepped{"csbeMass", "csbeFuel", "csbefPressure", "csberPressure", "csbefMass"};
        const std::vector<std::pair<const char*, const char*>> drops{
            {"gefPressure", "efPressure"}, {"gefPressure", "erPressure"}, {"geMass", "eMass"}};
        for (int edit = 0; edit < 200; ++edit) {
            switch (pick(9)) {
            case 0:
                editor.type(typed[static_cast<std::size_t>(pick(int(typed.size())))],
                            QString::number(100 + pick(900)) + QStringLiteral(".5"));
                break;
            case 1:
                step(editor, stepped[static_cast<std::size_t>(pick(int(stepped.size())))], pick(2) == 0);
                break;
            case 2: {
                const auto& [from, to] = drops[static_cast<std::size_t>(pick(int(drops.size())))];
                dropGhostValue(editor, from, to);
                break;
            }
            case 3:
                window.pages()->setCurrentIndex(editor::PgPerformance);
                step(editor, "csbChartPoint", pick(2) == 0);
                break;
            case 4:
                window.pages()->setCurrentIndex(editor::PgDriveTrain);
                editor.find<QScrollBar>(pick(2) == 0 ? "sbGear2" : "sbGear4")->setValue(1000 + pick(2000));
                break;
            case 5:
                window.pages()->setCurrentIndex(pick(7));
                if (window.isChanged()) {
                    editor.prompt.answer(PromptAnswer::Yes);
                    QVERIFY(triggerAction(&window, "mUndoPage"));
                }
                break;
            case 6:
                window.pages()->setCurrentIndex(pick(2) == 0 ? editor::PgTires : editor::PgOther);
                editor.dialogs.then(copyActivePage());
                QVERIFY(triggerAction(&window, "mCopyFromGhost"));
                break;
            case 7:
                editor.dialogs.then(partsWithTurbo(pick(4)));
                QVERIFY(triggerAction(&window, "mVehMods"));
                break;
            default:
                // Going back a few steps and on from there drops what was undone.
                for (int back = pick(3); back >= 0 && stack(editor).canUndo(); --back)
                    QVERIFY(undo(editor));
                break;
            }
        }
        QCOMPARE(editor.prompt.unusedAnswers(), std::size_t(0));
        const Shown edited = shown(editor);
        const std::string editedBytes = savedBytes(editor);
        QVERIFY(stack(editor).count() > 20);

        while (stack(editor).canUndo())
            QVERIFY(undo(editor));
        QVERIFY(shown(editor) == opened);
        QCOMPARE(savedBytes(editor), openedBytes);
        QVERIFY(!window.isChanged());

        while (stack(editor).canRedo())
            QVERIFY(redo(editor));
        QVERIFY(shown(editor) == edited);
        QCOMPARE(savedBytes(editor), editedBytes);
    }
};

QTEST_MAIN(TestUndoHistory)
#include "test_undo_history.moc"
