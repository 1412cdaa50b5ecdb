#include "browser/folder_tree.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTimer>

#include "platform/qt_text.h"

namespace qora::gui {

namespace {

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

// The drives offered: the file system's roots, then the home folder.
QStringList driveFolders() {
    QStringList drives;
    for (const QFileInfo& drive : QDir::drives())
        drives << nativePath(drive.absoluteFilePath());
    const QString home = nativePath(QDir::homePath());
    if (!drives.contains(home, Qt::CaseInsensitive))
        drives << home;
    return drives;
}

// Whether `folder` is `root` or lies under it.
bool isUnder(const QString& folder, const QString& root) {
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    if (folder.compare(root, kCase) == 0)
        return true;
    const QString prefix = root.endsWith(QDir::separator()) ? root : root + QDir::separator();
    return folder.startsWith(prefix, kCase);
}

} // namespace

// ---- FolderTree -------------------------------------------------------------------------------------------------

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent) {
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);
    setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setAnimated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIndentation(14);
    // The names column fills the tree; long names are elided rather than scrolled to.
    header()->setStretchLastSection(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    // Folders are read in the background and rows arrive in bursts: the tree is brought back to the current
    // folder once each burst has settled, until the user takes the tree over.
    m_revealTimer = new QTimer(this);
    m_revealTimer->setSingleShot(true);
    m_revealTimer->setInterval(30);
    connect(m_revealTimer, &QTimer::timeout, this, [this] { revealFolder(); });
    const auto settle = [this] {
        if (m_revealing)
            m_revealTimer->start();
    };
    connect(m_model, &QFileSystemModel::directoryLoaded, this, settle);
    connect(m_model, &QFileSystemModel::rowsInserted, this, settle);
}

void FolderTree::setRootFolder(const std::string& root) {
    m_setting = true;
    m_root = root;
    m_folder = root;
    m_model->setRootPath(fromPath(root));
    setRootIndex(m_model->index(fromPath(root)));
    setCurrentIndex(QModelIndex());
    m_setting = false;
}

void FolderTree::setFolder(const std::string& folder) {
    const std::string root = DriveBox::driveOf(folder);
    if (root != m_root)
        setRootFolder(root);
    m_folder = folder;
    m_revealing = true;
    revealFolder();
}

void FolderTree::revealFolder() {
    m_setting = true;
    const QModelIndex index = m_folder == m_root ? QModelIndex() : m_model->index(fromPath(m_folder));
    for (QModelIndex parent = index.parent(); parent.isValid() && parent != rootIndex(); parent = parent.parent())
        expand(parent);
    setCurrentIndex(index);
    if (index.isValid())
        scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_setting = false;
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
    m_revealing = false;
    QTreeView::mousePressEvent(event);
}

void FolderTree::wheelEvent(QWheelEvent* event) {
    m_revealing = false;
    QTreeView::wheelEvent(event);
}

void FolderTree::keyPressEvent(QKeyEvent* event) {
    m_revealing = false;
    QTreeView::keyPressEvent(event);
}

void FolderTree::onCurrentChanged(const QModelIndex& current) {
    if (m_setting || !current.isValid())
        return;
    const std::string folder = toPath(nativePath(m_model->filePath(current)));
    if (folder == m_folder)
        return;
    m_folder = folder;
    emit folderChanged(folder);
}

// ---- DriveBox ---------------------------------------------------------------------------------------------------

DriveBox::DriveBox(FolderTree& tree, QWidget* parent) : QComboBox(parent), m_tree(&tree) {
    for (const QString& drive : driveFolders()) {
#ifdef Q_OS_WIN
        addItem(drive.toUpper(), drive);
#else
        addItem(drive, drive);
#endif
    }
    connect(this, &QComboBox::activated, this, [this](int index) {
        const std::string drive = toPath(itemData(index).toString());
        if (drive == m_tree->rootFolder() && drive == m_tree->folder())
            return;
        m_tree->setRootFolder(drive);
        emit m_tree->folderChanged(drive);
    });
}

std::string DriveBox::driveOf(const std::string& folder) {
    const QString path = nativePath(fromPath(folder));
    QString best;
    for (const QString& drive : driveFolders())
        if (isUnder(path, drive) && drive.size() > best.size())
            best = drive;
    if (best.isEmpty())
        best = driveFolders().value(0);
    return toPath(best);
}

void DriveBox::followTree() {
    const int index = findData(fromPath(m_tree->rootFolder()));
    if (index >= 0)
        setCurrentIndex(index);
}

} // namespace qora::gui
