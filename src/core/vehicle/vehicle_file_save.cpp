// Saving a vehicle file: the lines brought up to date with the entries (missing keys added, ended gears and
// torque points and empty optional sections dropped, values written in place), the editor stamp, the backups and
// the write that keeps the file's identity; and the checks a save and qora-cli make on the values.

#include "vehicle/vehicle_file.h"

#include <algorithm>
#include <utility>

#include "calc/number_text.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/value_rules.h"
#include "vehicle/vehicle_file_lines.h"

namespace qora {

using vehicle_lines::holdsOnlyHeader;
using vehicle_lines::isZero;
using vehicle_lines::readValue;

namespace {

// What the user can do about a save that failed, by what went wrong.
std::string saveAdvice(FileError::Kind kind) {
    constexpr const char* kUnchanged = "  The file on disk was not changed.";
    switch (kind) {
    case FileError::Kind::ReadOnly:
        return std::string(".  Allow writing to the file (its permissions or its read-only attribute), or save it "
                           "under another name with Save As.") +
               kUnchanged;
    case FileError::Kind::FolderReadOnly:
        return std::string(".  Allow writing to the folder, or save the file in another folder with Save As.") +
               kUnchanged;
    case FileError::Kind::Busy:
        return std::string(".  Wait until the other program has finished, then save again.") + kUnchanged;
    case FileError::Kind::LinkLoop:
        return std::string(".  Repair the link, or save the file under another name with Save As.") + kUnchanged;
    case FileError::Kind::Damaged:
        return ".  Your edits are still here: make room on the disk, then save again.";
    case FileError::Kind::NotRegular:
    case FileError::Kind::Other:
        break;
    }
    return std::string(".  Check that the folder exists, that you have enough disk space and that you may write "
                       "to it.") +
           kUnchanged;
}

} // namespace

int VehicleFile::findStampLine() const {
    const auto& L = *m_lines;
    for (auto i = static_cast<int>(L.size()) - 1; i >= 0; --i) {
        const std::string& line = L[static_cast<std::size_t>(i)];
        if (line.find("//") == std::string::npos)
            continue;
        const auto p = text::ifind(line, "EDITOR=");
        if (p == std::string::npos)
            continue;
        // The last line naming an editor decides; one with an empty name is no stamp.
        return text::trimView(std::string_view(line).substr(p + 7)).empty() ? -1 : i;
    }
    return -1;
}

int VehicleFile::listMissingEntries(std::vector<std::string>& target) const {
    int count = 0;
    for (int s = veh::SecDetails; s <= veh::SecRearWheels; ++s) {
        const SectionRec& sec = sections[static_cast<std::size_t>(s)];
        bool named = false;
        for (int e = 0; e < sec.keyCount; ++e) {
            const EntryRec& entry = sec.entries[static_cast<std::size_t>(e)];
            if (entry.line >= 0 || veh::isForbiddenKey(entry.key) || (s == veh::SecGears && e >= 2))
                continue;
            if (!named) {
                target.emplace_back(sec.name);
                named = true;
            }
            target.emplace_back(entry.key);
            ++count;
        }
    }
    return count;
}

void VehicleFile::close() {
    reset();
    torquePoints.clear();
}

void VehicleFile::insertLine(int index, std::string text) {
    auto shift = [index](int& line) {
        if (line >= index)
            ++line;
    };
    for (SectionRec& sec : sections) {
        shift(sec.line);
        for (EntryRec& e : sec.entries)
            shift(e.line);
    }
    for (TorquePoint& p : torquePoints)
        shift(p.line);
    index = std::min(index, static_cast<int>(m_lines->size()));
    m_lines->insert(m_lines->begin() + index, std::move(text));
}

void VehicleFile::deleteLine(int index) {
    auto shift = [index](int& line) {
        if (line > index)
            --line;
    };
    for (SectionRec& sec : sections) {
        shift(sec.line);
        for (EntryRec& e : sec.entries)
            shift(e.line);
    }
    for (TorquePoint& p : torquePoints)
        shift(p.line);
    m_lines->erase(m_lines->begin() + index);
}

void VehicleFile::releaseLine(int& line) {
    const int index = line;
    line = -1;
    if (index < 0)
        return;
    bool used = false;
    for (const SectionRec& sec : sections) {
        used = used || sec.line == index;
        for (const EntryRec& e : sec.entries)
            used = used || e.line == index;
    }
    for (const TorquePoint& p : torquePoints)
        used = used || p.line == index;
    if (!used)
        deleteLine(index);
}

void VehicleFile::writeValue(int index, const std::string& value, bool inParentheses) {
    std::string& line = (*m_lines)[static_cast<std::size_t>(index)];
    const std::string newText = inParentheses ? "(" + value + ")" : value;
    const auto eq = line.find('=');
    if (eq == std::string::npos)
        return;
    std::string oldText = readValue(line, false);
    // A value in parentheses ends at its ")": what follows it (a section header sharing the line) stays.
    if (inParentheses && !oldText.empty() && oldText.front() == '(') {
        if (const auto close = oldText.find(')'); close != std::string::npos)
            oldText.resize(close + 1);
    }
    if (oldText == newText)
        return;
    if (oldText.empty()) {
        line.insert(eq + 1, newText);
        return;
    }
    // The old value is looked for after the "=", so a key that holds the same text keeps its name. Only the value
    // is replaced: a comment after it stays (it may hold the details the file needs to open).
    const auto pos = line.find(oldText, eq + 1);
    line.replace(pos, oldText.size(), newText);
}

void VehicleFile::save(const std::string& path, bool prepareOnly) {
    if (!m_loaded)
        throw VehicleFileError("Internal Error: the vehicle file [" + fileName +
                               "] is not loaded and cannot be saved.");
    materializeLines();
    auto& L = *m_lines;

    // Optional sections that hold something and have no header get one, with a line for each key.
    for (int s : {veh::SecQora, veh::SecAiBasis, veh::SecParts}) {
        SectionRec& sec = sections[static_cast<std::size_t>(s)];
        if (sec.line >= 0)
            continue;
        const bool holdsSomething =
            std::any_of(sec.entries.begin(), sec.entries.end(), [](const EntryRec& e) { return !e.value.empty(); });
        if (!holdsSomething)
            continue;
        L.emplace_back();
        L.emplace_back(sec.name);
        sec.line = static_cast<int>(L.size()) - 1;
        for (EntryRec& e : sec.entries) {
            L.emplace_back(e.key);
            e.line = static_cast<int>(L.size()) - 1;
        }
    }

    // Missing keys of present sections go right after the key before them.
    for (int s = 0; s < veh::kSectionCount; ++s) {
        SectionRec& sec = sections[static_cast<std::size_t>(s)];
        if (sec.line < 0)
            continue;
        for (int e = 0; e < sec.keyCount; ++e) {
            EntryRec& entry = sec.entries[static_cast<std::size_t>(e)];
            if (entry.line >= 0 || veh::isForbiddenKey(entry.key))
                continue;
            int after = sec.line;
            for (int p = e - 1; p >= 0; --p) {
                if (sec.entries[static_cast<std::size_t>(p)].line >= 0) {
                    after = sec.entries[static_cast<std::size_t>(p)].line;
                    break;
                }
            }
            insertLine(after + 1, std::string(entry.key));
            entry.line = after + 1;
        }
    }
    for (std::size_t k = 0; k < torquePoints.size(); ++k) {
        if (torquePoints[k].line >= 0)
            continue;
        const int after = k == 0 ? sections[veh::SecEngine].line : torquePoints[k - 1].line;
        insertLine(after + 1, "rpm_torque=");
        torquePoints[k].line = after + 1;
    }

    // Gears: the first zero forward gear ends the gear list.
    auto& gears = sections[veh::SecGears].entries;
    for (std::size_t n = 1; n < gears.size(); ++n) {
        if (text::trimView(gears[n].value).empty())
            throw VehicleFileError("Internal Error: Gear [" + text::intToText(static_cast<long long>(n)) +
                                   "] contains no valid value (empty).");
        if (!isZero(gears[n].value))
            continue;
        for (std::size_t m = n; m < gears.size(); ++m) {
            releaseLine(gears[m].line);
            gears[m].value.clear();
        }
        break;
    }

    // Torque curve: from the third point on, the first zero torque or rpm ends the curve.
    for (std::size_t k = 2; k < torquePoints.size(); ++k) {
        const bool zeroRpm = isZero(torquePoints[k].rpm);
        if (!zeroRpm && !isZero(torquePoints[k].torque))
            continue;
        const std::size_t keep = zeroRpm ? k : k + 1;
        while (torquePoints.size() > keep) {
            releaseLine(torquePoints.back().line);
            torquePoints.pop_back();
        }
        break;
    }

    // Optional sections drop their empty entries, and their header when nothing is left.
    for (int s : {veh::SecQora, veh::SecAiBasis, veh::SecParts}) {
        SectionRec& sec = sections[static_cast<std::size_t>(s)];
        if (sec.line < 0)
            continue;
        for (EntryRec& e : sec.entries) {
            const auto v = text::trimView(e.value);
            if (e.line >= 0 && (v.empty() || (s == veh::SecParts && v == "0")))
                releaseLine(e.line);
        }
        if (std::none_of(sec.entries.begin(), sec.entries.end(), [](const EntryRec& e) { return e.line >= 0; })) {
            // A header written into a line that holds more (a value, a key) leaves the line as it is: removing
            // it would take that text with it. So does a header whose text stands again further down: without
            // this line, the next open would take that later line for the section's start, and the section before
            // it would end there.
            const auto header = static_cast<std::size_t>(sec.line);
            const bool repeated =
                std::any_of(L.begin() + static_cast<std::ptrdiff_t>(header) + 1, L.end(),
                            [&](const std::string& line) { return line.find(sec.name) != std::string::npos; });
            if (holdsOnlyHeader(L[header], sec.name) && !repeated)
                releaseLine(sec.line);
            else
                sec.line = -1;
        }
    }

    const std::string previousName = fileName;
    if (!prepareOnly && !path.empty())
        fileName = path;

    // Values into their lines.
    for (int s = 0; s < veh::kSectionCount; ++s) {
        SectionRec& sec = sections[static_cast<std::size_t>(s)];
        if (sec.line < 0)
            continue;
        for (int e = 0; e < sec.keyCount; ++e) {
            const EntryRec& entry = sec.entries[static_cast<std::size_t>(e)];
            if (entry.line >= 0 && !veh::isForbiddenKey(entry.key))
                writeValue(entry.line, entry.value, !veh::isBareValue(s, e));
        }
    }
    for (const TorquePoint& p : torquePoints)
        writeValue(p.line, p.rpm + ", " + p.torque, true);

    // Trailing blank lines go.
    for (int i = static_cast<int>(L.size()) - 1; i > 1 && text::trimView(L[static_cast<std::size_t>(i)]).empty(); --i)
        deleteLine(i);

    // Editor stamp.
    editorName = std::string(kEditorName) + " " + m_settings->stampVersion();
    if (const int stamp = findStampLine(); stamp >= 0) {
        std::string& line = L[static_cast<std::size_t>(stamp)];
        line.erase(text::ifind(line, "EDITOR=") + 7);
        line += editorName;
    } else {
        L.push_back("// Editor=" + editorName);
    }

    if (prepareOnly)
        return;

    // The new text is staged beside the file first; only then is the backup made and the file replaced, so a
    // failed write never costs the file on disk.
    // A file that is a link is written where the link leads, and the link stays.
    try {
        const std::string bytes =
            (m_byteOrderMark ? std::string(text::kByteOrderMark) : std::string()) + text::joinLinesCrLf(L);
        StagedFile staged(fileName, bytes);
        if (m_settings->backupFiles)
            makeBackup();
        staged.commit();
        diskSnapshot = snapshotOf(bytes);
    } catch (const FileError& error) {
        const std::string failedName = fileName;
        fileName = previousName;
        throw VehicleFileError("Error saving file [" + failedName + "]: " + error.reason() + saveAdvice(error.kind()));
    } catch (...) {
        fileName = previousName;
        throw;
    }
}

void VehicleFile::makeBackup() {
    try {
        m_settings->backupFile(fileName);
    } catch (const FileError& error) {
        const PromptAnswer answer =
            m_prompt->ask("QORA File IO",
                          "The backup of [" + fileName + "] could not be made (" + error.what() +
                              ").  Save the file without a "
                              "backup?",
                          PromptButtons::YesNo, PromptIcon::Exclamation, PromptAnswer::No);
        if (answer != PromptAnswer::Yes)
            throw VehicleFileError(
                "File [" + fileName + "] was not saved because its backup could not be made: " + error.reason() +
                ".  Make room on the disk or allow writing to its folder, or turn "
                "backups off (Backup Files in Preferences, --no-backup for qora-cli).  The file on disk "
                "was not changed.");
    }
}

bool VehicleFile::changedOnDisk() const {
    return qora::changedOnDisk(diskSnapshot, fileName);
}

void storeAbsentGearsAsZero(VehicleFile& vehicle) {
    for (EntryRec& gear : vehicle.sections[veh::SecGears].entries)
        if (gear.line < 0 && gear.value.empty())
            gear.value = "0.0000";
}

std::vector<std::string> valuesThatAreNotNumbers(const VehicleFile& vehicle) {
    std::vector<std::pair<int, std::string>> found;
    for (int s = 0; s < veh::kSectionCount; ++s) {
        const SectionRec& sec = vehicle.sections[static_cast<std::size_t>(s)];
        for (int e = 0; e < sec.keyCount; ++e) {
            const EntryRec& entry = sec.entries[static_cast<std::size_t>(e)];
            if (entry.line < 0 || s == veh::SecQora || veh::isTextEntry(s, e) || veh::isForbiddenKey(entry.key))
                continue;
            if (!veh::isNumberList(text::trimView(entry.value)))
                found.emplace_back(entry.line, "Line [" + text::intToText(entry.line) + "] Entry '" +
                                                   std::string(entry.key) + entry.value + "'");
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> texts;
    for (auto& [line, text] : found)
        texts.push_back(std::move(text));
    return texts;
}

} // namespace qora
