#include "dialogs/dlg_gen_base.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qora::gui {

TdlgGenBase::TdlgGenBase(const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle(caption);
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 10, 14, 12);
    outer->setSpacing(8);

    m_caption = new QLabel(caption, this);
    m_caption->setObjectName(QStringLiteral("lCaption"));
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

QString TdlgGenBase::caption() const {
    return m_caption->text();
}

// The background stands in for the dialog artwork: a dark steel gradient under the caption band and a light panel
// for the content, inside a two-tone frame.
void TdlgGenBase::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect all = rect();
    const int band = m_caption->geometry().bottom() + 6;
    QLinearGradient header(all.topLeft(), QPoint(all.left(), band));
    header.setColorAt(0.0, QColor(58, 66, 82));
    header.setColorAt(1.0, QColor(28, 32, 42));
    painter.fillRect(QRect(all.left(), all.top(), all.width(), band), header);
    painter.fillRect(QRect(all.left(), band, all.width(), all.height() - band), palette().window());
    painter.setPen(QColor(200, 40, 40));
    painter.drawLine(all.left(), band, all.right(), band);
    painter.setPen(QPen(QColor(20, 22, 28), 2));
    painter.drawRect(all.adjusted(1, 1, -1, -1));
}

void TdlgGenBase::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = owner && owner->isVisible() ? owner->frameGeometry()
                       : screen()                  ? screen()->availableGeometry()
                                                   : QRect();
    if (area.isValid())
        move(area.center() - rect().center());
}

void TdlgGenBase::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void TdlgGenBase::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

void TdlgGenBase::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

TdlgGenBaseMemo::TdlgGenBaseMemo(const QString& caption, QWidget* parent) : TdlgGenBase(caption, parent) {
    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(QStringLiteral("mNotes"));
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_notes->setTabChangesFocus(true);
    contentLayout()->addWidget(m_notes, 1);
}

} // namespace qora::gui
