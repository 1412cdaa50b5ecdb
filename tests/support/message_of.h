#pragma once

#include <string>

namespace qora::testing {

// The message of the Error that calling `action` throws, or "" when it throws nothing. Any other exception is
// left to fail the test.
template <typename Error, typename Action> std::string messageOf(Action&& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

} // namespace qora::testing
