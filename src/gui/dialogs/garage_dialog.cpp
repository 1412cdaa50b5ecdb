#include "dialogs/garage_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/qt_text.h"
#include "resources/artwork.h"

namespace qora::gui {

namespace {

const QColor kPanelBackground(24, 28, 36);
const QColor kPanelText(255, 255, 255);
const QColor kFlashText(255, 255, 0);

const char* const kHelpText =
    "My Garage keeps named versions of the vehicle you are editing, each with notes of its own.\n"
    "\n"
    "New: type a title for a version of what is in the editor now, add notes if you like, then click "
    "Save/Update.\n"
    "Save/Update: writes what is in the editor over the selected version (it becomes the most recent one) and "
    "saves its notes.\n"
    "Delete, Delete All: remove the selected version, or every version of this vehicle, from the Garage folder.\n"
    "Load: puts the selected version into the editor.  Your vehicle file is changed only when you save it.\n"
    "Load As Ghost: shows the selected version beside your vehicle for comparison.\n"
    "\n"
    "The versions of a vehicle file car.veh are kept in the Garage folder as car~title.vfv, their notes as "
    "car~title.txt.  Titles hold at most 30 characters and none of \\ / . > < \" * ? | = ~";

// The notes box shows line breaks as the editor does; a notes file is written with CR LF.
QString notesForDisplay(const std::string& notes) {
    QString text = fromLatin1(notes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string notesForFile(const QString& shown) {
    QString text = shown;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toLatin1(text);
}

QLabel* panel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void setPanelColours(QLabel* label, const QColor& text) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, kPanelBackground);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
}

} // namespace

GarageDialog::GarageDialog(const VehicleFile& vehicle, const std::string& carName, const Settings& settings,
                           Prompt& prompt, QWidget* parent)
    : BaseDialog(tr("My Garage"), parent), m_model(vehicle, carName, settings, prompt) {
    setObjectName(QStringLiteral("dlgFileVersion"));
    setBackgroundArtwork(kGarageDialogBackground);

    m_carName = panel(fromLatin1(m_model.carName()), "pCarName", this);
    m_carName->setAutoFillBackground(true);
    m_carName->setMargin(4);
    QFont large = m_carName->font();
    large.setPointSizeF(large.pointSizeF() * 1.15);
    m_carName->setFont(large);
    m_fileName = panel(fromLatin1(m_model.baseName()), "pFileName", this);
    m_fileName->setAutoFillBackground(true);
    m_fileName->setMargin(3);
    setPanelColours(m_carName, kPanelText);
    setPanelColours(m_fileName, kPanelText);
    contentLayout()->addWidget(m_carName);
    contentLayout()->addWidget(m_fileName);

    auto* body = new QHBoxLayout;
    body->setSpacing(8);

    auto* listColumn = new QVBoxLayout;
    listColumn->setSpacing(3);
    m_versions = panel(QString(), "pVersions", this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lbVersions"));
    m_list->setMinimumWidth(130);
    listColumn->addWidget(m_versions);
    listColumn->addWidget(m_list, 1);
    body->addLayout(listColumn, 2);

    auto* versionColumn = new QGridLayout;
    versionColumn->setHorizontalSpacing(6);
    versionColumn->setVerticalSpacing(4);
    auto* titleLabel = panel(tr("Title:"), "pVersionTitle", this);
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("eVersionTitle"));
    m_title->setMaxLength(static_cast<int>(garage::kMaxTitleLength));
    m_title->installEventFilter(this);
    titleLabel->setBuddy(m_title);
    auto* dateLabel = panel(tr("Date:"), "Panel1", this);
    m_date = new QLineEdit(this);
    m_date->setObjectName(QStringLiteral("eDate"));
    m_date->setReadOnly(true);
    m_date->setFocusPolicy(Qt::ClickFocus);
    auto* notesLabel = panel(tr("Version Notes"), "pVersionNotes", this);
    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(QStringLiteral("mNotes"));
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_notes->setTabChangesFocus(true);
    versionColumn->addWidget(titleLabel, 0, 0);
    versionColumn->addWidget(m_title, 0, 1);
    versionColumn->addWidget(dateLabel, 1, 0);
    versionColumn->addWidget(m_date, 1, 1);
    versionColumn->addWidget(notesLabel, 2, 0, 1, 2);
    versionColumn->addWidget(m_notes, 3, 0, 1, 2);
    versionColumn->setRowStretch(3, 1);
    body->addLayout(versionColumn, 3);

    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->setSpacing(3);
    m_new = makeButton("bNew", tr("&New"), tr("Create new version of loaded VEH file"), QStyle::SP_FileIcon);
    m_update = makeButton("bUpdate", tr("&Save/Update"), tr("Save/Update version"), QStyle::SP_DialogSaveButton);
    m_delete = makeButton("bDelete", tr("&Delete"), tr("Delete selected version..."), QStyle::SP_TrashIcon);
    m_deleteAll = makeButton("bDeleteAll", tr("Delete A&ll"), tr("Delete all versions in list..."),
                             QStyle::SP_DialogDiscardButton);
    m_load = makeButton("bLoad", tr("L&oad"), tr("Load into editor..."), QStyle::SP_DialogOpenButton);
    m_loadGhost =
        makeButton("bLoadGhost", tr("Load As &Ghost"), tr("Load As Ghost..."), QStyle::SP_FileDialogContentsView);
    m_use = makeButton("bUse", tr("&Use"), tr("Use This Version In Game..."), QStyle::SP_DialogApplyButton);
    m_use->hide();
    for (QToolButton* button : {m_new, m_update, m_delete, m_deleteAll})
        buttonColumn->addWidget(button);
    buttonColumn->addSpacing(8);
    for (QToolButton* button : {m_load, m_loadGhost, m_use})
        buttonColumn->addWidget(button);
    buttonColumn->addStretch(1);
    m_info = makeButton("bInfo", tr("&Info"), tr("Help Info"), QStyle::SP_MessageBoxInformation);
    m_info->setCheckable(true);
    buttonColumn->addWidget(m_info);
    body->addLayout(buttonColumn, 0);
    contentLayout()->addLayout(body, 1);

    // The help text lies over the whole content while bInfo is down.
    m_infoText = new QPlainTextEdit(this);
    m_infoText->setObjectName(QStringLiteral("mInfo"));
    m_infoText->setReadOnly(true);
    m_infoText->setPlainText(QString::fromLatin1(kHelpText));
    m_infoText->hide();

    okButton()->setText(tr("&Close"));
    okButton()->setObjectName(QStringLiteral("bClose"));
    cancelButton()->hide();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(garage::PanelFlashes::kIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &GarageDialog::animateFlashes);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_syncing)
            return;
        m_model.select(row);
        refresh();
    });
    connect(m_title, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_syncing)
            return;
        m_model.setTitle(toLatin1(text));
        syncButtons();
    });
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        if (m_syncing)
            return;
        m_model.setNotes(notesForFile(m_notes->toPlainText()));
        syncButtons();
    });
    connect(m_new, &QToolButton::clicked, this, &GarageDialog::newVersion);
    connect(m_update, &QToolButton::clicked, this, &GarageDialog::updateVersion);
    connect(m_delete, &QToolButton::clicked, this, &GarageDialog::deleteVersion);
    connect(m_deleteAll, &QToolButton::clicked, this, &GarageDialog::deleteAllVersions);
    connect(m_load, &QToolButton::clicked, this, &GarageDialog::loadVersion);
    connect(m_loadGhost, &QToolButton::clicked, this, &GarageDialog::loadVersionAsGhost);
    connect(m_info, &QToolButton::toggled, this, &GarageDialog::setInfoVisible);

    refresh();
    setMinimumSize(413, 293);
    resize(sizeHint().expandedTo(QSize(560, 360)));
}

QToolButton* GarageDialog::makeButton(const char* name, const QString& text, const QString& hint, int icon) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

// ---- Showing the model ------------------------------------------------------------------------------------------

void GarageDialog::refresh() {
    m_syncing = true;
    QStringList titles;
    for (const std::string& title : m_model.titles())
        titles << fromLatin1(title);
    QStringList shown;
    for (int row = 0; row < m_list->count(); ++row)
        shown << m_list->item(row)->text();
    if (shown != titles) {
        m_list->clear();
        m_list->addItems(titles);
    }
    m_list->setCurrentRow(m_model.selected());
    m_versions->setText(fromLatin1(m_model.versionsCaption()));

    const QString title = fromLatin1(m_model.title());
    if (m_title->text() != title)
        m_title->setText(title);
    m_title->setReadOnly(m_model.titleReadOnly());
    m_date->setText(fromLatin1(m_model.dateText()));
    const QString notes = notesForDisplay(m_model.notes());
    if (m_notes->toPlainText() != notes)
        m_notes->setPlainText(notes);
    m_syncing = false;
    syncButtons();
    showFlashes();
}

void GarageDialog::syncButtons() {
    const garage::GarageButtons buttons = m_model.buttons();
    m_new->setEnabled(buttons.New);
    m_update->setEnabled(buttons.Update);
    m_delete->setEnabled(buttons.Delete);
    m_deleteAll->setEnabled(buttons.DeleteAll);
    m_load->setEnabled(buttons.Load);
    m_loadGhost->setEnabled(buttons.LoadGhost);
    m_use->setEnabled(buttons.Use);
}

void GarageDialog::showFlashes() {
    const garage::PanelFlashes& flashes = m_model.flashes();
    const auto show = [&](QLabel* label, garage::FlashPanel which) {
        label->setText(fromLatin1(flashes.text(which)));
        setPanelColours(label, flashes.yellow(which) ? kFlashText : kPanelText);
    };
    show(m_carName, garage::FlashPanel::CarName);
    show(m_fileName, garage::FlashPanel::FileName);
}

void GarageDialog::startFlashes() {
    showFlashes();
    if (m_model.flashes().running())
        m_timer->start();
}

// ---- Buttons ----------------------------------------------------------------------------------------------------

void GarageDialog::newVersion() {
    m_model.createVersion();
    refresh();
    m_title->setFocus();
}

void GarageDialog::updateVersion() {
    m_model.updateVersion();
    refresh();
    startFlashes();
}

void GarageDialog::deleteVersion() {
    if (m_model.deleteSelected())
        refresh();
}

void GarageDialog::deleteAllVersions() {
    if (m_model.deleteAllVersions())
        refresh();
}

void GarageDialog::loadVersion() {
    if (m_model.load())
        accept();
}

void GarageDialog::loadVersionAsGhost() {
    if (m_model.loadGhost())
        accept();
}

void GarageDialog::setInfoVisible(bool shown) {
    m_infoText->setVisible(shown);
    if (shown)
        m_infoText->raise();
}

void GarageDialog::animateFlashes() {
    m_model.flashes().tick();
    showFlashes();
    if (!m_model.flashes().running())
        m_timer->stop();
}

// ---- Events -----------------------------------------------------------------------------------------------------

// The title's key filter: a character that cannot stand in a file name is swallowed with a beep; Enter saves the
// version. Other keys that type nothing (moving, deleting, shortcuts) pass.
bool GarageDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_title && event->type() == QEvent::KeyPress && !m_title->isReadOnly()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Enter in the title of a version being added saves it, as the typed title and notes are what the user
        // wants kept; it never reaches the dialog's Close button.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (m_update->isEnabled())
                m_update->click();
            return true;
        }
        const QString typed = key->text();
        if (typed.size() == 1 && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            const char16_t c = typed.at(0).unicode();
            // A character a file name in Latin-1 cannot hold counts as forbidden.
            if (c >= 0x20 && c != 0x7f && !m_model.titleKeyAccepted(c < 0x100 ? static_cast<char>(c) : '?'))
                return true;
        }
    }
    return BaseDialog::eventFilter(watched, event);
}

void GarageDialog::resizeEvent(QResizeEvent* event) {
    BaseDialog::resizeEvent(event);
    m_infoText->setGeometry(rect().adjusted(14, kDialogCaptionBand + 6, -14, -(okButton()->height() + 20)));
}

} // namespace qora::gui
