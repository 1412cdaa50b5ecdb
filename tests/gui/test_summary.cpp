#include <QtTest>

#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTextBrowser>

#include "editor/vehicle_summary.h"
#include "dialogs/vehicle_summary_dialog.h"
#include "support/editor_fixture.h"
#include "support/failing_file_system.h"

using namespace qora;
using namespace qora::testing;

namespace {

// A ghost whose name carries markup and whose mass and 2nd gear differ from the template's.
std::string writeGhost(EditorFixture& editor) {
    return editor.writeVehicle(
        "ghost.veh",
        {{"GT2 #6 BMW M3", "Rival <b>GT</b>"}, {"mass=(1125.0)", "mass=(1300.0)"}, {"gear=(2.315)", "gear=(2.000)"}});
}

// What a dialog step saw of the summary dialog.
struct Seen {
    QString objectName;
    QString title;
    QString shownText;
    bool resizable = false;
    editor::VehicleSummary summary;
};

// A dialog step that records the summary dialog, runs `act` on it, and closes it.
ScriptedDialogRunner::Step look(Seen& seen, std::function<void(gui::VehicleSummaryDialog&)> act = {}) {
    return [&seen, act](QDialog& dialog) {
        auto* summary = qobject_cast<gui::VehicleSummaryDialog*>(&dialog);
        if (summary == nullptr)
            throw std::logic_error("expected the summary dialog, got " + dialog.objectName().toStdString());
        seen.objectName = dialog.objectName();
        seen.title = dialog.windowTitle();
        seen.shownText = summary->browser()->toPlainText();
        seen.resizable = dialog.minimumSize() != dialog.maximumSize() && dialog.isSizeGripEnabled();
        seen.summary = summary->summary();
        if (act)
            act(*summary);
        return int(QDialog::Accepted);
    };
}

QPushButton* button(QDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

class TestSummary : public QObject {
    Q_OBJECT

private slots:
    void commandsFollowTheVehicleAndTheGhost() {
        EditorFixture editor;
        editor.startWith();
        QVERIFY(editor.action("mVehicleSummary")->isEnabled());
        QVERIFY(!editor.action("mCompareSummary")->isEnabled());
        QVERIFY(editor.window->openGhostFile(writeGhost(editor)));
        QVERIFY(editor.action("mCompareSummary")->isEnabled());
        QVERIFY(triggerAction(editor.window.get(), "mCloseGhost"));
        QVERIFY(!editor.action("mCompareSummary")->isEnabled());
        QVERIFY(editor.action("mVehicleSummary")->isEnabled());
    }

    void summaryShowsWhatThePagesShowAndCopiesAsText() {
        EditorFixture editor;
        editor.startWith();
        editor.type("eMass", QStringLiteral("1234.5")); // not saved
        QGuiApplication::clipboard()->clear();

        Seen seen;
        editor.dialogs.then(
            look(seen, [](gui::VehicleSummaryDialog& dialog) { button(dialog, "bCopyText")->click(); }));
        QVERIFY(triggerAction(editor.window.get(), "mVehicleSummary"));
        QCOMPARE(editor.dialogs.shown, QStringList{QStringLiteral("dlgVehicleSummary")});
        QCOMPARE(seen.title, QStringLiteral("QORA Vehicle Summary"));
        QVERIFY(seen.resizable);
        QVERIFY(!seen.summary.compare);
        QVERIFY(seen.shownText.contains(QStringLiteral("1234.5")));
        QVERIFY(seen.shownText.contains(QStringLiteral("Mass Body Weight")));
        QVERIFY(seen.shownText.contains(QStringLiteral("Torque at 5000 rpm")));

        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("QORA Vehicle Summary\nGT2 #6 BMW M3  (")));
        QVERIFY(
            copied.contains(QRegularExpression(QStringLiteral("\n    Body\n      Mass Body Weight +kg +1234\\.5\n"))));
        QVERIFY(editor.window->isChanged()); // looking changes nothing
        QVERIFY(editor.prompt.messages().empty());
    }

    void compareSummaryHighlightsDifferencesAndSavesHtml() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        QVERIFY(editor.window->openGhostFile(writeGhost(editor)));
        editor.type("eCost", QStringLiteral("500000")); // an unsaved edit differs from the ghost too

        const std::string target = editor.home.file("compare.html");
        editor.files.choose(QString::fromStdString(target));
        Seen seen;
        bool saved = false;
        editor.dialogs.then(look(seen, [&](gui::VehicleSummaryDialog& dialog) { saved = dialog.saveAsHtml(); }));
        QVERIFY(triggerAction(editor.window.get(), "mCompareSummary"));
        QCOMPARE(seen.objectName, QStringLiteral("dlgCompareSummary"));
        QCOMPARE(seen.title, QStringLiteral("QORA Vehicle Compare Summary"));
        QVERIFY(seen.summary.compare);
        // The name, the cost, the mass and the 2nd gear.
        QCOMPARE(seen.summary.differenceCount(), 4);
        QVERIFY(seen.shownText.contains(QStringLiteral("4 values differ.")));
        QVERIFY(seen.shownText.contains(QStringLiteral("Rival <b>GT</b>"))); // shown as text, not as markup
        QVERIFY(seen.shownText.contains(QStringLiteral("+175.0 (+15.6%)")));

        QVERIFY(saved);
        QCOMPARE(editor.files.calls.size(), std::size_t(1));
        const gui::FileDialogRequest& request = editor.files.calls[0].request;
        QVERIFY(editor.files.calls[0].save);
        QCOMPARE(request.proposedName, QStringLiteral("car-compare.html"));
        QCOMPARE(request.folder, QString::fromStdString(editor.home.path()));
        QCOMPARE(request.defaultSuffix, QStringLiteral("html"));
        const std::string html = readBytes(target);
        QCOMPARE(html, editor::summaryHtml(seen.summary));
        QVERIFY(html.find("Rival &lt;b&gt;GT&lt;/b&gt;") != std::string::npos);
        QVERIFY(html.find("<tr class=\"differs\"") != std::string::npos);
        QVERIFY(editor.prompt.messages().empty());
        QCOMPARE(readBytes(car), readBytes(dataFile("template.veh"))); // nothing saved to the vehicle
    }

    void aFailedSaveIsReportedAndLeavesTheOldFile() {
        EditorFixture editor;
        editor.startWith();
        const std::string target = editor.home.file("summary.html");
        writeBytes(target, "old page");

        FailingFileSystem failing;
        failing.failWritesAfterBytes = 10;
        ScopedFileSystem scoped(failing);
        editor.files.choose(QString::fromStdString(target)).cancel();
        bool saved = true;
        bool cancelled = true;
        Seen seen;
        editor.dialogs.then(look(seen, [&](gui::VehicleSummaryDialog& dialog) {
            saved = dialog.saveAsHtml();
            cancelled = dialog.saveAsHtml(); // the user cancels the second dialog
        }));
        QVERIFY(triggerAction(editor.window.get(), "mVehicleSummary"));
        QVERIFY(!saved);
        QVERIFY(!cancelled);
        QCOMPARE(editor.files.calls[0].request.proposedName, QStringLiteral("car-summary.html"));
        QCOMPARE(readBytes(target), std::string("old page"));
        const auto messages = editor.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages[0].title, std::string("QORA File Error"));
        QVERIFY(messages[0].text.starts_with("The summary could not be saved as " + target + ": "));
        QVERIFY(messages[0].text.ends_with(". Choose another folder or name and save again."));
        QCOMPARE(messages[0].icon, PromptIcon::Stop);
    }

    // With QORA_SCREENSHOT_DIR set, writes both summary dialogs into that folder (run with a real display, e.g.
    // under Xvfb with QT_QPA_PLATFORM=xcb).
    void writeScreenshotsWhenAsked() {
        const QString folder = qEnvironmentVariable("QORA_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("QORA_SCREENSHOT_DIR is not set");
        QVERIFY(QDir().mkpath(folder));
        EditorFixture editor;
        editor.startWith();
        QVERIFY(editor.window->openGhostFile(writeGhost(editor)));
        editor.type("eCost", QStringLiteral("500000"));
        bool grabbed = true;
        const auto grab = [&](const QString& name) {
            return [&, name](QDialog& dialog) {
                dialog.show();
                for (int i = 0; i < 5; ++i) {
                    QApplication::processEvents();
                    QTest::qWait(20);
                }
                grabbed = grabbed && dialog.grab().save(QDir(folder).filePath(name));
                return int(QDialog::Accepted);
            };
        };
        editor.dialogs.then(grab(QStringLiteral("vehicle-summary.png")))
            .then(grab(QStringLiteral("compare-summary.png")));
        QVERIFY(triggerAction(editor.window.get(), "mVehicleSummary"));
        QVERIFY(triggerAction(editor.window.get(), "mCompareSummary"));
        QVERIFY(grabbed);
    }
};

QTEST_MAIN(TestSummary)
#include "test_summary.moc"
