#include "browser/vehicle_browser_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "browser/car_thumbnails.h"
#include "browser/file_manager.h"
#include "browser/file_manager_dialog.h"
#include "browser/folder_tree.h"
#include "browser/select_folder_dialog.h"
#include "platform/dialog_runner.h"
#include "platform/qt_text.h"
#include "platform/text_editor.h"
#include "resources/artwork.h"
#include "settings/settings.h"

namespace qora::gui {

namespace {

constexpr const char* kMasModeText = "LOAD INTERNAL VEHICLE FROM VEHICLE.MAS";
constexpr int kFolderTreeHeight = 148;
constexpr int kLeftColumnWidth = 236;
const QSize kPictureFrame(176, 88);
// Changes to the folder's files come in bursts (a copy of several files); the list is read once they settle.
constexpr int kWatchDelayMs = 300;

QToolButton* smallButton(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(false);
    button->setFixedWidth(26);
    return button;
}

QLineEdit* readOnlyEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

void setItemsIfChanged(QComboBox* box, const QStringList& items) {
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (shown == items)
        return;
    const QString text = box->isEditable() ? box->currentText() : QString();
    box->clear();
    box->addItems(items);
    if (box->isEditable())
        box->setEditText(text);
}

} // namespace

VehicleBrowserDialog::VehicleBrowserDialog(VehicleArchive* masFile, Settings& settings, Prompt& prompt,
                                           DialogRunner& dialogs, QWidget* parent, const QString& caption)
    : BaseDialog(caption, parent), m_list(masFile, settings, prompt), m_settings(&settings), m_prompt(&prompt),
      m_dialogs(&dialogs) {
    setObjectName(QStringLiteral("dlgFileOpen"));
    setBackgroundArtwork(kFileOpenDialogBackground);
    buildWidgets();
    connectWidgets();
    refresh();
}

VehicleBrowserDialog::~VehicleBrowserDialog() = default;

// ---- Widgets ----------------------------------------------------------------------------------------------------

void VehicleBrowserDialog::buildWidgets() {
    auto* favorites = new QHBoxLayout;
    favorites->setSpacing(4);
    auto* favoritesLabel = new QLabel(tr("Favorites:"), this);
    m_favorites = new QComboBox(this);
    m_favorites->setObjectName(QStringLiteral("cbFavoriteFolders"));
    m_favorites->setToolTip(tr("Quickly jump to a favorite folder"));
    m_favorites->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_favorites->setMinimumContentsLength(20);
    m_favorites->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    favoritesLabel->setBuddy(m_favorites);
    m_addFolder = smallButton(this, "bAddFolder", QStringLiteral("+"), tr("Add current folder to favorites list"));
    m_deleteFolder =
        smallButton(this, "bDeleteFolder", QStringLiteral("\u2212"), tr("Remove folder from favorites list"));
    favorites->addWidget(favoritesLabel);
    favorites->addWidget(m_favorites, 1);
    favorites->addWidget(m_addFolder);
    favorites->addWidget(m_deleteFolder);
    contentLayout()->addLayout(favorites);

    auto* body = new QHBoxLayout;
    body->setSpacing(8);

    // Left: where the vehicles come from, and the picture. Its width stays put when archive mode swaps the
    // folder controls for the archive's label.
    auto* leftColumn = new QWidget(this);
    leftColumn->setFixedWidth(kLeftColumnWidth);
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(4);
    m_folders = new FolderTree(this);
    m_folders->setObjectName(QStringLiteral("lbFolders"));
    m_folders->setMinimumHeight(kFolderTreeHeight);
    left->addWidget(m_folders, 1);
    m_masMode = new QLabel(QString::fromLatin1(kMasModeText), this);
    m_masMode->setObjectName(QStringLiteral("lMasMode"));
    m_masMode->setWordWrap(true);
    m_masMode->setAlignment(Qt::AlignCenter);
    m_masMode->setFrameShape(QFrame::StyledPanel);
    m_masMode->setMinimumHeight(kFolderTreeHeight);
    m_masMode->setStyleSheet(QStringLiteral("QLabel { background: #1c2029; color: #f0c040; font-weight: bold; "
                                            "padding: 8px; border: 1px solid #596070; }"));
    m_masMode->hide();
    left->addWidget(m_masMode, 1);
    m_drives = new DriveBox(*m_folders, this);
    m_drives->setObjectName(QStringLiteral("DriveComboBox1"));
    left->addWidget(m_drives);
    m_mask = new QComboBox(this);
    m_mask->setObjectName(QStringLiteral("FilterComboBox1"));
    for (const browser::MaskChoice& choice : browser::kMaskChoices)
        m_mask->addItem(fromLatin1(choice.caption), fromLatin1(choice.mask));
    left->addWidget(m_mask);

    m_imageBevel = new QFrame(this);
    m_imageBevel->setObjectName(QStringLiteral("ImageBevel"));
    m_imageBevel->setFrameShape(QFrame::Panel);
    m_imageBevel->setFrameShadow(QFrame::Sunken);
    m_imageBevel->setLineWidth(2);
    auto* bevel = new QVBoxLayout(m_imageBevel);
    bevel->setContentsMargins(2, 2, 2, 2);
    m_car = new QLabel(m_imageBevel);
    m_car->setObjectName(QStringLiteral("iCar"));
    m_car->setFixedSize(kPictureFrame);
    m_car->setScaledContents(true);
    bevel->addWidget(m_car);
    left->addWidget(m_imageBevel, 0, Qt::AlignHCenter);

    m_showCarPic = new QCheckBox(tr("Show Car Image"), this);
    m_showCarPic->setObjectName(QStringLiteral("cbShowCarPic"));
    m_racePercent = new QCheckBox(tr("Show Race %"), this);
    m_racePercent->setObjectName(QStringLiteral("cbRacePercent"));
    left->addWidget(m_showCarPic);
    left->addWidget(m_racePercent);
    body->addWidget(leftColumn, 0);

    // Right: the class filter and the vehicles.
    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    auto* classes = new QHBoxLayout;
    classes->setSpacing(4);
    auto* classLabel = new QLabel(tr("Class:"), this);
    m_class = new QComboBox(this);
    m_class->setObjectName(QStringLiteral("dlClass"));
    m_class->setEditable(true);
    m_class->setInsertPolicy(QComboBox::NoInsert);
    // The list filters on what is typed, letter by letter: no completion may type ahead of the user.
    m_class->setCompleter(nullptr);
    m_class->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    classLabel->setBuddy(m_class);
    m_addClass = smallButton(this, "bAddClass", QStringLiteral("+"), tr("Add the current class name to the list"));
    m_deleteClass =
        smallButton(this, "bDelClass", QStringLiteral("\u2212"), tr("Remove the current class name from the list"));
    classes->addWidget(classLabel);
    classes->addWidget(m_class, 1);
    classes->addWidget(m_addClass);
    classes->addWidget(m_deleteClass);
    right->addLayout(classes);

    m_cars = new QListWidget(this);
    m_cars->setObjectName(QStringLiteral("lbCars"));
    m_cars->setSelectionMode(QAbstractItemView::SingleSelection);
    m_cars->setContextMenuPolicy(Qt::CustomContextMenu);
    m_cars->setUniformItemSizes(true);
    m_cars->setMinimumWidth(260);
    right->addWidget(m_cars, 1);

    auto* names = new QHBoxLayout;
    names->setSpacing(4);
    m_fileCount = readOnlyEdit(this, "eFileCount");
    m_fileCount->setFixedWidth(52);
    m_fileCount->setAlignment(Qt::AlignRight);
    m_fileName = readOnlyEdit(this, "eFileName");
    names->addWidget(new QLabel(tr("Vehicles:"), this));
    names->addWidget(m_fileCount);
    names->addSpacing(6);
    names->addWidget(new QLabel(tr("File:"), this));
    names->addWidget(m_fileName, 1);
    right->addLayout(names);
    body->addLayout(right, 1);
    contentLayout()->addLayout(body, 1);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("pmFiles"));
    const auto item = [this](const char* name, const QString& text) {
        QAction* action = m_menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    m_notepad = item("mNotepad", tr("Open In &NotePad..."));
    m_menu->addSeparator();
    m_copy = item("mCopy", tr("&Copy Vehicle To..."));
    m_move = item("mMove", tr("&Move VehicleTo..."));
    m_menu->addSeparator();
    m_delete = item("mDelete", tr("&Delete Vehicle..."));

    m_watcher = new QFileSystemWatcher(this);
    m_watchDelay = new QTimer(this);
    m_watchDelay->setSingleShot(true);
    m_watchDelay->setInterval(kWatchDelayMs);

    resize(620, 500);
}

void VehicleBrowserDialog::connectWidgets() {
    connect(m_favorites, &QComboBox::activated, this,
            [this](int index) { changeList([&] { m_list.chooseFavorite(index); }); });
    connect(m_addFolder, &QToolButton::clicked, this, [this] { changeList([&] { m_list.addFavorite(); }); });
    connect(m_deleteFolder, &QToolButton::clicked, this, [this] { changeList([&] { m_list.deleteFavorite(); }); });
    connect(m_folders, &FolderTree::folderChanged, this,
            [this](const std::string& folder) { changeList([&] { m_list.setFolder(folder); }); });
    connect(m_mask, &QComboBox::activated, this, [this](int index) {
        changeList([&] { m_list.setMask(browser::kMaskChoices.at(static_cast<std::size_t>(index)).mask); });
    });
    connect(m_class, &QComboBox::editTextChanged, this,
            [this](const QString& text) { changeList([&] { m_list.setClassText(toLatin1(text)); }); });
    connect(m_addClass, &QToolButton::clicked, this, [this] { changeList([&] { m_list.addClass(); }); });
    connect(m_deleteClass, &QToolButton::clicked, this, [this] { changeList([&] { m_list.deleteClass(); }); });
    connect(m_cars, &QListWidget::currentRowChanged, this,
            [this](int row) { changeList([&] { m_list.selectItem(row); }); });
    connect(m_cars, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(m_cars, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // The right button selects the vehicle under the mouse first.
        if (QListWidgetItem* under = m_cars->itemAt(at))
            m_cars->setCurrentItem(under);
        m_menu->popup(m_cars->viewport()->mapToGlobal(at));
    });
    connect(m_showCarPic, &QCheckBox::toggled, this,
            [this](bool on) { changeList([&] { m_list.setShowCarPic(on); }); });
    connect(m_racePercent, &QCheckBox::toggled, this,
            [this](bool on) { changeList([&] { m_list.setRacePercent(on); }); });
    connect(m_notepad, &QAction::triggered, this, [this] { openInNotepad(); });
    connect(m_copy, &QAction::triggered, this, [this] { copyVehicle(); });
    connect(m_move, &QAction::triggered, this, [this] { moveVehicle(); });
    connect(m_delete, &QAction::triggered, this, [this] { deleteVehicle(); });
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_watchDelay, qOverload<>(&QTimer::start));
    connect(m_watchDelay, &QTimer::timeout, this, [this] { folderFilesChanged(); });
}

void VehicleBrowserDialog::changeList(const std::function<void()>& change) {
    // Writing the widgets from the list makes them signal too; those echoes change nothing.
    if (m_syncing)
        return;
    change();
    refresh();
}

// ---- Set-up and showing -----------------------------------------------------------------------------------------

void VehicleBrowserDialog::setUp(const browser::BrowserStart& start, bool masAvailable) {
    browser::prepareBrowser(m_list, *m_settings, start, masAvailable);
    refresh();
}

void VehicleBrowserDialog::showEvent(QShowEvent* event) {
    BaseDialog::showEvent(event);
    if (!m_list.onScreen()) {
        m_list.show();
        refresh();
    }
}

void VehicleBrowserDialog::accept() {
    if (!m_list.okEnabled())
        return;
    BaseDialog::accept();
}

// ---- Mirroring the list -----------------------------------------------------------------------------------------

void VehicleBrowserDialog::refresh() {
    syncWidgets();
    reportLostFiles();
}

void VehicleBrowserDialog::syncWidgets() {
    m_syncing = true;
    const bool masMode = m_list.archiveMode();

    QStringList favorites;
    for (const std::string& folder : m_list.favorites())
        favorites << fromPath(folder);
    setItemsIfChanged(m_favorites, favorites);
    m_favorites->setCurrentIndex(m_list.favoriteIndex());

    m_folders->setVisible(!masMode);
    m_folders->setEnabled(!masMode);
    m_drives->setVisible(!masMode);
    m_drives->setEnabled(!masMode);
    m_masMode->setVisible(masMode);
    m_mask->setEnabled(!masMode);
    if (m_list.folder() != m_folders->folder() && !m_list.folder().empty())
        m_folders->setFolder(m_list.folder());
    m_drives->followTree();
    const QString watched = fromPath(m_list.folder());
    if (m_watcher->directories() != QStringList{watched}) {
        if (!m_watcher->directories().isEmpty())
            m_watcher->removePaths(m_watcher->directories());
        if (!watched.isEmpty() && QFileInfo(watched).isDir())
            m_watcher->addPath(watched);
    }
    for (std::size_t i = 0; i < browser::kMaskChoices.size(); ++i)
        if (browser::kMaskChoices[i].mask == m_list.mask())
            m_mask->setCurrentIndex(static_cast<int>(i));

    QStringList classes;
    for (const std::string& item : m_list.classItems())
        classes << fromLatin1(item);
    setItemsIfChanged(m_class, classes);
    if (m_class->currentText() != fromLatin1(m_list.classText()))
        m_class->setEditText(fromLatin1(m_list.classText()));
    m_class->setEnabled(m_list.classEnabled());
    m_addClass->setEnabled(m_list.classEnabled());
    m_deleteClass->setEnabled(m_list.classEnabled());

    // Descriptions are vehicle texts; plain file names are in the file system's encoding.
    const bool descriptions = masMode || browser::isVehicleMask(m_list.mask());
    std::vector<std::string> texts;
    texts.reserve(m_list.items().size());
    for (const browser::CarItem& item : m_list.items())
        texts.push_back(item.text);
    if (texts != m_shownItems) {
        QStringList rows;
        rows.reserve(static_cast<qsizetype>(texts.size()));
        for (const std::string& text : texts)
            rows << (descriptions ? fromLatin1(text) : fromPath(text));
        m_cars->setUpdatesEnabled(false);
        m_cars->clear();
        m_cars->addItems(rows);
        m_cars->setUpdatesEnabled(true);
        m_shownItems = std::move(texts);
    }
    m_cars->setCurrentRow(m_list.selectedItem());
    if (m_cars->currentItem())
        m_cars->scrollToItem(m_cars->currentItem());

    m_fileCount->setText(fromLatin1(m_list.fileCountText()));
    m_fileName->setText(fromPath(m_list.selectedName()).toLower());
    okButton()->setEnabled(m_list.okEnabled());

    m_showCarPic->setChecked(m_list.showCarPic());
    m_racePercent->setChecked(m_list.racePercent());
    m_imageBevel->setVisible(m_list.showCarPic());
    syncPicture();

    const browser::ContextCommands commands = m_list.commands();
    m_notepad->setEnabled(commands.notepad);
    m_copy->setEnabled(commands.copy);
    m_move->setEnabled(commands.move);
    m_delete->setEnabled(commands.remove);
    m_syncing = false;
}

void VehicleBrowserDialog::syncPicture() {
    if (!m_list.showCarPic())
        return;
    // Each letter typed into the class box syncs the widgets: the picture is read only when another one is due.
    const qreal ratio = devicePixelRatioF();
    browser::CarPicture picture = m_list.carPicture();
    if (m_shownPicture && *m_shownPicture == picture && m_shownPictureRatio == ratio)
        return;
    m_car->setPixmap(carPicturePixmap(picture, ratio)); // stretched to the frame
    m_shownPicture = std::move(picture);
    m_shownPictureRatio = ratio;
}

// The report follows the listing of a folder that met unreadable files, once per folder (the list decides): a
// letter typed into the class box rebuilds the list but never brings it up.
void VehicleBrowserDialog::reportLostFiles() {
    if (!m_list.takeLostFilesReport())
        return;
    FileManagerDialog report(this);
    report.showReport(m_list.lostFiles(), browser::kLostFilesReport);
    m_dialogs->run(report);
}

// The folder's files changed behind the browser's back: list them again, keeping the selected vehicle.
void VehicleBrowserDialog::folderFilesChanged() {
    m_shownPicture.reset(); // a picture file may have changed with the folder
    if (m_list.archiveMode())
        return;
    const std::string selected = m_list.selectedName();
    m_list.refreshFiles();
    const auto& items = m_list.items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto source = static_cast<std::size_t>(items[i].source);
        if (source < m_list.files().size() && m_list.files()[source] == selected) {
            m_list.selectItem(static_cast<int>(i));
            break;
        }
    }
    refresh();
}

// ---- Context menu -----------------------------------------------------------------------------------------------

void VehicleBrowserDialog::openInNotepad() {
    if (const auto path = m_list.openInNotepad())
        openInTextEditor(*path, m_settings->textEditor, *m_prompt);
}

void VehicleBrowserDialog::copyVehicle() {
    transfer(false);
}

void VehicleBrowserDialog::moveVehicle() {
    transfer(true);
}

namespace {

browser::ConfirmFiles confirmThrough(DialogRunner& dialogs, QWidget* parent) {
    return [&dialogs, parent](browser::CheckList& files) {
        FileManagerDialog dialog(parent);
        dialog.setCheckList(files);
        const bool ok = dialogs.run(dialog) == QDialog::Accepted;
        dialog.storeTicks(files);
        return ok;
    };
}

} // namespace

void VehicleBrowserDialog::deleteVehicle() {
    if (!m_list.commands().remove)
        return;
    SelectFolderPicker picker(*m_prompt, *m_dialogs, this);
    browser::FileManager manager(*m_settings, *m_prompt, picker);
    if (manager.deleteVehicle(m_list.folder(), m_list.selectedName(), confirmThrough(*m_dialogs, this)))
        m_list.refreshFiles();
    refresh();
}

void VehicleBrowserDialog::transfer(bool move) {
    if (!(move ? m_list.commands().move : m_list.commands().copy))
        return;
    SelectFolderPicker picker(*m_prompt, *m_dialogs, this);
    browser::FileManager manager(*m_settings, *m_prompt, picker);
    const std::string folder = m_list.folder();
    const std::string name = m_list.selectedName();
    const browser::ConfirmFiles confirm = confirmThrough(*m_dialogs, this);
    if (move ? manager.moveVehicle(folder, name, confirm) : manager.copyVehicle(folder, name, confirm))
        m_list.refreshFiles();
    refresh();
}

} // namespace qora::gui
