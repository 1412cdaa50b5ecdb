#pragma once

#include <array>
#include <optional>
#include <span>
#include <utility>
#include <string>
#include <string_view>

#include "editor/page_model.h"

namespace qora {
class Prompt;
class VehicleFile;
class Settings;
} // namespace qora

// The rules of the three side dialogs that edit the optional sections of the open vehicle: the upgrade parts
// ([PARTS]), the computer-opponent basis ([AIBASIS]) and the author data ([QORA]). Each form is loaded from the
// vehicle's buffer values, edited by its dialog, and stored back; the vehicle file's save adds or removes the
// section depending on whether any value is left. The window marks the file changed when a store says so.
namespace qora::editor {

// ---- Upgrade parts ----------------------------------------------------------------------------------------------

inline constexpr std::size_t kPartCount = 14;
inline constexpr std::size_t kPartCheckBoxCount = 4; // the first four parts; the others are sliders

// One control of the parts dialog, in the order of the catalogue's PARTS page (a part's index is its field index
// there, which gives its key and limits). The sliders' tags are their index less kPartCheckBoxCount.
struct PartControl {
    std::string_view name;    // objectName: "cbGearBox", "tbTurboCharger", ...
    std::string_view caption; // "Gear Box", "Turbo:", ...
    std::string_view readOut; // the slider's read-out panel ("pTurbo"); empty for a check box
};
std::span<const PartControl> partControls();

inline constexpr std::string_view kPartsCaption = "Vehicle Modification Parts";

// A buffer value as the dialog shows it: read as a whole number (anything else counts as 0) and limited to the
// part's range in the catalogue.
int partPosition(std::string_view value, int part);

// The parts dialog's controls: check boxes hold 0 or 1, sliders 0 to 3.
class PartsForm {
public:
    // Step 1 of the command: every control from its buffer value.
    explicit PartsForm(const VehicleFile& vehicle);

    int position(std::size_t part) const { return m_positions.at(part); }
    bool checked(std::size_t part) const { return m_positions.at(part) != 0; }
    // A control moved or clicked; the value is limited to the part's range.
    void setPosition(std::size_t part, int value);
    void setChecked(std::size_t part, bool checked) { setPosition(part, checked ? 1 : 0); }
    // The text of a slider's read-out panel: its position in decimal.
    std::string readOutText(std::size_t part) const;
    // The part of the slider with this tag (0 turbo ... 9 air intake).
    static std::size_t partOfSliderTag(int tag);

    // OK: every part as "1"/"0" or its position in decimal; when all fourteen are 0, every value is stored empty so
    // that the section disappears on save. The window then marks the file changed (Cancel stores nothing).
    void store(VehicleFile& vehicle) const;

private:
    std::array<int, kPartCount> m_positions{};
};

// ---- Clear All Fields -------------------------------------------------------------------------------------------

inline constexpr std::string_view kClearAllQuestion =
    "This will clear ALL data in ALL fields in this dialog.  Are you sure?";
inline constexpr std::string_view kAiBasisClearTitle = "QORA AI Basis";
inline constexpr std::string_view kAuthorClearTitle = "QORA Author Information";

// ---- Computer-opponent basis --------------------------------------------------------------------------------------

inline constexpr std::size_t kAiBasisFieldCount = 5;
inline constexpr std::size_t kAiBasisMaxLength = 32;
inline constexpr std::string_view kAiBasisCaption = "AI Basis";
// The edits in the order of the catalogue's AIBASIS page: eGroundEffects, eCornering, eBraking, eAcceleration,
// eTopSpeed.
inline constexpr std::array<std::string_view, kAiBasisFieldCount> kAiBasisFields{
    "eGroundEffects", "eCornering", "eBraking", "eAcceleration", "eTopSpeed"};

class AiBasisForm {
public:
    explicit AiBasisForm(const VehicleFile& vehicle);

    const std::string& field(std::size_t index) const { return m_fields.at(index); }
    // An edit by the user: the form counts as modified from then on.
    void setField(std::size_t index, std::string_view text);
    bool modified() const { return m_modified; }

    // "Clear All Fields": with general warnings on, asks first; returns whether the fields were cleared.
    bool clearAllFields(const Settings& settings, Prompt& prompt);

    // The first field that holds something other than a number (an empty field is fine: it is left out of the
    // file), with the message that says so; nothing when every field can be stored. The dialog does not close
    // while there is one.
    std::optional<std::pair<std::size_t, std::string>> problem() const;

    // However the dialog closed: every field's trimmed text back into its value; a field that is not a number
    // keeps the value the file had. Returns whether the file is to be marked changed (a field was edited).
    bool store(VehicleFile& vehicle) const;

private:
    std::array<std::string, kAiBasisFieldCount> m_fields;
    bool m_modified = false;
};

// ---- Author data ------------------------------------------------------------------------------------------------

inline constexpr std::string_view kAuthorCaption = "Author Information";
// The dialog's controls by AuthorItem: eOriginalAuthor, eBasedOnCar, mNotes, eModifiedBy, eVersion.
inline constexpr std::array<std::string_view, 5> kAuthorControls{"eOriginalAuthor", "eBasedOnCar", "mNotes",
                                                                 "eModifiedBy", "eVersion"};

class AuthorForm {
public:
    // Filled from the window's kept author texts.
    explicit AuthorForm(const AuthorData& kept);

    const std::string& text(AuthorItem item) const { return m_texts.at(static_cast<std::size_t>(item)); }
    void setText(AuthorItem item, std::string_view text);
    bool modified() const { return m_modified; }

    bool clearAllFields(const Settings& settings, Prompt& prompt);

    // The first text that would change the file's structure (veh::textValueProblem), with the message; the dialog
    // does not close while there is one.
    std::optional<std::pair<AuthorItem, std::string>> problem() const;

    // After the dialog: when any text differs from the kept copy, the copy takes the new texts and the [QORA]
    // values are set from them; returns whether the file is to be marked changed. A value is one line of the file,
    // so the line breaks of the notes are stored as blanks.
    bool store(AuthorData& kept, VehicleFile& vehicle) const;

private:
    AuthorData m_texts;
    bool m_modified = false;
};

// The editor's label of each author text, for messages: "Original Author", "Based On Vehicle", ...
std::string_view authorLabel(AuthorItem item);

// A text as one line of the vehicle file: every line break (CR, LF or CR LF) becomes one blank.
std::string singleLineValue(std::string_view text);

} // namespace qora::editor
