#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/pickers.h"

namespace qora::testing {

// A FolderPicker that answers from a script, in order (a folder for OK, nullopt for Cancel), and records every
// call so a test can assert the caption and the start folder. A call without a scripted answer fails loudly.
class ScriptedFolderPicker : public FolderPicker {
public:
    struct Call {
        std::string caption;
        std::string startFolder;
    };

    ScriptedFolderPicker& choose(std::string folder) {
        m_answers.emplace_back(std::move(folder));
        return *this;
    }
    ScriptedFolderPicker& cancel() {
        m_answers.emplace_back(std::nullopt);
        return *this;
    }

    std::optional<std::string> pickFolder(const std::string& caption, const std::string& startFolder) override {
        calls.push_back({caption, startFolder});
        if (m_answers.empty())
            throw std::logic_error("unexpected folder dialog: " + caption);
        auto answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    std::size_t unusedAnswers() const { return m_answers.size(); }

    std::vector<Call> calls;

private:
    std::deque<std::optional<std::string>> m_answers;
};

} // namespace qora::testing
