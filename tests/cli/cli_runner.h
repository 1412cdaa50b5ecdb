#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace qora::testing {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

// Runs the real qora-cli in `folder` and captures its exit status and both output streams.
inline CliResult runCli(const TempDir& folder, const std::vector<std::string>& args) {
    std::string command = "cd " + shellQuote(folder.path()) + " && " + shellQuote(QORA_CLI_PATH);
    for (const auto& a : args)
        command += " " + shellQuote(a);
    const std::string outFile = folder.file(".cli-out");
    const std::string errFile = folder.file(".cli-err");
    command += " >" + shellQuote(outFile) + " 2>" + shellQuote(errFile);
    const int status = std::system(command.c_str());
    CliResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readBytes(outFile);
    r.err = readBytes(errFile);
    std::remove(outFile.c_str());
    std::remove(errFile.c_str());
    return r;
}

} // namespace qora::testing
