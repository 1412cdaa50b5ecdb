// The DriveTrain page: the gear bars and edits kept in step, the gearing calculator's upshift read-outs, best
// gears and options, and the gearing chart under the gears, fed from this page's fields and the figures other pages
// hold (tyre radius, rpm limits, the engine curve).

#include "pages/drivetrain_page.h"

#include <algorithm>
#include <map>
#include <string>

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "calc/engine_curve.h"
#include "calc/field_rules.h"
#include "calc/gearing.h"
#include "calc/gearing_chart.h"
#include "chart/chart_painter.h"
#include "chart/gearing_chart.h"
#include "chart/torque_chart.h"
#include "documents/edit_history.h"
#include "documents/ghost_document.h"
#include "documents/vehicle_document.h"
#include "editor/field_access.h"
#include "editor/page_fields.h"
#include "pages/page_host.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "settings/settings.h"

namespace qora::gui {

namespace {

using editor::PageField;

static_assert(kGearEditCount == DriveTrainPage::kGearCount);
static_assert(static_cast<int>(GearField::Reverse) == GearReverse && static_cast<int>(GearField::First) == Gear1 &&
              static_cast<int>(GearField::Final) == GearFinal);

constexpr std::array<const char*, kGearEditCount> kGearEditNames{"eGearReverse", "eGear1", "eGear2", "eGear3",
                                                                 "eGear4",       "eGear5", "eGear6", "eGearFinal"};
constexpr std::array<const char*, kGearEditCount> kGearBarNames{"sbGearReverse", "sbGear1", "sbGear2", "sbGear3",
                                                                "sbGear4",       "sbGear5", "sbGear6", "sbGearFinal"};

// The text a gear edit held when the user entered it: what undoing a refused text goes back to.
constexpr const char* kEntryText = "qoraEntryText";

// The objectName of a vehicle field's ghost twin ("eGear1" -> "geGear1", "erRadius" -> "gerRadius").
std::string twinOf(std::string_view name) {
    const editor::PageField* field = editor::findPageField(name);
    return field != nullptr ? std::string(field->ghostName) : std::string();
}

} // namespace

DriveTrainPage::DriveTrainPage(PageHost& host, TorqueChart& chart, QWidget* parent)
    : FieldPage(editor::PgDriveTrain, host, parent), m_chart(chart) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    // The gearing chart under the gears takes the spare height.
    layout->addWidget(buildContent(this), 1);
    // A changed curve moves the peak power rpm; "Metric Text" switches between km/h and mph.
    connect(&m_chart, &TorqueChart::peakFiguresChanged, this, [this] { refreshGearingChart(); });
}

DriveTrainPage::~DriveTrainPage() = default;

// Leaving a gear edit checks its text (switching to another window or opening a menu does not leave it).
bool DriveTrainPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const auto it = std::find(m_gearEdits.begin(), m_gearEdits.end(), watched);
        if (it != m_gearEdits.end()) {
            QLineEdit* edit = *it;
            if (event->type() == QEvent::FocusIn) {
                edit->setProperty(kEntryText, edit->text());
            } else {
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                    host().guarded([&] { finishGearEdit(static_cast<int>(it - m_gearEdits.begin())); });
            }
            return false;
        }
    }
    return FieldPage::eventFilter(watched, event);
}

void DriveTrainPage::setMaxGearRange(int maximum) {
    // A bar beyond its new maximum only moves its slider: the gear it shows keeps its value.
    for (QScrollBar* bar : m_gearBars) {
        const QSignalBlocker blocker(bar);
        bar->setMaximum(maximum);
    }
}

QWidget* DriveTrainPage::buildContent(QWidget* parent) {
    m_gears.reset(new GearCalculator(host().settings()));
    std::map<std::string_view, FieldRow> rows;
    auto* area = new QWidget(parent);
    auto* columns = new QHBoxLayout(area);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(10);

    auto* gears = new QGroupBox(tr("Gear Ratios"), area);
    gears->setObjectName(QStringLiteral("grpDriveTrain0"));
    auto* grid = new QGridLayout(gears);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    for (const PageField& field : editor::pageFields(editor::PgDriveTrain))
        rows.emplace(field.name, makeRow(field, gears));

    const auto heading = [gears](const QString& text) {
        auto* label = new QLabel(text, gears);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        return label;
    };
    grid->addWidget(heading(tr("Ratio")), 0, 2);
    grid->addWidget(heading(tr("Upshift RPM")), 0, 4);
    grid->addWidget(heading(tr("Best Gear")), 0, 5);
    for (int gear = 0; gear < kGearEditCount; ++gear) {
        const FieldRow& row = rows.at(kGearEditNames[static_cast<std::size_t>(gear)]);
        auto* bar = new QScrollBar(Qt::Horizontal, gears);
        bar->setObjectName(QString::fromLatin1(kGearBarNames[static_cast<std::size_t>(gear)]));
        bar->setRange(0, 6000);
        bar->setValue(3000);
        bar->setPageStep(100);
        bar->setSingleStep(1);
        bar->setMinimumWidth(160);
        bar->setFocusPolicy(Qt::ClickFocus);
        connect(bar, &QScrollBar::valueChanged, this, [this, gear] { host().guarded([&] { gearBarMoved(gear); }); });
        m_gearBars[static_cast<std::size_t>(gear)] = bar;
        m_gearEdits[static_cast<std::size_t>(gear)] = qobject_cast<QLineEdit*>(row.control);
        addControl(kGearBarNames[static_cast<std::size_t>(gear)], bar);
        connect(m_gearEdits[static_cast<std::size_t>(gear)], &QLineEdit::textChanged, this,
                [this, gear] { host().guarded([&] { gearEditChanged(gear); }); });

        const int r = gear + 1;
        grid->addWidget(row.label, r, 0);
        grid->addWidget(bar, r, 1);
        grid->addWidget(row.control, r, 2);
        grid->addWidget(row.ghost, r, 3);
        if (gear >= Gear2 && gear <= Gear6) {
            const std::string n = std::to_string(gear);
            grid->addWidget(rows.at(editor::findPageField("eGearRpm" + n)->name).control, r, 4);
            grid->addWidget(rows.at(editor::findPageField("eBestGear" + n)->name).control, r, 5);
        }
    }
    const FieldRow& upgraded = rows.at("eUpgraded6th");
    grid->addWidget(upgraded.label, kGearEditCount + 1, 3, 1, 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(upgraded.control, kGearEditCount + 1, 5);
    upgraded.control->setToolTip(tr("The approx. ratio of 6th gear when upgraded in the game"));
    const FieldRow& drive = rows.at("cbDriveType");
    grid->addWidget(drive.label, kGearEditCount + 2, 0);
    drive.control->setMaximumWidth(drive.control->minimumSizeHint().width() + 60);
    grid->addWidget(drive.control, kGearEditCount + 2, 1, Qt::AlignLeft);
    grid->addWidget(drive.ghost, kGearEditCount + 2, 3);
    grid->setColumnStretch(1, 1);
    for (const char* name : {"eGearRpm2", "eGearRpm3", "eGearRpm4", "eGearRpm5", "eGearRpm6"})
        rows.at(editor::findPageField(name)->name).control->setToolTip(tr("Engine speed right after the upshift"));
    for (const char* name : {"eBestGear2", "eBestGear3", "eBestGear4", "eBestGear5", "eBestGear6"})
        rows.at(editor::findPageField(name)->name)
            .control->setToolTip(tr("Recommended ratio: drag it onto a gear to use it"));
    // The gearing chart takes the room under the gears, growing with the window.
    auto* gearColumn = new QVBoxLayout;
    gearColumn->setSpacing(10);
    gearColumn->addWidget(gears);
    gearColumn->addWidget(buildGearingChart(area), 1);
    columns->addLayout(gearColumn, 1);

    // The calculator's options.
    auto* side = new QVBoxLayout;
    side->setSpacing(10);
    auto* peaks = new QGroupBox(tr("Engine"), area);
    auto* peaksLayout = new QVBoxLayout(peaks);
    m_peakTorqueCaption = new QLabel(QStringLiteral("Max Torque @ 00000rpm"), peaks);
    m_peakTorqueCaption->setObjectName(QStringLiteral("hlDTTorque"));
    m_peakPowerCaption = new QLabel(QStringLiteral("Max  Power @ 00000rpm"), peaks);
    m_peakPowerCaption->setObjectName(QStringLiteral("hlDTHp"));
    peaksLayout->addWidget(m_peakTorqueCaption);
    peaksLayout->addWidget(m_peakPowerCaption);
    side->addWidget(peaks);

    auto* base = new QGroupBox(tr("Base Upshift RPM Calculation On..."), area);
    auto* baseLayout = new QVBoxLayout(base);
    m_upshiftBase = new QComboBox(base);
    m_upshiftBase->setObjectName(QStringLiteral("cbUpshiftBase"));
    m_upshiftBase->setEditable(true);
    m_upshiftBase->setInsertPolicy(QComboBox::NoInsert);
    m_upshiftBase->addItems({tr("Auto Shift rpm"), tr("Maximum rpm"), tr("Maximum Power rpm")});
    m_upshiftBase->setCurrentIndex(BaseAutoShift);
    m_upshiftBase->setMinimumContentsLength(22);
    // Five digits may be typed, but the items (with their rpm) are longer and must never be cut.
    setTypedLengthLimit(m_upshiftBase, 5);
    m_upshiftBase->setProperty(kNumeric, true);
    m_upshiftBase->installEventFilter(this);
    addControl("cbUpshiftBase", m_upshiftBase);
    connect(m_upshiftBase, &QComboBox::currentIndexChanged, this,
            [this] { host().guarded([this] { calculateUpshift(UpshiftSender::BaseCombo); }); });
    // Typing a number leaves the items: the typed rpm is used by the button only.
    connect(m_upshiftBase->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_upshiftBase->currentIndex() < 0)
            return;
        const QSignalBlocker blocker(m_upshiftBase);
        const int caret = m_upshiftBase->lineEdit()->cursorPosition();
        m_upshiftBase->setCurrentIndex(-1);
        m_upshiftBase->setEditText(text);
        m_upshiftBase->lineEdit()->setCursorPosition(caret);
    });
    m_calcUpshift = new QPushButton(tr("&Calculate using specified RPM"), base);
    m_calcUpshift->setObjectName(QStringLiteral("bCalcUpshiftRpm"));
    connect(m_calcUpshift, &QPushButton::clicked, this,
            [this] { host().guarded([this] { calculateUpshift(UpshiftSender::CalcButton); }); });
    baseLayout->addWidget(m_upshiftBase);
    baseLayout->addWidget(m_calcUpshift);
    side->addWidget(base);

    const auto toggle = [](QWidget* owner, const char* name, const QString& text) {
        auto* button = new QToolButton(owner);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text);
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        return button;
    };
    auto* basis = new QGroupBox(tr("Base Best Gear Calculation On..."), area);
    auto* basisLayout = new QVBoxLayout(basis);
    m_baseFirst = toggle(basis, "bUpshiftBaseFirst", tr("First Gear Only"));
    m_basePrev = toggle(basis, "bUpshiftBasePrev", tr("Previous Gear Only"));
    auto* basisGroup = new QButtonGroup(basis);
    basisGroup->addButton(m_baseFirst);
    basisGroup->addButton(m_basePrev);
    m_baseFirst->setChecked(true);
    connect(m_baseFirst, &QToolButton::clicked, this, [this] { host().guarded([this] { stepUpshiftBase(true); }); });
    connect(m_basePrev, &QToolButton::clicked, this, [this] { host().guarded([this] { stepUpshiftBase(false); }); });
    basisLayout->addWidget(m_baseFirst);
    basisLayout->addWidget(m_basePrev);
    side->addWidget(basis);

    auto* threshold = new QGroupBox(tr("Best Gear Ratio Rpm Variance"), area);
    auto* thresholdLayout = new QVBoxLayout(threshold);
    auto* thresholdGroup = new QButtonGroup(threshold);
    static constexpr std::array<const char*, 3> kThreshNames{"sbGearThreshNone", "sbGearThreshCrossFade",
                                                             "sbGearThreshFadeIn"};
    const std::array<QString, 3> captions{tr("None"), tr("Cross-Fade"), tr("Quick Fade-In")};
    for (int mode = 0; mode < 3; ++mode) {
        QToolButton* button =
            toggle(threshold, kThreshNames[static_cast<std::size_t>(mode)], captions[static_cast<std::size_t>(mode)]);
        thresholdGroup->addButton(button, mode);
        thresholdLayout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, mode] { host().guarded([&] { setGearThreshold(mode); }); });
        m_threshButtons[static_cast<std::size_t>(mode)] = button;
    }
    m_threshButtons[1]->setChecked(true);
    side->addWidget(threshold);
    // The pressed option of each group stands out plainly.
    for (QGroupBox* group : {basis, threshold})
        group->setStyleSheet(QStringLiteral("QToolButton:checked { background-color: palette(highlight); "
                                            "color: palette(highlighted-text); border: 1px solid palette(dark); "
                                            "border-radius: 3px; padding: 3px; }"));
    side->addStretch(1);
    columns->addLayout(side);
    return area;
}

DriveTrainTexts DriveTrainPage::driveTrainTexts() const {
    DriveTrainTexts texts;
    for (int gear = 0; gear < kGearEditCount; ++gear)
        texts.gears[static_cast<std::size_t>(gear)] = toLatin1(m_gearEdits[static_cast<std::size_t>(gear)]->text());
    texts.maxRpm = toLatin1(textOf(host().control("eMaxRpm")));
    texts.autoShiftRpm = toLatin1(textOf(host().control("eAutoShiftRpm")));
    if (m_chart.exists()) {
        texts.peakTorqueRpm = peakRpm(m_chart.line(TorqueChart::TorqueLine));
        texts.peakPowerRpm = peakRpm(m_chart.line(TorqueChart::PowerLine));
    }
    return texts;
}

void DriveTrainPage::calculateUpshift(UpshiftSender sender) {
    if (!host().document().isOpen() || host().pagesFilling() || !m_chart.exists() ||
        host().currentPage() != editor::PgDriveTrain)
        return;
    const UpshiftBase base{m_upshiftBase->currentIndex(), toLatin1(m_upshiftBase->currentText())};
    showUpshift(m_gears->calculateUpshift(sender, driveTrainTexts(), base));
}

void DriveTrainPage::updateBestGears() {
    if (!host().document().isOpen() || host().pagesFilling() || !m_chart.exists() ||
        host().currentPage() != editor::PgDriveTrain)
        return;
    UpshiftRefresh refresh;
    refresh.bestGears = m_gears->updateBestGears(driveTrainTexts());
    showUpshift(refresh);
}

void DriveTrainPage::showUpshift(const UpshiftRefresh& refresh) {
    if (refresh.captions) {
        m_peakTorqueCaption->setText(fromLatin1(refresh.captions->torque));
        m_peakPowerCaption->setText(fromLatin1(refresh.captions->power));
        const QSignalBlocker blocker(m_upshiftBase);
        const int selected = m_upshiftBase->currentIndex();
        const QString typed = m_upshiftBase->currentText();
        for (int i = 0; i < 3; ++i)
            m_upshiftBase->setItemText(i, fromLatin1(refresh.captions->baseItems[static_cast<std::size_t>(i)]));
        if (selected < 0) {
            m_upshiftBase->setCurrentIndex(-1);
            m_upshiftBase->setEditText(typed);
        }
    }
    if (refresh.upshift) {
        for (int i = 0; i < 5; ++i) {
            const UpshiftReadout& readout = refresh.upshift->readouts[static_cast<std::size_t>(i)];
            auto* display = qobject_cast<QLineEdit*>(host().control("eGearRpm" + std::to_string(i + 2)));
            display->setText(fromLatin1(readout.text));
            m_upshiftColours[static_cast<std::size_t>(i)] = readout.colour;
        }
        paintUpshiftReadouts();
        if (refresh.upshift->message)
            host().prompt().tell(refresh.upshift->message->title, refresh.upshift->message->text, PromptIcon::Stop);
        if (refresh.upshift->selectAutoShiftItem) {
            const QSignalBlocker blocker(m_upshiftBase);
            m_upshiftBase->setCurrentIndex(BaseAutoShift);
        }
    }
    if (refresh.bestGears) {
        for (int i = 0; i < 5; ++i)
            setControlText(host().control("eBestGear" + std::to_string(i + 2)),
                           fromLatin1(refresh.bestGears->best[static_cast<std::size_t>(i)]));
        setControlText(host().control("eUpgraded6th"), fromLatin1(refresh.bestGears->upgraded6th));
    }
    refreshGearingChart();
}

// The read-outs' red (over the limit) and grey (not reached) stay through a change of the application colours.
void DriveTrainPage::paintUpshiftReadouts() {
    const QColor normal = m_gearEdits[Gear1]->palette().color(QPalette::Text);
    for (int i = 0; i < 5; ++i) {
        auto* display = qobject_cast<QLineEdit*>(host().control("eGearRpm" + std::to_string(i + 2)));
        const ReadoutColour colour = m_upshiftColours[static_cast<std::size_t>(i)];
        QPalette palette = display->palette();
        palette.setColor(QPalette::Text, colour == ReadoutColour::Red    ? QColor(255, 0, 0)
                                         : colour == ReadoutColour::Grey ? QColor(128, 128, 128)
                                                                         : normal);
        display->setPalette(palette);
    }
}

void DriveTrainPage::gearBarMoved(int gear) {
    QScrollBar* bar = m_gearBars[static_cast<std::size_t>(gear)];
    QLineEdit* edit = m_gearEdits[static_cast<std::size_t>(gear)];
    const QSignalBlocker blocker(bar);
    // The edit's own change handling records the change (moves of a bar merge as steps); its bar is not
    // written back.
    m_gearSync = true;
    {
        const auto steps = host().document().history().stepping();
        setControlText(edit, fromLatin1(gearTextFromPosition(bar->value(), gear == GearReverse)));
    }
    m_gearSync = false;
    recalculateDriveTrain();
}

void DriveTrainPage::gearEditChanged(int gear) {
    if (m_gearSync)
        return;
    const auto position =
        gearPositionFromText(toLatin1(m_gearEdits[static_cast<std::size_t>(gear)]->text()), gear == GearReverse);
    if (!position)
        return;
    {
        const QSignalBlocker blocker(m_gearBars[static_cast<std::size_t>(gear)]);
        m_gearBars[static_cast<std::size_t>(gear)]->setValue(*position);
    }
    if (host().pagesFilling())
        return;
    recalculateDriveTrain();
}

void DriveTrainPage::recalculateDriveTrain() {
    if (!host().document().isOpen() || host().pagesFilling() || !m_chart.exists() ||
        host().currentPage() != editor::PgDriveTrain)
        return;
    UpshiftRefresh refresh;
    const UpshiftBase base{m_upshiftBase->currentIndex(), toLatin1(m_upshiftBase->currentText())};
    refresh.upshift = m_gears->calculateUpshiftRpm(driveTrainTexts(), base);
    showUpshift(refresh);
    updateBestGears();
}

void DriveTrainPage::stepUpshiftBase(bool firstGearOnly) {
    applyUpshiftBasis(host().settings(), firstGearOnly);
    (firstGearOnly ? m_baseFirst : m_basePrev)->setChecked(true);
    recalculateDriveTrain();
}

void DriveTrainPage::setGearThreshold(int mode) {
    applyGearThresholdMode(host().settings(), mode);
    m_threshButtons[static_cast<std::size_t>(std::clamp(mode, 0, 2))]->setChecked(true);
    recalculateDriveTrain();
}

void DriveTrainPage::pageShown() {
    calculateUpshift(UpshiftSender::PageControl);
}

void DriveTrainPage::afterFill(const VehicleFile& /*vehicle*/, bool ghost) {
    if (ghost) {
        host().endFilling();
        return;
    }
    for (int gear = 0; gear < kGearEditCount; ++gear) {
        const auto position =
            gearPositionFromText(toLatin1(m_gearEdits[static_cast<std::size_t>(gear)]->text()), gear == GearReverse);
        if (position) {
            const QSignalBlocker blocker(m_gearBars[static_cast<std::size_t>(gear)]);
            m_gearBars[static_cast<std::size_t>(gear)]->setValue(*position);
        }
    }
    host().endFilling();
    calculateUpshift(UpshiftSender::PageControl);
    updateBestGears();
}

void DriveTrainPage::restoreOptions() {
    (host().settings().gearUpShiftBaseFirst ? m_baseFirst : m_basePrev)->setChecked(true);
    m_threshButtons[static_cast<std::size_t>(std::clamp(host().settings().gearRpmThresholdMode, 0, 2))]->setChecked(
        true);
    for (QScrollBar* bar : m_gearBars)
        bar->setMaximum(host().settings().maxGearRange);
}

QWidget* DriveTrainPage::buildGearingChart(QWidget* parent) {
    auto* box = new QGroupBox(tr("Road Speed in Each Gear"), parent);
    box->setObjectName(QStringLiteral("grpGearingChart"));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    m_gearingChart = new GearingChart(box);
    layout->addWidget(m_gearingChart);
    return box;
}

void DriveTrainPage::followOtherPages() {
    // The figures the chart takes from other pages; the gears and the upshift base come with the read-outs.
    for (const char* name : {"efRadius", "erRadius", "eMaxRpm", "eAutoShiftRpm"})
        if (auto* edit = qobject_cast<QLineEdit*>(host().control(name)))
            connect(edit, &QLineEdit::textChanged, this, [this] { refreshGearingChart(); });
    if (auto* drive = qobject_cast<QComboBox*>(host().control("cbDriveType")))
        connect(drive, &QComboBox::currentTextChanged, this, [this] { refreshGearingChart(); });
}

void DriveTrainPage::refreshGearingChart() {
    if (m_gearingChart == nullptr || host().pagesFilling())
        return;
    const SpeedUnit unit = host().settings().chartMetricText ? SpeedUnit::Kmh : SpeedUnit::Mph;
    const UpshiftBase base{m_upshiftBase->currentIndex(), toLatin1(m_upshiftBase->currentText())};

    GearingChartData vehicle;
    if (host().document().isOpen()) {
        const std::string_view tyre = drivenTyreField(toLatin1(textOf(host().control("cbDriveType"))));
        vehicle = gearingChart(gearingInput(driveTrainTexts(), base, toLatin1(textOf(host().control(tyre))), unit));
    }
    std::optional<GearingChartData> ghost;
    if (host().ghostDocument().isOpen()) {
        DriveTrainTexts texts;
        for (int gear = 0; gear < kGearEditCount; ++gear)
            texts.gears[static_cast<std::size_t>(gear)] =
                toLatin1(textOf(host().control(twinOf(kGearEditNames[static_cast<std::size_t>(gear)]))));
        texts.maxRpm = toLatin1(textOf(host().control(twinOf("eMaxRpm"))));
        texts.autoShiftRpm = toLatin1(textOf(host().control(twinOf("eAutoShiftRpm"))));
        if (m_chart.exists()) {
            texts.peakTorqueRpm = peakRpm(m_chart.line(TorqueChart::GhostTorqueLine));
            texts.peakPowerRpm = peakRpm(m_chart.line(TorqueChart::GhostPowerLine));
        }
        const std::string_view tyre = drivenTyreField(toLatin1(textOf(host().control(twinOf("cbDriveType")))));
        ghost = gearingChart(gearingInput(texts, base, toLatin1(textOf(host().control(twinOf(tyre)))), unit));
    }
    m_gearingChart->setColours(ChartPainter::toQColor(host().settings().chartColor(0)),
                               ChartPainter::toQColor(host().settings().chartColor(1)));
    m_gearingChart->setCharts(vehicle, ghost, unit);
}

void DriveTrainPage::finishGearEdit(int gear) {
    QLineEdit* edit = m_gearEdits[static_cast<std::size_t>(gear)];
    // The edit can undo when the user changed its text since entering it; undoing goes back to that text.
    const QVariant entry = edit->property(kEntryText);
    edit->setProperty(kEntryText, QVariant());
    const bool canUndo = entry.isValid() && entry.toString() != edit->text();
    const GearExitDecision decision =
        qora::finishGearEdit(static_cast<GearField>(gear), toLatin1(edit->text()), canUndo);
    switch (decision.action) {
    case GearExitAction::Leave:
        break;
    case GearExitAction::Rewrite:
        setControlText(edit, fromLatin1(decision.text));
        break;
    case GearExitAction::Undo:
        setControlText(edit, entry.toString());
        break;
    }
    if (decision.beep)
        host().prompt().beep();
}

} // namespace qora::gui
