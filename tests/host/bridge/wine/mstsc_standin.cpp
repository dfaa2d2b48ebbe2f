// A stand-in for the Windows Remote Desktop client, put where WinExec finds "MSTSC" first (the folder of
// the program that starts it). It appends one record to the file named by VANTORIX_MSTSC_RECORD: its
// command line (UTF-8), a line feed, the hexadecimal bytes of the connection file its quoted argument
// names ("-" when that file cannot be read), and a line feed.
#include "hex.h"
#include "wideutf8.h"

#include <windows.h>

#include <string>

int main()
{
    const std::wstring commandLine = GetCommandLineW();
    std::wstring path;
    const size_t open = commandLine.find(L'"');
    const size_t close = open == std::wstring::npos ? open : commandLine.find(L'"', open + 1);
    if (close != std::wstring::npos)
        path = commandLine.substr(open + 1, close - open - 1);
    bool found = false;
    const std::string bytes = readFile(path, &found);
    const std::string hex =
        found ? vantorix::win::toLowerHex(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size())
              : "-";
    const std::string record = utf8(commandLine) + "\n" + hex + "\n";

    wchar_t target[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(L"VANTORIX_MSTSC_RECORD", target, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2)
        return 1;
    const HANDLE out =
        CreateFileW(target, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(out, record.data(), DWORD(record.size()), &written, nullptr);
    CloseHandle(out);
    return 0;
}
