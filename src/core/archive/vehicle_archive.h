#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_lock.h"
#include "platform/pickers.h"
#include "platform/prompt.h"

namespace qora {

class Settings;

// Failure of reading, extracting or writing back the vehicle archive; the message is the text the user reads.
class VehicleArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One entry of the archive's directory with the three description values found in its text.
struct ArchiveEntry {
    std::string Name;         // as stored in the directory (at most 16 characters)
    std::string DescFile;     // "//DescFile=": the car's display name
    std::string DescClass;    // "//DescClass=": the car's class
    std::string UnlockPoints; // "//UnlockPoints=": may be empty
    std::uint32_t Offset = 0; // relative to the start of the data region
    std::uint32_t Size = 0;
};

// The game's vehicle archive "Vehicle.Mas": a header (entry count, data size), a directory of 32-byte records
// (name, offset, size, second size, reserved) and the data region, all integers 32-bit little-endian.
// An object is loaded once, used and destroyed; every Load reads the archive from disk again.
class VehicleArchive {
public:
    // The settings give the game folder and the working-copy folder; the prompt asks the size question and shows
    // the write-back messages; the picker is the locate dialog. None is owned.
    VehicleArchive(Settings& settings, Prompt& prompt, FilePicker& picker);
    ~VehicleArchive();
    VehicleArchive(const VehicleArchive&) = delete;
    VehicleArchive& operator=(const VehicleArchive&) = delete;

    // Finds the archive, then LoadFile: the one located by hand before (settings.archiveFile) while it exists, else
    // the game folder's "Dat" folder's, else through the locate dialog (opened in the game folder or the program
    // folder), whose choice is remembered in settings.archiveFile. A user who chose "Not now" for the game folder
    // is not asked: false, as when the dialog was cancelled. Throws VehicleArchiveError.
    bool load();
    // Reads and checks the archive at archivePath and reads its directory. Asks whether to go on when the
    // header's sizes do not add up to the file's length. Throws VehicleArchiveError.
    void loadFile(const std::string& archivePath);
    void unload();

    // Writes the entry's bytes into the working-copy folder and returns the path: "vehiclemas=" + name for the
    // main vehicle (asks before replacing an existing working copy; No returns it untouched), "ghostmas=" + name
    // for the ghost, "~temp~.txt" when name ends in the "~temp~" marker. Throws VehicleArchiveError; a failed write
    // throws FileError.
    std::string extractEntry(const std::string& name, bool asGhost);
    // Reads the archive again (Load) and writes the working copy "vehiclemas=" + name back into it, with the
    // archive locked against other QORA programs from the read to the write. When the entry's bytes in the
    // archive no longer hash to `entryHashWhenOpened` (another program changed them since QORA extracted the
    // entry), asks whether to overwrite them; No returns false. False when the locate dialog was cancelled or the
    // entry is missing (after a message). Leaves the object unloaded. Throws VehicleArchiveError; passes on the
    // FileError of an unreadable working copy (after a message).
    bool saveEntry(const std::string& name, std::optional<std::uint64_t> entryHashWhenOpened = std::nullopt);
    // Replaces entry `name` with `bytes` in the loaded archive and writes the rebuilt archive over FileName in one
    // step (a failure leaves the file as it was and throws VehicleArchiveError). Entries whose data lies after the
    // entry's data move by the change in size. False (after the message) when the entry is missing. After a write the
    // object is unloaded: its copy no longer matches the file.
    bool replaceEntry(const std::string& name, std::string_view bytes);
    // The bytes of an entry found without regard to letter case. Throws VehicleArchiveError.
    std::string entryBytes(const std::string& name) const;

    // The first entry whose name equals `name` without regard to letter case; nullptr when there is none.
    const ArchiveEntry* findEntry(std::string_view name) const;

    // The value of the first comment line "//" + key in data (key matched without regard to case, the slashes
    // directly before it), up to the next "//", CR, LF or the end, trimmed. Empty when absent or when `limit`
    // characters were taken without reaching the value's end.
    static std::string descriptionValue(std::string_view data, std::string_view key, std::size_t limit);

    // Whether an entry name can be part of a file name: no path separator, no ":" and no "..".
    static bool isPlainEntryName(std::string_view name);

    std::optional<std::string> Stream; // the whole archive file as read; empty optional when nothing is loaded
    std::string FileName;
    std::optional<std::vector<ArchiveEntry>> Entries; // directory order; empty optional until read
    std::uint32_t EntryCount = 0;
    std::uint32_t DataSize = 0;
    // 8 + 32 * EntryCount + DataSize and 8 + 32 * EntryCount, kept in 64 bits so a huge entry count cannot wrap
    // around to a size that seems to match the file.
    std::uint64_t ExpectedSize = 0;
    std::uint64_t DataStart = 0;
    // When set, a load locks the archive against other QORA programs until the object is unloaded, so a read,
    // change and write-back cycle cannot lose another program's update.
    bool lockWhileLoaded = false;

private:
    void readEntries();
    void readEntry(std::string_view record);
    std::string_view entryData(const ArchiveEntry& entry) const;
    std::string workingCopyFolder() const;

    Settings* m_settings;
    Prompt* m_prompt;
    FilePicker* m_picker;
    FileLock m_lock;
};

} // namespace qora
