// libFuzzer target for the vehicle file loader and the preparation of a save: every load mode on any bytes, with
// a user who accepts every repair and one who refuses it, and the file served from memory. A vehicle the editor
// has opened and prepared for saving must open again.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "memory_file_system.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"

using namespace qora;
using qora::fuzzing::require;

namespace {

const std::string kInputPath = fuzzing::MemoryFileSystem::kFolder + "/input.veh";
const std::string kSavedPath = fuzzing::MemoryFileSystem::kFolder + "/saved.veh";

// Opens, with a fresh object, what the prepared save would have written.
void reopenSaved(const VehicleFile& saved) {
    fileSystem().writeFile(kSavedPath, text::joinLinesCrLf(*saved.lines()));
    fuzzing::AnsweringPrompt prompt(true);
    Settings settings;
    VehicleFile reopened(kSavedPath, prompt, settings);
    try {
        reopened.load(VehicleFile::ModeOpen);
    } catch (const VehicleFileError& error) {
        std::fprintf(stderr, "fuzz: reopening the saved vehicle failed: %s\n", error.what());
        require(false, "a saved vehicle opens again");
    }
}

// What the editor does with a vehicle it has opened: lists the keys it lacks, and before saving stores absent
// gears and brings the lines up to date. The save itself is only prepared, so nothing is written.
void useLoaded(VehicleFile& vehicle, bool checkReopen) {
    std::vector<std::string> missing;
    vehicle.listMissingEntries(missing);
    storeAbsentGearsAsZero(vehicle);
    bool prepared = true;
    try {
        vehicle.save("", true);
    } catch (const VehicleFileError&) {
        prepared = false;
    }
    require(vehicle.lines() != nullptr, "a vehicle keeps its lines through a save");
    if (prepared && checkReopen)
        reopenSaved(vehicle);
}

void load(int mode, bool detailsOnly, fuzzing::AnsweringPrompt& prompt, Settings& settings) {
    VehicleFile vehicle(kInputPath, prompt, settings);
    vehicle.detailsOnly = detailsOnly;
    try {
        vehicle.load(mode);
    } catch (const VehicleFileError&) {
        require(vehicle.lines() == nullptr, "a failed load holds no lines");
        return;
    }
    require(vehicle.lines() != nullptr, "a successful load holds the lines");
    // Only a vehicle opened for editing is ever saved; a ghost keeps the entries an opened file disables.
    if (!detailsOnly)
        useLoaded(vehicle, mode == VehicleFile::ModeOpen);
}

// A new vehicle from the built-in template does not depend on the input: loaded, prepared and saved once.
void newVehicleOnce(fuzzing::MemoryFileSystem& files) {
    static bool done = false;
    if (done)
        return;
    done = true;
    fuzzing::AnsweringPrompt prompt(true);
    Settings settings;
    settings.setPrompt(prompt);
    VehicleFile vehicle(fuzzing::MemoryFileSystem::kFolder + "/new.veh", prompt, settings);
    vehicle.load(VehicleFile::ModeNew);
    useLoaded(vehicle, true);
    // A save clears the gears it removed; the editor stores the absent ones again before every save.
    storeAbsentGearsAsZero(vehicle);
    vehicle.save("", false);
    require(files.find(vehicle.fileName) != nullptr, "a new vehicle is saved");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzzing::MemoryFileSystem files;
    files.clear();
    ScopedFileSystem scope(files);
    newVehicleOnce(files);
    files.put(kInputPath, fuzzing::bytesOf(data, size));

    fuzzing::AnsweringPrompt accepting(true);
    fuzzing::AnsweringPrompt refusing(false);
    Settings settings;
    settings.setPrompt(accepting);

    load(VehicleFile::ModeOpen, false, accepting, settings);
    // Refusing makes a difference only where the loader asked.
    if (accepting.questions > 0)
        load(VehicleFile::ModeOpen, false, refusing, settings);
    load(VehicleFile::ModeGhost, false, refusing, settings);
    load(VehicleFile::ModeOpen, true, refusing, settings);
    return 0;
}
