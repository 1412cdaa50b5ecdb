#pragma once

#include <chrono>
#include <string>

namespace qora {

// An advisory lock on a file that QORA reads, changes and writes back, so that two QORA programs (the editor
// and a script's qora-cli, or two qora-cli runs) never interleave their read-change-write cycles and lose one
// update. On POSIX systems the lock is on the file itself (flock), taken again when the file was replaced by
// another program while this one waited. On Windows it is a named mutex for the file's full path (letter case
// folded, as Windows compares names), and the file is held open with a sharing mode that lets others read but not
// write it, so no other program changes it during the cycle either; Windows cannot replace a file a handle holds,
// so the writer lets go of that handle (releaseFile) right before it replaces the file.
//
// Locks are counted within the process: the command that holds a file for its whole cycle and the writer that
// replaces the file share one lock. A file that does not exist (yet) is not locked.
class FileLock {
public:
    static constexpr std::chrono::milliseconds kDefaultPatience{10000};

    FileLock() = default;
    // Waits up to `patience` for the lock. Throws FileError (kind Busy) naming the file when it stays locked.
    explicit FileLock(const std::string& path, std::chrono::milliseconds patience = kDefaultPatience);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;

    void acquire(const std::string& path, std::chrono::milliseconds patience = kDefaultPatience);
    void release() noexcept;
    // Lets go of the file itself while keeping other QORA programs out (Windows; nothing elsewhere).
    void releaseFile() noexcept;
    bool held() const { return !m_key.empty(); }

private:
    std::string m_key; // the file's identity while the lock is held
};

} // namespace qora
