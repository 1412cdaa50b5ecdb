#pragma once

#include <string>

#include <QString>
#include <QStringList>

namespace qora {
class Prompt;
}

namespace qora::gui {

// Opens a file in the user's text editor, without waiting for it.
class TextEditorLauncher {
public:
    virtual ~TextEditorLauncher() = default;
    // Starts the editor on the file. `configuredEditor` is the user's own choice of editor command (may be
    // empty). False when no editor could be started.
    virtual bool open(const std::string& path, const std::string& configuredEditor) = 0;
};

// The system's text editor: the configured command when set, else $VISUAL, else the desktop's default
// application for plain text, else whatever the desktop opens the file with. Started detached.
class SystemTextEditor final : public TextEditorLauncher {
public:
    bool open(const std::string& path, const std::string& configuredEditor) override;
};

// A command line as the editor's program and its arguments with the file added: the desktop entry field codes
// %f %F %u %U stand for the file (appended when none is given); other field codes are dropped.
QStringList editorCommand(const QString& commandLine, const QString& file);

// Starts the text editor on the file (see SystemTextEditor); when none could be started the user is told under
// "QORA Notepad Launcher". Returns whether one was started.
bool openInTextEditor(const std::string& path, const std::string& configuredEditor, Prompt& prompt);

// The launcher the editor uses now: the system's unless a test has put another in place.
TextEditorLauncher& textEditorLauncher();

// Puts another launcher in place for the lifetime of this object (tests only).
class ScopedTextEditorLauncher {
public:
    explicit ScopedTextEditorLauncher(TextEditorLauncher& replacement);
    ~ScopedTextEditorLauncher();
    ScopedTextEditorLauncher(const ScopedTextEditorLauncher&) = delete;
    ScopedTextEditorLauncher& operator=(const ScopedTextEditorLauncher&) = delete;

private:
    TextEditorLauncher* m_previous;
};

} // namespace qora::gui
