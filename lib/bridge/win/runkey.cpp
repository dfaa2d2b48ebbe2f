#include "runkey.h"

#include <windows.h>

#include <vector>

namespace vantorix::win {

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kValueName[] = L"vantorix";

// The full path of the running executable, with backslashes; empty on failure.
std::wstring executablePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::wstring runValueData(const std::wstring &executablePath)
{
    return L"\"" + executablePath + L"\" --start-minimized";
}

bool isRunValuePresent()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const LSTATUS status = RegQueryValueExW(key, kValueName, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool setRunValue(bool enabled)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    LSTATUS status;
    if (enabled) {
        const std::wstring path = executablePath();
        if (path.empty()) {
            RegCloseKey(key);
            return false;
        }
        const std::wstring data = runValueData(path);
        status = RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE *>(data.c_str()),
                                static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    } else {
        status = RegDeleteValueW(key, kValueName);
        if (status == ERROR_FILE_NOT_FOUND)
            status = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

} // namespace vantorix::win
