#include "commands/file_commands.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "archive/vehicle_archive.h"
#include "browser/car_thumbnails.h"
#include "browser/file_commands.h"
#include "browser/vehicle_browser_dialog.h"
#include "calc/data_validation.h"
#include "commands/document_views.h"
#include "dialogs/info_dialog.h"
#include "documents/edit_history.h"
#include "documents/ghost_document.h"
#include "documents/vehicle_document.h"
#include "editor/field_widgets.h"
#include "editor/page_model.h"
#include "editor/vehicle_header.h"
#include "platform/dialog_runner.h"
#include "platform/file_dialog_hook.h"
#include "platform/file_snapshot.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "platform/text_editor.h"
#include "settings/settings.h"

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

FileCommands::FileCommands(CommandContext context, DocumentViews& views)
    : QObject(context.window), m_context(std::move(context)), m_views(views) {
    connect(action("mOpenVeh"), &QAction::triggered, this, &FileCommands::openVehicle);
    connect(action("mSave"), &QAction::triggered, this, &FileCommands::saveVehicle);
    connect(action("mSaveAs"), &QAction::triggered, this, &FileCommands::saveVehicleAs);
    connect(action("mLoadPrior"), &QAction::triggered, this, [this] { openBackup(browser::BackupKind::Prior); });
    connect(action("mLoadOriginal"), &QAction::triggered, this, [this] { openBackup(browser::BackupKind::Original); });

    m_recentMenu = new QMenu(m_context.window);
    m_recentMenu->setObjectName(QStringLiteral("pmRecent"));
    m_recentGhostMenu = new QMenu(m_context.window);
    m_recentGhostMenu->setObjectName(QStringLiteral("pmRecentGhost"));
    if (auto* bar = m_context.window->findChild<QToolBar*>(QStringLiteral("tbMain"))) {
        const auto attach = [bar](QAction* action, QMenu* menu) {
            if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
                button->setMenu(menu);
                button->setPopupMode(QToolButton::MenuButtonPopup);
            }
        };
        attach(action("mOpenVeh"), m_recentMenu);
        attach(action("mOpenGhost"), m_recentGhostMenu);
    }

    connect(m_views.header().vehicleNotepadButton(), &QToolButton::clicked, this,
            [this] { m_context.guarded([this] { openInTextEditor(m_context.document.vehicle()); }); });
    rebuildRecentMenus();
    refreshBackupEntries();
}

QAction* FileCommands::action(const char* name) const {
    return m_context.window->findChild<QAction*>(QString::fromLatin1(name));
}

bool FileCommands::isWorkingCopyFile(const std::string& path) const {
    return browser::isExtraction(path) && !m_context.settings.programFolder.empty() &&
           browser::normalFolder(parentFolder(path)) == browser::normalFolder(m_context.settings.masVehFolder());
}

// ---- Opening ------------------------------------------------------------------------------------------------

bool FileCommands::openVehicleFile(const std::string& path, int mode, bool keepPath) {
    const std::string currentPath =
        m_context.document.isOpen() ? m_context.document.vehicle()->fileName : std::string();
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
        replacement = browser::replaceDocument({currentPath, m_context.document.archiveEntry()}, path, keepPath,
                                               descriptionOf(*vehicle));
    } catch (const VehicleArchiveError& error) {
        // Another role's copy (the ghost's) is left alone.
        m_context.host.prompt.tell(std::string(editor::kFileErrorTitle), error.what(), PromptIcon::Stop);
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
        vehicle->diskSnapshot =
            m_context.document.vehicle() && m_context.document.vehicle()->fileName == replacement.path
                ? m_context.document.vehicle()->diskSnapshot
                : takeSnapshot(replacement.path);
    // A vehicle read in the current one's place under its path (a Garage version, a backup, the file reloaded)
    // is a command that undo takes back; any other open starts the history afresh.
    std::optional<VehicleSnapshot> replaced;
    if (keepPath && m_context.document.isOpen())
        replaced = m_context.document.history().snapshot();
    recordRecentVehicle();
    if (replacement.deleteWorkingCopy)
        browser::deleteWorkingCopy(*replacement.deleteWorkingCopy);
    m_views.header().stopSavedAnimation();
    m_context.document.setVehicle(std::move(vehicle));
    m_context.document.vehicle()->fileName = replacement.path;
    m_context.document.archiveEntry() = replacement.archiveEntry;
    if (!keepPath && m_context.document.archiveEntry())
        m_context.document.archiveEntry()->entryHash = m_context.document.extractedEntryHash();
    m_context.document.extractedEntryHash().reset();
    action("mSaveAs")->setText(fromLatin1(replacement.saveAsCaption));

    m_views.fillPages(*m_context.document.vehicle(), false);
    m_context.document.rememberAsSaved();

    m_views.setCaption(m_context.document.vehicle()->fileName);
    m_views.header().setPriorEditor(m_context.document.vehicle()->editorName);
    m_context.settings.lastFile = m_context.document.vehicle()->fileName;
    if (replaced) {
        m_context.document.history().recordReplacement(std::move(*replaced), replacementText(path, currentPath));
    } else {
        m_context.document.history().clear();
        m_context.document.setChanged(false);
    }
    m_views.header().restoreStatus();
    if (!keepPath)
        updateVehiclePicture();
    refreshBackupEntries();
    m_views.header().vehicleNotepadButton()->setEnabled(true);
    m_views.documentsChanged();
    return true;
}

// "Load Garage version Fast setup", "Reload car.veh", "Load car.veB".
QString FileCommands::replacementText(const std::string& path, const std::string& currentPath) {
    const std::string name = fileNameOf(path);
    if (browser::samePath(path, currentPath))
        return tr("Reload %1").arg(fromPath(name));
    const auto tilde = name.find('~');
    const auto dot = name.rfind('.');
    if (tilde != std::string::npos && dot != std::string::npos && dot > tilde &&
        QString::fromStdString(name.substr(dot)).compare(QStringLiteral(".vfv"), Qt::CaseInsensitive) == 0)
        return tr("Load Garage version %1").arg(fromPath(name.substr(tilde + 1, dot - tilde - 1)));
    return tr("Load %1").arg(fromPath(name));
}

std::optional<std::string> FileCommands::browseForVehicle(const browser::BrowserStart& start, bool asGhost) {
    VehicleArchive archive(m_context.settings, m_context.host.prompt, m_context.host.filePicker);
    const browser::ArchiveForBrowser read = browser::readArchiveForBrowser(archive, m_context.host.prompt);
    if (read == browser::ArchiveForBrowser::Failed)
        return std::nullopt;
    VehicleArchive* loaded = read == browser::ArchiveForBrowser::Loaded ? &archive : nullptr;

    VehicleBrowserDialog dialog(loaded, m_context.settings, m_context.host.prompt, m_context.host.dialogs,
                                m_context.window, asGhost ? tr("Open Ghost Vehicle") : tr("Open Vehicle"));
    dialog.setUp(start, loaded != nullptr);
    const int result = m_context.host.dialogs.run(dialog);
    browser::storeBrowserChoices(dialog.list(), m_context.settings);
    if (result != QDialog::Accepted)
        return std::nullopt;
    std::optional<std::string> path =
        browser::browserSelectionPath(dialog.list(), loaded, asGhost, m_context.host.prompt);
    // What the entry held when it was extracted, so its write-back can tell whether another program changed it.
    m_context.document.extractedEntryHash().reset();
    if (path && loaded && !asGhost && browser::isExtraction(*path)) {
        if (const ArchiveEntry* entry = loaded->findEntry(browser::extractedEntryName(*path)))
            m_context.document.extractedEntryHash() = contentHash(loaded->entryBytes(entry->Name));
    }
    return path;
}

void FileCommands::openVehicle() {
    m_context.guarded([this] {
        const std::string current =
            m_context.document.isOpen() ? m_context.document.vehicle()->fileName : std::string();
        const browser::BrowserStart start = browser::browserStartForVehicle(
            current, toLatin1(m_views.controlText("eClass")), m_context.settings.programFolder);
        if (const auto chosen = browseForVehicle(start, false))
            openVehicleFile(*chosen, VehicleFile::ModeOpen);
    });
}

void FileCommands::openRecentVehicle(const std::string& path) {
    m_context.guarded([&] {
        if (browser::recentFileAvailable(path, m_context.host.prompt))
            openVehicleFile(path, VehicleFile::ModeOpen);
    });
}

void FileCommands::openBackup(browser::BackupKind kind) {
    m_context.guarded([&] {
        if (!m_context.document.vehicle())
            return;
        const auto backup = browser::backupToOpen(m_context.document.vehicle()->fileName, kind, m_context.host.prompt);
        if (!backup) {
            refreshBackupEntries();
            return;
        }
        // The backup's content takes the current file's place; a save writes it over the current file.
        if (openVehicleFile(*backup, VehicleFile::ModeOpen, true))
            m_context.document.setChanged(true);
    });
}

void FileCommands::refreshBackupEntries() {
    const std::string path = m_context.document.isOpen() ? m_context.document.vehicle()->fileName : std::string();
    const std::locale locale = browser::userLocale();
    const auto refresh = [&](QAction* action, browser::BackupKind kind) {
        const browser::BackupEntry entry = browser::backupEntry(path, kind, locale);
        action->setEnabled(entry.enabled);
        action->setText(messageText(entry.caption));
    };
    refresh(action("mLoadPrior"), browser::BackupKind::Prior);
    refresh(action("mLoadOriginal"), browser::BackupKind::Original);
}

// ---- Recent lists -------------------------------------------------------------------------------------------

void FileCommands::recordRecentVehicle() {
    if (m_context.document.vehicle() &&
        browser::recordRecent(m_context.settings.recentVehicles, m_context.document.vehicle()->fileName,
                              descriptionOf(*m_context.document.vehicle())))
        rebuildRecentMenus();
}

void FileCommands::rebuildRecentMenus() {
    m_recentMenu->clear();
    for (const browser::RecentMenuEntry& entry : browser::recentMenu(m_context.settings.recentVehicles)) {
        QAction* action = m_recentMenu->addAction(menuText(entry.caption));
        connect(action, &QAction::triggered, this, [this, path = entry.path] { openRecentVehicle(path); });
    }
    m_recentGhostMenu->clear();
    for (const browser::RecentMenuEntry& entry : browser::recentMenu(m_context.settings.recentGhosts)) {
        QAction* action = m_recentGhostMenu->addAction(menuText(entry.caption));
        connect(action, &QAction::triggered, this, [this, path = entry.path] { emit recentGhostChosen(path); });
    }
}

// ---- Saving -------------------------------------------------------------------------------------------------

bool FileCommands::saveVehicleTo(const std::string& path) {
    if (!m_context.document.vehicle())
        return false;
    if (!m_views.transferPages()) {
        m_views.header().restoreStatus();
        return false;
    }
    // A save over the vehicle's own file never silently overwrites another program's changes.
    if ((path.empty() || path == m_context.document.vehicle()->fileName) && !m_views.confirmOverwriteOfChangedFile())
        return false;
    m_views.header().showStatusNow(tr("Saving File..."), kStatusRed, kStatusBlack);
    // A game folder without a Patch folder: the patch folder (where New.veh goes) is made when first needed.
    const std::string folder = parentFolder(path.empty() ? m_context.document.vehicle()->fileName : path);
    if (!folder.empty() && !fileSystem().folderExists(folder) &&
        browser::samePath(folder, m_context.settings.patchFolder)) {
        try {
            createFolderPath(folder);
        } catch (const FileError&) {
            // The save says why the file cannot be written there.
        }
    }
    try {
        m_context.document.vehicle()->save(path, false);
    } catch (const VehicleFileError& error) {
        m_context.host.prompt.tell(std::string(editor::kFileErrorTitle), error.what(), PromptIcon::Stop);
        m_views.header().restoreStatus();
        return false;
    } catch (const DataValidationError& error) {
        m_context.host.prompt.tell(std::string(editor::kDataValidationErrorTitle), error.what(), PromptIcon::Stop);
        m_views.header().restoreStatus();
        return false;
    }

    if (path.empty() && m_context.document.archiveEntry()) {
        m_views.header().showStatusNow(tr("Writing To Mas File..."), kStatusRed, kStatusWhite);
        bool written = false;
        try {
            VehicleArchive archive(m_context.settings, m_context.host.prompt, m_context.host.filePicker);
            written = archive.saveEntry(m_context.document.archiveEntry()->entryName,
                                        m_context.document.archiveEntry()->entryHash);
            // The entry now holds the working copy's bytes, just written.
            if (written)
                m_context.document.archiveEntry()->entryHash = m_context.document.vehicle()->diskSnapshot.hash;
        } catch (const VehicleArchiveError& error) {
            m_context.host.prompt.tell(kMasErrorTitle, error.what(), PromptIcon::Stop);
        } catch (const FileError&) {
            // The archive has told the user that the working copy could not be read.
        }
        if (!written) {
            m_views.header().restoreStatus();
            return false;
        }
    }

    m_context.document.setChanged(false);
    m_context.document.rememberAsSaved();
    if (editor::rememberGeometry(toLatin1(m_views.controlText("dlGeometry")), m_context.settings)) {
        if (auto* geometry = qobject_cast<FieldCombo*>(m_views.control("dlGeometry"))) {
            QStringList items;
            for (const std::string& item : m_context.settings.geometryList)
                items << fromLatin1(item);
            geometry->setItems(items);
        }
    }

    m_views.setCaption(m_context.document.vehicle()->fileName);
    m_views.header().setPriorEditor(m_context.document.vehicle()->editorName);
    m_views.header().showStatus(QString(), kStatusLime, kStatusBlack);
    if (m_context.window->isVisible())
        m_views.header().playSavedAnimation();
    else
        m_views.header().restoreStatus();
    refreshBackupEntries();
    m_views.documentsChanged();
    return true;
}

void FileCommands::saveVehicle() {
    m_context.guarded([this] {
        if (m_context.document.archiveEntry() && m_context.settings.generalWarnings &&
            m_context.host.prompt.ask(std::string(browser::kMasWriterTitle),
                                      browser::archiveSaveQuestion(m_context.document.archiveEntry()->entryName),
                                      PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes)
            return;
        saveVehicleTo(std::string());
    });
}

void FileCommands::saveVehicleAs() {
    m_context.guarded([this] {
        if (!m_context.document.vehicle())
            return;
        if (m_context.document.archiveEntry())
            m_context.host.prompt.tell(std::string(browser::kMasHandlerTitle), std::string(browser::kSaveCopyNotice),
                                       PromptIcon::Stop);
        FileDialogRequest request;
        request.title = tr("Save File As");
        request.filter = vehicleFilter();
        request.defaultSuffix = QStringLiteral("veh");
        // A copy of an archive entry is proposed under the entry's own name: a name with the working copy's
        // prefix would make the copy pass for a working copy when it is opened.
        request.proposedName =
            fromPath(m_context.document.archiveEntry() ? m_context.document.archiveEntry()->entryName
                                                       : fileNameOf(m_context.document.vehicle()->fileName));
        request.folder =
            fromPath(fileSystem().folderExists(m_context.settings.patchFolder) ? m_context.settings.patchFolder
                                                                               : m_context.settings.programFolder);
        const std::optional<QString> chosen = m_context.host.fileDialogs.saveFile(m_context.window, request);
        if (!chosen || chosen->isEmpty())
            return;
        const std::string workingCopy = m_context.document.vehicle()->fileName;
        const FileSnapshot workingCopyOnDisk = m_context.document.vehicle()->diskSnapshot;
        const bool wasChanged = m_context.document.isChanged();
        if (saveVehicleTo(toPath(*chosen)) && m_context.document.archiveEntry()) {
            // The archive entry stays the open document, and its edits are still not in the archive.
            m_context.document.vehicle()->fileName = workingCopy;
            m_context.document.vehicle()->diskSnapshot = workingCopyOnDisk;
            m_views.documentsChanged();
            m_context.document.setChanged(wasChanged);
            refreshBackupEntries();
        }
        m_views.setCaption(m_context.document.vehicle()->fileName);
    });
}

// ---- Header -------------------------------------------------------------------------------------------------

void FileCommands::updateVehiclePicture() {
    m_views.header().setVehiclePicture(
        browser::vehiclePicture(m_context.document.isOpen() ? m_context.document.vehicle()->fileName : std::string()));
}

void FileCommands::openInTextEditor(const VehicleFile* vehicle) {
    if (vehicle == nullptr)
        return;
    if (m_context.settings.generalWarnings &&
        m_context.host.prompt.ask(kNotepadTitle, kNotepadWarning, PromptButtons::OkCancel, PromptIcon::Exclamation) !=
            PromptAnswer::Ok)
        return;
    if (!fileSystem().fileExists(vehicle->fileName)) {
        // A new vehicle has no file until its first save.
        m_context.host.prompt.tell(std::string(editor::kFileErrorTitle), browser::fileNotFoundText(vehicle->fileName),
                                   PromptIcon::Stop);
        return;
    }
    gui::openInTextEditor(vehicle->fileName, m_context.settings.textEditor, m_context.host.prompt);
}

std::unique_ptr<VehicleFile> FileCommands::loadVehicle(const std::string& path, int mode) {
    // A pipe, a device or a loop of links is not "not found": the load below refuses it with its own message.
    const auto somethingElseIsThere = [&] {
        try {
            return fileSystem().status(path).type == FileStatus::Type::Other;
        } catch (const FileError&) {
            return true;
        }
    };
    if (mode != VehicleFile::ModeNew && !fileSystem().fileExists(path) && !somethingElseIsThere()) {
        m_context.host.prompt.tell(std::string(editor::kFileErrorTitle), "Could not find requested file: " + path,
                                   PromptIcon::Stop);
        return nullptr;
    }
    auto vehicle = std::make_unique<VehicleFile>(path, m_context.host.prompt, m_context.settings);
    try {
        vehicle->load(mode);
    } catch (const VehicleFileError& error) {
        m_context.host.prompt.tell(std::string(editor::kFileErrorTitle), error.what(), PromptIcon::Stop);
        return nullptr;
    }

    std::vector<std::string> missing;
    if (vehicle->listMissingEntries(missing) > 0 && mode != VehicleFile::ModeGhost) {
        LostEntriesDialog dialog(m_context.window);
        dialog.setEntries(missing);
        if (m_context.host.dialogs.run(dialog) != QDialog::Accepted)
            return nullptr;
    }
    return vehicle;
}

bool FileCommands::confirmClose() {
    if (!m_context.document.vehicle() || !m_context.document.isChanged())
        return true;
    switch (m_context.host.prompt.ask(std::string(editor::kSaveChangesTitle), std::string(editor::kSaveChangesQuestion),
                                      PromptButtons::YesNoCancel, PromptIcon::Question)) {
    case PromptAnswer::Yes:
        // A failed save keeps the window open, so the edits are not lost.
        return saveVehicleTo(std::string());
    case PromptAnswer::No:
        return true;
    default:
        return false;
    }
}

} // namespace qora::gui
