// MainWindow's appearance and preferences: the page skin, the toolbar's button sets, the page style and tab icons, the
// application colours and their dialog, the Preferences dialog with the .veh association, the about box, and the
// header painted with the form's picture.

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolBar>

#include "chart/chart_artwork.h"
#include "dialogs/about_dialog.h"
#include "editor/field_widgets.h"
#include "editor/main_window.h"
#include "editor/page_appearance.h"
#include "pages/drivetrain_page.h"
#include "platform/dialog_runner.h"
#include "platform/file_dialog_hook.h"
#include "platform/file_system.h"
#include "platform/qt_text.h"
#include "resources/artwork.h"
#include "resources/program_icon.h"
#include "settings/desktop_association.h"
#include "settings/preferences_dialog.h"
#include "settings/colors_dialog.h"

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

// The header picture is asked for in steps of this many pixels, so resizing the window reuses a few paintings.
constexpr int kHeaderWidthStep = 128;
constexpr int kHeaderHeightStep = 8;

int roundUp(int value, int step) {
    return (value + step - 1) / step * step;
}

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

void MainWindow::createAppearance() {
    m_appearance = new PageAppearance(m_pages, this);

    const auto item = [this](const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); };
    const auto command = [this](QAction* action, auto handler) {
        if (action == nullptr)
            return;
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    };
    command(item("mOptions"), &MainWindow::showPreferences);
    command(item("mDataColors"), &MainWindow::editColours);
    command(item("mNoSkin"), &MainWindow::removeSkin);
    command(item("mRestoreSkin"), &MainWindow::restoreDefaultSkin);
    command(item("mSkin"), &MainWindow::chooseSkin);
    command(item("mTabIcons"), &MainWindow::toggleTabIcons);
    command(item("mAbout"), &MainWindow::showAbout);
    for (int style = 0; style < static_cast<int>(kPageStyleItems.size()); ++style)
        if (QAction* action = item(kPageStyleItems[static_cast<std::size_t>(style)])) {
            action->setEnabled(true);
            connect(action, &QAction::triggered, this, [this, style] { guarded([&] { setPageStyle(style); }); });
        }
    for (std::size_t set = 0; set < kToolbarSetItems.size(); ++set)
        if (QAction* action = item(kToolbarSetItems[set])) {
            action->setEnabled(true);
            connect(action, &QAction::triggered, this,
                    [this, set] { guarded([&] { setToolbarButtons(kToolbarSets[set]); }); });
        }

    // The toolbar stands on the header's picture: its buttons are the set's pictures, which carry their captions.
    if (auto* bar = findChild<QToolBar*>(QStringLiteral("tbMain"))) {
        bar->setIconSize(kToolbarButtonSize);
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar->setStyleSheet(QStringLiteral("QToolBar#tbMain { background: transparent; border: none; spacing: 6px; "
                                          "padding: 4px 6px 2px 6px; }"));
        QPalette light = bar->palette();
        light.setColor(QPalette::ButtonText, QColor(232, 234, 240));
        light.setColor(QPalette::WindowText, QColor(232, 234, 240));
        bar->setPalette(light);
    }
    for (QAction* action : {m_openVeh, m_openGhost, m_save})
        action->setIconVisibleInMenu(false);
    // The header's frame in the picture's dark tones rather than a light line across it.
    if (auto* header = findChild<QFrame*>(QStringLiteral("pHeader"))) {
        QPalette dark = header->palette();
        dark.setColor(QPalette::Window, QColor(34, 38, 46));
        header->setPalette(dark);
    }
    setToolbarButtons(m_settings.toolbarButtons);
}

// Start-up (after the welcome): the Preferences on a first run, then the options in the order page skin, spin
// buttons, tab icons, page style, colours and toolbar buttons.
void MainWindow::restoreAppearance() {
    if (m_settings.firstRun)
        showPreferences();
    paintPages(m_settings.pageBackgroundBitmap);
    showSpinButtons();
    m_appearance->setTabIcons(m_settings.showTabIcons);
    if (QAction* tabIcons = findChild<QAction*>(QStringLiteral("mTabIcons")))
        tabIcons->setChecked(m_settings.showTabIcons);
    setPageStyle(m_settings.tabStyle);
    applyColours();
    setToolbarButtons(m_settings.toolbarButtons);
    // The toolbar is always shown; its menu entry only reports the setting.
    if (QAction* toolBar = findChild<QAction*>(QStringLiteral("mToolBar"))) {
        toolBar->setChecked(m_settings.showToolBar);
        toolBar->setEnabled(false);
    }
}

// ---- Page skin ----------------------------------------------------------------------------------------------

void MainWindow::paintPages(const std::string& skin) {
    const auto defaultSkin = [this] { return artworkPixmap(kPageBackground, devicePixelRatioF()); };
    QPixmap picture;
    const char* checked = "mNoSkin";
    if (skin == kDefaultSkin) {
        picture = defaultSkin();
        checked = "mRestoreSkin";
    } else if (!skin.empty()) {
        checked = "mRestoreSkin";
        if (!fileSystem().fileExists(skin)) {
            prompt().tell(kPagePainterTitle, "Background bitmap file [" + skin + "] not found.  Using default...",
                          PromptIcon::Information);
        } else {
            try {
                picture = QPixmap::fromImage(readPictureFile(skin).image);
            } catch (const FileError&) {
                picture = QPixmap();
            }
            if (picture.isNull())
                prompt().tell(kPagePainterTitle,
                              "Error loading background bitmap file [" + skin + "].  Using default...",
                              PromptIcon::Information);
            else
                checked = "mSkin";
        }
        if (picture.isNull())
            picture = defaultSkin();
    }
    for (const char* name : {"mNoSkin", "mRestoreSkin", "mSkin"})
        if (QAction* action = findChild<QAction*>(QString::fromLatin1(name)))
            action->setChecked(std::string_view(name) == checked);
    m_appearance->setSkin(picture);
    m_settings.pageBackgroundBitmap = skin;
}

void MainWindow::removeSkin() {
    guarded([this] { paintPages(std::string()); });
}

void MainWindow::restoreDefaultSkin() {
    guarded([this] { paintPages(std::string(kDefaultSkin)); });
}

void MainWindow::chooseSkin() {
    guarded([this] {
        const std::string& current = m_settings.pageBackgroundBitmap;
        FileDialogRequest request;
        request.title = tr("Open Background Bitmap");
        if (!current.empty() && current != kDefaultSkin) {
            if (fileSystem().folderExists(parentFolder(current)))
                request.folder = fromPath(parentFolder(current));
            request.proposedName = fromPath(fileNameOf(current));
        }
        request.filter = tr("Bitmaps (%1);;Pictures (%2);;All Files (*)")
                             .arg(caseFreePattern(QStringLiteral("*.bmp")),
                                  caseFreePattern(QStringLiteral("*.bmp *.png *.jpg *.jpeg")));
        const std::optional<QString> chosen = m_host.fileDialogs.openFile(this, request);
        if (chosen && !chosen->isEmpty()) {
            paintPages(toPath(*chosen));
            return;
        }
        // Cancelled: the menu entry goes back to what the pages show.
        if (QAction* skinItem = findChild<QAction*>(QStringLiteral("mSkin")))
            skinItem->setChecked(!skinItem->isChecked());
    });
}

// ---- Toolbar, page style, tab icons -------------------------------------------------------------------------

void MainWindow::setToolbarButtons(std::string_view set) {
    const std::string_view chosen = toolbarSet(set);
    for (std::size_t i = 0; i < kToolbarSetItems.size(); ++i)
        if (QAction* action = findChild<QAction*>(QString::fromLatin1(kToolbarSetItems[i])))
            action->setChecked(kToolbarSets[i] == chosen);
    m_openVeh->setIcon(toolbarIcon(chosen, ToolbarButton::OpenVehicle));
    m_openGhost->setIcon(toolbarIcon(chosen, ToolbarButton::OpenGhost));
    m_save->setIcon(toolbarIcon(chosen, ToolbarButton::Save));
    m_settings.toolbarButtons = std::string(chosen);
}

void MainWindow::setPageStyle(int style) {
    m_appearance->setPageStyle(style);
    const int applied = m_appearance->pageStyle();
    for (int i = 0; i < static_cast<int>(kPageStyleItems.size()); ++i)
        if (QAction* action = findChild<QAction*>(QString::fromLatin1(kPageStyleItems[static_cast<std::size_t>(i)])))
            action->setChecked(i == applied);
    m_settings.tabStyle = applied;
}

void MainWindow::toggleTabIcons() {
    guarded([this] {
        m_settings.showTabIcons = !m_settings.showTabIcons;
        m_appearance->setTabIcons(m_settings.showTabIcons);
        if (QAction* tabIcons = findChild<QAction*>(QStringLiteral("mTabIcons")))
            tabIcons->setChecked(m_settings.showTabIcons);
    });
}

// ---- Colours ------------------------------------------------------------------------------------------------

void MainWindow::applyColours() {
    restoreStatus();
    AppColours colours;
    for (int index = 0; index < kAppColourCount; ++index)
        colours[static_cast<std::size_t>(index)] = screenColour(m_settings.appColor(index));
    m_appearance->setColours(colours);
    // The header's own text stands on the form's dark picture.
    QPalette header = m_editorName->palette();
    header.setColor(QPalette::WindowText, colours[ClearText]);
    m_editorName->setPalette(header);
    m_driveTrain->paintUpshiftReadouts();
}

void MainWindow::editColours() {
    guarded([this] {
        ColorsDialog dialog(prompt(), m_host.dialogs, this);
        dialog.load(m_settings);
        dialog.setBackdrop(m_appearance->skin());
        if (m_host.dialogs.run(dialog) == QDialog::Accepted)
            dialog.store(m_settings);
        applyColours();
    });
}

// ---- Preferences --------------------------------------------------------------------------------------------

void MainWindow::showPreferences() {
    guarded([this] {
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

        PreferencesDialog dialog(prompt(), m_host.folderPicker, this);
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

        m_driveTrain->setMaxGearRange(m_settings.maxGearRange);
        showSpinButtons();
    });
}

void MainWindow::associateVehFiles(bool associate) {
    const std::string program = toPath(QCoreApplication::applicationFilePath());
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
        prompt().tell(kAssociationTitle,
                      std::string(associate ? "QORA could not be made the program for .veh files on this desktop ("
                                            : "QORA could not be removed as the program for .veh files on this "
                                              "desktop (") +
                          error.what() + ").",
                      PromptIcon::Stop);
        return;
    }
    prompt().tell(kAssociationTitle, kAssociationNote, PromptIcon::Information);
}

// "Hide Spin Buttons": every spin button of the window follows it, the chart point's included.
void MainWindow::showSpinButtons() {
    const bool show = !m_settings.hideSpinButtons;
    for (SpinButton* spin : spinButtons())
        spin->setVisible(show);
    if (auto* chartPoint = findChild<SpinButton*>(QStringLiteral("csbChartPoint")))
        chartPoint->setVisible(show);
}

// ---- About box and header -----------------------------------------------------------------------------------

void MainWindow::showAbout() {
    guarded([this] {
        AboutDialog about(this);
        bool openGuide = false;
        about.setGuideOpener([&openGuide] { openGuide = true; });
        m_host.dialogs.run(about);
        if (openGuide)
            showUserGuide();
    });
}

// FormPaint: the form's picture behind the toolbar and the header, from below the menu bar down to 3 pixels into
// the page control.
void MainWindow::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (m_pages == nullptr)
        return;
    const int top = menuWidget() != nullptr && menuWidget()->isVisible() ? menuWidget()->geometry().bottom() + 1 : 0;
    const int bottom = m_pages->mapTo(this, QPoint(0, 0)).y() + 3;
    if (bottom <= top || width() <= 0)
        return;
    const QRect area(0, top, width(), bottom - top);
    // Laid out for a slightly larger size and aligned to the bottom right, where the picture's stripes and edge are.
    const QSize size(roundUp(area.width(), kHeaderWidthStep), roundUp(area.height(), kHeaderHeightStep));
    const QPixmap header = artworkPixmap(kFormBackground, size, devicePixelRatioF());
    QPainter painter(this);
    painter.setClipRect(area);
    painter.drawPixmap(area.right() + 1 - size.width(), area.bottom() + 1 - size.height(), header);
}

} // namespace qora::gui
