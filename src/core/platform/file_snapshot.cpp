#include "platform/file_snapshot.h"

#include <cstring>

#include "platform/file_system.h"

namespace qora {

std::uint64_t contentHash(std::string_view bytes) {
    // Eight bytes at a time, each word mixed in with a multiplication and a shift: fast enough to hash every file
    // QORA opens without the user noticing, and any change of a byte changes the result.
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = 0xCBF29CE484222325ull ^ (bytes.size() * kMultiplier);
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    const auto mix = [&hash](std::uint64_t word) {
        hash ^= word;
        hash *= kMultiplier;
        hash ^= hash >> 29;
    };
    for (; left >= 8; p += 8, left -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        mix(word);
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, left);
        mix(word);
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
