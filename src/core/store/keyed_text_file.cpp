#include "store/keyed_text_file.h"

#include <algorithm>
#include <utility>

#include "calc/number_text.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/text.h"

namespace qora {

namespace {

constexpr const char* kLoadError = "Error attempting to load file.  This file may not be a text file, or is corrupt.";
constexpr const char* kSaveError = "Error saving file.  Check that you have enough disk space or if this is a "
                                   "removable disk, that write protect is OFF.";
constexpr const char* kNotTextError = "File does not appear to be a valid text file.";

// 1-based position of a view that lies inside line.
int positionIn(std::string_view line, std::string_view part) {
    return static_cast<int>(part.data() - line.data()) + 1;
}

// The trimmed value of the text after "=". The comment marker counts only in the first column of a line, so a
// ";" inside a value is value text: captions and folder names may hold one and must read back whole.
std::string_view valueText(std::string_view afterAssignment) {
    return text::trimView(afterAssignment);
}

} // namespace

KeyedTextFile::KeyedTextFile(std::string fileName) : m_lines(std::in_place), m_fileName(std::move(fileName)) {
    if (!m_fileName.empty())
        load();
}

KeyedTextFile::~KeyedTextFile() {
    if (m_saveOnDestroy && m_lines && !m_lines->empty()) {
        try {
            save();
        } catch (...) {
            // A destructor cannot report; the atomic write has left the old file as it was.
        }
    }
    close();
}

void KeyedTextFile::close() {
    m_lines.reset();
}

void KeyedTextFile::raiseError(const std::string& text) {
    throw KeyedTextFileError(m_className + m_operation + " - " + " [" + m_fileName + "] - " + text);
}

bool KeyedTextFile::isDataLine(const std::string& line) const {
    return !text::trimView(line).empty() && !text::startsWith(line, m_commentMarker);
}

std::string_view KeyedTextFile::lineView(int lineIndex) const {
    if (!m_lines || lineIndex < 0 || lineIndex >= lineCount())
        return {};
    return (*m_lines)[static_cast<std::size_t>(lineIndex)];
}

std::string_view KeyedTextFile::nameOf(const LineInfo& info) const {
    const std::string_view line = lineView(info.lineIndex);
    if (info.nameStart < 1 || static_cast<std::size_t>(info.nameStart) > line.size())
        return {};
    return line.substr(static_cast<std::size_t>(info.nameStart - 1), static_cast<std::size_t>(info.nameLength));
}

int KeyedTextFile::lineCount() const {
    return m_lines ? static_cast<int>(m_lines->size()) : 0;
}

int KeyedTextFile::parseLine(int lineIndex, LineInfo& info) const {
    info = LineInfo{};
    info.lineIndex = lineIndex;
    const std::string_view line = lineView(lineIndex);
    if (text::trimView(line).empty())
        return info.kind = LineInfo::kBlank;

    if (text::startsWith(line, m_commentMarker)) {
        info.commentPos = 1;
        return info.kind = LineInfo::kComment;
    }

    const std::size_t open = line.find('[');
    const std::size_t close = line.find(']');
    if (open != std::string_view::npos && close != std::string_view::npos && close > open &&
        text::trimView(line.substr(0, open)).empty()) {
        const std::string_view name = text::trimView(line.substr(open + 1, close - open - 1));
        // A one-character name is not a header, so a stray "[x]" line cannot cut the entries below it off their
        // section; every section the program uses has a longer name.
        if (name.size() >= 2) {
            info.nameStart = positionIn(line, name);
            info.nameLength = static_cast<int>(name.size());
            return info.kind = LineInfo::kSection;
        }
    }

    const std::size_t assignment = line.find('=');
    if (assignment == std::string_view::npos)
        return info.kind = LineInfo::kOther;
    const std::string_view key = text::trimView(line.substr(0, assignment));
    if (key.empty())
        return info.kind = LineInfo::kOther;
    info.kind = LineInfo::kEntry;
    info.nameStart = positionIn(line, key);
    info.nameLength = static_cast<int>(key.size());
    info.assignmentPos = static_cast<int>(assignment) + 1;
    const std::string_view value = valueText(line.substr(assignment + 1));
    if (!value.empty()) {
        info.kind |= LineInfo::kHasValue;
        info.valueStart = positionIn(line, value);
        info.valueLength = static_cast<int>(value.size());
    }
    return info.kind;
}

bool KeyedTextFile::load() {
    m_operation = "Load()";
    if (!fileSystem().pathExists(m_fileName))
        return false;
    try {
        // A byte order mark (written by many Windows editors) would hide the first section.
        m_lines = text::splitLines(text::withoutByteOrderMark(fileSystem().readFile(m_fileName)));
    } catch (const FileError&) {
        close();
        raiseError(kLoadError);
        return false;
    }
    return true;
}

void KeyedTextFile::save() {
    m_operation = "Save()";
    if (!m_lines)
        return;
    try {
        writeFileAtomically(m_fileName, text::joinLinesCrLf(*m_lines));
    } catch (const FileError&) {
        raiseError(kSaveError);
    }
}

void KeyedTextFile::verifyFile() {
    m_operation = "VerifyFile()";
    if (!m_lines)
        return;
    for (const std::string& line : *m_lines) {
        for (const char c : line) {
            if (static_cast<signed char>(c) < 10) {
                close();
                raiseError(kNotTextError);
                return;
            }
        }
    }
}

void KeyedTextFile::release() {
    if (m_lines && !m_lines->empty()) {
        try {
            save();
        } catch (...) {
            close();
            throw;
        }
    }
    close();
}

bool KeyedTextFile::findSection(std::string_view section) {
    LineInfo info;
    const int count = lineCount();
    for (int i = 0; i < count; ++i) {
        if (parseLine(i, info) != LineInfo::kSection)
            continue;
        if (text::iequals(nameOf(info), section)) {
            m_sectionCursor = info;
            return true;
        }
    }
    m_sectionCursor = LineInfo{};
    return false;
}

bool KeyedTextFile::sectionExists(const std::string& section) {
    m_operation = "SectionExists()";
    return findSection(section);
}

bool KeyedTextFile::entryExists(int instance, int sectionLine, const std::string& key) {
    int lastInstanceLine = -1;
    int counter = 0;
    LineInfo info;
    const int count = lineCount();
    for (int i = sectionLine + 1; i < count; ++i) {
        const int kind = parseLine(i, info);
        if (kind == LineInfo::kSection)
            break;
        if (!(kind & LineInfo::kEntry))
            continue;
        if (!text::iequals(nameOf(info), key))
            continue;
        if (counter == instance) {
            m_entryCursor = info;
            m_entryCursor.lastInstanceLine = lastInstanceLine;
            return true;
        }
        lastInstanceLine = i;
        ++counter;
    }
    m_entryCursor = LineInfo{};
    m_entryCursor.lastInstanceLine = lastInstanceLine;
    return false;
}

int KeyedTextFile::lastEntry(int sectionLine) const {
    int last = sectionLine;
    LineInfo info;
    const int count = lineCount();
    for (int i = sectionLine + 1; i < count; ++i) {
        const int kind = parseLine(i, info);
        if (kind == LineInfo::kSection)
            break;
        if (kind & LineInfo::kEntry)
            last = i;
    }
    return last;
}

std::string KeyedTextFile::extractText(int lineIndex, int start, int length) const {
    const std::string_view line = lineView(lineIndex);
    if (start < 1 || length <= 0 || static_cast<std::size_t>(start) > line.size())
        return {};
    return std::string(line.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

void KeyedTextFile::deleteText(int lineIndex, int start, int count) {
    if (!m_lines || lineIndex < 0 || lineIndex >= lineCount() || start < 1 || count <= 0)
        return;
    std::string& line = (*m_lines)[static_cast<std::size_t>(lineIndex)];
    if (static_cast<std::size_t>(start) <= line.size())
        line.erase(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

void KeyedTextFile::insertText(const std::string& text, int lineIndex, int position) {
    if (!m_lines || lineIndex < 0 || lineIndex >= lineCount())
        return;
    std::string& line = (*m_lines)[static_cast<std::size_t>(lineIndex)];
    // A position past the end appends, one before the start prepends.
    const std::size_t at = position < 1 ? 0 : std::min(static_cast<std::size_t>(position - 1), line.size());
    line.insert(at, text);
}

std::string KeyedTextFile::readStringInstance(int instance, int sectionLine, const std::string& key,
                                              const std::string& def) {
    if (!entryExists(instance, sectionLine, key) || !(m_entryCursor.kind & LineInfo::kHasValue))
        return def;
    return extractText(m_entryCursor.lineIndex, m_entryCursor.valueStart, m_entryCursor.valueLength);
}

std::string KeyedTextFile::readString(int instance, const std::string& section, const std::string& key,
                                      const std::string& def) {
    if (!findSection(section))
        return def;
    return readStringInstance(instance, m_sectionCursor.lineIndex, key, def);
}

std::string KeyedTextFile::readStringInstance(int instance, const std::string& section, const std::string& key,
                                              const std::string& def) {
    m_operation = "ReadStringInstance()";
    return readString(instance, section, key, def);
}

bool KeyedTextFile::readBoolInstance(int instance, const std::string& section, const std::string& key, bool def) {
    m_operation = "ReadBoolInstance()";
    const std::string value = readString(instance, section, key, def ? "1" : "0");
    if (const auto number = numbers::parseInt(value))
        return *number != 0;
    raiseError("'" + value + "' is not a valid boolean value in Section[" + section + "]-Entry[" + key + "].");
    return def;
}

int KeyedTextFile::readIntegerInstance(int instance, const std::string& section, const std::string& key, int def) {
    m_operation = "ReadIntegerInstance()";
    const std::string value = readString(instance, section, key, text::intToText(def));
    if (const auto number = numbers::parseInt(value))
        return *number;
    raiseError("'" + value + "' is not a valid integer value in Section[" + section + "]-Entry[" + key + "].");
    return def;
}

double KeyedTextFile::readFloatInstance(int instance, const std::string& section, const std::string& key, double def) {
    m_operation = "ReadFloatInstance()";
    const std::string value = readString(instance, section, key, numbers::generalText(def));
    if (const auto number = numbers::parseDouble(value))
        return *number;
    raiseError("'" + value + "' is not a valid floating point value in Section[" + section + "]-Entry[" + key + "].");
    return def;
}

void KeyedTextFile::writeStringInstance(int instance, int sectionLine, const std::string& key,
                                        const std::string& value) {
    if (!m_lines)
        return;
    if (entryExists(instance, sectionLine, key)) {
        const LineInfo entry = m_entryCursor;
        if (entry.assignmentPos == 0) {
            raiseError("No assignment character exists for entry '" + key + "'.");
            return;
        }
        if (entry.kind & LineInfo::kHasValue) {
            deleteText(entry.lineIndex, entry.valueStart, entry.valueLength);
            insertText(value, entry.lineIndex, entry.valueStart);
        } else {
            insertText(value, entry.lineIndex, entry.assignmentPos + 1);
        }
        return;
    }
    const int after =
        instance > 0 && m_entryCursor.lastInstanceLine >= 0 ? m_entryCursor.lastInstanceLine : lastEntry(sectionLine);
    const auto at = static_cast<std::size_t>(after + 1);
    std::string line = key + "=" + value;
    if (at >= m_lines->size())
        m_lines->push_back(std::move(line));
    else
        m_lines->insert(m_lines->begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void KeyedTextFile::writeString(int instance, const std::string& section, const std::string& key,
                                const std::string& value) {
    if (!m_lines)
        return;
    int sectionLine = 0;
    if (findSection(section)) {
        sectionLine = m_sectionCursor.lineIndex;
    } else {
        if (!m_lines->empty())
            m_lines->emplace_back();
        m_lines->push_back("[" + section + "]");
        sectionLine = lineCount() - 1;
    }
    writeStringInstance(instance, sectionLine, key, value);
}

void KeyedTextFile::writeStringInstance(int instance, const std::string& section, const std::string& key,
                                        const std::string& value) {
    m_operation = "WriteStringInstance()";
    writeString(instance, section, key, value);
}

void KeyedTextFile::writeBoolInstance(int instance, const std::string& section, const std::string& key, bool value) {
    m_operation = "WriteBoolInstance()";
    writeString(instance, section, key, value ? "1" : "0");
}

void KeyedTextFile::writeIntegerInstance(int instance, const std::string& section, const std::string& key, int value) {
    m_operation = "WriteIntegerInstance()";
    writeString(instance, section, key, text::intToText(value));
}

void KeyedTextFile::writeFloatInstance(int instance, const std::string& section, const std::string& key, double value) {
    m_operation = "WriteFloatInstance()";
    writeString(instance, section, key, numbers::generalText(value));
}

void KeyedTextFile::readSection(const std::string& section, std::vector<std::string>& target) {
    m_operation = "ReadSection()";
    target.clear();
    if (!findSection(section))
        return;
    LineInfo info;
    const int count = lineCount();
    for (int i = m_sectionCursor.lineIndex + 1; i < count; ++i) {
        const int kind = parseLine(i, info);
        if (kind == LineInfo::kSection)
            break;
        if (kind & LineInfo::kEntry)
            target.push_back(extractText(i, info.nameStart, info.nameLength));
    }
}

void KeyedTextFile::eraseSection(const std::string& section) {
    m_operation = "EraseSection()";
    if (!findSection(section))
        return;
    const int first = m_sectionCursor.lineIndex;
    int end = first + 1;
    LineInfo info;
    const int count = lineCount();
    while (end < count && parseLine(end, info) != LineInfo::kSection)
        ++end;
    m_lines->erase(m_lines->begin() + first, m_lines->begin() + end);
    m_sectionCursor = LineInfo{};
}

} // namespace qora
