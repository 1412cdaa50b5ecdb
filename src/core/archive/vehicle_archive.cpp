#include "archive/vehicle_archive.h"

#include "archive/working_copy_names.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/file_snapshot.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/text.h"
#include "settings/settings.h"

namespace qora {

namespace {

constexpr std::uint64_t kHeaderSize = 8;
constexpr std::uint64_t kRecordSize = 32;
constexpr std::size_t kNameFieldSize = 16;
constexpr std::uint64_t kMaxField = std::numeric_limits<std::uint32_t>::max();

constexpr const char* kArchiveName = "Vehicle.Mas";
constexpr const char* kTemporaryMarker = "~temp~";

const char* const kHeaderEof = "Unexpected End Of File reading vehicle.mas header.";
const char* const kEntryEof =
    "FATAL: Unexpected End Of File reading vehicle.mas entry.  Your vehicle.mas file may be corrupt.";
const char* const kNoData = "No vehicle.mas data loaded into memory.";
const char* const kNoEntries = "No entries found in vehicle.mas file.";
const char* const kNotLocated = "Selected entry could not be located in the in-memory vehicle.mas file.  "
                                "Make sure that no other programs are running that alter your vehicle.mas file.  "
                                "You will have to reload the file into QORA.";

std::uint32_t readU32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

void writeU32(char* p, std::uint64_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string unsafeNameMessage(const std::string& name, const char* outcome) {
    return "The vehicle.mas entry name [" + name +
           "] is not a plain file name (it holds \"/\", \"\\\", \":\" or \"..\") and is never used to name a "
           "file.  " +
           outcome;
}

// The archive file in `folder`, its name matched without regard to letter case as on the game's own platform.
// "Vehicle.Mas" itself when no spelling of it exists.
std::string archiveIn(const std::string& folder) {
    const std::string preferred = joinPath(folder, kArchiveName);
    if (fileSystem().fileExists(preferred))
        return preferred;
    std::vector<FolderEntry> entries;
    try {
        entries = fileSystem().listFolder(folder);
    } catch (const FileError&) {
        return preferred; // no folder to look in: the message names the usual spelling
    }
    for (const FolderEntry& entry : entries)
        if (entry.isFile && text::iequals(entry.name, kArchiveName))
            return joinPath(folder, entry.name);
    return preferred;
}

} // namespace

VehicleArchive::VehicleArchive(Settings& settings, Prompt& prompt, FilePicker& picker)
    : m_settings(&settings), m_prompt(&prompt), m_picker(&picker) {}

VehicleArchive::~VehicleArchive() {
    unload();
}

void VehicleArchive::unload() {
    Entries.reset();
    Stream.reset();
    m_lock.release();
}

bool VehicleArchive::isPlainEntryName(std::string_view name) {
    return name.find_first_of("/\\:") == std::string_view::npos && name.find("..") == std::string_view::npos;
}

std::string VehicleArchive::workingCopyFolder() const {
    std::string folder = m_settings->masVehFolder();
    // Without a program folder the working copies would land in whatever the current folder is.
    if (folder.empty())
        throw VehicleArchiveError(
            "No folder for the working copies of vehicle.mas entries is known (the program folder is "
            "not set).");
    return folder;
}

bool VehicleArchive::load() {
    // An archive located by hand is used again, as long as it is there.
    if (!m_settings->archiveFile.empty()) {
        if (fileSystem().fileExists(m_settings->archiveFile)) {
            loadFile(m_settings->archiveFile);
            return true;
        }
        m_settings->archiveFile.clear();
    }
    // An unknown game folder is treated like one without "Dat": the archive is never looked for in the
    // working directory.
    const std::string gameFolder = m_settings->trevantFolder();
    std::string folder = gameFolder.empty() ? std::string() : joinPath(gameFolder, "Dat");
    if (folder.empty() || !fileSystem().folderExists(folder)) {
        // A user who chose to go on without a game folder works with folders only and is not asked for the archive.
        if (gameFolder.empty() && m_settings->gameFolderNotNow)
            return false;
        const std::string start = gameFolder.empty() ? m_settings->programFolder : gameFolder;
        const auto chosen =
            m_picker->pickFile("Locate Your Vehicle.Mas File", "Vehicle Mas File", "vehicle.mas", "mas", start);
        if (!chosen)
            return false;
        // Only the chosen file's folder counts: the archive in it is always the one named Vehicle.Mas.
        folder = parentFolder(*chosen);
        if (!fileSystem().folderExists(folder))
            throw VehicleArchiveError("The specified vehicle.mas file was invalid Folder-> [" + folder + "],.");
        FileName = archiveIn(folder);
        if (!fileSystem().fileExists(FileName))
            throw VehicleArchiveError("The specified vehicle.mas file was invalid -> [" + FileName + "].");
        m_settings->archiveFile = FileName;
        loadFile(FileName);
        return true;
    }
    FileName = archiveIn(folder);
    if (!fileSystem().fileExists(FileName))
        throw VehicleArchiveError("The specified vehicle.mas file was invalid -> [" + FileName + "].");
    loadFile(FileName);
    return true;
}

void VehicleArchive::loadFile(const std::string& archivePath) {
    unload();
    FileName = archivePath;
    if (!fileSystem().fileExists(archivePath))
        throw VehicleArchiveError("The specified vehicle.mas file was invalid -> [" + archivePath + "].");
    try {
        if (lockWhileLoaded)
            m_lock.acquire(resolveLinks(archivePath));
        Stream = fileSystem().readFile(archivePath);
    } catch (const FileError& e) {
        m_lock.release();
        throw VehicleArchiveError("The vehicle.mas file [" + archivePath + "] could not be read: " + e.reason() + ".");
    }

    const std::string& bytes = *Stream;
    if (bytes.size() < 4)
        throw VehicleArchiveError(kHeaderEof);
    EntryCount = readU32(bytes.data());
    if (bytes.size() < 8)
        throw VehicleArchiveError(kHeaderEof);
    DataSize = readU32(bytes.data() + 4);

    ExpectedSize = kHeaderSize + kRecordSize * EntryCount + DataSize;
    if (ExpectedSize != bytes.size()) {
        const PromptAnswer answer = m_prompt->ask(
            "QORA MAS Scan",
            "Vehicle.mas file header invalid or file is corrupt.  The size of the data specified in the MAS header "
            "does not match the actual size of data in the file.  It is recommended that you do NOT continue since "
            "doing so could case QORA to crash if the file is seriously corrupt.  Continue anyway?",
            PromptButtons::YesNo, PromptIcon::Stop);
        if (answer != PromptAnswer::Yes)
            throw VehicleArchiveError("MAS File load aborted.");
    }
    DataStart = kHeaderSize + kRecordSize * EntryCount;
    readEntries();
}

void VehicleArchive::readEntries() {
    if (!Stream || Stream->empty())
        return;
    const std::string_view bytes = *Stream;
    Entries.emplace();
    // The header's count is not trusted for the allocation: only records that fit in the file can be read.
    const std::uint64_t fitting = (bytes.size() - kHeaderSize) / kRecordSize;
    Entries->reserve(static_cast<std::size_t>(std::min<std::uint64_t>(EntryCount, fitting)));
    for (std::uint64_t i = 0; i < EntryCount; ++i) {
        const std::uint64_t at = kHeaderSize + kRecordSize * i;
        if (at + kRecordSize > bytes.size())
            throw VehicleArchiveError(kEntryEof);
        readEntry(bytes.substr(static_cast<std::size_t>(at), kRecordSize));
    }
}

void VehicleArchive::readEntry(std::string_view record) {
    ArchiveEntry entry;
    // A name field without a terminating NUL gives all of its 16 characters.
    const std::size_t nameLength = std::min(record.find('\0'), kNameFieldSize);
    entry.Name.assign(record.data(), nameLength);
    if (entry.Name.empty())
        throw VehicleArchiveError("FATAL: A vehicle entry in your vehicle.mas file is missing a filename.  "
                                  "Your vehicle.mas file may be corrupt.");
    entry.Offset = readU32(record.data() + 16);
    entry.Size = readU32(record.data() + 20);

    const std::uint64_t start = DataStart + entry.Offset;
    if (start + entry.Size > Stream->size())
        throw VehicleArchiveError("FATAL: File [" + entry.Name + "]" +
                                  " generated a read error.  This may be due to a lack of available memory or your "
                                  "vehicle.mas file is corrupt.");

    // The entry's text is scanned where it lies in the archive's buffer.
    const std::string_view data = entryData(entry);
    entry.DescFile = descriptionValue(data, "DescFile=", 255);
    entry.DescClass = descriptionValue(data, "DescClass=", 64);
    entry.UnlockPoints = descriptionValue(data, "UnlockPoints=", 255);

    if (!text::iequals(entry.Name, "DEFAULT.VHS")) {
        if (entry.DescFile.empty())
            throw VehicleArchiveError(
                "FATAL: File [" + entry.Name + "]" +
                " contains no valid Vehicle Description (car name).  Your vehicle.mas file may be "
                "corrupt.");
        if (entry.DescClass.empty())
            throw VehicleArchiveError(
                "FATAL: File [" + entry.Name + "]" +
                " contains no valid Vehicle Class (car class).  Your vehicle.mas file may be corrupt.");
    }
    Entries->push_back(std::move(entry));
}

std::string VehicleArchive::descriptionValue(std::string_view data, std::string_view key, std::size_t limit) {
    const std::size_t n = data.size();
    if (key.empty() || n < 3)
        return {};
    const char* const base = data.data();
    const char first = text::toLower(key[0]);
    std::size_t i = 0;
    // A comment line's slashes can start at any position that leaves room for one more character.
    while (i + 2 < n) {
        const void* slash = std::memchr(base + i, '/', n - 2 - i);
        if (slash == nullptr)
            break;
        i = static_cast<std::size_t>(static_cast<const char*>(slash) - base);
        if (base[i + 1] != '/' || text::toLower(base[i + 2]) != first) {
            ++i;
            continue;
        }
        const std::size_t valueStart = i + 2 + key.size();
        if (valueStart > n)
            return {};
        if (!text::iequals(data.substr(i + 2, key.size()), key)) {
            ++i;
            continue;
        }
        std::size_t end = valueStart;
        while (end < n) {
            const char c = base[end];
            if (c == '\r' || c == '\n' || (c == '/' && end + 1 < n && base[end + 1] == '/'))
                break;
            ++end;
        }
        if (end - valueStart >= limit)
            return {};
        return text::trim(data.substr(valueStart, end - valueStart));
    }
    return {};
}

const ArchiveEntry* VehicleArchive::findEntry(std::string_view name) const {
    if (!Entries)
        return nullptr;
    for (const ArchiveEntry& entry : *Entries)
        if (text::iequals(entry.Name, name))
            return &entry;
    return nullptr;
}

std::string_view VehicleArchive::entryData(const ArchiveEntry& entry) const {
    return std::string_view(*Stream).substr(static_cast<std::size_t>(DataStart + entry.Offset), entry.Size);
}

std::string VehicleArchive::entryBytes(const std::string& name) const {
    if (!Stream || Stream->empty())
        throw VehicleArchiveError(kNoData);
    if (!Entries || Entries->empty())
        throw VehicleArchiveError(kNoEntries);
    const ArchiveEntry* entry = findEntry(name);
    if (entry == nullptr)
        throw VehicleArchiveError(kNotLocated);
    return std::string(entryData(*entry));
}

std::string VehicleArchive::extractEntry(const std::string& name, bool asGhost) {
    const std::string folder = workingCopyFolder();
    const std::size_t marker = name.find(kTemporaryMarker);
    const bool throwaway = marker != std::string::npos;
    const std::string entryName = throwaway ? name.substr(0, marker) : name;
    if (!isPlainEntryName(entryName))
        throw VehicleArchiveError(unsafeNameMessage(entryName, "Extraction cancelled."));

    if (!fileSystem().folderExists(folder)) {
        try {
            fileSystem().createFolder(folder);
        } catch (const FileError&) {
            // The write below fails and reports it.
        }
    }

    std::string target;
    if (throwaway)
        target = joinPath(folder, std::string(kTemporaryMarker) + ".txt");
    else if (asGhost)
        target = joinPath(folder, std::string(kGhostCopyPrefix) + entryName);
    else
        target = joinPath(folder, std::string(kWorkingCopyPrefix) + entryName);

    // The working copy may hold edits saved since it was extracted: only the user may throw them away.
    if (!throwaway && !asGhost && fileSystem().fileExists(target)) {
        const PromptAnswer answer = m_prompt->ask(
            "QORA Mas Extraction",
            "You have already extracted the file '" + entryName + "' for editing.  " +
                "Select [Yes] to extract the requested file, thus overwriting the existing file or select [No] to "
                "load the existing file.",
            PromptButtons::YesNo, PromptIcon::Exclamation);
        if (answer != PromptAnswer::Yes)
            return target;
    }

    if (!Stream || Stream->empty())
        throw VehicleArchiveError(kNoData);
    if (!Entries || Entries->empty())
        throw VehicleArchiveError(kNoEntries);
    const ArchiveEntry* entry = findEntry(entryName);
    if (entry == nullptr)
        throw VehicleArchiveError(kNotLocated);
    writeFileAtomically(target, entryData(*entry));
    return target;
}

bool VehicleArchive::saveEntry(const std::string& name, std::optional<std::uint64_t> entryHashWhenOpened) {
    struct UnloadOnExit {
        VehicleArchive* file;
        ~UnloadOnExit() { file->unload(); }
    } unloadOnExit{this};

    if (!isPlainEntryName(name))
        throw VehicleArchiveError(unsafeNameMessage(name, "Save cancelled."));
    const std::string workingCopy = joinPath(workingCopyFolder(), std::string(kWorkingCopyPrefix) + name);
    lockWhileLoaded = true;
    if (!load())
        return false;
    if (const ArchiveEntry* entry = findEntry(name);
        entry && entryHashWhenOpened && contentHash(entryData(*entry)) != *entryHashWhenOpened &&
        m_prompt->ask("QORA Mas Writer",
                      "[" + entry->Name + "] in [" + FileName +
                          "] was changed by another program since QORA opened "
                          "it. Overwrite it with your edits?",
                      PromptButtons::YesNo, PromptIcon::Exclamation, PromptAnswer::No) != PromptAnswer::Yes)
        return false;
    std::string bytes;
    try {
        bytes = fileSystem().readFile(workingCopy);
    } catch (...) {
        unload();
        m_prompt->tell("QORA Veh File Load",
                       workingCopy + " could not be loaded into memory.  File save to vehicle.mas aborted.",
                       PromptIcon::Stop);
        throw;
    }
    return replaceEntry(name, bytes);
}

bool VehicleArchive::replaceEntry(const std::string& name, std::string_view bytes) {
    // A directory that was not read to its end would lose the entries it misses.
    if (!Stream || !Entries || Entries->size() != EntryCount)
        throw VehicleArchiveError(kNoData);
    const ArchiveEntry* edited = findEntry(name);
    if (edited == nullptr) {
        m_prompt->tell("QORA MAS Reader",
                       "File [" + name + "] was not found in vehicle.mas file." +
                           "  If you wish to insert/delete objects in a MAS file, use a MAS reader/writer" +
                           " which is specifically designed for this purpose.  Save cancelled.",
                       PromptIcon::Stop);
        return false;
    }

    const std::vector<ArchiveEntry>& entries = *Entries;
    const std::size_t k = static_cast<std::size_t>(edited - entries.data());
    const std::string tooLarge = "File [" + edited->Name +
                                 "] cannot be written back: vehicle.mas would grow "
                                 "beyond the 4 GB its offsets can address.  Save cancelled.";
    if (bytes.size() > kMaxField)
        throw VehicleArchiveError(tooLarge);

    // Entries whose data lies after the edited entry's data move by the change in size, wherever they stand in
    // the directory, so no entry's bytes are overwritten. Zero-length entries at the edited entry's end keep
    // their directory-order place.
    const std::uint64_t oldStart = edited->Offset;
    const std::uint64_t oldEnd = oldStart + edited->Size;
    const std::int64_t delta = static_cast<std::int64_t>(bytes.size()) - static_cast<std::int64_t>(edited->Size);
    std::vector<std::uint64_t> offsets(entries.size());
    std::uint64_t dataEnd = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ArchiveEntry& e = entries[i];
        std::uint64_t offset = e.Offset;
        std::uint64_t size = i == k ? bytes.size() : e.Size;
        if (i != k) {
            const std::uint64_t end = static_cast<std::uint64_t>(e.Offset) + e.Size;
            // Data shared with the edited entry would change with it: such an archive cannot be rebuilt safely.
            if (e.Size > 0 && e.Offset < oldEnd && end > oldStart)
                throw VehicleArchiveError("File [" + edited->Name + "] shares its data in vehicle.mas with file [" +
                                          e.Name + "].  Writing it back would damage that file.  Save cancelled.");
            if (e.Offset > oldEnd || (e.Offset == oldEnd && (e.Size > 0 || i > k)))
                offset = static_cast<std::uint64_t>(static_cast<std::int64_t>(e.Offset) + delta);
        }
        if (offset + size > kMaxField)
            throw VehicleArchiveError(tooLarge);
        offsets[i] = offset;
        dataEnd = std::max(dataEnd, offset + size);
    }

    // The whole archive is assembled in one buffer of its final size; bytes no entry covers stay zero.
    const std::uint64_t dataStart = kHeaderSize + kRecordSize * entries.size();
    std::string out(static_cast<std::size_t>(dataStart + dataEnd), '\0');
    writeU32(out.data(), entries.size());
    writeU32(out.data() + 4, dataEnd);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ArchiveEntry& e = entries[i];
        const std::string_view data = i == k ? bytes : entryData(e);
        char* record = out.data() + kHeaderSize + kRecordSize * i;
        std::memcpy(record, e.Name.data(), std::min(e.Name.size(), kNameFieldSize));
        writeU32(record + 16, offsets[i]);
        writeU32(record + 20, data.size());
        writeU32(record + 24, data.size());
        if (!data.empty())
            std::memcpy(out.data() + dataStart + offsets[i], data.data(), data.size());
    }

    try {
        writeFileAtomically(FileName, out);
    } catch (const FileError& e) {
        const bool readOnly = e.kind() == FileError::Kind::ReadOnly;
        throw VehicleArchiveError("The vehicle.mas file [" + FileName + "] could not be written: " + e.reason() +
                                  ".  It has been left as it was.  " +
                                  (readOnly
                                       ? "Allow writing to it, then save again."
                                       : "Make room on the disk or check that the folder may be written to, then save "
                                         "again."));
    }
    unload();
    return true;
}

} // namespace qora
