#include "editor/side_dialogs.h"

#include <algorithm>
#include <stdexcept>

#include "calc/number_text.h"
#include "platform/prompt.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/field_catalogue.h"
#include "vehicle/vehicle_file.h"
#include "vehicle/value_rules.h"
#include "vehicle/veh_format.h"

namespace qora::editor {

namespace {

constexpr std::array<PartControl, kPartCount> kPartControls{{
    {"cbGearBox", "Gear Box", ""},
    {"cbComputerChip", "Computer Chip", ""},
    {"cbIntercooler", "Intercooler", ""},
    {"cbAbs", "ABS Brakes", ""},
    {"tbTurboCharger", "Turbo:", "pTurbo"},
    {"tbBrakes", "Brakes:", "pBrakes"},
    {"tbWeight", "Weight Reduction:", "pWeight"},
    {"tbAerodynamics", "Aerodynamics:", "pAero"},
    {"tbClutch", "Clutch Flywheel:", "pClutch"},
    {"tbTires", "Tires:", "pTires"},
    {"tbSuspension", "Suspension:", "pSuspension"},
    {"tbManifold", "Manifold Headers:", "pHeaders"},
    {"tbExhaust", "Exhaust:", "pExhaust"},
    {"tbAirIntake", "Air Intake:", "pAirIntake"},
}};

const FieldDef& partField(std::size_t part) {
    return fieldDef(PageParts, static_cast<int>(part));
}

bool askToClear(const Settings& settings, Prompt& prompt, std::string_view title) {
    return !settings.generalWarnings ||
           prompt.ask(std::string(title), std::string(kClearAllQuestion), PromptButtons::YesNo,
                      PromptIcon::Question) == PromptAnswer::Yes;
}

} // namespace

// ---- Upgrade parts ----------------------------------------------------------------------------------------------

std::span<const PartControl> partControls() {
    return kPartControls;
}

int partPosition(std::string_view value, int part) {
    const FieldDef& def = partField(static_cast<std::size_t>(part));
    return std::clamp(numbers::parseInt(value).value_or(0), def.minimum, def.maximum);
}

PartsForm::PartsForm(const VehicleFile& vehicle) {
    for (std::size_t part = 0; part < kPartCount; ++part)
        if (const EntryRec* entry = vehicle.findEntry(veh::SecParts, partField(part).key))
            m_positions[part] = partPosition(entry->value, static_cast<int>(part));
}

void PartsForm::setPosition(std::size_t part, int value) {
    const FieldDef& def = partField(part);
    m_positions.at(part) = std::clamp(value, def.minimum, def.maximum);
}

std::string PartsForm::readOutText(std::size_t part) const {
    return std::to_string(m_positions.at(part));
}

std::size_t PartsForm::partOfSliderTag(int tag) {
    if (tag < 0 || static_cast<std::size_t>(tag) >= kPartCount - kPartCheckBoxCount)
        throw std::out_of_range("no parts slider has the tag " + std::to_string(tag));
    return kPartCheckBoxCount + static_cast<std::size_t>(tag);
}

void PartsForm::store(VehicleFile& vehicle) const {
    const bool none = std::all_of(m_positions.begin(), m_positions.end(), [](int p) { return p == 0; });
    for (std::size_t part = 0; part < kPartCount; ++part)
        if (EntryRec* entry = vehicle.findEntry(veh::SecParts, partField(part).key))
            entry->value = none ? std::string() : std::to_string(m_positions[part]);
}

// ---- Computer-opponent basis --------------------------------------------------------------------------------------

AiBasisForm::AiBasisForm(const VehicleFile& vehicle) {
    for (std::size_t i = 0; i < kAiBasisFieldCount; ++i)
        if (const EntryRec* entry = vehicle.findEntry(veh::SecAiBasis, fieldDef(PageAiBasis, static_cast<int>(i)).key))
            m_fields[i] = entry->value;
}

void AiBasisForm::setField(std::size_t index, std::string_view text) {
    m_fields.at(index) = std::string(text);
    m_modified = true;
}

bool AiBasisForm::clearAllFields(const Settings& settings, Prompt& prompt) {
    if (!askToClear(settings, prompt, kAiBasisClearTitle))
        return false;
    for (std::string& field : m_fields)
        field.clear();
    m_modified = true;
    return true;
}

std::optional<std::pair<std::size_t, std::string>> AiBasisForm::problem() const {
    for (std::size_t i = 0; i < kAiBasisFieldCount; ++i) {
        const std::string value = text::trim(singleLineValue(m_fields[i]));
        if (value.empty() || veh::isNumberList(value, 1))
            continue;
        return std::pair{i, fieldDef(PageAiBasis, static_cast<int>(i)).label + ": '" + value +
                                "' is not a number.  Type a number, with \".\" as the decimal point, or leave the "
                                "field empty."};
    }
    return std::nullopt;
}

bool AiBasisForm::store(VehicleFile& vehicle) const {
    for (std::size_t i = 0; i < kAiBasisFieldCount; ++i) {
        EntryRec* entry = vehicle.findEntry(veh::SecAiBasis, fieldDef(PageAiBasis, static_cast<int>(i)).key);
        const std::string value = text::trim(singleLineValue(m_fields[i]));
        // A value the loader would refuse is never written.
        if (entry != nullptr && (value.empty() || veh::isNumberList(value, 1)))
            entry->value = value;
    }
    return m_modified;
}

// ---- Author data ------------------------------------------------------------------------------------------------

AuthorForm::AuthorForm(const AuthorData& kept) : m_texts(kept) {}

void AuthorForm::setText(AuthorItem item, std::string_view text) {
    m_texts.at(static_cast<std::size_t>(item)) = std::string(text);
    m_modified = true;
}

bool AuthorForm::clearAllFields(const Settings& settings, Prompt& prompt) {
    if (!askToClear(settings, prompt, kAuthorClearTitle))
        return false;
    for (std::string& t : m_texts)
        t.clear();
    m_modified = true;
    return true;
}

std::string_view authorLabel(AuthorItem item) {
    static constexpr std::array<std::string_view, 5> kLabels{"Original Author", "Based On Vehicle",
                                                             "Notes From The Author", "Modified By",
                                                             "VEH File Version"};
    return kLabels.at(static_cast<std::size_t>(item));
}

std::optional<std::pair<AuthorItem, std::string>> AuthorForm::problem() const {
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        const std::string value = singleLineValue(m_texts[i]);
        if (const auto problem = veh::textValueProblem(value))
            return std::pair{static_cast<AuthorItem>(i),
                             veh::textRefusalMessage(authorLabel(static_cast<AuthorItem>(i)), value, *problem)};
    }
    return std::nullopt;
}

bool AuthorForm::store(AuthorData& kept, VehicleFile& vehicle) const {
    AuthorData values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = singleLineValue(m_texts[i]);
        // A text that would change the file's structure is never written: the value stays as it was.
        if (veh::textValueProblem(values[i]))
            values[i] = kept[i];
    }
    if (values == kept)
        return false;
    kept = std::move(values);
    storeAuthorData(vehicle, kept);
    return true;
}

std::string singleLineValue(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += ' ';
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace qora::editor
