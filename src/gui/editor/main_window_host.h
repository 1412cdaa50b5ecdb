#pragma once

namespace qora {
class FilePicker;
class FolderPicker;
class Prompt;
} // namespace qora

namespace qora::gui {

class DialogRunner;
class FileDialogHook;

// What the window's creator provides: the message boxes, the file dialogs, the modal-dialog runner and the two
// pickers the settings may need. None is owned; all must outlive the window.
struct MainWindowHost {
    Prompt& prompt;
    FileDialogHook& fileDialogs;
    DialogRunner& dialogs;
    FolderPicker& folderPicker;
    FilePicker& filePicker;
};

} // namespace qora::gui
