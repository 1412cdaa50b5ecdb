#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <QObject>

#include "browser/file_commands.h"
#include "vehicle/vehicle_file.h"

class QUndoStack;

namespace qora::gui {

class EditHistory;

// The vehicle being edited: its file's buffer, the state it was last opened or saved in, the archive entry it came
// from, the [QORA] strings kept for the author dialog, its undo stack and whether it has unsaved changes. The
// window shows it; pages and commands change it through here.
class VehicleDocument final : public QObject {
    Q_OBJECT

public:
    explicit VehicleDocument(QObject* parent = nullptr);
    ~VehicleDocument() override;

    VehicleFile* vehicle() const { return m_vehicle.get(); }
    bool isOpen() const { return m_vehicle != nullptr; }
    // Makes a loaded vehicle the document's; the previous one is released.
    void setVehicle(std::unique_ptr<VehicleFile> vehicle) { m_vehicle = std::move(vehicle); }

    // The vehicle as it was last opened or saved: Undo Page puts a page back to it (My Garage prepares the buffer
    // with the page values, so the buffer itself is not that state). nullptr before the first open.
    const VehicleFile* lastSaved() const { return m_lastSaved.get(); }
    const std::shared_ptr<const VehicleFile>& lastSavedShared() const { return m_lastSaved; }
    void setLastSaved(std::shared_ptr<const VehicleFile> saved) { m_lastSaved = std::move(saved); }
    void rememberAsSaved() { m_lastSaved = m_vehicle ? std::make_shared<const VehicleFile>(*m_vehicle) : nullptr; }

    // The archive entry the vehicle was extracted from; Save writes it back into the archive.
    std::optional<browser::ArchiveEntryRecord>& archiveEntry() { return m_archiveEntry; }
    const std::optional<browser::ArchiveEntryRecord>& archiveEntry() const { return m_archiveEntry; }
    // The hash of the archive entry the browser has just extracted for the vehicle, for the record of its open.
    std::optional<std::uint64_t>& extractedEntryHash() { return m_extractedEntryHash; }

    // The five [QORA] strings kept for the author data dialog.
    std::array<std::string, 5>& authorData() { return m_authorData; }
    const std::array<std::string, 5>& authorData() const { return m_authorData; }

    // Every change of the vehicle is a command on this stack; the vehicle is unchanged exactly while the stack is
    // at its clean state (the last open or save).
    QUndoStack& undoStack() const { return *m_undoStack; }
    EditHistory& history() const { return *m_history; }

    bool isChanged() const;
    // Unchanged marks the stack clean (a save, an open). Changed without a command (a backup loaded in the
    // vehicle's place, the file deleted on disk) leaves no clean state to undo back to.
    void setChanged(bool changed);
    // While an edit is under way (a torque point held by the mouse) the vehicle shows as changed; the edit's
    // command, when it ends, says whether it stays so.
    void setEditInProgress(bool editing);

signals:
    void changedStateChanged(bool changed);

private:
    std::unique_ptr<VehicleFile> m_vehicle;
    std::shared_ptr<const VehicleFile> m_lastSaved;
    std::optional<browser::ArchiveEntryRecord> m_archiveEntry;
    std::optional<std::uint64_t> m_extractedEntryHash;
    std::array<std::string, 5> m_authorData;
    QUndoStack* m_undoStack;
    EditHistory* m_history;
    bool m_editing = false;
    bool m_changedShown = false; // the first setChanged is always shown, whatever it says
};

} // namespace qora::gui
