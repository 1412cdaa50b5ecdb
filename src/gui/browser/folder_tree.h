#pragma once

#include <string>

#include <QComboBox>
#include <QTreeView>

class QFileSystemModel;
class QTimer;

namespace qora::gui {

// A tree of the folders under one root (a drive, or the home folder), with one current folder. The current
// folder may be the root itself, which the tree does not show as an item.
class FolderTree final : public QTreeView {
    Q_OBJECT

public:
    explicit FolderTree(QWidget* parent = nullptr);

    // Makes the folder current: the tree shows the root that holds it, opened down to it. Emits nothing.
    void setFolder(const std::string& folder);
    const std::string& folder() const { return m_folder; }
    // The root the tree shows; setting it makes the root itself the current folder. Emits nothing.
    void setRootFolder(const std::string& root);
    const std::string& rootFolder() const { return m_root; }

signals:
    // The user made another folder current.
    void folderChanged(const std::string& folder);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onCurrentChanged(const QModelIndex& current);
    // Opens the tree down to the current folder and scrolls it into view. The model reads folders in the
    // background, so this runs again as the folders on the way are read.
    void revealFolder();

    QFileSystemModel* m_model = nullptr;
    std::string m_folder;
    std::string m_root;
    bool m_setting = false;
    bool m_revealing = false; // the tree follows the current folder while its folders are read
    QTimer* m_revealTimer = nullptr;
};

// The drive box: the file system's roots and the home folder, bound to a folder tree. Choosing a drive shows
// its folders in the tree and makes it the current folder; the box follows the tree's current folder.
class DriveBox final : public QComboBox {
    Q_OBJECT

public:
    explicit DriveBox(FolderTree& tree, QWidget* parent = nullptr);

    // The drive that holds the folder: the one with the longest matching path.
    static std::string driveOf(const std::string& folder);
    // Selects the drive of the tree's current folder.
    void followTree();

private:
    FolderTree* m_tree;
};

} // namespace qora::gui
