#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/prompt.h"

namespace qora::fuzzing {

// A broken promise of the code under test that no sanitizer would see: reported and turned into a crash, so
// the fuzzer keeps the input.
inline void require(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "fuzz: broken promise: %s\n", promise);
        std::abort();
    }
}

// A host whose user gives the same answer to every question: accepting (OK / Yes) or refusing (Cancel / No).
class AnsweringPrompt final : public Prompt {
public:
    explicit AnsweringPrompt(bool accept) : m_accept(accept) {}

    PromptAnswer ask(const std::string&, const std::string&, PromptButtons buttons, PromptIcon,
                     std::optional<PromptAnswer> = std::nullopt) override {
        ++questions;
        const bool yesNo = buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel;
        if (m_accept)
            return yesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
        return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Cancel;
    }
    void tell(const std::string&, const std::string&, PromptIcon) override { ++messages; }
    void beep() override {}

    int questions = 0;
    int messages = 0;

private:
    bool m_accept;
};

inline std::string_view bytesOf(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace qora::fuzzing
