#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace qora::cli {

// Exit statuses of qora-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // a file could not be loaded, saved or written, or a check failed
inline constexpr int kExitUsage = 2;  // unknown command or option, missing or malformed argument

// A usage error found after the arguments were parsed (an unknown key in an assignment, say).
struct UsageError {
    std::string message;
};

// One subcommand: it declares its options on its own CLI11 subcommand and runs when that subcommand was given.
class Command {
public:
    virtual ~Command() = default;
    virtual const char* name() const = 0;
    virtual const char* description() const = 0;
    virtual void setup(CLI::App& app) = 0;
    // Runs the command; may throw UsageError.
    virtual int execute(std::ostream& out, std::ostream& err) = 0;
};

} // namespace qora::cli
