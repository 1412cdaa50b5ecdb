#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/prompt.h"

namespace qora::testing {

// A Prompt that answers questions from a script, in order, and records every call so a test can assert the
// exact title, text, buttons and icon. A question without a scripted answer fails the test loudly.
class ScriptedPrompt : public Prompt {
public:
    struct Call {
        enum Kind { Ask, Tell, Beep } kind;
        std::string title;
        std::string text;
        PromptButtons buttons = PromptButtons::Ok;
        PromptIcon icon = PromptIcon::None;
        std::optional<PromptAnswer> defaultButton; // the button Enter presses (for a question asked with ask())
        std::vector<std::string> choices;          // the buttons' own words, for a question asked with choose()
        int defaultIndex = -1;
    };

    ScriptedPrompt& answer(PromptAnswer a) {
        m_answers.push_back(a);
        return *this;
    }

    // The index a choose() question returns next (questions asked with choose() take their answers from here).
    ScriptedPrompt& choice(int index) {
        m_choices.push_back(index);
        return *this;
    }

    PromptAnswer ask(const std::string& title, const std::string& text, PromptButtons buttons, PromptIcon icon,
                     std::optional<PromptAnswer> defaultButton = std::nullopt) override {
        // The button Enter presses: the one the question names, else the box's first (OK or Yes).
        const PromptAnswer first =
            buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel ? PromptAnswer::Ok : PromptAnswer::Yes;
        calls.push_back({Call::Ask, title, text, buttons, icon, defaultButton.value_or(first), {}, -1});
        if (m_answers.empty())
            throw std::logic_error("unexpected question: " + title + ": " + text);
        const PromptAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }

    int choose(const std::string& title, const std::string& text, const std::vector<std::string>& buttons,
               int defaultIndex, int, PromptIcon icon) override {
        calls.push_back({Call::Ask, title, text, PromptButtons::Ok, icon, std::nullopt, buttons, defaultIndex});
        if (m_choices.empty())
            throw std::logic_error("unexpected question: " + title + ": " + text);
        const int c = m_choices.front();
        m_choices.pop_front();
        return c;
    }

    void tell(const std::string& title, const std::string& text, PromptIcon icon) override {
        calls.push_back({Call::Tell, title, text, PromptButtons::Ok, icon, std::nullopt, {}, -1});
    }

    void beep() override {
        calls.push_back({Call::Beep, {}, {}, PromptButtons::Ok, PromptIcon::None, std::nullopt, {}, -1});
    }

    std::vector<Call> questions() const { return filter(Call::Ask); }
    std::vector<Call> messages() const { return filter(Call::Tell); }
    std::size_t beeps() const { return filter(Call::Beep).size(); }
    std::size_t unusedAnswers() const { return m_answers.size() + m_choices.size(); }

    std::vector<Call> calls;

private:
    std::vector<Call> filter(Call::Kind kind) const {
        std::vector<Call> out;
        for (const auto& c : calls)
            if (c.kind == kind)
                out.push_back(c);
        return out;
    }
    std::deque<PromptAnswer> m_answers;
    std::deque<int> m_choices;
};

} // namespace qora::testing
