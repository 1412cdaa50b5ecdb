#include "dialogs/copy_from_ghost_dialog.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/field_access.h"

namespace qora::gui {

namespace {

// The note under a choice, indented to its text and quieter than it.
QLabel* choiceNote(const QString& text, QWidget* parent) {
    auto* note = new QLabel(text, parent);
    note->setTextFormat(Qt::PlainText);
    note->setIndent(24);
    QFont small = note->font();
    small.setItalic(true);
    note->setFont(small);
    return note;
}

// Puts a keyboard accelerator before the first occurrence of a word.
QString withAccelerator(QString text, const QString& word) {
    const qsizetype at = text.indexOf(word);
    if (at >= 0)
        text.insert(at, QLatin1Char('&'));
    return text;
}

} // namespace

CopyFromGhostDialog::CopyFromGhostDialog(int activePage, Difference activePageDifference, Difference allPagesDifference,
                                     QWidget* parent)
    : BaseDialog(tr("Copy From Ghost"), parent) {
    setObjectName(QStringLiteral("dlgCopyFromGhost"));

    auto* intro = new QLabel(tr("Put the ghost vehicle's values into the vehicle's fields:"), this);
    intro->setWordWrap(true);
    contentLayout()->addWidget(intro);
    contentLayout()->addSpacing(4);

    m_activePage = new QRadioButton(
        withAccelerator(qtName(editor::activePageChoiceText(activePage)), QStringLiteral("page")), this);
    m_activePage->setObjectName(QStringLiteral("rbActivePage"));
    m_allPages = new QRadioButton(withAccelerator(qtName(editor::kAllPagesChoiceText), QStringLiteral("all")), this);
    m_allPages->setObjectName(QStringLiteral("rbAllPages"));
    auto* group = new QButtonGroup(this);
    group->addButton(m_activePage);
    group->addButton(m_allPages);
    m_activePage->setChecked(true);

    contentLayout()->addWidget(m_activePage);
    contentLayout()->addWidget(choiceNote(differenceText(activePageDifference), this));
    contentLayout()->addWidget(m_allPages);
    contentLayout()->addWidget(choiceNote(differenceText(allPagesDifference), this));
    contentLayout()->addSpacing(6);

    auto* undo = new QLabel(tr("The vehicle's file changes only when you save. Undo Page on a page puts back the "
                               "values that page had when the file was last saved."),
                            this);
    undo->setWordWrap(true);
    contentLayout()->addWidget(undo);
    contentLayout()->addStretch(1);

    okButton()->setText(tr("C&opy"));
    resize(sizeHint().expandedTo(QSize(440, 0)));
}

editor::CopyScope CopyFromGhostDialog::scope() const {
    return m_allPages->isChecked() ? editor::CopyScope::AllPages : editor::CopyScope::ActivePage;
}

void CopyFromGhostDialog::setScope(editor::CopyScope scope) {
    (scope == editor::CopyScope::AllPages ? m_allPages : m_activePage)->setChecked(true);
}

QString CopyFromGhostDialog::differenceText(Difference difference) {
    if (difference.fields == 0)
        return difference.curve ? tr("The torque curve differs") : tr("Nothing differs");
    if (difference.curve)
        return difference.fields == 1 ? tr("1 value and the torque curve differ")
                                      : tr("%1 values and the torque curve differ").arg(difference.fields);
    return difference.fields == 1 ? tr("1 value differs") : tr("%1 values differ").arg(difference.fields);
}

} // namespace qora::gui
