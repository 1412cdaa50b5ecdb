#pragma once

#include <string_view>

#include <QString>

class QLineEdit;
class QWidget;

// Small helpers the main window's parts share for its page controls.
namespace qora::gui {

// The property that marks a control for the numeric key filter.
inline constexpr const char* kNumeric = "qoraNumeric";

inline QString qtName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// The text edit of a field: the field itself, or the edit of an editable list; nullptr for a fixed list.
QLineEdit* editOf(QWidget* field);

// A field limits what the user types, never what the file holds: a longer text set by the program is shown
// whole, and the limit applies again once the user's edit brings the text within it.
void setTypingLimit(QWidget* field, int limit);
int typingLimit(const QWidget* field);
// Makes room for a text the program sets, before it is set.
void allowText(QWidget* field, const QString& text);
// For an editable list whose items are longer than what may be typed into it: the limit is kept by the key filter
// (typedLengthReached), never by the edit's maximum length, so choosing or updating an item never cuts its text.
void setTypedLengthLimit(QWidget* field, int limit);
// Whether such a field's edit, less its selection, already holds as many characters as may be typed.
bool typedLengthReached(QWidget* field);

} // namespace qora::gui
