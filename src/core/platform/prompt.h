#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qora {

// The buttons a question offers, as the editor's message boxes show them.
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };

// The icon of a message box. Stop is shown as a critical box, Exclamation as a warning.
enum class PromptIcon { None, Stop, Exclamation, Question, Information };

enum class PromptAnswer { Ok, Cancel, Yes, No };

// What the core asks of its host whenever an operation must show a message, ask a question or beep.
// The editor answers through message boxes, qora-cli through its options, tests through a script.
class Prompt {
public:
    virtual ~Prompt() = default;

    // Shows a question and returns the button the user chose. Enter presses `defaultButton`; without one, the
    // first button of the set (OK or Yes).
    virtual PromptAnswer ask(const std::string& title, const std::string& text, PromptButtons buttons,
                             PromptIcon icon, std::optional<PromptAnswer> defaultButton = std::nullopt) = 0;
    // A question whose buttons carry their own words ("Reload", "Keep my version"). Returns the index of the
    // chosen button; Enter presses `defaultIndex`, closing the box chooses `escapeIndex`. A host without a user
    // chooses `escapeIndex`.
    virtual int choose(const std::string& title, const std::string& text, const std::vector<std::string>& buttons,
                       int defaultIndex, int escapeIndex, PromptIcon icon) {
        (void)title, (void)text, (void)buttons, (void)defaultIndex, (void)icon;
        return escapeIndex;
    }
    // Shows a message with an OK button.
    virtual void tell(const std::string& title, const std::string& text, PromptIcon icon) = 0;
    // The default system beep that signals a refused key, value or step.
    virtual void beep() = 0;
};

// A host without a user: every question is cancelled (or answered No), messages and beeps go nowhere.
class SilentPrompt final : public Prompt {
public:
    PromptAnswer ask(const std::string&, const std::string&, PromptButtons buttons, PromptIcon,
                     std::optional<PromptAnswer> = std::nullopt) override {
        return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Cancel;
    }
    void tell(const std::string&, const std::string&, PromptIcon) override {}
    void beep() override {}
};

} // namespace qora
