#pragma once

#include <memory>

#include <QObject>

#include "vehicle/vehicle_file.h"

namespace qora::gui {

// The read-only vehicle shown beside the edited one for comparison, and whether it opened with missing entries
// or invalid driver attributes.
class GhostDocument final : public QObject {
    Q_OBJECT

public:
    explicit GhostDocument(QObject* parent = nullptr) : QObject(parent) {}

    VehicleFile* vehicle() const { return m_vehicle.get(); }
    bool isOpen() const { return m_vehicle != nullptr; }
    void setVehicle(std::unique_ptr<VehicleFile> vehicle) { m_vehicle = std::move(vehicle); }
    void release() {
        m_vehicle.reset();
        m_problems = false;
    }

    bool hasProblems() const { return m_problems; }
    void setProblems(bool problems) { m_problems = problems; }

private:
    std::unique_ptr<VehicleFile> m_vehicle;
    bool m_problems = false;
};

} // namespace qora::gui
