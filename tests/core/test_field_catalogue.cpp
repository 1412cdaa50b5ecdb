#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "vehicle/field_catalogue.h"

using namespace qora;

TEST(FieldCatalogue, PagesHaveTheirNamesAndCounts) {
    const std::vector<std::string> names = {"Details",    "Tires", "Aerodynamics", "Handling", "Performance",
                                            "DriveTrain", "Other", "AIBASIS",      "PARTS",    "QORA"};
    const std::vector<int> counts = {19, 21, 13, 18, 47, 9, 20, 5, 14, 5};
    int total = 0;
    for (int page = 0; page < kPageCount; ++page) {
        EXPECT_EQ(pageName(page), names[static_cast<std::size_t>(page)]);
        EXPECT_EQ(pageFieldCount(page), counts[static_cast<std::size_t>(page)])
            << names[static_cast<std::size_t>(page)];
        EXPECT_EQ(pageFields(page).size(), static_cast<std::size_t>(pageFieldCount(page)));
        total += pageFieldCount(page);
    }
    EXPECT_EQ(total, 171);
    ASSERT_EQ(allFields().size(), 171u);

    // allFields() is the pages laid end to end.
    EXPECT_EQ(&allFields().front(), &fieldDef(PageDetails, 0));
    EXPECT_EQ(&allFields()[19], &fieldDef(PageTires, 0));
    EXPECT_EQ(&allFields().back(), &fieldDef(PageQora, 4));
}

TEST(FieldCatalogue, LookupsOutsideTheTableThrow) {
    EXPECT_THROW(pageName(-1), std::out_of_range);
    EXPECT_THROW(pageName(kPageCount), std::out_of_range);
    EXPECT_THROW(pageFieldCount(kPageCount), std::out_of_range);
    EXPECT_THROW(pageFields(-1), std::out_of_range);
    EXPECT_THROW(fieldDef(kPageCount, 0), std::out_of_range);
    EXPECT_THROW(fieldDef(PageDetails, -1), std::out_of_range);
    EXPECT_THROW(fieldDef(PageDetails, 19), std::out_of_range);
    EXPECT_THROW(fieldDef(PageQora, 5), std::out_of_range);
    EXPECT_NO_THROW(fieldDef(PagePerformance, 46));
}

TEST(FieldCatalogue, EngineAndGearFields) {
    const FieldDef& idle = fieldDef(PagePerformance, 41);
    EXPECT_EQ(idle.label, "Idle Throttle");
    EXPECT_EQ(idle.key, "idle_throttle");
    EXPECT_EQ(idle.format, "0.00000");
    EXPECT_EQ(idle.minimum, 0);
    EXPECT_EQ(idle.maximum, 1);
    EXPECT_DOUBLE_EQ(idle.step, 0.001);

    for (int n : {0, 17, 40}) {
        const FieldDef& point = fieldDef(PagePerformance, n);
        EXPECT_EQ(point.label, "RpmTorque(" + std::to_string(n) + ")");
        EXPECT_EQ(point.section, "ENGINE");
        EXPECT_EQ(point.key, "rpm_torque");
        EXPECT_EQ(point.instance, n);
        EXPECT_EQ(point.valueCount, 2);
        EXPECT_EQ(point.kind, FieldKind::Decimal);
        EXPECT_EQ(point.format, "####0.0/###0.00");
        EXPECT_EQ(point.minimum, 1400);
        EXPECT_EQ(point.maximum, 20000);
        EXPECT_TRUE(point.inParentheses);
    }

    const FieldDef& reverse = fieldDef(PageDriveTrain, 2);
    EXPECT_EQ(reverse.label, "Reverse Gear");
    EXPECT_EQ(reverse.key, "gear_reverse");
    EXPECT_EQ(reverse.minimum, -9);
    EXPECT_EQ(reverse.maximum, -1);
    EXPECT_EQ(fieldDef(PageDriveTrain, 3).minimum, 1);
    EXPECT_EQ(fieldDef(PageDriveTrain, 8).label, "6th Gear");
    EXPECT_EQ(fieldDef(PageDriveTrain, 8).instance, 5);
}

TEST(FieldCatalogue, FrontAndRearTyresDifferOnlyWhereIntended) {
    const auto front = [](int i) -> const FieldDef& { return fieldDef(PageTires, i); };
    const auto rear = [](int i) -> const FieldDef& { return fieldDef(PageTires, i + 9); };
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(front(i).section, "FRONTWHEELS");
        EXPECT_EQ(rear(i).section, "REARWHEELS");
        EXPECT_EQ(front(i).label, rear(i).label);
        EXPECT_EQ(front(i).key, rear(i).key);
    }
    EXPECT_DOUBLE_EQ(front(5).step, 0.1); // inertia
    EXPECT_DOUBLE_EQ(rear(5).step, 0.01);
    EXPECT_EQ(front(6).format, "0.000"); // rolling resistance
    EXPECT_EQ(front(6).maximum, 9);
    EXPECT_EQ(rear(6).format, "#0.000");
    EXPECT_EQ(rear(6).maximum, 99);
    EXPECT_DOUBLE_EQ(front(4).step, 0.01); // friction
    EXPECT_DOUBLE_EQ(rear(4).step, 0.01);
    EXPECT_EQ(fieldDef(PageTires, 20).key, "front_brake_distrib");
}

TEST(FieldCatalogue, CollisionModelsAndSideDialogPages) {
    const FieldDef& first = fieldDef(PageOther, 8);
    EXPECT_EQ(first.label, "Coll_All(1)");
    EXPECT_EQ(first.key, "coll_all");
    EXPECT_EQ(first.instance, 0);
    EXPECT_EQ(first.kind, FieldKind::Text);
    EXPECT_TRUE(first.inParentheses);
    EXPECT_EQ(fieldDef(PageOther, 15).label, "Coll_Player(4)");
    EXPECT_EQ(fieldDef(PageOther, 15).instance, 3);
    EXPECT_EQ(fieldDef(PageOther, 19).label, "Coll_Top(4)");
    EXPECT_EQ(fieldDef(PageOther, 19).key, "coll_top");

    std::vector<std::string> qoraKeys;
    for (const FieldDef& field : pageFields(PageQora)) {
        EXPECT_EQ(field.section, "QORA");
        qoraKeys.push_back(field.key);
    }
    EXPECT_EQ(qoraKeys, (std::vector<std::string>{"OriginalAuthor", "BasedOnCar", "AuthorsNotes", "ModifiedBy",
                                                  "VehFileVersion"}));
    EXPECT_EQ(fieldDef(PageParts, 4).key, "turbo_charger");
    EXPECT_EQ(fieldDef(PageParts, 4).maximum, 3);
    EXPECT_EQ(fieldDef(PageParts, 3).maximum, 1);
}

TEST(FieldCatalogue, StructuralInvariantsHoldForEveryField) {
    for (int page = 0; page < kPageCount; ++page) {
        const bool sideDialog = page == PageAiBasis || page == PageParts || page == PageQora;
        int index = 0;
        for (const FieldDef& field : pageFields(page)) {
            SCOPED_TRACE(pageName(page) + " " + std::to_string(index++) + " " + field.label);
            EXPECT_FALSE(field.label.empty());
            EXPECT_FALSE(field.key.empty());
            EXPECT_EQ(field.key.find('='), std::string::npos);
            EXPECT_EQ(field.section.find_first_of("[]"), std::string::npos);
            // The details are comment lines ahead of the first section; the engine sounds share their page.
            EXPECT_EQ(field.section.empty(), field.key.starts_with("//"));
            if (field.section.empty()) {
                EXPECT_EQ(page, PageDetails);
            }
            if (sideDialog) {
                EXPECT_EQ(field.instance, -1);
            } else {
                EXPECT_GE(field.instance, 0);
            }
            EXPECT_TRUE(field.valueCount >= 1 && field.valueCount <= 3);
            EXPECT_EQ(field.valueCount == 2, field.format.find('/') != std::string::npos);
            if (field.kind == FieldKind::Text) {
                EXPECT_EQ(field.valueCount, 1);
                EXPECT_TRUE(field.format.empty());
                EXPECT_EQ(field.minimum, 0);
                EXPECT_EQ(field.maximum, 0);
                EXPECT_EQ(field.step, 0.0);
            } else {
                EXPECT_FALSE(field.format.empty());
                EXPECT_LE(field.minimum, field.maximum);
                EXPECT_GE(field.step, 0.0);
            }
        }
    }
}
