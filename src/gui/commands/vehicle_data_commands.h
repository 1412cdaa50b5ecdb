#pragma once

#include <QObject>

#include "commands/command_context.h"

namespace qora::gui {

class DocumentViews;
class FileCommands;
class GhostCommands;

// The vehicle's data beyond the pages: My Garage (named versions of the vehicle, loaded back into the editor or as
// the ghost) and the side dialogs of the optional sections (the upgrade parts, the computer-opponent basis and the
// author data). The side dialogs' values go into the vehicle's buffer, so the next save writes them (or drops a
// section left empty).
class VehicleDataCommands final : public QObject {
    Q_OBJECT

public:
    VehicleDataCommands(CommandContext context, DocumentViews& views, FileCommands& files, GhostCommands& ghosts);

public slots:
    // The vehicle is brought up to date and checked, the Garage dialog runs, and a version it asks for is loaded
    // into the editor or as the ghost.
    void showGarage();
    void editParts();
    void editAiBasis();
    void editAuthorData();

private:
    CommandContext m_context;
    DocumentViews& m_views;
    FileCommands& m_files;
    GhostCommands& m_ghosts;
};

} // namespace qora::gui
