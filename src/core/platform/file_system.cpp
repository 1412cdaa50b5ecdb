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

[[noreturn]] void notRegular(const std::string& what, const std::string& path) {
    const std::string reason = "it is not a file but a device, a pipe or a socket";
    throw FileError(what + " " + quoted(path) + ": " + reason, reason, FileError::Kind::NotRegular);
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

} // namespace

std::string RealFileSystem::readFile(const std::string& path) {
#ifdef _WIN32
    std::error_code ec;
    const fs::file_status type = fs::status(path, ec);
    if (fs::is_directory(type))
        throw FileError("cannot read " + quoted(path) + ": it is a folder", "it is a folder");
    if (fs::exists(type) && !fs::is_regular_file(type))
        notRegular("cannot read", path);
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
    // Opened without waiting, so a pipe without a writer cannot hold the program up; only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
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
    if (!S_ISREG(info.st_mode))
        notRegular("cannot read", path);
    // O_NONBLOCK stays: it changes nothing for a regular file.
    // One read of the size the file has now; a file that grows meanwhile is read on to its end.
    std::string bytes;
    std::size_t used = 0;
    bytes.resize(info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 4096);
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

std::optional<std::string> FileSystem::linkTarget(const std::string&) {
    return std::nullopt;
}

FileStatus FileSystem::status(const std::string& path) {
    FileStatus status;
    if (folderExists(path)) {
        status.type = FileStatus::Type::Folder;
    } else if (fileExists(path)) {
        status.type = FileStatus::Type::Regular;
        status.permissions = 0644;
        status.linkCount = 1;
        status.modified = modificationTime(path);
    }
    return status;
}

bool FileSystem::mayWrite(const std::string&) {
    return true;
}

void FileSystem::setAttributes(const std::string&, const FileStatus&) {}

std::optional<std::string> RealFileSystem::linkTarget(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec)))
        return std::nullopt;
    const fs::path target = fs::read_symlink(path, ec);
    if (ec)
        fail("cannot read the link", path, ec);
    return target.string();
}

FileStatus RealFileSystem::status(const std::string& path) {
    FileStatus result;
#ifdef _WIN32
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec || !fs::exists(st))
        return result;
    result.type = fs::is_regular_file(st) ? FileStatus::Type::Regular
                  : fs::is_directory(st)  ? FileStatus::Type::Folder
                                          : FileStatus::Type::Other;
    result.permissions = static_cast<unsigned>(st.permissions()) & 07777;
    if (result.type == FileStatus::Type::Regular) {
        result.linkCount = fs::hard_link_count(path, ec);
        result.size = fs::file_size(path, ec);
    }
    result.modified = fs::last_write_time(path, ec);
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ELOOP)
            throw FileError("cannot open " + quoted(path) + ": it is a symbolic link that leads back to itself",
                            "it is a symbolic link that leads back to itself", FileError::Kind::LinkLoop);
        return result;
    }
    result.type = S_ISREG(info.st_mode)   ? FileStatus::Type::Regular
                  : S_ISDIR(info.st_mode) ? FileStatus::Type::Folder
                                          : FileStatus::Type::Other;
    result.permissions = static_cast<unsigned>(info.st_mode) & 07777;
    result.owner = static_cast<long long>(info.st_uid);
    result.group = static_cast<long long>(info.st_gid);
    result.linkCount = static_cast<std::uintmax_t>(info.st_nlink);
    result.size = static_cast<std::uintmax_t>(info.st_size);
    std::error_code ec;
    result.modified = fs::last_write_time(path, ec);
#endif
    return result;
}

bool RealFileSystem::mayWrite(const std::string& path) {
#ifdef _WIN32
    // Windows keeps a read-only attribute on files; folders are told apart by the write itself.
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec || fs::is_directory(st))
        return true;
    return (st.permissions() & fs::perms::owner_write) != fs::perms::none;
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return ::access(path.c_str(), W_OK | X_OK) == 0;
    return ::access(path.c_str(), W_OK) == 0;
#endif
}

void RealFileSystem::setAttributes(const std::string& path, const FileStatus& like) {
#ifdef _WIN32
    std::error_code ec;
    const bool readOnly = (like.permissions & 0200) == 0;
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add, ec);
    if (ec)
        fail("cannot set the permissions of", path, ec);
#else
    // The owner first: a change of owner clears the set-user-id bits, which the mode then puts back.
    // Only the superuser may give a file away; a group the user belongs to is kept where it can be.
    if (like.owner >= 0 && like.group >= 0) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 &&
            (static_cast<long long>(info.st_uid) != like.owner || static_cast<long long>(info.st_gid) != like.group)) {
            if (::chown(path.c_str(), static_cast<uid_t>(like.owner), static_cast<gid_t>(like.group)) != 0)
                (void)::chown(path.c_str(), static_cast<uid_t>(-1), static_cast<gid_t>(like.group));
        }
    }
    if (::chmod(path.c_str(), static_cast<mode_t>(like.permissions & 07777)) != 0)
        fail("cannot set the permissions of", path, errno);
#endif
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
