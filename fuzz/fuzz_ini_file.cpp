// libFuzzer target for the keyed text store: reads, typed reads, section listing and erasing, and writes on any
// bytes, with the file served from memory.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "memory_file_system.h"
#include "platform/text.h"
#include "store/keyed_text_file.h"

using namespace qora;
using qora::fuzzing::require;

namespace {

struct Names {
    std::string section;
    std::string key;
};

// The first section name and the first key the input spells, so the lookups also meet names the fuzzer made up.
Names namesIn(std::string_view bytes) {
    Names names;
    std::size_t start = 0;
    while (start < bytes.size() && (names.section.empty() || names.key.empty())) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        const std::string_view trimmed = text::trimView(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            if (names.section.empty())
                names.section = text::trim(trimmed.substr(1, trimmed.find(']') - 1));
        } else if (const auto eq = line.find('='); eq != std::string_view::npos && names.key.empty()) {
            names.key = text::trim(line.substr(0, eq));
        }
        start = end + 1;
    }
    return names;
}

// A name that a write must be able to read back: long enough to be a header, no blanks at its ends, and none of
// the characters that make a line a header, a comment or an assignment.
bool plainName(std::string_view name) {
    if (name.size() < 2 || text::isBlank(name.front()) || text::isBlank(name.back()))
        return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < ' ' || c == '[' || c == ']' || c == '=' || c == ';')
            return false;
    return true;
}

void readEverything(KeyedTextFile& store, const std::string& section, const std::string& key) {
    for (int instance = 0; instance < 3; ++instance) {
        store.readStringInstance(instance, section, key, "default");
        try {
            store.readBoolInstance(instance, section, key, true);
        } catch (const KeyedTextFileError&) {
        }
        try {
            store.readIntegerInstance(instance, section, key, 6000);
        } catch (const KeyedTextFileError&) {
        }
        try {
            store.readFloatInstance(instance, section, key, 0.5);
        } catch (const KeyedTextFileError&) {
        }
    }
}

void writeAndReadBack(KeyedTextFile& store, const std::string& section, const std::string& key) {
    const std::string value = "fuzz value";
    store.writeStringInstance(0, section, key, value);
    if (store.lines())
        require(store.readStringInstance(0, section, key, "") == value, "a written value reads back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzzing::MemoryFileSystem files;
    files.clear();
    ScopedFileSystem scope(files);
    const std::string path = fuzzing::MemoryFileSystem::kFolder + "/qora.ini";
    const std::string_view input = fuzzing::bytesOf(data, size);
    files.put(path, input);

    const Names found = namesIn(input);
    std::vector<std::string> saved;
    {
        std::optional<KeyedTextFile> verified(std::in_place, path);
        bool isText = true;
        try {
            verified->verifyFile();
        } catch (const KeyedTextFileError&) {
            isText = false;
        }
        require(isText == (verified->lines() != nullptr), "a store is closed exactly when verifying failed");
        // A store that failed its check is closed and reads as empty; the rest runs on a store that skipped the
        // check, so the parser also meets bytes the check refuses.
        if (!isText)
            verified.emplace(path);
        KeyedTextFile& store = *verified;

        readEverything(store, "SETTINGS", "Version");
        readEverything(store, "SETTINGS", "MaxGearRange");
        readEverything(store, "CHARTCOLORS", "ChartBackground");
        readEverything(store, found.section, found.key);
        readEverything(store, "SETTINGS", found.key);

        std::vector<std::string> keys;
        store.sectionExists(found.section);
        store.readSection("SETTINGS", keys);
        store.readSection(found.section, keys);

        writeAndReadBack(store, "FuzzSection", "FuzzKey");
        if (plainName(found.section) && plainName(found.key))
            writeAndReadBack(store, found.section, found.key);
        store.writeBoolInstance(1, found.section, "FuzzBool", true);
        store.writeIntegerInstance(2, "SETTINGS", found.key.empty() ? "FuzzInteger" : found.key, -42);
        store.writeFloatInstance(0, "SETTINGS", "FuzzFloat", 1.25);
        store.eraseSection(found.section);
        store.eraseSection("CHARTCOLORS");

        if (store.lines())
            saved = *store.lines();
    } // the store saves into memory here

    // What was saved reads back as the same lines.
    if (!saved.empty()) {
        KeyedTextFile reread(path);
        require(reread.lines() && *reread.lines() == saved, "a saved store reads back unchanged");
    }
    return 0;
}
