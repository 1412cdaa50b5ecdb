#pragma once

#include "editor/page_fields.h" // kFirstHelpNumber, kLastHelpNumber

#include <string_view>

// The help texts of the editor's page fields. Every label panel carries a help number; clicking the label shows
// the text of that number in the information dialog. Each text is a title line ending in ":", a blank line and a
// few short lines of plain text separated by "\n".
namespace qora::editor {

// The whole text for a help number from kFirstHelpNumber to kLastHelpNumber; empty for any other number.
std::string_view helpText(int number);

// The title line alone, e.g. "Driver attributes:" for 100; empty for a number without a text.
std::string_view helpTitle(int number);

} // namespace qora::editor
