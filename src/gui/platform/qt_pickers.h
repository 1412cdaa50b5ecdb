#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/pickers.h"

namespace qora::gui {

// The folder dialog the core asks for (the game folder at the first start, say).
class QtFolderPicker final : public FolderPicker {
public:
    explicit QtFolderPicker(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    std::optional<std::string> pickFolder(const std::string& caption, const std::string& startFolder) override;

private:
    QPointer<QWidget> m_parent;
};

// The open-file dialog the core asks for (the archive, say).
class QtFilePicker final : public FilePicker {
public:
    explicit QtFilePicker(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    std::optional<std::string> pickFile(const std::string& title, const std::string& filterName,
                                        const std::string& pattern, const std::string& defaultExtension,
                                        const std::string& startFolder) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace qora::gui
