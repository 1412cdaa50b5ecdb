// The DriveTrain page of the main window: the gear bars and edits kept in step, and the gearing calculator's
// read-outs, best gears and options.

#include <algorithm>
#include <map>
#include <string>

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "calc/engine_curve.h"
#include "calc/gearing.h"
#include "editor/field_access.h"
#include "editor/main_window.h"
#include "editor/page_fields.h"
#include "editor/torque_chart.h"
#include "platform/qt_text.h"

namespace qora::gui {

namespace {

using editor::PageField;

static_assert(kGearEditCount == MainWindow::kGearCount);

constexpr std::array<const char*, kGearEditCount> kGearEditNames{"eGearReverse", "eGear1", "eGear2", "eGear3",
                                                                 "eGear4",       "eGear5", "eGear6", "eGearFinal"};
constexpr std::array<const char*, kGearEditCount> kGearBarNames{"sbGearReverse", "sbGear1", "sbGear2", "sbGear3",
                                                                "sbGear4",       "sbGear5", "sbGear6", "sbGearFinal"};

} // namespace

void MainWindow::GearCalculatorDeleter::operator()(GearCalculator* calculator) const {
    delete calculator;
}

QWidget* MainWindow::buildDriveTrain(QWidget* parent) {
    m_gears.reset(new GearCalculator(m_settings));
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
        connect(bar, &QScrollBar::valueChanged, this, [this, gear] { guarded([&] { gearBarMoved(gear); }); });
        m_gearBars[static_cast<std::size_t>(gear)] = bar;
        m_gearEdits[static_cast<std::size_t>(gear)] = qobject_cast<QLineEdit*>(row.control);
        m_controls.emplace(kGearBarNames[static_cast<std::size_t>(gear)], bar);
        connect(m_gearEdits[static_cast<std::size_t>(gear)], &QLineEdit::textChanged, this,
                [this, gear] { guarded([&] { gearEditChanged(gear); }); });

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
    m_dtTorque = new QLabel(QStringLiteral("Max Torque @ 00000rpm"), peaks);
    m_dtTorque->setObjectName(QStringLiteral("hlDTTorque"));
    m_dtPower = new QLabel(QStringLiteral("Max  Power @ 00000rpm"), peaks);
    m_dtPower->setObjectName(QStringLiteral("hlDTHp"));
    peaksLayout->addWidget(m_dtTorque);
    peaksLayout->addWidget(m_dtPower);
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
    m_controls.emplace("cbUpshiftBase", m_upshiftBase);
    connect(m_upshiftBase, &QComboBox::currentIndexChanged, this,
            [this] { guarded([this] { calculateUpshift(UpshiftSender::BaseCombo); }); });
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
            [this] { guarded([this] { calculateUpshift(UpshiftSender::CalcButton); }); });
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
    connect(m_baseFirst, &QToolButton::clicked, this, [this] { guarded([this] { stepUpshiftBase(true); }); });
    connect(m_basePrev, &QToolButton::clicked, this, [this] { guarded([this] { stepUpshiftBase(false); }); });
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
        connect(button, &QToolButton::clicked, this, [this, mode] { guarded([&] { setGearThreshold(mode); }); });
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

DriveTrainTexts MainWindow::driveTrainTexts() const {
    DriveTrainTexts texts;
    for (int gear = 0; gear < kGearEditCount; ++gear)
        texts.gears[static_cast<std::size_t>(gear)] = toLatin1(m_gearEdits[static_cast<std::size_t>(gear)]->text());
    texts.maxRpm = toLatin1(controlText("eMaxRpm"));
    texts.autoShiftRpm = toLatin1(controlText("eAutoShiftRpm"));
    if (m_chart->exists()) {
        texts.peakTorqueRpm = peakRpm(m_chart->line(TorqueChart::TorqueLine));
        texts.peakPowerRpm = peakRpm(m_chart->line(TorqueChart::PowerLine));
    }
    return texts;
}

void MainWindow::calculateUpshift(UpshiftSender sender) {
    if (!m_document->vehicle() || m_pagesFilling || !m_chart->exists() || m_pages->currentIndex() != editor::PgDriveTrain)
        return;
    const UpshiftBase base{m_upshiftBase->currentIndex(), toLatin1(m_upshiftBase->currentText())};
    showUpshift(m_gears->calculateUpshift(sender, driveTrainTexts(), base));
}

void MainWindow::updateBestGears() {
    if (!m_document->vehicle() || m_pagesFilling || !m_chart->exists() || m_pages->currentIndex() != editor::PgDriveTrain)
        return;
    UpshiftRefresh refresh;
    refresh.bestGears = m_gears->updateBestGears(driveTrainTexts());
    showUpshift(refresh);
}

void MainWindow::showUpshift(const UpshiftRefresh& refresh) {
    if (refresh.captions) {
        m_dtTorque->setText(fromLatin1(refresh.captions->torque));
        m_dtPower->setText(fromLatin1(refresh.captions->power));
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
            auto* display = qobject_cast<QLineEdit*>(control("eGearRpm" + std::to_string(i + 2)));
            display->setText(fromLatin1(readout.text));
            m_upshiftColours[static_cast<std::size_t>(i)] = readout.colour;
        }
        paintUpshiftReadouts();
        if (refresh.upshift->message)
            prompt().tell(refresh.upshift->message->title, refresh.upshift->message->text, PromptIcon::Stop);
        if (refresh.upshift->selectAutoShiftItem) {
            const QSignalBlocker blocker(m_upshiftBase);
            m_upshiftBase->setCurrentIndex(BaseAutoShift);
        }
    }
    if (refresh.bestGears) {
        for (int i = 0; i < 5; ++i)
            setControlText(control("eBestGear" + std::to_string(i + 2)),
                           fromLatin1(refresh.bestGears->best[static_cast<std::size_t>(i)]));
        setControlText(control("eUpgraded6th"), fromLatin1(refresh.bestGears->upgraded6th));
    }
    refreshGearingChart();
}

// The read-outs' red (over the limit) and grey (not reached) stay through a change of the application colours.
void MainWindow::paintUpshiftReadouts() {
    const QColor normal = m_gearEdits[Gear1]->palette().color(QPalette::Text);
    for (int i = 0; i < 5; ++i) {
        auto* display = qobject_cast<QLineEdit*>(control("eGearRpm" + std::to_string(i + 2)));
        const ReadoutColour colour = m_upshiftColours[static_cast<std::size_t>(i)];
        QPalette palette = display->palette();
        palette.setColor(QPalette::Text, colour == ReadoutColour::Red    ? QColor(255, 0, 0)
                                         : colour == ReadoutColour::Grey ? QColor(128, 128, 128)
                                                                         : normal);
        display->setPalette(palette);
    }
}

void MainWindow::gearBarMoved(int gear) {
    QScrollBar* bar = m_gearBars[static_cast<std::size_t>(gear)];
    QLineEdit* edit = m_gearEdits[static_cast<std::size_t>(gear)];
    const QSignalBlocker blocker(bar);
    // The edit's own change handling marks the file changed; its bar is not written back.
    m_gearSync = true;
    setControlText(edit, fromLatin1(gearTextFromPosition(bar->value(), gear == GearReverse)));
    m_gearSync = false;
    recalculateDriveTrain();
}

void MainWindow::gearEditChanged(int gear) {
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
    if (m_pagesFilling)
        return;
    setChanged(true);
    recalculateDriveTrain();
}

void MainWindow::recalculateDriveTrain() {
    if (!m_document->vehicle() || m_pagesFilling || !m_chart->exists() || m_pages->currentIndex() != editor::PgDriveTrain)
        return;
    UpshiftRefresh refresh;
    const UpshiftBase base{m_upshiftBase->currentIndex(), toLatin1(m_upshiftBase->currentText())};
    refresh.upshift = m_gears->calculateUpshiftRpm(driveTrainTexts(), base);
    showUpshift(refresh);
    updateBestGears();
}

void MainWindow::stepUpshiftBase(bool firstGearOnly) {
    applyUpshiftBasis(m_settings, firstGearOnly);
    (firstGearOnly ? m_baseFirst : m_basePrev)->setChecked(true);
    recalculateDriveTrain();
}

void MainWindow::setGearThreshold(int mode) {
    applyGearThresholdMode(m_settings, mode);
    m_threshButtons[static_cast<std::size_t>(std::clamp(mode, 0, 2))]->setChecked(true);
    recalculateDriveTrain();
}

void MainWindow::onPageChanged() {
    calculateUpshift(UpshiftSender::PageControl);
}

void MainWindow::afterDriveTrainFill() {
    for (int gear = 0; gear < kGearEditCount; ++gear) {
        const auto position =
            gearPositionFromText(toLatin1(m_gearEdits[static_cast<std::size_t>(gear)]->text()), gear == GearReverse);
        if (position) {
            const QSignalBlocker blocker(m_gearBars[static_cast<std::size_t>(gear)]);
            m_gearBars[static_cast<std::size_t>(gear)]->setValue(*position);
        }
    }
    m_pagesFilling = false;
    calculateUpshift(UpshiftSender::PageControl);
    updateBestGears();
}

void MainWindow::restoreDriveTrainOptions() {
    (m_settings.gearUpShiftBaseFirst ? m_baseFirst : m_basePrev)->setChecked(true);
    m_threshButtons[static_cast<std::size_t>(std::clamp(m_settings.gearRpmThresholdMode, 0, 2))]->setChecked(true);
    for (QScrollBar* bar : m_gearBars)
        bar->setMaximum(m_settings.maxGearRange);
}

} // namespace qora::gui
