#pragma once

#include <span>
#include <string_view>

namespace qora::editor {

// The seven pages of the editor window, in tab order.
enum Page : int { PgDetails = 0, PgTires, PgAerodynamics, PgHandling, PgPerformance, PgDriveTrain, PgOther };
inline constexpr int kPageCount = 7;

// What kind of control shows a field.
enum class FieldWidget {
    Edit,         // a single-line text field
    List,         // a drop-down list with fixed items only (Race %)
    EditableList, // a drop-down list that also takes free text (sound names, Geometry, Drive type, Damage)
    Display,      // a read-only computed display (upshift rpm, best gears, estimated 6th gear)
};

// Which part of its buffer value a field holds.
enum class BufferPart {
    Whole,            // the value string as it is
    DriverName,       // the text before the first "/" of a driver line
    DriverAggression, // the three driver attributes after it
    DriverDefensive,
    DriverAbility,
    RacePosition, // the Race % list position (0..5) held as a whole number
    None,         // not in the buffer (computed displays)
};

// One field of a page: its control, its caption, where its value lives in the vehicle file's buffer, and the
// rules it follows. The editor builds its pages from these tables, and the page loaders and savers transfer
// values through them.
struct PageField {
    std::string_view name;      // objectName of the vehicle's control, e.g. "eMass", "efPressure", "dlGeometry"
    std::string_view ghostName; // objectName of the ghost's read-only twin ("geMass", "gdlUnlockPoints"); empty: none
    std::string_view label;     // caption of its label, e.g. "Mass Body Weight(kg):"
    std::string_view group; // the heading it stands under on its page ("FRONT", "REAR", "Driver #1", ...); empty: none
    int page;               // Page
    int catalogueIndex;     // index in the field catalogue's page (fieldDef(page, index)); -1 when it has none
    int section;            // veh::Section of its buffer value; -1 for BufferPart::None
    std::string_view key;   // buffer key with its "=", e.g. "mass=" or "//Driver1="
    int instance;           // 1-based instance of the key (findEntry's instance)
    BufferPart part;
    FieldWidget widget;
    int maxLength;          // characters the user may type; 0: none (fixed list, display). It limits typing only:
                            // a longer text from the file or a saver is shown whole, never cut.
    int fieldKind;          // drag-and-drop kind: fields of the same kind exchange values; 0: none
    int helpNumber;         // help text (100..152) shown by clicking its label; 0: none
    bool numeric;           // numeric key filter
    bool spin;              // a spin button steps it (catalogue format, limits and step)
    bool upperCase = false; // typed letters a..z become capitals (Geometry)
};

// The help numbers the labels carry. "Side Skirts:" (123) and "Clutch Efficiency:" (152) explain keys the editor
// disables rather than edits, so no label carries them.
inline constexpr int kFirstHelpNumber = 100;
inline constexpr int kLastHelpNumber = 152;
inline constexpr int kSideSkirtsHelpNumber = 123;
inline constexpr int kClutchEfficiencyHelpNumber = 152;

// The fields of a page, in the order they are laid out and transferred. Throws std::out_of_range for a page
// outside 0..6, as do pageCaption and pageName.
std::span<const PageField> pageFields(int page);
// Every field of every page.
std::span<const PageField> allPageFields();
// The field whose vehicle or ghost control has this objectName; nullptr when there is none.
const PageField* findPageField(std::string_view name);
// The page's tab caption: "Details", "Tires", "Aerodynamics", "Handling", "Performance", "DriveTrain", "Other".
std::string_view pageCaption(int page);
// The heading a field stands under on its page: its group, or for a field without one the heading of the page's
// ungrouped fields ("Vehicle", "Controls", "Body", "Suspension", "Engine", "Drive", "Body").
std::string_view groupHeading(const PageField& field);
// The page's objectName: "pgDetails" ... "pgOther".
std::string_view pageName(int page);

} // namespace qora::editor
