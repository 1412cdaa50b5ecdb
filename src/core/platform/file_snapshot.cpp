#include "platform/file_snapshot.h"

#include "platform/file_system.h"

namespace qora {

std::uint64_t contentHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

FileSnapshot snapshotOf(std::string_view bytes, std::filesystem::file_time_type modified) {
    FileSnapshot snapshot;
    snapshot.exists = true;
    snapshot.size = bytes.size();
    snapshot.modified = modified;
    snapshot.hash = contentHash(bytes);
    return snapshot;
}

FileSnapshot takeSnapshot(const std::string& path) {
    FileSystem& files = fileSystem();
    try {
        const FileStatus status = files.status(path);
        if (status.type != FileStatus::Type::Regular)
            return {};
        return snapshotOf(files.readFile(path), status.modified);
    } catch (const FileError&) {
        return {};
    }
}

bool changedOnDisk(const FileSnapshot& remembered, const std::string& path) {
    // The bytes are compared every time: a time stamp alone misses a change made within the same tick of a
    // coarse clock, and vehicle files are small.
    return !takeSnapshot(path).sameContent(remembered);
}

} // namespace qora
