#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qora {

// Failure of the keyed text store. The message is "TIniFileIO::" + operation + " - " + " [" + file name + "] - "
// + text.
class KeyedTextFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One classified line of the store. Positions are 1-based character positions in the untrimmed line, lengths are
// character counts; a field that does not apply to the kind is 0.
struct LineInfo {
    // Bit set: kBlank, kComment, kSection, kEntry (with kHasValue when the value is not empty), kOther.
    int kind = 0;
    int nameStart = 0, nameLength = 0;   // trimmed section name (kSection) or trimmed key (kEntry)
    int valueStart = 0, valueLength = 0; // trimmed value (kEntry with kHasValue)
    int assignmentPos = 0;               // first "=" (kEntry)
    int commentPos = 0;                  // comment marker in column 1 (kComment)
    int lineIndex = 0;                   // 0-based index in the line list
    int lastInstanceLine = -1;           // entry cursor only: last lower instance of the key seen, or -1

    static constexpr int kBlank = 0;
    static constexpr int kComment = 1;
    static constexpr int kSection = 2;
    static constexpr int kEntry = 4;
    static constexpr int kHasValue = 8;
    static constexpr int kOther = 32;
};

// A bracketed-section text file ("[Section]", "key=value", ";comment") held in memory as its list of lines.
// A key may appear several times in one section; each appearance is an instance, numbered from 0 in file order.
// Keys and section names match without regard to letter case; only the first section of a name is ever used.
// A ";" in column 1 makes a comment line; anywhere else it is ordinary text, so a value may hold one. Reads never
// change the lines; a write replaces an existing value in place, leaving everything else on its line (spacing
// around the "=", the key's letter case) as it was. The file is read by the
// constructor and written back (CR LF line ends) by the destructor.
//
// A closed store (after a failed Load or VerifyFile) has no lines: it reads as empty, ignores writes and never
// writes its file, so a file it could not understand is never overwritten.
class KeyedTextFile {
public:
    // Loads the file when the name is not empty (see Load for what can be thrown).
    explicit KeyedTextFile(std::string fileName);
    // Saves when the store holds at least one line, then closes. A failed save is swallowed here (use Release to
    // learn of it); the file keeps its old content, since saves replace the file atomically.
    virtual ~KeyedTextFile();
    KeyedTextFile(const KeyedTextFile&) = delete;
    KeyedTextFile& operator=(const KeyedTextFile&) = delete;

    // Reads the whole file. False when there is no file (the lines stay as they are). Throws KeyedTextFileError, after
    // closing the store, when the path exists but cannot be read.
    virtual bool load();
    // Writes every line followed by CR LF, replacing the file atomically. Throws KeyedTextFileError on failure.
    virtual void save();
    // Throws KeyedTextFileError, after closing the store, when a byte is a control character below 10 (tab included) or
    // above 127.
    virtual void verifyFile();
    // Saves now (when the store holds at least one line) and closes, so the destructor writes nothing more.
    // Throws KeyedTextFileError with the Save message; the store is closed either way.
    void release();

    // On success the section cursor describes the header line; otherwise it is cleared.
    bool sectionExists(const std::string& section);

    // The trimmed value of the instance, as written; the default when the section, the instance or its value is
    // missing.
    std::string readStringInstance(int instance, const std::string& section, const std::string& key,
                                   const std::string& def);
    // The typed reads throw KeyedTextFileError when the value is not a number of their kind. A boolean is any integer,
    // true when not 0.
    bool readBoolInstance(int instance, const std::string& section, const std::string& key, bool def);
    int readIntegerInstance(int instance, const std::string& section, const std::string& key, int def);
    virtual double readFloatInstance(int instance, const std::string& section, const std::string& key, double def);

    // Replaces the instance's value in place. A missing section is appended (after a blank line when the file is
    // not empty); a missing instance becomes a new "key=value" line after the key's last instance, or after the
    // section's last entry. An instance number beyond the last adds exactly one instance.
    void writeStringInstance(int instance, const std::string& section, const std::string& key,
                             const std::string& value);
    void writeBoolInstance(int instance, const std::string& section, const std::string& key, bool value); // "1"/"0"
    void writeIntegerInstance(int instance, const std::string& section, const std::string& key, int value);
    // Up to 15 significant digits, no trailing zeros, "." as decimal point.
    virtual void writeFloatInstance(int instance, const std::string& section, const std::string& key, double value);

    // Clears target, then adds the key of every entry of the section in file order, duplicates included.
    void readSection(const std::string& section, std::vector<std::string>& target);
    // Removes the header and every line up to the next header. A missing section is not an error.
    void eraseSection(const std::string& section);

    const std::vector<std::string>* lines() const { return m_lines ? &*m_lines : nullptr; } // nullptr when closed
    const std::string& fileName() const { return m_fileName; }

protected:
    virtual void close();
    // Throws KeyedTextFileError with the full message for the running operation.
    virtual void raiseError(const std::string& text);
    virtual bool isDataLine(const std::string& line) const;
    // Fills info for the line and returns its kind.
    virtual int parseLine(int lineIndex, LineInfo& info) const;
    // Finds the instance of key below the header at sectionLine; on success the entry cursor describes it. Either
    // way the entry cursor's lastInstanceLine is the last lower instance seen, or -1.
    virtual bool entryExists(int instance, int sectionLine, const std::string& key);
    virtual std::string extractText(int lineIndex, int start, int length) const;
    virtual std::string readStringInstance(int instance, int sectionLine, const std::string& key,
                                           const std::string& def);
    virtual void deleteText(int lineIndex, int start, int count);
    virtual void insertText(const std::string& text, int lineIndex, int position);
    // The last entry line of the section, or the header's own index when it has none.
    int lastEntry(int sectionLine) const;
    void writeStringInstance(int instance, int sectionLine, const std::string& key, const std::string& value);

    std::optional<std::vector<std::string>> m_lines; // none once closed
    const std::string m_className = "TIniFileIO::";
    std::string m_operation;
    const std::string m_commentMarker = ";";
    LineInfo m_entryCursor;
    LineInfo m_sectionCursor;
    std::string m_fileName;
    const bool m_commentsAtLineStartOnly = true; // ParseLine looks for the marker in column 1 only
    const bool m_saveOnDestroy = true;

private:
    bool findSection(std::string_view section);
    std::string readString(int instance, const std::string& section, const std::string& key, const std::string& def);
    void writeString(int instance, const std::string& section, const std::string& key, const std::string& value);
    std::string_view lineView(int lineIndex) const;
    std::string_view nameOf(const LineInfo& info) const; // the name of a section or entry line
    int lineCount() const;
};

} // namespace qora
