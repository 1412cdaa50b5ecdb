#include <QtTest>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>
#include <QToolButton>

#include "browser/car_thumbnails.h"
#include "editor/field_drag.h"
#include "chart/torque_chart.h"
#include "platform/qt_text.h"
#include "support/editor_fixture.h"
#include "support/mas_builder.h"
#include "support/qt_strings.h"

using namespace qora;
using namespace qora::testing;
using gui::TorqueChart;
namespace fs = std::filesystem;

namespace {

std::size_t count(const std::string& bytes, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = bytes.find(part); at != std::string::npos; at = bytes.find(part, at + 1))
        ++n;
    return n;
}

// A ghost that differs from the template where the tests look: name, front pressure, mass and peak torque.
std::string writeGhost(EditorFixture& editor, const std::string& name = "ghost.veh") {
    return editor.writeVehicle(name, {{"GT2 #6 BMW M3", "GT2 #9 Saleen"},
                                      {"pressure=(155.0000)", "pressure=(190.0000)"},
                                      {"mass=(1125.0)", "mass=(1300.0)"},
                                      {"rpm_torque=(5000.0, 633.00)", "rpm_torque=(5000.0, 700.00)"}});
}

bool shown(EditorFixture& editor, const char* name) {
    QWidget* widget = editor.find(name);
    return widget != nullptr && !widget->isHidden();
}

QString text(EditorFixture& editor, const char* name) {
    return editor.find<QLineEdit>(name)->text();
}

// Drags the data onto the field: whether the field took the drag and the drop.
std::pair<bool, bool> dragOnto(QWidget* target, const QMimeData& data) {
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

} // namespace

class TestGhost : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void aGhostFillsItsFieldsTheChartAndTheHeaderUntilItIsClosed() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        const std::string ghost = writeGhost(editor);
        QVERIFY(!shown(editor, "gefPressure"));
        QVERIFY(!shown(editor, "bGhostToNotepad"));
        QVERIFY(!editor.action("mCloseGhost")->isEnabled());
        QVERIFY(!editor.action("mcoGhostLines")->isEnabled());
        QCOMPARE(editor.find<QLabel>("lTorque")->contentsMargins().top(), 7);

        editor.dialogs.then(pickInBrowser(QStringLiteral("ghost.veh")));
        QVERIFY(triggerAction(&window, "mOpenGhost"));
        QVERIFY(window.ghostVehicle() != nullptr);
        QCOMPARE(q(window.ghostVehicle()->fileName), q(ghost));
        QVERIFY(editor.prompt.messages().empty());
        QVERIFY(!window.isChanged());

        // The ge... twins show the ghost beside the vehicle's own values.
        QCOMPARE(text(editor, "gefPressure"), QStringLiteral("190.0000"));
        QCOMPARE(text(editor, "gerPressure"), QStringLiteral("155.0000"));
        QCOMPARE(text(editor, "efPressure"), QStringLiteral("155.0000"));
        QCOMPARE(text(editor, "geMass"), QStringLiteral("1300.0"));
        QCOMPARE(text(editor, "ge1Aggression"), QStringLiteral("0.6"));
        QCOMPARE(text(editor, "geGear2"), QStringLiteral("2.315"));
        for (const char* name :
             {"gefPressure", "geMass", "gdlUnlockPoints", "glTorque", "glHp", "bGhostToNotepad", "pGhostCarName"})
            QVERIFY2(shown(editor, name), name);
        QCOMPARE(editor.find<QLabel>("pGhostCarName")->text(), QStringLiteral("GT2 #9 Saleen"));
        QCOMPARE(editor.find<QLabel>("pCarName")->text(), QStringLiteral("GT2 #6 BMW M3"));
        QCOMPARE(editor.find<QLabel>("iGhostPic")->toolTip(), QStringLiteral("Ghost vehicle: GT2 #9 Saleen"));

        // Its curves are the chart's ghost lines, its figures stand under the vehicle's, which move up for them.
        TorqueChart& chart = window.torqueChart();
        QVERIFY(chart.line(TorqueChart::GhostTorqueLine).visible);
        QVERIFY(chart.line(TorqueChart::GhostPowerLine).visible);
        QVERIFY(chart.line(TorqueChart::GhostTorqueLine).highestValue >
                chart.line(TorqueChart::TorqueLine).highestValue);
        QCOMPARE(editor.find<QLabel>("glTorque")->text(), gui::fromLatin1(chart.peakFigures(true).torque));
        QCOMPARE(editor.find<QLabel>("glHp")->text(), gui::fromLatin1(chart.peakFigures(true).power));
        QVERIFY(editor.find<QLabel>("glTorque")->text() != editor.find<QLabel>("lTorque")->text());
        QCOMPARE(editor.find<QLabel>("lTorque")->contentsMargins().top(), 0);
        QVERIFY(editor.action("mcoGhostLines")->isEnabled());
        QVERIFY(editor.action("mcoCopyFromGhost")->isEnabled());
        QVERIFY(editor.action("mCloseGhost")->isEnabled());
        QCOMPARE(q(window.settings().lastGhostFile), q(ghost));
        QVERIFY(window.settings().ghostIsOpen);

        // The ghost comes back at the next start.
        window.close();
        editor.start();
        QVERIFY(editor.window->ghostVehicle() != nullptr);
        QCOMPARE(q(editor.window->ghostVehicle()->fileName), q(ghost));
        QCOMPARE(text(editor, "gefPressure"), QStringLiteral("190.0000"));
        QVERIFY(shown(editor, "bGhostToNotepad"));
        QCOMPARE(editor.find<QLabel>("lTorque")->contentsMargins().top(), 0);

        // Closed, it leaves every ghost display and goes into the ghost recent list.
        QVERIFY(triggerAction(editor.window.get(), "mCloseGhost"));
        QVERIFY(editor.window->ghostVehicle() == nullptr);
        for (const char* name : {"gefPressure", "geMass", "glTorque", "glHp", "bGhostToNotepad", "pGhostCarName"})
            QVERIFY2(!shown(editor, name), name);
        QCOMPARE(editor.find<QLabel>("lTorque")->contentsMargins().top(), 7);
        QVERIFY(!editor.window->torqueChart().line(TorqueChart::GhostTorqueLine).visible);
        QVERIFY(!editor.action("mcoGhostLines")->isEnabled());
        QVERIFY(!editor.action("mCloseGhost")->isEnabled());
        QVERIFY(!editor.window->settings().ghostIsOpen);
        auto* recent = editor.find<QMenu>("pmRecentGhost");
        QCOMPARE(recent->actions().size(), 1);
        QCOMPARE(recent->actions().front()->text(), QStringLiteral("[ GT2 #9 Saleen ] ") + q(ghost));

        // The recent entry opens it again.
        recent->actions().front()->trigger();
        QVERIFY(editor.window->ghostVehicle() != nullptr);
        QCOMPARE(text(editor, "geMass"), QStringLiteral("1300.0"));

        // A ghost whose file is gone does not come back, and the setting is cleared.
        editor.window->close();
        fs::remove(ghost);
        editor.start();
        QVERIFY(editor.window->ghostVehicle() == nullptr);
        QVERIFY(!shown(editor, "bGhostToNotepad"));
        QVERIFY(!editor.window->settings().ghostIsOpen);
    }

    void aSecondGhostReplacesTheFirstAndDeletesItsArchiveCopy() {
        EditorFixture editor;
        editor.startWith();
        gui::MainWindow& window = *editor.window;
        const std::string g01b = readBytes(dataFile("template.veh"));
        std::string g02e = g01b;
        g02e.replace(g02e.find("GT2 #6 BMW M3"), 13, "GT2 #9 Saleen");
        fs::create_directories(editor.home.file("Dat"));
        writeBytes(editor.home.file("Dat/Vehicle.Mas"),
                   MasBuilder().add("G01B.VEH", g01b).add("G02E.VEH", g02e).bytes());
        const std::string copy = editor.home.file("MasVeh/ghostmas=G02E.VEH");

        editor.dialogs.then(pickFromArchive(QStringLiteral("g02e.veh")));
        QVERIFY(triggerAction(&window, "mOpenGhost"));
        QCOMPARE(q(window.ghostVehicle()->fileName), q(copy));
        QCOMPARE(readBytes(copy), g02e);
        QCOMPARE(editor.find<QLabel>("pGhostCarName")->text(), QStringLiteral("GT2 #9 Saleen"));
        const qreal ratio = window.devicePixelRatioF();
        QCOMPARE(
            editor.find<QLabel>("iGhostPic")->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
            gui::builtInBitmap("BMPG02E", gui::kThumbnailSize, ratio).toImage().convertToFormat(QImage::Format_ARGB32));
        // The main vehicle's archive state is untouched.
        QVERIFY(!window.archiveEntry());

        // The same entry again is extracted afresh without a question, and its copy stays with the new ghost.
        editor.dialogs.then(pickFromArchive(QStringLiteral("g02e.veh")));
        QVERIFY(triggerAction(&window, "mOpenGhost"));
        QVERIFY(editor.prompt.calls.empty());
        QVERIFY(fs::exists(copy));
        QCOMPARE(q(window.ghostVehicle()->fileName), q(copy));

        // Another ghost deletes the archive copy; a copy never shows in the recent list.
        const std::string file = writeGhost(editor);
        QVERIFY(window.openGhostFile(file));
        QVERIFY(!fs::exists(copy));
        QVERIFY(editor.find<QMenu>("pmRecentGhost")->actions().empty());
        QVERIFY(editor.find<QLabel>("iGhostPic")->pixmap().toImage() !=
                gui::builtInBitmap("BMPG02E", gui::kThumbnailSize, ratio).toImage());

        // A file that fails to load leaves the ghost there is, after the loader's message.
        const std::string broken = editor.copy("torque_not_a_number.veh", "broken.veh");
        QVERIFY(!window.openGhostFile(broken));
        const auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(2));
        QCOMPARE(q(messages[0].title), QStringLiteral("QORA File Error"));
        QCOMPARE(q(messages[1].title), QStringLiteral("QORA File Error"));
        QCOMPARE(q(messages[1].text), QStringLiteral("Cannot Open Ghost File."));
        QCOMPARE(messages[1].icon, PromptIcon::Stop);
        QCOMPARE(q(window.ghostVehicle()->fileName), q(file));
        QCOMPARE(text(editor, "gefPressure"), QStringLiteral("190.0000"));

        // A third ghost puts the replaced file into the recent list.
        QVERIFY(window.openGhostFile(editor.copy("template.veh", "third.veh")));
        QCOMPARE(editor.find<QMenu>("pmRecentGhost")->actions().size(), 1);
        QCOMPARE(window.settings().recentGhosts.front().path, file);
    }

    void aGhostWithProblemsWarnsOnceAndShowsWhatItHas() {
        EditorFixture editor;
        editor.startWith();
        const std::string ghost =
            editor.writeVehicle("odd.veh", {{"//Driver1=Ray Colter/0.6/0.4/0.9", "//Driver1=Ray Colter"},
                                            {"drag_coeff=(1.700,3.000,0.357)\r\n", ""}});
        QVERIFY(editor.window->openGhostFile(ghost));
        const auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(q(messages[0].title), QStringLiteral("QORA File Error"));
        QCOMPARE(q(messages[0].text), QStringLiteral("Some entries in the Ghost File were missing or invalid.  Those "
                                                     "entries will appear empty in QORA."));
        QCOMPARE(messages[0].icon, PromptIcon::Exclamation);
        QVERIFY(editor.window->ghostProblems());
        QCOMPARE(text(editor, "ge1Aggression"), QStringLiteral("0.0"));
        QCOMPARE(text(editor, "ge1Ability"), QStringLiteral("0.0"));
        QCOMPARE(text(editor, "geDragCoeff"), QString());
        QCOMPARE(text(editor, "e1Aggression"), QStringLiteral("0.6"));

        // A sound ghost replacing it clears the flag and says nothing.
        QVERIFY(editor.window->openGhostFile(writeGhost(editor)));
        QVERIFY(!editor.window->ghostProblems());
        QCOMPARE(editor.prompt.messages().size(), std::size_t(1));
    }

    void aGhostValueDropsOnlyOntoAFieldOfItsKind() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        QVERIFY(editor.window->openGhostFile(writeGhost(editor)));
        editor.window->pages()->setCurrentIndex(1);
        QLineEdit* ghostFront = editor.find<QLineEdit>("gefPressure");
        const std::unique_ptr<QMimeData> pressure(
            gui::fieldMimeData(gui::FieldDragDrop::fieldKindOf(ghostFront), ghostFront->text()));

        // Camber is another kind: refused, nothing changes.
        editor.window->pages()->setCurrentIndex(3);
        QCOMPARE(dragOnto(editor.find("efCamber"), *pressure), std::make_pair(false, false));
        QCOMPARE(text(editor, "efCamber"), QStringLiteral("-0.0352"));
        QVERIFY(!editor.window->isChanged());

        // The front value goes onto the rear pressure, and the document is changed.
        editor.window->pages()->setCurrentIndex(1);
        QCOMPARE(dragOnto(editor.find("erPressure"), *pressure), std::make_pair(true, true));
        QCOMPARE(text(editor, "erPressure"), QStringLiteral("190.0000"));
        QCOMPARE(text(editor, "efPressure"), QStringLiteral("155.0000"));
        QVERIFY(editor.window->isChanged());
        QCOMPARE(editor.find("pHasChangedIndicator")->palette().color(QPalette::Window), QColor(255, 0, 0));

        // Saved, the vehicle has it; the ghost's file is never written.
        const std::string ghostBytes = readBytes(editor.window->ghostVehicle()->fileName);
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        const std::string saved = readBytes(car);
        QCOMPARE(count(saved, "pressure=(190.0000)"), std::size_t(1));
        QVERIFY(saved.find("pressure=(190.0000)") > saved.find("[REARWHEELS]"));
        QCOMPARE(readBytes(editor.window->ghostVehicle()->fileName), ghostBytes);
    }
};

QTEST_MAIN(TestGhost)
#include "test_ghost.moc"
