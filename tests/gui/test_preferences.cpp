#include <QtTest>

#include <filesystem>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardPaths>

#include "editor/field_widgets.h"
#include "settings/desktop_association.h"
#include "settings/preferences_dialog.h"
#include "support/editor_fixture.h"

using namespace qora;
using namespace qora::testing;
using gui::PreferencesDialog;

namespace {

// Records the desktop tools QORA runs instead of running them; every tool counts as installed.
struct RecordingRunner final : gui::CommandRunner {
    std::vector<std::string> ran;
    bool available(const std::string&) override { return true; }
    int run(const std::string& program, const std::vector<std::string>& arguments) override {
        std::string line = program;
        for (const std::string& argument : arguments)
            line += " " + argument;
        ran.push_back(line);
        return 0;
    }
};

// Fills in the Preferences as the user would, then presses OK.
ScriptedDialogRunner::Step preferencesStep(const QString& gearRange, bool hideSpinButtons, bool associate) {
    return [=](QDialog& dialog) {
        auto* preferences = dynamic_cast<PreferencesDialog*>(&dialog);
        if (preferences == nullptr)
            throw std::logic_error("expected the Preferences, got " + dialog.objectName().toStdString());
        preferences->findChild<QLineEdit*>(QStringLiteral("eMaxGearRange"))->setText(gearRange);
        preferences->findChild<QCheckBox*>(QStringLiteral("cbHideSpinButtons"))->setChecked(hideSpinButtons);
        preferences->findChild<QCheckBox*>(QStringLiteral("cbAssociate"))->setChecked(associate);
        preferences->accept();
        return preferences->result();
    };
}

} // namespace

class TestPreferences : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void theGearRangeMustLieFromFourToUnderTen() {
        QCOMPARE(gui::maxGearRangeFromText("9.999"), std::optional<int>(9999));
        QCOMPARE(gui::maxGearRangeFromText(" 4 "), std::optional<int>(4000));
        QCOMPARE(gui::maxGearRangeFromText("4.1"), std::optional<int>(4100));
        QCOMPARE(gui::maxGearRangeFromText("6.0005"), std::optional<int>(6000));
        for (const char* refused : {"3.999", "10", "10.0", "", "six", "-5", "4,5"})
            QVERIFY2(!gui::maxGearRangeFromText(refused), refused);

        ScriptedPrompt prompt;
        ScriptedFolderPicker folders;
        PreferencesDialog dialog(prompt, folders);
        auto* range = dialog.findChild<QLineEdit*>(QStringLiteral("eMaxGearRange"));
        QCOMPARE(range->text(), QStringLiteral("6.000"));
        for (const QString& refused : {QStringLiteral("3.999"), QStringLiteral("10")}) {
            dialog.setResult(QDialog::Rejected);
            range->setText(refused);
            dialog.accept();
            QVERIFY2(dialog.result() != QDialog::Accepted, qPrintable(refused));
            QCOMPARE(prompt.messages().back().title, std::string(gui::kGearRangeTitle));
            QCOMPARE(prompt.messages().back().text, std::string(gui::kGearRangeMessage));
        }
        // While the text is not valid the dialog reports the range it was given.
        QCOMPARE(dialog.preferences().maxGearRange, 6000);
        const std::size_t told = prompt.messages().size();
        range->setText(QStringLiteral("9.999"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(prompt.messages().size(), told);
        QCOMPARE(dialog.preferences().maxGearRange, 9999);
    }

    void okSetsTheGearBarsAndSpinButtonsAndARefusedRangeKeepsTheDialogOpen() {
        EditorFixture editor;
        editor.startWith();
        auto* bar = editor.find<QScrollBar>("sbGear1");
        QVERIFY(bar != nullptr);
        const QString firstGear = editor.find<QLineEdit>("eGear1")->text();

        editor.dialogs.then([](QDialog& dialog) {
            auto* range = dialog.findChild<QLineEdit*>(QStringLiteral("eMaxGearRange"));
            range->setText(QStringLiteral("10"));
            dialog.accept(); // refused: the message shows and the dialog stays
            if (dialog.result() == QDialog::Accepted)
                throw std::logic_error("a gear range of 10 was accepted");
            range->setText(QStringLiteral("7.5"));
            dialog.findChild<QCheckBox*>(QStringLiteral("cbHideSpinButtons"))->setChecked(true);
            dialog.accept();
            return dialog.result();
        });
        QVERIFY(triggerAction(editor.window.get(), "mOptions"));
        QCOMPARE(editor.dialogs.unusedSteps(), std::size_t(0));
        QCOMPARE(editor.prompt.messages().size(), std::size_t(1));
        QCOMPARE(editor.prompt.messages().front().title, std::string(gui::kGearRangeTitle));

        QCOMPARE(bar->maximum(), 7500);
        QCOMPARE(editor.find<QLineEdit>("eGear1")->text(), firstGear); // the gear keeps its value
        const QList<gui::SpinButton*> spins = editor.window->findChildren<gui::SpinButton*>();
        QVERIFY(!spins.isEmpty());
        for (const gui::SpinButton* spin : spins) // the chart point's as well
            QVERIFY(spin->isHidden());

        // Cancel changes nothing.
        editor.dialogs.then([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("eMaxGearRange"))->setText(QStringLiteral("5"));
            return int(QDialog::Rejected);
        });
        QVERIFY(triggerAction(editor.window.get(), "mOptions"));
        QCOMPARE(bar->maximum(), 7500);
    }

    void theAssociationGoesOnAndOffForTheUser() {
        TempDir xdg;
        const std::string dataHome = xdg.path() + "/share";
        const std::string configHome = xdg.path() + "/config";
        std::filesystem::create_directories(configHome);
        // Another program's defaults in the same list stay when QORA's goes.
        writeBytes(configHome + "/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop\n");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configHome));
        RecordingRunner runner;
        gui::ScopedCommandRunner scoped(runner);

        EditorFixture editor;
        editor.startWith();
        gui::DesktopAssociation desktop(gui::userDesktopFolders(), runner);
        QCOMPARE(desktop.desktopEntryPath(), dataHome + "/applications/io.qora.Qora.desktop");
        QVERIFY(!desktop.isInstalled());

        editor.dialogs.then(preferencesStep(QStringLiteral("6.000"), false, true));
        QVERIFY(triggerAction(editor.window.get(), "mOptions"));
        QVERIFY(desktop.isInstalled());
        const std::string entry = readBytes(desktop.desktopEntryPath());
        QVERIFY(entry.find("MimeType=application/x-trevant-vehicle;") != std::string::npos);
        QVERIFY(entry.find("Exec=") != std::string::npos);
        QVERIFY(readBytes(desktop.mimePackagePath()).find("*.veh") != std::string::npos);
        QVERIFY(std::filesystem::exists(desktop.iconPath(48)));
        QVERIFY(std::find(runner.ran.begin(), runner.ran.end(),
                          "xdg-mime default io.qora.Qora.desktop application/x-trevant-vehicle") != runner.ran.end());
        QCOMPARE(editor.prompt.messages().back().title, std::string("QORA File Association"));

        // The dialog shows the association as on; unticking removes it and QORA's default, nothing else.
        writeBytes(desktop.mimeAppsListPath(), "[Default Applications]\ntext/plain=editor.desktop\n"
                                               "application/x-trevant-vehicle=io.qora.Qora.desktop\n");
        editor.dialogs.then([](QDialog& dialog) {
            if (!dialog.findChild<QCheckBox*>(QStringLiteral("cbAssociate"))->isChecked())
                throw std::logic_error("the association is not shown as on");
            return preferencesStep(QStringLiteral("6.000"), false, false)(dialog);
        });
        QVERIFY(triggerAction(editor.window.get(), "mOptions"));
        QCOMPARE(editor.dialogs.unusedSteps(), std::size_t(0));
        QVERIFY(!desktop.isInstalled());
        QVERIFY(!std::filesystem::exists(desktop.iconPath(48)));
        const std::string list = readBytes(desktop.mimeAppsListPath());
        QVERIFY(list.find("text/plain=editor.desktop") != std::string::npos);
        QVERIFY(list.find("io.qora.Qora") == std::string::npos);

        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
    }

    // The registration is all or nothing: a desktop that cannot take it leaves the registry store without it too,
    // so the Preferences do not show the box ticked next time.
    void anAssociationThatFailsHalfWayIsUndone() {
        TempDir xdg;
        writeBytes(xdg.path() + "/share", "a file where the data folder should be");
        std::filesystem::create_directories(xdg.path() + "/config");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(xdg.path() + "/share"));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(xdg.path() + "/config"));
        RecordingRunner runner;
        gui::ScopedCommandRunner scoped(runner);

        EditorFixture editor;
        editor.startWith();
        editor.dialogs.then(preferencesStep(QStringLiteral("6.000"), false, true));
        QVERIFY(triggerAction(editor.window.get(), "mOptions"));
        QCOMPARE(editor.prompt.messages().back().icon, PromptIcon::Stop);
        QVERIFY(!editor.window->settings().isAssociated());
        editor.dialogs.then([](QDialog& dialog) {
            if (dialog.findChild<QCheckBox*>(QStringLiteral("cbAssociate"))->isChecked())
                throw std::logic_error("a failed association is shown as on");
            return int(QDialog::Rejected);
        });
        QVERIFY(triggerAction(editor.window.get(), "mOptions"));
        QCOMPARE(editor.dialogs.unusedSteps(), std::size_t(0));

        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
    }

    void aProgramPathADesktopEntryCannotHoldIsRefusedBeforeAnythingIsWritten() {
        QCOMPARE(gui::desktopExecLine("/opt/my cars/qora"), std::string("\"/opt/my cars/qora\" %f"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, gui::desktopExecLine("/tmp/a\nb/qora"));

        TempDir xdg;
        RecordingRunner runner;
        gui::DesktopAssociation desktop({xdg.path() + "/share", xdg.path() + "/config"}, runner);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, desktop.install("/tmp/a\nb/qora"));
        QVERIFY(!std::filesystem::exists(xdg.path() + "/share"));
        QVERIFY(runner.ran.empty());
    }
};

QTEST_MAIN(TestPreferences)
#include "test_preferences.moc"
