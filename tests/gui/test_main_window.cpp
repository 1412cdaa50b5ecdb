#include <QtTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolButton>

#include "dialogs/info_dialog.h"
#include "editor/field_drag.h"
#include "editor/field_widgets.h"
#include "editor/help_texts.h"
#include "editor/main_window.h"
#include "platform/text.h"
#include "support/editor_fixture.h"
#include "support/failing_file_system.h"
#include "support/gui_test_support.h"
#include "support/scripted_folder_picker.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace qora;
using namespace qora::testing;
using gui::MainWindow;

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<std::string> linesOf(const std::string& path) {
    return text::splitLines(readBytes(path));
}

// The editor as the fixture starts it, with the look-ups these tests use most.
struct Editor : EditorFixture {
    QLineEdit* edit(const char* name) const { return find<QLineEdit>(name); }
    QColor indicator() const { return find("pHasChangedIndicator")->palette().color(QPalette::Window); }
    bool undoEnabled() const { return window->findChild<QAction*>(QStringLiteral("mUndoPage"))->isEnabled(); }
    std::vector<ScriptedPrompt::Call> messages() const { return prompt.messages(); }
};

template <typename T> T& dialogAs(QDialog& dialog) {
    auto* typed = qobject_cast<T*>(&dialog);
    if (typed == nullptr)
        throw std::logic_error("unexpected dialog: " + dialog.objectName().toStdString());
    return *typed;
}

const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);

void sendDrag(QWidget* target, const QMimeData& data, bool& entered, bool& dropped) {
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    entered = enter.isAccepted();
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    dropped = drop.isAccepted();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void firstStartWelcomesAndOpensTheTemplateUnchanged() {
        Editor editor;
        editor.prompt.choice(1); // "Not now" to the one question about the game folder
        QString welcome;
        editor.dialogs.then([&](QDialog& dialog) {
            welcome = dialogAs<gui::InfoDialog>(dialog).text();
            return int(QDialog::Accepted);
        });
        editor.start();

        QCOMPARE(editor.dialogs.shown, (QStringList{QStringLiteral("dlgInfo"), QStringLiteral("dlgAppPreferences")}));
        QCOMPARE(welcome,
                 QStringLiteral("Welcome to QORA 4.0.1.1\n"
                                "Although some functions are not yet implemented, this is not a BETA "
                                "version.\n\nREAD THE README FILE!  IT IS THE ONLY SOURCE OF HELP!\n\nENJOY!"));
        // Without a settings file and a registry entry the game folder is asked for once, in plain words, with no
        // registry message and no second folder dialog from the Preferences; "Not now" makes the program folder the
        // patch folder.
#ifndef _WIN32
        QVERIFY(editor.messages().empty());
        QCOMPARE(editor.prompt.questions().size(), std::size_t(1));
        QCOMPARE(q(editor.prompt.questions()[0].text),
                 QStringLiteral("Where is Trevant installed? QORA uses its Patch folder and its vehicle archive."));
        QCOMPARE(editor.folders.calls.size(), std::size_t(0));
        QVERIFY(editor.window->settings().gameFolderNotNow);
#endif

        const std::string newFile = joinPath(editor.home.path(), "New.veh");
        QCOMPARE(editor.window->windowTitle(), q("QORA 4.0 - " + newFile));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(newFile));
        QVERIFY(!editor.window->isChanged());
        QCOMPARE(editor.indicator(), kLime);
        QVERIFY(!editor.undoEnabled());
        QCOMPARE(editor.edit("eDescription")->text(), QStringLiteral("GT2 #6 BMW M3"));
        QCOMPARE(editor.find<QLabel>("pCarName")->text(), QStringLiteral("GT2 #6 BMW M3"));
        QCOMPARE(editor.find<QLabel>("lEditorName")->text(), QStringLiteral("Prior Editor: Unknown"));
        QVERIFY(!editor.edit("gefPressure")->isVisible());
        QVERIFY(!std::filesystem::exists(newFile)); // the template is written by its first save only

        // Closing an unchanged document asks nothing and keeps the settings; the next start is no first run.
        const std::size_t asked = editor.prompt.questions().size();
        QVERIFY(editor.window->close());
        QCOMPARE(editor.prompt.questions().size(), asked);
        QVERIFY(std::filesystem::exists(editor.home.file("qora.ini")));
        editor.window.reset();
        editor.dialogs.shown.clear();
        editor.start();
        QVERIFY(editor.dialogs.shown.isEmpty());
        QCOMPARE(editor.prompt.questions().size(), asked); // "Not now" was remembered
        QCOMPARE(editor.folders.calls.size(), std::size_t(0));
    }

    void editingMarksChangedAndSavingWritesOnlyThatValue() {
        Editor editor;
        editor.writeSettings("");
        editor.start();
        const std::string path = editor.copy("template.veh", "car.veh");
        editor.dialogs.then(pickInBrowser(QStringLiteral("car.veh")));
        QVERIFY(triggerAction(editor.window.get(), "mOpenVeh"));
        QCOMPARE(editor.window->windowTitle(), q("QORA 4.0 - " + path));
        QCOMPARE(editor.dialogs.shown.back(), QStringLiteral("dlgFileOpen"));
        QVERIFY(!editor.window->isChanged());

        editor.window->pages()->setCurrentIndex(6);
        editor.type("eMass", QStringLiteral("1250.5"));
        QVERIFY(editor.window->isChanged());
        QCOMPARE(editor.indicator(), kRed);
        QVERIFY(editor.undoEnabled());

        // The description is echoed into the name panel while it is typed.
        editor.type("eDescription", QStringLiteral("GT2 #7"));
        QCOMPARE(editor.find<QLabel>("pCarName")->text(), QStringLiteral("GT2 #7"));
        editor.type("eDescription", QStringLiteral("GT2 #6 BMW M3"));

        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(editor.messages().empty());
        QVERIFY(!editor.window->isChanged());
        QCOMPARE(editor.indicator(), kLime);
        QCOMPARE(editor.find<QLabel>("lEditorName")->text(), QStringLiteral("Prior Editor: QORA 4.0"));

        std::vector<std::string> expected = linesOf(dataFile("template.veh"));
        for (std::string& line : expected)
            if (line == "mass=(1125.0)")
                line = "mass=(1250.5)";
        expected.push_back("// Editor=QORA 4.0");
        QCOMPARE(linesOf(path), expected);
        // The file as it was before QORA's first save is kept as the original backup.
        QCOMPARE(readBytes(path.substr(0, path.size() - 1) + "X"), readBytes(dataFile("template.veh")));

        // The status line plays "** FILE SAVED **" and then shows the description again.
        QVERIFY(editor.find<QTimer>("Timer1")->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(editor.find<QLabel>("pCarName")->text(), QStringLiteral("** FILE SAVED **"), 4000);
        QTRY_COMPARE_WITH_TIMEOUT(editor.find<QLabel>("pCarName")->text(), QStringLiteral("GT2 #6 BMW M3"), 6000);
    }

    void undoPageRestoresTheActivePageFromTheBuffer() {
        Editor editor;
        editor.startWith();
        editor.type("eTeamName", QStringLiteral("Works"));
        editor.type("eMass", QStringLiteral("999.0"));
        editor.window->pages()->setCurrentIndex(0);

        editor.prompt.answer(PromptAnswer::No);
        QVERIFY(triggerAction(editor.window.get(), "mUndoPage"));
        QCOMPARE(editor.edit("eTeamName")->text(), QStringLiteral("Works"));

        editor.prompt.answer(PromptAnswer::Yes);
        QVERIFY(triggerAction(editor.window.get(), "mUndoPage"));
        const auto questions = editor.prompt.questions();
        QCOMPARE(questions.size(), std::size_t(2));
        QCOMPARE(q(questions[1].title), QStringLiteral("QORA Page Restore"));
        QCOMPARE(q(questions[1].text),
                 QStringLiteral("This will undo all the changes on the current page to the values that existed when "
                                "the file was last saved.  Are you sure you want to undo all the changes on this "
                                "page?"));
        QVERIFY(questions[1].buttons == PromptButtons::YesNo);
        QCOMPARE(editor.edit("eTeamName")->text(), QStringLiteral("PTG"));
        QCOMPARE(editor.edit("eMass")->text(), QStringLiteral("999.0")); // another page
        QVERIFY(editor.window->isChanged());
        QCOMPARE(editor.indicator(), kRed);
    }

    void dropsAreAcceptedOnlyBetweenFieldsOfOneKind() {
        Editor editor;
        editor.startWith();
        editor.window->pages()->setCurrentIndex(5);
        QLineEdit* best = editor.edit("eBestGear3");
        QVERIFY(!best->text().isEmpty() && best->text() != QStringLiteral("*"));

        const int gearKind = gui::FieldDragDrop::fieldKindOf(best);
        std::unique_ptr<QMimeData> data(gui::fieldMimeData(gearKind, best->text()));
        bool entered = true;
        bool dropped = true;
        sendDrag(editor.edit("eBrakeBalance"), *data, entered, dropped);
        QVERIFY(!entered);
        QVERIFY(!dropped);
        QCOMPARE(editor.edit("eBrakeBalance")->text(), QStringLiteral("0.5650"));
        QVERIFY(!editor.window->isChanged());

        sendDrag(editor.edit("eGear3"), *data, entered, dropped);
        QVERIFY(entered);
        QVERIFY(dropped);
        QCOMPARE(editor.edit("eGear3")->text(), best->text());
        QVERIFY(editor.window->isChanged());
        QCOMPARE(editor.indicator(), kRed);

        // A ghost's front value may go onto the vehicle's rear field of its kind, never onto another kind.
        QLineEdit* ghostPressure = editor.edit("gefPressure");
        std::unique_ptr<QMimeData> pressure(
            gui::fieldMimeData(gui::FieldDragDrop::fieldKindOf(ghostPressure), QStringLiteral("190.0000")));
        sendDrag(editor.edit("efCamber"), *pressure, entered, dropped);
        QVERIFY(!entered);
        QVERIFY(!dropped);
        sendDrag(editor.edit("erPressure"), *pressure, entered, dropped);
        QVERIFY(dropped);
        QCOMPARE(editor.edit("erPressure")->text(), QStringLiteral("190.0000"));

        // Text dragged from anywhere else is refused.
        QMimeData plain;
        plain.setText(QStringLiteral("3.000"));
        sendDrag(editor.edit("eGear4"), plain, entered, dropped);
        QVERIFY(!entered);
        QVERIFY(!dropped);
    }

    void driverAttributesMustBeDigitPointDigitOnSave() {
        Editor editor;
        const std::string path = editor.startWith();
        const std::string before = readBytes(path);
        editor.type("e1Aggression", QStringLiteral("55"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QCOMPARE(editor.messages().size(), std::size_t(1));
        QCOMPARE(q(editor.messages()[0].title), QStringLiteral("QORA Data Validation Error"));
        QCOMPARE(
            q(editor.messages()[0].text),
            QStringLiteral("TfMain::SaveDetailsPage()-> Driver attribute 'Aggression' must be in the format of #.#"));
        QVERIFY(editor.messages()[0].icon == PromptIcon::Stop);
        QCOMPARE(readBytes(path), before);
        QVERIFY(editor.window->isChanged());

        editor.type("e1Aggression", QStringLiteral("0.8"));
        editor.type("e2Defensive", QStringLiteral("5"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QCOMPARE(q(editor.messages()[1].text),
                 QStringLiteral("TfMain::SaveDetailsPage()-> Driver attribute defensive must be in the format of #.#"));

        editor.type("e2Defensive", QStringLiteral("0.3"));
        editor.type("e2Ability", QString());
        editor.type("eDriver1Name", QStringLiteral("  Ray Colter "));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QCOMPARE(editor.messages().size(), std::size_t(2));
        const auto lines = linesOf(path);
        QVERIFY(std::find(lines.begin(), lines.end(), "//Driver1=Ray Colter/0.8/0.4/0.9") != lines.end());
        QVERIFY(std::find(lines.begin(), lines.end(), "//Driver2=Ned Halvik/0.7/0.3/0.0") != lines.end());
    }

    void closeQuestionAnswers() {
        const auto changedEditor = [](Editor& editor) {
            const std::string path = editor.startWith();
            editor.type("eMass", QStringLiteral("1300.0"));
            return path;
        };
        {
            Editor editor;
            const std::string path = changedEditor(editor);
            const std::string before = readBytes(path);
            editor.prompt.answer(PromptAnswer::Cancel);
            QVERIFY(!editor.window->close());
            QVERIFY(editor.window->isVisible());
            QVERIFY(editor.window->isChanged());
            const auto question = editor.prompt.questions().at(0);
            QCOMPARE(q(question.title), QStringLiteral("QORA File Change"));
            QCOMPARE(q(question.text), QStringLiteral("Save changes to the current file?"));
            QVERIFY(question.buttons == PromptButtons::YesNoCancel);
            QCOMPARE(question.defaultButton, std::optional<PromptAnswer>(PromptAnswer::Yes));
            QCOMPARE(readBytes(path), before);
        }
        {
            Editor editor;
            const std::string path = changedEditor(editor);
            const std::string before = readBytes(path);
            editor.prompt.answer(PromptAnswer::No);
            QVERIFY(editor.window->close());
            QCOMPARE(readBytes(path), before);
            QVERIFY(readBytes(editor.home.file("qora.ini")).find("LastFile=" + path) != std::string::npos);
        }
        {
            Editor editor;
            const std::string path = changedEditor(editor);
            editor.prompt.answer(PromptAnswer::Yes);
            QVERIFY(editor.window->close());
            QVERIFY(std::filesystem::exists(path.substr(0, path.size() - 1) + "X"));
            const auto lines = linesOf(path);
            QVERIFY(std::find(lines.begin(), lines.end(), "mass=(1300.0)") != lines.end());
        }
    }

    void aFailedSaveOnCloseKeepsTheWindowOpen() {
        Editor editor;
        const std::string path = editor.startWith();
        const std::string before = readBytes(path);
        editor.type("eMass", QStringLiteral("1300.0"));
        {
            FailingFileSystem disk;
            disk.failWritesAfterBytes = 100;
            disk.filter = [&](const std::string& file) { return file.find("qora.ini") == std::string::npos; };
            ScopedFileSystem scoped(disk);
            editor.prompt.answer(PromptAnswer::Yes);
            QVERIFY(!editor.window->close());
        }
        QVERIFY(editor.window->isVisible());
        QVERIFY(editor.window->isChanged());
        QCOMPARE(editor.indicator(), kRed);
        QCOMPARE(editor.messages().size(), std::size_t(1));
        QCOMPARE(q(editor.messages()[0].title), QStringLiteral("QORA File Error"));
        QVERIFY(editor.messages()[0].text.rfind("Error saving file [", 0) == 0);
        QCOMPARE(readBytes(path), before);
        QCOMPARE(editor.edit("eMass")->text(), QStringLiteral("1300.0"));

        // The edits are still there to be saved once the disk takes them.
        editor.prompt.answer(PromptAnswer::Yes);
        QVERIFY(editor.window->close());
        const auto lines = linesOf(path);
        QVERIFY(std::find(lines.begin(), lines.end(), "mass=(1300.0)") != lines.end());
    }

    void missingEntriesAskToCreateOrAbort() {
        Editor editor;
        const std::string current = editor.startWith();
        // A vehicle without its body mass.
        std::string bytes = readBytes(dataFile("template.veh"));
        bytes.erase(bytes.find("mass=(1125.0)\r\n"), std::string("mass=(1125.0)\r\n").size());
        const std::string broken = editor.home.file("broken.veh");
        writeBytes(broken, bytes);

        QStringList listed;
        editor.dialogs.then([&](QDialog& dialog) {
            listed = dialogAs<gui::LostEntriesDialog>(dialog).entries();
            return int(QDialog::Rejected);
        });
        QVERIFY(!editor.window->openVehicleFile(broken, 0));
        QCOMPARE(editor.dialogs.shown, QStringList{QStringLiteral("dlgLostEntries")});
        QVERIFY(listed.contains(QStringLiteral("mass=")));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(current));

        editor.dialogs.then([](QDialog&) { return int(QDialog::Accepted); });
        QVERIFY(editor.window->openVehicleFile(broken, 0));
        QCOMPARE(editor.window->windowTitle(), q("QORA 4.0 - " + broken));
        QCOMPARE(editor.edit("eMass")->text(), QString());

        // A file that is not there is reported and opens nothing.
        const std::string gone = editor.home.file("gone.veh");
        QVERIFY(!editor.window->openVehicleFile(gone, 0));
        QCOMPARE(q(editor.messages().back().text), q("Could not find requested file: " + gone));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(broken));
    }

    void openingAnotherFileAsksToSaveTheChangedOne() {
        Editor editor;
        const std::string first = editor.startWith();
        const std::string second = editor.copy("template.veh", "other.veh");
        editor.type("eTeamName", QStringLiteral("Works"));

        editor.prompt.answer(PromptAnswer::Cancel);
        QVERIFY(!editor.window->openVehicleFile(second, 0));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(first));
        QCOMPARE(editor.edit("eTeamName")->text(), QStringLiteral("Works"));

        // When the edits cannot be saved, they stay open rather than being thrown away.
        {
            FailingFileSystem disk;
            disk.failWritesAfterBytes = 0;
            ScopedFileSystem scoped(disk);
            editor.prompt.answer(PromptAnswer::Yes);
            QVERIFY(!editor.window->openVehicleFile(second, 0));
        }
        QCOMPARE(q(editor.messages().back().title), QStringLiteral("QORA File Error"));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(first));
        QCOMPARE(editor.edit("eTeamName")->text(), QStringLiteral("Works"));
        QVERIFY(editor.window->isChanged());

        editor.prompt.answer(PromptAnswer::Yes);
        QVERIFY(editor.window->openVehicleFile(second, 0));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(second));
        QVERIFY(!editor.window->isChanged());
        const auto lines = linesOf(first);
        QVERIFY(std::find(lines.begin(), lines.end(), "//TeamName=Works") != lines.end());
    }

    void saveAsWritesUnderTheChosenName() {
        Editor editor;
        const std::string path = editor.startWith();
        const std::string before = readBytes(path);
        editor.type("eTeamName", QStringLiteral("Works"));
        const std::string copy = editor.home.file("copy.veh");
        editor.files.cancel().choose(q(copy));

        QVERIFY(triggerAction(editor.window.get(), "mSaveAs"));
        QVERIFY(editor.window->isChanged());
        QVERIFY(!std::filesystem::exists(copy));

        QVERIFY(triggerAction(editor.window.get(), "mSaveAs"));
        const gui::FileDialogRequest& request = editor.files.calls.at(1).request;
        QVERIFY(editor.files.calls[1].save);
        QCOMPARE(request.title, QStringLiteral("Save File As"));
        QCOMPARE(request.proposedName, QStringLiteral("car.veh"));
        QCOMPARE(request.folder, q(editor.home.path())); // the patch folder
        QCOMPARE(request.defaultSuffix, QStringLiteral("veh"));
        QVERIFY(request.filter.startsWith(QStringLiteral("QORA Vehicle Files (")));

        QVERIFY(!editor.window->isChanged());
        QCOMPARE(editor.window->windowTitle(), q("QORA 4.0 - " + copy));
        QCOMPARE(readBytes(path), before);
        const auto lines = linesOf(copy);
        QVERIFY(std::find(lines.begin(), lines.end(), "//TeamName=Works") != lines.end());
    }

    void valuesLongerThanTheTypingLimitAreKeptWhole() {
        Editor editor;
        std::string bytes = readBytes(dataFile("template.veh"));
        const std::string longName = "GT2 #6 BMW M3 Works Evolution Championship Edition";
        bytes.replace(bytes.find("GT2 #6 BMW M3"), std::string("GT2 #6 BMW M3").size(), longName);
        const std::string path = editor.home.file("long.veh");
        writeBytes(path, bytes);
        editor.writeSettings(path);
        editor.start();

        QCOMPARE(editor.edit("eDescription")->text(), q(longName));
        editor.type("eTeamName", QStringLiteral("Works"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        const auto lines = linesOf(path);
        QVERIFY(std::find(lines.begin(), lines.end(), "//DescFile=" + longName) != lines.end());

        // Typing is limited: a short field takes no more than its characters.
        QLineEdit* attribute = editor.edit("e1Ability");
        attribute->selectAll();
        QTest::keyClicks(attribute, "0.95");
        QCOMPARE(attribute->text(), QStringLiteral("0.9"));
    }

    // Angles shown in degrees are still saved in radians, as the file always holds them; an angle the user did
    // not change keeps its stored radians exactly, though its tenth of a degree would convert back to another.
    void anglesShownInDegreesAreSavedInRadians() {
        Editor editor;
        editor.startWith();
        editor.window->pages()->setCurrentIndex(2);
        auto* degrees = editor.find<QCheckBox>("cbAnglesInDegrees");
        QTest::mouseClick(degrees, Qt::LeftButton, {}, QPoint(4, degrees->height() / 2));
        QCOMPARE(editor.edit("efAngle")->text(), QStringLiteral("10.0"));
        editor.type("erAngle", QStringLiteral("11.5"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        const auto lines = linesOf(editor.window->currentVehicle()->fileName);
        QVERIFY(std::find(lines.begin(), lines.end(), "airdam_angle=(0.1748)") != lines.end());
        QVERIFY(std::find(lines.begin(), lines.end(), "rearwing_angle=(0.2007)") != lines.end());
    }

    void geometryAndHelp() {
        Editor editor;
        editor.startWith();
        editor.window->pages()->setCurrentIndex(3);
        auto* geometry = editor.find<QComboBox>("dlGeometry");
        geometry->setFocus();
        geometry->lineEdit()->selectAll();
        QTest::keyClicks(geometry, "sla4");
        QCOMPARE(geometry->currentText(), QStringLiteral("SLA4"));

        // A label click shows its help text in the information dialog.
        editor.window->pages()->setCurrentIndex(1);
        QString help;
        editor.dialogs.then([&](QDialog& dialog) {
            help = dialogAs<gui::InfoDialog>(dialog).text();
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(editor.find("lerPressure"), Qt::LeftButton);
        QCOMPARE(editor.dialogs.shown, QStringList{QStringLiteral("dlgInfo")});
        QCOMPARE(help, QString::fromLatin1(editor::helpText(103).data(), qsizetype(editor::helpText(103).size())));
        QVERIFY(help.startsWith(QStringLiteral("Tire Pressure:")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
