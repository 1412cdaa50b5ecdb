#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/prompt.h"

namespace qora::cli {

// Answers the questions the editor asks in message boxes from the command line's options: with --repair an
// OK/Cancel question is answered OK (remove the entry, erase the value), otherwise Cancel; a Yes/No question is
// answered Yes only with --force. Every question is recorded; messages go to stderr.
class CliPrompt final : public Prompt {
public:
    struct Question {
        std::string title;
        std::string text;
        PromptAnswer answer;
    };

    CliPrompt(std::ostream& err, bool repair, bool force = false) : m_err(err), m_repair(repair), m_force(force) {}

    PromptAnswer ask(const std::string& title, const std::string& text, PromptButtons buttons, PromptIcon icon,
                     std::optional<PromptAnswer> defaultButton = std::nullopt) override;
    void tell(const std::string& title, const std::string& text, PromptIcon icon) override;
    void beep() override {}

    std::vector<Question> questions;
    // When false, questions are recorded without being echoed (the JSON output carries them).
    bool echoQuestions = true;

private:
    std::ostream& m_err;
    bool m_repair;
    bool m_force;
};

// "ok", "cancel", "yes" or "no".
const char* answerName(PromptAnswer answer);

} // namespace qora::cli
