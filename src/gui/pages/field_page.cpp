#include "pages/field_page.h"

#include <algorithm>
#include <cstdlib>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "calc/field_rules.h"
#include "documents/edit_history.h"
#include "documents/vehicle_document.h"
#include "editor/field_access.h"
#include "editor/field_drag.h"
#include "editor/field_widgets.h"
#include "editor/group_columns.h"
#include "editor/page_fields.h"
#include "editor/page_model.h"
#include "pages/page_host.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "settings/settings.h"
#include "vehicle/field_catalogue.h"

namespace qora::gui {

namespace {

using editor::FieldWidget;
using editor::PageField;

constexpr int kWheelStep = 120; // one notch of a mouse wheel

// Numeric fields are sized for their numbers (a triple or a collision point needs room for three); text fields
// take the room there is.
void sizeField(QWidget* control, const PageField& field) {
    const QFontMetrics metrics(control->font());
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    bool wide = false;
    if (field.catalogueIndex >= 0 && field.maxLength > 10) {
        const FieldDef& def = fieldDef(field.page, field.catalogueIndex);
        wide = def.valueCount == 3 || def.kind == FieldKind::Text;
    }
    if (field.widget == FieldWidget::Edit && field.numeric) {
        const int characters = wide ? 21 : field.maxLength > 0 && field.maxLength < 10 ? 7 : 11;
        control->setFixedWidth(digit * characters + 14);
    } else if (field.widget != FieldWidget::Edit && field.numeric) {
        control->setMaximumWidth(digit * 11 + 40);
    } else if (field.widget == FieldWidget::Display) {
        control->setFixedWidth(digit * 11 + 14);
    } else {
        control->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('x')) * 16);
    }
}

} // namespace

FieldPage::FieldPage(int page, PageHost& host, QWidget* parent) : QWidget(parent), m_page(page), m_host(host) {
    setObjectName(qtName(editor::pageName(page)) + QStringLiteral("Content"));
}

GroupedFieldPage::GroupedFieldPage(int page, int columns, PageHost& host, QWidget* parent)
    : FieldPage(page, host, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(buildGroups(columns, this));
    layout->addStretch(1);
}

void FieldPage::afterFill(const VehicleFile& /*vehicle*/, bool /*ghost*/) {}

// ---- Building -----------------------------------------------------------------------------------------------

FieldPage::FieldRow FieldPage::makeRow(const PageField& field, QWidget* parent) {
    FieldRow row;
    row.field = &field;
    const QString name = qtName(field.name);
    FieldDragDrop& dragDrop = m_host.dragDrop();

    if (!field.label.empty()) {
        auto* label = new HelpLabel(qtName(field.label), field.helpNumber, parent);
        label->setObjectName(QStringLiteral("l") + name);
        connect(label, &HelpLabel::helpRequested, this,
                [this](int number) { m_host.guarded([&] { m_host.showHelp(number); }); });
        row.label = label;
    }

    switch (field.widget) {
    case FieldWidget::Edit: {
        auto* edit = new QLineEdit(parent);
        row.control = edit;
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { emit fieldEdited(edit); });
        if (field.numeric)
            connect(edit, &QLineEdit::textEdited, this, [this, edit] { keepTypableText(edit, edit); });
        break;
    }
    case FieldWidget::List:
    case FieldWidget::EditableList: {
        auto* combo = new FieldCombo(field.widget == FieldWidget::EditableList, parent);
        QStringList items;
        for (std::string_view item : editor::fixedListItems(field.name))
            items << qtName(item);
        combo->setItems(items);
        combo->setForceUpperCase(field.upperCase);
        row.control = combo;
        connect(combo, &QComboBox::currentTextChanged, this, [this, combo] { emit fieldEdited(combo); });
        if (QLineEdit* edit = combo->lineEdit(); edit != nullptr && field.numeric)
            connect(edit, &QLineEdit::textEdited, this, [this, edit, combo] { keepTypableText(edit, combo); });
        break;
    }
    case FieldWidget::Display: {
        auto* display = new QLineEdit(parent);
        display->setReadOnly(true);
        display->setFocusPolicy(Qt::ClickFocus);
        row.control = display;
        if (field.fieldKind > 0)
            dragDrop.addSource(display, field.fieldKind);
        break;
    }
    }
    row.control->setObjectName(name);
    row.control->setToolTip(qtName(field.label).remove(QLatin1Char(':')));
    sizeField(row.control, field);
    addControl(field.name, row.control);
    if (field.widget != FieldWidget::Display) {
        setTypingLimit(row.control, field.maxLength);
        dragDrop.addTarget(row.control, field.fieldKind);
        if (field.numeric) {
            row.control->setProperty(kNumeric, true);
            row.control->installEventFilter(this);
        }
    }
    if (auto* label = qobject_cast<QLabel*>(row.label))
        label->setBuddy(row.control);

    if (field.spin && field.catalogueIndex >= 0) {
        row.spin = new SpinButton(row.control, field.catalogueIndex, parent);
        row.spin->setObjectName(QStringLiteral("csb") + name);
        connect(row.spin, &SpinButton::stepped, this,
                [this](SpinButton* button, bool up) { m_host.guarded([&] { stepField(button, up); }); });
        m_spinButtons.push_back(row.spin);
    }

    if (!field.ghostName.empty()) {
        auto* ghost = new QLineEdit(parent);
        ghost->setObjectName(qtName(field.ghostName));
        ghost->setReadOnly(true);
        ghost->setFocusPolicy(Qt::ClickFocus);
        ghost->setToolTip(tr("Ghost vehicle: drag onto a field of the same kind to copy"));
        QPalette grey = ghost->palette();
        grey.setColor(QPalette::Base, QColor(192, 192, 192));
        grey.setColor(QPalette::Text, QColor(0, 80, 80));
        ghost->setPalette(grey);
        sizeField(ghost, field);
        if (field.widget != FieldWidget::Edit || !field.numeric)
            ghost->setMinimumWidth(row.control->minimumWidth());
        ghost->hide();
        dragDrop.addSource(ghost, field.fieldKind);
        addControl(field.ghostName, ghost);
        m_ghostWidgets.push_back(ghost);
        row.ghost = ghost;
    }
    return row;
}

void FieldPage::placeRow(QGridLayout* grid, int row, const FieldRow& fieldRow, int column) {
    if (fieldRow.label)
        grid->addWidget(fieldRow.label, row, column, Qt::AlignLeft | Qt::AlignVCenter);
    auto* cell = new QHBoxLayout;
    cell->setSpacing(1);
    cell->addWidget(fieldRow.control, fieldRow.control->maximumWidth() < QWIDGETSIZE_MAX ? 0 : 1);
    if (fieldRow.spin)
        cell->addWidget(fieldRow.spin);
    if (fieldRow.control->maximumWidth() < QWIDGETSIZE_MAX)
        cell->addStretch(1);
    grid->addLayout(cell, row, column + 1);
    if (fieldRow.ghost)
        grid->addWidget(fieldRow.ghost, row, column + 2);
}

QWidget* FieldPage::buildGroups(int columns, QWidget* parent, const std::vector<std::string_view>& skip) {
    const auto fields = editor::pageFields(m_page);
    std::vector<std::string_view> groups;
    std::vector<int> heights;
    for (const PageField& field : fields) {
        if (std::find(skip.begin(), skip.end(), field.name) != skip.end())
            continue;
        auto it = std::find(groups.begin(), groups.end(), field.group);
        if (it == groups.end()) {
            groups.push_back(field.group);
            heights.push_back(2); // the heading
        }
        ++heights[static_cast<std::size_t>(std::find(groups.begin(), groups.end(), field.group) - groups.begin())];
    }

    auto* area = new GroupColumns(columns, parent);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const auto first = std::find_if(fields.begin(), fields.end(),
                                        [&](const PageField& field) { return field.group == groups[g]; });
        const QString heading = tr(qtName(editor::groupHeading(*first)).toLatin1().constData());
        auto* box = new QGroupBox(heading, area);
        box->setObjectName(QStringLiteral("grp") + qtName(editor::pageName(m_page)).mid(2) + QString::number(g));
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(5);
        grid->setColumnStretch(3, 1); // spare room goes after the ghost twins, which stay beside their fields
        int row = 0;
        for (const PageField& field : fields) {
            if (field.group != groups[g] || std::find(skip.begin(), skip.end(), field.name) != skip.end())
                continue;
            placeRow(grid, row++, makeRow(field, box));
        }
        area->addGroup(box, heights[g]);
    }
    return area;
}

void FieldPage::addControl(std::string_view name, QWidget* control) {
    m_controls.emplace(std::string(name), control);
}

// ---- Field texts --------------------------------------------------------------------------------------------

QWidget* FieldPage::control(std::string_view name) const {
    const auto it = m_controls.find(name);
    return it == m_controls.end() ? nullptr : it->second;
}

QString FieldPage::textOf(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    return {};
}

void FieldPage::setControlText(QWidget* control, const QString& text) {
    if (control == nullptr)
        return;
    allowText(control, text);
    if (auto* combo = qobject_cast<FieldCombo*>(control))
        combo->setFieldText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
}

// ---- Field handlers -----------------------------------------------------------------------------------------

bool FieldPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        if (auto* over = qobject_cast<QWidget*>(watched))
            return wheelOverField(over, static_cast<QWheelEvent*>(event));
    }
    if (event->type() == QEvent::KeyPress && watched->property(kNumeric).toBool()) {
        if (auto* field = qobject_cast<QWidget*>(watched))
            return filterFieldKey(field, static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

// Typed characters of numeric fields pass the field rules' key filter; keys that type nothing (moving, editing
// shortcuts) are not the filter's business.
bool FieldPage::filterFieldKey(QWidget* field, QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.size() != 1 || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QChar c = typed.at(0);
    if (c.unicode() < 0x20 && c != QLatin1Char('\b'))
        return false;
    QLineEdit* edit = editOf(field);
    if (edit == nullptr)
        return false;
    if (c != QLatin1Char('\b') && typedLengthReached(field)) {
        m_host.prompt().beep();
        return true;
    }
    const char key = c.unicode() < 0x100 ? static_cast<char>(c.unicode()) : '\x7f';
    const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    if (qora::filterFieldKey(key, toLatin1(edit->text()), static_cast<std::size_t>(caret), typingLimit(field)) ==
        KeyDecision::Accept)
        return false;
    m_host.prompt().beep();
    return true;
}

// Pasting, dropping or any other edit that is not a typed key goes through the same filter as typing: what
// typing would have refused is left out, with the beep a refused key gives.
void FieldPage::keepTypableText(QLineEdit* edit, QWidget* field) {
    const std::string text = toLatin1(edit->text());
    const std::string kept = keptAsTyped(text, typingLimit(field));
    if (kept == text)
        return;
    const int caret = std::max(0, edit->cursorPosition() - static_cast<int>(text.size() - kept.size()));
    edit->setText(fromLatin1(kept));
    edit->setCursorPosition(std::min(caret, static_cast<int>(kept.size())));
    m_host.prompt().beep();
}

void FieldPage::stepField(SpinButton* button, bool up) {
    const PageField* field = editor::findPageField(toLatin1(button->focusControl()->objectName()));
    if (field == nullptr)
        return;
    const FieldDef& def = fieldDef(field->page, button->tag());
    const bool angle = field->name == "efAngle" || field->name == "erAngle";
    const bool degrees = m_host.settings().anglesInDegrees;
    const std::string text = toLatin1(textOf(button->focusControl()));
    const SpinStep step = up ? spinButtonUp(text, def, angle, degrees) : spinButtonDown(text, def, angle, degrees);
    if (step.beep)
        m_host.prompt().beep();
    if (step.text != text) {
        const auto steps = m_host.document().history().stepping();
        setControlText(button->focusControl(), fromLatin1(step.text));
    }
}

// The wheel over a field that a spin button steps works that spin button, one step per notch. Elsewhere the wheel
// scrolls the page as usual.
bool FieldPage::wheelOverField(QWidget* over, QWheelEvent* event) {
    if (!isAncestorOf(over))
        return false;
    std::vector<SpinButtonSite> sites;
    std::vector<SpinButton*> buttons;
    for (SpinButton* spin : m_spinButtons) {
        QWidget* field = spin->focusControl();
        if (field == nullptr || !isAncestorOf(field))
            continue;
        const QPoint topLeft = field->mapTo(this, QPoint(0, 0));
        SpinButtonSite site;
        site.stepsPlainEdit = qobject_cast<QLineEdit*>(field) != nullptr;
        site.editRect = {topLeft.x(), topLeft.y(), field->width(), field->height()};
        sites.push_back(site);
        buttons.push_back(spin);
    }
    const QPoint point = over->mapTo(this, event->position().toPoint());
    const std::optional<std::size_t> found = findSpinButtonAt(sites, {point.x(), point.y()});
    if (!found)
        return false;
    m_wheelDelta += event->angleDelta().y();
    while (std::abs(m_wheelDelta) >= kWheelStep) {
        const bool up = m_wheelDelta > 0;
        m_wheelDelta += up ? -kWheelStep : kWheelStep;
        m_host.guarded([&] { stepField(buttons[*found], up); });
    }
    return true;
}

} // namespace qora::gui
