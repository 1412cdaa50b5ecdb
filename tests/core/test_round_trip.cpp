// What QORA accepts, it can read back: any text the pages, the side dialogs or qora-cli set take into a vehicle
// is saved and then loads back as the same value. Random texts from an alphabet of the characters that carry a
// vehicle file's structure ("//", "[ENGINE]", "=", line breaks, parentheses) go through the same code the editor
// runs; a text the rules refuse must be refused with the field named, one they accept must survive a save.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "calc/field_rules.h"
#include "calc/number_text.h"
#include "editor/page_fields.h"
#include "editor/page_model.h"
#include "editor/side_dialogs.h"
#include "platform/text.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"
#include "support/veh_fixture.h"
#include "vehicle/value_rules.h"
#include "vehicle/vehicle_file.h"

using namespace qora;
using namespace qora::editor;
using namespace qora::testing;

namespace {

// Pieces random texts are made of: ordinary text, numbers, and everything that means something in a vehicle file.
const std::vector<std::string> kTextPieces = {"Mustang",
                                              " ",
                                              "V8",
                                              "é",
                                              "\xe9",
                                              "/",
                                              "//",
                                              "[",
                                              "]",
                                              "[ENGINE]",
                                              "[engine]",
                                              "[QORA]",
                                              "=",
                                              "mass=",
                                              "//DescFile=",
                                              "editor=",
                                              "Editor=QORA",
                                              "(",
                                              ")",
                                              ",",
                                              ".",
                                              "-",
                                              "#",
                                              ";",
                                              "\"",
                                              "'",
                                              "\t",
                                              "\r",
                                              "\n",
                                              "~",
                                              "http://x.org",
                                              "rpm_torque=(0.0, 1.00)",
                                              "0",
                                              "12.5",
                                              "  "};
const std::vector<std::string> kNumberPieces = {"0",     "1",    "7",      "12", "500", ".",   "..", "-",
                                                "+",     ",",    " ",      "e",  "E5",  "1e5", "x",  "0.5",
                                                "-3.25", "9999", "100000", "",   "(",   ")",   "\n", "\x10"};

std::string randomText(std::mt19937& random, const std::vector<std::string>& pieces, int maxPieces) {
    std::uniform_int_distribution<int> count(0, maxPieces);
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::string text;
    for (int n = count(random); n > 0; --n)
        text += pieces[piece(random)];
    return text;
}

// A prompt that answers nothing: a load that asks a question after a save has met something it cannot read back.
struct RefusingPrompt final : Prompt {
    std::vector<std::string> questions;
    PromptAnswer ask(const std::string&, const std::string& text, PromptButtons, PromptIcon,
                     std::optional<PromptAnswer> = std::nullopt) override {
        questions.push_back(text);
        return PromptAnswer::Cancel;
    }
    void tell(const std::string&, const std::string&, PromptIcon) override {}
    void beep() override {}
};

// The fields a user edits on the pages: every field with a buffer value, but the computed displays and the list
// of fixed race items.
std::vector<const PageField*> editableFields() {
    std::vector<const PageField*> fields;
    for (const PageField& field : allPageFields())
        if (field.part != BufferPart::None && field.part != BufferPart::RacePosition &&
            field.widget != FieldWidget::Display)
            fields.push_back(&field);
    return fields;
}

bool isGear(const PageField& field) {
    return field.section == veh::SecGears;
}

// What the page shows for a value after it was stored and read again: blanks at the ends are not part of a value.
std::string shown(std::string_view text) {
    return text::trim(text);
}

} // namespace

TEST(RoundTrip, WhatThePagesAcceptLoadsBackAsTyped) {
    std::mt19937 random(20261207);
    int accepted = 0;
    int refused = 0;
    for (const PageField* field : editableFields()) {
        for (int trial = 0; trial < 40; ++trial) {
            VehFixture f;
            RefusingPrompt prompt;
            f.settings.setPrompt(prompt);
            f.settings.backupFiles = false;
            VehicleFile vehicle = f.open(f.dir.file("car.veh"));
            vehicle.load(VehicleFile::ModeNew);
            PageTexts texts = loadPages(vehicle, false, f.settings, prompt).texts;
            const std::string typed =
                field->numeric ? randomText(random, kNumberPieces, 4) : randomText(random, kTextPieces, 4);
            texts[std::string(field->name)] = typed;
            const TransferResult result = transferBuffer(vehicle, texts, keptAuthorData(vehicle), f.settings, prompt);
            SCOPED_TRACE(std::string(field->name) + " = \"" + typed + "\"");
            if (!result.ok()) {
                ++refused;
                EXPECT_EQ(result.field, field->name) << result.text;
                continue;
            }
            ++accepted;
            storeAbsentGearsAsZero(vehicle);
            ASSERT_NO_THROW(vehicle.save("", false));

            VehicleFile reread = f.open(vehicle.fileName);
            try {
                reread.load(VehicleFile::ModeOpen);
            } catch (const VehicleFileError& e) {
                FAIL() << "the saved vehicle does not open: " << e.what();
            }
            EXPECT_TRUE(prompt.questions.empty()) << prompt.questions.front();
            const PageTexts again = loadPages(reread, false, f.settings, prompt).texts;
            const std::string& back = again.at(std::string(field->name));
            // An emptied or zero gear ends the gear list: the save drops it, and it shows as 0.000.
            if (isGear(*field) && (shown(typed).empty() || numbers::parseDouble(shown(typed)) == 0.0))
                continue;
            const bool attribute = field->part != BufferPart::Whole && field->part != BufferPart::DriverName;
            EXPECT_EQ(shown(back), attribute && typed.empty() ? std::string("0.0") : shown(typed));
        }
    }
    // Both sides of the rules were tried.
    EXPECT_GT(accepted, 500);
    EXPECT_GT(refused, 500);
}

TEST(RoundTrip, WhatTheSideDialogsAcceptLoadsBackAsTyped) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 300; ++trial) {
        VehFixture f;
        RefusingPrompt prompt;
        f.settings.setPrompt(prompt);
        f.settings.backupFiles = false;
        VehicleFile vehicle = f.open(f.dir.file("car.veh"));
        vehicle.load(VehicleFile::ModeNew);

        AiBasisForm basis(vehicle);
        const std::size_t field = static_cast<std::size_t>(trial) % kAiBasisFieldCount;
        const std::string number = randomText(random, kNumberPieces, 3);
        basis.setField(field, number);
        const bool basisTaken = !basis.problem();
        basis.store(vehicle);

        AuthorData kept = keptAuthorData(vehicle);
        AuthorForm author(kept);
        const auto item = static_cast<AuthorItem>(trial % 5);
        const std::string words = randomText(random, kTextPieces, 4);
        author.setText(item, words);
        const bool authorTaken = !author.problem();
        author.store(kept, vehicle);

        storeAbsentGearsAsZero(vehicle);
        vehicle.save("", false);
        VehicleFile reread = f.open(vehicle.fileName);
        SCOPED_TRACE("basis \"" + number + "\", author \"" + words + "\"");
        ASSERT_NO_THROW(reread.load(VehicleFile::ModeOpen));
        ASSERT_TRUE(prompt.questions.empty()) << prompt.questions.front();
        const AiBasisForm basisAgain(reread);
        if (basisTaken)
            EXPECT_EQ(basisAgain.field(field), shown(number));
        else
            EXPECT_EQ(basisAgain.field(field), "") << "a refused value is never written";
        const AuthorData authorAgain = keptAuthorData(reread);
        if (authorTaken) {
            EXPECT_EQ(authorAgain[static_cast<std::size_t>(item)], shown(singleLineValue(words)));
        }
    }
}

TEST(RoundTrip, WhatQoraCliSetAcceptsLoadsBackAsGiven) {
    // The rules `qora-cli set` applies to an assignment, for every key of every section.
    std::mt19937 random(1125);
    int accepted = 0;
    for (int section = 0; section < veh::kSectionCount; ++section) {
        const auto keys = veh::sectionKeys(section);
        for (std::size_t e = 0; e < keys.size(); ++e) {
            const std::string_view key = keys[e];
            if (veh::isForbiddenKey(key))
                continue;
            const bool numeric = veh::isNumericKey(section, key);
            for (int trial = 0; trial < 12; ++trial) {
                const std::string value =
                    numeric ? randomText(random, kNumberPieces, 4) : randomText(random, kTextPieces, 4);
                if (veh::textValueProblem(value) || (numeric && !veh::isNumberList(text::trim(value))))
                    continue;
                // A gear of zero ends the gear list; an empty optional entry is left out of the file.
                if (section == veh::SecGears ||
                    (value.find_first_not_of(' ') == std::string::npos &&
                     (section == veh::SecAiBasis || section == veh::SecParts || section == veh::SecQora)))
                    continue;
                VehFixture f;
                f.settings.backupFiles = false;
                VehicleFile vehicle = f.open(f.dir.file("car.veh"));
                vehicle.load(VehicleFile::ModeNew);
                EntryRec* entry = vehicle.findEntry(section, key, 1);
                ASSERT_NE(entry, nullptr);
                entry->value = value;
                storeAbsentGearsAsZero(vehicle);
                vehicle.save("", false);
                SCOPED_TRACE(std::string(veh::sectionName(section)) + std::string(key) + value);
                VehicleFile reread = f.open(vehicle.fileName);
                ASSERT_NO_THROW(reread.load(VehicleFile::ModeOpen));
                const EntryRec* back = reread.findEntry(section, key, 1);
                ASSERT_NE(back, nullptr);
                // Parts hold "0" for "not fitted", which the save leaves out.
                if (section == veh::SecParts && shown(value) == "0")
                    continue;
                EXPECT_EQ(shown(back->value), shown(value));
                ++accepted;
            }
        }
    }
    EXPECT_GT(accepted, 300);
}
