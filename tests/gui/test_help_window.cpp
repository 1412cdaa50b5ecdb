#include <QtTest>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>

#include "help/help_window.h"
#include "support/editor_fixture.h"

using namespace qora;
using namespace qora::testing;
using gui::HelpWindow;

namespace {

QString builtInGuideText() {
    QFile file(gui::builtInUserGuidePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList captures(const QString& text, const QString& pattern) {
    QStringList out;
    QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext())
        out << it.next().captured(1);
    return out;
}

QString withoutAccelerator(QString text) {
    return text.remove(QLatin1Char('&'));
}

HelpWindow* helpWindow(const EditorFixture& editor) {
    return editor.window->findChild<HelpWindow*>();
}

QStringList contentsAnchors(const HelpWindow& window) {
    QStringList anchors;
    for (QTreeWidgetItemIterator it(window.contents()); *it != nullptr; ++it)
        anchors << (*it)->data(0, Qt::UserRole).toString();
    return anchors;
}

} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT

private slots:
    void menuEntryOpensTheBuiltInGuide() {
        EditorFixture editor;
        editor.startWith();
        QAction* item = editor.action("mQORAHelp");
        QVERIFY(item->isEnabled());
        QCOMPARE(item->text(), QStringLiteral("&QORA Help..."));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));

        QVERIFY(triggerAction(editor.window.get(), "mQORAHelp"));
        HelpWindow* window = helpWindow(editor);
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QCOMPARE(window->windowTitle(), QStringLiteral("QORA Help"));
        QCOMPARE(window->guide(), QUrl(QStringLiteral("qrc:/qora/help/qorahelp.htm")));
        QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("QORA User Guide")));
        QVERIFY(editor.prompt.messages().empty());

        // The contents pane lists the guide's sections, with their subsections beneath them.
        QTreeWidget* contents = window->contents();
        QCOMPARE(contents->topLevelItemCount(), 14);
        QCOMPARE(contents->topLevelItem(0)->text(0), QStringLiteral("1. Getting started"));
        QCOMPARE(contents->topLevelItem(1)->child(1)->text(0), QStringLiteral("From the archive (Vehicle.Mas)"));

        // Asking again brings the same window back, where the reader left it.
        window->browser()->setSource(window->guide().resolved(QUrl(QStringLiteral("#garage"))));
        window->close();
        QVERIFY(triggerAction(editor.window.get(), "mQORAHelp"));
        QCOMPARE(editor.window->findChildren<HelpWindow*>().size(), 1);
        QVERIFY(window->isVisible());
        QCOMPARE(window->browser()->source().fragment(), QStringLiteral("garage"));
    }

    void linksContentsAndHistoryNavigate() {
        EditorFixture editor;
        editor.startWith();
        QVERIFY(triggerAction(editor.window.get(), "mQORAHelp"));
        HelpWindow* window = helpWindow(editor);
        QTextBrowser* browser = window->browser();
        std::vector<QUrl> external;
        window->setExternalOpener([&](const QUrl& url) { external.push_back(url); });
        auto* back = window->findChild<QAction*>(QStringLiteral("aBack"));
        auto* forward = window->findChild<QAction*>(QStringLiteral("aForward"));
        QVERIFY(!back->isEnabled());

        // A link of the guide's contents list goes to its section, and the contents pane follows.
        emit browser->anchorClicked(QUrl(QStringLiteral("#chart")));
        QCOMPARE(browser->source().fragment(), QStringLiteral("chart"));
        QCOMPARE(window->contents()->currentItem()->text(0), QStringLiteral("4. The engine chart"));
        QVERIFY(back->isEnabled());

        // Clicking a contents entry goes there too.
        QTreeWidgetItem* garage = window->contents()->findItems(QStringLiteral("8. My Garage"), Qt::MatchExactly)[0];
        emit window->contents()->itemClicked(garage, 0);
        QCOMPARE(browser->source().fragment(), QStringLiteral("garage"));

        back->trigger();
        QCOMPARE(browser->source().fragment(), QStringLiteral("chart"));
        QVERIFY(forward->isEnabled());
        forward->trigger();
        QCOMPARE(browser->source().fragment(), QStringLiteral("garage"));
        window->findChild<QAction*>(QStringLiteral("aHome"))->trigger();
        QCOMPARE(browser->source(), window->guide());

        // Web links leave the guide for the desktop's browser; the guide stays where it is.
        emit browser->anchorClicked(QUrl(QStringLiteral("https://example.org/trevant")));
        QCOMPARE(external.size(), std::size_t(1));
        QCOMPARE(external[0], QUrl(QStringLiteral("https://example.org/trevant")));
        QCOMPARE(browser->source(), window->guide());

        // The web browser is handed a copy of the guide it can read.
        window->findChild<QAction*>(QStringLiteral("aOpenInBrowser"))->trigger();
        QCOMPARE(external.size(), std::size_t(2));
        QVERIFY(external[1].isLocalFile());
        QFile copy(external[1].toLocalFile());
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QVERIFY(copy.readAll().contains("QORA User Guide"));
    }

    void findWrapsAndSaysWhenNothingMatches() {
        EditorFixture editor;
        editor.startWith();
        QVERIFY(triggerAction(editor.window.get(), "mQORAHelp"));
        HelpWindow* window = helpWindow(editor);
        QTextBrowser* browser = window->browser();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));

        QVERIFY(window->find(QStringLiteral("Vehicle.Mas")));
        const int first = browser->textCursor().selectionStart();
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("Vehicle.Mas"));
        QVERIFY(window->find(QStringLiteral("vehicle.mas")));
        QVERIFY(browser->textCursor().selectionStart() > first);
        // Backwards from the first match goes round to the last one.
        browser->setTextCursor([&] {
            QTextCursor at = browser->textCursor();
            at.setPosition(first);
            return at;
        }());
        QVERIFY(window->find(QStringLiteral("Vehicle.Mas"), true));
        QVERIFY(browser->textCursor().selectionStart() > first);
        QVERIFY(!window->find(QStringLiteral("no such words in the guide")));

        // Ctrl+F opens the find bar; typing searches as it goes and says when nothing matches.
        auto* bar = window->findChild<QWidget*>(QStringLiteral("pFindBar"));
        QVERIFY(!bar->isVisible());
        window->findChild<QAction*>(QStringLiteral("aFind"))->trigger();
        QCOMPARE(window->findChild<QAction*>(QStringLiteral("aFind"))->shortcut(), QKeySequence(QKeySequence::Find));
        QVERIFY(bar->isVisible());
        auto* text = window->findChild<QLineEdit*>(QStringLiteral("eFind"));
        QTest::keyClicks(text, QStringLiteral("Garage"));
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("Garage"));
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("lFindStatus"))->text().isEmpty());
        QTest::keyClicks(text, QStringLiteral("zz"));
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lFindStatus"))->text(), QStringLiteral("Not found"));
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
    }

    void programFolderGuideTakesPrecedence() {
        EditorFixture editor;
        writeBytes(editor.home.file("qorahelp.htm"),
                   "<html><head><title>Modded</title></head><body><h1>Our team's guide</h1>"
                   "<h2><a name=\"setups\"></a>Setups</h2><p>See <a href=\"#setups\">setups</a>.</p>"
                   "<h3><a name=\"wet\"></a>Wet races</h3><p>Soft tyres.</p></body></html>");
        editor.startWith();
        QVERIFY(triggerAction(editor.window.get(), "mQORAHelp"));
        HelpWindow* window = helpWindow(editor);
        QCOMPARE(window->guide(), QUrl::fromLocalFile(QString::fromStdString(editor.home.file("qorahelp.htm"))));
        QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("Our team's guide")));
        QCOMPARE(contentsAnchors(*window), QStringList({QStringLiteral("setups"), QStringLiteral("wet")}));
        emit window->browser()->anchorClicked(QUrl(QStringLiteral("#wet")));
        QCOMPARE(window->browser()->source().fragment(), QStringLiteral("wet"));
    }

    void unreadableProgramFolderGuideFallsBackToTheBuiltInOne() {
        TempDir folder;
        std::filesystem::create_directory(folder.file("qorahelp.htm"));
        QCOMPARE(gui::locateUserGuide(QString::fromStdString(folder.path())),
                 QUrl(QStringLiteral("qrc:/qora/help/qorahelp.htm")));
        QCOMPARE(gui::locateUserGuide(QString::fromStdString(folder.path()), QStringLiteral(":/no/such/guide.htm")),
                 QUrl());
    }

    void missingGuideIsReported() {
        EditorFixture editor;
        editor.startWith();
        // Without the built-in guide, and with none in the program folder, there is nothing to show.
        Q_CLEANUP_RESOURCE(qora_user_guide);
        const bool triggered = triggerAction(editor.window.get(), "mQORAHelp");
        Q_INIT_RESOURCE(qora_user_guide);
        QVERIFY(triggered);
        QVERIFY(helpWindow(editor) == nullptr);
        QCOMPARE(editor.prompt.messages().size(), std::size_t(1));
        const ScriptedPrompt::Call message = editor.prompt.messages()[0];
        QCOMPARE(message.title, std::string("QORA RunHelp"));
        QCOMPARE(message.text, "Unable to locate file" + editor.home.file("qorahelp.htm"));
        QCOMPARE(message.icon, PromptIcon::Stop);
    }

    void f1ExplainsAFieldAndOpensTheGuideElsewhere() {
        EditorFixture editor;
        editor.startWith();
        editor.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));

        editor.window->pages()->setCurrentIndex(6);
        QLineEdit* mass = editor.find<QLineEdit>("eMass");
        mass->setFocus();
        QTest::keyClick(mass, Qt::Key_F1);
        QCOMPARE(editor.dialogs.shown, QStringList({QStringLiteral("dlgInfo")}));
        QVERIFY(helpWindow(editor) == nullptr);

        QWidget* tabs = editor.window->pages()->tabBar();
        tabs->setFocus();
        QTest::keyClick(tabs, Qt::Key_F1);
        QVERIFY(helpWindow(editor) != nullptr);
        QCOMPARE(editor.dialogs.shown.size(), 1);
    }

    // ---- The guide itself ---------------------------------------------------------------------------------

    void everyLinkInTheGuideLeadsSomewhere() {
        const QString guide = builtInGuideText();
        QVERIFY(!guide.isEmpty());

        const QStringList names = captures(guide, QStringLiteral("<a\\s+name=\"([^\"]+)\""));
        const std::set<QString> targets(names.begin(), names.end());
        QCOMPARE(targets.size(), std::size_t(names.size())); // no anchor name twice

        const QStringList links = captures(guide, QStringLiteral("href=\"([^\"]*)\""));
        QVERIFY(links.size() > 30);
        for (const QString& link : links) {
            if (link.startsWith(QLatin1Char('#')))
                QVERIFY2(targets.count(link.mid(1)) == 1, qPrintable(link));
            else
                QVERIFY2(link.startsWith(QLatin1String("https://")) || link.startsWith(QLatin1String("mailto:")),
                         qPrintable(link)); // the guide refers to no file beside it
        }

        // Every section and subsection is in the contents list, and Qt sees each heading's anchor.
        const QStringList headings = captures(guide, QStringLiteral("<h[23]><a name=\"([^\"]+)\"></a>"));
        QCOMPARE(headings.size(), names.size() - 1); // all but "top"
        for (const QString& heading : headings)
            QVERIFY2(links.contains(QLatin1Char('#') + heading), qPrintable(heading));
        HelpWindow window;
        window.showGuide(QUrl(QStringLiteral("qrc:/qora/help/qorahelp.htm")));
        QCOMPARE(contentsAnchors(window), headings);
    }

    void menuCommandsInTheGuideExist() {
        EditorFixture editor;
        editor.startWith();
        const QString guide = builtInGuideText();
        const QStringList paths = captures(guide, QStringLiteral("<span class=\"menu\">([^<]+)</span>"));
        QVERIFY(paths.size() > 15);
        for (QString path : paths) {
            path = path.replace(QStringLiteral("&gt;"), QStringLiteral(">")).simplified();
            const QStringList parts = path.split(QStringLiteral(" > "));
            QCOMPARE(parts.size(), 2);
            QMenu* menu = nullptr;
            for (QAction* top : editor.window->menuBar()->actions())
                if (withoutAccelerator(top->text()) == parts[0])
                    menu = top->menu();
            QVERIFY2(menu != nullptr, qPrintable(path));
            bool found = false;
            for (QAction* item : menu->actions())
                found = found || withoutAccelerator(item->text()) == parts[1];
            QVERIFY2(found, qPrintable(path));
        }
    }
};

QTEST_MAIN(TestHelpWindow)
#include "test_help_window.moc"
