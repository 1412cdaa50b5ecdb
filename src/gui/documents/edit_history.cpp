#include "documents/edit_history.h"

#include <QApplication>
#include <QUndoCommand>
#include <QUndoStack>

#include "documents/vehicle_document.h"
#include "vehicle/vehicle_file.h"

namespace qora::gui {

namespace {

constexpr int kMergingCommand = 1;

// A command pushed once its change is made: the first redo, when the stack takes the command, finds the change
// already there; every later redo makes it again.
class MadeCommand : public QUndoCommand {
public:
    using QUndoCommand::QUndoCommand;
    void redo() final {
        if (m_made)
            remake();
        m_made = true;
    }

protected:
    virtual void remake() = 0;

private:
    bool m_made = false;
};

} // namespace

// A change of values: its before and after, put back by undo and redo.
class StateCommand final : public MadeCommand {
public:
    StateCommand(EditHistory& history, StateChange change, const QString& text, QString mergeKey, bool described)
        : MadeCommand(text), m_history(history), m_change(std::move(change)), m_mergeKey(std::move(mergeKey)),
          m_described(described) {}

    int id() const override { return m_mergeKey.isEmpty() ? -1 : kMergingCommand; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = dynamic_cast<const StateCommand*>(other);
        if (next == nullptr || next->m_mergeKey != m_mergeKey)
            return false;
        const StateChange& later = next->m_change;
        for (const auto& [name, text] : later.before.texts)
            m_change.before.texts.try_emplace(name, text);
        if (later.before.torque && !m_change.before.torque)
            m_change.before.torque = later.before.torque;
        if (later.before.side && !m_change.before.side)
            m_change.before.side = later.before.side;
        m_change.after.overlay(later.after);
        // Typing back what was there leaves nothing to undo.
        VehicleState before = m_change.before;
        VehicleState after = m_change.after;
        m_change = difference(before, after);
        setObsolete(m_change.empty());
        if (m_described && !m_change.empty())
            setText(describeChange(m_change));
        return true;
    }

    void undo() override { m_history.apply(m_change, true); }

private:
    void remake() override { m_history.apply(m_change, false); }

    EditHistory& m_history;
    StateChange m_change;
    QString m_mergeKey;
    bool m_described;
};

// The vehicle replaced by another (a Garage version): undo puts the earlier vehicle back, with the values the
// pages showed, redo the later one.
class ReplacementCommand final : public MadeCommand {
public:
    ReplacementCommand(EditHistory& history, VehicleSnapshot before, VehicleSnapshot after, const QString& text)
        : MadeCommand(text), m_history(history), m_before(std::move(before)), m_after(std::move(after)) {}

    void undo() override { m_history.restoreVehicle(m_before, m_after); }

private:
    void remake() override { m_history.restoreVehicle(m_after, m_before); }

    EditHistory& m_history;
    VehicleSnapshot m_before;
    VehicleSnapshot m_after;
};

EditHistory::EditHistory(VehicleDocument& document, QUndoStack& stack)
    : QObject(&document), m_document(document), m_stack(stack) {
    // Leaving a field ends its run of typing.
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
        connect(application, &QApplication::focusChanged, this, [this] { endRun(); });
}

VehicleState EditHistory::wholeState() const {
    VehicleState state = m_view->shownState();
    if (const VehicleFile* vehicle = m_document.vehicle())
        state.side = SideSections::of(*vehicle, m_document.authorData());
    return state;
}

void EditHistory::fieldEdited(const std::string& name) {
    if (m_quiet > 0 || m_view == nullptr || !m_document.isOpen())
        return;
    const auto shown = m_shown.texts.find(name);
    if (shown == m_shown.texts.end())
        return; // not a value of the vehicle (a read-out)
    const std::string text = m_view->fieldText(name);
    if (shown->second == text)
        return;
    StateChange change;
    change.before.anglesInDegrees = change.after.anglesInDegrees = m_shown.anglesInDegrees;
    change.before.texts.emplace(name, shown->second);
    change.after.texts.emplace(name, text);
    shown->second = text;
    QString key;
    if (m_single == 0)
        key = QStringLiteral("%1:%2:%3")
                  .arg(m_stepping > 0 ? QStringLiteral("step") : QStringLiteral("type"))
                  .arg(QString::fromStdString(name))
                  .arg(m_run);
    const QString description = describeChange(change);
    push(std::move(change), description, key, true);
}

bool EditHistory::record(const QString& text, const QString& mergeKey) {
    // Inside a quiet change (or an undo) the change that encloses it records.
    if (m_quiet > 0 || m_view == nullptr || !m_document.isOpen())
        return false;
    VehicleState now = wholeState();
    StateChange change = difference(m_shown, now);
    m_shown = std::move(now);
    if (change.empty())
        return false;
    const bool described = text.isEmpty();
    const QString shown = described ? describeChange(change) : text;
    push(std::move(change), shown, mergeKey.isEmpty() ? QString() : mergeKey + QStringLiteral(":%1").arg(m_run),
         described);
    return true;
}

void EditHistory::push(StateChange change, const QString& text, const QString& mergeKey, bool described) {
    m_stack.push(new StateCommand(*this, std::move(change), text, mergeKey, described));
}

void EditHistory::resync() {
    if (m_view == nullptr || !m_document.isOpen())
        return;
    m_shown = wholeState();
    endRun();
}

void EditHistory::clear() {
    m_stack.clear();
    resync();
}

VehicleSnapshot EditHistory::snapshot() const {
    VehicleSnapshot snapshot;
    if (m_document.vehicle())
        snapshot.vehicle = std::make_shared<const VehicleFile>(*m_document.vehicle());
    snapshot.lastSaved = m_document.lastSavedShared();
    if (m_view != nullptr && m_document.isOpen())
        snapshot.state = wholeState();
    return snapshot;
}

void EditHistory::recordReplacement(VehicleSnapshot before, const QString& text) {
    if (!before.vehicle || !m_document.isOpen()) {
        clear();
        return;
    }
    VehicleSnapshot after = snapshot();
    m_shown = after.state;
    endRun();
    m_stack.push(new ReplacementCommand(*this, std::move(before), std::move(after), text));
}

void EditHistory::apply(const StateChange& change, bool undo) {
    if (m_view == nullptr || !m_document.isOpen())
        return;
    VehicleState target = undo ? change.before : change.after;
    convertAngles(target, m_shown.anglesInDegrees);
    {
        const Scope silence = quiet();
        if (target.side) {
            target.side->storeInto(*m_document.vehicle());
            m_document.authorData() = target.side->author;
        }
        m_view->showState(target);
        // Inside the quiet: a field left by the focus may tidy its text, which is no edit of its own.
        const int point = change.before.torque && change.after.torque
                              ? firstDifferentPoint(*change.before.torque, *change.after.torque)
                              : -1;
        m_view->bringToFront(pageOfChange(target), target.texts.empty() ? std::string() : target.texts.begin()->first,
                             point);
    }
    resync();
}

void EditHistory::restoreVehicle(const VehicleSnapshot& to, const VehicleSnapshot& from) {
    if (!to.vehicle || !m_document.isOpen() || m_view == nullptr)
        return;
    // The file on disk stays what it is: its name and what QORA last knew of it are the open vehicle's.
    auto vehicle = std::make_unique<VehicleFile>(*to.vehicle);
    vehicle->fileName = m_document.vehicle()->fileName;
    vehicle->diskSnapshot = m_document.vehicle()->diskSnapshot;
    m_document.setVehicle(std::move(vehicle));
    // A save since the replacement made its own last-saved state; that one stays.
    if (m_document.lastSavedShared() == from.lastSaved)
        m_document.setLastSaved(to.lastSaved);
    VehicleState target = to.state;
    convertAngles(target, m_shown.anglesInDegrees);
    {
        const Scope silence = quiet();
        if (target.side) {
            target.side->storeInto(*m_document.vehicle());
            m_document.authorData() = target.side->author;
        }
        m_view->showState(target);
    }
    resync();
}

} // namespace qora::gui
