#include "editor/vehicle_summary.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "calc/engine_curve.h"
#include "calc/number_text.h"
#include "chart/line_data.h"
#include "editor/side_dialogs.h"
#include "platform/prompt.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "vehicle/field_catalogue.h"
#include "vehicle/veh_format.h"
#include "vehicle/vehicle_file.h"

namespace qora::editor {

namespace {

// The optional sections, by catalogue page, with the captions of the commands that edit them.
struct SideSection {
    int cataloguePage;
    std::string_view caption;
};
constexpr std::array kSideSections{
    SideSection{PageAiBasis, "AI Basis"},
    SideSection{PageParts, kPartsCaption},
    SideSection{PageQora, "Author Information"},
};

// How the Performance page's engine curve is shown in the summary.
constexpr std::string_view kTorqueFormat = "###0.00";
constexpr std::string_view kTorqueGroup = "Torque Curve";
constexpr std::string_view kPercentFormat = "0.0";
// Decimals a difference is written with at most.
constexpr std::size_t kMaxDifferenceDecimals = 6;

std::string sideKey(const FieldDef& def) {
    return def.section + "." + def.key;
}

const std::string* findText(const PageTexts& texts, std::string_view name) {
    const auto it = texts.find(name);
    return it == texts.end() ? nullptr : &it->second;
}

std::string textOf(const PageTexts& texts, std::string_view name) {
    const std::string* text = findText(texts, name);
    return text == nullptr ? std::string() : *text;
}

// A page label split into the label and the unit it carries in parentheses at its end: "Pressure (kPa):" gives
// "Pressure" and "kPa". A number in parentheses ("Coll_All(1):") is part of the label.
std::pair<std::string, std::string> splitLabel(std::string_view label) {
    std::string_view text = text::trimView(label);
    if (!text.empty() && text.back() == ':')
        text.remove_suffix(1);
    if (text.empty() || text.back() != ')')
        return {std::string(text), {}};
    const auto open = text.rfind('(');
    if (open == std::string_view::npos)
        return {std::string(text), {}};
    const std::string_view inner = text.substr(open + 1, text.size() - open - 2);
    if (inner.empty() || std::all_of(inner.begin(), inner.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return {std::string(text), {}};
    return {text::trim(text.substr(0, open)), std::string(inner)};
}

SummaryRow makeRow(std::string_view group, std::string label, std::string unit, std::string value) {
    SummaryRow row;
    row.group = std::string(group);
    row.label = std::move(label);
    row.unit = std::move(unit);
    row.value = std::move(value);
    return row;
}

bool isAngleField(std::string_view name) {
    return name == "efAngle" || name == "erAngle";
}

std::string torqueLabel(int point) {
    return "Torque at " + text::intToText(static_cast<long long>(point) * kRpmPerPoint) + " rpm";
}

std::string torqueText(const std::vector<double>& torque, std::size_t point) {
    return point < torque.size() ? numbers::formatFloat(kTorqueFormat, torque[point]) : std::string();
}

bool hasTorque(const std::vector<double>& torque, std::size_t point) {
    return point < torque.size() && torque[point] != 0.0;
}

// The rows of one summary column, page by page, in the order the pages lay them out. `other` (compare only)
// decides, together with `source`, which optional rows are shown: an engine-curve point or optional section that
// either vehicle has.
std::vector<SummaryPage> layoutPages(const SummarySource& source, const SummarySource* other) {
    std::vector<SummaryPage> pages;
    for (int page = 0; page < kPageCount; ++page) {
        SummaryPage summaryPage{std::string(pageCaption(page)), {}};
        for (const PageField& field : pageFields(page)) {
            if (field.part == BufferPart::None)
                continue; // the DriveTrain page's computed displays are not values of the vehicle
            auto [label, unit] = splitLabel(field.label);
            if (isAngleField(field.name))
                unit = source.anglesInDegrees ? "deg" : "rad";
            summaryPage.rows.push_back(
                makeRow(groupHeading(field), std::move(label), std::move(unit), textOf(source.texts, field.name)));
        }
        if (page == PgPerformance) {
            const bool figures = !source.peakTorque.empty() || (other != nullptr && !other->peakTorque.empty());
            if (figures) {
                summaryPage.rows.push_back(makeRow("", "Peak Torque", "", source.peakTorque));
                summaryPage.rows.push_back(makeRow("", "Peak Power", "", source.peakPower));
            }
            for (std::size_t k = 0; k < static_cast<std::size_t>(kCurvePointCount); ++k) {
                if (!hasTorque(source.torqueNm, k) && !(other != nullptr && hasTorque(other->torqueNm, k)))
                    continue;
                summaryPage.rows.push_back(
                    makeRow(kTorqueGroup, torqueLabel(static_cast<int>(k)), "Nm", torqueText(source.torqueNm, k)));
            }
        }
        pages.push_back(std::move(summaryPage));
    }

    for (const SideSection& side : kSideSections) {
        const auto present = [&side](const SummarySource& s) {
            return std::any_of(qora::pageFields(side.cataloguePage).begin(), qora::pageFields(side.cataloguePage).end(),
                               [&s](const FieldDef& def) { return !textOf(s.sideValues, sideKey(def)).empty(); });
        };
        if (!present(source) && !(other != nullptr && present(*other)))
            continue;
        SummaryPage summaryPage{std::string(side.caption), {}};
        for (const FieldDef& def : qora::pageFields(side.cataloguePage))
            summaryPage.rows.push_back(makeRow("", def.label, "", textOf(source.sideValues, sideKey(def))));
        pages.push_back(std::move(summaryPage));
    }
    return pages;
}

// Digits after the "." of a plain number text (an exponent form counts none).
std::size_t decimalsOf(std::string_view number) {
    if (number.find_first_of("eE") != std::string_view::npos)
        return 0;
    const auto point = number.find('.');
    return point == std::string_view::npos ? 0 : number.size() - point - 1;
}

std::string signedText(std::string_view pattern, double value) {
    std::string text = numbers::formatFloat(pattern, value);
    if (value > 0.0 && text.find_first_not_of("0.") != std::string::npos)
        text.insert(text.begin(), '+');
    return text;
}

void compareRow(SummaryRow& row) {
    const std::string_view a = text::trimView(row.value);
    const std::string_view b = text::trimView(row.other);
    const std::optional<double> x = numbers::parseDouble(a);
    const std::optional<double> y = numbers::parseDouble(b);
    if (!x || !y) {
        row.differs = row.value != row.other;
        return;
    }
    row.differs = *x != *y;
    if (!row.differs)
        return;
    const std::size_t decimals = std::min(std::max(decimalsOf(a), decimalsOf(b)), kMaxDifferenceDecimals);
    const std::string pattern = decimals == 0 ? std::string("0") : "0." + std::string(decimals, '0');
    row.differenceText = signedText(pattern, *y - *x);
    // The number a script reads is the one shown, not the binary remainder of the subtraction.
    row.difference =
        numbers::parseDouble(row.differenceText[0] == '+' ? row.differenceText.substr(1) : row.differenceText);
    if (*x != 0.0) {
        const double percent = (*y - *x) / std::fabs(*x) * 100.0;
        row.percentText = signedText(kPercentFormat, percent) + "%";
        row.percent = numbers::parseDouble(numbers::formatFloat(kPercentFormat, percent));
    }
}

SummaryColumn columnOf(const SummarySource& source, std::string_view heading) {
    return SummaryColumn{std::string(heading), textOf(source.texts, "eDescription"), source.path};
}

// ---- Plain text ---------------------------------------------------------------------------------------------

constexpr std::size_t kGroupIndent = 2; // a group's rows stand this much further in than its heading
constexpr std::string_view kColumnGap = "  ";

// Appends a Latin-1 text as UTF-8, padded to a width counted in characters.
void appendPadded(std::string& line, std::string_view text, std::size_t width) {
    line += text::latin1ToUtf8(text);
    if (text.size() < width)
        line.append(width - text.size(), ' ');
}

void appendLine(std::string& out, std::string line) {
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    out += line;
    out += '\n';
}

std::string differenceCell(const SummaryRow& row) {
    if (row.differenceText.empty())
        return {};
    return row.percentText.empty() ? row.differenceText : row.differenceText + " (" + row.percentText + ")";
}

std::string differenceSentence(const VehicleSummary& summary) {
    const int count = summary.differenceCount();
    if (count == 0)
        return "The vehicles have the same values.";
    return text::intToText(count) + (count == 1 ? " value differs." : " values differ.");
}

// The description (Latin-1) and the path (the platform's file-name bytes, UTF-8 here) of a vehicle, in UTF-8.
std::string columnLine(const SummaryColumn& column) {
    std::string line =
        column.description.empty() ? std::string("(no description)") : text::latin1ToUtf8(column.description);
    if (!column.path.empty())
        line += "  (" + column.path + ")";
    return line;
}

// ---- HTML ---------------------------------------------------------------------------------------------------

std::string escapeHtml(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            // Control characters have no business in a value; they are shown as blanks.
            out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return out;
}

// A Latin-1 value as escaped HTML text.
std::string html(std::string_view latin1) {
    return escapeHtml(text::latin1ToUtf8(latin1));
}

constexpr std::string_view kHtmlStyle =
    "body { font-family: sans-serif; font-size: 10pt; color: #202020; background: #ffffff; }\n"
    "h1 { font-size: 14pt; margin-bottom: 4px; }\n"
    "p.vehicles { margin-top: 0; }\n"
    "table { border-collapse: collapse; }\n"
    "th, td { padding: 2px 8px; text-align: left; vertical-align: top; }\n"
    "th { background: #d8d8d8; }\n"
    "tr.page th { background: #303848; color: #ffffff; font-size: 11pt; padding-top: 4px; }\n"
    "tr.group td { font-style: italic; color: #505050; }\n"
    "td.label { padding-left: 8px; }\n"
    "td.grouped { padding-left: 24px; }\n"
    "tr.differs td { background: #ffe28a; font-weight: bold; }\n"
    "td.number { text-align: right; }\n";

constexpr std::string_view kDifferingRowColour = "#ffe28a";

} // namespace

// ---- Sources ------------------------------------------------------------------------------------------------

PageTexts summarySideValues(const VehicleFile& vehicle) {
    PageTexts values;
    for (const SideSection& side : kSideSections) {
        for (const FieldDef& def : qora::pageFields(side.cataloguePage)) {
            const int section = veh::sectionByPlainName(def.section);
            const EntryRec* entry = section < 0 ? nullptr : vehicle.findEntry(section, def.key, 1);
            values[sideKey(def)] = entry == nullptr ? std::string() : entry->value;
        }
    }
    return values;
}

std::vector<double> summaryTorqueNm(const LineData& torqueLine) {
    std::vector<double> values;
    values.reserve(torqueLine.points.size());
    for (const LinePoint& point : torqueLine.points)
        values.push_back(torqueLine.unit == TorqueFtLbs
                             ? static_cast<double>(static_cast<long double>(point.value) * kInverseUnitFactor)
                             : point.value);
    return values;
}

SummarySource summarySource(const VehicleFile& vehicle, const Settings& settings) {
    // The loaders may switch the angle display to radians when a wing angle cannot be shown in degrees; that
    // belongs to the copy, as do the messages a silent host drops.
    Settings copy = settings;
    SilentPrompt silent;
    SummarySource source;
    source.path = vehicle.fileName;
    source.texts = loadPages(vehicle, false, copy, silent).texts;
    source.anglesInDegrees = copy.anglesInDegrees;

    LineData torque;
    LineData power;
    copy.chartNm = true;
    loadEngineCurve(vehicle, false, copy, torque, power);
    source.torqueNm = summaryTorqueNm(torque);
    const PeakFigures figures = updatePeakFigures(torque, power, copy.chartMetricText);
    source.peakTorque = figures.torque;
    source.peakPower = figures.power;
    source.sideValues = summarySideValues(vehicle);
    return source;
}

// ---- Building -----------------------------------------------------------------------------------------------

int VehicleSummary::rowCount() const {
    int count = 0;
    for (const SummaryPage& page : pages)
        count += static_cast<int>(page.rows.size());
    return count;
}

int VehicleSummary::differenceCount() const {
    int count = 0;
    for (const SummaryPage& page : pages)
        count += static_cast<int>(
            std::count_if(page.rows.begin(), page.rows.end(), [](const SummaryRow& row) { return row.differs; }));
    return count;
}

VehicleSummary buildSummary(const SummarySource& vehicle, std::string_view heading) {
    VehicleSummary summary;
    summary.title = kSummaryTitle;
    summary.first = columnOf(vehicle, heading);
    summary.pages = layoutPages(vehicle, nullptr);
    return summary;
}

VehicleSummary buildCompareSummary(const SummarySource& first, const SummarySource& second,
                                   std::string_view firstHeading, std::string_view secondHeading) {
    VehicleSummary summary;
    summary.compare = true;
    summary.title = kCompareSummaryTitle;
    summary.first = columnOf(first, firstHeading);
    summary.second = columnOf(second, secondHeading);
    summary.pages = layoutPages(first, &second);
    // Both layouts hold the same rows in the same order, since each shows what either vehicle has.
    const std::vector<SummaryPage> others = layoutPages(second, &first);
    for (std::size_t p = 0; p < summary.pages.size(); ++p) {
        for (std::size_t r = 0; r < summary.pages[p].rows.size(); ++r) {
            SummaryRow& row = summary.pages[p].rows[r];
            row.other = others[p].rows[r].value;
            compareRow(row);
        }
    }
    return summary;
}

VehicleSummary differencesOnly(const VehicleSummary& summary) {
    VehicleSummary result = summary;
    result.pages.clear();
    for (const SummaryPage& page : summary.pages) {
        SummaryPage kept{page.caption, {}};
        std::copy_if(page.rows.begin(), page.rows.end(), std::back_inserter(kept.rows),
                     [](const SummaryRow& row) { return row.differs; });
        if (!kept.rows.empty())
            result.pages.push_back(std::move(kept));
    }
    return result;
}

// ---- Rendering ----------------------------------------------------------------------------------------------

std::string summaryText(const VehicleSummary& summary) {
    constexpr std::string_view kUnitHeading = "Unit";
    constexpr std::string_view kDifferenceHeading = "Difference";
    // The label column holds the page captions too, so it is as wide as the widest of them all.
    std::size_t labelWidth = 0;
    std::size_t unitWidth = kUnitHeading.size();
    std::size_t firstWidth = summary.first.heading.size();
    std::size_t secondWidth = summary.second.heading.size();
    for (const SummaryPage& page : summary.pages) {
        labelWidth = std::max(labelWidth, page.caption.size());
        for (const SummaryRow& row : page.rows) {
            const std::size_t indent = kGroupIndent + (row.group.empty() ? 0 : kGroupIndent);
            labelWidth = std::max({labelWidth, indent + row.label.size(), kGroupIndent + row.group.size()});
            unitWidth = std::max(unitWidth, row.unit.size());
            firstWidth = std::max(firstWidth, row.value.size());
            secondWidth = std::max(secondWidth, row.other.size());
        }
    }

    const auto rowLine = [&](std::string_view marker, std::string_view label, std::string_view unit,
                             std::string_view first, std::string_view second, std::string_view difference) {
        std::string line(marker);
        appendPadded(line, label, labelWidth);
        line += kColumnGap;
        appendPadded(line, unit, unitWidth);
        line += kColumnGap;
        appendPadded(line, first, firstWidth);
        if (summary.compare) {
            line += kColumnGap;
            appendPadded(line, second, secondWidth);
            line += kColumnGap;
            line += difference;
        }
        return line;
    };

    std::string out;
    appendLine(out, summary.title);
    if (summary.compare) {
        const std::size_t width = std::max(summary.first.heading.size(), summary.second.heading.size()) + 1;
        std::string first = summary.first.heading + ":";
        std::string second = summary.second.heading + ":";
        first.resize(width, ' ');
        second.resize(width, ' ');
        appendLine(out, first + " " + columnLine(summary.first));
        appendLine(out, second + " " + columnLine(summary.second));
        appendLine(out, differenceSentence(summary));
    } else {
        appendLine(out, columnLine(summary.first));
    }

    for (const SummaryPage& page : summary.pages) {
        out += '\n';
        appendLine(out, rowLine("  ", page.caption, kUnitHeading, summary.first.heading, summary.second.heading,
                                kDifferenceHeading));
        std::string group;
        for (const SummaryRow& row : page.rows) {
            if (row.group != group) {
                group = row.group;
                if (!group.empty())
                    appendLine(out, "  " + std::string(kGroupIndent, ' ') + text::latin1ToUtf8(group));
            }
            const std::string label =
                std::string(kGroupIndent + (row.group.empty() ? 0 : kGroupIndent), ' ') + row.label;
            appendLine(out,
                       rowLine(row.differs ? "* " : "  ", label, row.unit, row.value, row.other, differenceCell(row)));
        }
    }
    return out;
}

std::string summaryHtml(const VehicleSummary& summary) {
    const int columns = summary.compare ? 5 : 3;
    std::string out;
    out += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + html(summary.title) +
           "</title>\n<style>\n";
    out += kHtmlStyle;
    out += "</style>\n</head>\n<body>\n<h1>" + html(summary.title) + "</h1>\n<p class=\"vehicles\">";
    const auto vehicleLine = [](const SummaryColumn& column, bool withHeading) {
        std::string line;
        if (withHeading)
            line += html(column.heading) + ": ";
        line += "<b>" + html(column.description.empty() ? "(no description)" : column.description) + "</b>";
        if (!column.path.empty())
            line += " &mdash; " + escapeHtml(column.path);
        return line;
    };
    out += vehicleLine(summary.first, summary.compare);
    if (summary.compare)
        out += "<br>\n" + vehicleLine(summary.second, true) + "<br>\n" + html(differenceSentence(summary));
    out += "</p>\n<table cellspacing=\"0\" cellpadding=\"3\">\n";

    for (const SummaryPage& page : summary.pages) {
        out += "<tr class=\"page\"><th colspan=\"" + text::intToText(columns) + "\" bgcolor=\"#303848\">" +
               "<font color=\"#ffffff\">" + html(page.caption) + "</font></th></tr>\n";
        out += "<tr><th>Field</th><th>Unit</th><th>" + html(summary.first.heading) + "</th>";
        if (summary.compare)
            out += "<th>" + html(summary.second.heading) + "</th><th>Difference</th>";
        out += "</tr>\n";
        std::string group;
        for (const SummaryRow& row : page.rows) {
            if (row.group != group) {
                group = row.group;
                if (!group.empty())
                    out += "<tr class=\"group\"><td colspan=\"" + text::intToText(columns) + "\"><i>" + html(group) +
                           "</i></td></tr>\n";
            }
            out += row.differs ? "<tr class=\"differs\" bgcolor=\"" + std::string(kDifferingRowColour) + "\">"
                               : std::string("<tr>");
            out += std::string("<td class=\"") +
                   (row.group.empty() ? "label\">" : "grouped\">&nbsp;&nbsp;&nbsp;&nbsp;") + html(row.label) +
                   "</td><td>" + html(row.unit) + "</td><td>" + html(row.value) + "</td>";
            if (summary.compare)
                out += "<td>" + html(row.other) + "</td><td class=\"number\">" + html(differenceCell(row)) + "</td>";
            out += "</tr>\n";
        }
    }
    out += "</table>\n</body>\n</html>\n";
    return out;
}

} // namespace qora::editor
