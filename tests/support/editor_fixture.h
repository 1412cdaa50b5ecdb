#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QLineEdit>
#include <QString>
#include <QtTest>

#include "editor/main_window.h"
#include "platform/pickers.h"
#include "support/gui_test_support.h"
#include "support/scripted_folder_picker.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

namespace qora::testing {

// The editor as a user starts it: a program folder of its own (QORA_HOME, which is also the patch and the game
// folder), scripted answers for every message box, file dialog, modal dialog and folder picker.
struct EditorFixture {
    TempDir home;
    ScriptedPrompt prompt;
    ScriptedFileDialogHook files;
    ScriptedDialogRunner dialogs;
    ScriptedFolderPicker folders;
    NoFilePicker filePicker;
    std::unique_ptr<gui::MainWindow> window;

    EditorFixture() { qputenv("QORA_HOME", QByteArray::fromStdString(home.path())); }

    // A settings file of this version whose last vehicle is `lastFile`, so the start asks nothing. `extra` is
    // added to its [SETTINGS] section.
    void writeSettings(const std::string& lastFile, const std::string& extra = {}) {
        writeBytes(home.file("qora.ini"), "[SETTINGS]\r\nVersion=4.0\r\nPatchFolder=" + home.path() +
                                              "\r\nTrevantInstallPath=" + home.path() + "\r\nLastFile=" + lastFile +
                                              "\r\n" + extra + "[FAVORITES]\r\nFavoriteFolder0=Vehicle.mas\r\n");
    }

    // A copy of a fixture in the program folder.
    std::string copy(const std::string& fixture, const std::string& as) {
        const std::string target = home.file(as);
        std::filesystem::copy_file(dataFile(fixture), target, std::filesystem::copy_options::overwrite_existing);
        return target;
    }

    // The template with some of its text replaced (the first occurrence of each), written into the program folder.
    std::string writeVehicle(const std::string& name, const std::vector<std::pair<std::string, std::string>>& edits) {
        std::string bytes = readBytes(dataFile("template.veh"));
        for (const auto& [from, to] : edits)
            bytes.replace(bytes.find(from), from.size(), to);
        const std::string path = home.file(name);
        writeBytes(path, bytes);
        return path;
    }

    // Starts with a copy of the fixture as last vehicle.
    std::string startWith(const std::string& fixture = "template.veh", const std::string& as = "car.veh",
                          const std::string& extraSettings = {}) {
        const std::string path = copy(fixture, as);
        writeSettings(path, extraSettings);
        start();
        return path;
    }

    void start() {
        window = std::make_unique<gui::MainWindow>(gui::MainWindowHost{prompt, files, dialogs, folders, filePicker});
        window->show();
        window->start();
    }

    template <typename T = QWidget> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) const { return find<QAction>(name); }

    // Replaces a field's text by typing, as the user does.
    void type(const char* name, const QString& text) {
        QLineEdit* field = find<QLineEdit>(name);
        QVERIFY2(field != nullptr, name);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
};

} // namespace qora::testing
