#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QMainWindow>

#include "commands/command_context.h"
#include "commands/document_views.h"
#include "commands/file_commands.h"
#include "commands/ghost_commands.h"
#include "documents/edit_history.h"
#include "documents/ghost_document.h"
#include "documents/vehicle_document.h"
#include "editor/main_window_host.h"
#include "pages/page_host.h"
#include "platform/registry.h"
#include "settings/settings.h"

class QAction;
class QDialog;
class QTabWidget;

namespace qora::gui {

class AerodynamicsPage;
class AppearanceCommands;
class DiskWatch;
class DriveTrainPage;
class EngineSounds;
class FieldDragDrop;
class FieldPage;
class PerformancePage;
class SpinButton;
class SummaryCommands;
class TorqueChart;
class VehicleHeader;

// The main window composes the editor: the vehicle and ghost documents, the header panel, the seven pages in their
// tabs, the menus and toolbar, and the command sets that act on them (files, ghost, appearance, summaries, the
// vehicle's side data, the watch on the files on disk). Its own work is the start-up and shut-down of the program,
// the field texts read from and written into all pages at once, Undo Page, and showing what undo and redo put back.
class MainWindow final : public QMainWindow, private PageHost, private DocumentViews, private VehicleStateView {
    Q_OBJECT

public:
    explicit MainWindow(MainWindowHost host, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up, in this order: the settings from the program folder, the options they restore, the welcome text
    // when the settings are of another version, the chart, the last vehicle (or the template under the patch
    // folder + "New.veh"), then the command-line file. Throws VehicleFileError with the fatal message when not even
    // the template can be opened, and FileError when the program folder cannot be created.
    void start(const std::optional<std::string>& commandLineFile = std::nullopt);

    // The documents and the commands on them.
    Settings& settings() override { return m_settings; }
    VehicleFile* currentVehicle() const { return m_document->vehicle(); }
    VehicleFile* ghostVehicle() const { return m_ghostDocument->vehicle(); }
    bool isChanged() const { return m_document->isChanged(); }
    // The open vehicle's commands: every edit, undone and redone by Edit > Undo and Redo.
    QUndoStack& undoStack() const { return m_document->undoStack(); }
    void setChanged(bool changed) { m_document->setChanged(changed); }
    // The archive entry the current vehicle was extracted from; Save writes it back into the archive.
    const std::optional<browser::ArchiveEntryRecord>& archiveEntry() const { return m_document->archiveEntry(); }
    // Set while the open ghost lacked entries or had invalid driver attributes.
    bool ghostProblems() const { return m_ghostDocument->hasProblems(); }
    // The five [QORA] strings kept for the author data dialog.
    const std::array<std::string, 5>& authorData() const { return m_document->authorData(); }
    bool openVehicleFile(const std::string& path, int mode, bool keepPath = false) {
        return m_files->openVehicleFile(path, mode, keepPath);
    }
    bool saveVehicleTo(const std::string& path) { return m_files->saveVehicleTo(path); }
    bool openGhostFile(const std::string& path) { return m_ghosts->openGhostFile(path); }
    bool transferPages() override;
    AppearanceCommands& appearance() const { return *m_appearance; }

    // The pages' controls.
    // A page control by objectName (vehicle field, ghost twin or display); nullptr when there is none.
    QWidget* control(std::string_view name) const override;
    QString controlText(std::string_view name) const override;
    TorqueChart& torqueChart() const;
    EngineSounds& engineSounds() const { return *m_sounds; }
    QTabWidget* pages() const { return m_pages; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Field texts keyed by the vehicle controls' objectNames.
    using PageTexts = std::map<std::string, std::string, std::less<>>;

    void createActions();
    void createMenus();
    void createPages();
    void createAppearance();
    void createEngineSounds();
    void createUserGuide();
    void createHistoryActions();
    CommandContext commandContext();

    // What the pages ask of the window.
    VehicleDocument& document() const override { return *m_document; }
    const GhostDocument& ghostDocument() const override { return *m_ghostDocument; }
    Prompt& prompt() const override { return m_host.prompt; }
    FieldDragDrop& dragDrop() const override { return *m_dragDrop; }
    int currentPage() const override;
    bool pagesFilling() const override { return m_pagesFilling; }
    void endFilling() override { m_pagesFilling = false; }
    void guarded(const std::function<void()>& command) override;
    // The help text of a label (100 to 152) in the information dialog.
    void showHelp(int number) override;

    // What the commands ask of the window.
    editor::PageLoad fillPages(const VehicleFile& vehicle, bool ghost) override;
    PageTexts pageTexts() const override { return collectTexts(); }
    VehicleHeader& header() const override { return *m_header; }
    void setCaption(const std::string& path) override;
    void documentsChanged() override;
    bool confirmOverwriteOfChangedFile() override;

    // The pages' field texts, all at once.
    PageTexts collectTexts() const;
    void applyTexts(const PageTexts& texts, bool ghost);
    void applyLoad(const editor::PageLoad& load, bool ghost);
    void afterPageFill(int page, const VehicleFile& vehicle, bool ghost);
    // Brings a field's page to the front and puts the focus in the field (a value refused by a save).
    void focusField(std::string_view name);
    void onFieldEdited(QWidget* field);
    std::vector<SpinButton*> spinButtons() const;
    // Paints the changed indicator and enables Undo Page as the document's changed state says.
    void showChangedState(bool changed);
    // Puts the page in front back as the vehicle was last opened or saved, after asking.
    void undoPage();
    // The history window: every command of the open vehicle; choosing one goes to the state after it.
    void showHistory();

    // What the history asks of the window.
    VehicleState shownState() const override;
    std::string fieldText(std::string_view name) const override;
    void showState(const VehicleState& change) override;
    void bringToFront(int page, const std::string& field, int torquePoint) override;
    void showTorqueCurve(const TorqueCurve& curve);

    // F1: the help of the focused field's label, or the user guide.
    void helpForFocus();
    // The user guide in the help window; a "qorahelp.htm" in the program folder stands in for the built-in one.
    void showUserGuide();

    // Start-up and shut-down.
    void loadSettings();
    void restoreOptions();
    void showWelcome();
    void openStartFile(const std::string& path, bool asNew);
    std::string newFilePath() const;
    void shutDown();

    MainWindowHost m_host;
    Settings m_settings;
    std::unique_ptr<Registry> m_registry; // the Windows registry, or registry.ini elsewhere
    VehicleDocument* m_document = nullptr;
    GhostDocument* m_ghostDocument = nullptr;
    bool m_pagesFilling = false;
    bool m_settingsUnreadable = false;
    bool m_closed = false;

    VehicleHeader* m_header = nullptr;
    QTabWidget* m_pages = nullptr;
    std::array<FieldPage*, 7> m_fieldPages{};
    AerodynamicsPage* m_aerodynamics = nullptr;
    PerformancePage* m_performance = nullptr;
    DriveTrainPage* m_driveTrain = nullptr;
    FieldDragDrop* m_dragDrop = nullptr;
    EngineSounds* m_sounds = nullptr;

    QAction* m_openVehicle = nullptr;
    QAction* m_openGhost = nullptr;
    QAction* m_save = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_undoPage = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_history = nullptr;
    QDialog* m_historyWindow = nullptr;
    QAction* m_exit = nullptr;

    FileCommands* m_files = nullptr;
    GhostCommands* m_ghosts = nullptr;
    DiskWatch* m_diskWatch = nullptr;
    AppearanceCommands* m_appearance = nullptr;
    SummaryCommands* m_summaries = nullptr;
};

} // namespace qora::gui
