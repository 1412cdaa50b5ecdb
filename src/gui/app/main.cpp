// QORA, the vehicle file editor: sets up the application and its host services and starts the main window.

#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QTabWidget>

#include "editor/main_window.h"
#include "platform/dialog_runner.h"
#include "platform/file_dialog_hook.h"
#include "platform/qt_pickers.h"
#include "platform/qt_prompt.h"
#include "platform/qt_text.h"
#include "settings/settings.h"

namespace {

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
int takePageScreenshots(qora::gui::TfMain& window, const QString& folder) {
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

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
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
    parser.process(app);

    const bool unattended = parser.isSet(screenshots);
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

    qora::gui::TfMain window({prompt, fileDialogs, dialogs, folderPicker, filePicker});
    qtPrompt.setParent(&window);
    qtFolderPicker.setParent(&window);
    filePicker.setParent(&window);
    window.show();

    std::optional<std::string> file;
    if (!parser.positionalArguments().isEmpty())
        file = qora::gui::toPath(parser.positionalArguments().constFirst());
    try {
        window.FormShow(file);
    } catch (const std::exception& error) {
        prompt.tell("QORA File Error", error.what(), qora::PromptIcon::Stop);
        return 1;
    }

    if (unattended) {
        const int result = takePageScreenshots(window, parser.value(screenshots));
        window.close();
        return result;
    }
    return app.exec();
}
