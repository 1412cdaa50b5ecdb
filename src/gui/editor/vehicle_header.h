#pragma once

#include <functional>
#include <string>

#include <QFrame>

class QLabel;
class QTimer;
class QToolButton;

namespace qora {
class Settings;
namespace browser {
struct CarPicture;
}
} // namespace qora

namespace qora::gui {

// The panel above the pages: the vehicle's and the ghost's pictures, the vehicle's name (which doubles as the
// status line, with the "** FILE SAVED **" animation), the changed indicator, the ghost's name, the prior editor,
// and the buttons that open either file in a text editor.
class VehicleHeader final : public QFrame {
    Q_OBJECT

public:
    // description gives the text the name panel shows when no status is up (the Description field's).
    VehicleHeader(const Settings& settings, std::function<QString()> description, QWidget* parent = nullptr);

    // Writes a status text into the name panel; "[default]" restores the description and the normal colours.
    void showStatus(const QString& text, const QColor& font, const QColor& background);
    void restoreStatus();
    // A status that must be seen before a long step, which runs before the event loop paints.
    void showStatusNow(const QString& text, const QColor& font, const QColor& background);
    void setDescription(const QString& description);
    // Plays the save animation: the text opens out from its middle, then blinks, then the status returns.
    void playSavedAnimation();
    void stopSavedAnimation();
    void showChanged(bool changed);
    void setPriorEditor(const std::string& editorName);

    void setVehiclePicture(const browser::CarPicture& picture);
    void setGhostPicture(const browser::CarPicture& picture, const QString& ghostDescription);
    void clearGhostPicture();
    // Shows or hides the ghost's row (its name and text-editor button); the name goes with a hidden row.
    void showGhostRow(bool shown);
    void setGhostName(const QString& name);

    QToolButton* vehicleNotepadButton() const { return m_vehicleNotepad; }
    QToolButton* ghostNotepadButton() const { return m_ghostNotepad; }
    QLabel* editorNameLabel() const { return m_editorName; }

private:
    void animateSavedStatus();
    void setNoPicture(QLabel* picture);

    const Settings& m_settings;
    std::function<QString()> m_description;
    QLabel* m_vehicleName = nullptr;
    QLabel* m_ghostName = nullptr;
    QFrame* m_changedIndicator = nullptr;
    QLabel* m_vehiclePicture = nullptr;
    QLabel* m_ghostPicture = nullptr;
    QLabel* m_editorName = nullptr;
    QToolButton* m_vehicleNotepad = nullptr;
    QToolButton* m_ghostNotepad = nullptr;
    QTimer* m_savedStatusTimer = nullptr;
    int m_animationCounter = 0;
};

} // namespace qora::gui
