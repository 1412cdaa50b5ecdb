#include <QtTest>

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialogs/info_dialog.h"
#include "editor/field_widgets.h"
#include "platform/file_dialog_hook.h"

using namespace qora::gui;

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void infoDialogHasOneCloseButtonAndReadOnlyText() {
        InfoDialog dialog;
        QCOMPARE(dialog.caption(), QStringLiteral("Information"));
        QCOMPARE(dialog.okButton()->text().remove(QLatin1Char('&')), QStringLiteral("Close"));
        dialog.show();
        QVERIFY(!dialog.cancelButton()->isVisible());
        QVERIFY(dialog.notes()->isReadOnly());
        QCOMPARE(dialog.notes()->objectName(), QStringLiteral("mNotes"));
        dialog.setText(QStringLiteral("Tire Pressure:\n\nIn kPa."));
        QCOMPARE(dialog.text(), QStringLiteral("Tire Pressure:\n\nIn kPa."));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void lostEntriesDialogListsTheEntriesWithCreateAndAbort() {
        LostEntriesDialog dialog;
        QCOMPARE(dialog.caption(), QStringLiteral("QORA File Load Error"));
        QCOMPARE(dialog.notes()->toPlainText(),
                 QStringLiteral("The entries listed below were not found in this vehicle file.  Click the\n"
                                "[Create] button to create the missing entries, or click the [Abort]\n"
                                "button to abort loading this file."));
        QCOMPARE(dialog.okButton()->text().remove(QLatin1Char('&')), QStringLiteral("Create"));
        QCOMPARE(dialog.cancelButton()->text().remove(QLatin1Char('&')), QStringLiteral("Abort"));
        dialog.setEntries({"[BODY]", "mass="});
        QCOMPARE(dialog.list()->objectName(), QStringLiteral("lbList"));
        QCOMPARE(dialog.entries(), (QStringList{QStringLiteral("[BODY]"), QStringLiteral("mass=")}));
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // A fixed list shows a value it does not offer rather than losing it, until another value is set.
    void fixedListsKeepValuesTheyDoNotOffer() {
        FieldCombo list(false);
        list.setItems({QStringLiteral("Random"), QStringLiteral("80%")});
        list.setFieldText(QStringLiteral("55%"));
        QCOMPARE(list.fieldText(), QStringLiteral("55%"));
        QCOMPARE(list.count(), 3);
        list.setFieldText(QStringLiteral("80%"));
        QCOMPARE(list.fieldText(), QStringLiteral("80%"));
        QCOMPARE(list.count(), 2);

        FieldCombo geometry(true);
        geometry.setForceUpperCase(true);
        geometry.setFocus();
        QTest::keyClicks(&geometry, "ex1-b");
        QCOMPARE(geometry.fieldText(), QStringLiteral("EX1-B"));
    }

    void fileMasksIgnoreLetterCase() {
        QCOMPARE(caseFreePattern(QStringLiteral("*.veh")), QStringLiteral("*.[vV][eE][hH]"));
        QCOMPARE(caseFreePattern(QStringLiteral("vehicle.mas")),
                 QStringLiteral("[vV][eE][hH][iI][cC][lL][eE].[mM][aA][sS]"));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
