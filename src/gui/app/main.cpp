// QORA, the vehicle file editor: sets up the application and its host services and starts the main window.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QTabWidget>
#include <QTimer>

#if defined(__linux__)
#include <ctime>
#include <unistd.h>
#endif

#include "editor/main_window.h"
#include "platform/dialog_runner.h"
#include "platform/file_dialog_hook.h"
#include "platform/qt_pickers.h"
#include "platform/qt_prompt.h"
#include "platform/qt_text.h"
#include "resources/program_icon.h"
#include "settings/settings.h"

namespace {

// Taken before main() runs (after the libraries are loaded), for --measure-startup.
const auto g_beforeMain = std::chrono::steady_clock::now();

// Milliseconds since the process started, on Linux from the kernel's record of the start (to 1/100 s, so the
// figure errs by up to 10 ms on the long side); nothing elsewhere.
std::optional<double> millisecondsSinceProcessStart() {
#if defined(__linux__)
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // The fields after the command name (which may hold blanks) start with the state; the start time is field 22.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    for (int i = 3; i < 22 && (fields >> field); ++i) {
    }
    unsigned long long startTicks = 0;
    timespec now{};
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (!(fields >> startTicks) || ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return std::nullopt;
    const double nowMs = static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs - static_cast<double>(startTicks) * 1e3 / static_cast<double>(ticksPerSecond);
#else
    return std::nullopt;
#endif
}

// Calls back once, when the window has been painted for the first time and that paint has reached the screen
// (the call comes from the event loop after the paint event's handling is done).
class FirstPaintWatcher final : public QObject {
public:
    FirstPaintWatcher(QWidget& window, std::function<void()> painted)
        : m_window(&window), m_painted(std::move(painted)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Paint) {
            m_window->removeEventFilter(this);
            QTimer::singleShot(0, this, m_painted);
        }
        return false;
    }

private:
    QWidget* m_window;
    std::function<void()> m_painted;
};

// Brings the page holding the control to the front; null when the window has no control of that name.
QWidget* showControl(qora::gui::MainWindow& window, const QString& name) {
    auto* control = window.findChild<QWidget*>(name);
    if (control == nullptr)
        return nullptr;
    QTabWidget* pages = window.pages();
    for (int i = 0; pages != nullptr && i < pages->count(); ++i)
        if (pages->widget(i)->isAncestorOf(control))
            pages->setCurrentIndex(i);
    return control;
}

// Closes every dialog it is given, as a user who only glances at it would: used when the program takes its own
// page screenshots without anyone at the screen.
class ClosingDialogRunner final : public qora::gui::DialogRunner {
public:
    int run(QDialog& dialog) override {
        dialog.accept();
        return QDialog::Accepted;
    }
};

// Saves a picture of the window with each page in front, as NN-pgName.png in the folder.
int takePageScreenshots(qora::gui::MainWindow& window, const QString& folder) {
    QDir().mkpath(folder);
    QTabWidget* pages = window.pages();
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        for (int pass = 0; pass < 3; ++pass)
            QApplication::processEvents();
        const QString name =
            QStringLiteral("%1-%2.png").arg(i + 1, 2, 10, QLatin1Char('0')).arg(pages->widget(i)->objectName());
        if (!window.grab().save(QDir(folder).filePath(name))) {
            std::fprintf(stderr, "qora: cannot write %s\n", qPrintable(QDir(folder).filePath(name)));
            return 1;
        }
    }
    return 0;
}

} // namespace

namespace {

// The files named on the command line, as the system gave them. A name that is not valid UTF-8 (a Latin-1 name
// copied from Windows or an old archive) survives only as its bytes, so each argument the parser calls a file is
// taken from argv itself. Everything after "--" is a file, whatever it looks like.
std::vector<std::string> commandLineFiles(const QStringList& positional, int argc, char** argv,
                                          const std::vector<std::string>& afterDashes) {
    std::vector<std::string> files;
#ifdef Q_OS_WIN
    (void)argc, (void)argv, (void)afterDashes;
    for (const QString& argument : positional)
        files.push_back(qora::gui::toPath(argument));
#else
    std::vector<bool> used(static_cast<std::size_t>(argc), false);
    for (const QString& argument : positional) {
        std::string raw = qora::gui::toPath(argument);
        for (int i = 1; i < argc; ++i) {
            if (!used[static_cast<std::size_t>(i)] && QString::fromLocal8Bit(argv[i]) == argument) {
                used[static_cast<std::size_t>(i)] = true;
                raw = argv[i];
                break;
            }
        }
        files.push_back(std::move(raw));
    }
    files.insert(files.end(), afterDashes.begin(), afterDashes.end());
#endif
    return files;
}

} // namespace

int main(int argc, char* argv[]) {
    // Qt takes its own options (-reverse, -style ...) out of the arguments wherever they stand; what follows "--"
    // is kept away from it.
    std::vector<std::string> afterDashes;
    int qtArgc = argc;
#ifndef Q_OS_WIN
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            afterDashes.assign(argv + i + 1, argv + argc);
            qtArgc = i;
            break;
        }
    }
#endif
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("qora"));
    QApplication::setApplicationVersion(QString::fromLatin1(qora::kProgramVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("QORA, the editor for Trevant vehicle files."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A vehicle file (.veh) to open."));
    QCommandLineOption screenshots(QStringLiteral("screenshot-pages"),
                                   QStringLiteral("Save a picture of each page into DIR and quit."),
                                   QStringLiteral("DIR"));
    screenshots.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(screenshots);
    // For the performance report: prints how long the start took until the window was first painted, and quits.
    QCommandLineOption measureStartup(QStringLiteral("measure-startup"),
                                      QStringLiteral("Print the time to the first painted window and quit."));
    measureStartup.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(measureStartup);
    // For tests that drive the window with real input events: brings the control's page to the front and, once
    // the window is painted, prints "control NAME X Y WIDTH HEIGHT" (window coordinates) on standard output.
    QCommandLineOption reportControl(QStringLiteral("report-control"),
                                     QStringLiteral("Print where the control NAME is in the window."),
                                     QStringLiteral("NAME"));
    reportControl.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(reportControl);
    parser.process(app);

    QGuiApplication::setDesktopFileName(QString::fromLatin1(qora::gui::kDesktopId));
    QApplication::setWindowIcon(qora::gui::programIcon());

    const bool unattended = parser.isSet(screenshots) || parser.isSet(measureStartup);
    qora::gui::QtPrompt qtPrompt;
    qora::SilentPrompt silentPrompt;
    qora::Prompt& prompt = unattended ? static_cast<qora::Prompt&>(silentPrompt) : qtPrompt;
    qora::gui::QtFileDialogHook fileDialogs;
    qora::gui::ExecDialogRunner execRunner;
    ClosingDialogRunner closingRunner;
    qora::gui::DialogRunner& dialogs = unattended ? static_cast<qora::gui::DialogRunner&>(closingRunner) : execRunner;
    qora::gui::QtFolderPicker qtFolderPicker;
    qora::NoFolderPicker noFolderPicker;
    qora::FolderPicker& folderPicker = unattended ? static_cast<qora::FolderPicker&>(noFolderPicker) : qtFolderPicker;
    qora::gui::QtFilePicker filePicker;

    qora::gui::MainWindow window({prompt, fileDialogs, dialogs, folderPicker, filePicker});
    qtPrompt.setParent(&window);
    qtFolderPicker.setParent(&window);
    filePicker.setParent(&window);
    window.show();

    std::optional<std::string> file;
    if (const auto files = commandLineFiles(parser.positionalArguments(), qtArgc, argv, afterDashes); !files.empty())
        file = files.front();
    try {
        window.start(file);
    } catch (const std::exception& error) {
        prompt.tell("QORA File Error", error.what(), qora::PromptIcon::Stop);
        return 1;
    }

    if (parser.isSet(screenshots)) {
        // Leaves without closing the window: closing records the session in the settings file, and this mode
        // answers every question by itself, so nothing it did may be kept.
        return takePageScreenshots(window, parser.value(screenshots));
    }

    std::optional<FirstPaintWatcher> firstPaint;
    if (parser.isSet(measureStartup)) {
        firstPaint.emplace(window, [] {
            const double fromMain =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - g_beforeMain).count();
            if (const auto fromStart = millisecondsSinceProcessStart())
                std::printf("first paint: %.1f ms after the process started, %.1f ms after main()\n", *fromStart,
                            fromMain);
            else
                std::printf("first paint: %.1f ms after main()\n", fromMain);
            std::fflush(stdout);
            // Leaves without closing the window, so the settings file is not rewritten.
            QCoreApplication::exit(0);
        });
    } else if (parser.isSet(reportControl)) {
        const QString name = parser.value(reportControl);
        QWidget* control = showControl(window, name);
        if (control == nullptr) {
            std::fprintf(stderr, "qora: no control named %s\n", qPrintable(name));
            return 2;
        }
        firstPaint.emplace(window, [&window, control, name] {
            const QPoint at = control->mapTo(&window, QPoint(0, 0));
            std::printf("control %s %d %d %d %d\n", qPrintable(name), at.x(), at.y(), control->width(),
                        control->height());
            std::fflush(stdout);
        });
    }
    return app.exec();
}
