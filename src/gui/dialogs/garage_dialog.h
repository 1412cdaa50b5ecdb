#pragma once

#include <string>

#include "dialogs/base_dialog.h"
#include "garage/file_version_model.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTimer;
class QToolButton;

namespace qora {
class Prompt;
class VehicleFile;
class Settings;
} // namespace qora

namespace qora::gui {

// "My Garage": the versions of the loaded vehicle with their notes, and the buttons that create, update, delete
// and load them. The dialog shows what its garage::FileVersionModel holds and hands every click to it; the window
// reads Action() and versionPath() afterwards and carries out a load.
class GarageDialog final : public BaseDialog {
    Q_OBJECT

public:
    // The vehicle (not owned) must have been brought up to date by EnterGarage; carName is what pCarName shows.
    GarageDialog(const VehicleFile& vehicle, const std::string& carName, const Settings& settings, Prompt& prompt,
                 QWidget* parent = nullptr);

    garage::FileVersionModel& model() { return m_model; }
    int Action() const { return m_model.action(); }
    std::string versionPath() { return m_model.versionPath(); }

    void newVersion();
    void updateVersion();
    void deleteVersion();
    void deleteAllVersions();
    void loadVersion();
    void loadVersionAsGhost();
    void setInfoVisible(bool shown);
    void animateFlashes();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* makeButton(const char* name, const QString& text, const QString& hint, int icon);
    // Writes every widget from the model.
    void refresh();
    void syncButtons();
    void showFlashes();
    void startFlashes();

    garage::FileVersionModel m_model;
    bool m_syncing = false;

    QLabel* m_carName = nullptr;
    QLabel* m_fileName = nullptr;
    QLabel* m_versions = nullptr;
    QListWidget* m_list = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_date = nullptr;
    QToolButton* m_new = nullptr;
    QToolButton* m_update = nullptr;
    QToolButton* m_delete = nullptr;
    QToolButton* m_deleteAll = nullptr;
    QToolButton* m_load = nullptr;
    QToolButton* m_loadGhost = nullptr;
    QToolButton* m_use = nullptr;
    QToolButton* m_info = nullptr;
    QPlainTextEdit* m_infoText = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace qora::gui
