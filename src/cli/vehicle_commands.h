#pragma once

#include <memory>

#include "command.h"

namespace qora::cli {

std::unique_ptr<Command> makeCheckCommand(); // load and validate vehicle files
std::unique_ptr<Command> makeShowCommand();  // print the file buffer as JSON
std::unique_ptr<Command> makeSetCommand();   // change values and save
std::unique_ptr<Command> makeNewCommand();   // write a new vehicle from the built-in template
std::unique_ptr<Command> makeDiffCommand();  // compare two vehicle files value by value

} // namespace qora::cli
