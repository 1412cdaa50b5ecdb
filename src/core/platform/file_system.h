#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qora {

// A file-system operation that failed. The message names the file and the system's reason, in a form the
// caller can put into its own message ("cannot write '/x/car.veh': No space left on device").
class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& message, std::string reason = {})
        : std::runtime_error(message), m_reason(reason.empty() ? message : std::move(reason)) {}
    // The system's reason alone ("No space left on device").
    const std::string& reason() const noexcept { return m_reason; }

private:
    std::string m_reason;
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
// Paths are byte strings in the platform's own encoding.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole content of a regular file. Throws FileError when it is missing, a folder or unreadable.
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

    virtual bool fileExists(const std::string& path) = 0;   // a regular file (or a link to one)
    virtual bool folderExists(const std::string& path) = 0;
    virtual bool pathExists(const std::string& path) = 0;   // file or folder
    virtual std::filesystem::file_time_type modificationTime(const std::string& path) = 0;
    // The names in a folder, in no particular order, without "." and "..". Throws FileError when the folder
    // is missing or cannot be read; a file system that cannot list folders throws it for every folder.
    virtual std::vector<FolderEntry> listFolder(const std::string& path);
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

// A name for a temporary file in the same folder as `target`, not in use at the time of the call.
std::string temporarySiblingPath(const std::string& target);

// New content staged beside its target: the bytes are written to a temporary file in the target's
// folder at construction; commit() renames it over the target. Until then the target is untouched,
// and a staged file that is never committed is deleted.
class StagedFile {
public:
    StagedFile(std::string target, std::string_view bytes); // throws FileError (no temporary file is left)
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    void commit(); // throws FileError; the temporary file is removed on failure
    const std::string& temporaryPath() const { return m_temporary; }

private:
    std::string m_target;
    std::string m_temporary;
    bool m_done = false;
};

// Writes a whole file so that it is either the old content or the new one, never half-written.
void writeFileAtomically(const std::string& path, std::string_view bytes);

// Creates a folder and every missing folder above it, outermost first. Throws FileError.
void createFolderPath(const std::string& folder);

// Path helpers on byte strings.
std::string parentFolder(const std::string& path);
std::string fileNameOf(const std::string& path);
std::string joinPath(const std::string& folder, const std::string& name);

} // namespace qora
