#pragma once

#include <functional>
#include <string_view>

class QWidget;

namespace qora {
class Prompt;
class Settings;
} // namespace qora

namespace qora::gui {

class FieldDragDrop;
class GhostDocument;
class VehicleDocument;

// What a page needs from the window it sits in: the settings and message boxes, the documents it shows, the
// fields of the other pages (a page's read-outs may depend on them), and the window's way of running a command
// so that a failure is shown instead of escaping the event loop.
class PageHost {
public:
    virtual Settings& settings() = 0;
    virtual Prompt& prompt() const = 0;
    virtual FieldDragDrop& dragDrop() const = 0;
    virtual VehicleDocument& document() const = 0;
    virtual const GhostDocument& ghostDocument() const = 0;
    // A field of any page by objectName (vehicle field, ghost twin or display); nullptr when there is none.
    virtual QWidget* control(std::string_view name) const = 0;
    // The page in front (its index in the page tables).
    virtual int currentPage() const = 0;
    // True while the pages are being filled from a vehicle: read-outs wait until the filling ends.
    virtual bool pagesFilling() const = 0;
    virtual void endFilling() = 0;
    virtual void guarded(const std::function<void()>& command) = 0;
    // The help text of a label in the information dialog.
    virtual void showHelp(int number) = 0;

protected:
    ~PageHost() = default;
};

} // namespace qora::gui
