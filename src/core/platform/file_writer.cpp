#include "platform/file_writer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace qora {

namespace {

// The longest file name the systems QORA runs on allow, in bytes (Windows counts UTF-16 units, never more).
constexpr std::size_t kNameLimit = 255;
// ".", then the shortened name, then ".qora-" + 8 hexadecimal digits + "-" + process + "-" + counter + ".tmp".
constexpr std::size_t kReservedForMark = 1 + 6 + 8 + 1 + 10 + 1 + 10 + 4;
constexpr std::string_view kMark = ".qora-";
constexpr std::string_view kTemporarySuffix = ".tmp";
// A chain of symbolic links longer than this is taken for a loop, as the system itself does.
constexpr int kMaxLinkHops = 40;

unsigned long currentProcessId() {
#ifdef _WIN32
    return static_cast<unsigned long>(::GetCurrentProcessId());
#else
    return static_cast<unsigned long>(::getpid());
#endif
}

bool processIsRunning(unsigned long id) {
#ifdef _WIN32
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
#else
    if (id == 0 || id > 0x7FFFFFFFul)
        return false;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
#endif
}

std::uint32_t nameHash(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

// The part of every temporary name of `target` that comes before the process number.
std::string temporaryStem(const std::string& target) {
    const std::string name = fileNameOf(target);
    std::size_t keep = std::min(name.size(), kNameLimit - kReservedForMark);
    // A name is cut between characters, never inside one (UTF-8 continuation bytes are 10xxxxxx).
    while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
        --keep;
    char hash[9];
    std::snprintf(hash, sizeof hash, "%08x", static_cast<unsigned>(nameHash(name)));
    std::string stem = ".";
    stem += std::string_view(name).substr(0, keep);
    stem += kMark;
    stem += hash;
    stem += '-';
    return stem;
}

// The process number in a temporary name that starts with `stem` (with an empty stem: in any of QORA's temporary
// names); nothing when the name is not one of them.
std::optional<unsigned long> temporaryOwner(std::string_view name, std::string_view stem) {
    if (name.size() <= stem.size() + kTemporarySuffix.size() || name.substr(0, stem.size()) != stem ||
        name.substr(name.size() - kTemporarySuffix.size()) != kTemporarySuffix)
        return std::nullopt;
    const auto digits = [](std::string_view s) {
        return !s.empty() && s.size() <= 10 &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    // From the end: ".tmp", the counter, "-", the process, "-"; before them the mark and the name's hash.
    const std::string_view rest = name.substr(0, name.size() - kTemporarySuffix.size());
    const auto counterDash = rest.rfind('-');
    if (counterDash == std::string_view::npos || !digits(rest.substr(counterDash + 1)))
        return std::nullopt;
    const auto processDash = rest.rfind('-', counterDash == 0 ? 0 : counterDash - 1);
    if (processDash == std::string_view::npos || processDash < stem.size() - (stem.empty() ? 0 : 1))
        return std::nullopt;
    const std::string_view process = rest.substr(processDash + 1, counterDash - processDash - 1);
    if (!digits(process))
        return std::nullopt;
    // The mark and the hash: ".qora-" and 8 hexadecimal digits right before the process's dash.
    constexpr std::size_t kMarkAndHash = 6 + 8;
    if (processDash < kMarkAndHash + 1 || rest.substr(processDash - kMarkAndHash, 6) != kMark ||
        !std::all_of(rest.begin() + static_cast<std::ptrdiff_t>(processDash - 8),
                     rest.begin() + static_cast<std::ptrdiff_t>(processDash),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }))
        return std::nullopt;
    if (!stem.empty() && processDash + 1 != stem.size())
        return std::nullopt;
    const unsigned long long id = std::stoull(std::string(process));
    if (id > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<unsigned long>(id);
}

void removeQuietly(const std::string& path) {
    try {
        fileSystem().removeFile(path);
    } catch (const FileError&) {
    }
}

std::string folderOf(const std::string& path) {
    const std::string folder = parentFolder(path);
    return folder.empty() ? std::string(".") : folder;
}

// A folder as a message names it: in full, so "." says where it is.
std::string displayFolder(const std::string& folder) {
    std::error_code ec;
    const fs::path full = fs::absolute(nativePath(folder), ec);
    return ec ? folder : pathText(full.lexically_normal());
}

// Flushes a folder's entries to the disk, so a rename into it survives a power cut. Best effort: not every
// file system can do it, and the new content is already safe in the file itself.
void syncFolderOf(const std::string& path) {
#ifndef _WIN32
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)path;
#endif
}

} // namespace

std::string resolveLinks(const std::string& path) {
    FileSystem& files = fileSystem();
    std::string current = path;
    for (int hop = 0;; ++hop) {
        const std::optional<std::string> target = files.linkTarget(current);
        if (!target)
            return current;
        if (hop == kMaxLinkHops) {
            const std::string reason = "it is a symbolic link that leads back to itself";
            throw FileError("cannot write '" + path + "': " + reason, reason, FileError::Kind::LinkLoop);
        }
        current = nativePath(*target).is_absolute() ? *target : joinPath(parentFolder(current), *target);
    }
}

std::string temporarySiblingPath(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = parentFolder(target);
    const std::string stem = temporaryStem(target) + std::to_string(currentProcessId()) + "-";
    for (;;) {
        std::string candidate = joinPath(folder, stem + std::to_string(counter++) + std::string(kTemporarySuffix));
        if (!fileSystem().pathExists(candidate))
            return candidate;
    }
}

void removeStaleTemporaries(const std::string& target) {
    // A folder is looked through once per run of the program, not at every save: a folder of thousands of
    // vehicles would otherwise make each save read the whole listing. What a killed program left is there
    // before this one starts, so the first look finds it.
    static std::mutex mutex;
    static std::map<std::string, std::vector<std::string>> staleByFolder;
    const std::string folder = folderOf(target);
    const unsigned long self = currentProcessId();
    std::vector<std::string> doomed;
    {
        std::lock_guard<std::mutex> guard(mutex);
        auto found = staleByFolder.find(folder);
        if (found == staleByFolder.end()) {
            std::vector<std::string> stale;
            try {
                for (const FolderEntry& entry : fileSystem().listFolder(folder)) {
                    const std::optional<unsigned long> owner = temporaryOwner(entry.name, {});
                    if (entry.isFile && owner && *owner != self && !processIsRunning(*owner))
                        stale.push_back(entry.name);
                }
            } catch (const FileError&) {
            }
            found = staleByFolder.emplace(folder, std::move(stale)).first;
        }
        const std::string stem = temporaryStem(target);
        auto& names = found->second;
        for (auto it = names.begin(); it != names.end();) {
            if (temporaryOwner(*it, stem)) {
                doomed.push_back(*it);
                it = names.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const std::string& name : doomed)
        removeQuietly(joinPath(parentFolder(target), name));
}

StagedFile::StagedFile(std::string path, std::string_view bytes) : m_path(std::move(path)) {
    prepare(nullptr, bytes);
}

StagedFile::StagedFile(std::string path, const CopyOf& copy) : m_path(std::move(path)) {
    prepare(&copy, {});
}

StagedFile::~StagedFile() {
    if (!m_done && !m_temporary.empty())
        removeQuietly(m_temporary);
}

void StagedFile::failWith(const FileError& error) const {
    throw FileError("cannot write '" + m_path + "': " + error.reason(), error.reason(), error.kind());
}

void StagedFile::prepare(const CopyOf* copy, std::string_view bytes) {
    FileSystem& files = fileSystem();
    try {
        m_target = resolveLinks(m_path);
        m_lock.acquire(m_target);
    } catch (const FileError& error) {
        failWith(error);
    }

    const FileStatus existing = files.status(m_target);
    if (existing.type == FileStatus::Type::Folder)
        failWith(FileError("", "it is a folder"));
    if (existing.type == FileStatus::Type::Other)
        failWith(FileError("", "it is not a file but a device, a pipe or a socket", FileError::Kind::NotRegular));
    if (existing.exists() && !files.mayWrite(m_target))
        failWith(FileError("", "it is read-only", FileError::Kind::ReadOnly));
    const std::string folder = folderOf(m_target);
    // A folder that does not exist lets the write below fail with the system's own reason.
    const bool folderTakesNewFiles = !files.folderExists(folder) || files.mayWrite(folder);
    if (!folderTakesNewFiles && !existing.exists())
        failWith(FileError("", "its folder '" + displayFolder(folder) + "' may not be written to",
                           FileError::Kind::FolderReadOnly));

    // Every name of a hard-linked file must see the new content, and a folder that takes no new files leaves
    // no other way: the file is written in place.
    m_inPlace = existing.exists() && (existing.linkCount > 1 || !folderTakesNewFiles);
    if (m_inPlace) {
        if (copy)
            m_copySource = copy->source;
        else
            m_bytes = std::string(bytes);
        return;
    }

    const FileStatus attributes = copy && copy->withSourcePermissions ? files.status(copy->source) : existing;
    removeStaleTemporaries(m_target);
    try {
        m_temporary = temporarySiblingPath(m_target);
        if (copy)
            files.copyFile(copy->source, m_temporary);
        else
            files.writeFile(m_temporary, bytes);
        if (attributes.exists())
            files.setAttributes(m_temporary, attributes);
    } catch (const FileError& error) {
        if (!m_temporary.empty())
            removeQuietly(m_temporary);
        m_temporary.clear();
        m_done = true;
        failWith(error);
    }
}

void StagedFile::commitInPlace() {
    FileSystem& files = fileSystem();
    const std::string bytes = m_copySource ? files.readFile(*m_copySource) : *m_bytes;
    const std::string previous = files.readFile(m_target);
    try {
        files.writeFile(m_target, bytes);
    } catch (const FileError& error) {
        try {
            files.writeFile(m_target, previous);
        } catch (const FileError&) {
            throw FileError("",
                            error.reason() + ", and its previous content could not be put back: restore it from "
                                             "its backup",
                            FileError::Kind::Damaged);
        }
        throw FileError("", error.reason() + "; its previous content was put back", error.kind());
    }
}

void StagedFile::commit() {
    if (m_done)
        return;
    try {
        // Windows neither replaces nor rewrites a file that a handle keeps from other writers, this program's own
        // included: the file is let go of now, while the lock still keeps other saves out.
        m_lock.releaseFile();
        if (m_inPlace) {
            commitInPlace();
        } else {
            fileSystem().rename(m_temporary, m_target);
            syncFolderOf(m_target);
        }
        m_done = true;
    } catch (const FileError& error) {
        if (!m_temporary.empty())
            removeQuietly(m_temporary);
        m_done = true;
        m_lock.release();
        failWith(error);
    }
    m_lock.release();
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    StagedFile staged(path, bytes);
    staged.commit();
}

} // namespace qora
