// The editor and another program changing its files: the question before a save over a changed file, the reload
// offered when the user comes back to the window, a deleted file, the ghost read again.

#include <QtTest>

#include <filesystem>
#include <string>

#include <QApplication>
#include <QLineEdit>

#include "support/editor_fixture.h"
#include "support/qt_strings.h"

using namespace qora;
using namespace qora::testing;
namespace fs = std::filesystem;

namespace {

bool contains(const std::string& bytes, const std::string& part) {
    return bytes.find(part) != std::string::npos;
}

// What another program does: the file's bytes with one text replaced.
void changeOnDisk(const std::string& path, const std::string& from, const std::string& to) {
    std::string bytes = readBytes(path);
    bytes.replace(bytes.find(from), from.size(), to);
    writeBytes(path, bytes);
}

// The user comes back to the window: the watcher's notice arrives and the window is active.
void comeBack(EditorFixture& editor) {
    QApplication::setActiveWindow(editor.window.get());
    editor.window->activateWindow();
    QTest::qWait(600);
}

QString text(EditorFixture& editor, const char* name) {
    return editor.find<QLineEdit>(name)->text();
}

} // namespace

class TestDiskChanges : public QObject {
    Q_OBJECT

private slots:
    void aSaveOverAFileChangedElsewhereAsksFirst() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        editor.window->pages()->setCurrentIndex(6);
        editor.type("eMass", QStringLiteral("1250.5"));
        changeOnDisk(car, "fuel=(", "fuel=(9");
        const std::string theirs = readBytes(car);

        // No (the default): the file keeps the other program's change, the window its edits.
        editor.prompt.answer(PromptAnswer::No);
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        const auto question = editor.prompt.questions().back();
        QCOMPARE(q(question.title), QStringLiteral("QORA File Changed"));
        QCOMPARE(q(question.text), q("[" + car +
                                     "] was changed by another program since QORA opened it. Overwrite it "
                                     "with your edits?"));
        QCOMPARE(question.buttons, PromptButtons::YesNo);
        QCOMPARE(question.defaultButton, std::optional<PromptAnswer>(PromptAnswer::No));
        QCOMPARE(readBytes(car), theirs);
        QVERIFY(editor.window->isChanged());

        // Yes: the edits are saved, and the other program's version is in the backup.
        editor.prompt.answer(PromptAnswer::Yes);
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(contains(readBytes(car), "mass=(1250.5)"));
        QCOMPARE(readBytes(editor.home.file("car.veX")), theirs);
        QVERIFY(!editor.window->isChanged());

        // The file is now as QORA wrote it: the next save asks nothing.
        const std::size_t asked = editor.prompt.questions().size();
        editor.type("eMass", QStringLiteral("1260.5"));
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QCOMPARE(editor.prompt.questions().size(), asked);
        comeBack(editor);
        QCOMPARE(editor.prompt.questions().size(), asked); // QORA's own save is not another program's change
    }

    void aChangeOnDiskIsOfferedAsAReloadWhenTheUserComesBack() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        editor.window->pages()->setCurrentIndex(6);

        // Without edits, Reload is the default; chosen, the window shows the file as it is now.
        editor.prompt.choice(0);
        changeOnDisk(car, "mass=(1125.0)", "mass=(1400.0)");
        comeBack(editor);
        QTRY_COMPARE(editor.prompt.questions().size(), std::size_t(1));
        const auto offer = editor.prompt.questions().back();
        QCOMPARE(q(offer.title), QStringLiteral("QORA File Changed"));
        QCOMPARE(q(offer.text), q("[" + car +
                                  "] was changed by another program.  Reload it, or keep your version "
                                  "(saving then overwrites the other program's changes)?"));
        QCOMPARE(offer.choices, (std::vector<std::string>{"Reload", "Keep my version"}));
        QCOMPARE(offer.defaultIndex, 0);
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1400.0"));
        QVERIFY(!editor.window->isChanged());

        // With edits, Keep my version is the default; chosen, the edits stay and the save asks no more.
        editor.type("eMass", QStringLiteral("1500.0"));
        editor.prompt.choice(1);
        changeOnDisk(car, "mass=(1400.0)", "mass=(1450.0)");
        comeBack(editor);
        QTRY_COMPARE(editor.prompt.questions().size(), std::size_t(2));
        QCOMPARE(editor.prompt.questions().back().defaultIndex, 1);
        QCOMPARE(text(editor, "eMass"), QStringLiteral("1500.0"));
        QVERIFY(editor.window->isChanged());
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QCOMPARE(editor.prompt.questions().size(), std::size_t(2));
        QVERIFY(contains(readBytes(car), "mass=(1500.0)"));
    }

    void aDeletedFileIsToldAndTheNextSaveWritesItAgain() {
        EditorFixture editor;
        const std::string car = editor.startWith();
        fs::remove(car);
        comeBack(editor);
        QTRY_COMPARE(editor.prompt.messages().size(), std::size_t(1));
        QCOMPARE(q(editor.prompt.messages().back().text),
                 q("[" + car +
                   "] was deleted by another program.  The vehicle is still open in QORA: save it (F2) to "
                   "write the file again."));
        QVERIFY(editor.window->isChanged());
        QVERIFY(triggerAction(editor.window.get(), "mSave"));
        QVERIFY(fs::exists(car));
        QVERIFY(editor.prompt.questions().empty());
    }

    void theGhostIsReadAgainWithoutAQuestion() {
        EditorFixture editor;
        editor.startWith();
        const std::string ghost = editor.copy("template.veh", "ghost.veh");
        QVERIFY(editor.window->openGhostFile(ghost));
        editor.window->pages()->setCurrentIndex(6);
        QCOMPARE(text(editor, "geMass"), QStringLiteral("1125.0"));
        changeOnDisk(ghost, "mass=(1125.0)", "mass=(1300.0)");
        comeBack(editor);
        QTRY_COMPARE(text(editor, "geMass"), QStringLiteral("1300.0"));
        QVERIFY(editor.prompt.questions().empty());
        QVERIFY(!editor.window->isChanged());
    }
};

QTEST_MAIN(TestDiskChanges)
#include "test_disk_changes.moc"
