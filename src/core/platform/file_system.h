#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qora {

// A file-system operation that failed. The message names the file and the system's reason, in a form the
// caller can put into its own message ("cannot write '/x/car.veh': No space left on device").
class FileError : public std::runtime_error {
public:
    // What went wrong, where a caller gives advice of its own for it.
    enum class Kind {
        Other,          // the system's reason says it (no space, no such folder, ...)
        ReadOnly,       // the file exists and may not be written by this user
        FolderReadOnly, // no new file may be made in the file's folder
        NotRegular,     // a device, a pipe or a socket where a file was expected
        LinkLoop,       // a symbolic link that leads back to itself
        Busy,           // another program kept the file locked for longer than QORA waits
        Damaged,        // a write in place failed and the file's previous content could not be put back
    };

    explicit FileError(const std::string& message, std::string reason = {}, Kind kind = Kind::Other)
        : std::runtime_error(message), m_reason(reason.empty() ? message : std::move(reason)), m_kind(kind) {}
    // The system's reason alone ("No space left on device").
    const std::string& reason() const noexcept { return m_reason; }
    Kind kind() const noexcept { return m_kind; }

private:
    std::string m_reason;
    Kind m_kind;
};

// What the system tells of a path, its symbolic links followed.
struct FileStatus {
    enum class Type { Missing, Regular, Folder, Other };
    Type type = Type::Missing;
    unsigned permissions = 0; // the permission bits (07777 on POSIX systems)
    long long owner = -1;     // user and group ids; -1 where the system has none
    long long group = -1;
    std::uintmax_t linkCount = 0; // how many names (hard links) the file has
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};

    bool exists() const { return type != Type::Missing; }
};

// One name of a folder listing. A name that is neither a regular file nor a folder (a device, a pipe, a
// dangling link) is listed with both flags false.
struct FolderEntry {
    std::string name;
    bool isFile = false;   // a regular file, or a link to one
    bool isFolder = false; // a folder, or a link to one
};

// Every file access of the core goes through this interface, so tests can make any operation fail for
// real (a full disk half-way through a write, a rename refused) and prove that no data is lost.
// Paths are byte strings: the system's own on Linux, UTF-8 on Windows (see nativePath).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole content of a regular file. Throws FileError when it is missing, a folder or unreadable, and
    // at once (kind NotRegular) when it is a device, a pipe or a socket.
    virtual std::string readFile(const std::string& path) = 0;
    // Creates or truncates the file and writes all bytes, flushed to the disk. Throws FileError.
    virtual void writeFile(const std::string& path, std::string_view bytes) = 0;
    // Renames a file, replacing an existing file at `to`. Throws FileError.
    virtual void rename(const std::string& from, const std::string& to) = 0;
    // Deletes a file; a missing file is not an error. Throws FileError.
    virtual void removeFile(const std::string& path) = 0;
    // Copies a file's bytes, replacing `to`, and gives the copy the original's modification time.
    virtual void copyFile(const std::string& from, const std::string& to) = 0;
    // Creates one folder level; an existing folder is not an error. Throws FileError.
    virtual void createFolder(const std::string& path) = 0;

    virtual bool fileExists(const std::string& path) = 0; // a regular file (or a link to one)
    virtual bool folderExists(const std::string& path) = 0;
    virtual bool pathExists(const std::string& path) = 0; // file or folder
    virtual std::filesystem::file_time_type modificationTime(const std::string& path) = 0;
    // The names in a folder, in no particular order, without "." and "..". Throws FileError when the folder
    // is missing or cannot be read; a file system that cannot list folders throws it for every folder.
    virtual std::vector<FolderEntry> listFolder(const std::string& path);

    // Where a symbolic link points, as it is written in the link; nothing when the path is not a link.
    virtual std::optional<std::string> linkTarget(const std::string& path);
    // Type, permissions, owner, link count, size and time of the file a path names (links followed).
    virtual FileStatus status(const std::string& path);
    // Whether this process may write to the file or folder (for a folder: make and remove files in it).
    virtual bool mayWrite(const std::string& path);
    // Gives a file the owner and group (where this process may) and the permission bits of `like`.
    // Throws FileError when the permission bits cannot be set.
    virtual void setAttributes(const std::string& path, const FileStatus& like);
};

// The real file system of the machine.
class RealFileSystem : public FileSystem {
public:
    std::string readFile(const std::string& path) override;
    void writeFile(const std::string& path, std::string_view bytes) override;
    void rename(const std::string& from, const std::string& to) override;
    void removeFile(const std::string& path) override;
    void copyFile(const std::string& from, const std::string& to) override;
    void createFolder(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    bool pathExists(const std::string& path) override;
    std::filesystem::file_time_type modificationTime(const std::string& path) override;
    std::vector<FolderEntry> listFolder(const std::string& path) override;
    std::optional<std::string> linkTarget(const std::string& path) override;
    FileStatus status(const std::string& path) override;
    bool mayWrite(const std::string& path) override;
    void setAttributes(const std::string& path, const FileStatus& like) override;
};

// The file system the core uses now: the real one unless a test has put another in place.
FileSystem& fileSystem();

// Puts another file system in place for the lifetime of this object (tests only).
class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& replacement);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* m_previous;
};

// Creates a folder and every missing folder above it, outermost first. Throws FileError.
void createFolderPath(const std::string& folder);

// A path as QORA keeps it, for the file system library: on Windows QORA's paths are UTF-8 and the system's calls
// take UTF-16, so every path goes through here on its way to the system (a name with any characters opens).
// Elsewhere the bytes are the system's own and pass unchanged.
std::filesystem::path nativePath(const std::string& path);
// A path from the file system library as QORA keeps it (UTF-8 on Windows).
std::string pathText(const std::filesystem::path& path);

// Path helpers on byte strings.
std::string parentFolder(const std::string& path);
std::string fileNameOf(const std::string& path);
std::string joinPath(const std::string& folder, const std::string& name);

} // namespace qora
