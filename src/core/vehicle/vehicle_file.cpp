#include "vehicle/vehicle_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "calc/number_text.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/value_rules.h"
#include "vehicle/vehicle_file_lines.h"

namespace qora {

namespace vehicle_lines {

// The value of a key line: the text after the first "=", cut at "//", trimmed; for a value in parentheses,
// the first "(" and everything from the first ")" on are dropped, and the rest trimmed again.
std::string readValue(std::string_view line, bool inParentheses) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return {};
    std::string_view v = line.substr(eq + 1);
    if (const auto c = v.find("//"); c != std::string_view::npos)
        v = v.substr(0, c);
    v = text::trimView(v);
    if (!inParentheses)
        return std::string(v);
    const auto open = v.find('(');
    if (open == std::string_view::npos) {
        if (const auto close = v.find(')'); close != std::string_view::npos)
            v = v.substr(0, close);
        return std::string(text::trimView(v));
    }
    // Without the "(", the first ")" lies where it was, or one place earlier when it followed the "(".
    const auto close = v.find(')');
    if (close != std::string_view::npos && close < open)
        return std::string(text::trimView(v.substr(0, close)));
    const std::string_view before = v.substr(0, open);
    const std::string_view after =
        v.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
    if (before.empty())
        return std::string(text::trimView(after));
    std::string joined;
    joined.reserve(before.size() + after.size());
    joined += before;
    joined += after;
    return std::string(text::trimView(joined));
}

bool isZero(const std::string& text) {
    const auto v = numbers::parseDouble(text::trimView(text));
    return v && *v == 0;
}

// True when a line holds a section's header and nothing else but blanks and a comment after it.
bool holdsOnlyHeader(std::string_view line, std::string_view header) {
    const auto at = line.find(header);
    if (at == std::string_view::npos || !text::trimView(line.substr(0, at)).empty())
        return false;
    const std::string_view rest = text::trimView(line.substr(at + header.size()));
    return rest.empty() || rest.substr(0, 2) == "//";
}

} // namespace vehicle_lines

namespace {

using vehicle_lines::readValue;

constexpr const char* kValidationTitle = "QORA Veh File Validation";
constexpr const char* kAbortedText = "File loading process aborted by user.";

bool isNumericText(std::string_view value) {
    static constexpr auto allowed = [] {
        std::array<bool, 256> table{};
        for (char c : std::string_view("0123456789.-,"))
            table[static_cast<unsigned char>(c)] = true;
        return table;
    }();
    for (char c : value)
        if (!allowed[static_cast<unsigned char>(c)])
            return false;
    return true;
}

// The table of sections and keys as every vehicle starts: built once, copied into each object.
const std::array<SectionRec, veh::kSectionCount>& prototypeSections() {
    static const auto table = [] {
        std::array<SectionRec, veh::kSectionCount> sections;
        for (int s = 0; s < veh::kSectionCount; ++s) {
            SectionRec& sec = sections[static_cast<std::size_t>(s)];
            const auto keys = veh::sectionKeys(s);
            sec.name = veh::sectionName(s);
            sec.keyCount = static_cast<int>(keys.size());
            sec.hasBareValues = s == veh::SecDetails || s == veh::SecSounds || s == veh::SecParts || s == veh::SecQora;
            sec.entries.resize(keys.size());
            for (int e = 0; e < sec.keyCount; ++e) {
                EntryRec& entry = sec.entries[static_cast<std::size_t>(e)];
                entry.key = keys[static_cast<std::size_t>(e)];
                entry.instance = veh::keyInstance(s, e);
                if (!sec.hasBareValues && veh::isBareValue(s, e))
                    sec.bareEntry = e;
            }
        }
        return sections;
    }();
    return table;
}

// Every key in lower case, by section and entry.
const std::array<std::vector<std::string>, veh::kSectionCount>& lowerKeys() {
    static const auto table = [] {
        std::array<std::vector<std::string>, veh::kSectionCount> keys;
        for (int s = 0; s < veh::kSectionCount; ++s)
            for (const auto key : veh::sectionKeys(s))
                keys[static_cast<std::size_t>(s)].push_back(text::toLower(key));
        return keys;
    }();
    return table;
}

constexpr std::size_t npos = std::string_view::npos;

// Where a line's first "=" and first "//" are, and whether it has a second "=".
struct LineMarks {
    std::size_t begin = 0; // where the line starts in the file's bytes
    std::size_t length = 0;
    std::size_t equals = npos;
    std::size_t comment = npos;
    bool moreEquals = false;
    std::uint32_t tail = 0; // the three letters before the first "=", lower case, packed (0 when fewer)
    bool bracket = false;   // the line holds a "["
    bool header = false;    // the header line of a section
    int owner = -1;         // the section one of whose keys was found on this line
};

// The value of an entry line whose key was found before any "//": as readValue, without searching again for
// what the marks already tell.
std::string entryValue(std::string_view line, const LineMarks& m, bool inParentheses) {
    const char* b = line.data() + m.equals + 1;
    const char* e = line.data() + (m.comment == npos ? line.size() : m.comment);
    while (b < e && text::isBlank(*b))
        ++b;
    while (e > b && text::isBlank(e[-1]))
        --e;
    if (!inParentheses)
        return std::string(b, e);
    if (b < e && *b == '(') {
        const char* close = b + 1;
        while (close < e && *close != ')')
            ++close;
        return std::string(text::trimView(std::string_view(b + 1, static_cast<std::size_t>(close - b - 1))));
    }
    return readValue(line, true);
}

// The three letters before a key's "=" (every key has at least three), lower case, packed.
std::uint32_t packTail(const char* beforeEquals) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(text::toLower(beforeEquals[-3]))) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text::toLower(beforeEquals[-2]))) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text::toLower(beforeEquals[-1]))) << 16;
}

// A key (lower case, ending in "=") stands on a line when its text occurs there and not after a "//". A key ends
// in "=", so on a line with a single "=" the only place it can occur ends at that "=".
// The key's text as the format writes it is how nearly every file spells it, so that is tried first.
bool sameKey(const char* p, std::string_view key, std::string_view lowerKey) {
    return std::memcmp(p, key.data(), key.size()) == 0 || text::iequals(std::string_view(p, key.size()), lowerKey);
}

bool holdsKey(const char* bytes, const LineMarks& m, std::string_view key, std::string_view lowerKey,
              std::uint32_t keyTail) {
    if (m.equals == npos)
        return false;
    std::size_t at;
    if (!m.moreEquals) {
        // The three letters before the "=" rule out almost every other key with one comparison.
        const std::size_t n = lowerKey.size();
        if (m.tail != keyTail || m.equals + 1 < n)
            return false;
        at = m.equals + 1 - n;
        if (!sameKey(bytes + m.begin + at, key, lowerKey))
            return false;
    } else {
        at = text::ifind(std::string_view(bytes + m.begin, m.length), lowerKey);
        if (at == npos)
            return false;
    }
    return m.comment == npos || m.comment >= at;
}

} // namespace

VehicleFile::VehicleFile(std::string fileName, Prompt& prompt, Settings& settings)
    : fileName(std::move(fileName)), m_prompt(&prompt), m_settings(&settings) {
    initTable();
}

void VehicleFile::initTable() {
    sections = prototypeSections();
    torquePoints.clear();
    maxRpm = 0;
    maxTorque = 0;
}

void VehicleFile::reset() {
    m_loaded = false;
    m_byteOrderMark = false;
    m_bytes.clear();
    m_spans.clear();
    m_lines.reset();
}

bool VehicleFile::isBare(int section, int entry) const {
    return veh::isBareValue(section, entry);
}

EntryRec* VehicleFile::findEntry(int section, std::string_view key, int instance) {
    return const_cast<EntryRec*>(std::as_const(*this).findEntry(section, key, instance));
}

const EntryRec* VehicleFile::findEntry(int section, std::string_view key, int instance) const {
    const int e = veh::entryIndex(section, key, instance);
    return e < 0 ? nullptr : &sections[static_cast<std::size_t>(section)].entries[static_cast<std::size_t>(e)];
}

void VehicleFile::torqueError(int line, std::size_t position) const {
    throw VehicleFileError(
        "FATAL: Line (" + text::intToText(line) + "), rpm_torque entry [" +
        text::intToText(static_cast<long long>(position)) +
        "] is invalid.  Open the file in NotePad and fix this error, then retry loading the file again "
        "into QORA.");
}

const std::vector<std::string>* VehicleFile::lines() const {
    if (!m_loaded)
        return nullptr;
    materializeLines();
    return &*m_lines;
}

void VehicleFile::materializeLines() const {
    if (m_lines)
        return;
    std::vector<std::string> lines;
    lines.reserve(m_spans.size());
    for (const Span& span : m_spans)
        lines.emplace_back(m_bytes, span.begin, span.length);
    m_lines = std::move(lines);
    m_bytes = std::string();
    m_spans = std::vector<Span>();
}

std::string_view VehicleFile::lineView(int index) const {
    if (m_lines)
        return (*m_lines)[static_cast<std::size_t>(index)];
    const Span& span = m_spans[static_cast<std::size_t>(index)];
    return std::string_view(m_bytes).substr(span.begin, span.length);
}

int VehicleFile::load(int mode) {
    if (m_loaded)
        return static_cast<int>(m_lines ? m_lines->size() : m_spans.size());

    ghost = mode == ModeGhost;
    if (m_tableUsed)
        initTable();
    m_tableUsed = true;
    editorName.clear();
    reset();

    if (mode == ModeNew) {
        m_bytes.clear();
        for (const auto& line : veh::templateLines()) {
            m_bytes += line;
            m_bytes += '\n';
        }
    } else {
        try {
            m_bytes = fileSystem().readFile(fileName);
            // The browser's details-only loads never save, so they need not remember the file.
            if (!detailsOnly)
                diskSnapshot = snapshotOf(m_bytes);
        } catch (const FileError& error) {
            if (error.kind() == FileError::Kind::NotRegular || error.kind() == FileError::Kind::LinkLoop)
                throw VehicleFileError("Cannot open [" + fileName + "]: " + error.reason() +
                                       ".  Open a vehicle file (.veh).");
            throw VehicleFileError("FATAL: File is either not a text VEH file or is corrupt: [" + fileName + "]");
        }
    }

    // Where each line lies: a line ends at CR, LF or CR LF. A byte order mark at the start (many Windows editors
    // write one) is no part of the first line; the save puts it back.
    m_byteOrderMark = text::startsWith(m_bytes, text::kByteOrderMark);
    m_spans.reserve(m_bytes.size() / 24 + 1);
    {
        const char* const base = m_bytes.data();
        const char* const end = base + m_bytes.size();
        const char* p = base + (m_byteOrderMark ? text::kByteOrderMark.size() : 0);
        auto next = [end](const char* from, char c) {
            const void* hit = std::memchr(from, c, static_cast<std::size_t>(end - from));
            return hit ? static_cast<const char*>(hit) : end;
        };
        const char* lf = next(p, '\n');
        const char* cr = next(p, '\r');
        while (p < end) {
            const char* stop = std::min(lf, cr);
            m_spans.push_back({static_cast<std::size_t>(p - base), static_cast<std::size_t>(stop - p)});
            if (stop == end)
                break;
            p = (stop == cr && stop + 1 < end && stop[1] == '\n') ? stop + 2 : stop + 1;
            if (lf < p)
                lf = next(p, '\n');
            if (cr < p)
                cr = next(p, '\r');
        }
    }
    const int count = static_cast<int>(m_spans.size());
    const std::string_view bytes = m_bytes;
    auto line = [&](int i) {
        const Span& span = m_spans[static_cast<std::size_t>(i)];
        return bytes.substr(span.begin, span.length);
    };

    // Details: the first line holding each detail key, in any letter case. Every detail key starts with "//",
    // so only the places where "//" occurs need a closer look.
    SectionRec& details = sections[veh::SecDetails];
    int detailsLeft = details.keyCount;
    for (int i = 0; i < count && detailsLeft > 0; ++i) {
        const std::string_view text = line(i);
        for (auto p = text.find("//"); p != npos; p = text.find("//", p + 1)) {
            for (EntryRec& entry : details.entries) {
                if (entry.line >= 0 || text.size() - p < entry.key.size() ||
                    (text.compare(p, entry.key.size(), entry.key) != 0 &&
                     !text::iequals(text.substr(p, entry.key.size()), entry.key)))
                    continue;
                entry.line = i;
                entry.value = readValue(text, false);
                --detailsLeft;
            }
        }
    }
    details.line = details.entries[0].line;
    if (details.entries[0].line < 0 || details.entries[1].line < 0) {
        initTable();
        reset();
        throw VehicleFileError(
            "FATAL: '//DescFile=' OR '//DescClass=' missing.  File is either not a text VEH file or is corrupt.");
    }
    if (detailsOnly) {
        m_loaded = true;
        return count;
    }

    std::vector<std::size_t> markedLines; // side_skirts= and clutch_eff= lines to disable
    try {
        // Where each line's first "=" and first "//" are, and whether it holds a "[". The three characters are
        // rare, so their occurrences are walked through the whole text and assigned to their lines in order.
        std::vector<LineMarks> marks(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            LineMarks& m = marks[static_cast<std::size_t>(i)];
            m.begin = m_spans[static_cast<std::size_t>(i)].begin;
            m.length = m_spans[static_cast<std::size_t>(i)].length;
        }
        auto forEachOccurrence = [&](char c, auto&& onHit) {
            const char* const base = bytes.data();
            const char* const end = base + bytes.size();
            std::size_t li = 0;
            for (const char* p = base; p < end; ++p) {
                p = static_cast<const char*>(std::memchr(p, c, static_cast<std::size_t>(end - p)));
                if (!p)
                    break;
                const auto offset = static_cast<std::size_t>(p - base);
                while (li + 1 < marks.size() && marks[li + 1].begin <= offset)
                    ++li;
                onHit(marks[li], offset - marks[li].begin);
            }
        };
        forEachOccurrence('=', [](LineMarks& m, std::size_t at) {
            if (m.equals == npos)
                m.equals = at;
            else
                m.moreEquals = true;
        });
        forEachOccurrence('/', [&](LineMarks& m, std::size_t at) {
            if (m.comment == npos && at + 1 < m.length && bytes[m.begin + at + 1] == '/')
                m.comment = at;
        });
        forEachOccurrence('[', [](LineMarks& m, std::size_t) { m.bracket = true; });
        for (LineMarks& m : marks)
            if (m.equals != npos && m.equals >= 3)
                m.tail = packTail(bytes.data() + m.begin + m.equals);

        // Editor stamp: the last line naming an editor.
        for (int i = count - 1; i >= 0; --i) {
            if (marks[static_cast<std::size_t>(i)].comment == npos)
                continue;
            const auto p = text::ifind(line(i), "editor=");
            if (p == npos)
                continue;
            editorName = text::trim(line(i).substr(p + 7)); // one with an empty name is no stamp
            break;
        }

        // Section headers: the exact bracketed name, not standing after a "//".
        int headersLeft = veh::kSectionCount - 1;
        for (int i = 0; i < count && headersLeft > 0; ++i) {
            if (!marks[static_cast<std::size_t>(i)].bracket)
                continue;
            const std::string_view text = line(i);
            const auto comment = marks[static_cast<std::size_t>(i)].comment;
            for (int s = 1; s < veh::kSectionCount; ++s) {
                SectionRec& sec = sections[static_cast<std::size_t>(s)];
                if (sec.line >= 0)
                    continue;
                const auto p = text.find(sec.name);
                if (p == npos || (comment != npos && comment < p))
                    continue;
                sec.line = i;
                marks[static_cast<std::size_t>(i)].header = true;
                --headersLeft;
            }
        }
        for (int s = 1; s < veh::kSectionCount; ++s) {
            const SectionRec& sec = sections[static_cast<std::size_t>(s)];
            if (sec.line < 0 && veh::isRequiredSection(s))
                throw VehicleFileError("FATAL: Section " + std::string(sec.name) + " missing from VEH file.");
        }

        // Entries: each key's instance between its header and the next header. Only lines with an "=" can hold
        // a key; they are listed once per section with the letters before their "=", so most keys are ruled out
        // by one comparison per line.
        struct Candidate {
            std::uint32_t tail; // 0 for a line with several "=", which is always examined
            int line;
        };
        std::vector<Candidate> candidates;
        candidates.reserve(64);
        const auto& keysLower = lowerKeys();
        for (int s = 1; s < veh::kSectionCount; ++s) {
            SectionRec& sec = sections[static_cast<std::size_t>(s)];
            const int start = sec.line >= 0 ? sec.line + 1 : 0;
            candidates.clear();
            for (int i = start; i < count && !marks[static_cast<std::size_t>(i)].header; ++i) {
                const LineMarks& m = marks[static_cast<std::size_t>(i)];
                if (m.equals != npos)
                    candidates.push_back({m.moreEquals ? 0u : m.tail, i});
            }
            for (int e = 0; e < sec.keyCount; ++e) {
                EntryRec& entry = sec.entries[static_cast<std::size_t>(e)];
                const std::string& lowerKey = keysLower[static_cast<std::size_t>(s)][static_cast<std::size_t>(e)];
                const std::uint32_t keyTail = packTail(lowerKey.data() + lowerKey.size() - 1);
                int found = -1;
                int matches = 0;
                for (const Candidate& c : candidates) {
                    if (c.tail != keyTail && c.tail != 0)
                        continue;
                    if (holdsKey(bytes.data(), marks[static_cast<std::size_t>(c.line)], entry.key, lowerKey, keyTail) &&
                        ++matches == entry.instance) {
                        found = c.line;
                        break;
                    }
                }
                if (found < 0)
                    continue;

                if (!ghost && veh::isForbiddenKey(entry.key)) {
                    const auto answer = m_prompt->ask(
                        kValidationTitle,
                        lowerKey +
                            " entry must be removed from the veh file for editing or your vehicle will not work "
                            "correctly in the game.  Select [OK] to remove this entry or [Cancel] to abort loading "
                            "this file.",
                        PromptButtons::OkCancel, PromptIcon::Stop);
                    if (answer != PromptAnswer::Ok)
                        throw VehicleFileError(kAbortedText);
                    entry.line = found;
                    // Every line of the key goes, not only the first: one left behind would bring the question
                    // back at the next open, after the user was told the entry was removed.
                    for (const Candidate& c : candidates) {
                        if ((c.tail != keyTail && c.tail != 0) || c.line < found ||
                            !holdsKey(bytes.data(), marks[static_cast<std::size_t>(c.line)], entry.key, lowerKey,
                                      keyTail))
                            continue;
                        markedLines.push_back(static_cast<std::size_t>(c.line));
                        marks[static_cast<std::size_t>(c.line)].comment = 0; // the line is a comment from now on
                    }
                    continue;
                }

                if (marks[static_cast<std::size_t>(found)].owner == s)
                    throw VehicleFileError(
                        "Line [" + text::intToText(found) + "] Entry '" + lowerKey +
                        "'.  This line already contains other entries.  VEH file format "
                        "specifications do not permit more than 1 entry per line.  Open this file in "
                        "NotePad and correct this error before attempting to reload it into QORA.  "
                        "File load aborted.");
                marks[static_cast<std::size_t>(found)].owner = s;
                entry.line = found;
                entry.value = entryValue(line(found), marks[static_cast<std::size_t>(found)], !veh::isBareValue(s, e));

                if (s != veh::SecQora && !veh::isTextEntry(s, e) && !isNumericText(entry.value)) {
                    const auto answer = m_prompt->ask(
                        kValidationTitle,
                        "Line [" + text::intToText(found) + "] Entry '" + std::string(entry.key) + entry.value +
                            "' is an invalid numeric value or the file is in an unknown format.  Click "
                            "[OK] to erase this value and continue or, click [Cancel] to abort loading "
                            "this file.",
                        PromptButtons::OkCancel, PromptIcon::Stop);
                    if (answer != PromptAnswer::Ok)
                        throw VehicleFileError(kAbortedText);
                    entry.value.clear();
                }
            }
        }

        // Torque curve: the rpm_torque= lines of the [ENGINE] section, from its header to the next one, wherever the
        // section stands in the file.
        // A header that shares its line with a torque point does not end the curve.
        const auto holdsTorquePoint = [&](int i) {
            const LineMarks& m = marks[static_cast<std::size_t>(i)];
            return m.equals != npos && text::iequals(text::trimView(line(i).substr(0, m.equals)), "rpm_torque");
        };
        const int engine = sections[veh::SecEngine].line;
        int engineEnd = engine + 1;
        while (engineEnd < count && (!marks[static_cast<std::size_t>(engineEnd)].header || holdsTorquePoint(engineEnd)))
            ++engineEnd;
        std::vector<std::pair<double, double>> numbers; // rpm and torque of each point, parsed once
        numbers.reserve(48);
        torquePoints.reserve(48);
        for (int i = engine + 1; i < engineEnd; ++i) {
            const LineMarks& m = marks[static_cast<std::size_t>(i)];
            if (m.equals == npos || (m.comment != npos && m.comment < m.equals))
                continue;
            const std::string_view raw = line(i);
            if (!text::iequals(text::trimView(raw.substr(0, m.equals)), "rpm_torque"))
                continue;
            // The value in parentheses; the usual "(rpm, torque)" is read in place.
            std::string owned;
            std::string_view value = text::trimView(
                raw.substr(m.equals + 1, m.comment == npos ? std::string_view::npos : m.comment - m.equals - 1));
            if (!value.empty() && value.front() == '(') {
                const auto close = value.find(')', 1);
                value = text::trimView(value.substr(1, close == npos ? npos : close - 1));
            } else {
                owned = readValue(raw.substr(0, m.comment), true);
                value = owned;
            }
            const auto comma = value.find(',');
            if (value.empty() || comma == npos || comma < 1)
                torqueError(i, torquePoints.size());
            TorquePoint point;
            point.rpm = text::trimView(value.substr(0, comma));
            point.torque = text::trimView(value.substr(comma + 1));
            if (point.rpm.empty())
                point.rpm = "0.0";
            if (point.torque.empty())
                point.torque = "0.00";
            point.line = i;
            // A point that is not a pair of numbers cannot be placed on the curve.
            const auto rpm = numbers::parseDouble(point.rpm);
            const auto torque = numbers::parseDouble(point.torque);
            if (!rpm || !torque)
                torqueError(i, torquePoints.size());
            numbers.emplace_back(*rpm, *torque);
            torquePoints.push_back(std::move(point));
        }
        bool sorted = true;
        for (std::size_t k = 1; k < numbers.size() && sorted; ++k)
            sorted = numbers[k - 1].first <= numbers[k].first;
        if (!sorted) {
            std::vector<std::size_t> order(numbers.size());
            for (std::size_t k = 0; k < order.size(); ++k)
                order[k] = k;
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return numbers[a].first < numbers[b].first; });
            std::vector<TorquePoint> points;
            std::vector<std::pair<double, double>> values;
            for (std::size_t k : order) {
                points.push_back(std::move(torquePoints[k]));
                values.push_back(numbers[k]);
            }
            torquePoints = std::move(points);
            numbers = std::move(values);
        }
        // A curve that cannot be read is refused, never shown flat.
        if (numbers.empty())
            torqueError(engine, 0);
        double previous = 0;
        for (std::size_t k = 0; k < numbers.size(); ++k) {
            const auto [rpm, torque] = numbers[k];
            maxTorque = std::max(maxTorque, torque);
            maxRpm = std::max(maxRpm, rpm);
            if ((k == 0 && rpm != 0) || (k > 0 && rpm != previous + 500))
                torqueError(torquePoints[k].line, k);
            previous = rpm;
        }
    } catch (...) {
        // A failed load leaves nothing half-read behind.
        reset();
        throw;
    }

    m_loaded = true;
    if (!markedLines.empty()) {
        materializeLines();
        for (std::size_t i : markedLines)
            (*m_lines)[i].insert(0, veh::kRemovedMarker);
    }
    return count;
}

} // namespace qora
