#include <gtest/gtest.h>

#include <algorithm>

#include "editor/side_dialogs.h"
#include "platform/text.h"
#include "support/veh_fixture.h"
#include "vehicle/veh_format.h"

using namespace qora;
using namespace qora::editor;
using namespace qora::testing;

namespace {

// A vehicle file: the template followed by the given optional sections, loaded.
struct SideFixture : VehFixture {
    std::string path;
    std::optional<VehicleFile> vehicle;

    explicit SideFixture(const std::vector<std::string>& extra) {
        std::vector<std::string> lines = veh::templateLines();
        lines.insert(lines.end(), extra.begin(), extra.end());
        path = dir.file("car.veh");
        writeBytes(path, text::joinLinesCrLf(lines));
        vehicle.emplace(path, prompt, settings);
        vehicle->load(VehicleFile::ModeOpen);
    }

    std::string& value(int section, std::string_view key) { return vehicle->findEntry(section, key)->value; }

    // The lines after a save (prepare only), as the next save would write them.
    const std::vector<std::string>& prepared() {
        storeAbsentGearsAsZero(*vehicle);
        vehicle->save("", true);
        return *vehicle->lines();
    }
    bool hasLine(std::string_view line) {
        const auto& lines = prepared();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

const std::vector<std::string> kParts{"",
                                      "[PARTS]",
                                      "abs=1",
                                      "computer_chip=0",
                                      "gearbox_ringpinion=0",
                                      "intercooler=1",
                                      "tires=2",
                                      "suspension=0",
                                      "weight_reduction=0",
                                      "aerodynamic_work=0",
                                      "brake_system=0",
                                      "manifold_headers=0",
                                      "muffler_pipes=0",
                                      "air_intake=0",
                                      "turbo_charger=5",
                                      "clutch_flywheel=-2"};

} // namespace

TEST(SideDialogsParts, ControlsShowClampedValuesAndOkStoresThemInRange) {
    SideFixture f(kParts);
    f.value(veh::SecParts, "computer_chip") = "x"; // unreadable: unchecked

    PartsForm form(*f.vehicle);
    EXPECT_TRUE(form.checked(3)); // abs
    EXPECT_FALSE(form.checked(1));
    EXPECT_TRUE(form.checked(2));
    EXPECT_EQ(form.position(4), 3); // turbo 5, limited
    EXPECT_EQ(form.position(8), 0); // clutch -2, limited
    EXPECT_EQ(form.position(9), 2); // tires
    EXPECT_EQ(form.readOutText(4), "3");

    // The sliders' tags select their read-outs: 0 turbo ... 9 air intake.
    const auto controls = partControls();
    ASSERT_EQ(controls.size(), 14u);
    EXPECT_EQ(controls[PartsForm::partOfSliderTag(0)].readOut, "pTurbo");
    EXPECT_EQ(controls[PartsForm::partOfSliderTag(5)].name, "tbTires");
    EXPECT_EQ(controls[PartsForm::partOfSliderTag(9)].readOut, "pAirIntake");
    EXPECT_THROW(PartsForm::partOfSliderTag(10), std::out_of_range);

    // Moving a control keeps it in range.
    form.setPosition(9, 7);
    EXPECT_EQ(form.readOutText(9), "3");
    form.setPosition(9, 1);
    form.setPosition(2, 5);
    EXPECT_EQ(form.position(2), 1);

    // Cancel stores nothing: the file's own values stay.
    EXPECT_EQ(f.value(veh::SecParts, "turbo_charger"), "5");

    form.setChecked(2, false);
    form.store(*f.vehicle);
    EXPECT_EQ(f.value(veh::SecParts, "turbo_charger"), "3");
    EXPECT_EQ(f.value(veh::SecParts, "computer_chip"), "0");
    EXPECT_EQ(f.value(veh::SecParts, "clutch_flywheel"), "0");
    EXPECT_EQ(f.value(veh::SecParts, "tires"), "1");
    EXPECT_EQ(f.value(veh::SecParts, "abs"), "1");
    EXPECT_TRUE(f.hasLine("[PARTS]"));
    EXPECT_TRUE(f.hasLine("turbo_charger=3"));
    EXPECT_FALSE(f.hasLine("intercooler=1")); // a 0 part loses its line
    EXPECT_FALSE(f.hasLine("clutch_flywheel=-2"));
}

TEST(SideDialogsParts, AllZeroRemovesTheSectionOnSave) {
    SideFixture f(kParts);
    PartsForm form(*f.vehicle);
    for (std::size_t part = 0; part < kPartCount; ++part)
        form.setPosition(part, 0);
    form.store(*f.vehicle);
    for (std::string_view key : veh::sectionKeys(veh::SecParts))
        EXPECT_EQ(f.vehicle->findEntry(veh::SecParts, key)->value, "") << key;

    // Saved for real, the file has no PARTS section left.
    storeAbsentGearsAsZero(*f.vehicle);
    f.vehicle->save("", false);
    const std::string saved = readBytes(f.path);
    EXPECT_EQ(saved.find("[PARTS]"), std::string::npos);
    EXPECT_EQ(saved.find("turbo_charger"), std::string::npos);

    // A vehicle without the section gets it back once a part is set.
    PartsForm again(*f.vehicle);
    EXPECT_EQ(again.position(4), 0);
    again.setChecked(3, true);
    again.store(*f.vehicle);
    EXPECT_TRUE(f.hasLine("[PARTS]"));
    EXPECT_TRUE(f.hasLine("abs=1"));
    EXPECT_FALSE(f.hasLine("tires=0"));
}

TEST(SideDialogsAiBasis, RoundTripAndClearAllFields) {
    SideFixture f({"", "[AIBASIS]", "ground_effects=(1.5)", "cornering=(0.9)", "braking=(1.1)", "acceleration=(1.0)",
                   "top_speed=(1.2)"});
    AiBasisForm form(*f.vehicle);
    EXPECT_EQ(form.field(0), "1.5");
    EXPECT_EQ(form.field(4), "1.2");

    // Closed without an edit: values stored again (trimmed), nothing to mark changed.
    f.value(veh::SecAiBasis, "braking") = " 1.1 ";
    AiBasisForm untouched(*f.vehicle);
    EXPECT_FALSE(untouched.store(*f.vehicle));
    EXPECT_EQ(f.value(veh::SecAiBasis, "braking"), "1.1");

    form.setField(1, "  0.95 ");
    EXPECT_TRUE(form.modified());
    EXPECT_TRUE(form.store(*f.vehicle));
    EXPECT_EQ(f.value(veh::SecAiBasis, "cornering"), "0.95");
    EXPECT_TRUE(f.hasLine("cornering=(0.95)"));

    // Clear All Fields asks while general warnings are on.
    AiBasisForm clearing(*f.vehicle);
    f.prompt.answer(PromptAnswer::No).answer(PromptAnswer::Yes);
    EXPECT_FALSE(clearing.clearAllFields(f.settings, f.prompt));
    EXPECT_EQ(clearing.field(0), "1.5");
    EXPECT_FALSE(clearing.modified());
    EXPECT_TRUE(clearing.clearAllFields(f.settings, f.prompt));
    const auto question = f.prompt.questions().at(0);
    EXPECT_EQ(question.title, "QORA AI Basis");
    EXPECT_EQ(question.text, "This will clear ALL data in ALL fields in this dialog.  Are you sure?");
    EXPECT_EQ(question.buttons, PromptButtons::YesNo);
    EXPECT_EQ(question.icon, PromptIcon::Question);
    EXPECT_EQ(question.defaultButton, PromptAnswer::Yes);
    EXPECT_TRUE(clearing.store(*f.vehicle));
    EXPECT_FALSE(f.hasLine("[AIBASIS]"));

    // Without general warnings it clears at once.
    f.settings.generalWarnings = false;
    form.setField(0, "2.0");
    EXPECT_TRUE(form.clearAllFields(f.settings, f.prompt));
    EXPECT_EQ(form.field(0), "");
    EXPECT_EQ(f.prompt.questions().size(), 2u);
}

TEST(SideDialogsAuthor, ChangedTextsReachTheSectionAndClearingRemovesIt) {
    SideFixture f({"", "[QORA]", "OriginalAuthor=Ray Colter", "BasedOnCar=G01B", "AuthorsNotes=First try",
                   "ModifiedBy=", "VehFileVersion=1.0"});
    AuthorData kept = keptAuthorData(*f.vehicle);

    // Nothing changed: nothing stored, nothing to mark.
    AuthorForm same(kept);
    EXPECT_EQ(same.text(AuthorOriginal), "Ray Colter");
    same.setText(AuthorVersion, "1.0");
    EXPECT_FALSE(same.store(kept, *f.vehicle));

    // The notes memo may hold line breaks; a value is one line of the file.
    AuthorForm form(kept);
    form.setText(AuthorNotes, "Softer springs.\r\nLonger gears.\nDone");
    form.setText(AuthorModifiedBy, "Ana Ruiz");
    EXPECT_TRUE(form.store(kept, *f.vehicle));
    EXPECT_EQ(kept[AuthorNotes], "Softer springs. Longer gears. Done");
    EXPECT_EQ(f.value(veh::SecQora, "AuthorsNotes"), "Softer springs. Longer gears. Done");
    EXPECT_TRUE(f.hasLine("ModifiedBy=Ana Ruiz"));
    EXPECT_TRUE(f.hasLine("AuthorsNotes=Softer springs. Longer gears. Done"));

    AuthorForm clearing(kept);
    f.prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(clearing.clearAllFields(f.settings, f.prompt));
    EXPECT_EQ(f.prompt.questions().at(0).title, "QORA Author Information");
    EXPECT_EQ(f.prompt.questions().at(0).text, "This will clear ALL data in ALL fields in this dialog.  Are you sure?");
    EXPECT_TRUE(clearing.modified());
    EXPECT_TRUE(clearing.store(kept, *f.vehicle));
    EXPECT_EQ(kept, AuthorData{});
    EXPECT_FALSE(f.hasLine("[QORA]"));
    EXPECT_FALSE(f.hasLine("OriginalAuthor=Ray Colter"));

    EXPECT_EQ(singleLineValue("a\r\rb\n"), "a  b ");
}
