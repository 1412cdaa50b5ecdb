#pragma once

#include <functional>

#include "editor/main_window_host.h"

class QMainWindow;

namespace qora {
class Settings;
}

namespace qora::gui {

class GhostDocument;
class VehicleDocument;

// What a set of window commands works with: the window that parents their dialogs and holds their menu entries,
// the window's services, the settings and the two documents, and the window's way of running a command so that a
// failure is shown instead of escaping the event loop.
struct CommandContext {
    QMainWindow* window = nullptr;
    MainWindowHost host;
    Settings& settings;
    VehicleDocument& document;
    GhostDocument& ghost;
    std::function<void(const std::function<void()>&)> guarded;
};

} // namespace qora::gui
