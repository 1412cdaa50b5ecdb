#include "editor/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "calc/data_validation.h"
#include "calc/engine_curve.h"
#include "chart/chart_painter.h"
#include "chart/torque_chart.h"
#include "commands/appearance_commands.h"
#include "commands/disk_watch.h"
#include "commands/file_commands.h"
#include "commands/ghost_commands.h"
#include "commands/summary_commands.h"
#include "commands/vehicle_data_commands.h"
#include "dialogs/info_dialog.h"
#include "editor/car_picture.h"
#include "editor/engine_sounds.h"
#include "editor/field_access.h"
#include "editor/field_drag.h"
#include "editor/field_widgets.h"
#include "editor/page_model.h"
#include "editor/vehicle_header.h"
#include "editor/window_shortcuts.h"
#include "pages/field_page.h"
#include "platform/app_paths.h"
#include "platform/dialog_runner.h"
#include "platform/file_dialog_hook.h"
#include "platform/file_system.h"
#include "platform/qt_text.h"
#include "platform/windows_registry.h"
#include "resources/artwork.h"
#include "store/keyed_text_file.h"

namespace qora::gui {

namespace {

// The header picture is asked for in steps of this many pixels, so resizing the window reuses a few paintings.
constexpr int kHeaderWidthStep = 128;
constexpr int kHeaderHeightStep = 8;

int roundUp(int value, int step) {
    return (value + step - 1) / step * step;
}

constexpr const char* kVersionText = "4.0";
constexpr const char* kFatalTemplateText =
    "FATAL: Unable to create new file.  Free up some memory by closing some other programs and try again.";
constexpr const char* kWelcomeText = "Welcome to QORA 4.0.1.1\n"
                                     "Although some functions are not yet implemented, this is not a BETA version.\n"
                                     "\n"
                                     "READ THE README FILE!  IT IS THE ONLY SOURCE OF HELP!\n"
                                     "\n"
                                     "ENJOY!";
const QColor kStatusRed(255, 0, 0);
const QColor kStatusBlack(0, 0, 0);

} // namespace

MainWindow::MainWindow(MainWindowHost host, QWidget* parent) : QMainWindow(parent), m_host(host) {
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("QORA"));
    m_settings.setPrompt(m_host.prompt);
    m_settings.setFolderPicker(m_host.folderPicker);
    m_document = new VehicleDocument(this);
    m_ghostDocument = new GhostDocument(this);

    m_dragDrop = new FieldDragDrop(this);
    // A drop is a command of its own, made by the target's own change handling.
    connect(m_dragDrop, &FieldDragDrop::dropped, this, [this](QWidget* target, const QString& text) {
        const auto single = m_document->history().singleEdits();
        FieldPage::setControlText(target, text);
    });

    createActions();
    createMenus();
    connect(m_document, &VehicleDocument::changedStateChanged, this, &MainWindow::showChangedState);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    m_header = new VehicleHeader(
        m_settings, [this] { return controlText("eDescription"); }, central);
    layout->addWidget(m_header);
    createPages();
    m_document->history().setView(this);
    layout->addWidget(m_pages, 1);
    setCentralWidget(central);
    m_files = new FileCommands(commandContext(), *this);
    connect(m_files, &FileCommands::recentGhostChosen, this,
            [this](const std::string& path) { m_ghosts->openRecentGhost(path); });
    createEngineSounds();
    m_ghosts = new GhostCommands(commandContext(), *this, *m_files,
                                 GhostCommands::Pages{&m_fieldPages, m_pages, m_performance, m_driveTrain});
    createAppearance();
    createUserGuide();
    m_summaries = new SummaryCommands(commandContext(), torqueChart(), [this] { return collectTexts(); });
    m_diskWatch = new DiskWatch(commandContext(), *m_files, *m_ghosts);
    new VehicleDataCommands(commandContext(), *this, *m_files, *m_ghosts);

    new WindowShortcutGuard(this);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { helpForFocus(); });

    m_header->restoreStatus();
    // The first size shows every page unscrolled, the DriveTrain page's gearing chart included, on screens that
    // are tall enough; smaller screens get what they hold.
    QSize first(1000, 800);
    if (const QScreen* display = screen())
        first = first.boundedTo(display->availableGeometry().size() - QSize(0, 60));
    resize(first.expandedTo(QSize(800, 600)));
}

// The document goes with the window's children: its stack, emptied as it goes, must not tell the half-destroyed
// window about it.
MainWindow::~MainWindow() {
    m_document->undoStack().blockSignals(true);
    m_document->blockSignals(true);
}

// ---- Window parts -------------------------------------------------------------------------------------------

void MainWindow::createActions() {
    const auto action = [this](const char* name, const QString& text, const QKeySequence& keys = {}) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty())
            a->setShortcut(keys);
        return a;
    };
    m_openVehicle = action("mOpenVeh", tr("Open &Vehicle..."), QKeySequence(Qt::Key_F3));
    m_openVehicle->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    m_openGhost = action("mOpenGhost", tr("Open &Ghost Vehicle..."), QKeySequence(Qt::Key_F4));
    m_openGhost->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    m_openGhost->setEnabled(false);
    m_save = action("mSave", tr("&Save"), QKeySequence(Qt::Key_F2));
    m_save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    m_saveAs = action("mSaveAs", tr("Save &As..."));
    m_undoPage = action("mUndoPage", tr("Undo &Page"), QKeySequence(Qt::CTRL | Qt::Key_U));
    m_undoPage->setEnabled(false);
    connect(m_undoPage, &QAction::triggered, this, &MainWindow::undoPage);
    createHistoryActions();
    m_exit = action("mExit", tr("E&xit"));
    connect(m_exit, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::createMenus() {
    // Entries whose commands come with later parts of the editor are shown, disabled.
    const auto later = [this](QMenu* menu, const char* name, const QString& text, bool checkable = false) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(checkable);
        a->setEnabled(false);
        return a;
    };

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mFile"));
    file->addAction(m_openVehicle);
    file->addAction(m_openGhost);
    later(file, "mCloseGhost", tr("&Close Ghost"));
    file->addSeparator();
    file->addAction(m_save);
    file->addAction(m_saveAs);
    file->addSeparator();
    later(file, "mLoadPrior", tr("Open &Prior (veB)"));
    later(file, "mLoadOriginal", tr("Open &Original (veX)"));
    file->addSeparator();
    later(file, "mVersionMan", tr("&My Garage..."));
    file->addSeparator();
    file->addAction(m_exit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mEdit"));
    edit->addAction(m_undo);
    edit->addAction(m_redo);
    edit->addSeparator();
    edit->addAction(m_undoPage);
    edit->addAction(m_history);
    edit->addSeparator();
    later(edit, "mCopyFromGhost", tr("&Copy From Ghost..."));
    edit->addSeparator();
    later(edit, "mVehMods", tr("Vehicle &Modification Parts..."));
    later(edit, "mAiBasis", tr("&AI Basis..."));
    later(edit, "mAuthorInfo", tr("Author &Information..."));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("mView"));
    later(view, "mVehicleSummary", tr("&Vehicle Summary..."));
    later(view, "mCompareSummary", tr("Vehicle &Compare Summary..."));
    view->addSeparator();
    later(view, "mTabbedPages", tr("&Tabed Pages"), true);
    later(view, "mButtonPages", tr("&Button Pages"), true);
    later(view, "mFlatButtonPages", tr("&Flat Button Pages"), true);
    later(view, "mTabIcons", tr("Tab &Icons"), true);
    later(view, "mToolBar", tr("T&ool Bar"), true);

    QMenu* options = menuBar()->addMenu(tr("&Options"));
    options->setObjectName(QStringLiteral("mOptionsMenu"));
    later(options, "mOptions", tr("&Preferences..."));
    later(options, "mDataColors", tr("App&lication Colors..."));
    options->addSeparator();
    later(options, "mNoSkin", tr("Plain Back&ground"), true);
    later(options, "mRestoreSkin", tr("Default Background &Skin"), true);
    later(options, "mSkin", tr("&User Background Skin..."), true);
    options->addSeparator();
    QMenu* buttons = options->addMenu(tr("Toolbar &Buttons"));
    buttons->setObjectName(QStringLiteral("mToolbarButtons"));
    later(buttons, "mButtonsMixed", tr("Mixed"), true);
    later(buttons, "mButtonsBmw", tr("BMW M3"), true);
    later(buttons, "mButtonsPorche", tr("Porche 911"), true);
    later(buttons, "mButtonsMustang", tr("Saleen Mustang"), true);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mHelp"));
    later(help, "mQORAHelp", tr("&QORA Help..."));
    help->addSeparator();
    later(help, "mAbout", tr("&About..."));

    QToolBar* bar = addToolBar(tr("Tool Bar"));
    bar->setObjectName(QStringLiteral("tbMain"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->addAction(m_openVehicle);
    bar->addAction(m_openGhost);
    bar->addSeparator();
    bar->addAction(m_save);
}

// ---- Status line and changed state -------------------------------------------------------------------------

void MainWindow::showChangedState(bool changed) {
    m_undoPage->setEnabled(changed);
    m_header->showChanged(changed);
}

void MainWindow::setCaption(const std::string& path) {
    setWindowTitle(messageText(editor::windowCaption(path)));
}

// ---- Commands ----------------------------------------------------------------------------------------------

void MainWindow::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        m_header->restoreStatus();
        prompt().tell("QORA Error", error.what(), PromptIcon::Stop);
    }
}

bool MainWindow::transferPages() {
    if (!m_document->vehicle())
        return false;
    m_header->showStatus(fromLatin1(editor::kTransferringStatus), kStatusRed, kStatusBlack);
    const auto storeCurve = [this](VehicleFile& vehicle) {
        if (!torqueChart().exists())
            return;
        if (storeEngineCurve(torqueChart().line(TorqueChart::TorqueLine), torqueChart().line(TorqueChart::PowerLine),
                             vehicle) >= 0)
            torqueChart().refresh();
    };
    // What the savers rewrite (an empty gear as 0.0000, a curve ended early) is the form a save gives the
    // values, not an edit: the history takes it as its base.
    editor::TransferResult result;
    {
        const auto notAnEdit = m_document->history().quiet();
        result = editor::transferBuffer(*m_document->vehicle(), collectTexts(), m_document->authorData(), m_settings,
                                        prompt(), storeCurve);
        applyTexts(result.rewritten, false);
    }
    m_document->history().resync();
    if (!result.ok()) {
        prompt().tell(std::string(result.title()), result.text, PromptIcon::Stop);
        m_header->restoreStatus();
        focusField(result.field);
        return false;
    }
    m_header->showStatus(fromLatin1(editor::kTransferredStatus), kStatusRed, kStatusBlack);
    return true;
}

void MainWindow::focusField(std::string_view name) {
    const editor::PageField* field = editor::findPageField(name);
    QWidget* widget = control(name);
    if (field == nullptr || widget == nullptr)
        return;
    m_pages->setCurrentIndex(field->page);
    widget->setFocus(Qt::OtherFocusReason);
    if (QLineEdit* edit = editOf(widget))
        edit->selectAll();
}

void MainWindow::undoPage() {
    guarded([this] {
        if (!m_document->vehicle() || !m_document->isChanged())
            return;
        if (prompt().ask(std::string(editor::kUndoPageTitle), std::string(editor::kUndoPageQuestion),
                         PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes)
            return;
        const int page = m_pages->currentIndex();
        const VehicleFile& saved = m_document->lastSaved() ? *m_document->lastSaved() : *m_document->vehicle();
        {
            // The whole page back is one command, which undo takes back in turn.
            const auto onePage = m_document->history().quiet();
            m_pagesFilling = true;
            editor::PageLoad load = editor::loadPage(saved, page, false, m_settings, prompt());
            applyLoad(load, false);
            afterPageFill(page, saved, false);
        }
        m_document->history().record(tr("Undo Page: %1").arg(fromLatin1(std::string(editor::pageCaption(page)))));
    });
}

// ---- Start-up and shut-down ---------------------------------------------------------------------------------

void MainWindow::loadSettings() {
    m_settings.setProgramFolder(programFolder());
    m_registry = makeSystemRegistry(registryFilePath());
    m_settings.setRegistry(m_registry.get());
    try {
        m_settings.load();
    } catch (const KeyedTextFileError& error) {
        // Start with the defaults, and leave the user's file as it is rather than overwrite it with them.
        m_settingsUnreadable = true;
        m_settings.setDefaults();
        prompt().tell("QORA Load Settings",
                      std::string(error.what()) + "  QORA starts with its default settings and will not change " +
                          m_settings.settingsFilePath() + ".",
                      PromptIcon::Exclamation);
    }
}

void MainWindow::showWelcome() {
    InfoDialog dialog(this);
    dialog.setText(QString::fromLatin1(kWelcomeText));
    m_host.dialogs.run(dialog);
}

std::string MainWindow::newFilePath() const {
    const std::string& folder = m_settings.patchFolder.empty() ? m_settings.programFolder : m_settings.patchFolder;
    return joinPath(folder, "New.veh");
}

void MainWindow::openStartFile(const std::string& path, bool asNew) {
    if (m_files->openVehicleFile(path, asNew ? VehicleFile::ModeNew : VehicleFile::ModeOpen))
        return;
    if (m_document->vehicle())
        return; // the document already open stays
    if (!m_files->openVehicleFile(newFilePath(), VehicleFile::ModeNew))
        throw VehicleFileError(kFatalTemplateText);
}

void MainWindow::start(const std::optional<std::string>& commandLineFile) {
    loadSettings();
    restoreOptions();
    m_sounds->loadLists();
    if (m_settings.version != kVersionText)
        showWelcome();
    m_appearance->restore();

    torqueChart().setUp(m_settings);

    const std::string& last = m_settings.lastFile;
    if (last.empty() || !fileSystem().fileExists(last))
        openStartFile(newFilePath(), true);
    else
        openStartFile(last, false);

    // A file named on the command line that cannot be opened is said so (the open tells why); the vehicle
    // opened above stays.
    // The last file named again on the command line is open already: opening it twice would ask its questions
    // twice.
    if (commandLineFile && !commandLineFile->empty() &&
        !(m_document->vehicle() && browser::samePath(m_document->vehicle()->fileName, *commandLineFile)))
        openStartFile(*commandLineFile, false);

    m_appearance->showSpinButtons();
    for (FieldPage* page : m_fieldPages)
        for (QWidget* ghost : page->ghostWidgets())
            ghost->hide();
    m_header->showGhostRow(false);
    m_ghosts->restoreGhost();
    m_files->rebuildRecentMenus(); // the lists as the settings hold them
}

void MainWindow::shutDown() {
    if (m_closed)
        return;
    m_closed = true;
    m_header->stopSavedAnimation();
    m_files->recordRecentVehicle();
    m_ghosts->recordRecentGhost();
    if (!m_settingsUnreadable && !m_settings.programFolder.empty())
        m_settings.save();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Anything going wrong while asking or saving keeps the window, and with it the user's edits.
    bool close = false;
    guarded([&] { close = m_files->confirmClose(); });
    if (!close) {
        event->ignore();
        return;
    }
    guarded([this] { shutDown(); });
    event->accept();
}

void MainWindow::documentsChanged() {
    m_summaries->update();
    m_ghosts->updateCopyCommands();
    if (m_diskWatch != nullptr)
        m_diskWatch->watchDocuments();
}

bool MainWindow::confirmOverwriteOfChangedFile() {
    return m_diskWatch->confirmOverwriteOfChangedFile();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_diskWatch->windowActivated();
}

CommandContext MainWindow::commandContext() {
    return CommandContext{
        this,        m_host,           m_settings,
        *m_document, *m_ghostDocument, [this](const std::function<void()>& command) { guarded(command); }};
}

void MainWindow::createAppearance() {
    const AppearanceTargets targets{
        this, m_pages, m_openVehicle, m_openGhost, m_save, m_header->editorNameLabel(), m_driveTrain};
    m_appearance = new AppearanceCommands(
        targets, m_settings, m_host, [this](const std::function<void()>& command) { guarded(command); },
        [this] { return spinButtons(); });
    connect(m_appearance, &AppearanceCommands::coloursApplied, m_header, &VehicleHeader::restoreStatus);
    connect(m_appearance, &AppearanceCommands::userGuideRequested, this, &MainWindow::showUserGuide);
}

// The form's picture behind the toolbar and the header, from below the menu bar down to 3 pixels into
// the page control.
void MainWindow::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (m_pages == nullptr)
        return;
    const int top = menuWidget() != nullptr && menuWidget()->isVisible() ? menuWidget()->geometry().bottom() + 1 : 0;
    const int bottom = m_pages->mapTo(this, QPoint(0, 0)).y() + 3;
    if (bottom <= top || width() <= 0)
        return;
    const QRect area(0, top, width(), bottom - top);
    // Laid out for a slightly larger size and aligned to the bottom right, where the picture's stripes and edge are.
    const QSize size(roundUp(area.width(), kHeaderWidthStep), roundUp(area.height(), kHeaderHeightStep));
    const QPixmap header = artworkPixmap(kFormBackground, size, devicePixelRatioF());
    QPainter painter(this);
    painter.setClipRect(area);
    painter.drawPixmap(area.right() + 1 - size.width(), area.bottom() + 1 - size.height(), header);
}

} // namespace qora::gui
