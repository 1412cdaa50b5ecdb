#include "platform/qt_prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/qt_text.h"

namespace qora::gui {

namespace {

QMessageBox::Icon iconOf(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Stop:
        return QMessageBox::Critical;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// Closing a box with Escape or the window's close button counts as its gentlest answer.
PromptAnswer answerOf(int button, PromptButtons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    default:
        break;
    }
    if (buttons == PromptButtons::YesNo)
        return PromptAnswer::No;
    return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel;
}

} // namespace

static QMessageBox::StandardButton buttonOf(PromptAnswer answer) {
    switch (answer) {
    case PromptAnswer::Ok:
        return QMessageBox::Ok;
    case PromptAnswer::Cancel:
        return QMessageBox::Cancel;
    case PromptAnswer::Yes:
        return QMessageBox::Yes;
    case PromptAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

PromptAnswer QtPrompt::ask(const std::string& title, const std::string& text, PromptButtons buttons, PromptIcon icon,
                           std::optional<PromptAnswer> defaultButton) {
    QMessageBox box(iconOf(icon), messageText(title), messageText(text), buttonsOf(buttons), m_parent);
    if (defaultButton)
        box.setDefaultButton(buttonOf(*defaultButton));
    else if (buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel)
        box.setDefaultButton(QMessageBox::Yes);
    return answerOf(box.exec(), buttons);
}

int QtPrompt::choose(const std::string& title, const std::string& text, const std::vector<std::string>& buttons,
                     int defaultIndex, int escapeIndex, PromptIcon icon) {
    QMessageBox box(iconOf(icon), messageText(title), messageText(text), QMessageBox::NoButton, m_parent);
    std::vector<QPushButton*> added;
    for (const std::string& caption : buttons)
        added.push_back(box.addButton(messageText(caption), QMessageBox::AcceptRole));
    const auto at = [&](int index) -> QPushButton* {
        return index >= 0 && index < static_cast<int>(added.size()) ? added[static_cast<std::size_t>(index)] : nullptr;
    };
    if (QPushButton* button = at(defaultIndex))
        box.setDefaultButton(button);
    if (QPushButton* button = at(escapeIndex))
        box.setEscapeButton(button);
    box.exec();
    for (std::size_t i = 0; i < added.size(); ++i)
        if (box.clickedButton() == added[i])
            return static_cast<int>(i);
    return escapeIndex;
}

void QtPrompt::tell(const std::string& title, const std::string& text, PromptIcon icon) {
    QMessageBox box(iconOf(icon), messageText(title), messageText(text), QMessageBox::Ok, m_parent);
    box.exec();
}

void QtPrompt::beep() {
    QApplication::beep();
}

} // namespace qora::gui
