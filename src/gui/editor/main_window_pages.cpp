// The seven pages of the main window: built from the page tables, filled from and read back into the vehicle's
// buffer through the page model, and the field handlers (changes, key filter, spin buttons, drops, the angle
// display and the DriveTrain read-outs).

#include <algorithm>
#include <functional>
#include <limits>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "calc/engine_curve.h"
#include "calc/field_rules.h"
#include "editor/field_access.h"
#include "editor/field_drag.h"
#include "editor/field_widgets.h"
#include "editor/main_window.h"
#include "editor/group_columns.h"
#include "editor/page_model.h"
#include "editor/torque_chart.h"
#include "platform/qt_text.h"
#include "vehicle/field_catalogue.h"

namespace qora::gui {

namespace {

using editor::FieldWidget;
using editor::PageField;

// How many columns of groups each page lays out, and the heading of the fields that stand under no group.
constexpr std::array<int, editor::kPageCount> kGroupColumns{3, 3, 2, 3, 1, 1, 2};

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

// ---- Building the pages -------------------------------------------------------------------------------------

void MainWindow::createPages() {
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcPages"));
    m_pages->setDocumentMode(false);
    m_pages->setUsesScrollButtons(true);
    static constexpr std::array<const char*, editor::kPageCount> kTabCaptions{
        "&Details", "&Tires", "&Aerodynamics", "Ha&ndling", "&Performance", "Dr&iveTrain", "Othe&r"};
    for (int page = 0; page < editor::kPageCount; ++page) {
        auto* scroll = new QScrollArea(m_pages);
        scroll->setObjectName(qtName(editor::pageName(page)));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(buildPage(page));
        m_pages->addTab(scroll, tr(kTabCaptions[static_cast<std::size_t>(page)]));
    }
    connect(m_pages, &QTabWidget::currentChanged, this, [this] { guarded([this] { onPageChanged(); }); });
    connect(m_pages, &QTabWidget::currentChanged, this, [this] { fitGhostColumns(); });
}

QWidget* MainWindow::buildPage(int page) {
    auto* content = new QWidget;
    content->setObjectName(qtName(editor::pageName(page)) + QStringLiteral("Content"));
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    switch (page) {
    case editor::PgAerodynamics:
        layout->addWidget(buildAerodynamicsExtras(content));
        layout->addWidget(buildGroups(page, content));
        break;
    case editor::PgPerformance: {
        auto* row = new QHBoxLayout;
        row->setSpacing(10);
        row->addWidget(buildPerformanceExtras(content), 0, Qt::AlignTop);
        row->addWidget(buildGroups(page, content), 1, Qt::AlignTop);
        layout->addLayout(row);
        break;
    }
    case editor::PgDriveTrain:
        // The gearing chart under the gears takes the spare height.
        layout->addWidget(buildDriveTrain(content), 1);
        return content;
    default:
        layout->addWidget(buildGroups(page, content));
        break;
    }
    layout->addStretch(1);
    return content;
}

MainWindow::FieldRow MainWindow::makeRow(const PageField& field, QWidget* parent) {
    FieldRow row;
    row.field = &field;
    const QString name = qtName(field.name);

    if (!field.label.empty()) {
        auto* label = new HelpLabel(qtName(field.label), field.helpNumber, parent);
        label->setObjectName(QStringLiteral("l") + name);
        connect(label, &HelpLabel::helpRequested, this, [this](int number) { guarded([&] { showHelp(number); }); });
        row.label = label;
    }

    switch (field.widget) {
    case FieldWidget::Edit: {
        auto* edit = new QLineEdit(parent);
        row.control = edit;
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { onFieldEdited(edit); });
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
        connect(combo, &QComboBox::currentTextChanged, this, [this, combo] { onFieldEdited(combo); });
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
            m_dragDrop->addSource(display, field.fieldKind);
        break;
    }
    }
    row.control->setObjectName(name);
    row.control->setToolTip(qtName(field.label).remove(QLatin1Char(':')));
    sizeField(row.control, field);
    m_controls.emplace(std::string(field.name), row.control);
    if (field.widget != FieldWidget::Display) {
        setTypingLimit(row.control, field.maxLength);
        m_dragDrop->addTarget(row.control, field.fieldKind);
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
                [this](SpinButton* button, bool up) { guarded([&] { stepField(button, up); }); });
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
        m_dragDrop->addSource(ghost, field.fieldKind);
        m_controls.emplace(std::string(field.ghostName), ghost);
        m_ghostWidgets.push_back(ghost);
        row.ghost = ghost;
    }
    return row;
}

void MainWindow::placeRow(QGridLayout* grid, int row, const FieldRow& fieldRow, int column) {
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

QWidget* MainWindow::buildGroups(int page, QWidget* parent, const std::vector<std::string_view>& skip) {
    std::vector<std::string_view> groups;
    std::vector<int> heights;
    for (const PageField& field : editor::pageFields(page)) {
        if (std::find(skip.begin(), skip.end(), field.name) != skip.end())
            continue;
        auto it = std::find(groups.begin(), groups.end(), field.group);
        if (it == groups.end()) {
            groups.push_back(field.group);
            heights.push_back(2); // the heading
        }
        ++heights[static_cast<std::size_t>(std::find(groups.begin(), groups.end(), field.group) - groups.begin())];
    }

    // As many columns as the page asks for when the width allows, fewer when the ghost's twins make the groups
    // wider than the window.
    auto* area = new GroupColumns(kGroupColumns[static_cast<std::size_t>(page)], parent);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const auto first = std::find_if(editor::pageFields(page).begin(), editor::pageFields(page).end(),
                                        [&](const PageField& field) { return field.group == groups[g]; });
        const QString heading = tr(qtName(editor::groupHeading(*first)).toLatin1().constData());
        auto* box = new QGroupBox(heading, area);
        box->setObjectName(QStringLiteral("grp") + qtName(editor::pageName(page)).mid(2) + QString::number(g));
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(5);
        grid->setColumnStretch(3, 1); // spare room goes after the ghost twins, which stay beside their fields
        int row = 0;
        for (const PageField& field : editor::pageFields(page)) {
            if (field.group != groups[g] || std::find(skip.begin(), skip.end(), field.name) != skip.end())
                continue;
            placeRow(grid, row++, makeRow(field, box));
        }
        area->addGroup(box, heights[g]);
    }
    return area;
}

QWidget* MainWindow::buildAerodynamicsExtras(QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_anglesInDegrees = new QCheckBox(tr("Show wing angles in de&grees"), row);
    m_anglesInDegrees->setObjectName(QStringLiteral("cbAnglesInDegrees"));
    connect(m_anglesInDegrees, &QCheckBox::clicked, this, [this] { guarded([this] { toggleAnglesInDegrees(); }); });
    m_angleHeader = new QLabel(qtName(kAngleHeaderRadians), row);
    m_angleHeader->setObjectName(QStringLiteral("Panel42"));
    QFont bold = m_angleHeader->font();
    bold.setBold(true);
    m_angleHeader->setFont(bold);
    layout->addWidget(m_angleHeader);
    layout->addSpacing(12);
    layout->addWidget(m_anglesInDegrees);
    layout->addStretch(1);
    return row;
}

QWidget* MainWindow::buildPerformanceExtras(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    m_chart = new TorqueChart(box);
    connectChart();
    m_chart->setObjectName(QStringLiteral("TorqueChart"));
    layout->addWidget(m_chart);

    const auto figure = [box](const char* name, const QString& text, bool ghost) {
        auto* label = new QLabel(text, box);
        label->setObjectName(QString::fromLatin1(name));
        QFont font = label->font();
        font.setBold(!ghost);
        label->setFont(font);
        if (ghost) {
            QPalette grey = label->palette();
            grey.setColor(QPalette::WindowText, QColor(0, 128, 128));
            label->setPalette(grey);
            label->hide();
        }
        return label;
    };
    m_torqueFigure = figure("lTorque", QStringLiteral("0000 ft-lbs @ 00000rpm"), false);
    m_powerFigure = figure("lHp", QStringLiteral("00000 bhp @ 00000rpm"), false);
    m_ghostTorqueFigure = figure("glTorque", QStringLiteral("0000 ft-lbs @ 00000rpm"), true);
    m_ghostPowerFigure = figure("glHp", QStringLiteral("00000 bhp @ 00000rpm"), true);
    m_ghostWidgets.push_back(m_ghostTorqueFigure);
    m_ghostWidgets.push_back(m_ghostPowerFigure);
    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(24);
    figures->addWidget(m_torqueFigure, 0, 0);
    figures->addWidget(m_powerFigure, 0, 1);
    figures->addWidget(m_ghostTorqueFigure, 1, 0);
    figures->addWidget(m_ghostPowerFigure, 1, 1);
    figures->setColumnStretch(2, 1);
    layout->addLayout(figures);
    return box;
}

// ---- Field texts --------------------------------------------------------------------------------------------

QWidget* MainWindow::control(std::string_view name) const {
    const auto it = m_controls.find(name);
    return it == m_controls.end() ? nullptr : it->second;
}

QString MainWindow::textOf(const QWidget* control) const {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    return {};
}

QString MainWindow::controlText(std::string_view name) const {
    return textOf(control(name));
}

void MainWindow::setControlText(QWidget* control, const QString& text) {
    if (control == nullptr)
        return;
    allowText(control, text);
    if (auto* combo = qobject_cast<FieldCombo*>(control))
        combo->setFieldText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
}

editor::PageTexts MainWindow::collectTexts() const {
    editor::PageTexts texts;
    for (const PageField& field : editor::allPageFields()) {
        if (field.widget == FieldWidget::Display || field.part == editor::BufferPart::None)
            continue;
        if (const QWidget* widget = control(field.name))
            texts.emplace(std::string(field.name), toLatin1(textOf(widget)));
    }
    return texts;
}

void MainWindow::applyTexts(const editor::PageTexts& texts, bool ghost) {
    for (const auto& [name, text] : texts) {
        const PageField* field = editor::findPageField(name);
        if (field == nullptr)
            continue;
        setControlText(control(ghost ? field->ghostName : field->name), fromLatin1(text));
    }
}

void MainWindow::applyAngleMode(bool degrees) {
    m_angleHeader->setText(qtName(degrees ? kAngleHeaderDegrees : kAngleHeaderRadians));
    const int limit = degrees ? kAngleMaxLengthDegrees : kAngleMaxLengthRadians;
    for (const char* name : {"efAngle", "erAngle"}) {
        QWidget* angle = control(name);
        setTypingLimit(angle, limit);
    }
    const QSignalBlocker blocker(m_anglesInDegrees);
    m_anglesInDegrees->setChecked(degrees);
}

void MainWindow::applyLoad(const editor::PageLoad& load, bool ghost) {
    applyTexts(load.texts, ghost);
    if (load.angleModeSwitched) {
        applyAngleMode(false);
        if (load.otherAngleTexts) {
            setControlText(control(ghost ? "efAngle" : "gefAngle"), fromLatin1(load.otherAngleTexts->front));
            setControlText(control(ghost ? "erAngle" : "gerAngle"), fromLatin1(load.otherAngleTexts->rear));
        }
    }
}

void MainWindow::fillPages(const VehicleFile& vehicle, bool ghost) {
    m_pagesFilling = true;
    try {
        const editor::PageLoad load = editor::loadPages(vehicle, ghost, m_settings, prompt(), otherSetAngles(ghost));
        applyLoad(load, ghost);
    } catch (...) {
        m_pagesFilling = false;
        throw;
    }
    afterPageFill(editor::PgPerformance, vehicle, ghost);
    afterPageFill(editor::PgDriveTrain, vehicle, ghost);
    if (!ghost)
        m_document->authorData() = editor::keptAuthorData(vehicle);
}

// The steps a page loader takes beyond its field texts: the engine curve and its figures for the Performance
// page; the gear bars and the calculator's read-outs for the DriveTrain page. Ends the filling.
void MainWindow::afterPageFill(int page, const VehicleFile& vehicle, bool ghost) {
    if (page == editor::PgPerformance && m_chart->exists()) {
        m_chart->loadCurve(vehicle, ghost, m_settings);
        const TorqueChart::Line torque = ghost ? TorqueChart::GhostTorqueLine : TorqueChart::TorqueLine;
        const TorqueChart::Line power = ghost ? TorqueChart::GhostPowerLine : TorqueChart::PowerLine;
        const PeakFigures figures =
            updatePeakFigures(m_chart->line(torque), m_chart->line(power), m_settings.chartMetricText);
        (ghost ? m_ghostTorqueFigure : m_torqueFigure)->setText(fromLatin1(figures.torque));
        (ghost ? m_ghostPowerFigure : m_powerFigure)->setText(fromLatin1(figures.power));
    }
    if (page == editor::PgDriveTrain && !ghost)
        afterDriveTrainFill();
    m_pagesFilling = false;
}

void MainWindow::helpForFocus() {

    for (QWidget* w = QApplication::focusWidget(); w != nullptr && w != this; w = w->parentWidget()) {
        if (const editor::PageField* field = editor::findPageField(toLatin1(w->objectName()))) {
            if (field->helpNumber > 0)
                showHelp(field->helpNumber);
            return;
        }
    }
    // Outside the page fields F1 opens the user guide.
    showUserGuide();
}

// ---- Field handlers -----------------------------------------------------------------------------------------

void MainWindow::onFieldEdited(QWidget* sender) {
    if (sender->objectName() == QLatin1String("eDescription"))
        m_carName->setText(textOf(sender));
    setChanged(true);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (fieldEvent(watched, event))
        return true;
    if (event->type() == QEvent::KeyPress && watched->property(kNumeric).toBool()) {
        if (auto* field = qobject_cast<QWidget*>(watched))
            return filterFieldKey(field, static_cast<QKeyEvent*>(event));
    }
    return QMainWindow::eventFilter(watched, event);
}

// Typed characters of numeric fields pass the field rules' key filter; keys that type nothing (moving, editing
// shortcuts) are not the filter's business.
bool MainWindow::filterFieldKey(QWidget* field, QKeyEvent* event) {
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
        prompt().beep();
        return true;
    }
    const char key = c.unicode() < 0x100 ? static_cast<char>(c.unicode()) : '\x7f';
    const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    if (qora::filterFieldKey(key, toLatin1(edit->text()), static_cast<std::size_t>(caret),
                                      typingLimit(field)) == KeyDecision::Accept)
        return false;
    prompt().beep();
    return true;
}

// Pasting, dropping or any other edit that is not a typed key goes through the same filter as typing: what
// typing would have refused is left out, with the beep a refused key gives.
void MainWindow::keepTypableText(QLineEdit* edit, QWidget* field) {
    const std::string text = toLatin1(edit->text());
    const std::string kept = keptAsTyped(text, typingLimit(field));
    if (kept == text)
        return;
    const int caret = std::max(0, edit->cursorPosition() - static_cast<int>(text.size() - kept.size()));
    edit->setText(fromLatin1(kept));
    edit->setCursorPosition(std::min(caret, static_cast<int>(kept.size())));
    prompt().beep();
}

void MainWindow::stepField(SpinButton* button, bool up) {
    const PageField* field = editor::findPageField(toLatin1(button->focusControl()->objectName()));
    if (field == nullptr)
        return;
    const FieldDef& def = fieldDef(field->page, button->tag());
    const bool angle = field->name == "efAngle" || field->name == "erAngle";
    const std::string text = toLatin1(textOf(button->focusControl()));
    const SpinStep step = up ? spinButtonUp(text, def, angle, m_settings.anglesInDegrees)
                             : spinButtonDown(text, def, angle, m_settings.anglesInDegrees);
    if (step.beep)
        prompt().beep();
    if (step.text != text)
        setControlText(button->focusControl(), fromLatin1(step.text));
}

void MainWindow::dropIntoField(QWidget* target, const QString& text) {
    setChanged(true);
    setControlText(target, text);
}

void MainWindow::toggleAnglesInDegrees() {
    const bool wanted = !m_settings.anglesInDegrees;
    if (!m_document->vehicle()) {
        applyAngleMode(m_settings.anglesInDegrees);
        return;
    }
    const AngleTexts shown{toLatin1(controlText("efAngle")), toLatin1(controlText("erAngle"))};
    const AngleModeChange change =
        setAngleMode(m_settings.anglesInDegrees, wanted, true, shown, otherSetAngles(false));
    switch (change.outcome) {
    case AngleModeOutcome::Failed:
        prompt().tell(std::string(kMathUnitTitle), change.message, PromptIcon::Exclamation);
        applyAngleMode(m_settings.anglesInDegrees);
        return;
    case AngleModeOutcome::Unchanged:
        applyAngleMode(m_settings.anglesInDegrees);
        return;
    case AngleModeOutcome::Applied:
        break;
    }
    m_settings.anglesInDegrees = change.degrees;
    applyAngleMode(change.degrees);
    if (change.vehicle) {
        setControlText(control("efAngle"), fromLatin1(change.vehicle->front));
        setControlText(control("erAngle"), fromLatin1(change.vehicle->rear));
    }
    if (change.ghost) {
        setControlText(control("gefAngle"), fromLatin1(change.ghost->front));
        setControlText(control("gerAngle"), fromLatin1(change.ghost->rear));
    }
}

// ---- Options restored at start-up ---------------------------------------------------------------------------

void MainWindow::restoreOptions() {
    for (const PageField& field : editor::allPageFields()) {
        const std::vector<std::string>* items = editor::settingsListItems(field.name, m_settings);
        auto* combo = qobject_cast<FieldCombo*>(control(field.name));
        if (items == nullptr || combo == nullptr)
            continue;
        QStringList list;
        for (const std::string& item : *items)
            list << fromLatin1(item);
        combo->setItems(list);
    }
    applyAngleMode(m_settings.anglesInDegrees);
    restoreDriveTrainOptions();
}

} // namespace qora::gui
