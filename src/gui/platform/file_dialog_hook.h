#pragma once

#include <optional>
#include <string>

#include <QString>

class QWidget;

namespace qora::gui {

// What a file dialog is asked to show.
struct FileDialogRequest {
    QString title;
    QString folder;        // where the dialog starts
    QString proposedName;  // the file name proposed (save dialogs); empty: none
    QString filter;        // Qt form: "QORA Vehicle Files (*.veh)"
    QString defaultSuffix; // added to a typed name without one ("veh")
};

// The standard open and save dialogs, behind an interface so that tests can answer them.
class FileDialogHook {
public:
    virtual ~FileDialogHook() = default;
    // The chosen existing file, or nullopt when the user cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // The chosen file name to save under, or nullopt when the user cancelled.
    virtual std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
};

// A file pattern matched without regard to letter case, as file masks are on the game's own platform:
// "*.veh" becomes "*.[vV][eE][hH]". Dialogs show such filters with their details hidden.
QString caseFreePattern(const QString& pattern);
// The request of the dialogs that choose a picture (a page skin, a chart background): bitmaps first, then every
// picture QORA reads; they open in the folder of the picture in use (when it still exists) and propose its name.
FileDialogRequest pictureFileRequest(const QString& title, const std::string& current);

// The real dialogs (QFileDialog).
class QtFileDialogHook final : public FileDialogHook {
public:
    std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) override;
};

} // namespace qora::gui
