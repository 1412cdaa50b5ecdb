#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompt.h"

namespace qora::gui {

// The editor's message boxes: every question, message and beep of the core and of the windows goes through here.
// Stop is shown as a critical box, Exclamation as a warning.
class QtPrompt final : public Prompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    PromptAnswer ask(const std::string& title, const std::string& text, PromptButtons buttons, PromptIcon icon,
                     std::optional<PromptAnswer> defaultButton = std::nullopt) override;
    int choose(const std::string& title, const std::string& text, const std::vector<std::string>& buttons,
               int defaultIndex, int escapeIndex, PromptIcon icon) override;
    void tell(const std::string& title, const std::string& text, PromptIcon icon) override;
    void beep() override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace qora::gui
