// MainWindow and the files on disk: another program (a script's qora-cli, a text editor, a mod manager) may change
// or delete the vehicle or the ghost while the window has them open. The window notices it through file
// watchers, and offers to reload when the user comes back to it; a save over a file changed since QORA read it
// asks first.

#include <QEvent>
#include <QTimer>

#include "editor/file_change_watcher.h"
#include "commands/file_commands.h"
#include "commands/ghost_commands.h"
#include "editor/main_window.h"
#include "platform/file_snapshot.h"
#include "platform/prompt.h"

namespace qora::gui {

namespace {

constexpr const char* kChangedTitle = "QORA File Changed";

} // namespace

void MainWindow::createDiskWatch() {
    m_vehicleWatch = new FileChangeWatcher(this);
    m_ghostWatch = new FileChangeWatcher(this);
    const auto noticed = [this] {
        m_diskCheckDue = true;
        // The question waits until the user is back in the window; a window in front asks at once.
        if (isActiveWindow())
            QTimer::singleShot(0, this, [this] { checkForChangesOnDisk(); });
    };
    connect(m_vehicleWatch, &FileChangeWatcher::changed, this, noticed);
    connect(m_ghostWatch, &FileChangeWatcher::changed, this, noticed);
}

void MainWindow::watchDocuments() {
    if (m_vehicleWatch == nullptr)
        return;
    const std::string vehicle = m_document->vehicle() ? m_document->vehicle()->fileName : std::string();
    const std::string ghost = m_ghostDocument->vehicle() ? m_ghostDocument->vehicle()->fileName : std::string();
    if (m_vehicleWatch->path() != vehicle)
        m_vehicleWatch->watch(vehicle);
    if (m_ghostWatch->path() != ghost)
        m_ghostWatch->watch(ghost);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_diskCheckDue)
        QTimer::singleShot(0, this, [this] { checkForChangesOnDisk(); });
}

void MainWindow::checkForChangesOnDisk() {
    if (!m_diskCheckDue || m_checkingDisk)
        return;
    m_diskCheckDue = false;
    m_checkingDisk = true;
    guarded([this] {
        checkVehicleOnDisk();
        checkGhostOnDisk();
    });
    m_checkingDisk = false;
    watchDocuments();
}

void MainWindow::checkVehicleOnDisk() {
    if (!m_document->vehicle() || !m_document->vehicle()->diskSnapshot.exists || !m_document->vehicle()->changedOnDisk())
        return;
    const std::string path = m_document->vehicle()->fileName;
    const FileSnapshot now = takeSnapshot(path);
    if (!now.exists) {
        // Nothing to reload: the vehicle stays open, and its next save writes the file again.
        m_document->vehicle()->diskSnapshot = FileSnapshot{};
        setChanged(true);
        prompt().tell(kChangedTitle,
                      "[" + path + "] was deleted by another program.  The vehicle is still open in QORA: save it "
                      "(F2) to write the file again.",
                      PromptIcon::Exclamation);
        return;
    }
    // Reloading throws the window's edits away, so it is the default only when there are none.
    const int reload = 0;
    const int keep = 1;
    const int choice = prompt().choose(
        kChangedTitle,
        "[" + path + "] was changed by another program.  Reload it, or keep your version (saving then overwrites "
        "the other program's changes)?",
        {"Reload", "Keep my version"}, m_document->isChanged() ? keep : reload, keep, PromptIcon::Question);
    if (choice == reload) {
        reloadVehicle();
        return;
    }
    m_document->vehicle()->diskSnapshot = now;
    setChanged(true);
}

void MainWindow::reloadVehicle() {
    const std::string path = m_document->vehicle()->fileName;
    const bool wasChanged = m_document->isChanged();
    // The user chose to let the edits go, so the save question is not asked; a reload that fails keeps them.
    setChanged(false);
    if (!m_files->openVehicleFile(path, VehicleFile::ModeOpen, true))
        setChanged(wasChanged);
}

void MainWindow::checkGhostOnDisk() {
    // The ghost is never saved: a changed file is simply read again; a deleted one stays shown as it was read.
    if (!m_ghostDocument->vehicle() || !m_ghostDocument->vehicle()->diskSnapshot.exists || !m_ghostDocument->vehicle()->changedOnDisk())
        return;
    const std::string path = m_ghostDocument->vehicle()->fileName;
    if (!takeSnapshot(path).exists) {
        m_ghostDocument->vehicle()->diskSnapshot = FileSnapshot{};
        return;
    }
    m_ghosts->openGhostFile(path);
}

bool MainWindow::confirmOverwriteOfChangedFile() {
    if (!m_document->vehicle()->diskSnapshot.exists || !m_document->vehicle()->changedOnDisk())
        return true;
    return prompt().ask(kChangedTitle,
                        "[" + m_document->vehicle()->fileName + "] was changed by another program since QORA opened it. "
                        "Overwrite it with your edits?",
                        PromptButtons::YesNo, PromptIcon::Exclamation, PromptAnswer::No) == PromptAnswer::Yes;
}

} // namespace qora::gui
