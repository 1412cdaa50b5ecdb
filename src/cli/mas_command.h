#pragma once

#include <memory>

#include "command.h"

namespace qora::cli {

std::unique_ptr<Command> makeMasCommand(); // list, extract from and write into the vehicle archive

} // namespace qora::cli
