// libFuzzer target for "never write what QORA cannot read back": the first input byte picks a page field, a side
// dialog field or a key as qora-cli set names it, the rest is the text entered there. Whatever the editor's rules
// or qora-cli's accept is saved, and must then open without a question and read back as the same value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "calc/number_text.h"
#include "editor/page_fields.h"
#include "editor/page_model.h"
#include "editor/side_dialogs.h"
#include "fuzz_support.h"
#include "memory_file_system.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/value_rules.h"
#include "vehicle/veh_format.h"
#include "vehicle/vehicle_file.h"

using namespace qora;
using namespace qora::editor;
using qora::fuzzing::require;

namespace {

const std::string kPath = fuzzing::MemoryFileSystem::kFolder + "/car.veh";

struct Key {
    int section;
    std::string_view key;
};

const std::vector<const PageField*>& editableFields() {
    static const auto fields = [] {
        std::vector<const PageField*> list;
        for (const PageField& field : allPageFields())
            if (field.part != BufferPart::None && field.part != BufferPart::RacePosition &&
                field.widget != FieldWidget::Display)
                list.push_back(&field);
        return list;
    }();
    return fields;
}

const std::vector<Key>& cliKeys() {
    static const auto keys = [] {
        std::vector<Key> list;
        for (int s = 0; s < veh::kSectionCount; ++s)
            for (std::string_view key : veh::sectionKeys(s))
                if (!veh::isForbiddenKey(key))
                    list.push_back({s, key});
        return list;
    }();
    return keys;
}

// A new vehicle from the template, as the editor opens one.
VehicleFile newVehicle(Prompt& prompt, Settings& settings) {
    VehicleFile vehicle(kPath, prompt, settings);
    vehicle.load(VehicleFile::ModeNew);
    return vehicle;
}

// Saves, opens the file again with a user who refuses every question (there must be none) and returns it.
VehicleFile saveAndReopen(VehicleFile& vehicle, Settings& settings) {
    storeAbsentGearsAsZero(vehicle);
    try {
        vehicle.save("", false);
    } catch (const VehicleFileError& e) {
        std::fprintf(stderr, "fuzz: the save failed: %s\n", e.what());
        require(false, "what the rules accept can be saved");
    }
    static fuzzing::AnsweringPrompt refusing(false);
    refusing.questions = 0;
    VehicleFile reopened(kPath, refusing, settings);
    try {
        reopened.load(VehicleFile::ModeOpen);
    } catch (const VehicleFileError& e) {
        std::fprintf(stderr, "fuzz: the saved vehicle does not open: %s\n", e.what());
        require(false, "a saved vehicle opens again");
    }
    require(refusing.questions == 0, "a saved vehicle opens without a question");
    return reopened;
}

void requireSame(std::string_view back, std::string_view entered) {
    if (text::trimView(back) != text::trimView(entered)) {
        std::fprintf(stderr, "fuzz: entered \"%.*s\", read back \"%.*s\"\n", static_cast<int>(entered.size()),
                     entered.data(), static_cast<int>(back.size()), back.data());
        require(false, "an accepted value reads back as entered");
    }
}

void pageField(const PageField& field, const std::string& typed) {
    fuzzing::AnsweringPrompt prompt(false);
    Settings settings;
    settings.setPrompt(prompt);
    settings.backupFiles = false;
    VehicleFile vehicle = newVehicle(prompt, settings);
    PageTexts texts = loadPages(vehicle, false, settings, prompt).texts;
    texts[std::string(field.name)] = typed;
    const TransferResult result = transferBuffer(vehicle, texts, keptAuthorData(vehicle), settings, prompt);
    if (!result.ok()) {
        require(result.field == field.name, "a refused value names its field");
        return;
    }
    VehicleFile reopened = saveAndReopen(vehicle, settings);
    const std::string back = loadPages(reopened, false, settings, prompt).texts.at(std::string(field.name));
    const std::string_view entered = text::trimView(typed);
    if (field.section == veh::SecGears && (entered.empty() || numbers::parseDouble(entered) == 0.0))
        return; // an emptied or zero gear ends the gear list
    const bool attribute = field.part != BufferPart::Whole && field.part != BufferPart::DriverName;
    requireSame(back, attribute && entered.empty() ? std::string_view("0.0") : entered);
}

void sideDialogs(std::size_t choice, const std::string& typed) {
    fuzzing::AnsweringPrompt prompt(false);
    Settings settings;
    settings.setPrompt(prompt);
    settings.backupFiles = false;
    VehicleFile vehicle = newVehicle(prompt, settings);
    if (choice < kAiBasisFieldCount) {
        AiBasisForm form(vehicle);
        form.setField(choice, typed);
        const bool taken = !form.problem();
        form.store(vehicle);
        VehicleFile reopened = saveAndReopen(vehicle, settings);
        requireSame(AiBasisForm(reopened).field(choice), taken ? singleLineValue(typed) : std::string());
        return;
    }
    const auto item = static_cast<AuthorItem>(choice - kAiBasisFieldCount);
    AuthorData kept = keptAuthorData(vehicle);
    AuthorForm form(kept);
    form.setText(item, typed);
    const bool taken = !form.problem();
    form.store(kept, vehicle);
    VehicleFile reopened = saveAndReopen(vehicle, settings);
    if (taken)
        requireSame(keptAuthorData(reopened)[static_cast<std::size_t>(item)], singleLineValue(typed));
}

void cliAssignment(const Key& key, const std::string& value) {
    const bool numeric = veh::isNumericKey(key.section, key.key);
    if (veh::textValueProblem(value) || (numeric && !veh::isNumberList(text::trim(value))))
        return; // qora-cli set refuses it
    const std::string_view entered = text::trimView(value);
    // A zero gear ends the gear list; an empty optional entry and a part of "0" are left out of the file.
    const bool optional = key.section == veh::SecAiBasis || key.section == veh::SecParts || key.section == veh::SecQora;
    if (key.section == veh::SecGears || (optional && entered.empty()) ||
        (key.section == veh::SecParts && entered == "0"))
        return;
    fuzzing::AnsweringPrompt prompt(false);
    Settings settings;
    settings.setPrompt(prompt);
    settings.backupFiles = false;
    VehicleFile vehicle = newVehicle(prompt, settings);
    vehicle.findEntry(key.section, key.key, 1)->value = value;
    VehicleFile reopened = saveAndReopen(vehicle, settings);
    requireSame(reopened.findEntry(key.section, key.key, 1)->value, entered);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    static fuzzing::MemoryFileSystem files;
    files.clear();
    ScopedFileSystem scope(files);
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t choice = (static_cast<std::size_t>(data[0]) << 8) | data[1];
    const std::size_t pages = editableFields().size();
    const std::size_t dialogs = kAiBasisFieldCount + 5;
    const std::size_t all = pages + dialogs + cliKeys().size();
    const std::size_t picked = choice % all;
    if (picked < pages)
        pageField(*editableFields()[picked], text);
    else if (picked < pages + dialogs)
        sideDialogs(picked - pages, text);
    else
        cliAssignment(cliKeys()[picked - pages - dialogs], text);
    return 0;
}
