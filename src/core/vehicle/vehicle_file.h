#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_snapshot.h"
#include "platform/prompt.h"
#include "vehicle/veh_format.h"

namespace qora {

class Settings;

// Failure of loading or saving a vehicle file; the message is the text the user reads under "QORA File Error".
class VehicleFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One known key of a section, as found in the file.
struct EntryRec {
    int line = -1;        // 0-based line index; -1 when the key is not in the file
    std::string_view key; // with its "=", as the format lists it (static text)
    std::string value;    // the bare value, or the text between the parentheses without them
    int instance = 1;     // 1-based among the same keys of the section
};

struct SectionRec {
    std::string_view name; // with brackets; "[DETAILS]" for the details (static text)
    int line = -1;         // header line; for the details, the line of //DescFile=; -1 when absent
    int keyCount = 0;
    bool hasBareValues = false; // every value of the section is bare
    int bareEntry = -1;         // the one bare entry of a parenthesised section, or -1
    std::vector<EntryRec> entries;
};

struct TorquePoint {
    std::string rpm;
    std::string torque;
    int line = -1; // -1 for a point added in the editor and not yet in the file
};

// A vehicle file in memory: its lines exactly as read, and beside them the file buffer, a fixed table of every
// known section and key with the line where it was found and its value text. The editor reads and writes
// values in the buffer, never lines; Save writes the values back into their lines.
class VehicleFile {
public:
    enum Mode : int { ModeOpen = 0, ModeNew = 1, ModeGhost = 2 };

    // The prompt answers the loader's questions and shows the save's messages; the settings give the backup
    // option and the version for the editor stamp. Neither is owned.
    VehicleFile(std::string fileName, Prompt& prompt, Settings& settings);

    // Reads the file (mode 0), the built-in template (mode 1, to be saved under the file name) or the file as a
    // read-only ghost (mode 2, which never asks about entries to remove), then finds and checks the details,
    // the editor stamp, the sections, every key and the torque curve. Returns the number of lines. When the
    // object already holds lines, returns their count without reading again. With detailsOnly set, stops after
    // the details. Throws VehicleFileError; asks through the prompt whether to remove side_skirts= and clutch_eff=
    // lines and whether to erase invalid numbers (Cancel aborts the load).
    int load(int mode);

    // Appends, for every required section with keys not found, the section's name once and then each missing
    // key with its "="; returns the number of missing keys. Gears 2 to 6 and the two disabled keys may be absent.
    int listMissingEntries(std::vector<std::string>& target) const;

    // Brings the lines up to date with the buffer: creates missing sections and keys, removes surplus gears and
    // torque points and empty optional entries, writes the values, stamps the editor. Unless prepareOnly: a
    // non-empty path becomes the file name, the backup is made when the settings ask for it, and the file is
    // written. The file at the path is replaced in one step: a failed write leaves it as it was. A backup that
    // cannot be made is never skipped silently: the user is asked whether to save without it (No keeps the file
    // as it was). Throws VehicleFileError.
    void save(const std::string& path, bool prepareOnly);

    // Releases the lines and the torque points.
    void close();

    // The file's lines; nullptr before Load and after Close.
    const std::vector<std::string>* lines() const;

    // The buffer entry for a key (with or without "=", any letter case) and its 1-based instance; nullptr when
    // the section has no such key.
    EntryRec* findEntry(int section, std::string_view key, int instance = 1);
    const EntryRec* findEntry(int section, std::string_view key, int instance = 1) const;
    bool isBare(int section, int entry) const;

    double maxRpm = 0;
    double maxTorque = 0;
    std::string fileName;
    bool detailsOnly = false;
    std::array<SectionRec, veh::kSectionCount> sections;
    std::vector<TorquePoint> torquePoints; // in ascending rpm
    std::string editorName;                // the prior editor after loading; the stamp written after saving
    bool ghost = false;
    // The file as this object last read or wrote it, so a change by another program can be told apart from
    // QORA's own; a new vehicle's snapshot says that no file existed.
    FileSnapshot diskSnapshot;

    // Whether the file at fileName has another content now than the one this object last read or wrote.
    bool changedOnDisk() const;

private:
    struct Span {
        std::size_t begin;
        std::size_t length;
    };

    void initTable();
    void reset();
    // Turns the spans of the bytes read into the list of lines that saves edit.
    void materializeLines() const;
    std::string_view lineView(int index) const;
    void insertLine(int index, std::string text);
    void deleteLine(int index);
    // Takes a record off its line (the line becomes -1) and deletes the line unless another header, key or torque
    // point still stands on it: a line may hold two headers, or a torque point and a header.
    void releaseLine(int& line);
    void writeValue(int index, const std::string& value, bool inParentheses);
    int findStampLine() const;
    // Makes the backup of the file about to be replaced, or asks whether to save without one.
    void makeBackup();
    [[noreturn]] void torqueError(int line, std::size_t position) const;

    Prompt* m_prompt;
    Settings* m_settings;
    bool m_loaded = false;
    bool m_tableUsed = false;
    bool m_byteOrderMark = false; // the file starts with a UTF-8 byte order mark, kept when it is saved
    // A load keeps the bytes it read and where each line lies in them; the lines become strings of their own
    // only when they are asked for or saved, which keeps opening and browsing files quick.
    mutable std::string m_bytes;
    mutable std::vector<Span> m_spans;
    mutable std::optional<std::vector<std::string>> m_lines;
};

} // namespace qora

namespace qora {

// Gives every reverse or forward gear that has no line in the file and no value the value "0.0000", as the
// DriveTrain page stores an absent gear: the save then ends the gear list where the vehicle's gears end.
void storeAbsentGearsAsZero(VehicleFile& vehicle);

// The entries of numeric keys whose value is not a list of numbers ("77..50", "7x5", an empty value), each as
// "Line [40] Entry 'maximum_rpm=77..50'" (0-based line, the key with its "="), in file order. The loader lets some
// of them through (it checks the characters only); the game cannot use them.
std::vector<std::string> valuesThatAreNotNumbers(const VehicleFile& vehicle);

} // namespace qora
