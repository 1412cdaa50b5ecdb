#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace qora {

// A page value or calculator input that cannot be used. The message names where it was found:
// "TfMain::" + the running operation + "-> " + the reason, as the editor shows it under its data-validation
// titles ("TfMain::validateGears()-> 2nd gear must be less than 1st gear.").
class DataValidationError : public std::runtime_error {
public:
    DataValidationError(std::string_view operation, std::string_view reason, std::string_view field = {})
        : std::runtime_error(std::string(kPrefix) + std::string(operation) + "-> " + std::string(reason)),
          m_reason(reason), m_field(field) {}

    // The reason alone, without the prefix and the operation.
    const std::string& reason() const noexcept { return m_reason; }
    // The objectName of the page field at fault, so the window can put the focus on it; empty when none is.
    const std::string& field() const noexcept { return m_field; }

    static constexpr std::string_view kPrefix = "TfMain::";

private:
    std::string m_reason;
    std::string m_field;
};

// Throws DataValidationError for the operation (for example "calculateUpshiftRpm()") with the reason.
[[noreturn]] inline void raiseValidationError(std::string_view operation, std::string_view reason) {
    throw DataValidationError(operation, reason);
}

} // namespace qora
