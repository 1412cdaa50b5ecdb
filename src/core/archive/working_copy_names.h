#pragma once

#include <string_view>

namespace qora {

// The names QORA gives the files it extracts from the archive: the prefix of the edited vehicle's working copy and
// of the ghost's copy, each followed by the entry's name.
inline constexpr std::string_view kWorkingCopyPrefix = "vehiclemas=";
inline constexpr std::string_view kGhostCopyPrefix = "ghostmas=";

} // namespace qora
