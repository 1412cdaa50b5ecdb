#pragma once

#include <string>

#include <QString>

namespace qora::testing {

// A core string as Qt shows it, for comparing the core's texts and paths with what a window holds.
inline QString q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace qora::testing
