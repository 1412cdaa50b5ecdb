#pragma once

#include <array>

#include "dialogs/base_dialog.h"
#include "editor/side_dialogs.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace qora {
class Prompt;
class Settings;
} // namespace qora

// The three small dialogs that edit the optional sections of the open vehicle. Each shows a form of the core
// (editor/side_dialogs.h), passes every edit to it, and hands it back to the window, which stores it.
namespace qora::gui {

// "Vehicle Modification Parts": four check boxes and ten sliders (0 to 3), each slider with a read-out panel of
// its position. OK keeps the form for the window to store; Cancel changes nothing.
class PartsDialog final : public BaseDialog {
    Q_OBJECT

public:
    explicit PartsDialog(const editor::PartsForm& form, QWidget* parent = nullptr);

    const editor::PartsForm& form() const { return m_form; }

    // A slider moved: its read-out follows. The tag selects the slider (0 turbo ... 9 air intake).
    void sliderMoved(int tag);

protected:
    void showEvent(QShowEvent* event) override;

private:
    editor::PartsForm m_form;
    std::array<QCheckBox*, editor::kPartCheckBoxCount> m_checks{};
    std::array<QSlider*, editor::kPartCount - editor::kPartCheckBoxCount> m_sliders{};
    std::array<QLabel*, editor::kPartCount - editor::kPartCheckBoxCount> m_readOuts{};
};

// "AI Basis": the five [AIBASIS] figures. "Clear All Fields" empties them (after a question while general
// warnings are on) without closing; however the dialog closes, the window stores the form.
class AiBasisDialog final : public BaseDialog {
    Q_OBJECT

public:
    AiBasisDialog(const editor::AiBasisForm& form, const Settings& settings, Prompt& prompt, QWidget* parent = nullptr);

    const editor::AiBasisForm& form() const { return m_form; }
    void cancelEdits();
    // However the dialog is closed, a field that is not a number keeps it open, with a message.
    void done(int result) override;

private:
    editor::AiBasisForm m_form;
    const Settings& m_settings;
    Prompt& m_prompt;
    std::array<QLineEdit*, editor::kAiBasisFieldCount> m_fields{};
};

// "Author Information": the four author edits and the author's notes ([QORA]). "Clear All Fields" as above.
class AuthorDialog final : public MemoDialog {
    Q_OBJECT

public:
    AuthorDialog(const editor::AuthorForm& form, const Settings& settings, Prompt& prompt, QWidget* parent = nullptr);

    const editor::AuthorForm& form() const { return m_form; }
    void cancelEdits();
    // However the dialog is closed, a text that cannot be stored keeps it open, with a message.
    void done(int result) override;

private:
    void showTexts();

    editor::AuthorForm m_form;
    const Settings& m_settings;
    Prompt& m_prompt;
    std::array<QLineEdit*, 5> m_edits{}; // by AuthorItem; the notes' slot stays empty (the memo)
    bool m_filling = false;
};

} // namespace qora::gui
