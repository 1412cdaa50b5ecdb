#include "browser/file_manager_dialog.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/qt_text.h"
#include "resources/artwork.h"

namespace qora::gui {

FileManagerDialog::FileManagerDialog(QWidget* parent) : MemoDialog(tr("Vehicle File Manager"), parent) {
    setObjectName(QStringLiteral("dlgFileMan"));
    setBackgroundArtwork(kFileManDialogBackground);
    notes()->setReadOnly(true);
    notes()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Room for the whole note at the dialog's width, so no part of the warning hides below the fold.
    notes()->setFixedHeight(QFontMetrics(notes()->font()).lineSpacing() * 7 + 12);
    notes()->setPlainText(fromLatin1(browser::kCompanionNotes));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lbCheckList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    contentLayout()->addWidget(m_list, 3);

    auto* select = new QHBoxLayout;
    m_selectAll = new QPushButton(tr("Select All"), this);
    m_selectAll->setObjectName(QStringLiteral("bSelectAll"));
    m_selectNone = new QPushButton(tr("Select None"), this);
    m_selectNone->setObjectName(QStringLiteral("bSelectNone"));
    select->addWidget(m_selectAll);
    select->addWidget(m_selectNone);
    select->addStretch(1);
    contentLayout()->addLayout(select);
    resize(440, 380);

    connect(m_selectAll, &QPushButton::clicked, this, [this] { setAllChecked(true); });
    connect(m_selectNone, &QPushButton::clicked, this, [this] { setAllChecked(false); });
    connect(m_list, &QListWidget::itemChanged, this, [this] { updateOk(); });
    updateOk();
}

void FileManagerDialog::setCheckList(const browser::CheckList& list) {
    m_list->clear();
    for (std::size_t i = 0; i < list.items().size(); ++i) {
        auto* item = new QListWidgetItem(fromPath(list.items()[i]));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(list.isChecked(i) ? Qt::Checked : Qt::Unchecked);
        m_list->addItem(item);
    }
    updateOk();
}

void FileManagerDialog::storeTicks(browser::CheckList& list) const {
    for (int row = 0; row < m_list->count() && static_cast<std::size_t>(row) < list.items().size(); ++row)
        list.setChecked(static_cast<std::size_t>(row), m_list->item(row)->checkState() == Qt::Checked);
}

void FileManagerDialog::setAllChecked(bool checked) {
    for (int row = 0; row < m_list->count(); ++row)
        m_list->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    updateOk();
}

void FileManagerDialog::showReport(const std::vector<std::string>& files, std::string_view text) {
    browser::CheckList list(files);
    list.setAllChecked(true);
    setCheckList(list);
    notes()->setPlainText(fromLatin1(text));
    m_selectAll->hide();
    m_selectNone->hide();
    cancelButton()->hide();
    // The button row holds a stretch before the buttons; one after them centres OK.
    for (QBoxLayout* row : findChildren<QBoxLayout*>())
        if (row->indexOf(okButton()) >= 0)
            row->addStretch(1);
}

void FileManagerDialog::showEvent(QShowEvent* event) {
    MemoDialog::showEvent(event);
    updateOk();
}

void FileManagerDialog::updateOk() {
    bool ticked = false;
    for (int row = 0; row < m_list->count() && !ticked; ++row)
        ticked = m_list->item(row)->checkState() == Qt::Checked;
    okButton()->setEnabled(ticked);
}

} // namespace qora::gui
