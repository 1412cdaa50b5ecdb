#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_lock.h"
#include "platform/file_system.h"

namespace qora {

// How every QORA writer replaces a file, so that a save never loses or misplaces a byte:
// - symbolic links are followed (a chain too) and the file they lead to is written, so a link stays a link; a
//   link whose target is missing creates that target; a loop of links is refused;
// - a file the user may not write is refused before anything is written;
// - the new content is written to a temporary file beside the target, flushed, given the target's permission
//   bits and (where the process may) its owner and group, and only then renamed over the target;
// - a file with more than one name (hard links), or one in a folder where no new file may be made, is written
//   in place instead, so every name sees the new content; a failed write puts the old content back;
// - the file stays locked against other QORA programs while it is written (FileLock);
// - temporary names stay within the system's name limit and carry the target's name and QORA's mark, so the
//   next save of the same file removes those left behind by a program that was killed;
// - every failure is a FileError whose message names the user's file, never a temporary one.

// The file a write to `path` reaches: `path` with its symbolic links followed. A link whose target is missing
// gives that target. Throws FileError (kind LinkLoop) for links that lead back to themselves.
std::string resolveLinks(const std::string& path);

// A name for a temporary file in the same folder as `target`, not in use at the time of the call. It starts
// with "." and the target's name (shortened where the whole name would be too long) and carries QORA's mark.
std::string temporarySiblingPath(const std::string& target);

// Removes the temporary files that earlier saves of `target` left behind when their program was killed; the
// temporary files of a save that is still running, and every other file, are left alone.
void removeStaleTemporaries(const std::string& target);

// New content staged for its file. The constructor checks the target, locks it, and writes the content to a
// temporary file beside it; commit() puts the content in place. Until then the file is untouched, and a staged
// file that is never committed is deleted.
class StagedFile {
public:
    // The staged content is a copy of another file's bytes.
    struct CopyOf {
        std::string source;
        // The copy takes the source's permission bits (a backup) instead of the replaced file's.
        bool withSourcePermissions = false;
    };

    StagedFile(std::string path, std::string_view bytes); // throws FileError (no temporary file is left)
    StagedFile(std::string path, const CopyOf& copy);     // throws FileError
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Throws FileError; the temporary file is removed on failure and the target keeps its old content.
    void commit();

    const std::string& path() const { return m_path; }     // as the caller named it
    const std::string& target() const { return m_target; } // the file really written
    // Empty when the content is written in place.
    const std::string& temporaryPath() const { return m_temporary; }

private:
    void prepare(const CopyOf* copy, std::string_view bytes);
    void commitInPlace();
    [[noreturn]] void failWith(const FileError& error) const;

    std::string m_path;
    std::string m_target;
    std::string m_temporary;
    std::optional<std::string> m_bytes; // the content, kept while it is to be written in place
    std::optional<std::string> m_copySource;
    FileLock m_lock;
    bool m_inPlace = false;
    bool m_done = false;
};

// Writes a whole file under the discipline above: it is either the old content or the new one, never
// half-written.
void writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace qora
