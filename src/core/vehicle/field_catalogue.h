#pragma once

#include <cstdint>
#include <span>
#include <string>

// The field catalogue: every value the editor window shows, page by page, with where it lives in the
// vehicle file and how its spin button steps it. Spin buttons carry their field index as a tag and find
// format, limits and step here by page number and that index. The catalogue is built once and never changes.
namespace qora {

enum class FieldKind : std::int16_t { Integer = 1, Decimal = 2, Text = 3 };

struct FieldDef {
    std::int16_t valueCount; // 1 one value, 2 a torque point (rpm and torque), 3 a triple
    FieldKind kind;
    std::string format; // display pattern for stepping; torque points hold "rpm/torque" patterns; empty for text
    std::string label;
    std::string section; // without brackets; empty for the details
    std::string key;     // without "="
    int instance;        // 0-based; -1 on the three side-dialog pages
    int minimum;
    int maximum;
    bool inParentheses;
    double step;
};

inline constexpr int kPageCount = 10;

// The window's seven pages in tab order, then the computer-opponent basis, the upgrade parts and the
// author data, which the side dialogs edit.
enum Page : int {
    PageDetails = 0,
    PageTires,
    PageAerodynamics,
    PageHandling,
    PagePerformance,
    PageDriveTrain,
    PageOther,
    PageAiBasis,
    PageParts,
    PageQora
};

// All of these throw std::out_of_range for a page outside 0..kPageCount-1 or an index outside the page.
const std::string& pageName(int page);
int pageFieldCount(int page);
const FieldDef& fieldDef(int page, int index);
std::span<const FieldDef> pageFields(int page);

// Every field of every page, in page order.
std::span<const FieldDef> allFields();

} // namespace qora
