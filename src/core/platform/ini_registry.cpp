#include "platform/ini_registry.h"

#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/text.h"
#include "store/keyed_text_file.h"

namespace qora {

namespace {

constexpr std::string_view kDefaultValueEntry = "@";

const char* rootName(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    }
    return "HKEY_LOCAL_MACHINE";
}

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20;
}

// The key without its optional leading "\", or nullopt when a section header could not hold it: an empty part
// would make two spellings of one key, a "]" would end the header early, a line break would split it, and the
// store trims a trailing blank away.
std::optional<std::string_view> normalisedKey(std::string_view key) {
    if (!key.empty() && key.front() == '\\')
        key.remove_prefix(1);
    if (key.empty())
        return key;
    if (key.front() == '\\' || key.back() == '\\' || text::isBlank(key.back()) ||
        key.find("\\\\") != std::string_view::npos)
        return std::nullopt;
    for (const char c : key)
        if (isControl(c) || c == ']')
            return std::nullopt;
    return key;
}

// The sections of the key and of each of its parents, outermost first; the root alone when the key is empty.
std::optional<std::vector<std::string>> sectionPath(RegistryRoot root, const std::string& key) {
    const auto normalised = normalisedKey(key);
    if (!normalised)
        return std::nullopt;
    std::vector<std::string> sections;
    std::string section = rootName(root);
    if (normalised->empty()) {
        sections.push_back(section);
        return sections;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = normalised->find('\\', start);
        section += '\\';
        section += normalised->substr(start, end == std::string_view::npos ? end : end - start);
        sections.push_back(section);
        if (end == std::string_view::npos)
            return sections;
        start = end + 1;
    }
}

bool isRootKey(const std::string& key) {
    return key.empty() || key == "\\";
}

// A value name the store can hold as the key of an entry line: "@" stands for the default value, "[" and ";" at
// the start would read as a header or a comment, "=" would end the name early, and outer blanks are trimmed away.
bool storableValueName(std::string_view name) {
    if (name.empty())
        return true;
    if (name == kDefaultValueEntry || name.front() == '[' || name.front() == ';' || text::isBlank(name.front()) ||
        text::isBlank(name.back()))
        return false;
    for (const char c : name)
        if (isControl(c) || c == '=')
            return false;
    return true;
}

std::string entryName(const std::string& valueName) {
    return valueName.empty() ? std::string(kDefaultValueEntry) : valueName;
}

// The registry file as read at construction. Changes stay in memory until save(); nothing is written on
// destruction, so an operation that fails half-way leaves the file as it was.
class RegistryFile final : public KeyedTextFile {
public:
    explicit RegistryFile(const std::string& path) : KeyedTextFile(std::string()) {
        m_fileName = path;
        if (!fileSystem().pathExists(path))
            return;
        try {
            *m_lines = text::splitLines(text::withoutByteOrderMark(fileSystem().readFile(path)));
        } catch (const FileError& e) {
            throw RegistryError("Cannot read the registry file '" + path + "': " + e.reason());
        }
    }
    ~RegistryFile() override { close(); }
    RegistryFile(const RegistryFile&) = delete;
    RegistryFile& operator=(const RegistryFile&) = delete;

    bool hasSection(const std::string& section) { return sectionExists(section); }

    // Only the first section of a name counts, as everywhere in the store.
    std::optional<std::string> value(const std::string& section, const std::string& entry) {
        if (!sectionExists(section) || !entryExists(0, m_sectionCursor.lineIndex, entry))
            return std::nullopt;
        if (!(m_entryCursor.kind & LineInfo::kHasValue))
            return std::string();
        return extractText(m_entryCursor.lineIndex, m_entryCursor.valueStart, m_entryCursor.valueLength);
    }

    // Appends the missing sections of the path in order; true when one was added.
    bool addSections(const std::vector<std::string>& sections) {
        bool added = false;
        for (const std::string& section : sections) {
            if (sectionExists(section))
                continue;
            if (!m_lines->empty())
                m_lines->emplace_back();
            m_lines->push_back("[" + section + "]");
            added = true;
        }
        return added;
    }

    void setValue(const std::string& section, const std::string& entry, const std::string& value) {
        writeStringInstance(0, section, entry, value);
    }

    // Removes the section and the sections of all its subkeys (every copy of each); true when one was removed.
    bool eraseTree(const std::string& section) {
        const std::string prefix = section + "\\";
        std::vector<std::string> doomed;
        LineInfo info;
        const int count = static_cast<int>(m_lines->size());
        for (int i = 0; i < count; ++i) {
            if (parseLine(i, info) != LineInfo::kSection)
                continue;
            const std::string name = extractText(i, info.nameStart, info.nameLength);
            if (text::iequals(name, section) || (name.size() > prefix.size() && text::istartsWith(name, prefix)))
                doomed.push_back(name);
        }
        for (const std::string& name : doomed)
            while (sectionExists(name))
                eraseSection(name);
        return !doomed.empty();
    }

    void save() override {
        std::vector<std::string>& lines = *m_lines;
        while (!lines.empty() && text::trimView(lines.back()).empty())
            lines.pop_back();
        try {
            createFolderPath(parentFolder(m_fileName));
            writeFileAtomically(m_fileName, text::joinLinesCrLf(lines));
        } catch (const FileError& e) {
            throw RegistryError("Cannot write the registry file '" + m_fileName + "': " + e.reason());
        }
    }
};

} // namespace

IniRegistry::IniRegistry(std::string filePath) : m_filePath(std::move(filePath)) {}

bool IniRegistry::keyExists(RegistryRoot root, const std::string& key) {
    if (isRootKey(key))
        return true;
    const auto sections = sectionPath(root, key);
    if (!sections)
        return false;
    RegistryFile file(m_filePath);
    return file.hasSection(sections->back());
}

std::optional<std::string> IniRegistry::readString(RegistryRoot root, const std::string& key,
                                                   const std::string& valueName) {
    const auto sections = sectionPath(root, key);
    if (!sections || !storableValueName(valueName))
        return std::nullopt;
    RegistryFile file(m_filePath);
    return file.value(sections->back(), entryName(valueName));
}

bool IniRegistry::createKey(RegistryRoot root, const std::string& key) {
    const auto sections = sectionPath(root, key);
    if (!sections)
        return false;
    if (isRootKey(key))
        return true;
    try {
        RegistryFile file(m_filePath);
        if (file.addSections(*sections))
            file.save();
        return true;
    } catch (const RegistryError&) {
        return false;
    }
}

void IniRegistry::writeString(RegistryRoot root, const std::string& key, const std::string& valueName,
                              const std::string& value) {
    const auto sections = sectionPath(root, key);
    if (!sections)
        throw RegistryError("The registry file cannot hold the key [" + key + "].");
    if (!storableValueName(valueName))
        throw RegistryError("The registry file cannot hold the value name [" + valueName + "].");
    if (value.find_first_of("\r\n") != std::string::npos)
        throw RegistryError("The registry file cannot hold a value with a line break [" + valueName + "].");
    RegistryFile file(m_filePath);
    file.addSections(*sections);
    file.setValue(sections->back(), entryName(valueName), value);
    file.save();
}

void IniRegistry::deleteKey(RegistryRoot root, const std::string& key) {
    if (isRootKey(key))
        throw RegistryError(std::string("The registry root ") + rootName(root) + " cannot be deleted.");
    const auto sections = sectionPath(root, key);
    if (!sections)
        return;
    RegistryFile file(m_filePath);
    if (file.eraseTree(sections->back()))
        file.save();
}

} // namespace qora
