#include "commands/ghost_commands.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>

#include "browser/car_thumbnails.h"
#include "browser/file_commands.h"
#include "calc/field_rules.h"
#include "chart/torque_chart.h"
#include "commands/document_views.h"
#include "commands/file_commands.h"
#include "dialogs/copy_from_ghost_dialog.h"
#include "documents/edit_history.h"
#include "documents/ghost_document.h"
#include "documents/vehicle_document.h"
#include "editor/copy_from_ghost.h"
#include "editor/page_fields.h"
#include "editor/page_model.h"
#include "editor/vehicle_header.h"
#include "pages/aerodynamics_page.h"
#include "pages/drivetrain_page.h"
#include "pages/field_page.h"
#include "pages/performance_page.h"
#include "platform/dialog_runner.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "platform/text.h"
#include "settings/settings.h"
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
    if (settings.programFolder.empty() || !text::istartsWith(fileNameOf(path), kGhostCopyPrefix))
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

// Every ghost twin and ghost figure of the pages: hidden while no ghost is open.
std::vector<QWidget*> ghostWidgets(const std::array<FieldPage*, 7>& pages) {
    std::vector<QWidget*> widgets;
    for (const FieldPage* page : pages)
        widgets.insert(widgets.end(), page->ghostWidgets().begin(), page->ghostWidgets().end());
    return widgets;
}

} // namespace

// ---- Set-up -------------------------------------------------------------------------------------------------

GhostCommands::GhostCommands(CommandContext context, DocumentViews& views, FileCommands& files, const Pages& pages)
    : QObject(context.window), m_context(std::move(context)), m_views(views), m_files(files), m_pages(pages) {
    m_openGhost = m_context.window->findChild<QAction*>(QStringLiteral("mOpenGhost"));
    m_openGhost->setEnabled(true);
    m_openGhost->setToolTip(tr("Open Ghost Vehicle (compare)"));
    connect(m_openGhost, &QAction::triggered, this, &GhostCommands::openGhost);
    m_closeGhost = m_context.window->findChild<QAction*>(QStringLiteral("mCloseGhost"));
    m_closeGhost->setEnabled(false);
    connect(m_closeGhost, &QAction::triggered, this, [this] { m_context.guarded([this] { closeGhost(); }); });

    connect(m_views.header().ghostNotepadButton(), &QToolButton::clicked, this,
            [this] { m_context.guarded([this] { m_files.openInTextEditor(m_context.ghost.vehicle()); }); });
    connectCopyCommands();
}

// ---- Commands -----------------------------------------------------------------------------------------------

void GhostCommands::openGhost() {
    m_context.guarded([this] {
        if (!m_context.document.vehicle())
            return;
        const browser::BrowserStart start =
            m_context.ghost.vehicle()
                ? browser::browserStartForGhost(m_context.ghost.vehicle()->fileName,
                                                detailOf(*m_context.ghost.vehicle(), "//DescClass="),
                                                m_context.document.vehicle()->fileName, m_context.settings.garageFolder,
                                                m_context.settings.programFolder)
                : browser::browserStartForVehicle(m_context.document.vehicle()->fileName,
                                                  toLatin1(m_views.controlText("eClass")),
                                                  m_context.settings.programFolder);
        if (const auto chosen = m_files.browseForVehicle(start, true))
            openGhostFile(*chosen);
    });
}

void GhostCommands::openRecentGhost(const std::string& path) {
    m_context.guarded([&] {
        if (browser::recentFileAvailable(path, m_context.host.prompt))
            openGhostFile(path);
    });
}

// ---- Opening and closing ------------------------------------------------------------------------------------

bool GhostCommands::openGhostFile(const std::string& path) {
    if (!m_context.document.vehicle())
        return false;
    std::unique_ptr<VehicleFile> ghost = m_files.loadVehicle(path, VehicleFile::ModeGhost);
    if (!ghost) {
        // A copy extracted for this open goes again, unless it is the file the open ghost stands on.
        if (isGhostCopyFile(path, m_context.settings) &&
            !(m_context.ghost.vehicle() && browser::samePath(m_context.ghost.vehicle()->fileName, path)))
            browser::deleteWorkingCopy(path);
        m_context.host.prompt.tell(std::string(editor::kFileErrorTitle), kCannotOpenGhost, PromptIcon::Stop);
        return false;
    }
    std::vector<std::string> missing;
    const bool missingEntries = ghost->listMissingEntries(missing) > 0;

    // The same archive entry opened again has just been extracted over the old ghost's copy: that copy stays.
    if (m_context.ghost.vehicle())
        releaseGhost(!browser::samePath(m_context.ghost.vehicle()->fileName, path));
    m_context.ghost.setVehicle(std::move(ghost));
    m_context.ghost.setProblems(missingEntries);
    m_context.settings.lastGhostFile = m_context.ghost.vehicle()->fileName;
    m_context.settings.ghostIsOpen = true;
    m_closeGhost->setEnabled(true);
    m_views.documentsChanged();

    // Invalid driver attributes are found while the pages are filled, so the warning follows the filling.
    showGhost(m_context.ghost.vehicle(), true);
    if (m_context.ghost.hasProblems())
        m_context.host.prompt.tell(std::string(editor::kFileErrorTitle), kGhostProblemsWarning,
                                   PromptIcon::Exclamation);
    updateGhostPicture();
    return true;
}

void GhostCommands::showGhost(const VehicleFile* ghost, bool show) {
    show = show && ghost != nullptr;
    for (QWidget* widget : ghostWidgets(*m_pages.all))
        widget->setVisible(show);
    m_views.header().showGhostRow(show);
    m_pages.performance->placePeakFigures(show);
    if (!show) {
        releaseGhost(true);
        afterGhostChange();
        m_views.documentsChanged();
        return;
    }
    m_pages.performance->chart().setGhostOpen(true);
    fillGhostPages(*ghost);
    fitGhostColumns();
    afterGhostChange();
    m_views.documentsChanged();
}

void GhostCommands::fitGhostColumns() {
    if (m_context.ghost.vehicle())
        widenForGhostFields(*m_context.window, *m_pages.tabs);
}

void GhostCommands::closeGhost() {
    if (m_context.ghost.vehicle())
        showGhost(nullptr, false);
    m_closeGhost->setEnabled(false);
    m_context.settings.ghostIsOpen = false;
    m_views.documentsChanged();
}

void GhostCommands::releaseGhost(bool deleteCopy) {
    if (!m_context.ghost.vehicle())
        return;
    if (deleteCopy && isGhostCopyFile(m_context.ghost.vehicle()->fileName, m_context.settings))
        browser::deleteWorkingCopy(m_context.ghost.vehicle()->fileName);
    recordRecentGhost();
    m_context.ghost.release();
    m_views.header().clearGhostPicture();
    m_pages.performance->chart().setGhostOpen(false);
}

void GhostCommands::recordRecentGhost() {
    if (m_context.ghost.vehicle() &&
        browser::recordRecent(m_context.settings.recentGhosts, m_context.ghost.vehicle()->fileName,
                              detailOf(*m_context.ghost.vehicle(), "//DescFile=")))
        m_files.rebuildRecentMenus();
}

void GhostCommands::restoreGhost() {
    const std::string last = m_context.settings.lastGhostFile;
    if (m_context.settings.ghostIsOpen && !last.empty() && fileSystem().fileExists(last))
        openGhostFile(last);
    if (!m_context.ghost.vehicle())
        m_context.settings.ghostIsOpen = false;
    const bool open = m_context.ghost.vehicle() != nullptr;
    m_pages.performance->placePeakFigures(open);
    m_views.header().showGhostRow(open);
}

// ---- Displays -----------------------------------------------------------------------------------------------

// The seven page loaders on the ghost: the ge... twins, the ghost's chart lines and figures, and its description
// in pGhostCarName. Filling never marks the vehicle changed, not even when the angle display falls back to
// radians and the vehicle's own angles are shown anew.
void GhostCommands::fillGhostPages(const VehicleFile& ghost) {
    const bool changed = m_context.document.isChanged();
    const editor::PageLoad load = m_views.fillPages(ghost, true);
    m_context.ghost.setProblems(m_context.ghost.hasProblems() || load.ghostProblems);
    const auto description = load.texts.find("eDescription");
    m_views.header().setGhostName(description != load.texts.end() ? fromLatin1(description->second) : QString());
    m_context.document.setChanged(changed);
}

void GhostCommands::updateGhostPicture() {
    if (!m_context.ghost.isOpen()) {
        m_views.header().clearGhostPicture();
        return;
    }
    const VehicleFile& ghost = *m_context.ghost.vehicle();
    m_views.header().setGhostPicture(
        browser::ghostPicture(ghost.fileName, m_context.settings.garageFolder, m_context.settings.patchFolder),
        fromLatin1(detailOf(ghost, "//DescFile=")));
}

void GhostCommands::connectCopyCommands() {
    m_copyFromGhost = m_context.window->findChild<QAction*>(QStringLiteral("mCopyFromGhost"));
    connect(m_copyFromGhost, &QAction::triggered, this, &GhostCommands::copyFromGhost);
    m_chartCopyFromGhost = m_pages.performance->chart().findChild<QAction*>(QStringLiteral("mcoCopyFromGhost"));
    m_chartCopyFromGhost->setToolTip(tr("Replace the vehicle's torque curve with the ghost's"));
    connect(m_chartCopyFromGhost, &QAction::triggered, this, &GhostCommands::copyGhostCurve);
    updateCopyCommands();
}

void GhostCommands::updateCopyCommands() {
    const bool enabled = m_context.document.isOpen() && m_context.ghost.isOpen();
    m_copyFromGhost->setEnabled(enabled);
    m_chartCopyFromGhost->setEnabled(enabled);
}

void GhostCommands::afterGhostChange() {
    updateCopyCommands();
    m_pages.driveTrain->refreshGearingChart();
}

editor::PageTexts GhostCommands::ghostTexts() const {
    editor::PageTexts texts;
    for (const editor::PageField& field : editor::allPageFields())
        if (!field.ghostName.empty())
            if (const QWidget* twin = m_views.control(field.ghostName))
                texts.emplace(std::string(field.name), toLatin1(FieldPage::textOf(twin)));
    return texts;
}

void GhostCommands::copyFromGhost() {
    m_context.guarded([this] {
        if (!m_context.document.vehicle() || !m_context.ghost.vehicle())
            return;
        const int page = m_pages.tabs->currentIndex();
        const editor::PageTexts vehicle = m_views.pageTexts();
        const editor::PageTexts ghost = ghostTexts();
        const bool curve = m_pages.performance->chart().exists() &&
                           editor::curvesDiffer(m_pages.performance->chart().line(TorqueChart::GhostTorqueLine),
                                                m_pages.performance->chart().line(TorqueChart::TorqueLine));
        const auto difference = [&](editor::CopyScope scope) {
            return CopyFromGhostDialog::Difference{
                static_cast<int>(editor::copyFromGhostPlan(vehicle, ghost, page, scope).size()),
                curve && editor::scopeHasCurve(page, scope)};
        };
        CopyFromGhostDialog dialog(page, difference(editor::CopyScope::ActivePage),
                                   difference(editor::CopyScope::AllPages), m_context.window);
        if (m_context.host.dialogs.run(dialog) != QDialog::Accepted)
            return;
        copyGhostValues(dialog.scope());
    });
}

void GhostCommands::copyGhostCurve() {
    m_context.guarded([this] {
        if (!m_context.document.vehicle() || !m_context.ghost.vehicle())
            return;
        bool taken = false;
        {
            const auto oneCommand = m_context.document.history().quiet();
            taken = takeGhostCurve();
        }
        if (taken)
            m_context.document.history().record(tr("Copy From Ghost: the torque curve"));
        else
            m_context.host.prompt.tell(std::string(editor::kCopyFromGhostTitle),
                                       std::string(editor::kNothingToCopyText), PromptIcon::Information);
    });
}

bool GhostCommands::copyGhostValues(editor::CopyScope scope) {
    if (!m_context.document.vehicle() || !m_context.ghost.vehicle())
        return false;
    const int page = m_pages.tabs->currentIndex();
    const std::vector<editor::FieldCopy> plan =
        editor::copyFromGhostPlan(m_views.pageTexts(), ghostTexts(), page, scope);
    // Each field's own change handling follows (the gear bars and read-outs, the name panel); the whole copy is
    // one command.
    bool curve = false;
    {
        const auto oneCommand = m_context.document.history().quiet();
        for (const editor::FieldCopy& copy : plan)
            FieldPage::setControlText(m_views.control(copy.name), fromLatin1(copy.text));
        curve = editor::scopeHasCurve(page, scope) && takeGhostCurve();
    }
    if (plan.empty() && !curve) {
        m_context.host.prompt.tell(std::string(editor::kCopyFromGhostTitle), std::string(editor::kNothingToCopyText),
                                   PromptIcon::Information);
        return false;
    }
    m_context.document.history().record(copyText(static_cast<int>(plan.size()), curve, page, scope));
    return true;
}

// "Copy From Ghost: 5 values on Tires", "Copy From Ghost: 3 values and the torque curve on all pages".
QString GhostCommands::copyText(int values, bool curve, int page, editor::CopyScope scope) {
    QString what = values == 1 ? tr("1 value") : tr("%1 values").arg(values);
    if (curve)
        what = values > 0 ? what + tr(" and the torque curve") : tr("the torque curve");
    const QString where =
        scope == editor::CopyScope::AllPages ? tr("all pages") : fromLatin1(std::string(editor::pageCaption(page)));
    return tr("Copy From Ghost: %1 on %2").arg(what, where);
}

// The ghost's torque curve into the vehicle's lines; the power line, the peak figures and the gearing chart follow.
bool GhostCommands::takeGhostCurve() {
    if (!m_context.ghost.vehicle() || !m_pages.performance->chart().exists())
        return false;
    if (!editor::takeGhostCurve(m_pages.performance->chart().line(TorqueChart::GhostTorqueLine),
                                m_pages.performance->chart().line(TorqueChart::TorqueLine),
                                m_pages.performance->chart().line(TorqueChart::PowerLine)))
        return false;
    m_pages.performance->chart().refresh();
    m_pages.performance->showPeakFigures(false);
    m_pages.driveTrain->refreshGearingChart();
    return true;
}

} // namespace qora::gui
