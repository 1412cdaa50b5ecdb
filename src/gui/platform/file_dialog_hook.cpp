#include "platform/file_dialog_hook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

#include "platform/file_system.h"
#include "platform/qt_text.h"

namespace qora::gui {

namespace {

std::optional<QString> run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    if (chosen.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(chosen);
}

void setUp(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setWindowTitle(request.title);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (!request.filter.isEmpty()) {
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilter(request.filter);
    }
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
}

} // namespace

QString caseFreePattern(const QString& pattern) {
    QString out;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            out += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

std::optional<QString> QtFileDialogHook::openFile(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent);
    setUp(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return run(dialog);
}

std::optional<QString> QtFileDialogHook::saveFile(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent);
    setUp(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    return run(dialog);
}

FileDialogRequest pictureFileRequest(const QString& title, const std::string& current) {
    FileDialogRequest request;
    request.title = title;
    if (!current.empty()) {
        const std::string folder = parentFolder(current);
        if (!folder.empty() && fileSystem().folderExists(folder))
            request.folder = fromPath(folder);
        request.proposedName = fromPath(fileNameOf(current));
    }
    request.filter =
        QCoreApplication::translate("qora::gui::FileDialogHook", "Bitmaps (%1);;Pictures (%2);;All Files (*)")
            .arg(caseFreePattern(QStringLiteral("*.bmp")), caseFreePattern(QStringLiteral("*.bmp *.png *.jpg *.jpeg")));
    return request;
}

} // namespace qora::gui
