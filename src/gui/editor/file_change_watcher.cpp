#include "editor/file_change_watcher.h"

#include <QFileSystemWatcher>
#include <QTimer>

#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/qt_text.h"

namespace qora::gui {

namespace {

// A save is a burst of events (a temporary file written, renamed, the folder touched): they are reported once,
// after this quiet time.
constexpr int kSettleMilliseconds = 250;

} // namespace

FileChangeWatcher::FileChangeWatcher(QObject* parent)
    : QObject(parent), m_watcher(new QFileSystemWatcher(this)), m_settle(new QTimer(this)) {
    m_settle->setSingleShot(true);
    m_settle->setInterval(kSettleMilliseconds);
    const auto noticed = [this] {
        rewatch();
        m_settle->start();
    };
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, noticed);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, noticed);
    connect(m_settle, &QTimer::timeout, this, &FileChangeWatcher::changed);
}

void FileChangeWatcher::watch(const std::string& path) {
    m_path = path;
    m_settle->stop();
    rewatch();
}

void FileChangeWatcher::rewatch() {
    // A file replaced by a rename is a new file: the watch goes on with whatever the path names now.
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    if (m_path.empty())
        return;
    std::string target = m_path;
    try {
        target = resolveLinks(m_path);
    } catch (const FileError&) {
    }
    QStringList paths;
    if (fileSystem().fileExists(target))
        paths << fromPath(target);
    const std::string folder = parentFolder(target);
    if (!folder.empty() && fileSystem().folderExists(folder))
        paths << fromPath(folder);
    if (!paths.isEmpty())
        m_watcher->addPaths(paths);
}

} // namespace qora::gui
