#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <QObject>
#include <QString>

#include "documents/vehicle_state.h"

class QUndoStack;

namespace qora {
class VehicleFile;
}

namespace qora::gui {

class VehicleDocument;

// What the history asks of the window that shows the vehicle: the state its pages and chart show, one field's
// text, showing a change (the calculators, chart, figures and gear bars follow as they follow an edit), and
// bringing a change's page to the front.
class VehicleStateView {
public:
    // The page texts, the angle mode and the torque curve; the side sections are the document's.
    virtual VehicleState shownState() const = 0;
    virtual std::string fieldText(std::string_view name) const = 0;
    virtual void showState(const VehicleState& change) = 0;
    // The page in front becomes `page` (unless it is -1) and the focus goes to `field` (unless empty); on the
    // Performance page `torquePoint` (unless -1) becomes the active point.
    virtual void bringToFront(int page, const std::string& field, int torquePoint) = 0;

protected:
    ~VehicleStateView() = default;
};

// How a field's text was changed: a run of typing in one field is one command until the focus leaves it; steps
// of a field (spin button, wheel, gear bar) are one command while they follow each other; anything else (a
// drop) is a command of its own.
enum class EditKind { Typing, Step, Single };

// The whole vehicle at one moment, for a command that replaces it (a Garage version loaded as the vehicle).
struct VehicleSnapshot {
    std::shared_ptr<const VehicleFile> vehicle;
    std::shared_ptr<const VehicleFile> lastSaved;
    VehicleState state;
};

// Turns the changes of the vehicle into commands on the document's undo stack. It keeps the state the pages
// showed after the last command; a change is what differs from it. Field edits arrive one at a time from the
// pages; a change of several values (Copy From Ghost, a side dialog, Undo Page, a torque drag) is made quietly
// and then recorded as one command. Undo and redo put the recorded values back through the view.
class EditHistory final : public QObject {
    Q_OBJECT

public:
    EditHistory(VehicleDocument& document, QUndoStack& stack);

    void setView(VehicleStateView* view) { m_view = view; }
    QUndoStack& stack() const { return m_stack; }

    // Keeps a setting for as long as it lives.
    class Scope {
    public:
        explicit Scope(int& counter) : m_counter(&counter) { ++*m_counter; }
        Scope(Scope&& other) noexcept : m_counter(other.m_counter) { other.m_counter = nullptr; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        Scope& operator=(Scope&&) = delete;
        ~Scope() {
            if (m_counter)
                --*m_counter;
        }

    private:
        int* m_counter;
    };

    // While the scope lives, field edits are not recorded one by one: a change of several values, recorded
    // afterwards, or a change that is no edit (a fill, an angle mode switch), after which resync.
    [[nodiscard]] Scope quiet() { return Scope(m_quiet); }
    bool isQuiet() const { return m_quiet > 0; }
    // While the scope lives, field edits are steps (or single edits), not typing.
    [[nodiscard]] Scope stepping() { return Scope(m_stepping); }
    [[nodiscard]] Scope singleEdits() { return Scope(m_single); }

    // A field's text changed: a command, merged into the previous one when it continues its run.
    void fieldEdited(const std::string& name);
    // Records what changed since the last command as one command with this text (or the change described);
    // false when nothing changed, or while a quiet scope lives (the enclosing change records it). Changes with the same
    // non-empty merge key merge while they follow each other.
    bool record(const QString& text = {}, const QString& mergeKey = {});
    // What the pages show now is the base of the next change, without a command (a fill, a save's rewritten
    // texts, a unit switch).
    void resync();
    // Another vehicle was opened: the history starts again from what the pages show.
    void clear();
    // The typing or stepping run ends: the next edit is a command of its own.
    void endRun() { ++m_run; }

    VehicleSnapshot snapshot() const;
    // The vehicle was replaced since `before` was taken: one command that puts either back.
    void recordReplacement(VehicleSnapshot before, const QString& text);

private:
    friend class StateCommand;
    friend class ReplacementCommand;

    VehicleState wholeState() const;
    void push(StateChange change, const QString& text, const QString& mergeKey, bool described);
    // Puts a change's values back (undo: its before, redo: its after) and shows where it happened.
    void apply(const StateChange& change, bool undo);
    void restoreVehicle(const VehicleSnapshot& to, const VehicleSnapshot& from);

    VehicleDocument& m_document;
    QUndoStack& m_stack;
    VehicleStateView* m_view = nullptr;
    VehicleState m_shown;
    int m_quiet = 0;
    int m_stepping = 0;
    int m_single = 0;
    int m_run = 0;
};

} // namespace qora::gui
