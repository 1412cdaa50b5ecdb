#pragma once

#include <filesystem>
#include <string>

#include "support/scripted_prompt.h"
#include "support/temp_dir.h"
#include "settings/settings.h"
#include "vehicle/vehicle_file.h"

namespace qora::testing {

// A temporary folder with copies of fixtures, a scripted prompt and default settings: what a vehicle file
// test needs to load and save for real.
struct VehFixture {
    TempDir dir;
    ScriptedPrompt prompt;
    Settings settings;

    VehFixture() { settings.setPrompt(prompt); }

    // Copies tests/data/<name> into the temporary folder and returns the copy's path.
    std::string copy(const std::string& name, const std::string& as = {}) {
        const std::string target = dir.file(as.empty() ? name : as);
        std::filesystem::copy_file(dataFile(name), target, std::filesystem::copy_options::overwrite_existing);
        return target;
    }

    VehicleFile open(const std::string& path) { return VehicleFile(path, prompt, settings); }
};

} // namespace qora::testing
