#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "editor/page_fields.h"
#include "editor/page_model.h"
#include "platform/text.h"
#include "support/veh_fixture.h"
#include "vehicle/field_catalogue.h"
#include "vehicle/veh_format.h"
#include "vehicle/vehicle_file.h"

using namespace qora;
using namespace qora::editor;
using namespace qora::testing;

namespace {

const PageField& field(std::string_view name) {
    const PageField* f = findPageField(name);
    if (f == nullptr)
        throw std::logic_error("no field " + std::string(name));
    return *f;
}

bool hasBufferValue(const PageField& f) {
    return f.part != BufferPart::None;
}

} // namespace

TEST(PageFields, PagesPartitionTheFieldsAndEveryControlNameIsUnique) {
    std::size_t total = 0;
    for (int page = 0; page < editor::kPageCount; ++page) {
        for (const PageField& f : editor::pageFields(page))
            EXPECT_EQ(f.page, page) << f.name;
        total += editor::pageFields(page).size();
    }
    EXPECT_EQ(total, allPageFields().size());
    EXPECT_THROW(editor::pageFields(7), std::out_of_range);

    std::set<std::string_view> names;
    for (const PageField& f : allPageFields()) {
        ASSERT_FALSE(f.name.empty());
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        if (!f.ghostName.empty()) {
            EXPECT_TRUE(names.insert(f.ghostName).second) << f.ghostName;
        }
        EXPECT_EQ(findPageField(f.name), &f);
        if (!f.ghostName.empty()) {
            EXPECT_EQ(findPageField(f.ghostName), &f);
        }
    }
    EXPECT_EQ(findPageField(""), nullptr);
    EXPECT_EQ(findPageField("eNothing"), nullptr);

    EXPECT_EQ(pageCaption(PgDetails), "Details");
    EXPECT_EQ(pageCaption(PgDriveTrain), "DriveTrain");
    EXPECT_EQ(editor::pageName(PgAerodynamics), "pgAerodynamics");
    EXPECT_EQ(editor::pageName(PgOther), "pgOther");
}

TEST(PageFields, GhostTwinsFollowTheNamingRule) {
    for (const PageField& f : allPageFields()) {
        if (f.ghostName.empty())
            continue;
        if (f.name == "dlGeometry" || f.name == "cbDamage" || f.name == "cbDriveType")
            EXPECT_EQ(f.ghostName, "ge" + std::string(f.name.substr(2)));
        else
            EXPECT_EQ(f.ghostName, "g" + std::string(f.name));
    }
    EXPECT_EQ(field("dlUnlockPoints").ghostName, "gdlUnlockPoints");
    EXPECT_EQ(field("erLongitudinalCoeff").ghostName, "gerLongitudinalCoeff");
    EXPECT_EQ(field("cbDamage").ghostName, "geDamage");

    // No twin: the Details text fields (the ghost's description has its own panel) and the computed displays.
    for (std::string_view name : {"eDescription", "eEngineType", "eTeamName", "eDriver1Name", "eDriver2Name",
                                  "eManufacturer", "eClass", "eCost", "eGearRpm2", "eBestGear6", "eUpgraded6th"})
        EXPECT_TRUE(field(name).ghostName.empty()) << name;
    for (const PageField& f : allPageFields())
        if (f.widget == FieldWidget::Display) {
            EXPECT_TRUE(f.ghostName.empty()) << f.name;
        }
}

TEST(PageFields, EveryBufferLocationResolvesInTheTemplate) {
    VehFixture fx;
    VehicleFile vehicle = fx.open(fx.dir.file("New.veh"));
    vehicle.load(VehicleFile::ModeNew);
    for (const PageField& f : allPageFields()) {
        if (!hasBufferValue(f)) {
            EXPECT_EQ(f.section, -1) << f.name;
            continue;
        }
        const EntryRec* entry = vehicle.findEntry(f.section, f.key, f.instance);
        ASSERT_NE(entry, nullptr) << f.name;
        EXPECT_EQ(entry->key, f.key) << f.name;
        // The template has five forward gears; every other value has its line.
        if (f.name != "eGear6") {
            EXPECT_GE(entry->line, 0) << f.name;
        }
    }
}

TEST(PageFields, CatalogueIndexNamesTheSameBufferValue) {
    for (const PageField& f : allPageFields()) {
        if (f.catalogueIndex < 0) {
            EXPECT_FALSE(hasBufferValue(f)) << f.name;
            EXPECT_FALSE(f.spin) << f.name;
            continue;
        }
        const FieldDef& def = fieldDef(f.page, f.catalogueIndex);
        const int section = veh::sectionByPlainName(def.section.empty() ? "DETAILS" : def.section);
        EXPECT_EQ(section, f.section) << f.name;
        EXPECT_TRUE(text::iequals(def.key + "=", f.key)) << f.name << " " << def.key;
        EXPECT_EQ(def.instance + 1, f.instance) << f.name;

        // A spin button steps a numeric field of one value whose catalogue entry has a step and room to step;
        // the driver attributes are one value each of their entry's triple.
        const bool driverAttribute = f.part == BufferPart::DriverAggression || f.part == BufferPart::DriverDefensive ||
                                     f.part == BufferPart::DriverAbility;
        const bool steps =
            f.numeric && def.step > 0 && def.maximum > def.minimum && (def.valueCount == 1 || driverAttribute);
        EXPECT_EQ(f.spin, steps) << f.name;
    }
    // The six driver fields share the catalogue entries of their line.
    EXPECT_EQ(field("eDriver1Name").catalogueIndex, 7);
    EXPECT_EQ(field("e1Ability").catalogueIndex, 8);
    EXPECT_EQ(field("e2Aggression").catalogueIndex, 10);
    EXPECT_EQ(field("e1Defensive").part, BufferPart::DriverDefensive);
    EXPECT_EQ(field("eDriver2Name").key, "//Driver2=");
}

TEST(PageFields, HelpNumbersCoverEveryTitleWithAField) {
    std::map<int, int> uses;
    for (const PageField& f : allPageFields()) {
        if (f.helpNumber == 0)
            continue;
        EXPECT_GE(f.helpNumber, kFirstHelpNumber) << f.name;
        EXPECT_LE(f.helpNumber, kLastHelpNumber) << f.name;
        EXPECT_FALSE(f.label.empty()) << f.name;
        ++uses[f.helpNumber];
    }
    for (int n = kFirstHelpNumber; n <= kLastHelpNumber; ++n) {
        if (n == kSideSkirtsHelpNumber || n == kClutchEfficiencyHelpNumber)
            EXPECT_EQ(uses.count(n), 0u) << n;
        else
            EXPECT_GE(uses[n], 1) << n;
    }
    EXPECT_EQ(field("efPressure").helpNumber, 103);
    EXPECT_EQ(field("erPressure").helpNumber, 103);
    EXPECT_EQ(field("e2Ability").helpNumber, 100);
    EXPECT_EQ(field("eORevvedRpm").helpNumber, 102);
    EXPECT_EQ(field("erAngle").helpNumber, 115);
    EXPECT_EQ(field("eGear6").helpNumber, 149);
    EXPECT_EQ(field("eEyePoint").helpNumber, 147);
}

TEST(PageFields, LengthsWidgetsAndCaptions) {
    EXPECT_EQ(field("eDescription").maxLength, 32);
    EXPECT_EQ(field("eCollTop4").maxLength, 32);
    EXPECT_EQ(field("e1Aggression").maxLength, 3);
    EXPECT_EQ(field("eGear1").maxLength, 5);
    EXPECT_EQ(field("eGearFinal").maxLength, 5);
    EXPECT_EQ(field("eGearReverse").maxLength, 6);
    EXPECT_EQ(field("efAngle").maxLength, 7);
    EXPECT_EQ(field("erAngle").maxLength, 7);
    EXPECT_EQ(field("eOIdleSound").maxLength, 12);

    EXPECT_EQ(field("dlUnlockPoints").widget, FieldWidget::List);
    EXPECT_EQ(field("dlUnlockPoints").part, BufferPart::RacePosition);
    EXPECT_EQ(field("cbDriveType").widget, FieldWidget::EditableList);
    EXPECT_EQ(field("eIRevvedSound").widget, FieldWidget::EditableList);
    EXPECT_TRUE(field("dlGeometry").upperCase);
    EXPECT_FALSE(field("dlGeometry").numeric);
    EXPECT_TRUE(field("eCollAll2").numeric); // triples: the long field lets "," and "-" through
    EXPECT_FALSE(field("eTeamName").numeric);

    EXPECT_EQ(field("eWeightDistribution").label, "Weight Distibution(%):");
    EXPECT_EQ(field("eBrakeBalance").label, "Front Brake Balance(%):");
    EXPECT_EQ(field("e1Defensive").label, "Defense:");
    EXPECT_EQ(field("e1Defensive").group, "Driver #1");
    EXPECT_EQ(field("eCollPlayer3").label, "Coll_Player(3):");
    EXPECT_EQ(field("erPressure").group, "REAR");

    EXPECT_EQ(
        std::vector<std::string_view>(fixedListItems("dlUnlockPoints").begin(), fixedListItems("dlUnlockPoints").end()),
        (std::vector<std::string_view>{"Random", "80%", "60%", "40%", "20%", "0%"}));
    EXPECT_EQ(fixedListItems("geDamage").size(), 10u);
    EXPECT_EQ(fixedListItems("cbDriveType")[2], "FOUR");
    EXPECT_TRUE(fixedListItems("eMass").empty());
}

TEST(PageFields, DragKindsGroupFieldsOfTheSameKind) {
    const auto kind = [](std::string_view name) { return field(name).fieldKind; };
    EXPECT_EQ(kind("efPressure"), kind("erPressure"));
    EXPECT_EQ(kind("efCamber"), kind("erCamber"));
    EXPECT_NE(kind("efPressure"), kind("efCompound"));

    for (std::string_view name : {"eIRevvedRpm", "eOIdleRpm", "eORevvedRpm"})
        EXPECT_EQ(kind(name), kind("eIIdleRpm")) << name;
    EXPECT_NE(kind("eIIdleRpm"), kind("eMaxRpm"));

    for (std::string_view name : {"eGear2", "eGear3", "eGear4", "eGear5", "eGear6", "eBestGear2", "eBestGear3",
                                  "eBestGear4", "eBestGear5", "eBestGear6"})
        EXPECT_EQ(kind(name), kind("eGear1")) << name;
    EXPECT_NE(kind("eGearFinal"), kind("eGear1"));
    EXPECT_NE(kind("eGearReverse"), kind("eGear1"));
    EXPECT_NE(kind("eBrakeBalance"), kind("eBestGear2"));
    EXPECT_EQ(kind("eGearRpm3"), 0);

    // Every field that holds a value has a kind.
    for (const PageField& f : allPageFields())
        if (f.part != BufferPart::None) {
            EXPECT_GT(f.fieldKind, 0) << f.name;
        }
}
