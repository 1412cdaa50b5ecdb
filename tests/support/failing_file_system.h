#pragma once

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "platform/file_system.h"

namespace qora::testing {

// The real file system with failures a test can switch on. A failing write really writes part of the bytes
// before it fails, as a full disk does, so a test sees exactly what a user would be left with.
class FailingFileSystem : public RealFileSystem {
public:
    // Writes fail after this many bytes (for every write whose path passes the filter); -1 never.
    long long failWritesAfterBytes = -1;
    // Renames to a path that passes the filter fail.
    bool failRenames = false;
    // Copies to a path that passes the filter fail.
    bool failCopies = false;
    // Copies to a path that passes the filter report success but leave out the source's last byte, as a copy
    // cut short without an error would.
    bool truncateCopies = false;
    // Deletes of a path that passes the filter fail.
    bool failRemoves = false;
    // Only paths for which this returns true are made to fail (all paths when empty).
    std::function<bool(const std::string&)> filter;

    int writeCalls = 0;
    int renameCalls = 0;

    void writeFile(const std::string& path, std::string_view bytes) override {
        ++writeCalls;
        if (failWritesAfterBytes >= 0 && matches(path)) {
            const auto n = std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(failWritesAfterBytes));
            RealFileSystem::writeFile(path, bytes.substr(0, n));
            throw FileError("cannot write '" + path + "': " + std::strerror(ENOSPC), std::strerror(ENOSPC));
        }
        RealFileSystem::writeFile(path, bytes);
    }

    void rename(const std::string& from, const std::string& to) override {
        ++renameCalls;
        if (failRenames && matches(to))
            throw FileError("cannot rename '" + from + "' to '" + to + "': " + std::strerror(EIO), std::strerror(EIO));
        RealFileSystem::rename(from, to);
    }

    void copyFile(const std::string& from, const std::string& to) override {
        if (failCopies && matches(to))
            throw FileError("cannot copy '" + from + "' to '" + to + "': " + std::strerror(ENOSPC), std::strerror(ENOSPC));
        RealFileSystem::copyFile(from, to);
        if (truncateCopies && matches(to)) {
            const std::string bytes = RealFileSystem::readFile(to);
            RealFileSystem::writeFile(to, std::string_view(bytes).substr(0, bytes.empty() ? 0 : bytes.size() - 1));
        }
    }

    void removeFile(const std::string& path) override {
        if (failRemoves && matches(path))
            throw FileError("cannot delete '" + path + "': " + std::strerror(EBUSY), std::strerror(EBUSY));
        RealFileSystem::removeFile(path);
    }

private:
    bool matches(const std::string& path) const { return !filter || filter(path); }
};

} // namespace qora::testing
