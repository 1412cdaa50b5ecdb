#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QObject>

#include "editor/main_window_host.h"

class QAction;
class QLabel;
class QMainWindow;
class QTabWidget;

namespace qora {
class Settings;
}

namespace qora::gui {

class DriveTrainPage;
class PageAppearance;
class SpinButton;

// What the appearance commands dress: the window (its menus, toolbar and header), the pages, the toolbar's three
// actions whose pictures follow the button set, the header's editor line and the DriveTrain read-outs, whose
// colours follow the application colours.
struct AppearanceTargets {
    QMainWindow* window = nullptr;
    QTabWidget* pages = nullptr;
    QAction* openVehicle = nullptr;
    QAction* openGhost = nullptr;
    QAction* save = nullptr;
    QLabel* editorName = nullptr;
    DriveTrainPage* driveTrain = nullptr;
};

// The Options and View menus' looks and preferences: the page skin, the toolbar's button sets, the page style and
// tab icons, the application colours and their dialog, the Preferences dialog with the .veh association, and the
// about box. Every choice is kept in the settings.
class AppearanceCommands final : public QObject {
    Q_OBJECT

public:
    using Guard = std::function<void(const std::function<void()>&)>;
    using SpinButtonList = std::function<std::vector<SpinButton*>()>;

    // guarded runs a command and shows a failure that escapes it; spinButtons lists the pages' spin buttons.
    AppearanceCommands(const AppearanceTargets& targets, Settings& settings, const MainWindowHost& host, Guard guarded,
                       SpinButtonList spinButtons);

    // Start-up (after the welcome): the Preferences on a first run, then the page skin, spin buttons, tab icons,
    // page style, colours and toolbar buttons the settings hold.
    void restore();
    // Puts a skin behind all seven pages and stores it: "[default]" the built-in picture, empty none, else a
    // picture file (a missing or unreadable one is reported and the built-in picture shown).
    void paintPages(const std::string& skin);
    // Colours the name panels and every page control from the application colours.
    void applyColours();
    // The toolbar's button set by name, without regard to case; an unknown name selects "mixed".
    void setToolbarButtons(std::string_view set);
    // 0 tabbed, 1 buttons, 2 flat buttons.
    void setPageStyle(int style);
    // Shows or hides the window's spin buttons as the "Hide Spin Buttons" preference says.
    void showSpinButtons();

public slots:
    void toggleTabIcons();
    void removeSkin();
    void chooseSkin();
    void restoreDefaultSkin();
    void editColours();
    void showPreferences();
    void showAbout();

signals:
    // The application colours were applied: the status line takes them too.
    void coloursApplied();
    // The about box's link to the user guide was followed.
    void userGuideRequested();

private:
    void connectMenus();
    // Registers .veh files to QORA (registry store and desktop) or removes the registration, and tells the user.
    void associateVehFiles(bool associate);

    AppearanceTargets m_targets;
    Settings& m_settings;
    MainWindowHost m_host;
    Guard m_guarded;
    SpinButtonList m_spinButtons;
    PageAppearance* m_pageAppearance = nullptr;
};

} // namespace qora::gui
