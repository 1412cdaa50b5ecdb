#pragma once

#include <QObject>

#include "commands/command_context.h"

namespace qora::gui {

class FileChangeWatcher;
class FileCommands;
class GhostCommands;

// The documents' files on disk: another program (a script's qora-cli, a text editor, a mod manager) may change
// or delete the vehicle or the ghost while the window has them open. File watchers notice it, and when the user
// comes back to the window the vehicle is offered for reloading (the ghost is simply read again); a save over a
// file changed since QORA read it asks first.
class DiskWatch final : public QObject {
    Q_OBJECT

public:
    DiskWatch(CommandContext context, FileCommands& files, GhostCommands& ghosts);

    // Points the file watchers at the vehicle's and the ghost's files after either changed.
    void watchDocuments();
    // The window became the active one: a change noticed meanwhile is looked at now.
    void windowActivated();
    // Before a save over the vehicle's own file: true when the file is as QORA last read or wrote it, or the user
    // agrees to overwrite another program's changes.
    bool confirmOverwriteOfChangedFile();

public slots:
    // Offers to reload the vehicle (and reloads the ghost) when another program changed its file since QORA read
    // or wrote it, or tells that it was deleted.
    void checkForChangesOnDisk();

private:
    void checkVehicleOnDisk();
    void checkGhostOnDisk();
    void reloadVehicle();

    CommandContext m_context;
    FileCommands& m_files;
    GhostCommands& m_ghosts;
    FileChangeWatcher* m_vehicleWatch = nullptr;
    FileChangeWatcher* m_ghostWatch = nullptr;
    bool m_checkDue = false; // a watcher saw a change that was not looked at yet
    bool m_checking = false;
};

} // namespace qora::gui
