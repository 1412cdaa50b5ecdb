#pragma once

#include <QObject>

class QWidget;

namespace qora::gui {

// Keeps the window's own shortcuts (F2 Save, Ctrl+U Undo Page, F1 help ...) working wherever the focus is. A line
// edit claims some of those keys for itself (on Linux Ctrl+U deletes to the start of the line), so without this
// Ctrl+U in a page field would empty the field instead of running Undo Page. Installed on the application, it
// takes the "shortcut override" away from every control of the window for a key that is one of the window's
// shortcuts.
class WindowShortcutGuard final : public QObject {
public:
    explicit WindowShortcutGuard(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
};

} // namespace qora::gui
