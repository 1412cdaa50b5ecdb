#pragma once

#include <string>
#include <string_view>

#include "dialogs/base_dialog.h"
#include "platform/pickers.h"

class QListWidget;

namespace qora {
class Prompt;
}

namespace qora::gui {

class DialogRunner;
class DriveBox;
class FolderTree;

// The folder picker: a folder tree with its drive box, and optionally the files of the current folder, of which
// one must then be chosen. The caller sets the caption and the start folder and reads folder() after OK.
class SelectFolderDialog final : public BaseDialog {
    Q_OBJECT

public:
    static constexpr const char* kDefaultCaption = "Locate Folder";

    explicit SelectFolderDialog(Prompt& prompt, QWidget* parent = nullptr,
                              const QString& caption = QString::fromLatin1(kDefaultCaption));

    void setFolder(const std::string& folder);
    const std::string& folder() const;

    // Shows the files of the current folder matching the mask (patterns separated by ";", letter case ignored);
    // OK then needs one of them selected.
    void showFileList(std::string_view mask);
    // The selected file's name; empty without one.
    std::string selectedFile() const;

    FolderTree* folders() const { return m_folders; }
    DriveBox* drives() const { return m_drives; }
    QListWidget* files() const { return m_files; }

public slots:
    // Refused with a message while the file list is in use and no file is selected.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool fileListInUse() const;
    void listFiles();
    void updateOk();

    Prompt* m_prompt;
    FolderTree* m_folders = nullptr;
    DriveBox* m_drives = nullptr;
    QListWidget* m_files = nullptr;
    std::string m_mask;
};

// The folder picker the browser's Copy and Move use: SelectFolderDialog, run through the window's dialog runner.
class SelectFolderPicker final : public FolderPicker {
public:
    SelectFolderPicker(Prompt& prompt, DialogRunner& dialogs, QWidget* parent)
        : m_prompt(&prompt), m_dialogs(&dialogs), m_parent(parent) {}
    std::optional<std::string> pickFolder(const std::string& caption, const std::string& startFolder) override;

private:
    Prompt* m_prompt;
    DialogRunner* m_dialogs;
    QWidget* m_parent;
};

} // namespace qora::gui
