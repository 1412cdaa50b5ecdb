#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dialogs/base_dialog.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QToolButton;

namespace qora {
class FolderPicker;
class Prompt;
} // namespace qora

namespace qora::gui {

// What the Preferences dialog edits.
struct AppPreferences {
    std::string gameFolder;
    std::string patchFolder;
    std::string soundFolder;
    int maxGearRange = 6000; // thousandths
    bool generalWarnings = true;
    bool warnCompressedFiles = true;
    bool hideSpinButtons = false;
    bool backupFiles = true;
    bool associate = false;
};

inline constexpr const char* kGearRangeTitle = "QORA Validate Gear Range";
inline constexpr const char* kGearRangeMessage = "A valid value must be entered for Max Gear Range (Default=6.000).";

// The maximum gear range a text gives, in thousandths (the value times 1000, cut toward zero), when it is a number
// whose thousandths lie from 4000 to 9999; nullopt otherwise.
std::optional<int> maxGearRangeFromText(std::string_view text);

// "QORA Preferences": the folders, the gear bars' range and the program's switches. OK checks the gear range and
// keeps the dialog open, after telling the user, while it is not valid.
//
// "Mouse Wheel Support" is shown ticked and cannot be changed: the mouse wheel always steps the field under it.
class PreferencesDialog final : public BaseDialog {
    Q_OBJECT

public:
    PreferencesDialog(Prompt& prompt, FolderPicker& folders, QWidget* parent = nullptr);

    void setPreferences(const AppPreferences& preferences);
    // The values shown; the gear range is the one loaded while the text is not valid.
    AppPreferences preferences() const;

    // Opens the folder chooser for one of the three folder fields ("eTrevantFolder", "ePatchFolder",
    // "eSoundFolder"), starting at its folder; the chosen folder replaces the field's text.
    void chooseFolder(QLineEdit* field);

    void accept() override;

private:
    QLineEdit* folderRow(QGridLayout* grid, int row, const char* name, const QString& caption, const char* buttonName);

    Prompt* m_prompt;
    FolderPicker* m_folders;
    int m_loadedGearRange = 6000;
    QLineEdit* m_gameFolder = nullptr;
    QLineEdit* m_patchFolder = nullptr;
    QLineEdit* m_soundFolder = nullptr;
    QLineEdit* m_maxGearRange = nullptr;
    QCheckBox* m_generalWarnings = nullptr;
    QCheckBox* m_warnCompressed = nullptr;
    QCheckBox* m_mouseWheel = nullptr;
    QCheckBox* m_hideSpinButtons = nullptr;
    QCheckBox* m_backups = nullptr;
    QCheckBox* m_associate = nullptr;
};

} // namespace qora::gui
