#include "platform/command_line.h"

#include "platform/file_system.h"

#ifdef _WIN32
#include "platform/windows_api.h"

#include <shellapi.h>
#endif

namespace qora {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        std::vector<std::string> arguments;
        arguments.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            arguments.push_back(pathText(std::filesystem::path(wide[i])));
        ::LocalFree(wide);
        if (!arguments.empty())
            return arguments;
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}

void useUtf8Console() {
#ifdef _WIN32
    ::SetConsoleOutputCP(CP_UTF8);
#endif
}

} // namespace qora
