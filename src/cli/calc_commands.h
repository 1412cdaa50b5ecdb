#pragma once

#include <memory>

#include "command.h"

namespace qora::cli {

std::unique_ptr<Command> makeCurveCommand(); // the engine curve and its peak figures
std::unique_ptr<Command> makeGearsCommand(); // upshift engine speeds and recommended ratios

} // namespace qora::cli
