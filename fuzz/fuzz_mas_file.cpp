// libFuzzer target for the vehicle archive: reading the header and directory of any bytes, the entries' bytes,
// extraction, and writing one entry back, with the archive served from memory. A write-back must leave an
// archive that reads again with every other entry's bytes unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/vehicle_archive.h"
#include "fuzz_support.h"
#include "memory_file_system.h"
#include "platform/pickers.h"
#include "settings/settings.h"

using namespace qora;
using qora::fuzzing::require;

namespace {

const std::string kArchivePath = fuzzing::MemoryFileSystem::kFolder + "/Vehicle.Mas";
constexpr std::string_view kReplacement = "//DescFile=Fuzz Car\r\n//DescClass=GT2\r\n";

// Every entry's bytes in directory order, taken from the loaded archive itself.
std::vector<std::string> entryBytes(const VehicleArchive& mas) {
    std::vector<std::string> bytes;
    for (const ArchiveEntry& entry : *mas.Entries)
        bytes.emplace_back(std::string_view(*mas.Stream).substr(mas.DataStart + entry.Offset, entry.Size));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzzing::MemoryFileSystem files;
    files.clear();
    ScopedFileSystem scope(files);
    files.put(kArchivePath, fuzzing::bytesOf(data, size));

    fuzzing::AnsweringPrompt prompt(true);
    NoFilePicker picker;
    Settings settings;
    settings.setPrompt(prompt);
    settings.setProgramFolder(fuzzing::MemoryFileSystem::kFolder);

    VehicleArchive mas(settings, prompt, picker);
    try {
        mas.loadFile(kArchivePath);
    } catch (const VehicleArchiveError&) {
        return 0;
    }
    require(mas.Entries.has_value() == !mas.Stream->empty(), "a loaded archive has read its directory");
    if (!mas.Entries || mas.Entries->empty())
        return 0;

    // Listing, as the browser shows it, and the bytes of every entry.
    const std::vector<std::string> before = entryBytes(mas);
    for (const ArchiveEntry& entry : *mas.Entries) {
        require(mas.findEntry(entry.Name) != nullptr, "a listed entry is found by its name");
        const std::string bytes = mas.entryBytes(entry.Name);
        require(bytes.size() == mas.findEntry(entry.Name)->Size, "an entry's bytes have its size");
    }
    // Extraction of the first entry (the first of its name, so its own bytes); a name that is not a plain file
    // name must be refused. A name holding the marker of the throwaway copy names a different entry.
    const std::string firstName = mas.Entries->front().Name;
    if (firstName.find("~temp~") == std::string::npos) {
        try {
            const std::string path = mas.extractEntry(firstName, true);
            require(VehicleArchive::isPlainEntryName(firstName), "only a plain entry name becomes a file name");
            require(files.find(path) && *files.find(path) == before.front(), "an extracted entry holds its bytes");
        } catch (const VehicleArchiveError&) {
            require(!VehicleArchive::isPlainEntryName(firstName), "a plain entry name is extracted");
        }
    }

    // Writing the first entry back with a short text.
    const std::vector<std::string> names = [&] {
        std::vector<std::string> list;
        for (const ArchiveEntry& entry : *mas.Entries)
            list.push_back(entry.Name);
        return list;
    }();
    try {
        if (!mas.replaceEntry(firstName, kReplacement))
            return 0;
    } catch (const VehicleArchiveError&) {
        return 0;
    }

    fuzzing::AnsweringPrompt refusing(false);
    VehicleArchive reread(settings, refusing, picker);
    try {
        reread.loadFile(kArchivePath);
    } catch (const VehicleArchiveError& error) {
        std::fprintf(stderr, "fuzz: reading the written archive failed: %s\n", error.what());
        require(false, "a written archive reads again without a question");
    }
    require(reread.Entries && reread.Entries->size() == names.size(), "a written archive keeps its entries");
    const std::vector<std::string> after = entryBytes(reread);
    for (std::size_t i = 0; i < names.size(); ++i) {
        require((*reread.Entries)[i].Name == names[i], "a written archive keeps its names");
        require(after[i] == (i == 0 ? std::string(kReplacement) : before[i]),
                "a written archive holds the new entry and every other entry unchanged");
    }
    return 0;
}
