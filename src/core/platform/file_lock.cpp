#include "platform/file_lock.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

#include "platform/file_system.h"

#ifdef _WIN32
#include "platform/windows_api.h"

#include <cwctype>
#include <filesystem>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qora {

namespace {

// The locks this process holds, by the file's identity, each with the system's handle and how many FileLock
// objects share it.
struct HeldLock {
    std::intptr_t handle = -1;
    int count = 0;
    std::intptr_t file = -1; // Windows: the file, open with a sharing mode that keeps other writers out
};

std::mutex& heldLocksMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, HeldLock>& heldLocks() {
    static std::map<std::string, HeldLock> locks;
    return locks;
}

// Counts one more user of a lock this process already holds.
bool shareHeldLock(const std::string& key) {
    std::lock_guard<std::mutex> guard(heldLocksMutex());
    const auto it = heldLocks().find(key);
    if (it == heldLocks().end())
        return false;
    ++it->second.count;
    return true;
}

void recordHeldLock(const std::string& key, std::intptr_t handle, std::intptr_t file = -1) {
    std::lock_guard<std::mutex> guard(heldLocksMutex());
    heldLocks()[key] = HeldLock{handle, 1, file};
}

[[noreturn]] void failBusy(const std::string& path, std::chrono::milliseconds patience) {
    const auto seconds = std::max<long long>(1, static_cast<long long>((patience.count() + 999) / 1000));
    const std::string reason = "another program is saving it (it stayed locked for " + std::to_string(seconds) +
                               (seconds == 1 ? " second)" : " seconds)");
    throw FileError("cannot write '" + path + "': " + reason, reason, FileError::Kind::Busy);
}

constexpr std::chrono::milliseconds kRetryInterval{15};

#ifdef _WIN32

// Windows cannot replace a file that another handle holds open, so the lock is a named mutex for the file's
// full path (letter case folded), not a lock on the file itself.
std::wstring mutexNameFor(const std::string& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::weakly_canonical(std::filesystem::absolute(nativePath(path), ec), ec);
    std::wstring text = full.wstring();
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    std::uint64_t hash = 1469598103934665603ull;
    for (const wchar_t c : text) {
        hash ^= static_cast<std::uint64_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    swprintf(name, 64, L"Local\\QORA-file-lock-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

#else

std::string identityOf(const struct stat& info) {
    return std::to_string(static_cast<unsigned long long>(info.st_dev)) + ":" +
           std::to_string(static_cast<unsigned long long>(info.st_ino));
}

#endif

} // namespace

FileLock::FileLock(const std::string& path, std::chrono::milliseconds patience) {
    acquire(path, patience);
}

FileLock::~FileLock() {
    release();
}

FileLock::FileLock(FileLock&& other) noexcept : m_key(std::move(other.m_key)) {
    other.m_key.clear();
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        m_key = std::move(other.m_key);
        other.m_key.clear();
    }
    return *this;
}

#ifdef _WIN32

void FileLock::acquire(const std::string& path, std::chrono::milliseconds patience) {
    release();
    const std::wstring name = mutexNameFor(path);
    const std::string key(name.begin(), name.end());
    if (shareHeldLock(key)) {
        m_key = key;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + patience;
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex == nullptr)
        return; // no lock to be had: the write goes on as it would without one
    const DWORD waited = ::WaitForSingleObject(mutex, static_cast<DWORD>(patience.count()));
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        ::CloseHandle(mutex);
        failBusy(path, patience);
    }
    // Other programs may go on reading the file, and may delete or rename it, but not write it. A program that is
    // writing it right now is waited for like another QORA.
    const std::wstring file = nativePath(path).wstring();
    HANDLE shared = INVALID_HANDLE_VALUE;
    for (;;) {
        shared = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (shared != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::ReleaseMutex(mutex);
            ::CloseHandle(mutex);
            failBusy(path, patience);
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
    recordHeldLock(key, reinterpret_cast<std::intptr_t>(mutex),
                   shared == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(shared));
    m_key = key;
}

void FileLock::releaseFile() noexcept {
    if (m_key.empty())
        return;
    std::lock_guard<std::mutex> guard(heldLocksMutex());
    const auto it = heldLocks().find(m_key);
    if (it != heldLocks().end() && it->second.file != -1) {
        ::CloseHandle(reinterpret_cast<HANDLE>(it->second.file));
        it->second.file = -1;
    }
}

void FileLock::release() noexcept {
    if (m_key.empty())
        return;
    std::lock_guard<std::mutex> guard(heldLocksMutex());
    const auto it = heldLocks().find(m_key);
    if (it != heldLocks().end() && --it->second.count == 0) {
        if (it->second.file != -1)
            ::CloseHandle(reinterpret_cast<HANDLE>(it->second.file));
        HANDLE mutex = reinterpret_cast<HANDLE>(it->second.handle);
        ::ReleaseMutex(mutex);
        ::CloseHandle(mutex);
        heldLocks().erase(it);
    }
    m_key.clear();
}

#else

void FileLock::acquire(const std::string& path, std::chrono::milliseconds patience) {
    release();
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return; // nothing there (yet) to lose an update of
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            return;
        }
        const std::string key = identityOf(opened);
        if (shareHeldLock(key)) {
            ::close(fd);
            m_key = key;
            return;
        }
        bool locked = false;
        for (;;) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                locked = true;
                break;
            }
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK)
                break; // a file system without locks: the write goes on as it would without one
            if (std::chrono::steady_clock::now() >= deadline) {
                ::close(fd);
                failBusy(path, patience);
            }
            std::this_thread::sleep_for(kRetryInterval);
        }
        if (!locked) {
            ::close(fd);
            return;
        }
        // The holder may have replaced the file while this one waited: the lock counts only on the file the
        // path names now.
        struct stat current {};
        if (::stat(path.c_str(), &current) == 0 && identityOf(current) == key) {
            recordHeldLock(key, fd);
            m_key = key;
            return;
        }
        ::close(fd);
    }
}

void FileLock::releaseFile() noexcept {}

void FileLock::release() noexcept {
    if (m_key.empty())
        return;
    std::lock_guard<std::mutex> guard(heldLocksMutex());
    const auto it = heldLocks().find(m_key);
    if (it != heldLocks().end() && --it->second.count == 0) {
        ::close(static_cast<int>(it->second.handle));
        heldLocks().erase(it);
    }
    m_key.clear();
}

#endif

} // namespace qora
