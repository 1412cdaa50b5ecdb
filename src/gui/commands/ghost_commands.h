#pragma once

#include <array>
#include <map>
#include <string>

#include <QObject>

#include "commands/command_context.h"

class QAction;
class QTabWidget;

namespace qora {
class VehicleFile;
namespace editor {
enum class CopyScope;
}
} // namespace qora

namespace qora::gui {

class DocumentViews;
class DriveTrainPage;
class FieldPage;
class FileCommands;
class PerformancePage;

// The ghost vehicle: a second file loaded read-only beside the edited one. Its values fill the grey twins of the
// page fields, its curves the chart's ghost lines, its name and picture the header's second row. Copy From Ghost
// puts its values (and its torque curve) into the vehicle's fields.
class GhostCommands final : public QObject {
    Q_OBJECT

public:
    // The ghost's part of the pages: its twins and figures, the tabs whose width it widens, the chart's ghost
    // lines on the Performance page and the gearing chart on the DriveTrain page.
    struct Pages {
        const std::array<FieldPage*, 7>* all = nullptr;
        QTabWidget* tabs = nullptr;
        PerformancePage* performance = nullptr;
        DriveTrainPage* driveTrain = nullptr;
    };

    GhostCommands(CommandContext context, DocumentViews& views, FileCommands& files, const Pages& pages);

    // Loads a file as the ghost in place of any previous one and shows it; with no current vehicle nothing
    // happens. A ghost that fails to load leaves the previous one. True when the file became the ghost.
    bool openGhostFile(const std::string& path);
    // Shows the ghost's values in every ghost display (show), or hides them all and releases the ghost.
    void showGhost(const VehicleFile* ghost, bool show);
    void closeGhost();
    // At start-up: the ghost open at the end of the last run comes back when its file still exists.
    void restoreGhost();
    // Records the ghost in the ghost recent list.
    void recordRecentGhost();
    void openRecentGhost(const std::string& path);
    // Widens the window, as far as its screen allows, so the page in front shows the ghost column unscrolled.
    void fitGhostColumns();
    // The vehicle came or went: Copy From Ghost needs both.
    void updateCopyCommands();

public slots:
    void openGhost();
    void copyFromGhost();
    void copyGhostCurve();

private:
    using PageTexts = std::map<std::string, std::string, std::less<>>;

    void connectCopyCommands();
    // Deletes the ghost's archive copy, records it in the ghost recent list and frees it; its picture and chart
    // lines go with it.
    void releaseGhost(bool deleteCopy);
    void fillGhostPages(const VehicleFile& ghost);
    void updateGhostPicture();
    // A ghost was shown or released: the commands and displays that depend on it follow.
    void afterGhostChange();
    // The ghost's values into the vehicle's fields of the pages in scope (and its torque curve, with the
    // Performance page); false when nothing differed, which the user is told.
    bool copyGhostValues(editor::CopyScope scope);
    bool takeGhostCurve();
    // The copy's command text: what was copied, and from which page.
    static QString copyText(int values, bool curve, int page, editor::CopyScope scope);
    // The texts the ghost's twins show, keyed by the vehicle's objectNames.
    PageTexts ghostTexts() const;

    CommandContext m_context;
    DocumentViews& m_views;
    FileCommands& m_files;
    Pages m_pages;
    QAction* m_openGhost = nullptr;
    QAction* m_closeGhost = nullptr;
    QAction* m_copyFromGhost = nullptr;      // mCopyFromGhost
    QAction* m_chartCopyFromGhost = nullptr; // mcoCopyFromGhost
};

} // namespace qora::gui
