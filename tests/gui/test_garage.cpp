#include <QtTest>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QToolButton>

#include "dialogs/garage_dialog.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "support/editor_fixture.h"
#include "support/failing_file_system.h"
#include "support/qt_strings.h"

using namespace qora;
using namespace qora::testing;
using gui::GarageDialog;
namespace fs = std::filesystem;

namespace {

QString panelText(QDialog& dialog, const char* name) {
    return child<QLabel>(dialog, name)->text();
}

QColor panelColour(QDialog& dialog, const char* name) {
    return child<QLabel>(dialog, name)->palette().color(QPalette::WindowText);
}

QStringList listed(QDialog& dialog) {
    QStringList titles;
    auto* list = child<QListWidget>(dialog, "lbVersions");
    for (int row = 0; row < list->count(); ++row)
        titles << list->item(row)->text();
    return titles;
}

void click(QDialog& dialog, const char* button) {
    auto* b = child<QToolButton>(dialog, button);
    if (!b->isEnabled())
        throw std::logic_error(std::string(button) + " is disabled");
    b->click();
}

// A Garage visit: the dialog is shown, the check runs on it, and it closes (with Close, unless a load closed it).
ScriptedDialogRunner::Step visit(const std::function<void(GarageDialog&)>& check) {
    return [check](QDialog& dialog) {
        auto* garage = qobject_cast<GarageDialog*>(&dialog);
        if (garage == nullptr)
            throw std::logic_error("expected My Garage, got " + dialog.objectName().toStdString());
        garage->show();
        check(*garage);
        return int(QDialog::Accepted);
    };
}

// Adds a version with this title and notes, as the user does: New, type the title, type the notes, Save/Update.
void addVersion(GarageDialog& dialog, const QString& title, const QString& notes = {}) {
    click(dialog, "bNew");
    QTest::keyClicks(child<QLineEdit>(dialog, "eVersionTitle"), title);
    if (!notes.isEmpty())
        child<QPlainTextEdit>(dialog, "mNotes")->setPlainText(notes);
    click(dialog, "bUpdate");
}

std::string vehicleText(EditorFixture& editor) {
    return text::joinLinesCrLf(*editor.window->currentVehicle()->lines());
}

} // namespace

class TestGarage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void versionsAreCreatedListedAnnotatedAndDeleted() {
        EditorFixture editor;
        editor.startWith();
        const std::string garage = editor.home.file("Garage");
        const std::string version = joinPath(garage, "car~FastSetup1.vfv");
        const std::string notes = joinPath(garage, "car~FastSetup1.txt");
        QVERIFY(!fs::exists(garage));

        editor.prompt.answer(PromptAnswer::Yes);
        editor.dialogs.then(visit([&](GarageDialog& dialog) {
            QCOMPARE(panelText(dialog, "pCarName"), QStringLiteral("GT2 #6 BMW M3"));
            QCOMPARE(panelText(dialog, "pFileName"), QStringLiteral("car"));
            QCOMPARE(panelText(dialog, "pVersions"), QStringLiteral("Versions (0)"));
            QVERIFY(!child<QToolButton>(dialog, "bUpdate")->isEnabled());
            QVERIFY(!child<QToolButton>(dialog, "bLoad")->isEnabled());
            QVERIFY(child<QToolButton>(dialog, "bUse")->isHidden());

            // "~" and "." cannot be typed; the title may be saved once it is not empty.
            click(dialog, "bNew");
            QCOMPARE(child<QLineEdit>(dialog, "eDate")->text(), QStringLiteral("Adding new version..."));
            QVERIFY(!child<QLineEdit>(dialog, "eVersionTitle")->isReadOnly());
            QVERIFY(!child<QToolButton>(dialog, "bNew")->isEnabled());
            QTest::keyClicks(child<QLineEdit>(dialog, "eVersionTitle"), QStringLiteral("Fast~Setup.1"));
            QCOMPARE(child<QLineEdit>(dialog, "eVersionTitle")->text(), QStringLiteral("FastSetup1"));
            QCOMPARE(editor.prompt.beeps(), std::size_t(2));
            QVERIFY(child<QToolButton>(dialog, "bUpdate")->isEnabled());
            child<QPlainTextEdit>(dialog, "mNotes")->setPlainText(QStringLiteral("Softer springs\nLonger gears"));
            click(dialog, "bUpdate");

            QCOMPARE(listed(dialog), QStringList{QStringLiteral("FastSetup1")});
            QCOMPARE(panelText(dialog, "pVersions"), QStringLiteral("Versions (1)"));
            QCOMPARE(child<QListWidget>(dialog, "lbVersions")->currentRow(), 0);
            QVERIFY(child<QLineEdit>(dialog, "eVersionTitle")->isReadOnly());
            QVERIFY(!child<QLineEdit>(dialog, "eDate")->text().isEmpty());

            // The flashes: yellow for eight ticks, then the panels' own texts in white.
            QCOMPARE(panelText(dialog, "pCarName"), QStringLiteral("Version File Created"));
            QCOMPARE(panelText(dialog, "pFileName"), QStringLiteral("Version note file saved"));
            QCOMPARE(panelColour(dialog, "pCarName"), QColor(255, 255, 0));
            auto* timer = dialog.findChild<QTimer*>(QStringLiteral("Timer1"));
            QVERIFY(timer->isActive());
            QCOMPARE(timer->interval(), 600);
            for (int tick = 0; tick < 8; ++tick)
                dialog.animateFlashes();
            QCOMPARE(panelText(dialog, "pCarName"), QStringLiteral("GT2 #6 BMW M3"));
            QCOMPARE(panelText(dialog, "pFileName"), QStringLiteral("car"));
            QCOMPARE(panelColour(dialog, "pFileName"), QColor(255, 255, 255));
            QVERIFY(!timer->isActive());

            // A title already used, in another letter case, is refused.
            addVersion(dialog, QStringLiteral("fastsetup1"));
            QCOMPARE(q(editor.prompt.messages().back().text),
                     QStringLiteral("A version with that name already exists.  Version titles must be unique.  Enter "
                                    "a different title name or, if you are trying to update an existing version "
                                    "file, select the version in the list, then click the [Save/Update] button."));
            QCOMPARE(q(editor.prompt.messages().back().title), QStringLiteral("QORA Version Control"));
            QCOMPARE(listed(dialog), QStringList{QStringLiteral("FastSetup1")});

            // Thirty characters is the longest title.
            click(dialog, "bNew");
            QTest::keyClicks(child<QLineEdit>(dialog, "eVersionTitle"),
                             QStringLiteral("abcdefghijklmnopqrstuvwxyz12345"));
            QCOMPARE(child<QLineEdit>(dialog, "eVersionTitle")->text(),
                     QStringLiteral("abcdefghijklmnopqrstuvwxyz1234"));
            // Enter in the title saves the version; the dialog stays open.
            QTest::keyClick(child<QLineEdit>(dialog, "eVersionTitle"), Qt::Key_Return);
            QCOMPARE(listed(dialog).size(), 2);
            QVERIFY(listed(dialog).contains(QStringLiteral("abcdefghijklmnopqrstuvwxyz1234")));
            QVERIFY(dialog.result() != QDialog::Accepted);
        }));
        QVERIFY(triggerAction(editor.window.get(), "mVersionMan"));
        QCOMPARE(editor.dialogs.unusedSteps(), std::size_t(0));
        const auto question = editor.prompt.questions().front();
        QCOMPARE(q(question.title), QStringLiteral("QORA Version Control"));
        QCOMPARE(q(question.text), QStringLiteral("In order to use Version Control, QORA must create the folder [") +
                                       q(garage) + QStringLiteral("] for storage.  Continue?"));
        QVERIFY(fs::is_directory(garage));
        // The version is the editor's vehicle text; the notes are written with CR LF.
        QCOMPARE(readBytes(version), vehicleText(editor));
        QCOMPARE(readBytes(notes), std::string("Softer springs\r\nLonger gears"));
        QVERIFY(!editor.window->isChanged());

        // Another visit: the version with its notes; cleared notes delete their file, then the version goes.
        editor.prompt.answer(PromptAnswer::Yes).answer(PromptAnswer::Yes);
        editor.dialogs.then(visit([&](GarageDialog& dialog) {
            QCOMPARE(child<QLineEdit>(dialog, "eVersionTitle")->text(), QStringLiteral("FastSetup1"));
            QCOMPARE(child<QPlainTextEdit>(dialog, "mNotes")->toPlainText(),
                     QStringLiteral("Softer springs\nLonger gears"));
            child<QPlainTextEdit>(dialog, "mNotes")->clear();
            click(dialog, "bUpdate");
            QCOMPARE(q(editor.prompt.questions().back().text),
                     QStringLiteral("This will overwrite the selected version file with the data currently in the "
                                    "editor (thus making it the most recent version) and update any changes to your "
                                    "version notes.  Continue?"));
            QCOMPARE(panelText(dialog, "pFileName"), QStringLiteral("Version note file deleted"));
            QVERIFY(fs::exists(version));
            QVERIFY(!fs::exists(notes));
            QCOMPARE(child<QPlainTextEdit>(dialog, "mNotes")->toPlainText(), QString());

            click(dialog, "bDelete");
            const auto asked = editor.prompt.questions().back();
            QCOMPARE(q(asked.title), QStringLiteral("QORA Version Manager"));
            QCOMPARE(q(asked.text),
                     QStringLiteral("This will permanently delete the selected version from your Garage folder.  "
                                    "Are you sure?"));
            QCOMPARE(asked.icon, PromptIcon::Stop);
            QCOMPARE(asked.defaultButton, std::optional<PromptAnswer>(PromptAnswer::No));
            QVERIFY(listed(dialog).isEmpty());
            QCOMPARE(panelText(dialog, "pVersions"), QStringLiteral("Versions (0)"));
            QVERIFY(!child<QToolButton>(dialog, "bDelete")->isEnabled());
        }));
        QVERIFY(triggerAction(editor.window.get(), "mVersionMan"));
        QCOMPARE(editor.prompt.unusedAnswers(), std::size_t(0));
        QVERIFY(!fs::exists(version));
        QVERIFY(fs::is_empty(garage));
    }

    void aVersionLoadsAsTheVehicleUnderItsOwnNameAndAsTheGhost() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        const std::string version = joinPath(editor.home.file("Garage"), "car~Heavy.vfv");
        editor.window->pages()->setCurrentIndex(6);
        editor.type("eMass", QStringLiteral("1500.0"));

        editor.prompt.answer(PromptAnswer::Yes);
        editor.dialogs.then(visit([](GarageDialog& dialog) { addVersion(dialog, QStringLiteral("Heavy")); }));
        QVERIFY(triggerAction(editor.window.get(), "mVersionMan"));
        QVERIFY(fs::exists(version));
        // The Garage does not save the vehicle.
        QVERIFY(editor.window->isChanged());
        editor.type("eMass", QStringLiteral("900.0"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(readBytes(car).find("mass=(900.0)") != std::string::npos);

        // Load: after the revert question the version is in the editor, under the vehicle's own name, changed.
        const QString caption = editor.window->windowTitle();
        editor.prompt.answer(PromptAnswer::Yes);
        editor.dialogs.then(visit([](GarageDialog& dialog) {
            QCOMPARE(listed(dialog), QStringList{QStringLiteral("Heavy")});
            click(dialog, "bLoad");
            QCOMPARE(dialog.Action(), 2);
        }));
        QVERIFY(triggerAction(editor.window.get(), "mVersionMan"));
        const auto revert = editor.prompt.questions().back();
        QCOMPARE(q(revert.title), QStringLiteral("QORA Version Control"));
        QCOMPARE(q(revert.text), QStringLiteral("This function will replace the contents of memory with the selected "
                                                "version file's contents (revert).  The actual veh file is not "
                                                "physically changed until you Save it.  Continue?"));
        QCOMPARE(revert.icon, PromptIcon::Exclamation);
        QCOMPARE(editor.find<QLineEdit>("eMass")->text(), QStringLiteral("1500.0"));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(car));
        QCOMPARE(editor.window->windowTitle(), caption);
        QVERIFY(editor.window->isChanged());
        QVERIFY(readBytes(car).find("mass=(900.0)") != std::string::npos);
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(readBytes(car).find("mass=(1500.0)") != std::string::npos);

        // Load As Ghost: the version file itself becomes the ghost, without a question.
        editor.type("eMass", QStringLiteral("700.0"));
        const std::size_t questions = editor.prompt.questions().size();
        editor.dialogs.then(visit([](GarageDialog& dialog) { click(dialog, "bLoadGhost"); }));
        QVERIFY(triggerAction(editor.window.get(), "mVersionMan"));
        QCOMPARE(editor.prompt.questions().size(), questions);
        QVERIFY(editor.window->ghostVehicle() != nullptr);
        QCOMPARE(q(editor.window->ghostVehicle()->fileName), q(version));
        QCOMPARE(editor.find<QLineEdit>("geMass")->text(), QStringLiteral("1500.0"));
        QCOMPARE(editor.find<QLineEdit>("eMass")->text(), QStringLiteral("700.0"));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(car));
        QVERIFY(fs::exists(version));
    }

    void garageFailuresLeaveNothingHalfDone() {
        EditorFixture editor;
        editor.startWith();

        // A file where the Garage folder should be.
        writeBytes(editor.home.file("Garage"), "not a folder");
        editor.prompt.answer(PromptAnswer::Yes);
        QVERIFY(triggerAction(editor.window.get(), "mVersionMan"));
        QCOMPARE(q(editor.prompt.messages().back().text), QStringLiteral("Could not create requested folder."));
        QCOMPARE(editor.prompt.messages().back().icon, PromptIcon::Stop);
        QVERIFY(editor.dialogs.shown.isEmpty());

        // A version that cannot be written: the message, and no file left in the Garage.
        fs::remove(editor.home.file("Garage"));
        fs::create_directory(editor.home.file("Garage"));
        const std::string version = joinPath(editor.home.file("Garage"), "car~Fast.vfv");
        FailingFileSystem failing;
        failing.failWritesAfterBytes = 10;
        failing.filter = [](const std::string& path) { return path.find("Garage") != std::string::npos; };
        editor.dialogs.then(visit([&](GarageDialog& dialog) {
            ScopedFileSystem scoped(failing);
            addVersion(dialog, QStringLiteral("Fast"), QStringLiteral("notes"));
            const auto message = editor.prompt.messages().back();
            QCOMPARE(q(message.title), QStringLiteral("QORA File Error"));
            QCOMPARE(q(message.text), QStringLiteral("Unable to write version file [") + q(version) +
                                          QStringLiteral("].  No space left on device."));
            QVERIFY(listed(dialog).isEmpty());
            QCOMPARE(dialog.Action(), 0);
            // Still adding: the user may try again.
            QCOMPARE(child<QLineEdit>(dialog, "eVersionTitle")->text(), QStringLiteral("Fast"));
        }));
        QVERIFY(triggerAction(editor.window.get(), "mVersionMan"));
        QVERIFY(fs::is_empty(editor.home.file("Garage")));
    }
};

QTEST_MAIN(TestGarage)
#include "test_garage.moc"
