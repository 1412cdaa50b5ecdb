#pragma once

#include <string>
#include <vector>

namespace qora {

// The program's command-line arguments as QORA keeps paths: on Windows read again from the system's UTF-16
// command line (the narrow argv holds the ANSI code page, where a name with other characters turns into "?"),
// elsewhere argv's bytes as they are.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Makes the console show UTF-8 output as text (Windows; nothing elsewhere, where terminals take the bytes).
void useUtf8Console();

} // namespace qora
