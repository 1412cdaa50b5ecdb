#include "cli_prompt.h"

#include <ostream>

namespace qora::cli {

const char* answerName(PromptAnswer answer) {
    switch (answer) {
    case PromptAnswer::Ok:
        return "ok";
    case PromptAnswer::Cancel:
        return "cancel";
    case PromptAnswer::Yes:
        return "yes";
    case PromptAnswer::No:
        return "no";
    }
    return "cancel";
}

PromptAnswer CliPrompt::ask(const std::string& title, const std::string& text, PromptButtons buttons, PromptIcon,
                            std::optional<PromptAnswer>) {
    PromptAnswer answer = PromptAnswer::Cancel;
    switch (buttons) {
    case PromptButtons::Ok:
        answer = PromptAnswer::Ok;
        break;
    case PromptButtons::OkCancel:
        answer = m_repair ? PromptAnswer::Ok : PromptAnswer::Cancel;
        break;
    case PromptButtons::YesNo:
        answer = m_force ? PromptAnswer::Yes : PromptAnswer::No;
        break;
    case PromptButtons::YesNoCancel:
        answer = m_force ? PromptAnswer::Yes : PromptAnswer::Cancel;
        break;
    }
    questions.push_back({title, text, answer});
    if (echoQuestions) {
        m_err << "qora-cli: " << title << ": " << text << " [answered " << answerName(answer) << "]";
        if (buttons == PromptButtons::OkCancel && !m_repair)
            m_err << " (use --repair to answer OK)";
        m_err << '\n';
    }
    return answer;
}

void CliPrompt::tell(const std::string&, const std::string& text, PromptIcon) {
    m_err << "qora-cli: " << text << '\n';
}

} // namespace qora::cli
