#include "editor/field_drag.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>

namespace qora::gui {

namespace {

constexpr const char* kKindProperty = "qoraFieldKind";
constexpr const char* kRoleProperty = "qoraDragRole";
constexpr const char* kTargetProperty = "qoraDropTarget";

enum Role { Source = 1, Target = 2 };

QString textOf(const QWidget* field) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(field))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(field))
        return combo->currentText();
    return {};
}

} // namespace

QMimeData* fieldMimeData(int fieldKind, const QString& text) {
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kFieldKindMimeType), QByteArray::number(fieldKind));
    data->setText(text);
    return data;
}

std::optional<int> draggedFieldKind(const QMimeData* data) {
    if (data == nullptr || !data->hasFormat(QString::fromLatin1(kFieldKindMimeType)))
        return std::nullopt;
    bool ok = false;
    const int kind = data->data(QString::fromLatin1(kFieldKindMimeType)).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return kind;
}

FieldDragDrop::FieldDragDrop(QObject* parent) : QObject(parent) {}

int FieldDragDrop::fieldKindOf(const QWidget* field) {
    return field ? field->property(kKindProperty).toInt() : 0;
}

void FieldDragDrop::addSource(QWidget* field, int fieldKind) {
    if (field == nullptr || fieldKind <= 0)
        return;
    field->setProperty(kKindProperty, fieldKind);
    field->setProperty(kRoleProperty, field->property(kRoleProperty).toInt() | Source);
    field->setAcceptDrops(false);
    field->installEventFilter(this);
}

void FieldDragDrop::addTarget(QWidget* field, int fieldKind) {
    if (field == nullptr || fieldKind <= 0)
        return;
    field->setProperty(kKindProperty, fieldKind);
    // An editable list receives drops in its edit, which stands for the list.
    QWidget* receiver = field;
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
        receiver = combo->lineEdit();
    receiver->setProperty(kKindProperty, fieldKind);
    receiver->setProperty(kRoleProperty, receiver->property(kRoleProperty).toInt() | Target);
    receiver->setProperty(kTargetProperty, QVariant::fromValue(static_cast<QObject*>(field)));
    receiver->setAcceptDrops(true);
    receiver->installEventFilter(this);
}

bool FieldDragDrop::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr)
        return false;
    const int role = widget->property(kRoleProperty).toInt();
    if ((role & Target) && handleTarget(widget, event))
        return true;
    if ((role & Source) && handleSource(widget, event))
        return true;
    return false;
}

bool FieldDragDrop::handleSource(QWidget* source, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_pressedSource = source;
            m_pressPosition = mouse->position().toPoint();
        }
        return false;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_pressedSource != source || !(mouse->buttons() & Qt::LeftButton))
            return false;
        if ((mouse->position().toPoint() - m_pressPosition).manhattanLength() < QApplication::startDragDistance())
            return true;
        m_pressedSource = nullptr;
        const QString text = textOf(source);
        if (text.isEmpty())
            return true;
        auto* drag = new QDrag(source);
        drag->setMimeData(fieldMimeData(fieldKindOf(source), text));
        drag->exec(Qt::CopyAction);
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_pressedSource = nullptr;
        return false;
    default:
        return false;
    }
}

bool FieldDragDrop::handleTarget(QWidget* target, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const auto kind = draggedFieldKind(drag->mimeData());
        if (kind && *kind == fieldKindOf(target) && target->isEnabled()) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const auto kind = draggedFieldKind(drop->mimeData());
        if (!kind || *kind != fieldKindOf(target) || !target->isEnabled()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        auto* field = qobject_cast<QWidget*>(target->property(kTargetProperty).value<QObject*>());
        emit dropped(field ? field : target, drop->mimeData()->text());
        return true;
    }
    default:
        return false;
    }
}

} // namespace qora::gui
