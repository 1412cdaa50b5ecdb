#include <QtTest>

#include <filesystem>
#include <string>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QStandardPaths>
#include <QToolButton>

#include "archive/vehicle_archive.h"
#include "browser/car_thumbnails.h"
#include "browser/vehicle_browser_dialog.h"
#include "platform/text_editor.h"
#include "support/editor_fixture.h"
#include "support/failing_file_system.h"
#include "support/mas_builder.h"
#include "support/qt_strings.h"

using namespace qora;
using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

bool contains(const std::string& bytes, const std::string& part) {
    return bytes.find(part) != std::string::npos;
}

// The game's archive in the game folder: the template as G01B.VEH and a second car.
struct Archive {
    std::string path;
    std::string g01b = readBytes(dataFile("template.veh"));
    std::string g02e;

    explicit Archive(EditorFixture& editor) : path(editor.home.file("Dat/Vehicle.Mas")) {
        g02e = g01b;
        g02e.replace(g02e.find("GT2 #6 BMW M3"), 13, "GT2 #9 Saleen");
        fs::create_directories(editor.home.file("Dat"));
        writeBytes(path, MasBuilder().add("G01B.VEH", g01b).add("G02E.VEH", g02e).bytes());
    }

    std::string entry(const std::string& name) const {
        ScriptedPrompt prompt;
        NoFilePicker picker;
        Settings settings;
        VehicleArchive mas(settings, prompt, picker);
        mas.loadFile(path);
        return mas.entryBytes(name);
    }
};

struct RecordingEditor : gui::TextEditorLauncher {
    std::vector<std::string> opened;
    bool open(const std::string& path, const std::string&) override {
        opened.push_back(path);
        return true;
    }
};

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void anArchiveVehicleIsEditedAndSavedBackIntoTheArchive() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        Archive archive(editor);
        const std::string workingCopy = editor.home.file("MasVeh/vehiclemas=G01B.VEH");

        editor.dialogs.then(pickFromArchive(QStringLiteral("g01b.veh")));
        QVERIFY(triggerAction(editor.window.get(), "mOpenVeh"));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(workingCopy));
        QCOMPARE(readBytes(workingCopy), archive.g01b);
        QCOMPARE(q(editor.window->archiveEntry()->entryName), QStringLiteral("G01B.VEH"));
        QCOMPARE(editor.action("mSaveAs")->text(), QStringLiteral("Save Copy &As..."));
        // The picture is the built-in thumbnail of the entry's code, unstretched.
        const qreal ratio = editor.window->devicePixelRatioF();
        QCOMPARE(
            editor.find<QLabel>("iVehPic")->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
            gui::builtInBitmap("BMPG01B", gui::kThumbnailSize, ratio).toImage().convertToFormat(QImage::Format_ARGB32));

        editor.window->pages()->setCurrentIndex(6);
        editor.type("eMass", QStringLiteral("1250.5"));
        editor.prompt.answer(PromptAnswer::Yes);
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        const auto question = editor.prompt.questions().back();
        QCOMPARE(q(question.title), QStringLiteral("QORA Mas Writer"));
        QCOMPARE(q(question.text), QStringLiteral("This will replace file [G01B.VEH] in your vehicle.mas file.  Are "
                                                  "you sure you want to overwrite this entry in your vehicle.mas "
                                                  "file?"));
        QVERIFY(!editor.window->isChanged());
        QVERIFY(editor.prompt.messages().empty());
        // The entry extracted again is the saved vehicle; the other entry is untouched.
        QCOMPARE(archive.entry("G01B.VEH"), readBytes(workingCopy));
        QVERIFY(contains(archive.entry("G01B.VEH"), "mass=(1250.5)"));
        QCOMPARE(archive.entry("G02E.VEH"), archive.g02e);

        // Another vehicle replaces it: the working copy goes, the archive stays.
        QVERIFY(editor.window->openVehicleFile(car, 0));
        QVERIFY(!fs::exists(workingCopy));
        QVERIFY(!editor.window->archiveEntry());
        QCOMPARE(editor.action("mSaveAs")->text(), QStringLiteral("Save &As..."));
        QVERIFY(contains(archive.entry("G01B.VEH"), "mass=(1250.5)"));
    }

    void cancelAtTheSaveQuestionKeepsTheDocumentAndDropsTheNewWorkingCopy() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        Archive archive(editor);
        editor.type("eTeamName", QStringLiteral("Works"));

        editor.dialogs.then(pickFromArchive(QStringLiteral("g02e.veh")));
        editor.prompt.answer(PromptAnswer::Cancel);
        QVERIFY(triggerAction(editor.window.get(), "mOpenVeh"));
        QCOMPARE(q(editor.prompt.questions().back().text), QStringLiteral("Save changes to the current file?"));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(car));
        QVERIFY(editor.window->isChanged());
        QCOMPARE(editor.find<QLineEdit>("eTeamName")->text(), QStringLiteral("Works"));
        QVERIFY(!fs::exists(editor.home.file("MasVeh/vehiclemas=G02E.VEH")));
        QVERIFY(!editor.window->archiveEntry());
    }

    void saveWithoutWarningsAndSaveCopyAsOfAnArchiveVehicle() {
        EditorFixture editor;
        editor.startWith();
        Archive archive(editor);
        editor.window->settings().generalWarnings = false;
        editor.dialogs.then(pickFromArchive(QStringLiteral("g01b.veh")));
        QVERIFY(triggerAction(editor.window.get(), "mOpenVeh"));
        const std::string workingCopy = editor.window->currentVehicle()->fileName;
        const QString caption = editor.window->windowTitle();

        editor.window->pages()->setCurrentIndex(6);
        editor.type("eMass", QStringLiteral("1300.0"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(editor.prompt.questions().empty());
        QVERIFY(contains(archive.entry("G01B.VEH"), "mass=(1300.0)"));

        // Save Copy As: the notice, the entry's name proposed, the copy written; the archive and the open
        // document stay as they were.
        editor.type("eMass", QStringLiteral("1400.0"));
        const std::string copy = editor.home.file("copy.veh");
        editor.files.choose(q(copy));
        QVERIFY(triggerAction(editor.window.get(), "mSaveAs"));
        QCOMPARE(q(editor.prompt.messages().at(0).title), QStringLiteral("QORA Mas Handler"));
        QCOMPARE(q(editor.prompt.messages().at(0).text),
                 QStringLiteral("Because you are editing an internal vehicle from your vehicle.mas file, this "
                                "procedure will only save a COPY of the current file.  The current file will remain "
                                "loaded."));
        QCOMPARE(editor.files.calls.at(0).request.proposedName, QStringLiteral("G01B.VEH"));
        QVERIFY(contains(readBytes(copy), "mass=(1400.0)"));
        QVERIFY(contains(archive.entry("G01B.VEH"), "mass=(1300.0)"));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(workingCopy));
        QCOMPARE(editor.window->windowTitle(), caption);
        QVERIFY(editor.window->isChanged());
        QVERIFY(editor.window->archiveEntry());
    }

    void aFailedWriteBackKeepsTheArchiveAndTheEdits() {
        EditorFixture editor;
        editor.startWith();
        Archive archive(editor);
        editor.dialogs.then(pickFromArchive(QStringLiteral("g01b.veh")));
        QVERIFY(triggerAction(editor.window.get(), "mOpenVeh"));
        const std::string before = readBytes(archive.path);

        editor.window->pages()->setCurrentIndex(6);
        editor.type("eMass", QStringLiteral("1250.5"));
        FailingFileSystem failing;
        failing.failRenames = true;
        failing.filter = [&](const std::string& path) { return path == archive.path; };
        {
            ScopedFileSystem scoped(failing);
            editor.prompt.answer(PromptAnswer::Yes);
            QVERIFY(triggerAction(editor.window.get(), "mSave"));
        }
        QCOMPARE(q(editor.prompt.messages().back().title), QStringLiteral("QORA Mas Error"));
        QVERIFY(q(editor.prompt.messages().back().text).startsWith(q("The vehicle.mas file [" + archive.path + "]")));
        QCOMPARE(readBytes(archive.path), before);
        QVERIFY(editor.window->isChanged());
        QCOMPARE(editor.find<QLineEdit>("eMass")->text(), QStringLiteral("1250.5"));
    }

    void anEntryChangedInTheArchiveSinceItWasOpenedIsAskedAbout() {
        EditorFixture editor;
        editor.startWith();
        Archive archive(editor);
        editor.dialogs.then(pickFromArchive(QStringLiteral("g01b.veh")));
        QVERIFY(triggerAction(editor.window.get(), "mOpenVeh"));
        editor.window->pages()->setCurrentIndex(6);
        editor.type("eMass", QStringLiteral("1250.5"));

        // Another program writes its own version of the entry into the archive meanwhile.
        std::string theirs = archive.g01b;
        theirs.replace(theirs.find("fuel=("), 6, "fuel=(9");
        {
            ScriptedPrompt prompt;
            NoFilePicker picker;
            Settings settings;
            VehicleArchive mas(settings, prompt, picker);
            mas.loadFile(archive.path);
            QVERIFY(mas.replaceEntry("G01B.VEH", theirs));
        }
        const std::string before = readBytes(archive.path);

        // No (the default): the archive keeps the other program's entry, the window its edits.
        editor.prompt.answer(PromptAnswer::Yes).answer(PromptAnswer::No);
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        const auto question = editor.prompt.questions().back();
        QCOMPARE(q(question.title), QStringLiteral("QORA Mas Writer"));
        QCOMPARE(q(question.text), q("[G01B.VEH] in [" + archive.path +
                                     "] was changed by another program since QORA "
                                     "opened it. Overwrite it with your edits?"));
        QCOMPARE(question.defaultButton, std::optional<PromptAnswer>(PromptAnswer::No));
        QCOMPARE(readBytes(archive.path), before);
        QVERIFY(editor.window->isChanged());

        // Yes: written back; the next write-back of the same entry asks nothing more.
        editor.prompt.answer(PromptAnswer::Yes).answer(PromptAnswer::Yes);
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(contains(archive.entry("G01B.VEH"), "mass=(1250.5)"));
        const std::size_t asked = editor.prompt.questions().size();
        editor.type("eMass", QStringLiteral("1260.5"));
        editor.prompt.answer(PromptAnswer::Yes);
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QCOMPARE(editor.prompt.questions().size(), asked + 1);
        QVERIFY(contains(archive.entry("G01B.VEH"), "mass=(1260.5)"));
    }

    void recentListsAndBackups() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        const std::string other = editor.copy("template.veh", "other.veh");
        QVERIFY(editor.window->openVehicleFile(other, 0));
        auto* recent = editor.window->findChild<QMenu*>(QStringLiteral("pmRecent"));
        QCOMPARE(recent->actions().size(), 1);
        QCOMPARE(recent->actions().at(0)->text(), q("[ GT2 #6 BMW M3 ] " + car));
        QCOMPARE(q(editor.window->settings().recentVehicles.at(0).path), q(car));

        // A recent file that has gone: the message, and the current document stays.
        fs::remove(car);
        recent->actions().at(0)->trigger();
        QCOMPARE(q(editor.prompt.messages().back().title), QStringLiteral("QORA File Open"));
        QCOMPARE(q(editor.prompt.messages().back().text),
                 QStringLiteral("The file you selected could not be found.  It may have been moved or deleted."));
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(other));

        // The backups' entries follow the files that the saves make.
        QAction* prior = editor.action("mLoadPrior");
        QAction* original = editor.action("mLoadOriginal");
        QVERIFY(!prior->isEnabled());
        QVERIFY(!original->isEnabled());
        editor.window->pages()->setCurrentIndex(6);
        editor.type("eMass", QStringLiteral("1200.0"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(original->isEnabled());
        QVERIFY(original->text().startsWith(QStringLiteral("Open &Original (veX) - ")));
        QVERIFY(!prior->isEnabled());
        editor.type("eMass", QStringLiteral("1300.0"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(prior->isEnabled());

        // The prior backup takes the file's place, marked changed, under the file's own path.
        QVERIFY(triggerAction(editor.window.get(), "mLoadPrior"));
        QCOMPARE(editor.find<QLineEdit>("eMass")->text(), QStringLiteral("1200.0"));
        QVERIFY(editor.window->isChanged());
        QCOMPARE(q(editor.window->currentVehicle()->fileName), q(other));
        QCOMPARE(editor.window->windowTitle(), q("QORA 4.0 - " + other));

        // A backup gone since the menu was refreshed: the message, and the entry is disabled.
        fs::remove(other.substr(0, other.size() - 1) + "B");
        QVERIFY(triggerAction(editor.window.get(), "mLoadPrior"));
        QCOMPARE(q(editor.prompt.messages().back().title), QStringLiteral("QORA Open Backup"));
        QCOMPARE(q(editor.prompt.messages().back().text), QStringLiteral("File not found."));
        QVERIFY(!prior->isEnabled());
    }

    void theNotepadButtonWarnsFirst() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        RecordingEditor textEditor;
        gui::ScopedTextEditorLauncher scoped(textEditor);
        auto* button = editor.find<QToolButton>("bFileToNotepad");
        QVERIFY(button->isEnabled());

        editor.prompt.answer(PromptAnswer::Cancel).answer(PromptAnswer::Ok);
        button->click();
        QVERIFY(textEditor.opened.empty());
        button->click();
        QCOMPARE(textEditor.opened, std::vector<std::string>{car});
        const auto question = editor.prompt.questions().back();
        QCOMPARE(q(question.title), QStringLiteral("QORA Notepad Launcher"));
        QCOMPARE(q(question.text),
                 QStringLiteral("Any changes you make in notepad will not be reflected in QORA (and visa-versa) until "
                                "you reload the file.  In the case of vehicle.mas files, only the extracted file is "
                                "effected until you save the veh file back to vehicle.mas.  It is highly "
                                "recommended that you only VIEW the file in notepad."));
    }

    void editorCommandsTakeTheFile() {
        QCOMPARE(gui::editorCommand(QStringLiteral("gedit %U"), QStringLiteral("/a b.veh")),
                 (QStringList{"gedit", "/a b.veh"}));
        QCOMPARE(gui::editorCommand(QStringLiteral("\"my editor\" --new-window"), QStringLiteral("/c.veh")),
                 (QStringList{"my editor", "--new-window", "/c.veh"}));
        QCOMPARE(gui::editorCommand(QStringLiteral("kate -b %f %i"), QStringLiteral("/c.veh")),
                 (QStringList{"kate", "-b", "/c.veh"}));
    }
};

QTEST_MAIN(TestFileCommands)
#include "test_file_commands.moc"
