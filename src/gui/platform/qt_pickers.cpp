#include "platform/qt_pickers.h"

#include <QDir>
#include <QFileDialog>

#include "platform/file_dialog_hook.h"
#include "platform/qt_text.h"

namespace qora::gui {

std::optional<std::string> QtFolderPicker::pickFolder(const std::string& caption, const std::string& startFolder) {
    const QString chosen = QFileDialog::getExistingDirectory(m_parent, messageText(caption), fromPath(startFolder));
    if (chosen.isEmpty())
        return std::nullopt;
    return toPath(QDir::toNativeSeparators(chosen));
}

std::optional<std::string> QtFilePicker::pickFile(const std::string& title, const std::string& filterName,
                                                  const std::string& pattern, const std::string& defaultExtension,
                                                  const std::string& startFolder) {
    QFileDialog dialog(m_parent, messageText(title), fromPath(startFolder));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(messageText(filterName) + QStringLiteral(" (") + caseFreePattern(fromPath(pattern)) +
                         QLatin1Char(')'));
    if (!defaultExtension.empty()) {
        QString suffix = fromPath(defaultExtension);
        if (suffix.startsWith(QLatin1Char('.')))
            suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return toPath(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

} // namespace qora::gui
