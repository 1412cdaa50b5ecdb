#pragma once

#include <optional>
#include <string>

namespace qora {

// The folder dialog the core shows when it must ask the user for a folder (the game folder, say).
class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // The chosen folder, or nullopt when the user cancelled.
    virtual std::optional<std::string> pickFolder(const std::string& caption, const std::string& startFolder) = 0;
};

// The open-file dialog the core shows when it must ask the user for an existing file (the archive, say).
class FilePicker {
public:
    virtual ~FilePicker() = default;
    // The chosen existing file, or nullopt when the user cancelled. `filterName` and `pattern` describe the
    // files offered ("Vehicle Mas File", "vehicle.mas"); `defaultExtension` is added to a typed name without one;
    // the dialog opens in `startFolder` (when it exists).
    virtual std::optional<std::string> pickFile(const std::string& title, const std::string& filterName,
                                                const std::string& pattern, const std::string& defaultExtension,
                                                const std::string& startFolder) = 0;
};

// Hosts without a user (qora-cli, tests by default): every dialog is cancelled.
class NoFolderPicker final : public FolderPicker {
public:
    std::optional<std::string> pickFolder(const std::string&, const std::string&) override { return std::nullopt; }
};

class NoFilePicker final : public FilePicker {
public:
    std::optional<std::string> pickFile(const std::string&, const std::string&, const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
};

} // namespace qora
