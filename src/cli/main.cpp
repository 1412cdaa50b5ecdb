// qora-cli: the vehicle-file core of QORA for scripts. Exit status 0 on success, 1 when a file could not be
// loaded, saved or written or a check failed, 2 on a usage error.
#include <iostream>
#include <memory>
#include <vector>

#include <CLI/CLI.hpp>

#include "calc_commands.h"
#include "command.h"
#include "mas_command.h"
#include "platform/command_line.h"
#include "settings/settings.h"
#include "vehicle_commands.h"

#ifndef QORA_BUILD_ID
#define QORA_BUILD_ID "unknown"
#endif

namespace {

constexpr const char* kUsageHint = "Run 'qora-cli --help' or 'qora-cli COMMAND --help' for usage.";

} // namespace

int main(int argc, char** argv) {
    using namespace qora::cli;

    CLI::App app{"qora-cli: check, inspect and edit Trevant vehicle files from the command line", "qora-cli"};
    app.set_version_flag("--version",
                         std::string("qora-cli ") + qora::kProgramVersion + " (build " + QORA_BUILD_ID + ")");
    app.require_subcommand(1);
    // Options are written "--name" everywhere: on Windows CLI11 would also take "/name" for an option, and an
    // absolute path such as "/games/car.veh" (or a Unix path under Wine) would be lost as an unknown option.
    app.allow_windows_style_options(false);

    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(makeCheckCommand());
    commands.push_back(makeShowCommand());
    commands.push_back(makeSetCommand());
    commands.push_back(makeNewCommand());
    commands.push_back(makeDiffCommand());
    commands.push_back(makeMasCommand());
    commands.push_back(makeCurveCommand());
    commands.push_back(makeGearsCommand());

    std::vector<std::pair<CLI::App*, Command*>> subcommands;
    for (auto& command : commands) {
        CLI::App* sub = app.add_subcommand(command->name(), command->description());
        command->setup(*sub);
        subcommands.emplace_back(sub, command.get());
    }

    // File names arrive as QORA keeps them (UTF-8 on Windows, whatever the console's code page).
    qora::useUtf8Console();
    std::vector<std::string> arguments = qora::commandLineArguments(argc, argv);
    std::vector<char*> argumentPointers;
    for (std::string& argument : arguments)
        argumentPointers.push_back(argument.data());
    argumentPointers.push_back(nullptr);

    try {
        app.parse(static_cast<int>(arguments.size()), argumentPointers.data());
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "qora-cli: " << e.what() << '\n' << kUsageHint << '\n';
        return kExitUsage;
    }

    for (auto& [sub, command] : subcommands) {
        if (!sub->parsed())
            continue;
        try {
            return command->execute(std::cout, std::cerr);
        } catch (const UsageError& e) {
            std::cerr << "qora-cli: " << e.message << '\n' << kUsageHint << '\n';
            return kExitUsage;
        } catch (const std::exception& e) {
            std::cerr << "qora-cli: " << e.what() << '\n';
            return kExitFailed;
        }
    }
    std::cerr << "qora-cli: no command given\n" << kUsageHint << '\n';
    return kExitUsage;
}
