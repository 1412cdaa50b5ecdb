#pragma once

#include <string>

#include <QDialog>

#include "editor/vehicle_summary.h"

class QLabel;
class QPushButton;
class QTextBrowser;

namespace qora {
class Prompt;
}

namespace qora::gui {

class FileDialogHook;

// "QORA Vehicle Summary" / "QORA Vehicle Compare Summary": a summary (vehicle_summary.h) shown as HTML in a
// read-only browser, with "Copy as Text" (the plain-text form, for pasting into a forum post), "Save as HTML..."
// (the HTML document, written in one step so a failed save leaves no half-written file) and "Close".
class VehicleSummaryDialog final : public QDialog {
    Q_OBJECT

public:
    // startFolder is where the save dialog opens and baseName the file name it proposes without its extension.
    VehicleSummaryDialog(editor::VehicleSummary summary, const std::string& startFolder, const std::string& baseName,
                       FileDialogHook& fileDialogs, Prompt& prompt, QWidget* parent = nullptr);

    const editor::VehicleSummary& summary() const { return m_summary; }
    QTextBrowser* browser() const { return m_browser; }

    // The button commands.
    void copyAsText();
    // True when the file was written.
    bool saveAsHtml();

private:
    void showNote(const QString& text);

    editor::VehicleSummary m_summary;
    std::string m_startFolder;
    std::string m_baseName;
    FileDialogHook& m_fileDialogs;
    Prompt& m_prompt;
    QTextBrowser* m_browser = nullptr;
    QLabel* m_note = nullptr;
};

} // namespace qora::gui
