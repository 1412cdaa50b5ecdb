#pragma once

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace qora::fuzzing {

// A file system held in memory, so a fuzz run reads its input and writes its saves without touching the disk
// and nothing one run writes is seen by the next (call clear() between runs). Files live in a flat map by
// path; a file can only be written into a folder that exists, as on a real disk.
class MemoryFileSystem final : public FileSystem {
public:
    MemoryFileSystem() { clear(); }

    // The folder the targets keep their files in; it exists from the start.
    inline static const std::string kFolder = "/fuzz";

    // Forgets every file and folder but the root and kFolder.
    void clear() {
        m_files.clear();
        m_folders = {"/", kFolder};
    }

    // Puts a file in place without going through the interface.
    void put(const std::string& path, std::string_view bytes) { m_files[path].bytes.assign(bytes); }
    const std::string* find(const std::string& path) const {
        const auto it = m_files.find(path);
        return it == m_files.end() ? nullptr : &it->second.bytes;
    }

    std::string readFile(const std::string& path) override {
        if (m_folders.count(path))
            throw FileError("cannot read '" + path + "': it is a folder", "it is a folder");
        const auto it = m_files.find(path);
        if (it == m_files.end())
            fail("cannot open", path, ENOENT);
        return it->second.bytes;
    }

    void writeFile(const std::string& path, std::string_view bytes) override {
        if (m_folders.count(path))
            fail("cannot create", path, EISDIR);
        if (!m_folders.count(parentOf(path)))
            fail("cannot create", path, ENOENT);
        File& file = m_files[path];
        file.bytes.assign(bytes);
        file.time = ++m_clock;
    }

    void rename(const std::string& from, const std::string& to) override {
        const auto it = m_files.find(from);
        if (it == m_files.end() || m_folders.count(to) || !m_folders.count(parentOf(to)))
            throw FileError("cannot rename '" + from + "' to '" + to + "': " + std::strerror(ENOENT),
                            std::strerror(ENOENT));
        File moved = std::move(it->second);
        m_files.erase(it);
        m_files[to] = std::move(moved);
    }

    void removeFile(const std::string& path) override {
        if (m_folders.count(path))
            throw FileError("cannot delete '" + path + "': it is a folder", "it is a folder");
        m_files.erase(path);
    }

    void copyFile(const std::string& from, const std::string& to) override {
        const auto it = m_files.find(from);
        if (it == m_files.end() || m_folders.count(to) || !m_folders.count(parentOf(to)))
            throw FileError("cannot copy '" + from + "' to '" + to + "': " + std::strerror(ENOENT),
                            std::strerror(ENOENT));
        m_files[to] = it->second;
    }

    void createFolder(const std::string& path) override {
        if (m_files.count(path))
            fail("cannot create the folder", path, EEXIST);
        if (!m_folders.count(parentOf(path)))
            fail("cannot create the folder", path, ENOENT);
        m_folders.insert(path);
    }

    bool fileExists(const std::string& path) override { return m_files.count(path) != 0; }
    bool folderExists(const std::string& path) override { return m_folders.count(path) != 0; }
    bool pathExists(const std::string& path) override { return fileExists(path) || folderExists(path); }

    std::filesystem::file_time_type modificationTime(const std::string& path) override {
        const auto it = m_files.find(path);
        if (it == m_files.end())
            fail("cannot read the time of", path, ENOENT);
        return std::filesystem::file_time_type(std::chrono::seconds(it->second.time));
    }

private:
    struct File {
        std::string bytes;
        long long time = 0;
    };

    static std::string parentOf(const std::string& path) {
        const auto slash = path.find_last_of('/');
        if (slash == std::string::npos)
            return {};
        return slash == 0 ? "/" : path.substr(0, slash);
    }

    [[noreturn]] static void fail(const std::string& what, const std::string& path, int err) {
        throw FileError(what + " '" + path + "': " + std::strerror(err), std::strerror(err));
    }

    std::map<std::string, File> m_files;
    std::set<std::string> m_folders;
    long long m_clock = 0;
};

} // namespace qora::fuzzing
