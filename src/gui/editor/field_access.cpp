#include "editor/field_access.h"

#include <algorithm>

#include <QComboBox>
#include <QLineEdit>

namespace qora::gui {

namespace {

constexpr const char* kTypingLimit = "qoraTypingLimit";
constexpr const char* kLimitWatched = "qoraTypingLimitWatched";
constexpr const char* kLimitByFilter = "qoraTypingLimitByFilter";
constexpr int kNoLimit = 32767;

} // namespace

QLineEdit* editOf(QWidget* field) {
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        return edit;
    if (auto* combo = qobject_cast<QComboBox*>(field))
        return combo->lineEdit();
    return nullptr;
}

void setTypingLimit(QWidget* field, int limit) {
    field->setProperty(kTypingLimit, limit);
    QLineEdit* edit = editOf(field);
    if (edit == nullptr)
        return;
    const int length = static_cast<int>(edit->text().size());
    // Setting the maximum length clears the edit's undo history, so it is set only when it changes.
    const int wanted = limit > 0 ? std::max(limit, length) : kNoLimit;
    if (edit->maxLength() != wanted)
        edit->setMaxLength(wanted);
    if (edit->property(kLimitWatched).toBool())
        return;
    edit->setProperty(kLimitWatched, true);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, field](const QString& text) {
        const int current = typingLimit(field);
        if (current > 0 && text.size() <= current && edit->maxLength() != current)
            edit->setMaxLength(current);
    });
}

int typingLimit(const QWidget* field) {
    return field->property(kTypingLimit).toInt();
}

void allowText(QWidget* field, const QString& text) {
    QLineEdit* edit = editOf(field);
    const int limit = typingLimit(field);
    if (edit == nullptr || limit <= 0)
        return;
    const int wanted = std::max(limit, static_cast<int>(text.size()));
    if (edit->maxLength() != wanted)
        edit->setMaxLength(wanted);
}

void setTypedLengthLimit(QWidget* field, int limit) {
    field->setProperty(kTypingLimit, limit);
    field->setProperty(kLimitByFilter, true);
    if (QLineEdit* edit = editOf(field))
        edit->setMaxLength(kNoLimit);
}

bool typedLengthReached(QWidget* field) {
    QLineEdit* edit = editOf(field);
    const int limit = typingLimit(field);
    if (edit == nullptr || limit <= 0 || !field->property(kLimitByFilter).toBool())
        return false;
    return edit->text().size() - edit->selectedText().size() >= limit;
}

} // namespace qora::gui
