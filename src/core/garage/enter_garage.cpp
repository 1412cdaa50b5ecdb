#include "garage/enter_garage.h"

#include "browser/file_manager.h"

#include "browser/file_commands.h"
#include "calc/data_validation.h"
#include "editor/page_model.h"
#include "garage/file_version_model.h"
#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"

namespace qora::garage {

std::string createFolderQuestion(const std::string& folder) {
    return "In order to use Version Control, QORA must create the folder [" + folder + "] for storage.  Continue?";
}

std::string masGhostCopyFailedText(const std::string& copy, const std::string& version) {
    return "Could not create mas ghost file [" + copy + "] from file [" + version + "].  File not loaded.";
}

bool enterGarage(VehicleFile& vehicle, const Settings& settings, Prompt& prompt,
                 const std::function<bool()>& transfer) {
    const std::string title(kVersionControlTitle);
    const std::string& folder = settings.garageFolder;
    if (folder.empty() || !fileSystem().folderExists(folder)) {
        if (prompt.ask(title, createFolderQuestion(folder), PromptButtons::YesNo, PromptIcon::Question) !=
            PromptAnswer::Yes)
            return false;
        try {
            if (folder.empty())
                throw FileError("no Garage folder");
            fileSystem().createFolder(folder);
        } catch (const FileError&) {
            prompt.tell(title, std::string(kCreateFolderFailed), PromptIcon::Stop);
            return false;
        }
    }

    if (transfer && !transfer()) {
        prompt.tell(title, std::string(kTransferFailed), PromptIcon::Stop);
        return false;
    }

    try {
        vehicle.save(std::string(kPrepareOnlyName), true);
    } catch (const VehicleFileError& error) {
        prompt.tell(std::string(editor::kFileErrorTitle), error.what(), PromptIcon::Stop);
        return false;
    } catch (const DataValidationError& error) {
        prompt.tell(std::string(editor::kDataValidationErrorTitle), error.what(), PromptIcon::Stop);
        return false;
    }
    return true;
}

std::string masGhostCopyPath(const std::string& programFolder, const std::string& vehiclePath) {
    if (!browser::isExtraction(vehiclePath))
        return {};
    std::string entry = text::toLower(browser::extractedEntryName(vehiclePath));
    std::size_t cut = entry.find('~');
    if (cut == std::string::npos)
        cut = entry.find('.');
    entry = entry.substr(0, cut);
    return joinPath(programFolder, std::string(kGhostCopyPrefix) + entry + ".veh");
}

std::optional<GarageLoad> garageLoadRequest(FileVersionModel& dialog, const std::string& vehiclePath,
                                            const Settings& settings, Prompt& prompt) {
    const int action = dialog.action();
    if (action != FileVersionModel::ActionLoad && action != FileVersionModel::ActionLoadGhost)
        return std::nullopt;
    const std::string version = dialog.versionPath();
    if (version.empty()) {
        prompt.tell(std::string(kVersionControlTitle), std::string(kInternalFilenameError), PromptIcon::Stop);
        return std::nullopt;
    }
    if (action == FileVersionModel::ActionLoad)
        return GarageLoad{GarageLoad::As::MainVehicle, version, true, true};

    const std::string copy = masGhostCopyPath(settings.programFolder, vehiclePath);
    if (copy.empty())
        return GarageLoad{GarageLoad::As::Ghost, version, false, false};
    // Through a checked temporary file: a copy cut short never stands under the ghost copy's name, and the
    // previous copy (which an open ghost may stand on) stays when the new one cannot be made.
    if (!browser::copyFileSafely(version, copy)) {
        prompt.tell(std::string(kVersionControlTitle), masGhostCopyFailedText(copy, version), PromptIcon::Stop);
        return std::nullopt;
    }
    return GarageLoad{GarageLoad::As::Ghost, copy, false, false};
}

} // namespace qora::garage
