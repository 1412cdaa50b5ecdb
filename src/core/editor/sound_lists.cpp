#include "editor/sound_lists.h"

#include <algorithm>
#include <filesystem>

#include "platform/file_system.h"
#include "platform/text.h"

namespace qora::editor {

namespace {

constexpr std::string_view kWaveExtension = ".wav";

// Letter case decides only between names that are otherwise equal, so the order is total and stable.
bool soundBefore(const std::string& a, const std::string& b) {
    const std::string la = text::toLower(a);
    const std::string lb = text::toLower(b);
    return la != lb ? la < lb : a < b;
}

} // namespace

std::string missingSoundText(std::string_view path) {
    return "Could not find file [" + std::string(path) + "].  Check your Sounds folder in QORA preferences.";
}

int findSound(const std::vector<std::string>& list, std::string_view name) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (text::iequals(list[i], name))
            return static_cast<int>(i);
    return -1;
}

void sortSounds(std::vector<std::string>& list) {
    std::stable_sort(list.begin(), list.end(), soundBefore);
}

std::optional<std::string> soundToAdd(const std::vector<std::string>& list, std::string_view text) {
    std::string name = text::trim(text);
    if (name.empty())
        return std::nullopt;
    const std::size_t point = name.find('.');
    if (point == std::string::npos)
        name += kWaveExtension;
    else if (!text::iequals(std::string_view(name).substr(point), kWaveExtension))
        return std::nullopt;
    // Looked up with its extension, so "idle" is refused when "idle.wav" is already listed.
    if (findSound(list, name) >= 0)
        return std::nullopt;
    return name;
}

bool addSound(std::vector<std::string>& list, std::string_view text) {
    std::optional<std::string> name = soundToAdd(list, text);
    if (!name)
        return false;
    list.insert(std::upper_bound(list.begin(), list.end(), *name, soundBefore), std::move(*name));
    return true;
}

bool deleteSound(std::vector<std::string>& list, std::string_view text) {
    const std::string_view name = text::trimView(text);
    const int index = name.empty() ? -1 : findSound(list, name);
    if (index < 0)
        return false;
    list.erase(list.begin() + index);
    return true;
}

std::string soundPath(const std::string& soundFolder, std::string_view name) {
    if (soundFolder.empty())
        return std::string(1, static_cast<char>(std::filesystem::path::preferred_separator)) + std::string(name);
    return joinPath(soundFolder, std::string(name));
}

} // namespace qora::editor
