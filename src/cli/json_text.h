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

// A message: it may carry a path (UTF-8 on most systems) beside Latin-1 vehicle texts, so valid UTF-8 is kept as
// it is and anything else is decoded as Latin-1.
inline Json messageText(std::string_view text) {
    return text::isUtf8(text) ? std::string(text) : text::latin1ToUtf8(text);
}

// Puts a path under `key`. A path whose bytes are UTF-8 is the text itself. Any other path (a Latin-1 name copied
// from Windows) is given with each byte as the character of the same value, and `key` + "_encoding" is "latin1"
// beside it: encoding the text as Latin-1 gives the name's bytes back exactly.
inline void putPath(Json& object, const std::string& key, const std::string& path) {
    if (text::isUtf8(path)) {
        object[key] = path;
        return;
    }
    object[key] = text::latin1ToUtf8(path);
    object[key + "_encoding"] = "latin1";
}

// One JSON document; bytes that are not UTF-8 (a path, say) are replaced rather than failing the output.
inline std::string dumpJson(const Json& json) {
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace qora::cli
