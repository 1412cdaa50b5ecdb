#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The engine sound lists of the Details page: for each of the four sound fields the wave file names the user has
// collected, kept in the settings and edited through the list menu of the field's sound label. Also the file a
// sound name plays and the texts of the sound commands' message boxes.
namespace qora::editor {

inline constexpr std::string_view kMediaPlayerTitle = "QORA Media Player";
inline constexpr std::string_view kMediaManagerTitle = "QORA Media Manager";
inline constexpr std::string_view kListManagementTitle = "QORA List Management";
inline constexpr std::string_view kClearSoundsQuestion =
    "This will delete the entire list of sounds from this list.  Continue?";
inline constexpr std::string_view kNoSoundFolderText =
    "The location of your sound folder is either unspecified or incorrect.  Please specify its location in "
    "Edit\\Preferences.";
inline constexpr std::string_view kSelectWaveCaption = "Select Wave File";
inline constexpr std::string_view kWaveMask = "*.wav";

// "Could not find file [path].  Check your Sounds folder in QORA preferences."
std::string missingSoundText(std::string_view path);

// The position of the name in the list, letter case ignored; -1 when it is not there.
int findSound(const std::vector<std::string>& list, std::string_view name);

// Puts the names in the order the lists show them: alphabetical without regard to letter case.
void sortSounds(std::vector<std::string>& list);

// The name "Add Sound To List" stores for the list's text: the trimmed text, with ".wav" added when it has no
// ".". nullopt when the text is refused: empty, with another extension than ".wav" (letter case ignored; the
// extension runs from the first "."), or naming a sound the list already holds in any letter case.
std::optional<std::string> soundToAdd(const std::vector<std::string>& list, std::string_view text);

// Adds soundToAdd's name at its place in the sorted list; false, leaving the list as it was, when refused.
bool addSound(std::vector<std::string>& list, std::string_view text);

// Removes the item naming the trimmed text (letter case ignored); false when the text is empty or not listed.
bool deleteSound(std::vector<std::string>& list, std::string_view text);

// The file a sound name plays: the name in the sound folder. Without a sound folder the name stands at the root
// of the file system, so a missing setting is reported as a missing file rather than resolved against whatever the
// working folder happens to be.
std::string soundPath(const std::string& soundFolder, std::string_view name);

} // namespace qora::editor
