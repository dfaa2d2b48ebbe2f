#include "mstsc.h"

#include <windows.h>

#include <vector>

namespace vantorix::win {

namespace {

bool isAscii(const std::wstring &text)
{
    for (const wchar_t c : text) {
        if (c > 0x7f)
            return false;
    }
    return true;
}

// WinExec takes a narrow command line in the ANSI code page. A path with other characters (a user name
// with accents in the temporary folder) is handed over in its short 8.3 form, which is plain ASCII.
std::wstring commandLinePath(const std::wstring &path)
{
    if (isAscii(path))
        return path;
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0)
        return path;
    std::vector<wchar_t> buffer(needed);
    const DWORD written = GetShortPathNameW(path.c_str(), buffer.data(), needed);
    if (written == 0 || written >= needed)
        return path;
    return std::wstring(buffer.data(), written);
}

std::string toAnsi(const std::wstring &text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size, nullptr,
                        nullptr);
    return result;
}

} // namespace

unsigned int startRemoteDesktopClient(const std::wstring &connectionFilePath)
{
    const std::string commandLine = "MSTSC \"" + toAnsi(commandLinePath(connectionFilePath)) + "\"";
    return WinExec(commandLine.c_str(), SW_SHOWNORMAL);
}

} // namespace vantorix::win
