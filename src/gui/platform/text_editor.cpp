#include "platform/text_editor.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "platform/prompt.h"
#include "platform/qt_text.h"

namespace qora::gui {

namespace {

SystemTextEditor g_systemEditor;
TextEditorLauncher* g_launcher = &g_systemEditor;

bool startDetached(const QStringList& command) {
    if (command.isEmpty())
        return false;
    QStringList arguments = command;
    const QString program = arguments.takeFirst();
    return QProcess::startDetached(program, arguments);
}

#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
// The Exec line of the desktop entry the desktop opens plain text with; empty when there is none.
QString plainTextApplication() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("text/plain")});
    if (!query.waitForFinished(2000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    const QString entry = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    if (entry.isEmpty())
        return {};
    QFile file(QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QStringLiteral("[Desktop Entry]");
        else if (inEntry && line.startsWith(QStringLiteral("Exec=")))
            return line.mid(5);
    }
    return {};
}
#endif

} // namespace

QStringList editorCommand(const QString& commandLine, const QString& file) {
    QStringList command;
    bool placed = false;
    for (const QString& part : QProcess::splitCommand(commandLine)) {
        if (part == QStringLiteral("%f") || part == QStringLiteral("%F") || part == QStringLiteral("%u") ||
            part == QStringLiteral("%U")) {
            command << file;
            placed = true;
        } else if (part.size() == 2 && part.startsWith(QLatin1Char('%'))) {
            continue; // %i, %c, %k and the like describe the desktop entry, not the file
        } else {
            QString plain = part;
            command << plain.replace(QStringLiteral("%%"), QStringLiteral("%"));
        }
    }
    if (!command.isEmpty() && !placed)
        command << file;
    return command;
}

bool SystemTextEditor::open(const std::string& path, const std::string& configuredEditor) {
    const QString file = fromPath(path);
    if (!configuredEditor.empty())
        return startDetached(editorCommand(fromPath(configuredEditor), file));
    const QString visual = qEnvironmentVariable("VISUAL").trimmed();
    if (!visual.isEmpty())
        return startDetached(editorCommand(visual, file));
#if defined(Q_OS_WIN)
    return startDetached({QStringLiteral("notepad.exe"), file});
#else
#if !defined(Q_OS_MACOS)
    // A vehicle file's own type may be opened by QORA itself: the plain-text application is asked for by name.
    const QString application = plainTextApplication();
    if (!application.isEmpty() && startDetached(editorCommand(application, file)))
        return true;
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
#endif
}

bool openInTextEditor(const std::string& path, const std::string& configuredEditor, Prompt& prompt) {
    if (textEditorLauncher().open(path, configuredEditor))
        return true;
    prompt.tell("QORA Notepad Launcher", "No text editor could be started for the file [" + path + "].",
                PromptIcon::Exclamation);
    return false;
}

TextEditorLauncher& textEditorLauncher() {
    return *g_launcher;
}

ScopedTextEditorLauncher::ScopedTextEditorLauncher(TextEditorLauncher& replacement) : m_previous(g_launcher) {
    g_launcher = &replacement;
}

ScopedTextEditorLauncher::~ScopedTextEditorLauncher() {
    g_launcher = m_previous;
}

} // namespace qora::gui
