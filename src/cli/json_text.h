#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/text.h"

namespace qora::cli {

using Json = nlohmann::ordered_json;

// A text read from a file, decoded as Latin-1.
inline Json fileText(std::string_view latin1) {
    return text::latin1ToUtf8(latin1);
}

// One JSON document; bytes that are not UTF-8 (a path, say) are replaced rather than failing the output.
inline std::string dumpJson(const Json& json) {
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace qora::cli
