// The window's appearance and preferences: the page skin, the toolbar's button sets, the page style and tab icons, the
// application colours and their dialog, the Preferences dialog with the .veh association, and the about box.

#include "commands/appearance_commands.h"

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolBar>

#include "chart/chart_artwork.h"
#include "dialogs/about_dialog.h"
#include "editor/field_widgets.h"
#include "editor/page_appearance.h"
#include "pages/drivetrain_page.h"
#include "platform/dialog_runner.h"
#include "platform/file_dialog_hook.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "resources/artwork.h"
#include "resources/program_icon.h"
#include "settings/colors_dialog.h"
#include "settings/desktop_association.h"
#include "settings/preferences_dialog.h"
#include "settings/settings.h"

namespace qora::gui {

namespace {

constexpr const char* kPagePainterTitle = "QORA Page Painter";
constexpr const char* kAssociationTitle = "QORA File Association";
constexpr const char* kAssociationNote =
    "Icons for this file type will not change visually until you restart your computer.";
constexpr std::string_view kDefaultSkin = "[default]";

// The toolbar sets' menu entries, in the order of kToolbarSets.
constexpr std::array<const char*, 4> kToolbarSetItems{"mButtonsMixed", "mButtonsBmw", "mButtonsPorche",
                                                      "mButtonsMustang"};
constexpr std::array<const char*, 3> kPageStyleItems{"mTabbedPages", "mButtonPages", "mFlatButtonPages"};

// QORA's icon in the sizes a desktop icon theme holds, as PNG files.
std::map<int, std::string> programIconFiles() {
    std::map<int, std::string> files;
    for (const int side : kProgramIconSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (programIconImage(side).save(&buffer, "PNG"))
            files.emplace(side, std::string(png.constData(), static_cast<std::size_t>(png.size())));
    }
    return files;
}

} // namespace

// ---- Set-up -------------------------------------------------------------------------------------------------

AppearanceCommands::AppearanceCommands(const AppearanceTargets& targets, Settings& settings, const MainWindowHost& host,
                                       Guard guarded, SpinButtonList spinButtons)
    : QObject(targets.window), m_targets(targets), m_settings(settings), m_host(host), m_guarded(std::move(guarded)),
      m_spinButtons(std::move(spinButtons)) {
    m_pageAppearance = new PageAppearance(m_targets.pages, this);
    connectMenus();
}

void AppearanceCommands::connectMenus() {

    const auto item = [this](const char* name) {
        return m_targets.window->findChild<QAction*>(QString::fromLatin1(name));
    };
    const auto command = [this](QAction* action, auto handler) {
        if (action == nullptr)
            return;
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    };
    command(item("mOptions"), &AppearanceCommands::showPreferences);
    command(item("mDataColors"), &AppearanceCommands::editColours);
    command(item("mNoSkin"), &AppearanceCommands::removeSkin);
    command(item("mRestoreSkin"), &AppearanceCommands::restoreDefaultSkin);
    command(item("mSkin"), &AppearanceCommands::chooseSkin);
    command(item("mTabIcons"), &AppearanceCommands::toggleTabIcons);
    command(item("mAbout"), &AppearanceCommands::showAbout);
    for (int style = 0; style < static_cast<int>(kPageStyleItems.size()); ++style)
        if (QAction* action = item(kPageStyleItems[static_cast<std::size_t>(style)])) {
            action->setEnabled(true);
            connect(action, &QAction::triggered, this, [this, style] { m_guarded([&] { setPageStyle(style); }); });
        }
    for (std::size_t set = 0; set < kToolbarSetItems.size(); ++set)
        if (QAction* action = item(kToolbarSetItems[set])) {
            action->setEnabled(true);
            connect(action, &QAction::triggered, this,
                    [this, set] { m_guarded([&] { setToolbarButtons(kToolbarSets[set]); }); });
        }

    // The toolbar stands on the header's picture: its buttons are the set's pictures, which carry their captions.
    if (auto* bar = m_targets.window->findChild<QToolBar*>(QStringLiteral("tbMain"))) {
        bar->setIconSize(kToolbarButtonSize);
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar->setStyleSheet(QStringLiteral("QToolBar#tbMain { background: transparent; border: none; spacing: 6px; "
                                          "padding: 4px 6px 2px 6px; }"));
        QPalette light = bar->palette();
        light.setColor(QPalette::ButtonText, QColor(232, 234, 240));
        light.setColor(QPalette::WindowText, QColor(232, 234, 240));
        bar->setPalette(light);
    }
    for (QAction* action : {m_targets.openVehicle, m_targets.openGhost, m_targets.save})
        action->setIconVisibleInMenu(false);
    // The header's frame in the picture's dark tones rather than a light line across it.
    if (auto* header = m_targets.window->findChild<QFrame*>(QStringLiteral("pHeader"))) {
        QPalette dark = header->palette();
        dark.setColor(QPalette::Window, QColor(34, 38, 46));
        header->setPalette(dark);
    }
    setToolbarButtons(m_settings.toolbarButtons);
}

// Start-up (after the welcome): the Preferences on a first run, then the options in the order page skin, spin
// buttons, tab icons, page style, colours and toolbar buttons.
void AppearanceCommands::restore() {
    if (m_settings.firstRun)
        showPreferences();
    paintPages(m_settings.pageBackgroundBitmap);
    showSpinButtons();
    m_pageAppearance->setTabIcons(m_settings.showTabIcons);
    if (QAction* tabIcons = m_targets.window->findChild<QAction*>(QStringLiteral("mTabIcons")))
        tabIcons->setChecked(m_settings.showTabIcons);
    setPageStyle(m_settings.tabStyle);
    applyColours();
    setToolbarButtons(m_settings.toolbarButtons);
    // The toolbar is always shown; its menu entry only reports the setting.
    if (QAction* toolBar = m_targets.window->findChild<QAction*>(QStringLiteral("mToolBar"))) {
        toolBar->setChecked(m_settings.showToolBar);
        toolBar->setEnabled(false);
    }
}

// ---- Page skin ----------------------------------------------------------------------------------------------

void AppearanceCommands::paintPages(const std::string& skin) {
    const auto defaultSkin = [this] { return artworkPixmap(kPageBackground, m_targets.window->devicePixelRatioF()); };
    QPixmap picture;
    const char* checked = "mNoSkin";
    if (skin == kDefaultSkin) {
        picture = defaultSkin();
        checked = "mRestoreSkin";
    } else if (!skin.empty()) {
        checked = "mRestoreSkin";
        if (!fileSystem().fileExists(skin)) {
            m_host.prompt.tell(kPagePainterTitle, "Background bitmap file [" + skin + "] not found.  Using default...",
                               PromptIcon::Information);
        } else {
            try {
                picture = QPixmap::fromImage(readPictureFile(skin).image);
            } catch (const FileError&) {
                picture = QPixmap();
            }
            if (picture.isNull())
                m_host.prompt.tell(kPagePainterTitle,
                                   "Error loading background bitmap file [" + skin + "].  Using default...",
                                   PromptIcon::Information);
            else
                checked = "mSkin";
        }
        if (picture.isNull())
            picture = defaultSkin();
    }
    for (const char* name : {"mNoSkin", "mRestoreSkin", "mSkin"})
        if (QAction* action = m_targets.window->findChild<QAction*>(QString::fromLatin1(name)))
            action->setChecked(std::string_view(name) == checked);
    m_pageAppearance->setSkin(picture);
    m_settings.pageBackgroundBitmap = skin;
}

void AppearanceCommands::removeSkin() {
    m_guarded([this] { paintPages(std::string()); });
}

void AppearanceCommands::restoreDefaultSkin() {
    m_guarded([this] { paintPages(std::string(kDefaultSkin)); });
}

void AppearanceCommands::chooseSkin() {
    m_guarded([this] {
        const std::string& current = m_settings.pageBackgroundBitmap;
        const FileDialogRequest request =
            pictureFileRequest(tr("Open Background Bitmap"), current == kDefaultSkin ? std::string() : current);
        const std::optional<QString> chosen = m_host.fileDialogs.openFile(m_targets.window, request);
        if (chosen && !chosen->isEmpty()) {
            paintPages(toPath(*chosen));
            return;
        }
        // Cancelled: the menu entry goes back to what the pages show.
        if (QAction* skinItem = m_targets.window->findChild<QAction*>(QStringLiteral("mSkin")))
            skinItem->setChecked(!skinItem->isChecked());
    });
}

// ---- Toolbar, page style, tab icons -------------------------------------------------------------------------

void AppearanceCommands::setToolbarButtons(std::string_view set) {
    const std::string_view chosen = toolbarSet(set);
    for (std::size_t i = 0; i < kToolbarSetItems.size(); ++i)
        if (QAction* action = m_targets.window->findChild<QAction*>(QString::fromLatin1(kToolbarSetItems[i])))
            action->setChecked(kToolbarSets[i] == chosen);
    m_targets.openVehicle->setIcon(toolbarIcon(chosen, ToolbarButton::OpenVehicle));
    m_targets.openGhost->setIcon(toolbarIcon(chosen, ToolbarButton::OpenGhost));
    m_targets.save->setIcon(toolbarIcon(chosen, ToolbarButton::Save));
    m_settings.toolbarButtons = std::string(chosen);
}

void AppearanceCommands::setPageStyle(int style) {
    m_pageAppearance->setPageStyle(style);
    const int applied = m_pageAppearance->pageStyle();
    for (int i = 0; i < static_cast<int>(kPageStyleItems.size()); ++i)
        if (QAction* action = m_targets.window->findChild<QAction*>(
                QString::fromLatin1(kPageStyleItems[static_cast<std::size_t>(i)])))
            action->setChecked(i == applied);
    m_settings.tabStyle = applied;
}

void AppearanceCommands::toggleTabIcons() {
    m_guarded([this] {
        m_settings.showTabIcons = !m_settings.showTabIcons;
        m_pageAppearance->setTabIcons(m_settings.showTabIcons);
        if (QAction* tabIcons = m_targets.window->findChild<QAction*>(QStringLiteral("mTabIcons")))
            tabIcons->setChecked(m_settings.showTabIcons);
    });
}

// ---- Colours ------------------------------------------------------------------------------------------------

void AppearanceCommands::applyColours() {
    emit coloursApplied();
    AppColours colours;
    for (int index = 0; index < kAppColourCount; ++index)
        colours[static_cast<std::size_t>(index)] = screenColour(m_settings.appColor(index));
    m_pageAppearance->setColours(colours);
    // The header's own text stands on the form's dark picture.
    QPalette header = m_targets.editorName->palette();
    header.setColor(QPalette::WindowText, colours[ClearText]);
    m_targets.editorName->setPalette(header);
    m_targets.driveTrain->paintUpshiftReadouts();
}

void AppearanceCommands::editColours() {
    m_guarded([this] {
        ColorsDialog dialog(m_host.prompt, m_host.dialogs, m_targets.window);
        dialog.load(m_settings);
        dialog.setBackdrop(m_pageAppearance->skin());
        if (m_host.dialogs.run(dialog) == QDialog::Accepted)
            dialog.store(m_settings);
        applyColours();
    });
}

// ---- Preferences --------------------------------------------------------------------------------------------

void AppearanceCommands::showPreferences() {
    m_guarded([this] {
        AppPreferences current;
        current.gameFolder = m_settings.gameFolder.empty() ? m_settings.trevantFolder() : m_settings.gameFolder;
        current.patchFolder = m_settings.patchFolder;
        current.soundFolder = m_settings.soundFolder;
        current.maxGearRange = m_settings.maxGearRange;
        current.generalWarnings = m_settings.generalWarnings;
        current.warnCompressedFiles = m_settings.warnCompressedFiles;
        current.hideSpinButtons = m_settings.hideSpinButtons;
        current.backupFiles = m_settings.backupFiles;
        current.associate = m_settings.isAssociated();

        PreferencesDialog dialog(m_host.prompt, m_host.folderPicker, m_targets.window);
        dialog.setPreferences(current);
        if (m_host.dialogs.run(dialog) != QDialog::Accepted || dialog.result() != QDialog::Accepted)
            return;
        const AppPreferences chosen = dialog.preferences();
        m_settings.gameFolder = chosen.gameFolder;
        m_settings.patchFolder = chosen.patchFolder;
        m_settings.soundFolder = chosen.soundFolder;
        m_settings.maxGearRange = chosen.maxGearRange;
        m_settings.generalWarnings = chosen.generalWarnings;
        m_settings.warnCompressedFiles = chosen.warnCompressedFiles;
        m_settings.hideSpinButtons = chosen.hideSpinButtons;
        m_settings.backupFiles = chosen.backupFiles;
        if (chosen.associate != current.associate)
            associateVehFiles(chosen.associate);

        m_targets.driveTrain->setMaxGearRange(m_settings.maxGearRange);
        showSpinButtons();
    });
}

void AppearanceCommands::associateVehFiles(bool associate) {
    // The path as the system writes it ("C:\...\qora.exe" on Windows), for the association's command.
    const std::string program = toPath(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    m_settings.associateVehFiles(associate, program);
    DesktopAssociation desktop(userDesktopFolders(), commandRunner());
    // The registration is all or nothing: when the registry store refused a key (the user has been told), the
    // keys it did take go again and no desktop files are written.
    if (associate && !m_settings.isAssociated()) {
        m_settings.associateVehFiles(false, program);
        return;
    }
    try {
        if (associate) {
            desktop.install(program, programIconFiles());
        } else {
            desktop.remove();
        }
    } catch (const std::exception& error) {
        if (associate) {
            // Undone, so the Preferences never show a registration that only half happened.
            m_settings.associateVehFiles(false, program);
            try {
                desktop.remove();
            } catch (const std::exception&) {
            }
        }
        m_host.prompt.tell(kAssociationTitle,
                           std::string(associate ? "QORA could not be made the program for .veh files on this desktop ("
                                                 : "QORA could not be removed as the program for .veh files on this "
                                                   "desktop (") +
                               error.what() + ").",
                           PromptIcon::Stop);
        return;
    }
    m_host.prompt.tell(kAssociationTitle, kAssociationNote, PromptIcon::Information);
}

// "Hide Spin Buttons": every spin button of the window follows it, the chart point's included.
void AppearanceCommands::showSpinButtons() {
    const bool show = !m_settings.hideSpinButtons;
    for (SpinButton* spin : m_spinButtons())
        spin->setVisible(show);
    if (auto* chartPoint = m_targets.window->findChild<SpinButton*>(QStringLiteral("csbChartPoint")))
        chartPoint->setVisible(show);
}

// ---- About box and header -----------------------------------------------------------------------------------

void AppearanceCommands::showAbout() {
    m_guarded([this] {
        AboutDialog about(m_targets.window);
        bool openGuide = false;
        about.setGuideOpener([&openGuide] { openGuide = true; });
        m_host.dialogs.run(about);
        if (openGuide)
            emit userGuideRequested();
    });
}

} // namespace qora::gui
