#pragma once

#include <optional>

#include "pages/field_page.h"

class QCheckBox;
class QLabel;

namespace qora {
struct AngleTexts;
}

namespace qora::gui {

// The Aerodynamics page: wings, ride height, drag and downforce in groups, with the switch that shows the wing
// angles in degrees instead of radians.
class AerodynamicsPage final : public FieldPage {
    Q_OBJECT

public:
    explicit AerodynamicsPage(PageHost& host, QWidget* parent = nullptr);

    // Shows the angle heading, typing limits and check box of a display mode, without converting any text.
    void applyAngleMode(bool degrees);
    // The angle texts the other set of fields shows (the ghost's while the vehicle is filled, or the reverse),
    // when that set is open.
    std::optional<AngleTexts> otherSetAngles(bool ghost) const;
    void restoreOptions() override;

private:
    // Converts the shown angles of the vehicle and the ghost to the other unit, or says why it cannot.
    void toggleAnglesInDegrees();

    QCheckBox* m_anglesInDegrees = nullptr;
    QLabel* m_angleHeader = nullptr;
};

} // namespace qora::gui
