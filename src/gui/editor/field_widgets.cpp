#include "editor/field_widgets.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace qora::gui {

namespace {

// Marks the item a fixed list shows for a value it does not offer.
constexpr int kExtraItemRole = Qt::UserRole + 1;

} // namespace

HelpLabel::HelpLabel(const QString& text, int helpNumber, QWidget* parent)
    : QLabel(text, parent), m_helpNumber(helpNumber) {
    if (m_helpNumber > 0) {
        setCursor(Qt::WhatsThisCursor);
        setToolTip(tr("Click for help on this value (or press F1 in its field)"));
    }
}

void HelpLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void HelpLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click && m_helpNumber > 0)
        emit helpRequested(m_helpNumber);
}

SpinButton::SpinButton(QWidget* focusControl, int tag, QWidget* parent)
    : QWidget(parent), m_focusControl(focusControl), m_tag(tag) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto makeArrow = [this, layout](Qt::ArrowType arrow, bool up) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        button->setFixedWidth(16);
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, [this, up] { emit stepped(this, up); });
        layout->addWidget(button);
        return button;
    };
    m_up = makeArrow(Qt::UpArrow, true);
    m_down = makeArrow(Qt::DownArrow, false);
    if (focusControl)
        setFixedHeight(focusControl->sizeHint().height());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

FieldCombo::FieldCombo(bool editable, QWidget* parent) : QComboBox(parent) {
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
}

void FieldCombo::setItems(const QStringList& items) {
    const QString keep = fieldText();
    const QSignalBlocker blocker(this);
    clear();
    addItems(items);
    setFieldText(keep);
}

void FieldCombo::dropExtraItem() {
    for (int i = count() - 1; i >= 0; --i)
        if (itemData(i, kExtraItemRole).toBool())
            removeItem(i);
}

void FieldCombo::setFieldText(const QString& text) {
    if (isEditable()) {
        setCurrentIndex(findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
        setEditText(text);
        return;
    }
    const int index = findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index >= 0 && !itemData(index, kExtraItemRole).toBool()) {
        setCurrentIndex(index);
        dropExtraItem();
        return;
    }
    dropExtraItem();
    if (text.isEmpty()) {
        setCurrentIndex(-1);
        return;
    }
    addItem(text);
    setItemData(count() - 1, true, kExtraItemRole);
    setCurrentIndex(count() - 1);
}

QString FieldCombo::fieldText() const {
    return currentText();
}

void FieldCombo::keyPressEvent(QKeyEvent* event) {
    if (m_forceUpperCase && event->text().size() == 1) {
        const QChar c = event->text().at(0);
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) {
            QKeyEvent upper(event->type(), event->key(), event->modifiers(), QString(c.toUpper()),
                            event->isAutoRepeat(), static_cast<ushort>(event->count()));
            QComboBox::keyPressEvent(&upper);
            event->setAccepted(upper.isAccepted());
            return;
        }
    }
    QComboBox::keyPressEvent(event);
}

} // namespace qora::gui
