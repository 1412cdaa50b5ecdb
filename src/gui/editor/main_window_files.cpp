// MainWindow's file commands: opening (through the vehicle browser, the recent lists and the backups), saving (in
// place, into the archive, as a copy), and the header's car picture and Notepad button.


#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "archive/vehicle_archive.h"
#include "browser/car_thumbnails.h"
#include "browser/vehicle_browser_dialog.h"
#include "browser/file_commands.h"
#include "calc/data_validation.h"
#include "editor/field_widgets.h"
#include "commands/summary_commands.h"
#include "editor/main_window.h"
#include "editor/vehicle_header.h"
#include "editor/page_model.h"
#include "platform/dialog_runner.h"
#include "platform/file_dialog_hook.h"
#include "platform/file_snapshot.h"
#include "platform/file_system.h"
#include "platform/qt_text.h"
#include "platform/text_editor.h"

namespace qora::gui {

namespace {

constexpr const char* kVehicleFilter = "QORA Vehicle Files (%1)";
constexpr const char* kMasErrorTitle = "QORA Mas Error";
constexpr const char* kNotepadTitle = "QORA Notepad Launcher";
constexpr const char* kNotepadWarning =
    "Any changes you make in notepad will not be reflected in QORA (and visa-versa) until you reload the file.  In "
    "the case of vehicle.mas files, only the extracted file is effected until you save the veh file back to "
    "vehicle.mas.  It is highly recommended that you only VIEW the file in notepad.";

const QColor kStatusRed(255, 0, 0);
const QColor kStatusBlack(0, 0, 0);
const QColor kStatusWhite(255, 255, 255);
const QColor kStatusLime(0, 255, 0);

QString vehicleFilter() {
    return QString::fromLatin1(kVehicleFilter).arg(caseFreePattern(QStringLiteral("*.veh")));
}

std::string descriptionOf(const VehicleFile& vehicle) {
    const EntryRec* entry = vehicle.findEntry(veh::SecDetails, "//DescFile=");
    return entry ? entry->value : std::string();
}

// A menu caption shows "&" as it is.
QString menuText(const std::string& text) {
    return messageText(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

// ---- Set-up -------------------------------------------------------------------------------------------------

void MainWindow::createFileCommands() {
    m_loadPrior = findChild<QAction*>(QStringLiteral("mLoadPrior"));
    m_loadOriginal = findChild<QAction*>(QStringLiteral("mLoadOriginal"));
    connect(m_loadPrior, &QAction::triggered, this, [this] { openBackup(browser::BackupKind::Prior); });
    connect(m_loadOriginal, &QAction::triggered, this, [this] { openBackup(browser::BackupKind::Original); });

    m_recentMenu = new QMenu(this);
    m_recentMenu->setObjectName(QStringLiteral("pmRecent"));
    m_recentGhostMenu = new QMenu(this);
    m_recentGhostMenu->setObjectName(QStringLiteral("pmRecentGhost"));
    if (auto* bar = findChild<QToolBar*>(QStringLiteral("tbMain"))) {
        const auto attach = [bar](QAction* action, QMenu* menu) {
            if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
                button->setMenu(menu);
                button->setPopupMode(QToolButton::MenuButtonPopup);
            }
        };
        attach(m_openVeh, m_recentMenu);
        attach(m_openGhost, m_recentGhostMenu);
    }

    connect(m_header->vehicleNotepadButton(), &QToolButton::clicked, this,
            [this] { guarded([this] { openInTextEditor(m_document->vehicle()); }); });
    rebuildRecentMenus();
    refreshBackupEntries();
}

bool MainWindow::isWorkingCopyFile(const std::string& path) const {
    return browser::isExtraction(path) && !m_settings.programFolder.empty() &&
           browser::normalFolder(parentFolder(path)) == browser::normalFolder(m_settings.masVehFolder());
}

// ---- Opening ------------------------------------------------------------------------------------------------

bool MainWindow::openVehicleFile(const std::string& path, int mode, bool keepPath) {
    const std::string currentPath = m_document->vehicle() ? m_document->vehicle()->fileName : std::string();
    // A working copy extracted for this open goes again when the open does not go ahead.
    const auto discardNew = [&] {
        const auto copy = browser::workingCopyOfDiscarded(path, keepPath, currentPath);
        if (copy && isWorkingCopyFile(*copy))
            browser::deleteWorkingCopy(*copy);
    };

    std::unique_ptr<VehicleFile> vehicle = loadVehicle(path, mode);
    if (!vehicle) {
        discardNew();
        return false;
    }

    browser::Replacement replacement;
    try {
        replacement = browser::replaceDocument({currentPath, m_document->archiveEntry()}, path, keepPath, descriptionOf(*vehicle));
    } catch (const VehicleArchiveError& error) {
        // Another role's copy (the ghost's) is left alone.
        prompt().tell(std::string(editor::kFileErrorTitle), error.what(), PromptIcon::Stop);
        return false;
    }
    // Only files in the working-copy folder are archive entries: a file of the user's whose name merely carries
    // the prefix is neither written into the archive nor deleted.
    if (!keepPath && replacement.archiveEntry && !isWorkingCopyFile(path)) {
        replacement.archiveEntry.reset();
        replacement.saveAsCaption = browser::kSaveAsCaption;
    }
    if (replacement.deleteWorkingCopy && !isWorkingCopyFile(*replacement.deleteWorkingCopy))
        replacement.deleteWorkingCopy.reset();

    // The same "save changes?" question as at closing; the edits are not thrown away: when they cannot be saved,
    // or the user cancels, the current document stays.
    if (!confirmClose()) {
        discardNew();
        return false;
    }

    // A vehicle read from another file (a backup, a Garage version) takes the current path: what QORA knows of the
    // file at that path stays what it last read or wrote there.
    if (replacement.path != path)
        vehicle->diskSnapshot = m_document->vehicle() && m_document->vehicle()->fileName == replacement.path ? m_document->vehicle()->diskSnapshot
                                                                                     : takeSnapshot(replacement.path);
    recordRecentVehicle();
    if (replacement.deleteWorkingCopy)
        browser::deleteWorkingCopy(*replacement.deleteWorkingCopy);
    m_header->stopSavedAnimation();
    m_document->setVehicle(std::move(vehicle));
    m_document->vehicle()->fileName = replacement.path;
    m_document->archiveEntry() = replacement.archiveEntry;
    if (!keepPath && m_document->archiveEntry())
        m_document->archiveEntry()->entryHash = m_document->extractedEntryHash();
    m_document->extractedEntryHash().reset();
    m_saveAs->setText(fromLatin1(replacement.saveAsCaption));

    fillPages(*m_document->vehicle(), false);
    m_document->rememberAsSaved();

    setCaption(m_document->vehicle()->fileName);
    m_header->setPriorEditor(m_document->vehicle()->editorName);
    m_settings.lastFile = m_document->vehicle()->fileName;
    setChanged(false);
    m_header->restoreStatus();
    if (!keepPath)
        updateVehiclePicture();
    refreshBackupEntries();
    m_header->vehicleNotepadButton()->setEnabled(true);
    m_summaries->update();
    watchDocuments();
    return true;
}

std::optional<std::string> MainWindow::browseForVehicle(const browser::BrowserStart& start, bool asGhost) {
    VehicleArchive archive(m_settings, prompt(), m_host.filePicker);
    const browser::ArchiveForBrowser read = browser::readArchiveForBrowser(archive, prompt());
    if (read == browser::ArchiveForBrowser::Failed)
        return std::nullopt;
    VehicleArchive* loaded = read == browser::ArchiveForBrowser::Loaded ? &archive : nullptr;

    VehicleBrowserDialog dialog(loaded, m_settings, prompt(), m_host.dialogs, this,
                        asGhost ? tr("Open Ghost Vehicle") : tr("Open Vehicle"));
    dialog.setUp(start, loaded != nullptr);
    const int result = m_host.dialogs.run(dialog);
    browser::storeBrowserChoices(dialog.list(), m_settings);
    if (result != QDialog::Accepted)
        return std::nullopt;
    std::optional<std::string> path = browser::browserSelectionPath(dialog.list(), loaded, asGhost, prompt());
    // What the entry held when it was extracted, so its write-back can tell whether another program changed it.
    m_document->extractedEntryHash().reset();
    if (path && loaded && !asGhost && browser::isExtraction(*path)) {
        if (const ArchiveEntry* entry = loaded->findEntry(browser::extractedEntryName(*path)))
            m_document->extractedEntryHash() = contentHash(loaded->entryBytes(entry->Name));
    }
    return path;
}

void MainWindow::openVehicle() {
    guarded([this] {
        const std::string current = m_document->vehicle() ? m_document->vehicle()->fileName : std::string();
        const browser::BrowserStart start =
            browser::browserStartForVehicle(current, toLatin1(controlText("eClass")), m_settings.programFolder);
        if (const auto chosen = browseForVehicle(start, false))
            openVehicleFile(*chosen, VehicleFile::ModeOpen);
    });
}

void MainWindow::openRecentVehicle(const std::string& path) {
    guarded([&] {
        if (browser::recentFileAvailable(path, prompt()))
            openVehicleFile(path, VehicleFile::ModeOpen);
    });
}

void MainWindow::openBackup(browser::BackupKind kind) {
    guarded([&] {
        if (!m_document->vehicle())
            return;
        const auto backup = browser::backupToOpen(m_document->vehicle()->fileName, kind, prompt());
        if (!backup) {
            refreshBackupEntries();
            return;
        }
        // The backup's content takes the current file's place; a save writes it over the current file.
        if (openVehicleFile(*backup, VehicleFile::ModeOpen, true))
            setChanged(true);
    });
}

void MainWindow::refreshBackupEntries() {
    const std::string path = m_document->vehicle() ? m_document->vehicle()->fileName : std::string();
    const std::locale locale = browser::userLocale();
    const auto refresh = [&](QAction* action, browser::BackupKind kind) {
        const browser::BackupEntry entry = browser::backupEntry(path, kind, locale);
        action->setEnabled(entry.enabled);
        action->setText(messageText(entry.caption));
    };
    refresh(m_loadPrior, browser::BackupKind::Prior);
    refresh(m_loadOriginal, browser::BackupKind::Original);
}

// ---- Recent lists -------------------------------------------------------------------------------------------

void MainWindow::recordRecentVehicle() {
    if (m_document->vehicle() && browser::recordRecent(m_settings.recentVehicles, m_document->vehicle()->fileName, descriptionOf(*m_document->vehicle())))
        rebuildRecentMenus();
}

void MainWindow::rebuildRecentMenus() {
    m_recentMenu->clear();
    for (const browser::RecentMenuEntry& entry : browser::recentMenu(m_settings.recentVehicles)) {
        QAction* action = m_recentMenu->addAction(menuText(entry.caption));
        connect(action, &QAction::triggered, this, [this, path = entry.path] { openRecentVehicle(path); });
    }
    m_recentGhostMenu->clear();
    for (const browser::RecentMenuEntry& entry : browser::recentMenu(m_settings.recentGhosts)) {
        QAction* action = m_recentGhostMenu->addAction(menuText(entry.caption));
        connect(action, &QAction::triggered, this, [this, path = entry.path] { openRecentGhost(path); });
    }
}

// ---- Saving -------------------------------------------------------------------------------------------------

bool MainWindow::saveVehicleTo(const std::string& path) {
    if (!m_document->vehicle())
        return false;
    if (!transferPages()) {
        m_header->restoreStatus();
        return false;
    }
    // A save over the vehicle's own file never silently overwrites another program's changes.
    if ((path.empty() || path == m_document->vehicle()->fileName) && !confirmOverwriteOfChangedFile())
        return false;
    m_header->showStatusNow(tr("Saving File..."), kStatusRed, kStatusBlack);
    // A game folder without a Patch folder: the patch folder (where New.veh goes) is made when first needed.
    const std::string folder = parentFolder(path.empty() ? m_document->vehicle()->fileName : path);
    if (!folder.empty() && !fileSystem().folderExists(folder) && browser::samePath(folder, m_settings.patchFolder)) {
        try {
            createFolderPath(folder);
        } catch (const FileError&) {
            // The save says why the file cannot be written there.
        }
    }
    try {
        m_document->vehicle()->save(path, false);
    } catch (const VehicleFileError& error) {
        prompt().tell(std::string(editor::kFileErrorTitle), error.what(), PromptIcon::Stop);
        m_header->restoreStatus();
        return false;
    } catch (const DataValidationError& error) {
        prompt().tell(std::string(editor::kDataValidationErrorTitle), error.what(), PromptIcon::Stop);
        m_header->restoreStatus();
        return false;
    }

    if (path.empty() && m_document->archiveEntry()) {
        m_header->showStatusNow(tr("Writing To Mas File..."), kStatusRed, kStatusWhite);
        bool written = false;
        try {
            VehicleArchive archive(m_settings, prompt(), m_host.filePicker);
            written = archive.saveEntry(m_document->archiveEntry()->entryName, m_document->archiveEntry()->entryHash);
            // The entry now holds the working copy's bytes, just written.
            if (written)
                m_document->archiveEntry()->entryHash = m_document->vehicle()->diskSnapshot.hash;
        } catch (const VehicleArchiveError& error) {
            prompt().tell(kMasErrorTitle, error.what(), PromptIcon::Stop);
        } catch (const FileError&) {
            // The archive has told the user that the working copy could not be read.
        }
        if (!written) {
            m_header->restoreStatus();
            return false;
        }
    }

    setChanged(false);
    m_document->rememberAsSaved();
    if (editor::rememberGeometry(toLatin1(controlText("dlGeometry")), m_settings)) {
        if (auto* geometry = qobject_cast<FieldCombo*>(control("dlGeometry"))) {
            QStringList items;
            for (const std::string& item : m_settings.geometryList)
                items << fromLatin1(item);
            geometry->setItems(items);
        }
    }

    setCaption(m_document->vehicle()->fileName);
    m_header->setPriorEditor(m_document->vehicle()->editorName);
    m_header->showStatus(QString(), kStatusLime, kStatusBlack);
    if (isVisible())
        m_header->playSavedAnimation();
    else
        m_header->restoreStatus();
    refreshBackupEntries();
    watchDocuments();
    return true;
}

void MainWindow::saveVehicle() {
    guarded([this] {
        if (m_document->archiveEntry() && m_settings.generalWarnings &&
            prompt().ask(std::string(browser::kMasWriterTitle), browser::archiveSaveQuestion(m_document->archiveEntry()->entryName),
                         PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes)
            return;
        saveVehicleTo(std::string());
    });
}

void MainWindow::saveVehicleAs() {
    guarded([this] {
        if (!m_document->vehicle())
            return;
        if (m_document->archiveEntry())
            prompt().tell(std::string(browser::kMasHandlerTitle), std::string(browser::kSaveCopyNotice),
                          PromptIcon::Stop);
        FileDialogRequest request;
        request.title = tr("Save File As");
        request.filter = vehicleFilter();
        request.defaultSuffix = QStringLiteral("veh");
        // A copy of an archive entry is proposed under the entry's own name: a name with the working copy's
        // prefix would make the copy pass for a working copy when it is opened.
        request.proposedName =
            fromPath(m_document->archiveEntry() ? m_document->archiveEntry()->entryName : fileNameOf(m_document->vehicle()->fileName));
        request.folder = fromPath(fileSystem().folderExists(m_settings.patchFolder) ? m_settings.patchFolder
                                                                                    : m_settings.programFolder);
        const std::optional<QString> chosen = m_host.fileDialogs.saveFile(this, request);
        if (!chosen || chosen->isEmpty())
            return;
        const std::string workingCopy = m_document->vehicle()->fileName;
        const FileSnapshot workingCopyOnDisk = m_document->vehicle()->diskSnapshot;
        const bool wasChanged = m_document->isChanged();
        if (saveVehicleTo(toPath(*chosen)) && m_document->archiveEntry()) {
            // The archive entry stays the open document, and its edits are still not in the archive.
            m_document->vehicle()->fileName = workingCopy;
            m_document->vehicle()->diskSnapshot = workingCopyOnDisk;
            watchDocuments();
            setChanged(wasChanged);
            refreshBackupEntries();
        }
        setCaption(m_document->vehicle()->fileName);
    });
}

// ---- Header -------------------------------------------------------------------------------------------------

void MainWindow::updateVehiclePicture() {
    m_header->setVehiclePicture(browser::vehiclePicture(m_document->isOpen() ? m_document->vehicle()->fileName : std::string()));
}

void MainWindow::openInTextEditor(const VehicleFile* vehicle) {
    if (vehicle == nullptr)
        return;
    if (m_settings.generalWarnings &&
        prompt().ask(kNotepadTitle, kNotepadWarning, PromptButtons::OkCancel, PromptIcon::Exclamation) !=
            PromptAnswer::Ok)
        return;
    if (!fileSystem().fileExists(vehicle->fileName)) {
        // A new vehicle has no file until its first save.
        prompt().tell(std::string(editor::kFileErrorTitle), browser::fileNotFoundText(vehicle->fileName),
                      PromptIcon::Stop);
        return;
    }
    gui::openInTextEditor(vehicle->fileName, m_settings.textEditor, prompt());
}

} // namespace qora::gui
