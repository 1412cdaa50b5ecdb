#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QColor>
#include <QMainWindow>

#include "browser/file_commands.h"
#include "commands/command_context.h"
#include "commands/document_views.h"
#include "commands/file_commands.h"
#include "commands/ghost_commands.h"
#include "documents/ghost_document.h"
#include "documents/vehicle_document.h"
#include "editor/main_window_host.h"
#include "pages/page_host.h"
#include "platform/ini_registry.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QTimer;
class QToolButton;
class QGridLayout;
class QWheelEvent;

namespace qora {
struct AngleTexts;
class GearCalculator;
struct DriveTrainTexts;
struct UpshiftRefresh;
enum class UpshiftSender;
enum class ReadoutColour;
namespace editor {
enum class CopyScope;
struct PageField;
struct PageLoad;
struct SummarySource;
struct VehicleSummary;
} // namespace editor
class FilePicker;
class FolderPicker;
class Prompt;
} // namespace qora

namespace qora::gui {

class AerodynamicsPage;
class DiskWatch;
class GhostCommands;
class FileCommands;
class VehicleHeader;
class SummaryCommands;
class AppearanceCommands;
class DialogRunner;
class DriveTrainPage;
class FieldPage;
class PerformancePage;
class EngineSounds;
class FieldDragDrop;
class FileChangeWatcher;
class FileDialogHook;
class GearingChart;
class PageAppearance;
class SpinButton;
class TorqueChart;

// The main window: one current vehicle edited on seven pages, the header with its name panel (which doubles as
// the status line) and changed indicator, the menus, and the start-up and shut-down of the program.
//
// The pages are built from the page tables (page_fields.h); values travel between the vehicle's buffer and the
// controls through the page model (page_model.h), keyed by the controls' objectNames.
class MainWindow final : public QMainWindow, private PageHost, private DocumentViews {
    Q_OBJECT

public:
    explicit MainWindow(MainWindowHost host, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up, in this order: the settings from the program folder, the options they restore, the welcome text
    // when the settings are of another version, the chart, the last vehicle (or the template under the patch
    // folder + "New.veh"), then the command-line file. Throws VehicleFileError with the fatal message when not even the
    // template can be opened, and FileError when the program folder cannot be created.
    void start(const std::optional<std::string>& commandLineFile = std::nullopt);

    // ---- Document ------------------------------------------------------------------------------------------
    VehicleFile* currentVehicle() const { return m_document->vehicle(); }
    Settings& settings() override { return m_settings; }
    VehicleDocument& document() const override { return *m_document; }
    bool isChanged() const { return m_document->isChanged(); }
    // The archive entry the current vehicle was extracted from; Save writes it back into the archive.
    const std::optional<browser::ArchiveEntryRecord>& archiveEntry() const { return m_document->archiveEntry(); }


    FileCommands& files() const { return *m_files; }
    bool openVehicleFile(const std::string& path, int mode, bool keepPath = false) {
        return m_files->openVehicleFile(path, mode, keepPath);
    }
    bool saveVehicleTo(const std::string& path) { return m_files->saveVehicleTo(path); }

    editor::PageLoad fillPages(const VehicleFile& vehicle, bool ghost) override;
    bool transferPages() override;
    void setChanged(bool changed);
    // Paints the changed indicator and enables Undo Page as the document's changed state says.
    void showChangedState(bool changed);
    void setCaption(const std::string& path) override;
    // The help text of a label (100 to 152) in the information dialog.
    void showHelp(int number) override;

    // ---- Controls ------------------------------------------------------------------------------------------
    // A page control by objectName (vehicle field, ghost twin or display); nullptr when there is none.
    QWidget* control(std::string_view name) const override;
    QString controlText(std::string_view name) const override;
    FieldDragDrop& dragDrop() const override { return *m_dragDrop; }
    TorqueChart& torqueChart() const { return *m_chart; }
    EngineSounds& engineSounds() const { return *m_sounds; }
    QTabWidget* pages() const { return m_pages; }

    // ---- Ghost vehicle --------------------------------------------------------------------------------------
    GhostCommands& ghosts() const { return *m_ghosts; }
    bool openGhostFile(const std::string& path) { return m_ghosts->openGhostFile(path); }
    VehicleFile* ghostVehicle() const { return m_ghostDocument->vehicle(); }
    // Set while the open ghost lacked entries or had invalid driver attributes.
    bool ghostProblems() const { return m_ghostDocument->hasProblems(); }
    // The five [QORA] strings kept for the author data dialog.
    const std::array<std::string, 5>& authorData() const { return m_document->authorData(); }

    AppearanceCommands& appearance() const { return *m_appearance; }

public slots:
    void undoPage();
    // The user guide in the help window (main_window_user_guide.cpp).
    void showUserGuide();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Field texts keyed by the vehicle controls' objectNames (editor::PageTexts).
    using PageTexts = std::map<std::string, std::string, std::less<>>;
    // Window parts.
    void createActions();
    void createMenus();
    void createPages();

    std::vector<QWidget*> ghostWidgets() const;
    std::vector<SpinButton*> spinButtons() const;

    // What the pages ask of the window.
    Prompt& prompt() const override { return m_host.prompt; }
    const GhostDocument& ghostDocument() const override { return *m_ghostDocument; }
    int currentPage() const override;
    bool pagesFilling() const override { return m_pagesFilling; }
    void endFilling() override { m_pagesFilling = false; }
    void guarded(const std::function<void()>& command) override;
    void onFieldEdited(QWidget* field);
    // F1: the help of the focused field's label, or the user guide.
    void helpForFocus();

    // Field texts.
    PageTexts collectTexts() const;
    PageTexts pageTexts() const override { return collectTexts(); }
    void applyTexts(const PageTexts& texts, bool ghost);
    void applyLoad(const editor::PageLoad& load, bool ghost);
    // Brings a field's page to the front and puts the focus in the field (a value refused by a save).
    void focusField(std::string_view name);
    void afterPageFill(int page, const VehicleFile& vehicle, bool ghost);



    // Start-up and shut-down.
    void loadSettings();
    void restoreOptions();
    void showWelcome();
    void openStartFile(const std::string& path, bool asNew);
    void shutDown();


    // Engine sounds (main_window_sounds.cpp).
    void createEngineSounds();



    bool confirmOverwriteOfChangedFile() override;

    void createAppearance();

    // The user guide (main_window_user_guide.cpp).
    void createUserGuide();

    // The commands the window hands its documents to.
    CommandContext commandContext();
    VehicleHeader& header() const override { return *m_header; }
    void documentsChanged() override;



    std::string newFilePath() const;

    MainWindowHost m_host;
    VehicleDocument* m_document = nullptr;
    GhostDocument* m_ghostDocument = nullptr;
    Settings m_settings;
    std::unique_ptr<IniRegistry> m_registry;
    bool m_pagesFilling = false;
    bool m_settingsUnreadable = false;
    bool m_closed = false;


    QTabWidget* m_pages = nullptr;
    std::array<FieldPage*, 7> m_fieldPages{};
    AerodynamicsPage* m_aerodynamics = nullptr;
    PerformancePage* m_performance = nullptr;
    DriveTrainPage* m_driveTrain = nullptr;
    FieldDragDrop* m_dragDrop = nullptr;
    TorqueChart* m_chart = nullptr;


    QAction* m_openVeh = nullptr;
    QAction* m_openGhost = nullptr;
    QAction* m_save = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_undoPage = nullptr;
    QAction* m_exit = nullptr;
    EngineSounds* m_sounds = nullptr;
    VehicleHeader* m_header = nullptr;
    FileCommands* m_files = nullptr;
    GhostCommands* m_ghosts = nullptr;
    DiskWatch* m_diskWatch = nullptr;
    AppearanceCommands* m_appearance = nullptr;
    SummaryCommands* m_summaries = nullptr;
};

} // namespace qora::gui
