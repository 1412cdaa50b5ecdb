#pragma once

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
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

#ifdef _WIN32
// One argument as the C runtime's command-line parser reads it back: quoted when it holds blanks or quotes, with
// the backslashes before a quote doubled.
inline std::wstring windowsArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}
#endif

// qora-cli started in a folder with its output streams going to files there; wait() collects how it ended. Several
// may run at once.
class CliProcess {
public:
    CliProcess(const TempDir& folder, const std::vector<std::string>& args, const std::string& tag = "")
        : m_outFile(folder.file(".cli-out" + tag)), m_errFile(folder.file(".cli-err" + tag)) {
#ifdef _WIN32
        // Paths and arguments are UTF-8 in the tests; the process gets them as UTF-16, as Windows passes them.
        std::wstring commandLine = windowsArgument(std::filesystem::u8path(QORA_CLI_PATH).wstring());
        for (const auto& a : args)
            commandLine += L" " + windowsArgument(std::filesystem::u8path(a).wstring());
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        const auto create = [&](const std::string& path) {
            return CreateFileW(std::filesystem::u8path(path).wstring().c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        HANDLE out = create(m_outFile);
        HANDLE err = create(m_errFile);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION process{};
        const std::wstring workingFolder = std::filesystem::u8path(folder.path()).wstring();
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, workingFolder.c_str(),
                           &startup, &process)) {
            CloseHandle(process.hThread);
            m_process = process.hProcess;
        }
        CloseHandle(out);
        CloseHandle(err);
#else
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int out = ::open(m_outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open(m_errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out < 0 || err < 0 || ::chdir(folder.path().c_str()) != 0)
                ::_exit(127);
            ::dup2(out, 1);
            ::dup2(err, 2);
            std::vector<char*> argv;
            std::string program = QORA_CLI_PATH;
            argv.push_back(program.data());
            std::vector<std::string> copies = args;
            for (auto& a : copies)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        m_pid = pid;
#endif
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;
    ~CliProcess() {
        wait();
    }

    // Waits for the program to end; its exit status (-1 when it could not be started or was killed) and output.
    CliResult wait() {
        CliResult r;
#ifdef _WIN32
        if (m_process == nullptr)
            return r;
        WaitForSingleObject(m_process, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(m_process, &code))
            r.exitCode = static_cast<int>(code);
        CloseHandle(m_process);
        m_process = nullptr;
#else
        if (m_pid <= 0)
            return r;
        int status = 0;
        if (::waitpid(m_pid, &status, 0) == m_pid && WIFEXITED(status))
            r.exitCode = WEXITSTATUS(status);
        m_pid = -1;
#endif
        r.out = readBytes(m_outFile);
        r.err = readBytes(m_errFile);
#ifdef _WIN32
        // Text written to the console streams ends its lines with CR LF on Windows; the tests compare lines.
        for (std::string* text : {&r.out, &r.err}) {
            std::string lines;
            for (std::size_t i = 0; i < text->size(); ++i)
                if (!((*text)[i] == '\r' && i + 1 < text->size() && (*text)[i + 1] == '\n'))
                    lines += (*text)[i];
            *text = std::move(lines);
        }
#endif
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::u8path(m_outFile), ignored);
        std::filesystem::remove(std::filesystem::u8path(m_errFile), ignored);
        return r;
    }

private:
    std::string m_outFile;
    std::string m_errFile;
#ifdef _WIN32
    HANDLE m_process = nullptr;
#else
    pid_t m_pid = -1;
#endif
};

// Runs the real qora-cli in `folder` and captures its exit status and both output streams.
inline CliResult runCli(const TempDir& folder, const std::vector<std::string>& args) {
    return CliProcess(folder, args).wait();
}

} // namespace qora::testing
