#pragma once

#include <string>

#include <QObject>

class QFileSystemWatcher;
class QTimer;

namespace qora::gui {

// Tells when a file on disk may have been changed by another program: it watches the file and its folder (a
// program that saves by replacing the file leaves a watch on the file alone behind), and reports a burst of
// changes once, a moment after it ends. Whether the content really changed is for the receiver to find out, by
// comparing it with what it last read or wrote.
class FileChangeWatcher final : public QObject {
    Q_OBJECT

public:
    explicit FileChangeWatcher(QObject* parent = nullptr);

    // Watches this file from now on (with its symbolic links followed); an empty path watches nothing.
    void watch(const std::string& path);
    const std::string& path() const { return m_path; }

signals:
    void changed();

private:
    void rewatch();

    std::string m_path;
    QFileSystemWatcher* m_watcher;
    QTimer* m_settle;
};

} // namespace qora::gui
