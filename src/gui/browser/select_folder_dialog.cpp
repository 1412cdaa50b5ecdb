#include "browser/select_folder_dialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "browser/file_manager.h"
#include "browser/folder_tree.h"
#include "browser/vehicle_list.h"
#include "platform/dialog_runner.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "resources/artwork.h"

namespace qora::gui {

namespace {
constexpr const char* kNoFileSelected = "No valid file selected.";
}

SelectFolderDialog::SelectFolderDialog(Prompt& prompt, QWidget* parent, const QString& caption)
    : BaseDialog(caption, parent), m_prompt(&prompt) {
    setObjectName(QStringLiteral("dlgSelectFolder"));
    setBackgroundArtwork(kSelectFolderDialogBackground);
    m_folders = new FolderTree(this);
    m_folders->setObjectName(QStringLiteral("lbFolders"));
    m_drives = new DriveBox(*m_folders, this);
    m_drives->setObjectName(QStringLiteral("DriveComboBox1"));
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("lbFiles"));
    m_files->setEnabled(false);
    m_files->hide();

    contentLayout()->addWidget(m_folders, 1);
    contentLayout()->addWidget(m_files, 1);
    contentLayout()->addWidget(m_drives);
    resize(300, 380);

    connect(m_folders, &FolderTree::folderChanged, this, [this] {
        m_drives->followTree();
        listFiles();
    });
    connect(m_files, &QListWidget::currentRowChanged, this, [this] { updateOk(); });
}

void SelectFolderDialog::setFolder(const std::string& folder) {
    m_folders->setFolder(folder);
    m_drives->followTree();
    listFiles();
}

const std::string& SelectFolderDialog::folder() const {
    return m_folders->folder();
}

void SelectFolderDialog::showFileList(std::string_view mask) {
    m_mask = std::string(mask);
    m_files->setEnabled(true);
    m_files->show();
    listFiles();
}

std::string SelectFolderDialog::selectedFile() const {
    const QListWidgetItem* item = m_files->currentItem();
    return item && fileListInUse() ? toPath(item->text()) : std::string();
}

bool SelectFolderDialog::fileListInUse() const {
    return m_files->isEnabled() && !m_files->isHidden();
}

void SelectFolderDialog::listFiles() {
    if (!fileListInUse())
        return;
    m_files->clear();
    for (const std::string& name : browser::listFiles(folder(), m_mask))
        m_files->addItem(fromPath(name));
    updateOk();
}

void SelectFolderDialog::updateOk() {
    if (fileListInUse())
        okButton()->setEnabled(m_files->count() > 0 && m_files->currentItem() != nullptr);
}

void SelectFolderDialog::showEvent(QShowEvent* event) {
    BaseDialog::showEvent(event);
    updateOk();
}

void SelectFolderDialog::accept() {
    if (fileListInUse() && m_files->currentItem() == nullptr) {
        m_prompt->tell(std::string(browser::kFileManagerTitle), kNoFileSelected, PromptIcon::Stop);
        return;
    }
    BaseDialog::accept();
}

std::optional<std::string> SelectFolderPicker::pickFolder(const std::string& caption, const std::string& startFolder) {
    SelectFolderDialog dialog(*m_prompt, m_parent, messageText(caption));
    dialog.setFolder(startFolder);
    if (m_dialogs->run(dialog) != QDialog::Accepted || dialog.folder().empty())
        return std::nullopt;
    return dialog.folder();
}

} // namespace qora::gui
