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
#include "vehicle/old_veh_file.h"

using namespace qora;
using qora::fuzzing::require;

namespace {

const std::string kInputPath = fuzzing::MemoryFileSystem::kFolder + "/input.veh";
const std::string kSavedPath = fuzzing::MemoryFileSystem::kFolder + "/saved.veh";

// Opens, with a fresh object, what the prepared save would have written.
void reopenSaved(const TOldVehFile& saved) {
    fileSystem().writeFile(kSavedPath, text::joinLinesCrLf(*saved.lines()));
    fuzzing::AnsweringPrompt prompt(true);
    TSettings settings;
    TOldVehFile reopened(kSavedPath, prompt, settings);
    try {
        reopened.Load(TOldVehFile::ModeOpen);
    } catch (const EOldVehFile& error) {
        std::fprintf(stderr, "fuzz: reopening the saved vehicle failed: %s\n", error.what());
        require(false, "a saved vehicle opens again");
    }
}

// What the editor does with a vehicle it has opened: lists the keys it lacks, and before saving stores absent
// gears and brings the lines up to date. The save itself is only prepared, so nothing is written.
void useLoaded(TOldVehFile& vehicle, bool checkReopen) {
    std::vector<std::string> missing;
    vehicle.ListMissingEntries(missing);
    storeAbsentGearsAsZero(vehicle);
    bool prepared = true;
    try {
        vehicle.Save("", true);
    } catch (const EOldVehFile&) {
        prepared = false;
    }
    require(vehicle.lines() != nullptr, "a vehicle keeps its lines through a save");
    if (prepared && checkReopen)
        reopenSaved(vehicle);
}

void load(int mode, bool detailsOnly, fuzzing::AnsweringPrompt& prompt, TSettings& settings) {
    TOldVehFile vehicle(kInputPath, prompt, settings);
    vehicle.detailsOnly = detailsOnly;
    try {
        vehicle.Load(mode);
    } catch (const EOldVehFile&) {
        require(vehicle.lines() == nullptr, "a failed load holds no lines");
        return;
    }
    require(vehicle.lines() != nullptr, "a successful load holds the lines");
    // Only a vehicle opened for editing is ever saved; a ghost keeps the entries an opened file disables.
    if (!detailsOnly)
        useLoaded(vehicle, mode == TOldVehFile::ModeOpen);
}

// A new vehicle from the built-in template does not depend on the input: loaded, prepared and saved once.
void newVehicleOnce(fuzzing::MemoryFileSystem& files) {
    static bool done = false;
    if (done)
        return;
    done = true;
    fuzzing::AnsweringPrompt prompt(true);
    TSettings settings;
    settings.setPrompt(prompt);
    TOldVehFile vehicle(fuzzing::MemoryFileSystem::kFolder + "/new.veh", prompt, settings);
    vehicle.Load(TOldVehFile::ModeNew);
    useLoaded(vehicle, true);
    // A save clears the gears it removed; the editor stores the absent ones again before every save.
    storeAbsentGearsAsZero(vehicle);
    vehicle.Save("", false);
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
    TSettings settings;
    settings.setPrompt(accepting);

    load(TOldVehFile::ModeOpen, false, accepting, settings);
    // Refusing makes a difference only where the loader asked.
    if (accepting.questions > 0)
        load(TOldVehFile::ModeOpen, false, refusing, settings);
    load(TOldVehFile::ModeGhost, false, refusing, settings);
    load(TOldVehFile::ModeOpen, true, refusing, settings);
    return 0;
}
