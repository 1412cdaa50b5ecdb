// MainWindow's "&QORA Help..." command: the user guide in the help window. A "qorahelp.htm" the user put in the program
// folder is shown in place of the guide built into the program.

#include <QAction>
#include <QKeySequence>

#include "editor/main_window.h"
#include "help/help_window.h"
#include "platform/app_paths.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"

namespace qora::gui {

namespace {

constexpr const char* kRunHelpTitle = "QORA RunHelp";
constexpr const char* kHelpMissingText = "Unable to locate file";

} // namespace

void MainWindow::createUserGuide() {
    auto* item = findChild<QAction*>(QStringLiteral("mQORAHelp"));
    if (item == nullptr)
        return;
    item->setEnabled(true);
    // F1 stays with the fields' own help texts; outside a field it opens the guide too (helpForFocus).
    item->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    connect(item, &QAction::triggered, this, &MainWindow::showUserGuide);
}

void MainWindow::showUserGuide() {
    guarded([this] {
        // The settings know the program folder once the window has started; before that it is looked up.
        const std::string folder = m_settings.programFolder.empty() ? programFolder() : m_settings.programFolder;
        const QUrl guide = locateUserGuide(fromPath(folder));
        if (guide.isEmpty()) {
            prompt().tell(kRunHelpTitle, std::string(kHelpMissingText) + joinPath(folder, kUserGuideFileName),
                          PromptIcon::Stop);
            return;
        }
        auto* window = findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
        if (window == nullptr)
            window = new HelpWindow(this);
        window->showGuide(guide);
        window->show();
        window->raise();
        window->activateWindow();
    });
}

} // namespace qora::gui
