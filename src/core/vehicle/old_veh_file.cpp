#include "vehicle/old_veh_file.h"

#include <algorithm>
#include <utility>

#include "calc/number_text.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "settings/settings.h"

namespace qora {

namespace {

constexpr const char* kValidationTitle = "QORA Veh File Validation";
constexpr const char* kAbortedText = "File loading process aborted by user.";

// The value of a key line: the text after the first "=", cut at "//", trimmed; for a value in parentheses,
// the first "(" and everything from the first ")" on are dropped.
std::string readValue(std::string_view line, bool inParentheses) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return {};
    std::string_view v = line.substr(eq + 1);
    if (const auto c = v.find("//"); c != std::string_view::npos)
        v = v.substr(0, c);
    std::string value = text::trim(v);
    if (inParentheses) {
        if (const auto p = value.find('('); p != std::string::npos)
            value.erase(p, 1);
        if (const auto q = value.find(')'); q != std::string::npos)
            value.erase(q);
        value = text::trim(value);
    }
    return value;
}

bool isNumericText(std::string_view value) {
    return std::all_of(value.begin(), value.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ',';
    });
}

// A key stands on the line when its text occurs there and not after a "//".
std::size_t keyPosition(std::string_view lowerLine, std::string_view lowerKey) {
    const auto k = lowerLine.find(lowerKey);
    if (k == std::string_view::npos)
        return k;
    const auto c = lowerLine.find("//");
    if (c != std::string_view::npos && c < k)
        return std::string_view::npos;
    return k;
}

// Whether a line holds a detail key ("//DescFile=", any letter case). Every detail key starts with "//", so
// only the places where "//" occurs need a closer look; this keeps large files quick.
bool holdsDetailKey(std::string_view line, std::string_view key) {
    for (auto p = line.find("//"); p != std::string_view::npos; p = line.find("//", p + 1))
        if (text::iequals(line.substr(p, key.size()), key))
            return true;
    return false;
}

bool isZero(const std::string& text) {
    const auto v = numbers::parseDouble(text::trimView(text));
    return v && *v == 0;
}

} // namespace

TOldVehFile::TOldVehFile(std::string fileName, Prompt& prompt, TSettings& settings)
    : fileName(std::move(fileName)), m_prompt(&prompt), m_settings(&settings) {
    initTable();
}

void TOldVehFile::initTable() {
    for (int s = 0; s < veh::kSectionCount; ++s) {
        SectionRec& sec = sections[static_cast<std::size_t>(s)];
        const auto keys = veh::sectionKeys(s);
        sec.name = std::string(veh::sectionName(s));
        sec.line = -1;
        sec.keyCount = static_cast<int>(keys.size());
        sec.hasBareValues = s == veh::SecDetails || s == veh::SecSounds || s == veh::SecParts || s == veh::SecQora;
        sec.bareEntry = -1;
        sec.entries.assign(keys.size(), EntryRec{});
        for (int e = 0; e < sec.keyCount; ++e) {
            EntryRec& entry = sec.entries[static_cast<std::size_t>(e)];
            entry.key = std::string(keys[static_cast<std::size_t>(e)]);
            entry.instance = veh::keyInstance(s, e);
            if (!sec.hasBareValues && veh::isBareValue(s, e))
                sec.bareEntry = e;
        }
    }
    torquePoints.clear();
    maxRpm = 0;
    maxTorque = 0;
}

bool TOldVehFile::isBare(int section, int entry) const {
    return veh::isBareValue(section, entry);
}

EntryRec* TOldVehFile::findEntry(int section, std::string_view key, int instance) {
    return const_cast<EntryRec*>(std::as_const(*this).findEntry(section, key, instance));
}

const EntryRec* TOldVehFile::findEntry(int section, std::string_view key, int instance) const {
    const int e = veh::entryIndex(section, key, instance);
    return e < 0 ? nullptr : &sections[static_cast<std::size_t>(section)].entries[static_cast<std::size_t>(e)];
}

void TOldVehFile::torqueError(int line, std::size_t position) const {
    throw EOldVehFile("FATAL: Line (" + text::intToText(line) + "), rpm_torque entry [" +
                      text::intToText(static_cast<long long>(position)) +
                      "] is invalid.  Open the file in NotePad and fix this error, then retry loading the file again "
                      "into QORA.");
}

int TOldVehFile::Load(int mode) {
    if (m_lines)
        return static_cast<int>(m_lines->size());

    ghost = mode == ModeGhost;
    initTable();
    editorName.clear();

    std::vector<std::string> lines;
    if (mode == ModeNew) {
        lines = veh::templateLines();
    } else {
        std::string bytes;
        try {
            bytes = fileSystem().readFile(fileName);
        } catch (const FileError&) {
            throw EOldVehFile("FATAL: File is either not a text VEH file or is corrupt: [" + fileName + "]");
        }
        lines = text::splitLines(bytes);
    }
    m_lines = std::move(lines);
    std::vector<std::string>& L = *m_lines;
    const int count = static_cast<int>(L.size());

    // Details: the first line holding each detail key, in any letter case.
    SectionRec& details = sections[veh::SecDetails];
    for (EntryRec& entry : details.entries) {
        for (int i = 0; i < count; ++i) {
            if (holdsDetailKey(L[static_cast<std::size_t>(i)], entry.key)) {
                entry.line = i;
                entry.value = readValue(L[static_cast<std::size_t>(i)], false);
                break;
            }
        }
    }
    details.line = details.entries[0].line;
    if (details.entries[0].line < 0 || details.entries[1].line < 0) {
        m_lines.reset();
        throw EOldVehFile(
            "FATAL: '//DescFile=' OR '//DescClass=' missing.  File is either not a text VEH file or is corrupt.");
    }
    if (detailsOnly)
        return count;

    try {
        // Editor stamp: the last line naming an editor.
        if (const int stamp = findStampLine(); stamp >= 0) {
            const std::string& line = L[static_cast<std::size_t>(stamp)];
            editorName = text::trim(std::string_view(line).substr(text::ifind(line, "EDITOR=") + 7));
        }

        std::vector<std::string> lower(L.size());
        for (std::size_t i = 0; i < L.size(); ++i)
            lower[i] = text::toLower(L[i]);

        // Section headers: the exact bracketed name, not standing after a "//".
        std::vector<char> isHeader(L.size(), 0);
        for (int s = 1; s < veh::kSectionCount; ++s) {
            SectionRec& sec = sections[static_cast<std::size_t>(s)];
            for (int i = 0; i < count; ++i) {
                const std::string& line = L[static_cast<std::size_t>(i)];
                if (line.empty())
                    continue;
                const auto p = line.find(sec.name);
                if (p == std::string::npos)
                    continue;
                const auto c = line.find("//");
                if (c != std::string::npos && c < p)
                    continue;
                sec.line = i;
                isHeader[static_cast<std::size_t>(i)] = 1;
                break;
            }
            if (sec.line < 0 && veh::isRequiredSection(s))
                throw EOldVehFile("FATAL: Section " + sec.name + " missing from VEH file.");
        }

        // Entries: each key's instance between its header and the next header.
        std::vector<int> lineOwner(L.size(), -1);
        for (int s = 1; s < veh::kSectionCount; ++s) {
            SectionRec& sec = sections[static_cast<std::size_t>(s)];
            const int start = sec.line >= 0 ? sec.line + 1 : 0;
            for (int e = 0; e < sec.keyCount; ++e) {
                EntryRec& entry = sec.entries[static_cast<std::size_t>(e)];
                const std::string lowerKey = text::toLower(entry.key);
                int found = -1;
                int matches = 0;
                for (int i = start; i < count; ++i) {
                    if (isHeader[static_cast<std::size_t>(i)])
                        break;
                    const std::string& low = lower[static_cast<std::size_t>(i)];
                    if (low.empty() || keyPosition(low, lowerKey) == std::string::npos)
                        continue;
                    if (++matches == entry.instance) {
                        found = i;
                        break;
                    }
                }
                if (found < 0)
                    continue;
                std::string& line = L[static_cast<std::size_t>(found)];

                if (!ghost && veh::isForbiddenKey(entry.key)) {
                    const auto answer = m_prompt->ask(
                        kValidationTitle,
                        lowerKey +
                            " entry must be removed from the veh file for editing or your vehicle will not work "
                            "correctly in the game.  Select [OK] to remove this entry or [Cancel] to abort loading "
                            "this file.",
                        PromptButtons::OkCancel, PromptIcon::Stop);
                    if (answer != PromptAnswer::Ok)
                        throw EOldVehFile(kAbortedText);
                    entry.line = found;
                    line.insert(0, veh::kRemovedMarker);
                    lower[static_cast<std::size_t>(found)] = text::toLower(line);
                    continue;
                }

                if (lineOwner[static_cast<std::size_t>(found)] == s)
                    throw EOldVehFile("Line [" + text::intToText(found) + "] Entry '" + lowerKey +
                                      "'.  This line already contains other entries.  VEH file format "
                                      "specifications do not permit more than 1 entry per line.  Open this file in "
                                      "NotePad and correct this error before attempting to reload it into QORA.  "
                                      "File load aborted.");
                lineOwner[static_cast<std::size_t>(found)] = s;
                entry.line = found;
                entry.value = readValue(line, !veh::isBareValue(s, e));

                if (s != veh::SecQora && !veh::isTextEntry(s, e) && !isNumericText(entry.value)) {
                    const auto answer =
                        m_prompt->ask(kValidationTitle,
                                      "Line [" + text::intToText(found) + "] Entry '" + entry.key + entry.value +
                                          "' is an invalid numeric value or the file is in an unknown format.  Click "
                                          "[OK] to erase this value and continue or, click [Cancel] to abort loading "
                                          "this file.",
                                      PromptButtons::OkCancel, PromptIcon::Stop);
                    if (answer != PromptAnswer::Ok)
                        throw EOldVehFile(kAbortedText);
                    entry.value.clear();
                }
            }
        }

        // Torque curve: the rpm_torque= lines between the [ENGINE] and [DRIVELINE] headers.
        const int engine = sections[veh::SecEngine].line;
        const int driveline = sections[veh::SecDriveline].line;
        for (int i = engine; i < driveline; ++i) {
            const std::string_view raw = L[static_cast<std::size_t>(i)];
            if (text::startsWith(text::trimView(raw), "//"))
                continue;
            std::string_view content = raw.substr(0, raw.find("//"));
            content = text::trimView(content);
            if (content.empty())
                continue;
            const auto eq = content.find('=');
            if (eq == std::string_view::npos || !text::iequals(text::trimView(content.substr(0, eq)), "rpm_torque"))
                continue;
            const std::string value = readValue(content, true);
            const auto comma = value.find(',');
            if (value.empty() || comma == std::string::npos || comma < 1)
                torqueError(i, torquePoints.size());
            TorquePoint point;
            point.rpm = text::trim(std::string_view(value).substr(0, comma));
            point.torque = text::trim(std::string_view(value).substr(comma + 1));
            if (point.rpm.empty())
                point.rpm = "0.0";
            if (point.torque.empty())
                point.torque = "0.00";
            point.line = i;
            // A point that is not a pair of numbers cannot be placed on the curve.
            if (!numbers::parseDouble(point.rpm) || !numbers::parseDouble(point.torque))
                torqueError(i, torquePoints.size());
            torquePoints.push_back(std::move(point));
        }
        std::stable_sort(torquePoints.begin(), torquePoints.end(), [](const TorquePoint& a, const TorquePoint& b) {
            return *numbers::parseDouble(a.rpm) < *numbers::parseDouble(b.rpm);
        });
        double previous = 0;
        for (std::size_t k = 0; k < torquePoints.size(); ++k) {
            const double rpm = *numbers::parseDouble(torquePoints[k].rpm);
            const double torque = *numbers::parseDouble(torquePoints[k].torque);
            maxTorque = std::max(maxTorque, torque);
            maxRpm = std::max(maxRpm, rpm);
            if ((k == 0 && rpm != 0) || (k > 0 && rpm != previous + 500))
                torqueError(torquePoints[k].line, k);
            previous = rpm;
        }
    } catch (...) {
        // A failed load leaves nothing half-read behind.
        m_lines.reset();
        throw;
    }
    return count;
}

int TOldVehFile::findStampLine() const {
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

int TOldVehFile::ListMissingEntries(std::vector<std::string>& target) const {
    int count = 0;
    for (int s = veh::SecDetails; s <= veh::SecRearWheels; ++s) {
        const SectionRec& sec = sections[static_cast<std::size_t>(s)];
        bool named = false;
        for (int e = 0; e < sec.keyCount; ++e) {
            const EntryRec& entry = sec.entries[static_cast<std::size_t>(e)];
            if (entry.line >= 0 || veh::isForbiddenKey(entry.key) || (s == veh::SecGears && e >= 2))
                continue;
            if (!named) {
                target.push_back(sec.name);
                named = true;
            }
            target.push_back(entry.key);
            ++count;
        }
    }
    return count;
}

void TOldVehFile::Close() {
    m_lines.reset();
    torquePoints.clear();
}

void TOldVehFile::insertLine(int index, std::string text) {
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

void TOldVehFile::deleteLine(int index) {
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

void TOldVehFile::writeValue(int index, const std::string& value, bool inParentheses) {
    std::string& line = (*m_lines)[static_cast<std::size_t>(index)];
    const std::string newText = inParentheses ? "(" + value + ")" : value;
    const auto eq = line.find('=');
    if (eq == std::string::npos)
        return;
    const std::string oldText = readValue(line, false);
    if (oldText == newText)
        return;
    if (oldText.empty()) {
        line.insert(eq + 1, newText);
        return;
    }
    // The old value is looked for after the "=", so a key that holds the same text keeps its name.
    const auto pos = line.find(oldText, eq + 1);
    line.replace(pos, std::string::npos, newText);
}

void TOldVehFile::Save(const std::string& path, bool prepareOnly) {
    if (!m_lines)
        throw EOldVehFile("Internal Error: the vehicle file [" + fileName + "] is not loaded and cannot be saved.");
    auto& L = *m_lines;

    // Optional sections that hold something and have no header get one, with a line for each key.
    for (int s : {veh::SecQora, veh::SecAiBasis, veh::SecParts}) {
        SectionRec& sec = sections[static_cast<std::size_t>(s)];
        if (sec.line >= 0)
            continue;
        const bool holdsSomething = std::any_of(sec.entries.begin(), sec.entries.end(),
                                                [](const EntryRec& e) { return !e.value.empty(); });
        if (!holdsSomething)
            continue;
        L.emplace_back();
        L.push_back(sec.name);
        sec.line = static_cast<int>(L.size()) - 1;
        for (EntryRec& e : sec.entries) {
            L.push_back(e.key);
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
            insertLine(after + 1, entry.key);
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
            throw EOldVehFile("Internal Error: Gear [" + text::intToText(static_cast<long long>(n)) +
                              "] contains no valid value (empty).");
        if (!isZero(gears[n].value))
            continue;
        for (std::size_t m = n; m < gears.size(); ++m) {
            if (gears[m].line >= 0)
                deleteLine(gears[m].line);
            gears[m].line = -1;
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
            if (torquePoints.back().line >= 0)
                deleteLine(torquePoints.back().line);
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
            if (e.line >= 0 && (v.empty() || (s == veh::SecParts && v == "0"))) {
                deleteLine(e.line);
                e.line = -1;
            }
        }
        if (std::none_of(sec.entries.begin(), sec.entries.end(), [](const EntryRec& e) { return e.line >= 0; })) {
            deleteLine(sec.line);
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
    try {
        StagedFile staged(fileName, text::joinLinesCrLf(L));
        if (m_settings->backupFiles)
            m_settings->BackupFile(fileName);
        staged.commit();
    } catch (const FileError& error) {
        const std::string failedName = fileName;
        fileName = previousName;
        throw EOldVehFile("Error saving file [" + failedName + "]: " + error.reason() +
                          ".  Check that the folder exists, that you have enough disk space and that you may write "
                          "to it.  The file on disk was not changed.");
    }
}

} // namespace qora

namespace qora {

void storeAbsentGearsAsZero(TOldVehFile& vehicle) {
    for (EntryRec& gear : vehicle.sections[veh::SecGears].entries)
        if (gear.line < 0 && gear.value.empty())
            gear.value = "0.0000";
}

} // namespace qora
