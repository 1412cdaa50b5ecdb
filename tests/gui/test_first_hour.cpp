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
#include <QTabWidget>
#include <QTabBar>

#include "support/editor_fixture.h"

using namespace qora;
using namespace qora::testing;

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

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
                    QVERIFY2(!taken.count(*letter), qPrintable(QStringLiteral("Alt+%1: \"%2\" and \"%3\"")
                                                                   .arg(*letter, taken[*letter], text)));
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
                QVERIFY2(!taken.count(*letter), qPrintable(QStringLiteral("%1: \"%2\" and \"%3\"")
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
};

QTEST_MAIN(TestFirstHour)
#include "test_first_hour.moc"
