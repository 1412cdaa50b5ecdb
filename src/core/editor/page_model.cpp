#include "editor/page_model.h"

#include "archive/working_copy_names.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "calc/data_validation.h"
#include "calc/number_text.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/field_catalogue.h"
#include "vehicle/value_rules.h"
#include "vehicle/veh_format.h"
#include "vehicle/vehicle_file.h"

namespace qora::editor {

namespace {

constexpr std::string_view kDetailsSaveOperation = "SaveDetailsPage()";
constexpr std::string_view kAttributeFormat = "0.0";
constexpr double kMaxAttribute = 9.9;
constexpr std::string_view kZeroAttribute = "0.0";
// An empty reverse or forward gear is stored so; the save then ends the gear list there.
constexpr std::string_view kEmptyGearStored = "0.0000";
constexpr std::string_view kEmptyGearShown = "0.000";

constexpr std::array<std::string_view, 6> kRaceItems{"Random", "80%", "60%", "40%", "20%", "0%"};
constexpr std::array<std::string_view, 10> kDamageItems{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr std::array<std::string_view, 3> kDriveItems{"REAR", "FRONT", "FOUR"};

// The saver's format messages, by attribute (aggression, defensive, ability).
constexpr std::array<std::string_view, 3> kAttributeFormatMessages{
    "Driver attribute 'Aggression' must be in the format of #.#",
    "Driver attribute defensive must be in the format of #.#",
    "Driver attribute ability must be in the format of #.#",
};

bool isDriverPart(BufferPart part) {
    return part == BufferPart::DriverName || part == BufferPart::DriverAggression ||
           part == BufferPart::DriverDefensive || part == BufferPart::DriverAbility;
}

// 0..2 for the attributes; -1 for the name.
int attributeIndex(BufferPart part) {
    switch (part) {
    case BufferPart::DriverAggression:
        return 0;
    case BufferPart::DriverDefensive:
        return 1;
    case BufferPart::DriverAbility:
        return 2;
    default:
        return -1;
    }
}

std::string bufferValue(const VehicleFile& vehicle, const PageField& field) {
    const EntryRec* entry = vehicle.findEntry(field.section, field.key, field.instance);
    return entry == nullptr ? std::string() : entry->value;
}

const std::string* findText(const PageTexts& texts, std::string_view name) {
    const auto it = texts.find(name);
    return it == texts.end() ? nullptr : &it->second;
}

// The driver number of a driver line key: 1 for "//Driver1=", 2 for "//Driver2=".
int driverNumber(std::string_view key) {
    return text::iequals(key, "//Driver2=") ? 2 : 1;
}

// The distinct driver line keys of a page's fields, in field order.
std::vector<std::string_view> driverKeys(std::span<const PageField> fields) {
    std::vector<std::string_view> keys;
    for (const PageField& field : fields)
        if (isDriverPart(field.part) && std::find(keys.begin(), keys.end(), field.key) == keys.end())
            keys.push_back(field.key);
    return keys;
}

const PageField* fieldOf(std::span<const PageField> fields, std::string_view name) {
    for (const PageField& field : fields)
        if (field.name == name)
            return &field;
    return nullptr;
}

void loadDrivers(const VehicleFile& vehicle, std::span<const PageField> fields, bool ghost, Prompt& prompt,
                 PageLoad& load) {
    for (std::string_view key : driverKeys(fields)) {
        const EntryRec* entry = vehicle.findEntry(veh::SecDetails, key, 1);
        const DriverData driver = parseDriverLine(entry == nullptr ? std::string_view() : entry->value);
        for (const PageField& field : fields) {
            if (!isDriverPart(field.part) || field.key != key)
                continue;
            const int a = attributeIndex(field.part);
            load.texts[std::string(field.name)] = a < 0 ? driver.name : driver.attributes[static_cast<std::size_t>(a)];
        }
        if (driver.valid)
            continue;
        if (ghost) {
            load.ghostProblems = true;
            continue;
        }
        for (const std::string& failure : driver.conversionFailures)
            prompt.tell(std::string(kFloatingPointErrorTitle), failure, PromptIcon::Exclamation);
        prompt.tell(std::string(kParseDriverTitle), invalidDriverMessage(driverNumber(key)), PromptIcon::Exclamation);
    }
}

void loadAngles(Settings& settings, Prompt& prompt, const std::optional<AngleTexts>& otherSetAngles, PageLoad& load) {
    std::string& front = load.texts["efAngle"];
    std::string& rear = load.texts["erAngle"];
    AngleLoad angles = loadAngleTexts({front, rear}, settings.anglesInDegrees, otherSetAngles);
    front = std::move(angles.texts.front);
    rear = std::move(angles.texts.rear);
    if (!angles.switchToRadians)
        return;
    settings.anglesInDegrees = false;
    load.angleModeSwitched = true;
    load.otherAngleTexts = std::move(angles.otherSet);
    prompt.tell(std::string(kMathUnitTitle), angles.message, PromptIcon::Stop);
}

// The DriveTrain page shows an empty or absent gear (a vehicle with five gears has no 6th) as a zero ratio.
void loadGears(std::span<const PageField> fields, PageLoad& load) {
    for (const PageField& field : fields) {
        const bool gear = field.section == veh::SecGears || text::iequals(field.key, "final_drive_ratio=");
        if (gear && load.texts[std::string(field.name)].empty())
            load.texts[std::string(field.name)] = kEmptyGearShown;
    }
}

// The driver line to store from the page's texts, or nullopt when the page shows none of its parts. Parts the
// page does not show keep what the buffer holds. Throws DataValidationError for an attribute of the wrong format.
std::optional<std::string> savedDriverLine(const VehicleFile& vehicle, std::span<const PageField> fields,
                                           std::string_view key, const PageTexts& texts) {
    const EntryRec* entry = vehicle.findEntry(veh::SecDetails, key, 1);
    const DriverData stored = parseDriverLine(entry == nullptr ? std::string_view() : entry->value);
    std::string name = stored.name;
    std::array<std::string, 3> attributes = stored.attributes;
    bool shown = false;
    for (const PageField& field : fields) {
        if (!isDriverPart(field.part) || field.key != key)
            continue;
        const std::string* text = findText(texts, field.name);
        if (text == nullptr)
            continue;
        shown = true;
        const int a = attributeIndex(field.part);
        if (a < 0) {
            if (text::trim(*text) != text::trim(stored.name))
                if (const auto problem = veh::driverNameProblem(text::trim(*text)))
                    throw DataValidationError(
                        kDetailsSaveOperation,
                        veh::textRefusalMessage(std::string(field.label.substr(0, field.label.size() - 1)) +
                                                    " on the Details page",
                                                *text, *problem),
                        field.name);
            name = *text;
            continue;
        }
        std::optional<std::string> checked = driverAttributeText(*text);
        if (!checked)
            throw DataValidationError(kDetailsSaveOperation, kAttributeFormatMessages[static_cast<std::size_t>(a)],
                                      field.name);
        attributes[static_cast<std::size_t>(a)] = std::move(*checked);
    }
    if (!shown)
        return std::nullopt;
    return text::trim(name) + "/" + attributes[0] + "/" + attributes[1] + "/" + attributes[2];
}

// The operation a page's failure names: "SavePerformancePage()".
std::string saveOperation(int page) {
    return "Save" + std::string(pageCaption(page)) + "Page()";
}

// How a message names a field: its label with its group and page ("Pressure (kPa) (FRONT) on the Tires page").
std::string describeField(const PageField& field) {
    std::string label(field.label);
    while (!label.empty() && (label.back() == ':' || label.back() == ' '))
        label.pop_back();
    if (!field.group.empty())
        label += " (" + std::string(field.group) + ")";
    return label + " on the " + std::string(pageCaption(field.page)) + " page";
}

// A numeric field's value, before it is stored: a number (or three) in its field's form, and within the field's
// limits. Only a value the user changed is checked: what the file held and the user left alone is kept as it is.
void checkNumericValue(const PageField& field, const std::string& value, const EntryRec* stored) {
    if (field.catalogueIndex < 0 || (stored != nullptr && stored->value == value))
        return;
    const FieldDef& def = fieldDef(field.page, field.catalogueIndex);
    const bool integers = def.kind == FieldKind::Integer;
    const int count = def.valueCount == 3 ? 3 : 1;
    const std::string where = describeField(field);
    // A line break at either end is not seen by the number check, but would end the entry in the file.
    if (const auto problem = veh::textValueProblem(value))
        throw DataValidationError(saveOperation(field.page), veh::textRefusalMessage(where, value, *problem),
                                  field.name);
    if (!veh::isNumberList(value, count, integers)) {
        const std::string wanted = count == 3 ? "three numbers separated by commas (such as 1.700,3.000,0.357)"
                                   : integers ? "a whole number"
                                              : "a number";
        throw DataValidationError(saveOperation(field.page),
                                  where + ": '" + value + "' is not " + wanted + ".  Type " + wanted +
                                      (integers ? "." : ", with \".\" as the decimal point."),
                                  field.name);
    }
    // Gears have their own rules, checked as they are typed.
    const bool limited =
        def.maximum > def.minimum && field.section != veh::SecGears && field.key != "final_drive_ratio=";
    if (!limited)
        return;
    std::size_t start = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t comma = value.find(',', start);
        const double number = *numbers::parseDouble(text::trimView(
            std::string_view(value).substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (number < def.minimum || number > def.maximum)
            throw DataValidationError(saveOperation(field.page),
                                      where + ": '" + value + "' is outside the field's limits, " +
                                          text::intToText(def.minimum) + " to " + text::intToText(def.maximum) + ".",
                                      field.name);
        start = comma + 1;
    }
}

// A text field's value, before it is stored: nothing that would change the file's structure.
void checkTextValue(const PageField& field, const std::string& value, const EntryRec* stored, bool driverName = false) {
    if (stored != nullptr && stored->value == value)
        return;
    const auto problem = driverName ? veh::driverNameProblem(value) : veh::textValueProblem(value);
    if (problem)
        throw DataValidationError(saveOperation(field.page),
                                  veh::textRefusalMessage(describeField(field), value, *problem), field.name);
}

} // namespace

// ---- Driver attributes ----------------------------------------------------------------------------------------

DriverData parseDriverLine(std::string_view line) {
    DriverData driver;
    driver.attributes.fill(std::string(kZeroAttribute));
    const auto slash = line.find('/');
    if (slash == std::string_view::npos) {
        driver.name = std::string(line);
        driver.valid = false;
        return driver;
    }
    driver.name = std::string(line.substr(0, slash));
    std::string_view rest = line.substr(slash + 1);
    for (std::string& attribute : driver.attributes) {
        const auto end = rest.find('/');
        const std::string_view raw = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);

        const std::string_view number = text::trimView(raw);
        if (number.empty()) {
            driver.valid = false;
            continue;
        }
        const std::optional<double> value = numbers::parseDouble(number);
        if (!value) {
            driver.conversionFailures.push_back("'" + std::string(raw) + "' is not a valid floating point value.");
            driver.valid = false;
            continue;
        }
        double v = *value;
        if (v < 0.0 || v > kMaxAttribute) {
            v = std::clamp(v, 0.0, kMaxAttribute);
            driver.valid = false;
        }
        attribute = numbers::formatFloat(kAttributeFormat, v);
    }
    return driver;
}

std::string invalidDriverMessage(int driver) {
    return "Driver " + text::intToText(driver) +
           " contains either invalid or no driver attributes.  Using default values.";
}

std::optional<std::string> driverAttributeText(std::string_view text) {
    if (text.empty())
        return std::string(kZeroAttribute);
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.size() != 3 || !digit(text[0]) || text[1] != '.' || !digit(text[2]))
        return std::nullopt;
    return std::string(text);
}

// ---- Race % -----------------------------------------------------------------------------------------------------

int racePosition(std::string_view bufferValue) {
    const std::optional<int> position = numbers::parseInt(text::trimView(bufferValue));
    if (!position)
        return 0;
    // The list has no item before "Random": a negative number shows as that, like any other unusable value.
    return std::clamp(*position, 0, static_cast<int>(kRaceItems.size()) - 1);
}

// ---- Loading ----------------------------------------------------------------------------------------------------

void PageLoad::merge(PageLoad&& other) {
    for (auto& [name, value] : other.texts)
        texts.insert_or_assign(name, std::move(value));
    ghostProblems = ghostProblems || other.ghostProblems;
    if (other.angleModeSwitched) {
        angleModeSwitched = true;
        otherAngleTexts = std::move(other.otherAngleTexts);
    }
}

PageLoad loadPage(const VehicleFile& vehicle, int page, bool ghost, Settings& settings, Prompt& prompt,
                  const std::optional<AngleTexts>& otherSetAngles) {
    const std::span<const PageField> fields = pageFields(page);
    PageLoad load;
    for (const PageField& field : fields) {
        if (field.part == BufferPart::Whole)
            load.texts[std::string(field.name)] = bufferValue(vehicle, field);
        else if (field.part == BufferPart::RacePosition)
            load.texts[std::string(field.name)] =
                std::string(kRaceItems[static_cast<std::size_t>(racePosition(bufferValue(vehicle, field)))]);
    }
    loadDrivers(vehicle, fields, ghost, prompt, load);
    if (page == PgAerodynamics)
        loadAngles(settings, prompt, otherSetAngles, load);
    if (page == PgDriveTrain)
        loadGears(fields, load);
    return load;
}

PageLoad loadPages(const VehicleFile& vehicle, bool ghost, Settings& settings, Prompt& prompt,
                   const std::optional<AngleTexts>& otherSetAngles) {
    PageLoad all;
    for (int page = 0; page < kPageCount; ++page)
        all.merge(loadPage(vehicle, page, ghost, settings, prompt, otherSetAngles));
    return all;
}

// ---- Saving -----------------------------------------------------------------------------------------------------

PageTexts savePage(VehicleFile& vehicle, int page, const PageTexts& texts, Settings& settings, Prompt& prompt) {
    const std::span<const PageField> fields = pageFields(page);
    PageTexts rewritten;
    // Every value is worked out before any is assigned, so a page that fails leaves the buffer as it was.
    std::vector<std::pair<EntryRec*, std::string>> assignments;
    const auto assign = [&vehicle, &assignments](const PageField& field, std::string value) {
        if (EntryRec* entry = vehicle.findEntry(field.section, field.key, field.instance))
            assignments.emplace_back(entry, std::move(value));
    };

    for (std::string_view key : driverKeys(fields))
        if (std::optional<std::string> line = savedDriverLine(vehicle, fields, key, texts))
            assignments.emplace_back(vehicle.findEntry(veh::SecDetails, key, 1), std::move(*line));

    if (page == PgAerodynamics) {
        const PageField* front = fieldOf(fields, "efAngle");
        const PageField* rear = fieldOf(fields, "erAngle");
        const std::string* frontText = findText(texts, front->name);
        const std::string* rearText = findText(texts, rear->name);
        const AngleTexts stored = saveAngleTexts(
            {frontText != nullptr ? *frontText : std::string("0"), rearText != nullptr ? *rearText : std::string("0")},
            settings.anglesInDegrees, prompt);
        // An angle shown in degrees is rounded to a tenth: one the user left as it was shown keeps its radians, so
        // a save never changes a value nobody touched.
        const auto storedAngle = [&](const PageField& field, const std::string& shown, const std::string& converted) {
            const EntryRec* entry = vehicle.findEntry(field.section, field.key, field.instance);
            if (entry == nullptr)
                return converted;
            if (settings.anglesInDegrees) {
                const TextConversion asShown = radiansToDegreesText(entry->value);
                if (asShown.ok() && *asShown.text == shown)
                    return entry->value;
            }
            checkNumericValue(field, converted, entry);
            return converted;
        };
        if (frontText != nullptr)
            assign(*front, storedAngle(*front, *frontText, stored.front));
        if (rearText != nullptr)
            assign(*rear, storedAngle(*rear, *rearText, stored.rear));
    }

    for (const PageField& field : fields) {
        if (field.part == BufferPart::None || isDriverPart(field.part))
            continue;
        if (page == PgAerodynamics && (field.name == "efAngle" || field.name == "erAngle"))
            continue;
        const std::string* text = findText(texts, field.name);
        if (text == nullptr)
            continue;
        const EntryRec* stored = vehicle.findEntry(field.section, field.key, field.instance);
        const auto checked = [&](std::string value) {
            if (field.numeric)
                checkNumericValue(field, value, stored);
            else
                checkTextValue(field, value, stored);
            return value;
        };
        if (field.part == BufferPart::RacePosition) {
            const auto item = std::find(kRaceItems.begin(), kRaceItems.end(), *text);
            if (item != kRaceItems.end())
                assign(field, text::intToText(item - kRaceItems.begin()));
        } else if (field.section == veh::SecSounds) {
            assign(field, checked(text::trim(*text)));
        } else if (field.section == veh::SecGears && text->empty()) {
            rewritten[std::string(field.name)] = kEmptyGearStored;
            assign(field, std::string(kEmptyGearStored));
        } else {
            assign(field, checked(*text));
        }
    }

    for (auto& [entry, value] : assignments)
        entry->value = std::move(value);
    return rewritten;
}

// ---- Author data ------------------------------------------------------------------------------------------------

AuthorData keptAuthorData(const VehicleFile& vehicle) {
    AuthorData data;
    for (std::size_t i = 0; i < kAuthorKeys.size(); ++i)
        if (const EntryRec* entry = vehicle.findEntry(veh::SecQora, kAuthorKeys[i], 1))
            data[i] = entry->value;
    return data;
}

void storeAuthorData(VehicleFile& vehicle, const AuthorData& data) {
    for (std::size_t i = 0; i < kAuthorKeys.size(); ++i)
        if (EntryRec* entry = vehicle.findEntry(veh::SecQora, kAuthorKeys[i], 1))
            entry->value = data[i];
}

// ---- Transfer ---------------------------------------------------------------------------------------------------

std::string_view TransferResult::title() const {
    switch (failure) {
    case Failure::VehicleFile:
        return kFileErrorTitle;
    case Failure::DataValidation:
        return kDataValidationErrorTitle;
    case Failure::None:
        break;
    }
    return {};
}

TransferResult transferBuffer(VehicleFile& vehicle, const PageTexts& texts, const AuthorData& authorData,
                              Settings& settings, Prompt& prompt,
                              const std::function<void(VehicleFile&)>& storeEngineCurve) {
    TransferResult result;
    try {
        for (int page = 0; page < kPageCount; ++page) {
            for (auto& [name, text] : savePage(vehicle, page, texts, settings, prompt))
                result.rewritten.insert_or_assign(name, std::move(text));
            if (page == PgPerformance && storeEngineCurve)
                storeEngineCurve(vehicle);
        }
        storeAuthorData(vehicle, authorData);
    } catch (const DataValidationError& e) {
        result.failure = TransferResult::Failure::DataValidation;
        result.text = e.what();
        result.field = e.field();
    } catch (const VehicleFileError& e) {
        result.failure = TransferResult::Failure::VehicleFile;
        result.text = e.what();
    }
    return result;
}

// ---- Lists ------------------------------------------------------------------------------------------------------

std::span<const std::string_view> raceItems() {
    return kRaceItems;
}

std::span<const std::string_view> fixedListItems(std::string_view name) {
    const PageField* field = findPageField(name);
    if (field == nullptr)
        return {};
    if (field->name == "dlUnlockPoints")
        return kRaceItems;
    if (field->name == "cbDamage")
        return kDamageItems;
    if (field->name == "cbDriveType")
        return kDriveItems;
    return {};
}

const std::vector<std::string>* settingsListItems(std::string_view name, const Settings& settings) {
    const PageField* field = findPageField(name);
    if (field == nullptr)
        return nullptr;
    if (field->name == "eIIdleSound")
        return &settings.insideIdleSounds;
    if (field->name == "eOIdleSound")
        return &settings.outsideIdleSounds;
    if (field->name == "eIRevvedSound")
        return &settings.insideRevvedSounds;
    if (field->name == "eORevvedSound")
        return &settings.outsideRevvedSounds;
    if (field->name == "dlGeometry")
        return &settings.geometryList;
    return nullptr;
}

bool rememberGeometry(std::string_view geometryText, Settings& settings) {
    const std::string geometry = text::trim(geometryText);
    if (geometry.empty())
        return false;
    auto& list = settings.geometryList;
    if (std::any_of(list.begin(), list.end(),
                    [&geometry](const std::string& item) { return text::iequals(item, geometry); }))
        return false;
    list.push_back(geometry);
    return true;
}

// ---- Window texts -----------------------------------------------------------------------------------------------

std::string windowCaption(std::string_view path) {
    std::string shown(path);
    const std::string lower = text::toLower(path);
    if (lower.find(kWorkingCopyPrefix) != std::string::npos || lower.find(kGhostCopyPrefix) != std::string::npos)
        shown = fileNameOf(shown);
    return std::string("QORA ") + kProgramVersion + " - " + shown;
}

SaveAnimationFrame saveAnimationFrame(int counter) {
    SaveAnimationFrame frame;
    if (counter < 0 || counter >= kSaveAnimationTicks) {
        frame.done = true;
        return frame;
    }
    constexpr int kStartIndex = 7; // 1-based, so the first frame is the text's middle
    constexpr int kStartWidth = 2;
    if (counter <= kStartIndex) {
        const int index = kStartIndex - counter;
        const int width = kStartWidth + 2 * counter;
        frame.text = std::string(
            kFileSavedText.substr(static_cast<std::size_t>(std::max(index, 1) - 1), static_cast<std::size_t>(width)));
        return frame;
    }
    // Opened out completely: blink, starting with the empty caption.
    if ((counter - kStartIndex) % 2 == 0)
        frame.text = std::string(kFileSavedText);
    return frame;
}

} // namespace qora::editor
