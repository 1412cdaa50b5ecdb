#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <QObject>

#include "browser/file_commands.h"
#include "vehicle/vehicle_file.h"

namespace qora::gui {

// The vehicle being edited: its file's buffer, the state it was last opened or saved in, the archive entry it came
// from, the [QORA] strings kept for the author dialog, and whether it has unsaved changes. The window shows it;
// pages and commands change it through here.
class VehicleDocument final : public QObject {
    Q_OBJECT

public:
    explicit VehicleDocument(QObject* parent = nullptr) : QObject(parent) {}

    VehicleFile* vehicle() const { return m_vehicle.get(); }
    bool isOpen() const { return m_vehicle != nullptr; }
    // Makes a loaded vehicle the document's; the previous one is released.
    void setVehicle(std::unique_ptr<VehicleFile> vehicle) { m_vehicle = std::move(vehicle); }

    // The vehicle as it was last opened or saved: Undo Page puts a page back to it (My Garage prepares the buffer
    // with the page values, so the buffer itself is not that state). nullptr before the first open.
    const VehicleFile* lastSaved() const { return m_lastSaved.get(); }
    void rememberAsSaved() { m_lastSaved = m_vehicle ? std::make_unique<VehicleFile>(*m_vehicle) : nullptr; }

    // The archive entry the vehicle was extracted from; Save writes it back into the archive.
    std::optional<browser::ArchiveEntryRecord>& archiveEntry() { return m_archiveEntry; }
    const std::optional<browser::ArchiveEntryRecord>& archiveEntry() const { return m_archiveEntry; }
    // The hash of the archive entry the browser has just extracted for the vehicle, for the record of its open.
    std::optional<std::uint64_t>& extractedEntryHash() { return m_extractedEntryHash; }

    // The five [QORA] strings kept for the author data dialog.
    std::array<std::string, 5>& authorData() { return m_authorData; }
    const std::array<std::string, 5>& authorData() const { return m_authorData; }

    bool isChanged() const { return m_changed; }
    void setChanged(bool changed) {
        if (changed == m_changed && m_changedShown)
            return;
        m_changed = changed;
        m_changedShown = true;
        emit changedStateChanged(changed);
    }

signals:
    void changedStateChanged(bool changed);

private:
    std::unique_ptr<VehicleFile> m_vehicle;
    std::unique_ptr<VehicleFile> m_lastSaved;
    std::optional<browser::ArchiveEntryRecord> m_archiveEntry;
    std::optional<std::uint64_t> m_extractedEntryHash;
    std::array<std::string, 5> m_authorData;
    bool m_changed = false;
    bool m_changedShown = false; // the first setChanged is always shown, whatever it says
};

} // namespace qora::gui
