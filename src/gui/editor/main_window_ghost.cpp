// MainWindow's ghost vehicle: a second file loaded read-only beside the current one. Its values fill the grey twins of
// the page fields, its curves the chart's ghost lines, its name and picture the header's second row; any of its
// values can be dragged onto a vehicle field of the same kind.

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>

#include "browser/car_thumbnails.h"
#include "browser/file_commands.h"
#include "calc/field_rules.h"
#include "commands/summary_commands.h"
#include "commands/file_commands.h"
#include "editor/main_window.h"
#include "editor/vehicle_header.h"
#include "pages/aerodynamics_page.h"
#include "pages/drivetrain_page.h"
#include "pages/performance_page.h"
#include "editor/page_model.h"
#include "editor/torque_chart.h"
#include "platform/file_system.h"
#include "platform/qt_text.h"
#include "platform/text.h"
#include "vehicle/veh_format.h"

namespace qora::gui {

namespace {

constexpr const char* kCannotOpenGhost = "Cannot Open Ghost File.";
constexpr const char* kGhostProblemsWarning =
    "Some entries in the Ghost File were missing or invalid.  Those entries will appear empty in QORA.";

std::string detailOf(const VehicleFile& vehicle, std::string_view key) {
    const EntryRec* entry = vehicle.findEntry(veh::SecDetails, key);
    return entry ? entry->value : std::string();
}

// A copy the program made for a ghost: a "ghostmas=" file in the working-copy folder (an archive entry) or in the
// program folder (a Garage version shown beside an archive vehicle). Only such copies are ever deleted; a file of
// the user's that merely carries the prefix is left alone.
bool isGhostCopyFile(const std::string& path, const Settings& settings) {
    if (settings.programFolder.empty() ||
        !text::startsWith(text::toLower(fileNameOf(path)), browser::kGhostMasPrefix))
        return false;
    const std::string folder = browser::normalFolder(parentFolder(path));
    return folder == browser::normalFolder(settings.masVehFolder()) ||
           folder == browser::normalFolder(settings.programFolder);
}

// How much wider the pages' content is than the pages show, at most. Only the page in front has its size laid
// out; the others share its room.
int pagesOverflow(QTabWidget& pages) {
    const auto* front = qobject_cast<const QScrollArea*>(pages.currentWidget());
    if (front == nullptr)
        return 0;
    const int room = front->viewport()->width();
    int overflow = 0;
    for (int page = 0; page < pages.count(); ++page) {
        auto* scroll = qobject_cast<QScrollArea*>(pages.widget(page));
        if (scroll == nullptr || scroll->widget() == nullptr)
            continue;
        // A page never shown has unpolished fields whose sizes are not yet the style's.
        QWidget* content = scroll->widget();
        content->ensurePolished();
        if (QLayout* layout = content->layout())
            layout->activate();
        // The page in front is laid out: its true width counts, which nested boxes may not yet report.
        // A page's groups would rather stand in all their columns: the window grows for that when the screen
        // allows; where it does not, they go into fewer columns.
        const int width = page == pages.currentIndex() ? std::max(content->width(), content->sizeHint().width())
                                                       : content->sizeHint().width();
        overflow = std::max(overflow, width - room);
    }
    return overflow;
}

// The ghost's twins add a column to every page: a window of normal state grows, as far as its screen allows, so
// that the pages show them without scrolling sideways. It never shrinks here.
void widenForGhostFields(QWidget& window, QTabWidget& pages) {
    if (!window.isVisible() || (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const int overflow = pagesOverflow(pages);
    if (overflow <= 0)
        return;
    int width = window.width() + overflow;
    if (const QScreen* screen = window.screen()) {
        const QRect available = screen->availableGeometry();
        const int frame = window.frameGeometry().width() - window.width();
        width = std::min(width, available.width() - frame);
        if (width <= window.width())
            return;
        const int right = window.frameGeometry().x() + width + frame;
        if (right > available.right() + 1)
            window.move(std::max(available.left(), window.x() - (right - available.right() - 1)), window.y());
    }
    window.resize(width, window.height());
}

} // namespace

// ---- Set-up -------------------------------------------------------------------------------------------------

void MainWindow::createGhostCommands() {
    m_openGhost->setEnabled(true);
    m_openGhost->setToolTip(tr("Open Ghost Vehicle (compare)"));
    connect(m_openGhost, &QAction::triggered, this, &MainWindow::openGhost);
    m_closeGhost = findChild<QAction*>(QStringLiteral("mCloseGhost"));
    m_closeGhost->setEnabled(false);
    connect(m_closeGhost, &QAction::triggered, this, [this] { guarded([this] { closeGhost(); }); });

    connect(m_header->ghostNotepadButton(), &QToolButton::clicked, this,
            [this] { guarded([this] { m_files->openInTextEditor(m_ghostDocument->vehicle()); }); });
}

// ---- Commands -----------------------------------------------------------------------------------------------

void MainWindow::openGhost() {
    guarded([this] {
        if (!m_document->vehicle())
            return;
        const browser::BrowserStart start =
            m_ghostDocument->vehicle() ? browser::browserStartForGhost(m_ghostDocument->vehicle()->fileName, detailOf(*m_ghostDocument->vehicle(), "//DescClass="),
                                                    m_document->vehicle()->fileName, m_settings.garageFolder,
                                                    m_settings.programFolder)
                    : browser::browserStartForVehicle(m_document->vehicle()->fileName, toLatin1(controlText("eClass")),
                                                      m_settings.programFolder);
        if (const auto chosen = m_files->browseForVehicle(start, true))
            openGhostFile(*chosen);
    });
}

void MainWindow::openRecentGhost(const std::string& path) {
    guarded([&] {
        if (browser::recentFileAvailable(path, prompt()))
            openGhostFile(path);
    });
}

// ---- Opening and closing ------------------------------------------------------------------------------------

bool MainWindow::openGhostFile(const std::string& path) {
    if (!m_document->vehicle())
        return false;
    std::unique_ptr<VehicleFile> ghost = m_files->loadVehicle(path, VehicleFile::ModeGhost);
    if (!ghost) {
        // A copy extracted for this open goes again, unless it is the file the open ghost stands on.
        if (isGhostCopyFile(path, m_settings) && !(m_ghostDocument->vehicle() && browser::samePath(m_ghostDocument->vehicle()->fileName, path)))
            browser::deleteWorkingCopy(path);
        prompt().tell(std::string(editor::kFileErrorTitle), kCannotOpenGhost, PromptIcon::Stop);
        return false;
    }
    std::vector<std::string> missing;
    const bool missingEntries = ghost->listMissingEntries(missing) > 0;

    // The same archive entry opened again has just been extracted over the old ghost's copy: that copy stays.
    if (m_ghostDocument->vehicle())
        releaseGhost(!browser::samePath(m_ghostDocument->vehicle()->fileName, path));
    m_ghostDocument->setVehicle(std::move(ghost));
    m_ghostDocument->setProblems(missingEntries);
    m_settings.lastGhostFile = m_ghostDocument->vehicle()->fileName;
    m_settings.ghostIsOpen = true;
    m_closeGhost->setEnabled(true);
    m_summaries->update();

    // Invalid driver attributes are found while the pages are filled, so the warning follows the filling.
    showGhost(m_ghostDocument->vehicle(), true);
    if (m_ghostDocument->hasProblems())
        prompt().tell(std::string(editor::kFileErrorTitle), kGhostProblemsWarning, PromptIcon::Exclamation);
    updateGhostPicture();
    return true;
}

void MainWindow::showGhost(const VehicleFile* ghost, bool show) {
    show = show && ghost != nullptr;
    for (QWidget* widget : ghostWidgets())
        widget->setVisible(show);
    m_header->showGhostRow(show);
    m_performance->placePeakFigures(show);
    if (!show) {
        releaseGhost(true);
        afterGhostChange();
        watchDocuments();
        return;
    }
    m_chart->setGhostOpen(true);
    fillGhostPages(*ghost);
    fitGhostColumns();
    afterGhostChange();
    watchDocuments();
}

void MainWindow::fitGhostColumns() {
    if (m_ghostDocument->vehicle())
        widenForGhostFields(*this, *m_pages);
}

void MainWindow::closeGhost() {
    if (m_ghostDocument->vehicle())
        showGhost(nullptr, false);
    m_closeGhost->setEnabled(false);
    m_settings.ghostIsOpen = false;
    m_summaries->update();
}

void MainWindow::releaseGhost(bool deleteCopy) {
    if (!m_ghostDocument->vehicle())
        return;
    if (deleteCopy && isGhostCopyFile(m_ghostDocument->vehicle()->fileName, m_settings))
        browser::deleteWorkingCopy(m_ghostDocument->vehicle()->fileName);
    recordRecentGhost();
    m_ghostDocument->setVehicle(nullptr);
    m_ghostDocument->setProblems(false);
    m_header->clearGhostPicture();
    m_chart->setGhostOpen(false);
}

void MainWindow::recordRecentGhost() {
    if (m_ghostDocument->vehicle() && browser::recordRecent(m_settings.recentGhosts, m_ghostDocument->vehicle()->fileName, detailOf(*m_ghostDocument->vehicle(), "//DescFile=")))
        m_files->rebuildRecentMenus();
}

void MainWindow::restoreGhost() {
    const std::string last = m_settings.lastGhostFile;
    if (m_settings.ghostIsOpen && !last.empty() && fileSystem().fileExists(last))
        openGhostFile(last);
    if (!m_ghostDocument->vehicle())
        m_settings.ghostIsOpen = false;
    const bool open = m_ghostDocument->vehicle() != nullptr;
    m_performance->placePeakFigures(open);
    m_header->showGhostRow(open);
}

// ---- Displays -----------------------------------------------------------------------------------------------

// The seven page loaders on the ghost: the ge... twins, the ghost's chart lines and figures, and its description
// in pGhostCarName. Filling never marks the vehicle changed, not even when the angle display falls back to
// radians and the vehicle's own angles are shown anew.
void MainWindow::fillGhostPages(const VehicleFile& ghost) {
    const bool changed = m_document->isChanged();
    m_pagesFilling = true;
    editor::PageLoad load;
    try {
        load = editor::loadPages(ghost, true, m_settings, prompt(), m_aerodynamics->otherSetAngles(true));
        applyLoad(load, true);
    } catch (...) {
        m_pagesFilling = false;
        throw;
    }
    afterPageFill(editor::PgPerformance, ghost, true);
    afterPageFill(editor::PgDriveTrain, ghost, true);
    m_ghostDocument->setProblems(m_ghostDocument->hasProblems() || load.ghostProblems);
    const auto description = load.texts.find("eDescription");
    m_header->setGhostName(description != load.texts.end() ? fromLatin1(description->second) : QString());
    setChanged(changed);
}

void MainWindow::updateGhostPicture() {
    if (!m_ghostDocument->isOpen()) {
        m_header->clearGhostPicture();
        return;
    }
    const VehicleFile& ghost = *m_ghostDocument->vehicle();
    m_header->setGhostPicture(browser::ghostPicture(ghost.fileName, m_settings.garageFolder, m_settings.patchFolder),
                              fromLatin1(detailOf(ghost, "//DescFile=")));
}

} // namespace qora::gui
