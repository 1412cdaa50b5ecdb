// What a modder meets in the first hour: the patch folder made when first needed, mnemonics that do not clash,
// settings that persist, colours that stay.

#include <QtTest>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

#include "chart/torque_chart.h"
#include "support/editor_fixture.h"
#include "support/qt_strings.h"

using namespace qora;
using namespace qora::testing;

namespace {

// The letter after a single "&" of a caption, lower case; nothing when it has none.
std::optional<QChar> mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return std::nullopt;
}

} // namespace

class TestFirstHour : public QObject {
    Q_OBJECT

private slots:
    void aMissingPatchFolderIsMadeWhenNewVehIsFirstSaved() {
        EditorFixture editor;
        const std::string patch = editor.home.file("Patch");
        writeBytes(editor.home.file("qora.ini"), "[SETTINGS]\r\nVersion=4.0\r\nPatchFolder=" + patch +
                                                     "\r\nTrevantInstallPath=" + editor.home.path() +
                                                     "\r\n[FAVORITES]\r\nFavoriteFolder0=Vehicle.mas\r\n");
        editor.start();
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(patch + "/New.veh"));
        QVERIFY(!std::filesystem::exists(patch));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(editor.prompt.messages().empty());
        QVERIFY(std::filesystem::exists(patch + "/New.veh"));
    }

    // Alt and a letter reach one control only: the menu titles, the page tabs and the window's visible buttons and
    // labels share one set of letters, and each menu's entries have letters of their own.
    void everyMnemonicOfTheWindowIsUnique() {
        EditorFixture editor;
        editor.startWith();
        for (int page = 0; page < editor.window->pages()->count(); ++page) {
            editor.window->pages()->setCurrentIndex(page);
            std::map<QChar, QString> taken;
            const auto take = [&](const QString& text) {
                if (const auto letter = mnemonicOf(text)) {
                    QVERIFY2(
                        !taken.count(*letter),
                        qPrintable(QStringLiteral("Alt+%1: \"%2\" and \"%3\"").arg(*letter, taken[*letter], text)));
                    taken[*letter] = text;
                }
            };
            for (QAction* menu : editor.window->menuBar()->actions())
                take(menu->text());
            QTabBar* tabs = editor.window->pages()->tabBar();
            for (int tab = 0; tab < tabs->count(); ++tab)
                take(tabs->tabText(tab));
            QWidget* shown = editor.window->pages()->currentWidget();
            for (QAbstractButton* button : shown->findChildren<QAbstractButton*>())
                if (button->isVisibleTo(editor.window.get()))
                    take(button->text());
            for (QLabel* label : shown->findChildren<QLabel*>())
                if (label->buddy() != nullptr && label->isVisibleTo(editor.window.get()))
                    take(label->text());
        }
        for (QMenu* menu : editor.window->findChildren<QMenu*>()) {
            std::map<QChar, QString> taken;
            for (QAction* action : menu->actions()) {
                const auto letter = mnemonicOf(action->text());
                if (!letter)
                    continue;
                QVERIFY2(!taken.count(*letter),
                         qPrintable(QStringLiteral("%1: \"%2\" and \"%3\"")
                                        .arg(menu->objectName(), taken[*letter], action->text())));
                taken[*letter] = action->text();
            }
        }
    }

    void theUpshiftReadOutsKeepTheirColourThroughApplicationColours() {
        EditorFixture editor;
        editor.startWith();
        editor.window->pages()->setCurrentIndex(5);
        auto* readout = editor.find<QLineEdit>("eGearRpm2");
        const QColor before = readout->palette().color(QPalette::Text);
        QCOMPARE(before, QColor(255, 0, 0)); // the template's 2nd gear shifts above the threshold
        editor.dialogs.then([](QDialog&) { return int(QDialog::Accepted); });
        QVERIFY(triggerAction(editor.window.get(), "mDataColors"));
        QCOMPARE(readout->palette().color(QPalette::Text), before);
    }

    void aPlainBackgroundIsStillPlainAtTheNextStart() {
        EditorFixture editor;
        editor.startWith();
        QVERIFY(triggerAction(editor.window.get(), "mNoSkin"));
        QVERIFY(editor.action("mNoSkin")->isChecked());
        QVERIFY(editor.window->close());
        editor.window.reset();
        editor.start();
        QVERIFY(editor.action("mNoSkin")->isChecked());
        QVERIFY(!editor.action("mRestoreSkin")->isChecked());
    }

    // A vertical zoom step leaves the controls under the chart where they are (the next click on the zoom control
    // hits it again) and keeps the active point in view.
    void zoomingTheChartKeepsItsControlsAndTheActivePointInPlace() {
        EditorFixture editor;
        editor.startWith();
        editor.window->resize(1280, 800);
        editor.window->pages()->setCurrentIndex(4);
        QApplication::processEvents();
        auto* zoom = editor.window->findChild<gui::UpDown*>(QStringLiteral("bYScaleAdjust"));
        QWidget* controls = editor.find("ChartControls");
        auto* area = editor.window->findChild<QScrollArea*>(QStringLiteral("ChartScrollBox"));
        QWidget* grid = editor.find("iTorqueGrid");
        const LineData& torque = editor.window->torqueChart().line(gui::TorqueChart::TorqueLine);
        const QPoint before = controls->mapTo(editor.window.get(), QPoint(0, 0));
        for (int step = 1; step <= 4; ++step) {
            zoom->upButton()->click();
            QApplication::processEvents();
            QCOMPARE(controls->mapTo(editor.window.get(), QPoint(0, 0)), before);
            const LinePoint& active = torque.points[static_cast<std::size_t>(torque.activePointIndex)];
            const QPoint inView = grid->mapTo(area->viewport(), QPoint(active.x, active.y));
            QVERIFY2(area->viewport()->rect().contains(inView), qPrintable(QStringLiteral("zoom %1").arg(step)));
        }
    }

    // With a ghost open, every page fits a window of 1280 x 800 without scrolling sideways: the groups go into
    // fewer columns where the twins make them too wide.
    void everyPageWithAGhostFitsAWindowOf1280By800() {
        EditorFixture editor;
        editor.startWith();
        QVERIFY(editor.window->openGhostFile(editor.copy("template.veh", "ghost.veh")));
        editor.window->resize(1280, 800);
        for (int page = 0; page < editor.window->pages()->count(); ++page) {
            editor.window->pages()->setCurrentIndex(page);
            QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QApplication::processEvents();
            auto* scroll = qobject_cast<QScrollArea*>(editor.window->pages()->widget(page));
            QVERIFY(scroll != nullptr);
            QVERIFY2(scroll->horizontalScrollBar()->maximum() == 0,
                     qPrintable(QStringLiteral("page %1 scrolls sideways by %2 px")
                                    .arg(page)
                                    .arg(scroll->horizontalScrollBar()->maximum())));
        }
    }

    // A file with an invalid value asks its question once at start-up, whether it is the last file or the one on
    // the command line.
    void anInvalidValueIsAskedAboutOnceAtStartUp() {
        for (const bool onCommandLine : {false, true}) {
            EditorFixture editor;
            std::string text = readBytes(dataFile("template.veh"));
            text.replace(text.find("mass=(1125.0)"), 13, "mass=(11x5.0)");
            const std::string car = editor.home.file("car.veh");
            writeBytes(car, text);
            editor.writeSettings(car);
            editor.prompt.answer(PromptAnswer::Ok).answer(PromptAnswer::Ok);
            editor.window = std::make_unique<gui::MainWindow>(
                gui::MainWindowHost{editor.prompt, editor.files, editor.dialogs, editor.folders, editor.filePicker});
            editor.window->show();
            editor.window->start(onCommandLine ? std::optional<std::string>(car) : std::nullopt);
            QVERIFY2(editor.prompt.questions().size() == 1, onCommandLine ? "command line" : "last file");
        }
    }

    // Undo Page puts the page back as the file was last opened or saved, also after a visit to My Garage (which
    // prepares the vehicle's buffer with the page values without saving).
    void undoPageRestoresTheLastSavedValuesAfterMyGarage() {
        EditorFixture editor;
        editor.startWith();
        editor.window->pages()->setCurrentIndex(6);
        editor.type("eMass", QStringLiteral("1500.0"));
        QVERIFY(editor.window->transferPages());
        editor.window->currentVehicle()->save("", true); // what entering My Garage does
        editor.prompt.answer(PromptAnswer::Yes);
        QVERIFY(triggerAction(editor.window.get(), "mUndoPage"));
        QCOMPARE(editor.find<QLineEdit>("eMass")->text(), QStringLiteral("1125.0"));
    }
};

QTEST_MAIN(TestFirstHour)
#include "test_first_hour.moc"
