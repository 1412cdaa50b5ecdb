#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "browser/file_commands.h"
#include "browser/vehicle_list.h"
#include "dialogs/base_dialog.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFileSystemWatcher;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QTimer;
class QToolButton;

namespace qora {
class Prompt;
class VehicleArchive;
class Settings;
} // namespace qora

namespace qora::gui {

class DialogRunner;
class DriveBox;
class FolderTree;

// The vehicle browser: the vehicles of a folder, or the entries of the game's archive, listed under their
// descriptions and filtered by class, with the selected car's thumbnail and a context menu that opens the file
// in the text editor or copies, moves or deletes it with its companion files.
//
// The dialog mirrors a browser::VehicleList, which holds the whole state and logic; every handler changes the list
// and then writes the widgets from it. The host sets the dialog up (setUp), runs it, stores the user's choices
// and reads the selection from list().
class VehicleBrowserDialog final : public BaseDialog {
    Q_OBJECT

public:
    // `masFile` is the loaded archive or null; none of the references is owned. The dialog runner shows the file
    // manager's check list, the folder picker and the report of unreadable files.
    VehicleBrowserDialog(VehicleArchive* masFile, Settings& settings, Prompt& prompt, DialogRunner& dialogs,
                 QWidget* parent = nullptr, const QString& caption = tr("Open Vehicle"));
    ~VehicleBrowserDialog() override;

    browser::VehicleList& list() { return m_list; }
    const browser::VehicleList& list() const { return m_list; }

    // The host's set-up before showing: check boxes, classes and favourites from the settings, the start folder,
    // the file to preselect, archive mode for a working copy, then the class (which builds the list).
    void setUp(const browser::BrowserStart& start, bool masAvailable);

    // The context menu's commands on the selected vehicle.
    void openInNotepad();
    void copyVehicle();
    void moveVehicle();
    void deleteVehicle();

    QMenu* contextMenu() const { return m_menu; }

public slots:
    // Closes with OK only while a vehicle is selected.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWidgets();
    void connectWidgets();
    // Writes every widget from the list, then shows the report of unreadable files when one is due.
    void refresh();
    // Runs a change of the list made by the user, then refreshes.
    void changeList(const std::function<void()>& change);
    void syncWidgets();
    void syncPicture();
    void reportLostFiles();
    void transfer(bool move);
    void folderFilesChanged();

    browser::VehicleList m_list;
    Settings* m_settings;
    Prompt* m_prompt;
    DialogRunner* m_dialogs;
    bool m_syncing = false;
    std::vector<std::string> m_shownItems;

    QComboBox* m_favorites = nullptr;
    QToolButton* m_addFolder = nullptr;
    QToolButton* m_deleteFolder = nullptr;
    FolderTree* m_folders = nullptr;
    DriveBox* m_drives = nullptr;
    QLabel* m_masMode = nullptr;
    QComboBox* m_mask = nullptr;
    QListWidget* m_cars = nullptr;
    QLineEdit* m_fileCount = nullptr;
    QLineEdit* m_fileName = nullptr;
    QComboBox* m_class = nullptr;
    QToolButton* m_addClass = nullptr;
    QToolButton* m_deleteClass = nullptr;
    QFrame* m_imageBevel = nullptr;
    QLabel* m_car = nullptr;
    std::optional<browser::CarPicture> m_shownPicture; // what m_car shows
    qreal m_shownPictureRatio = 0;
    QCheckBox* m_showCarPic = nullptr;
    QCheckBox* m_racePercent = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_notepad = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_move = nullptr;
    QAction* m_delete = nullptr;
    QFileSystemWatcher* m_watcher = nullptr;
    QTimer* m_watchDelay = nullptr;
};

} // namespace qora::gui
