#include "commands/disk_watch.h"

#include <QMainWindow>
#include <QTimer>

#include "commands/file_commands.h"
#include "commands/ghost_commands.h"
#include "documents/ghost_document.h"
#include "documents/vehicle_document.h"
#include "editor/file_change_watcher.h"
#include "platform/file_snapshot.h"
#include "platform/prompt.h"

namespace qora::gui {

namespace {

constexpr const char* kChangedTitle = "QORA File Changed";

} // namespace

DiskWatch::DiskWatch(CommandContext context, FileCommands& files, GhostCommands& ghosts)
    : QObject(context.window), m_context(std::move(context)), m_files(files), m_ghosts(ghosts) {
    m_vehicleWatch = new FileChangeWatcher(this);
    m_ghostWatch = new FileChangeWatcher(this);
    const auto noticed = [this] {
        m_checkDue = true;
        // The question waits until the user is back in the window; a window in front asks at once.
        if (m_context.window->isActiveWindow())
            QTimer::singleShot(0, this, [this] { checkForChangesOnDisk(); });
    };
    connect(m_vehicleWatch, &FileChangeWatcher::changed, this, noticed);
    connect(m_ghostWatch, &FileChangeWatcher::changed, this, noticed);
}

void DiskWatch::watchDocuments() {
    if (m_vehicleWatch == nullptr)
        return;
    const std::string vehicle = m_context.document.isOpen() ? m_context.document.vehicle()->fileName : std::string();
    const std::string ghost = m_context.ghost.isOpen() ? m_context.ghost.vehicle()->fileName : std::string();
    if (m_vehicleWatch->path() != vehicle)
        m_vehicleWatch->watch(vehicle);
    if (m_ghostWatch->path() != ghost)
        m_ghostWatch->watch(ghost);
}

void DiskWatch::windowActivated() {
    if (m_checkDue)
        QTimer::singleShot(0, this, [this] { checkForChangesOnDisk(); });
}

void DiskWatch::checkForChangesOnDisk() {
    if (!m_checkDue || m_checking)
        return;
    m_checkDue = false;
    m_checking = true;
    m_context.guarded([this] {
        checkVehicleOnDisk();
        checkGhostOnDisk();
    });
    m_checking = false;
    watchDocuments();
}

void DiskWatch::checkVehicleOnDisk() {
    if (!m_context.document.vehicle() || !m_context.document.vehicle()->diskSnapshot.exists ||
        !m_context.document.vehicle()->changedOnDisk())
        return;
    const std::string path = m_context.document.vehicle()->fileName;
    const FileSnapshot now = takeSnapshot(path);
    if (!now.exists) {
        // Nothing to reload: the vehicle stays open, and its next save writes the file again.
        m_context.document.vehicle()->diskSnapshot = FileSnapshot{};
        m_context.document.setChanged(true);
        m_context.host.prompt.tell(kChangedTitle,
                                   "[" + path +
                                       "] was deleted by another program.  The vehicle is still open in QORA: save it "
                                       "(F2) to write the file again.",
                                   PromptIcon::Exclamation);
        return;
    }
    // Reloading throws the window's edits away, so it is the default only when there are none.
    const int reload = 0;
    const int keep = 1;
    const int choice = m_context.host.prompt.choose(
        kChangedTitle,
        "[" + path +
            "] was changed by another program.  Reload it, or keep your version (saving then overwrites "
            "the other program's changes)?",
        {"Reload", "Keep my version"}, m_context.document.isChanged() ? keep : reload, keep, PromptIcon::Question);
    if (choice == reload) {
        reloadVehicle();
        return;
    }
    m_context.document.vehicle()->diskSnapshot = now;
    m_context.document.setChanged(true);
}

void DiskWatch::reloadVehicle() {
    const std::string path = m_context.document.vehicle()->fileName;
    const bool wasChanged = m_context.document.isChanged();
    // The user chose to let the edits go, so the save question is not asked; a reload that fails keeps them.
    m_context.document.setChanged(false);
    if (!m_files.openVehicleFile(path, VehicleFile::ModeOpen, true))
        m_context.document.setChanged(wasChanged);
    else
        m_context.document.setChanged(false); // as on disk; undo takes the reload back to the user's edits
}

void DiskWatch::checkGhostOnDisk() {
    // The ghost is never saved: a changed file is simply read again; a deleted one stays shown as it was read.
    if (!m_context.ghost.vehicle() || !m_context.ghost.vehicle()->diskSnapshot.exists ||
        !m_context.ghost.vehicle()->changedOnDisk())
        return;
    const std::string path = m_context.ghost.vehicle()->fileName;
    if (!takeSnapshot(path).exists) {
        m_context.ghost.vehicle()->diskSnapshot = FileSnapshot{};
        return;
    }
    m_ghosts.openGhostFile(path);
}

bool DiskWatch::confirmOverwriteOfChangedFile() {
    if (!m_context.document.vehicle()->diskSnapshot.exists || !m_context.document.vehicle()->changedOnDisk())
        return true;
    return m_context.host.prompt.ask(kChangedTitle,
                                     "[" + m_context.document.vehicle()->fileName +
                                         "] was changed by another program since QORA opened it. "
                                         "Overwrite it with your edits?",
                                     PromptButtons::YesNo, PromptIcon::Exclamation,
                                     PromptAnswer::No) == PromptAnswer::Yes;
}

} // namespace qora::gui
