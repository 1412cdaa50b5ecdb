#include "platform/windows_registry.h"

#include "platform/ini_registry.h"

#ifdef _WIN32
#include "platform/windows_api.h"

#include <shlobj.h>

#include <system_error>
#include <vector>

#include "platform/file_system.h"
#endif

namespace qora {

std::unique_ptr<Registry> makeSystemRegistry(const std::string& storeFile) {
#ifdef _WIN32
    (void)storeFile;
    return std::make_unique<WindowsRegistry>();
#else
    return std::make_unique<IniRegistry>(storeFile);
#endif
}

#ifdef _WIN32

namespace {

std::wstring wideText(const std::string& text) {
    return nativePath(text).wstring();
}

std::string utf8Text(const std::wstring& text) {
    return pathText(std::filesystem::path(text));
}

// Where a root of QORA's lies in the system registry, and the key below it.
struct Location {
    HKEY base;
    std::wstring subkey;
};

Location locate(RegistryRoot root, const std::string& key) {
    std::string path = key;
    while (!path.empty() && path.front() == '\\')
        path.erase(path.begin());
    if (root == RegistryRoot::ClassesRoot)
        return {HKEY_CURRENT_USER, L"Software\\Classes" + (path.empty() ? std::wstring() : L"\\" + wideText(path))};
    return {HKEY_LOCAL_MACHINE, wideText(path)};
}

// The views of a root a key is looked for in, in order: HKEY_LOCAL_MACHINE's 64-bit view, then its 32-bit view
// (WOW6432Node); the per-user classes have one view.
std::vector<REGSAM> viewsOf(RegistryRoot root) {
    if (root == RegistryRoot::LocalMachine)
        return {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    return {0};
}

[[noreturn]] void fail(const char* what, const std::string& key, LSTATUS status) {
    throw RegistryError(std::string(what) + " [" + key + "]: " + std::system_category().message(status));
}

struct KeyCloser {
    HKEY key = nullptr;
    ~KeyCloser() {
        if (key)
            ::RegCloseKey(key);
    }
};

} // namespace

bool WindowsRegistry::keyExists(RegistryRoot root, const std::string& key) {
    const Location at = locate(root, key);
    for (const REGSAM view : viewsOf(root)) {
        KeyCloser opened;
        if (::RegOpenKeyExW(at.base, at.subkey.c_str(), 0, KEY_READ | view, &opened.key) == ERROR_SUCCESS)
            return true;
    }
    return false;
}

std::optional<std::string> WindowsRegistry::readString(RegistryRoot root, const std::string& key,
                                                       const std::string& valueName) {
    const Location at = locate(root, key);
    const std::wstring name = wideText(valueName);
    for (const REGSAM view : viewsOf(root)) {
        KeyCloser opened;
        LSTATUS status = ::RegOpenKeyExW(at.base, at.subkey.c_str(), 0, KEY_READ | view, &opened.key);
        if (status == ERROR_FILE_NOT_FOUND)
            continue;
        if (status != ERROR_SUCCESS)
            fail("Cannot open the registry key", key, status);
        DWORD type = 0;
        DWORD size = 0;
        status = ::RegQueryValueExW(opened.key, name.c_str(), nullptr, &type, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND)
            continue; // the other view may hold the value
        if (status != ERROR_SUCCESS)
            fail("Cannot read the registry key", key, status);
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return std::nullopt;
        std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        status =
            ::RegQueryValueExW(opened.key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes);
        if (status != ERROR_SUCCESS)
            fail("Cannot read the registry key", key, status);
        value.resize(bytes / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0')
            value.pop_back();
        if (type == REG_EXPAND_SZ) {
            // "%ProgramFiles%\..." as installers write it: the variables are filled in.
            const DWORD needed = ::ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
            if (needed > 0) {
                std::wstring expanded(needed, L'\0');
                if (::ExpandEnvironmentStringsW(value.c_str(), expanded.data(), needed) == needed) {
                    expanded.resize(needed - 1);
                    value = expanded;
                }
            }
        }
        return utf8Text(value);
    }
    return std::nullopt;
}

bool WindowsRegistry::createKey(RegistryRoot root, const std::string& key) {
    const Location at = locate(root, key);
    KeyCloser created;
    return ::RegCreateKeyExW(at.base, at.subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                             &created.key, nullptr) == ERROR_SUCCESS;
}

void WindowsRegistry::writeString(RegistryRoot root, const std::string& key, const std::string& valueName,
                                  const std::string& value) {
    const Location at = locate(root, key);
    KeyCloser opened;
    LSTATUS status = ::RegCreateKeyExW(at.base, at.subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                       nullptr, &opened.key, nullptr);
    if (status != ERROR_SUCCESS)
        fail("Cannot open the registry key", key, status);
    const std::wstring name = wideText(valueName);
    const std::wstring data = wideText(value);
    status = ::RegSetValueExW(opened.key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                              static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS)
        fail("Cannot write the registry key", key, status);
}

void WindowsRegistry::deleteKey(RegistryRoot root, const std::string& key) {
    const Location at = locate(root, key);
    std::string path = key;
    while (!path.empty() && path.front() == '\\')
        path.erase(path.begin());
    if (path.empty())
        throw RegistryError("A registry root cannot be deleted.");
    LSTATUS status = ::RegDeleteTreeW(at.base, at.subkey.c_str());
    if (status == ERROR_FILE_NOT_FOUND)
        return;
    if (status != ERROR_SUCCESS)
        fail("Cannot delete the registry key", key, status);
    // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
    status = ::RegDeleteKeyW(at.base, at.subkey.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        fail("Cannot delete the registry key", key, status);
}

void WindowsRegistry::associationsChanged() {
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

#endif

} // namespace qora
