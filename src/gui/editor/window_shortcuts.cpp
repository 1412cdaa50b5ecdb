#include "editor/window_shortcuts.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace qora::gui {

namespace {

bool matches(const QKeySequence& shortcut, const QKeySequence& pressed) {
    return !shortcut.isEmpty() && shortcut.matches(pressed) == QKeySequence::ExactMatch;
}

} // namespace

WindowShortcutGuard::WindowShortcutGuard(QWidget* window) : QObject(window), m_window(window) {
    QApplication::instance()->installEventFilter(this);
}

bool WindowShortcutGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget == m_window || widget->window() != m_window)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    bool windowKey = false;
    for (const QAction* action : m_window->findChildren<QAction*>())
        for (const QKeySequence& shortcut : action->shortcuts())
            windowKey = windowKey || matches(shortcut, pressed);
    for (const QShortcut* shortcut : m_window->findChildren<QShortcut*>())
        windowKey = windowKey || matches(shortcut->key(), pressed);
    // Not overridden, the window's shortcut runs; and a key whose command is disabled (Ctrl+U with nothing to
    // undo) does nothing, rather than what the control would do with it.
    return windowKey;
}

} // namespace qora::gui
