#include "dialogs/base_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "resources/artwork.h"

namespace qora::gui {

BaseDialog::BaseDialog(const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_background(kGenericDialogBackground) {
    setWindowTitle(caption);
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 0, 14, 12);
    outer->setSpacing(8);

    m_caption = new QLabel(caption, this);
    m_caption->setObjectName(QStringLiteral("lCaption"));
    m_caption->setFixedHeight(kDialogCaptionBand);
    m_caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont captionFont = m_caption->font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.15);
    m_caption->setFont(captionFont);
    m_caption->setStyleSheet(QStringLiteral("color: white;"));
    outer->addWidget(m_caption);

    m_content = new QVBoxLayout;
    m_content->setSpacing(6);
    outer->addLayout(m_content, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(tr("&OK"), this);
    m_ok->setObjectName(QStringLiteral("bOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("bCancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    outer->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString BaseDialog::caption() const {
    return m_caption->text();
}

void BaseDialog::setBackgroundArtwork(std::string_view name) {
    m_background = std::string(name);
    update();
}

// The picture is laid out for the dialog's size, so its frame and caption band fit whatever the content needs.
void BaseDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap background = artworkPixmap(m_background, size(), devicePixelRatioF());
    if (background.isNull())
        painter.fillRect(rect(), palette().window());
    else
        painter.drawPixmap(0, 0, background);
}

void BaseDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = owner && owner->isVisible() ? owner->frameGeometry()
                       : screen()                  ? screen()->availableGeometry()
                                                   : QRect();
    if (area.isValid())
        move(area.center() - rect().center());
}

void BaseDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void BaseDialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

void BaseDialog::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

MemoDialog::MemoDialog(const QString& caption, QWidget* parent) : BaseDialog(caption, parent) {
    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(QStringLiteral("mNotes"));
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_notes->setTabChangesFocus(true);
    contentLayout()->addWidget(m_notes, 1);
}

} // namespace qora::gui
