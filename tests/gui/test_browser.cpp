#include <QtTest>

#include <filesystem>
#include <memory>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>

#include "archive/vehicle_archive.h"
#include "browser/file_manager_dialog.h"
#include "browser/folder_tree.h"
#include "browser/select_folder_dialog.h"
#include "browser/vehicle_browser_dialog.h"
#include "platform/text_editor.h"
#include "settings/settings.h"
#include "support/failing_file_system.h"
#include "support/gui_test_support.h"
#include "support/mas_builder.h"
#include "support/qt_strings.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

using namespace qora;
using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

QStringList rows(const QListWidget* list) {
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out << list->item(row)->text();
    return out;
}

template <typename T> T& dialogAs(QDialog& dialog) {
    auto* typed = qobject_cast<T*>(&dialog);
    if (typed == nullptr)
        throw std::logic_error("unexpected dialog: " + dialog.objectName().toStdString());
    return *typed;
}

// Records the files the browser hands to the text editor instead of starting one.
struct RecordingEditor : gui::TextEditorLauncher {
    std::vector<std::string> opened;
    bool open(const std::string& path, const std::string&) override {
        opened.push_back(path);
        return true;
    }
};

// A folder of vehicles with thumbnails and other files, a destination folder, and an archive of two entries;
// a browser dialog on them, driven without a modal loop.
struct Browser {
    TempDir dir;
    ScriptedPrompt prompt;
    ScriptedDialogRunner dialogs;
    NoFilePicker picker;
    Settings settings;
    std::string cars = dir.file("cars");
    std::string garage = dir.file("garage");
    VehicleArchive mas{settings, prompt, picker};
    std::unique_ptr<gui::VehicleBrowserDialog> dialog;

    Browser() {
        settings.setPrompt(prompt);
        settings.setProgramFolder(dir.file("prog"));
        fs::create_directories(dir.file("prog"));
        fs::create_directories(cars);
        fs::create_directories(garage);
        writeBytes(cars + "/g01b.veh", vehicleText("Alpha", "GT1", "1"));
        writeBytes(cars + "/g01b.veb", vehicleText("Alpha backup", "GT1", "1"));
        writeBytes(cars + "/g01b.vex", vehicleText("Alpha original", "GT1", "1"));
        writeBytes(cars + "/g01b.txt", "notes");
        writeBytes(cars + "/g02e.veh", vehicleText("Bravo", "gt2"));
        writeBytes(cars + "/rally.veh", vehicleText("Charlie", "Rally", "0"));
        writeBytes(cars + "/nameless.veh", vehicleText("", "GT1", "2"));
        QImage side(40, 20, QImage::Format_RGB32);
        side.fill(Qt::red);
        side.save(q(cars + "/G01BSIDE.BMP"), "BMP");

        writeBytes(dir.file("Vehicle.Mas"), MasBuilder()
                                                .add("G01B.VEH", vehicleText("Zeta", "GT1", "5"))
                                                .add("G02E.VEH", vehicleText("Eta", "GT3"))
                                                .bytes());
        mas.loadFile(dir.file("Vehicle.Mas"));
    }

    // The browser set up as the host does; "Vehicle.mas" and the garage are favourites.
    gui::VehicleBrowserDialog& open(const std::string& carClass = "[ALL]", bool withArchive = true,
                                    const std::string& proposed = {}) {
        settings.favoriteFolders = {"Vehicle.mas", garage};
        dialog = std::make_unique<gui::VehicleBrowserDialog>(withArchive ? &mas : nullptr, settings, prompt, dialogs);
        dialog->setUp({cars, carClass, proposed}, withArchive);
        return *dialog;
    }

    template <typename T = QWidget> T* find(const char* name) const {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }
    QStringList shown() const { return rows(find<QListWidget>("lbCars")); }
    QString fileName() const { return find<QLineEdit>("eFileName")->text(); }
    void typeClass(const QString& text) {
        QLineEdit* edit = find<QComboBox>("dlClass")->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void select(const QString& name) {
        auto* list = find<QListWidget>("lbCars");
        for (int row = 0; row < list->count(); ++row) {
            list->setCurrentRow(row);
            if (fileName() == name)
                return;
        }
        QFAIL(qPrintable("no vehicle " + name));
    }
    void trigger(const char* name) { find<QAction>(name)->trigger(); }
};

} // namespace

class TestBrowser : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void folderModeListsVehiclesUnderTheirDescriptions() {
        Browser b;
        gui::VehicleBrowserDialog& dialog = b.open();
        QCOMPARE(b.shown(), (QStringList{"Alpha - [80%]", "Bravo - [?%]", "Charlie - [Random]"}));
        QCOMPARE(b.find<QLineEdit>("eFileCount")->text(), QStringLiteral("3"));
        QCOMPARE(b.fileName(), QStringLiteral("g01b.veh"));
        QVERIFY(dialog.okButton()->isEnabled());
        QCOMPARE(b.find<QComboBox>("dlClass")->count(), 6);
        // The thumbnail is the folder's bitmap whose name starts with the file's first four characters.
        QCOMPARE(b.find<QLabel>("iCar")->pixmap().size(), QSize(40, 20));

        // Typing a class filters at every key; "gt2" is GT2 whatever its case, and not among the others.
        b.typeClass(QStringLiteral("GT2"));
        QCOMPARE(b.shown(), QStringList{"Bravo - [?%]"});
        QCOMPARE(b.fileName(), QStringLiteral("g02e.veh"));
        QVERIFY(b.find<QLabel>("iCar")->pixmap().size() != QSize(40, 20)); // no bitmap for g02e: "bmpNoCar"
        b.typeClass(QStringLiteral("[OTHER]"));
        QCOMPARE(b.shown(), QStringList{"Charlie - [Random]"});
        // The files were read once: a filter works on what was read, even with the files gone.
        fs::remove(b.cars + "/g01b.veh");
        b.typeClass(QStringLiteral("[ALL]"));
        QCOMPARE(b.shown().size(), 3);
        writeBytes(b.cars + "/g01b.veh", vehicleText("Alpha", "GT1", "1"));

        b.find<QCheckBox>("cbRacePercent")->click();
        QCOMPARE(b.shown(), (QStringList{"Alpha", "Bravo", "Charlie"}));

        // All files: names as they are, the class box disabled, no picture, no context commands but Notepad's.
        b.find<QComboBox>("FilterComboBox1")->setCurrentIndex(3);
        emit b.find<QComboBox>("FilterComboBox1")->activated(3);
        QCOMPARE(b.shown().size(), 8);
        QVERIFY(!b.find<QComboBox>("dlClass")->isEnabled());
        QVERIFY(!b.find<QAction>("mNotepad")->isEnabled());
        QVERIFY(!b.find<QAction>("mDelete")->isEnabled());
        b.select(QStringLiteral("g01b.txt"));
        QCOMPARE(q(dialog.list().selection()), q(b.cars + "/g01b.txt"));

        // Class maintenance.
        b.find<QComboBox>("FilterComboBox1")->setCurrentIndex(0);
        emit b.find<QComboBox>("FilterComboBox1")->activated(0);
        b.typeClass(QStringLiteral("[ALL]"));
        b.find<QToolButton>("bAddClass")->click();
        b.typeClass(QStringLiteral("GT1"));
        b.find<QToolButton>("bDelClass")->click();
        b.typeClass(QStringLiteral("Rally"));
        b.find<QToolButton>("bAddClass")->click();
        QCOMPARE(b.find<QComboBox>("dlClass")->itemText(6), QStringLiteral("Rally"));
        QCOMPARE(b.shown(), QStringList{"Charlie"});
        const auto messages = b.prompt.messages();
        QCOMPARE(messages.size(), std::size_t(2));
        QCOMPARE(q(messages[0].title), QStringLiteral("QORA Class Maintenance"));
        QCOMPARE(q(messages[0].text), QStringLiteral("Class already exists in list."));
        QCOMPARE(q(messages[1].text), QStringLiteral("Only existing user defined classes can be deleted."));
    }

    void archiveModeAndFavourites() {
        Browser b;
        const std::string workingCopy = b.dir.file("prog/MasVeh/vehiclemas=G02E.VEH");
        gui::VehicleBrowserDialog& dialog = b.open("GT3", true, workingCopy);
        dialog.show();
        QVERIFY(dialog.list().archiveMode());
        QVERIFY(b.find("lMasMode")->isVisible());
        QVERIFY(!b.find("lbFolders")->isVisible());
        QVERIFY(!b.find("DriveComboBox1")->isVisible());
        QVERIFY(!b.find("FilterComboBox1")->isEnabled());
        QCOMPARE(b.shown(), QStringList{"Eta - [?%]"});
        QCOMPARE(b.fileName(), QStringLiteral("g02e.veh"));
        QCOMPARE(q(dialog.list().selection()), QStringLiteral("G02E.VEH"));
        QVERIFY(!b.find<QAction>("mCopy")->isEnabled());
        QVERIFY(b.find<QAction>("mNotepad")->isEnabled());
        QCOMPARE(b.find<QComboBox>("cbFavoriteFolders")->currentIndex(), 0);

        b.typeClass(QStringLiteral("[ALL]"));
        QCOMPARE(b.shown(), (QStringList{"Eta - [?%]", "Zeta - [0%]"}));

        // The garage favourite switches to folder mode; "Vehicle.mas" back to the archive.
        emit b.find<QComboBox>("cbFavoriteFolders")->activated(1);
        QVERIFY(!dialog.list().archiveMode());
        QVERIFY(b.find("lbFolders")->isVisible());
        QCOMPARE(q(b.find<gui::FolderTree>("lbFolders")->folder()), q(b.garage));
        QCOMPARE(b.find<QLineEdit>("eFileCount")->text(), QStringLiteral("0"));
        QVERIFY(!dialog.okButton()->isEnabled());
        emit b.find<QComboBox>("cbFavoriteFolders")->activated(0);
        QVERIFY(dialog.list().archiveMode());
        // "Vehicle.mas" cannot be removed.
        b.find<QToolButton>("bDeleteFolder")->click();
        QCOMPARE(b.find<QComboBox>("cbFavoriteFolders")->count(), 2);
        QCOMPARE(b.prompt.calls.back().kind, ScriptedPrompt::Call::Beep);

        // Notepad on an entry opens a throwaway copy, after the warning.
        RecordingEditor editor;
        gui::ScopedTextEditorLauncher scoped(editor);
        b.trigger("mNotepad");
        const std::string temp = b.dir.file("prog/MasVeh/~temp~.txt");
        QCOMPARE(editor.opened, std::vector<std::string>{temp});
        QCOMPARE(q(b.prompt.calls.back().title), QStringLiteral("QORA Notepad Launcher"));
        QCOMPARE(q(b.prompt.calls.back().text),
                 q("This function only allows you to load the temp file [" + temp +
                   "].  You cannot update any changes using this method to your vehicle.mas file."));
        dialog.close();

        // Without an archive the favourite only says why.
        Browser without;
        gui::VehicleBrowserDialog& folderOnly = without.open("[ALL]", false);
        emit without.find<QComboBox>("cbFavoriteFolders")->activated(0);
        QVERIFY(!folderOnly.list().archiveMode());
        QCOMPARE(q(without.prompt.calls.back().title), QStringLiteral("QORA Mas Reader"));
        QCOMPARE(q(without.prompt.calls.back().text),
                 QStringLiteral("Errors previously occurred preventing opening of your Vehicle.mas file."));
    }

    // The report comes when the dialog shows the folder's listing, once; typing a class afterwards is not
    // interrupted by it.
    void unreadableFilesAreReportedWhenTheFolderIsShown() {
        Browser b;
        writeBytes(b.cars + "/broken.veh", "not a vehicle\r\n");
        gui::VehicleBrowserDialog& dialog = b.open();
        QVERIFY(b.dialogs.shown.isEmpty()); // the first list is built before the dialog shows
        QStringList reported;
        QString notes;
        bool cancelShown = true;
        b.dialogs.then([&](QDialog& shown) {
            auto& report = dialogAs<gui::FileManagerDialog>(shown);
            reported = rows(report.checkList());
            notes = report.notes()->toPlainText();
            cancelShown = !report.cancelButton()->isHidden() || !report.selectAllButton()->isHidden();
            return int(QDialog::Accepted);
        });
        dialog.show();
        QCOMPARE(b.dialogs.shown, QStringList{"dlgFileMan"});
        QCOMPARE(reported, QStringList{"broken.veh"});
        QVERIFY(!cancelShown);
        QCOMPARE(notes, QStringLiteral("The files listed below are either corrupt or compressed and could not be "
                                       "loaded.  If you wish to ignore this message dialog in the future, select "
                                       "Edit\\Options and disable 'Warn If Compressed Veh Files Found'."));
        b.typeClass(QStringLiteral("GT1"));
        QCOMPARE(b.dialogs.shown, QStringList{"dlgFileMan"});
        dialog.close();
    }

    void copyMoveAndDeleteAVehicleWithItsCompanions() {
        Browser b;
        b.open();
        const QStringList companions{"g01b.txt", "g01b.veb", "g01b.veh", "g01b.vex", "G01BSIDE.BMP"};
        const auto pickFolder = [](const std::string& folder) {
            return [folder](QDialog& shown) {
                auto& picker = dialogAs<gui::SelectFolderDialog>(shown);
                if (picker.caption() != QStringLiteral("Choose Destination Folder"))
                    return int(QDialog::Rejected);
                picker.setFolder(folder);
                return int(QDialog::Accepted);
            };
        };
        QStringList listed;
        // Leaves the notes file out.
        const auto confirmWithoutNotes = [&](QDialog& shown) {
            auto& check = dialogAs<gui::FileManagerDialog>(shown);
            listed = rows(check.checkList());
            check.checkList()->item(0)->setCheckState(Qt::Unchecked);
            return int(QDialog::Accepted);
        };

        // Copy: the source stays, the destination gets the ticked files.
        b.dialogs.then(pickFolder(b.garage)).then(confirmWithoutNotes);
        b.trigger("mCopy");
        QCOMPARE(listed, companions);
        QCOMPARE(q(b.settings.moveToFolder), q(b.garage));
        for (const char* name : {"g01b.veb", "g01b.veh", "g01b.vex", "G01BSIDE.BMP"})
            QVERIFY2(readBytes(b.garage + "/" + name) == readBytes(b.cars + "/" + name), name);
        QVERIFY(!fs::exists(b.garage + "/g01b.txt"));
        QCOMPARE(b.shown().size(), 3);

        // The source folder is refused as destination before any list is shown.
        b.dialogs.then(pickFolder(b.cars));
        b.trigger("mMove");
        QCOMPARE(q(b.prompt.calls.back().text),
                 QStringLiteral("The destination folder must not be the same as the source folder."));
        QCOMPARE(b.dialogs.unusedSteps(), std::size_t(0));

        // Move over the earlier copies: asked per existing file; No keeps the target and the source.
        writeBytes(b.cars + "/g01b.veh", vehicleText("Alpha moved", "GT1", "1"));
        b.prompt.answer(PromptAnswer::No).answer(PromptAnswer::Yes).answer(PromptAnswer::Yes).answer(PromptAnswer::Yes);
        b.dialogs.then(pickFolder(b.garage)).then(confirmWithoutNotes);
        b.trigger("mMove");
        const auto questions = b.prompt.questions();
        QCOMPARE(q(questions.front().title), QStringLiteral("QORA File Manager"));
        QCOMPARE(q(questions.front().text),
                 QStringLiteral("File [g01b.veb] already exists in destination folder.  Overwrite?"));
        QVERIFY(fs::exists(b.cars + "/g01b.veb"));
        QVERIFY(!fs::exists(b.cars + "/g01b.veh"));
        QVERIFY(readBytes(b.garage + "/g01b.veh").find("Alpha moved") != std::string::npos);
        QCOMPARE(b.shown(), (QStringList{"Bravo - [?%]", "Charlie - [Random]"})); // listed again

        // Delete: the warning, the list, Select None disables OK; a file that cannot go is reported.
        b.select(QStringLiteral("rally.veh"));
        FailingFileSystem failing;
        failing.failRemoves = true;
        failing.filter = [](const std::string& path) { return path.find("rally.veh") != std::string::npos; };
        ScopedFileSystem scoped(failing);
        writeBytes(b.cars + "/rally.veb", "backup");
        bool okWithNone = true;
        b.dialogs.then([&](QDialog& shown) {
            auto& check = dialogAs<gui::FileManagerDialog>(shown);
            listed = rows(check.checkList());
            check.selectNoneButton()->click();
            okWithNone = check.okButton()->isEnabled();
            check.selectAllButton()->click();
            return check.okButton()->isEnabled() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        b.trigger("mDelete");
        QCOMPARE(listed, (QStringList{"rally.veb", "rally.veh"}));
        QVERIFY(!okWithNone);
        const auto messages = b.prompt.messages();
        QCOMPARE(q(messages[messages.size() - 2].title), QStringLiteral("QORA Vehicle Manager"));
        QCOMPARE(q(messages.back().text), q("Cannot delete file [" + b.cars + "/rally.veh]."));
        QVERIFY(!fs::exists(b.cars + "/rally.veb"));
        QVERIFY(fs::exists(b.cars + "/rally.veh"));
    }

    void selectFolderWithAFileList() {
        TempDir dir;
        ScriptedPrompt prompt;
        gui::SelectFolderDialog picker(prompt);
        QCOMPARE(picker.caption(), QStringLiteral("Locate Folder"));
        QVERIFY(picker.files()->isHidden());
        picker.setFolder(dir.path());
        QCOMPARE(q(picker.folder()), q(dir.path()));
        // Without the file list any folder will do.
        picker.accept();
        QCOMPARE(picker.result(), int(QDialog::Accepted));

        picker.showFileList("*.veh");
        QVERIFY(!picker.okButton()->isEnabled());
        picker.setResult(QDialog::Rejected);
        picker.accept();
        QCOMPARE(picker.result(), int(QDialog::Rejected));
        QCOMPARE(q(prompt.messages().at(0).title), QStringLiteral("QORA File Manager"));
        QCOMPARE(q(prompt.messages().at(0).text), QStringLiteral("No valid file selected."));

        writeBytes(dir.file("Car.VEH"), "x");
        writeBytes(dir.file("car.txt"), "x");
        picker.setFolder(dir.path());
        QCOMPARE(rows(picker.files()), QStringList{"Car.VEH"});
        picker.files()->setCurrentRow(0);
        QVERIFY(picker.okButton()->isEnabled());
        picker.accept();
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(q(picker.selectedFile()), QStringLiteral("Car.VEH"));
    }
};

QTEST_MAIN(TestBrowser)
#include "test_browser.moc"
