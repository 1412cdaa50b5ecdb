#include "dialogs/info_dialog.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt_text.h"

namespace qora::gui {

InfoDialog::InfoDialog(QWidget* parent) : MemoDialog(tr("Information"), parent) {
    setObjectName(QStringLiteral("dlgInfo"));
    notes()->setReadOnly(true);
    notes()->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    okButton()->setText(tr("&Close"));
    cancelButton()->hide();
    resize(460, 320);
}

void InfoDialog::setText(const QString& text) {
    notes()->setPlainText(text);
}

QString InfoDialog::text() const {
    return notes()->toPlainText();
}

LostEntriesDialog::LostEntriesDialog(QWidget* parent) : MemoDialog(tr("QORA File Load Error"), parent) {
    setObjectName(QStringLiteral("dlgLostEntries"));
    notes()->setReadOnly(true);
    notes()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    notes()->setPlainText(QStringLiteral("The entries listed below were not found in this vehicle file.  Click the\n"
                                         "[Create] button to create the missing entries, or click the [Abort]\n"
                                         "button to abort loading this file."));
    QPalette grey = notes()->palette();
    grey.setColor(QPalette::Base, palette().color(QPalette::Window).darker(108));
    notes()->setPalette(grey);
    notes()->setFixedHeight(notes()->fontMetrics().lineSpacing() * 3 + 16);
    notes()->setFocusPolicy(Qt::NoFocus);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lbList"));
    contentLayout()->addWidget(m_list, 1);

    okButton()->setText(tr("&Create"));
    cancelButton()->setText(tr("&Abort"));
    resize(520, 360);
}

void LostEntriesDialog::setEntries(const std::vector<std::string>& entries) {
    m_list->clear();
    for (const std::string& entry : entries)
        m_list->addItem(fromLatin1(entry));
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

QStringList LostEntriesDialog::entries() const {
    QStringList out;
    for (int i = 0; i < m_list->count(); ++i)
        out << m_list->item(i)->text();
    return out;
}

} // namespace qora::gui
