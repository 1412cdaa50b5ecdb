#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QObject>

#include "commands/command_context.h"

class QAction;
class QMenu;

namespace qora {
class VehicleFile;
namespace browser {
struct BrowserStart;
enum class BackupKind;
} // namespace browser
} // namespace qora

namespace qora::gui {

class DocumentViews;

// The File menu's work on the edited vehicle: opening (through the vehicle browser, the recent lists and the
// backups), saving (in place, into the archive, as a copy), the question about unsaved edits, and opening the file
// in a text editor. The recent lists of the toolbar's Open and Ghost buttons are kept here too.
class FileCommands final : public QObject {
    Q_OBJECT

public:
    FileCommands(CommandContext context, DocumentViews& views);

    // Opens a vehicle: mode 0 normally, 1 as a new file from the template (no existence check). Asks about
    // missing entries, then whether to save the changed current document; the current document stays when the
    // new one fails, is aborted, or the save asked for fails. With keepPath the new vehicle takes the current
    // one's path. True when the vehicle became the current one.
    bool openVehicleFile(const std::string& path, int mode, bool keepPath = false);
    // Loads and checks a vehicle without making it current (mode 2 is load only): the existence check (not for
    // mode 1), the load, and the missing-entries dialog (not for mode 2). nullptr on a failure, which the user has
    // been told of, or on Abort.
    std::unique_ptr<VehicleFile> loadVehicle(const std::string& path, int mode);
    // Transfers the pages and saves the current vehicle to the path (empty: its own path), with validation,
    // stamp and backups; then the changed flag is cleared and "** FILE SAVED **" plays. False on any failure,
    // which the user has been told of; the changed flag then stays set.
    bool saveVehicleTo(const std::string& path);
    // With unsaved edits, asks whether to save them; false when the user cancels or the save fails. Closing and
    // opening another file both ask it.
    bool confirmClose();
    // Reads the archive, runs the browser from the start given and returns the file to open: the chosen file, or
    // the chosen archive entry extracted (as the ghost's copy with asGhost). nullopt when nothing is to be opened.
    std::optional<std::string> browseForVehicle(const browser::BrowserStart& start, bool asGhost);
    void openInTextEditor(const VehicleFile* vehicle);

    // Records the current vehicle in the vehicle recent list.
    void recordRecentVehicle();
    void rebuildRecentMenus();

public slots:
    void openVehicle();
    void saveVehicle();
    void saveVehicleAs();

signals:
    // A file of the ghost recent list was chosen.
    void recentGhostChosen(const std::string& path);

private:
    // Whether a path is a working copy of an archive entry: an extraction's name in the working-copy folder.
    bool isWorkingCopyFile(const std::string& path) const;
    void openRecentVehicle(const std::string& path);
    void openBackup(browser::BackupKind kind);
    void refreshBackupEntries();
    void updateVehiclePicture();
    QAction* action(const char* name) const;
    // The command text of a vehicle read in the current one's place.
    static QString replacementText(const std::string& path, const std::string& currentPath);

    CommandContext m_context;
    DocumentViews& m_views;
    QMenu* m_recentMenu = nullptr;      // pmRecent
    QMenu* m_recentGhostMenu = nullptr; // pmRecentGhost
};

} // namespace qora::gui
