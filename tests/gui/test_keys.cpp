// The window's shortcuts work wherever the focus is, and a control never takes one of them for itself: Ctrl+U in
// a page field runs Undo Page (with its question) instead of deleting the field's text, whatever the kind of
// control, and so do F2, F3, F4, Shift+F1 and F1.

#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalSpy>
#include <QTabBar>

#include "editor/page_fields.h"
#include "support/editor_fixture.h"

using namespace qora;
using namespace qora::testing;

namespace {

QString textOf(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    return {};
}

} // namespace

class TestKeys : public QObject {
    Q_OBJECT

private slots:
    void theWindowsShortcutsWorkWhereverTheFocusIs() {
        EditorFixture editor;
        editor.startWith();
        editor.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));

        struct Place {
            int page;
            const char* control;
        };
        const Place places[] = {{editor::PgOther, "eMass"},
                                {editor::PgOther, "cbDamage"},
                                {editor::PgDetails, "dlUnlockPoints"},
                                {editor::PgDriveTrain, "sbGear1"},
                                {editor::PgDriveTrain, "cbUpshiftBase"},
                                {editor::PgAerodynamics, "cbAnglesInDegrees"},
                                {editor::PgPerformance, "ePointValue"}};
        QAction* undo = editor.action("mUndoPage");
        QAction* save = editor.action("mSave");
        QAction* open = editor.action("mOpenVeh");
        QAction* ghost = editor.action("mOpenGhost");
        QAction* guide = editor.action("mQORAHelp");
        QSignalSpy undone(undo, &QAction::triggered);
        QSignalSpy saved(save, &QAction::triggered);
        QSignalSpy opened(open, &QAction::triggered);
        QSignalSpy ghosts(ghost, &QAction::triggered);
        QSignalSpy guides(guide, &QAction::triggered);

        for (const Place& place : places) {
            editor.window->pages()->setCurrentIndex(place.page);
            QWidget* control = editor.find(place.control);
            QVERIFY2(control != nullptr, place.control);
            control->setFocus();
            QVERIFY2(control->hasFocus() || control->isAncestorOf(QApplication::focusWidget()), place.control);
            const QString before = textOf(control);

            // Ctrl+U with unsaved changes asks its question; answered No, nothing changes.
            editor.window->setChanged(true);
            editor.prompt.answer(PromptAnswer::No);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::ControlModifier);
            QCOMPARE(undone.count(), int(&place - places) + 1);
            QCOMPARE(QString::fromStdString(editor.prompt.questions().back().text).left(20),
                     QStringLiteral("This will undo all t"));
            QCOMPARE(textOf(control), before);

            // Ctrl+U with nothing to undo does nothing at all (the field keeps its text).
            editor.window->setChanged(false);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::ControlModifier);
            QCOMPARE(textOf(control), before);

            editor.window->setChanged(true);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
            QCOMPARE(saved.count(), int(&place - places) + 1);

            editor.dialogs.then([](QDialog&) { return int(QDialog::Rejected); });
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
            QCOMPARE(opened.count(), int(&place - places) + 1);
            QCOMPARE(editor.dialogs.unusedSteps(), std::size_t(0));

            editor.dialogs.then([](QDialog&) { return int(QDialog::Rejected); });
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
            QCOMPARE(ghosts.count(), int(&place - places) + 1);

            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1, Qt::ShiftModifier);
            QCOMPARE(guides.count(), int(&place - places) + 1);
            editor.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));
        }
    }
};

QTEST_MAIN(TestKeys)
#include "test_keys.moc"
