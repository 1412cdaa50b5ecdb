#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qora {

// What QORA last read from or wrote to a file, so it can tell when another program has changed the file
// since: whether it existed, its size, its modification time and a hash of its bytes.
struct FileSnapshot {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    std::uint64_t hash = 0;

    // Same content: a file that was only touched, or written again with the same bytes, has not changed.
    bool sameContent(const FileSnapshot& other) const {
        return exists == other.exists && size == other.size && hash == other.hash;
    }
};

// A hash of a file's bytes: equal bytes give equal hashes, and a changed file gives another one but for a chance
// too small to matter. Not for defence against someone crafting collisions.
std::uint64_t contentHash(std::string_view bytes);

// The snapshot of a file whose bytes were just read or written. The time is for the record only: changes are told
// by the bytes.
FileSnapshot snapshotOf(std::string_view bytes, std::filesystem::file_time_type modified = {});

// The snapshot of the file at `path` as it is now, read through the file-system seam; a file that cannot be read
// counts as missing.
FileSnapshot takeSnapshot(const std::string& path);

// Whether the file at `path` has another content now than `remembered` records: changed, created or deleted.
bool changedOnDisk(const FileSnapshot& remembered, const std::string& path);

} // namespace qora
