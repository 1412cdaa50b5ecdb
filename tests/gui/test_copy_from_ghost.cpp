#include <QtTest>

#include <string>
#include <utility>
#include <vector>

#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTabWidget>

#include "editor/copy_from_ghost.h"
#include "dialogs/copy_from_ghost_dialog.h"
#include "editor/page_fields.h"
#include "chart/torque_chart.h"
#include "support/editor_fixture.h"

using namespace qora;
using namespace qora::testing;
using gui::TorqueChart;

namespace {

// The 5000 rpm point of the torque curve.
constexpr int kPoint5000 = 10;

// A ghost that differs from the template on four pages: front tyre pressure (Tires), the 5000 rpm torque
// (Performance), 2nd gear (DriveTrain) and body mass (Other).
std::string writeGhost(EditorFixture& editor) {
    std::string bytes = readBytes(dataFile("template.veh"));
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"GT2 #6 BMW M3", "GT2 #9 Saleen"},
             {"pressure=(155.0000)", "pressure=(190.0000)"},
             {"mass=(1125.0)", "mass=(1300.0)"},
             {"gear=(2.315)", "gear=(2.400)"},
             {"rpm_torque=(5000.0, 633.00)", "rpm_torque=(5000.0, 700.00)"}})
        bytes.replace(bytes.find(from), from.size(), to);
    const std::string path = editor.home.file("ghost.veh");
    writeBytes(path, bytes);
    return path;
}

QString text(EditorFixture& editor, const char* name) {
    return editor.find<QLineEdit>(name)->text();
}

double torqueAt5000(gui::MainWindow& window) {
    return window.torqueChart().line(TorqueChart::TorqueLine).points[kPoint5000].value;
}

// A dialog step: records the two choices' texts, picks one and presses Copy (or Cancel).
struct DialogAnswer {
    editor::CopyScope scope = editor::CopyScope::ActivePage;
    bool accept = true;
    QStringList seen; // caption, the two choices and the notes under them

    ScriptedDialogRunner::Step step() {
        return [this](QDialog& dialog) {
            auto* copy = qobject_cast<gui::CopyFromGhostDialog*>(&dialog);
            if (copy == nullptr)
                return int(QDialog::Rejected);
            seen << copy->caption() << copy->activePageChoice()->text() << copy->allPagesChoice()->text();
            for (QLabel* label : copy->findChildren<QLabel*>())
                seen << label->text();
            if (!copy->activePageChoice()->isChecked())
                return int(QDialog::Rejected); // the page in front is the default choice
            copy->setScope(scope);
            return int(accept ? QDialog::Accepted : QDialog::Rejected);
        };
    }
};

void showPage(EditorFixture& editor, int page) {
    editor.window->pages()->setCurrentIndex(page);
}

// Undo Page on a page, answering its question with Yes.
void undoPage(EditorFixture& editor, int page) {
    showPage(editor, page);
    editor.prompt.answer(PromptAnswer::Yes);
    QVERIFY(triggerAction(editor.window.get(), "mUndoPage"));
}

} // namespace

class TestCopyFromGhost : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void copyingThePageInFrontIsUndoneByUndoPage() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        QVERIFY(window.openGhostFile(writeGhost(editor)));
        showPage(editor, editor::PgTires);

        DialogAnswer answer;
        editor.dialogs.then(answer.step());
        QVERIFY(triggerAction(&window, "mCopyFromGhost"));
        QVERIFY(answer.seen.contains(QStringLiteral("Copy From Ghost")));
        QVERIFY(answer.seen.contains(QStringLiteral("Copy the ghost's Tires &page values")));
        QVERIFY(answer.seen.contains(QStringLiteral("Copy the ghost's values on &all pages")));
        QVERIFY(answer.seen.contains(QStringLiteral("1 value differs")));
        QVERIFY(answer.seen.contains(QStringLiteral("3 values and the torque curve differ")));

        // Only the Tires page took the ghost's values; the vehicle is changed.
        QCOMPARE(text(editor, "efPressure"), QStringLiteral("190.0000"));
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1125.0"));
        QCOMPARE(torqueAt5000(window), 633.0);
        QVERIFY(window.isChanged());
        QVERIFY(editor.prompt.messages().empty());

        undoPage(editor, editor::PgTires);
        QCOMPARE(text(editor, "efPressure"), QStringLiteral("155.0000"));

        // Cancel copies nothing.
        answer.accept = false;
        editor.dialogs.then(answer.step());
        QVERIFY(triggerAction(&window, "mCopyFromGhost"));
        QCOMPARE(text(editor, "efPressure"), QStringLiteral("155.0000"));
    }

    void copyingAllPagesIsUndonePageByPage() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        QVERIFY(window.openGhostFile(writeGhost(editor)));
        showPage(editor, editor::PgDetails);

        DialogAnswer answer;
        answer.scope = editor::CopyScope::AllPages;
        editor.dialogs.then(answer.step());
        QVERIFY(triggerAction(&window, "mCopyFromGhost"));
        QVERIFY(answer.seen.contains(QStringLiteral("Nothing differs"))); // the Details page
        QCOMPARE(text(editor, "efPressure"), QStringLiteral("190.0000"));
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1300.0"));
        QCOMPARE(text(editor, "eGear2"), QStringLiteral("2.400"));
        QCOMPARE(editor.find<QScrollBar>("sbGear2")->value(), 2400);
        QCOMPARE(torqueAt5000(window), 700.0);
        QCOMPARE(editor.find<QLabel>("lTorque")->text(), editor.find<QLabel>("glTorque")->text());
        QVERIFY(window.isChanged());

        // Each page's Undo Page puts back that page only.
        undoPage(editor, editor::PgTires);
        QCOMPARE(text(editor, "efPressure"), QStringLiteral("155.0000"));
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1300.0"));
        undoPage(editor, editor::PgPerformance);
        QCOMPARE(torqueAt5000(window), 633.0);
        QCOMPARE(text(editor, "eGear2"), QStringLiteral("2.400"));
        undoPage(editor, editor::PgDriveTrain);
        QCOMPARE(text(editor, "eGear2"), QStringLiteral("2.315"));
        undoPage(editor, editor::PgOther);
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1125.0"));

        // A save after a copy writes the ghost's values.
        editor.dialogs.then(answer.step());
        QVERIFY(triggerAction(&window, "mCopyFromGhost"));
        QVERIFY(window.saveVehicleTo(std::string()));
        const std::string saved = readBytes(window.currentVehicle()->fileName);
        QVERIFY(saved.find("mass=(1300.0)") != std::string::npos);
        QVERIFY(saved.find("rpm_torque=(5000.0, 700.00)") != std::string::npos);
    }

    void aGhostLikeTheVehicleLeavesNothingToCopy() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        QVERIFY(window.openGhostFile(editor.copy("template.veh", "same.veh")));
        DialogAnswer answer;
        answer.scope = editor::CopyScope::AllPages;
        editor.dialogs.then(answer.step());
        QVERIFY(triggerAction(&window, "mCopyFromGhost"));
        QVERIFY(!window.isChanged());
        QCOMPARE(editor.prompt.messages().size(), std::size_t(1));
        QCOMPARE(editor.prompt.messages()[0].title, std::string(editor::kCopyFromGhostTitle));
        QCOMPARE(editor.prompt.messages()[0].text, std::string(editor::kNothingToCopyText));

        QVERIFY(triggerAction(&window, "mcoCopyFromGhost"));
        QCOMPARE(editor.prompt.messages().size(), std::size_t(2));
        QVERIFY(!window.isChanged());
    }

    void theChartOptionCopiesTheGhostsCurve() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        QVERIFY(!editor.action("mcoCopyFromGhost")->isEnabled());
        QVERIFY(!editor.action("mCopyFromGhost")->isEnabled());
        QVERIFY(window.openGhostFile(writeGhost(editor)));
        showPage(editor, editor::PgPerformance);
        TorqueChart& chart = window.torqueChart();
        const QString figure = editor.find<QLabel>("lTorque")->text();

        QVERIFY(triggerAction(&window, "mcoCopyFromGhost"));
        QCOMPARE(torqueAt5000(window), 700.0);
        QCOMPARE(
            chart.line(TorqueChart::PowerLine).points[kPoint5000].value,
            powerAtPoint(chart.line(TorqueChart::TorqueLine), kPoint5000, chart.line(TorqueChart::PowerLine).unit));
        QVERIFY(editor.find<QLabel>("lTorque")->text() != figure);
        QCOMPARE(editor.find<QLabel>("lTorque")->text(), editor.find<QLabel>("glTorque")->text());
        QCOMPARE(text(editor, "efPressure"), QStringLiteral("155.0000")); // the fields stay the vehicle's
        QVERIFY(window.isChanged());

        undoPage(editor, editor::PgPerformance);
        QCOMPARE(torqueAt5000(window), 633.0);
        QCOMPARE(editor.find<QLabel>("lTorque")->text(), figure);

        // Both commands go with the ghost.
        QVERIFY(triggerAction(&window, "mCloseGhost"));
        QVERIFY(!editor.action("mcoCopyFromGhost")->isEnabled());
        QVERIFY(!editor.action("mCopyFromGhost")->isEnabled());
    }
};

QTEST_MAIN(TestCopyFromGhost)
#include "test_copy_from_ghost.moc"
