#include "settings/preferences_dialog.h"

#include <cmath>

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "calc/number_text.h"
#include "platform/pickers.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "platform/text.h"

namespace qora::gui {

namespace {

constexpr int kMinGearRange = 4000;
constexpr int kMaxGearRange = 9999;
constexpr int kGearRangeLength = 5;

QString gearRangeText(int thousandths) {
    return fromLatin1(numbers::formatFloat("0.000", thousandths / 1000.0));
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

std::optional<int> maxGearRangeFromText(std::string_view text) {
    const std::optional<double> value = numbers::parseDouble(text::trimView(text));
    if (!value)
        return std::nullopt;
    double thousandths = *value * 1000.0;
    // A typed "4.1" is 4100 thousandths, although 4.1 times 1000 comes out a hair below that in binary.
    if (const double whole = std::round(thousandths); std::abs(thousandths - whole) < 1e-6)
        thousandths = whole;
    thousandths = std::trunc(thousandths);
    if (!(thousandths >= kMinGearRange && thousandths <= kMaxGearRange))
        return std::nullopt;
    return static_cast<int>(thousandths);
}

PreferencesDialog::PreferencesDialog(Prompt& prompt, FolderPicker& folders, QWidget* parent)
    : BaseDialog(tr("QORA Preferences"), parent), m_prompt(&prompt), m_folders(&folders) {
    setObjectName(QStringLiteral("dlgAppPreferences"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    m_gameFolder = folderRow(grid, 0, "eTrevantFolder", tr("Trevant Folder:"), "bTrevantFolder");
    m_patchFolder = folderRow(grid, 1, "ePatchFolder", tr("Patch:"), "bPatchFolder");
    m_soundFolder = folderRow(grid, 2, "eSoundFolder", tr("Sounds:"), "bSoundFolder");

    m_maxGearRange = new QLineEdit(this);
    m_maxGearRange->setObjectName(QStringLiteral("eMaxGearRange"));
    m_maxGearRange->setMaxLength(kGearRangeLength);
    m_maxGearRange->setToolTip(tr("Max gear value for gear sliders (4.000-9.000)"));
    m_maxGearRange->setFixedWidth(m_maxGearRange->fontMetrics().horizontalAdvance(QStringLiteral("00.0000")) + 14);
    auto* gearLabel = new QLabel(tr("Max &Gear Range:"), this);
    gearLabel->setBuddy(m_maxGearRange);
    grid->addWidget(gearLabel, 3, 0);
    grid->addWidget(m_maxGearRange, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    contentLayout()->addLayout(grid);

    auto* switches = new QGridLayout;
    switches->setHorizontalSpacing(18);
    switches->setVerticalSpacing(4);
    m_generalWarnings = checkBox(this, "cbGeneralWarnings", tr("Show General Warnings"));
    m_warnCompressed = checkBox(this, "cbWarnCompressed", tr("Warn of unloadable files"));
    m_mouseWheel = checkBox(this, "cbEnableMouseWheel", tr("Mouse Wheel Support"));
    m_mouseWheel->setChecked(true);
    m_mouseWheel->setEnabled(false);
    m_mouseWheel->setToolTip(tr("The mouse wheel always steps the field under the mouse"));
    m_hideSpinButtons = checkBox(this, "cbHideSpinButtons", tr("Hide Spin Buttons"));
    m_backups = checkBox(this, "cbBackUps", tr("Backup Files (.veX, .veB)"));
    m_associate = checkBox(this, "cbAssociate", tr("VEH File Association"));
    m_associate->setToolTip(tr("Open .veh files in QORA from the file manager"));
    switches->addWidget(m_generalWarnings, 0, 0);
    switches->addWidget(m_warnCompressed, 1, 0);
    switches->addWidget(m_mouseWheel, 2, 0);
    switches->addWidget(m_hideSpinButtons, 0, 1);
    switches->addWidget(m_backups, 1, 1);
    switches->addWidget(m_associate, 2, 1);
    switches->setColumnStretch(2, 1);
    contentLayout()->addSpacing(4);
    contentLayout()->addLayout(switches);
    contentLayout()->addStretch(1);

    setMinimumWidth(460);
    setPreferences(AppPreferences());
}

QLineEdit* PreferencesDialog::folderRow(QGridLayout* grid, int row, const char* name, const QString& caption,
                                        const char* buttonName) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
    auto* label = new QLabel(caption, this);
    label->setBuddy(field);
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(buttonName));
    button->setText(QStringLiteral("..."));
    button->setToolTip(tr("Choose the folder"));
    connect(button, &QToolButton::clicked, this, [this, field] { chooseFolder(field); });
    auto* cell = new QHBoxLayout;
    cell->setSpacing(2);
    cell->addWidget(field, 1);
    cell->addWidget(button);
    grid->addWidget(label, row, 0);
    grid->addLayout(cell, row, 1);
    return field;
}

void PreferencesDialog::setPreferences(const AppPreferences& preferences) {
    m_gameFolder->setText(fromPath(preferences.gameFolder));
    m_patchFolder->setText(fromPath(preferences.patchFolder));
    m_soundFolder->setText(fromPath(preferences.soundFolder));
    m_loadedGearRange = preferences.maxGearRange;
    m_maxGearRange->setText(gearRangeText(preferences.maxGearRange));
    m_generalWarnings->setChecked(preferences.generalWarnings);
    m_warnCompressed->setChecked(preferences.warnCompressedFiles);
    m_hideSpinButtons->setChecked(preferences.hideSpinButtons);
    m_backups->setChecked(preferences.backupFiles);
    m_associate->setChecked(preferences.associate);
}

AppPreferences PreferencesDialog::preferences() const {
    AppPreferences out;
    out.gameFolder = toPath(m_gameFolder->text());
    out.patchFolder = toPath(m_patchFolder->text());
    out.soundFolder = toPath(m_soundFolder->text());
    out.maxGearRange = maxGearRangeFromText(toLatin1(m_maxGearRange->text())).value_or(m_loadedGearRange);
    out.generalWarnings = m_generalWarnings->isChecked();
    out.warnCompressedFiles = m_warnCompressed->isChecked();
    out.hideSpinButtons = m_hideSpinButtons->isChecked();
    out.backupFiles = m_backups->isChecked();
    out.associate = m_associate->isChecked();
    return out;
}

void PreferencesDialog::chooseFolder(QLineEdit* field) {
    const char* caption = field == m_gameFolder    ? "Select Trevant Folder"
                          : field == m_patchFolder ? "Select Patch Folder"
                                                   : "Select Sound Folder";
    if (const std::optional<std::string> folder = m_folders->pickFolder(caption, toPath(field->text())))
        field->setText(fromPath(*folder));
}

void PreferencesDialog::accept() {
    if (!maxGearRangeFromText(toLatin1(m_maxGearRange->text()))) {
        m_prompt->tell(kGearRangeTitle, kGearRangeMessage, PromptIcon::Stop);
        m_maxGearRange->setFocus();
        m_maxGearRange->selectAll();
        return;
    }
    BaseDialog::accept();
}

} // namespace qora::gui
