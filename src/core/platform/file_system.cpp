#include "platform/file_system.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include "platform/windows_api.h"
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

#ifndef _WIN32
[[noreturn]] void fail(const std::string& what, const std::string& path, int err) {
    throw FileError(what + " " + quoted(path) + ": " + std::strerror(err), std::strerror(err));
}
#endif

[[noreturn]] void fail(const std::string& what, const std::string& path, const std::error_code& ec) {
    throw FileError(what + " " + quoted(path) + ": " + ec.message(), ec.message());
}

[[noreturn]] void notRegular(const std::string& what, const std::string& path) {
    const std::string reason = "it is not a file but a device, a pipe or a socket";
    throw FileError(what + " " + quoted(path) + ": " + reason, reason, FileError::Kind::NotRegular);
}

#ifdef _WIN32
// The system's reason for a Windows error code, in the words QORA's messages use elsewhere.
std::string windowsReason(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "No such file or directory";
    case ERROR_ACCESS_DENIED:
        return "Permission denied";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "another program has the file open";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "No space left on device";
    case ERROR_WRITE_PROTECT:
        return "the disk is write-protected";
    default:
        break;
    }
    std::string text = std::system_category().message(static_cast<int>(code));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "Windows error " + std::to_string(code) : text;
}

[[noreturn]] void failWindows(const std::string& what, const std::string& path, DWORD code) {
    const std::string reason = windowsReason(code);
    throw FileError(what + " " + quoted(path) + ": " + reason, reason);
}

struct HandleCloser {
    HANDLE handle;
    ~HandleCloser() {
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
};

std::wstring wide(const std::string& path) {
    return nativePath(path).wstring();
}
#endif

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
    // Others may read, write or replace the file meanwhile, as with any program that only reads.
    HANDLE file =
        ::CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        failWindows("cannot open", path, ::GetLastError());
    HandleCloser closer{file};
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(file, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError("cannot read " + quoted(path) + ": it is a folder", "it is a folder");
    if (::GetFileType(file) != FILE_TYPE_DISK)
        notRegular("cannot read", path);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &n, nullptr))
            failWindows("cannot read", path, ::GetLastError());
        if (n == 0)
            break;
        bytes.append(buffer, n);
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
#ifdef _WIN32
    // Readers may look while the file is written; nobody else may write it. FlushFileBuffers puts the bytes on the
    // disk before the file counts as written.
    HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        failWindows("cannot create", path, ::GetLastError());
    HandleCloser closer{file};
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 24));
        DWORD n = 0;
        if (!::WriteFile(file, bytes.data() + written, chunk, &n, nullptr))
            failWindows("cannot write", path, ::GetLastError());
        written += n;
    }
    if (!::FlushFileBuffers(file))
        failWindows("cannot write", path, ::GetLastError());
#else
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        fail("cannot create", path, errno);
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int err = ok ? 0 : errno;
    if (ok && std::fflush(f) != 0) {
        ok = false;
        err = errno;
    }
    // Devices and pipes cannot be flushed to a disk; for them EINVAL only says so.
    if (ok && ::fsync(fileno(f)) != 0 && errno != EINVAL && errno != ENOTSUP) {
        ok = false;
        err = errno;
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok)
        fail("cannot write", path, err == 0 ? EIO : err);
#endif
}

void RealFileSystem::rename(const std::string& from, const std::string& to) {
#ifdef _WIN32
    const std::wstring source = wide(from);
    const std::wstring target = wide(to);
    // A file that is there is replaced the way Windows keeps its identity (creation time, security, streams); where
    // the volume cannot do that, a plain replacing move written through to the disk does the work.
    const DWORD targetAttributes = ::GetFileAttributesW(target.c_str());
    if (targetAttributes != INVALID_FILE_ATTRIBUTES && !(targetAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        // A program that holds the file without letting others replace it is named before anything is tried.
        HANDLE probe = ::CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) {
            const std::string reason = windowsReason(::GetLastError());
            throw FileError("cannot rename " + quoted(from) + " to " + quoted(to) + ": " + reason, reason);
        }
        ::CloseHandle(probe);
        if (::ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return;
    }
    if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return;
    const std::string reason = windowsReason(::GetLastError());
    throw FileError("cannot rename " + quoted(from) + " to " + quoted(to) + ": " + reason, reason);
#else
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec)
        throw FileError("cannot rename " + quoted(from) + " to " + quoted(to) + ": " + ec.message(), ec.message());
#endif
}

void RealFileSystem::removeFile(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(nativePath(path), ec)))
        throw FileError("cannot delete " + quoted(path) + ": it is a folder", "it is a folder");
    fs::remove(nativePath(path), ec);
    if (ec)
        fail("cannot delete", path, ec);
}

void RealFileSystem::copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(nativePath(from), nativePath(to), fs::copy_options::overwrite_existing, ec);
    if (ec)
        throw FileError("cannot copy " + quoted(from) + " to " + quoted(to) + ": " + ec.message(), ec.message());
    const auto time = fs::last_write_time(nativePath(from), ec);
    if (!ec)
        fs::last_write_time(nativePath(to), time, ec); // keeping the time is a courtesy; the copy itself succeeded
}

void RealFileSystem::createFolder(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(nativePath(path), ec))
        return;
    fs::create_directory(nativePath(path), ec);
    if (ec)
        fail("cannot create the folder", path, ec);
}

bool RealFileSystem::fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(nativePath(path), ec);
}

bool RealFileSystem::folderExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(nativePath(path), ec);
}

bool RealFileSystem::pathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(nativePath(path), ec);
}

fs::file_time_type RealFileSystem::modificationTime(const std::string& path) {
    std::error_code ec;
    const auto t = fs::last_write_time(nativePath(path), ec);
    if (ec)
        fail("cannot read the time of", path, ec);
    return t;
}

std::vector<FolderEntry> FileSystem::listFolder(const std::string& path) {
    throw FileError("cannot list the folder " + quoted(path) + ": not supported", "not supported");
}

std::vector<FolderEntry> RealFileSystem::listFolder(const std::string& path) {
    std::error_code ec;
    fs::directory_iterator it(nativePath(path), ec);
    if (ec)
        fail("cannot list the folder", path, ec);
    std::vector<FolderEntry> entries;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            fail("cannot list the folder", path, ec);
        // The type comes from the listing itself where the system gives it; only links need a look at their target.
        std::error_code typeError;
        FolderEntry entry;
        entry.name = pathText(it->path().filename());
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
    if (!fs::is_symlink(fs::symlink_status(nativePath(path), ec)))
        return std::nullopt;
    const fs::path target = fs::read_symlink(nativePath(path), ec);
    if (ec)
        fail("cannot read the link", path, ec);
    return pathText(target);
}

FileStatus RealFileSystem::status(const std::string& path) {
    FileStatus result;
#ifdef _WIN32
    // Asked of the file itself: the C runtime's stat counts one link for every file, and a hard-linked file taken
    // for a single one would be replaced rather than written in place.
    HANDLE file = ::CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) // there, but not to be opened (a system file in use, say)
            result.type =
                (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileStatus::Type::Folder : FileStatus::Type::Regular;
        return result;
    }
    HandleCloser closer{file};
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        result.type = FileStatus::Type::Other;
        return result;
    }
    if (!::GetFileInformationByHandle(file, &info))
        return result;
    const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    result.type = folder ? FileStatus::Type::Folder : FileStatus::Type::Regular;
    // The read-only attribute is the one permission Windows keeps with the file.
    result.permissions = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444u : (folder ? 0777u : 0666u);
    result.linkCount = info.nNumberOfLinks;
    result.size = (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    std::error_code ec;
    result.modified = fs::last_write_time(nativePath(path), ec);
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
    result.modified = fs::last_write_time(nativePath(path), ec);
#endif
    return result;
}

bool RealFileSystem::mayWrite(const std::string& path) {
#ifdef _WIN32
    // Windows keeps a read-only attribute on files (Explorer's "Read-only" box); a folder's attribute means
    // nothing for the files in it, so folders are told apart by the write itself.
    const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    return (attributes & FILE_ATTRIBUTE_READONLY) == 0;
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return ::access(path.c_str(), W_OK | X_OK) == 0;
    return ::access(path.c_str(), W_OK) == 0;
#endif
}

void RealFileSystem::setAttributes(const std::string& path, const FileStatus& like) {
#ifdef _WIN32
    const std::wstring native = wide(path);
    const DWORD attributes = ::GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        failWindows("cannot set the attributes of", path, ::GetLastError());
    const bool readOnly = (like.permissions & 0200) == 0;
    const DWORD wanted =
        readOnly ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    if (wanted != attributes && !::SetFileAttributesW(native.c_str(), wanted))
        failWindows("cannot set the attributes of", path, ::GetLastError());
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

fs::path nativePath(const std::string& path) {
#ifdef _WIN32
    if (path.empty())
        return {};
    // UTF-8 as QORA keeps it; bytes that are not UTF-8 (a name typed in an old program) are read in the system's
    // code page rather than dropped.
    UINT codePage = CP_UTF8;
    int size =
        ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()), nullptr, 0);
    if (size == 0) {
        codePage = CP_ACP;
        size = ::MultiByteToWideChar(codePage, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    }
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0, path.data(),
                          static_cast<int>(path.size()), text.data(), size);
    return fs::path(text);
#else
    return fs::path(path);
#endif
}

std::string pathText(const fs::path& path) {
#ifdef _WIN32
    const std::wstring& text = path.native();
    if (text.empty())
        return {};
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
#else
    return path.native();
#endif
}

std::string parentFolder(const std::string& path) {
    return pathText(nativePath(path).parent_path());
}

std::string fileNameOf(const std::string& path) {
    return pathText(nativePath(path).filename());
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    return pathText(nativePath(folder) / nativePath(name));
}

} // namespace qora
