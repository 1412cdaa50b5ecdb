#include "platform/file_system.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace qora {

namespace {

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

[[noreturn]] void fail(const std::string& what, const std::string& path, int err) {
    throw FileError(what + " " + quoted(path) + ": " + std::strerror(err), std::strerror(err));
}

[[noreturn]] void fail(const std::string& what, const std::string& path, const std::error_code& ec) {
    throw FileError(what + " " + quoted(path) + ": " + ec.message(), ec.message());
}

FileSystem*& currentFileSystem() {
    static RealFileSystem real;
    static FileSystem* current = &real;
    return current;
}

struct FileCloser {
    void operator()(std::FILE* f) const noexcept {
        if (f)
            std::fclose(f);
    }
};

// Flushes a folder's entries to the disk, so a rename into it survives a power cut. Best effort: not every
// file system can do it, and the new content is already safe in the file itself.
void syncFolderOf(const std::string& path) {
#ifndef _WIN32
    const std::string folder = fs::path(path).parent_path().string();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)path;
#endif
}

} // namespace

std::string RealFileSystem::readFile(const std::string& path) {
#ifdef _WIN32
    std::error_code ec;
    if (fs::is_directory(path, ec))
        throw FileError("cannot read " + quoted(path) + ": it is a folder", "it is a folder");
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f)
        fail("cannot open", path, errno);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f.get());
        bytes.append(buffer, n);
        if (n < sizeof buffer) {
            if (std::ferror(f.get()))
                fail("cannot read", path, errno);
            break;
        }
    }
    return bytes;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail("cannot open", path, errno);
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        fail("cannot read", path, errno);
    if (S_ISDIR(info.st_mode))
        throw FileError("cannot read " + quoted(path) + ": it is a folder", "it is a folder");
    // One read of the size the file has now; a file that grows meanwhile is read on to its end.
    std::string bytes;
    std::size_t used = 0;
    bytes.resize(S_ISREG(info.st_mode) && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 4096);
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail("cannot read", path, errno);
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    return bytes;
#endif
}

void RealFileSystem::writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        fail("cannot create", path, errno);
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int err = ok ? 0 : errno;
    if (ok && std::fflush(f) != 0) {
        ok = false;
        err = errno;
    }
#ifdef _WIN32
    if (ok && _commit(_fileno(f)) != 0) {
        ok = false;
        err = errno;
    }
#else
    // Devices and pipes cannot be flushed to a disk; for them EINVAL only says so.
    if (ok && ::fsync(fileno(f)) != 0 && errno != EINVAL && errno != ENOTSUP) {
        ok = false;
        err = errno;
    }
#endif
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok)
        fail("cannot write", path, err == 0 ? EIO : err);
}

void RealFileSystem::rename(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec)
        throw FileError("cannot rename " + quoted(from) + " to " + quoted(to) + ": " + ec.message(), ec.message());
}

void RealFileSystem::removeFile(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(path, ec)))
        throw FileError("cannot delete " + quoted(path) + ": it is a folder", "it is a folder");
    fs::remove(path, ec);
    if (ec)
        fail("cannot delete", path, ec);
}

void RealFileSystem::copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec)
        throw FileError("cannot copy " + quoted(from) + " to " + quoted(to) + ": " + ec.message(), ec.message());
    const auto time = fs::last_write_time(from, ec);
    if (!ec)
        fs::last_write_time(to, time, ec); // keeping the time is a courtesy; the copy itself succeeded
}

void RealFileSystem::createFolder(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return;
    fs::create_directory(path, ec);
    if (ec)
        fail("cannot create the folder", path, ec);
}

bool RealFileSystem::fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool RealFileSystem::folderExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool RealFileSystem::pathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

fs::file_time_type RealFileSystem::modificationTime(const std::string& path) {
    std::error_code ec;
    const auto t = fs::last_write_time(path, ec);
    if (ec)
        fail("cannot read the time of", path, ec);
    return t;
}

std::vector<FolderEntry> FileSystem::listFolder(const std::string& path) {
    throw FileError("cannot list the folder " + quoted(path) + ": not supported", "not supported");
}

std::vector<FolderEntry> RealFileSystem::listFolder(const std::string& path) {
    std::error_code ec;
    fs::directory_iterator it(path, ec);
    if (ec)
        fail("cannot list the folder", path, ec);
    std::vector<FolderEntry> entries;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            fail("cannot list the folder", path, ec);
        // The type comes from the listing itself where the system gives it; only links need a look at their target.
        std::error_code typeError;
        FolderEntry entry;
        entry.name = it->path().filename().string();
        entry.isFile = it->is_regular_file(typeError);
        entry.isFolder = !entry.isFile && it->is_directory(typeError);
        entries.push_back(std::move(entry));
    }
    if (ec)
        fail("cannot list the folder", path, ec);
    return entries;
}

FileSystem& fileSystem() {
    return *currentFileSystem();
}

ScopedFileSystem::ScopedFileSystem(FileSystem& replacement) : m_previous(currentFileSystem()) {
    currentFileSystem() = &replacement;
}

ScopedFileSystem::~ScopedFileSystem() {
    currentFileSystem() = m_previous;
}

std::string temporarySiblingPath(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count() & 0xFFFFFFF);
    const std::string folder = parentFolder(target);
    std::string base = ".";
    base += fileNameOf(target);
    base += ".qora-";
    for (;;) {
        const std::string name = base + std::to_string(stamp) + "-" + std::to_string(counter++) + ".tmp";
        std::string candidate = joinPath(folder, name);
        if (!fileSystem().pathExists(candidate))
            return candidate;
    }
}

StagedFile::StagedFile(std::string target, std::string_view bytes)
    : m_target(std::move(target)), m_temporary(temporarySiblingPath(m_target)) {
    try {
        fileSystem().writeFile(m_temporary, bytes);
    } catch (...) {
        try {
            fileSystem().removeFile(m_temporary);
        } catch (...) {
        }
        throw;
    }
}

StagedFile::~StagedFile() {
    if (!m_done) {
        try {
            fileSystem().removeFile(m_temporary);
        } catch (...) {
        }
    }
}

void StagedFile::commit() {
    try {
        fileSystem().rename(m_temporary, m_target);
        m_done = true;
        syncFolderOf(m_target);
    } catch (...) {
        try {
            fileSystem().removeFile(m_temporary);
        } catch (...) {
        }
        m_done = true;
        throw;
    }
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    StagedFile staged(path, bytes);
    staged.commit();
}

void createFolderPath(const std::string& folder) {
    if (folder.empty() || fileSystem().folderExists(folder))
        return;
    const std::string parent = parentFolder(folder);
    if (!parent.empty() && parent != folder)
        createFolderPath(parent);
    fileSystem().createFolder(folder);
}

std::string parentFolder(const std::string& path) {
    return fs::path(path).parent_path().string();
}

std::string fileNameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    return (fs::path(folder) / name).string();
}

} // namespace qora
