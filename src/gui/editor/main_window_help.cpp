// The help texts of the page labels. Kept apart from the page tables' unit: both headers name the help number range.

#include "dialogs/info_dialog.h"
#include "editor/help_texts.h"
#include "editor/main_window.h"
#include "platform/dialog_runner.h"
#include "platform/qt_text.h"

namespace qora::gui {

void MainWindow::showHelp(int number) {
    const std::string_view text = editor::helpText(number);
    if (text.empty())
        return;
    InfoDialog dialog(this);
    dialog.setText(fromLatin1(text));
    m_host.dialogs.run(dialog);
}

} // namespace qora::gui
