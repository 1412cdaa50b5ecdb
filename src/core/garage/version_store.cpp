#include "garage/version_store.h"

#include <algorithm>

#include "browser/vehicle_list.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/prompt.h"
#include "platform/text.h"
#include "vehicle/vehicle_file.h"

namespace qora::garage {

namespace {

// "Unable to write version file [/g/bmw~fast.vfv].  No space left on device."
std::string failureText(std::string_view what, const std::string& path, const FileError& error) {
    return "Unable to " + std::string(what) + " [" + path + "].  " + error.reason() + ".";
}

} // namespace

// ---- Names ------------------------------------------------------------------------------------------------------

std::string versionBaseName(std::string_view vehiclePath) {
    const std::string name = text::toLower(fileNameOf(std::string(vehiclePath)));
    return name.substr(0, name.find('.'));
}

std::string versionFileName(std::string_view base, std::string_view title) {
    std::string name(base);
    name += '~';
    name += title;
    name += kVersionExtension;
    return name;
}

std::string notesPathOf(const std::string& versionPath) {
    const std::string name = fileNameOf(versionPath);
    const std::size_t dot = name.rfind('.');
    if (name.empty() || dot == std::string::npos)
        throw GarageError(versionPath + " is an invalid version filename.");
    return versionPath.substr(0, versionPath.size() - (name.size() - dot)) + std::string(kNotesExtension);
}

// ---- Titles -----------------------------------------------------------------------------------------------------

bool isForbiddenTitleCharacter(char c) {
    return static_cast<unsigned char>(c) < ' ' || c == '\x7f' ||
           kForbiddenTitleCharacters.find(c) != std::string_view::npos;
}

bool titleKeyAccepted(char c, Prompt& prompt) {
    if (!isForbiddenTitleCharacter(c))
        return true;
    prompt.beep();
    return false;
}

std::string cleanTitle(std::string_view title) {
    return text::trim(title);
}

std::string titleProblem(std::string_view cleanedTitle) {
    if (cleanedTitle.empty())
        return std::string(kNoTitle);
    if (cleanedTitle.size() > kMaxTitleLength)
        return std::string(kTitleTooLong);
    if (std::any_of(cleanedTitle.begin(), cleanedTitle.end(), isForbiddenTitleCharacter))
        return std::string(kTitleCharacters);
    return {};
}

// ---- The versions of a vehicle ----------------------------------------------------------------------------------

VersionListing listVersions(const std::string& garageFolder, std::string_view base) {
    VersionListing listing;
    std::vector<FolderEntry> entries;
    try {
        if (!garageFolder.empty())
            entries = fileSystem().listFolder(garageFolder);
    } catch (const FileError&) {
        return listing;
    }

    // base + "~*" + ".vfv": the characters of the base are taken literally.
    const std::string prefix = std::string(base) + '~';
    for (const FolderEntry& entry : entries) {
        const std::string& name = entry.name;
        if (entry.isFile && name.size() >= prefix.size() + kVersionExtension.size() &&
            text::istartsWith(name, prefix) && text::iendsWith(name, kVersionExtension))
            listing.files.push_back(name);
    }
    std::sort(listing.files.begin(), listing.files.end(),
              [](const std::string& a, const std::string& b) { return browser::alphabeticallyBefore(a, b); });

    for (std::size_t i = 0; i < listing.files.size(); ++i) {
        const std::string& name = listing.files[i];
        const std::size_t start = prefix.size();
        const std::string title = name.substr(start, name.find('.', start) - start);
        if (title.find('~') != std::string::npos)
            continue;
        VersionRecord record{title, static_cast<int>(i), {}};
        try {
            record.Date = fileSystem().modificationTime(joinPath(garageFolder, name));
        } catch (const FileError&) {
            continue; // gone since the listing
        }
        listing.versions.push_back(std::move(record));
    }
    // Oldest first; files of the same time in the listing's order, so the list does not change between looks.
    std::stable_sort(listing.versions.begin(), listing.versions.end(),
                     [](const VersionRecord& a, const VersionRecord& b) { return a.Date < b.Date; });
    return listing;
}

bool titleTaken(const std::vector<VersionRecord>& versions, std::string_view title) {
    return std::any_of(versions.begin(), versions.end(),
                       [title](const VersionRecord& v) { return text::iequals(v.Title, title); });
}

// ---- Files ------------------------------------------------------------------------------------------------------

std::string versionBytes(const VehicleFile& vehicle) {
    const std::vector<std::string>* lines = vehicle.lines();
    if (lines == nullptr)
        throw GarageError("No vehicle data loaded to save as a version.");
    return text::joinLinesCrLf(*lines);
}

void writeVersion(const std::string& versionPath, const VehicleFile& vehicle) {
    const std::string bytes = versionBytes(vehicle);
    try {
        writeFileAtomically(versionPath, bytes);
    } catch (const FileError& error) {
        throw GarageError(failureText("write version file", versionPath, error));
    }
}

std::string readNotes(const std::string& versionPath) {
    const std::string notesPath = notesPathOf(versionPath);
    if (!fileSystem().fileExists(notesPath))
        return {};
    try {
        return fileSystem().readFile(notesPath);
    } catch (const FileError& error) {
        throw GarageError(failureText("read version notes file", notesPath, error));
    }
}

NotesResult saveNotes(const std::string& versionPath, std::string_view notes) {
    if (versionPath.empty())
        throw GarageError("Cannot update version notes file due to invalid file name.");
    const std::string notesPath = notesPathOf(versionPath);
    try {
        if (!notes.empty()) {
            writeFileAtomically(notesPath, notes);
            return NotesResult::Saved;
        }
        if (!fileSystem().fileExists(notesPath))
            return NotesResult::Unchanged;
        fileSystem().removeFile(notesPath);
        return NotesResult::Deleted;
    } catch (const FileError& error) {
        throw GarageError(
            failureText(notes.empty() ? "delete version notes file" : "write version notes file", notesPath, error));
    }
}

DeleteResult deleteVersion(const std::string& versionPath) {
    if (!text::iendsWith(versionPath, kVersionExtension) || fileNameOf(versionPath).size() <= kVersionExtension.size())
        return DeleteResult::InvalidExtension;
    try {
        fileSystem().removeFile(versionPath);
    } catch (const FileError&) {
        return DeleteResult::Failed;
    }
    try {
        fileSystem().removeFile(notesPathOf(versionPath));
    } catch (const FileError&) {
        // The version is gone; notes left behind do no harm.
    }
    return DeleteResult::Deleted;
}

} // namespace qora::garage
