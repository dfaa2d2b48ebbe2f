// The Qt-free Windows units of the bridge, run for real under Wine: data protection, the start-at-login
// Run key, the Remote Desktop connection file and MSTSC command line, and the window activation.
// A plain test program: each CHECK that fails prints its line and the run ends with exit code 1.
#include "connectionfile.h"
#include "credentialprotection.h"
#include "foreground.h"
#include "hex.h"
#include "mstsc.h"
#include "runkey.h"
#include "wideutf8.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

int failures = 0;
int checks = 0;

#define CHECK(condition) check((condition), #condition, __LINE__)

void check(bool ok, const char *what, int line)
{
    ++checks;
    if (!ok) {
        ++failures;
        std::printf("FAIL line %d: %s\n", line, what);
    }
}

std::string hexOf(const std::string &bytes)
{
    return vantorix::win::toLowerHex(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
}

std::wstring programFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// ---- data protection ------------------------------------------------------------------------------
void dataProtection()
{
    // Every DPAPI blob starts with its version, 1 (the provider's GUID after it is Wine's own under Wine).
    const std::string blobVersion = "01000000";
    const std::wstring passwords[] = {L"Rdp-Secret-42!", L"P\u00e4ssw\u00f6rt-\u20ac-\u6f22\u5b57", L"",
                                      std::wstring(300, L'x')};
    std::string previous;
    for (const std::wstring &password : passwords) {
        const std::string hex = vantorix::win::protectForCurrentUser(password);
        CHECK(!hex.empty());
        if (hex.size() < 120)
            continue;
        CHECK(hex.compare(0, blobVersion.size(), blobVersion) == 0);
        // The description "psw" is in the blob as UTF-16LE with its terminator.
        CHECK(hex.find("7000730077000000") != std::string::npos);
        // The password itself is nowhere in it, neither as UTF-16LE nor as UTF-8.
        if (!password.empty()) {
            const std::string utf16(reinterpret_cast<const char *>(password.data()), password.size() * 2);
            CHECK(hex.find(hexOf(utf16)) == std::string::npos);
            CHECK(hex.find(hexOf(utf8(password))) == std::string::npos);
        }
        CHECK(hex != previous);
        previous = hex;

        std::wstring back = L"left over";
        CHECK(vantorix::win::unprotectForCurrentUser(hex, back));
        CHECK(back == password);
        // Upper-case digits are read too (a hand-edited settings file).
        std::string upper = hex;
        std::transform(hex.begin(), hex.end(), upper.begin(),
                       [](unsigned char c) { return char(toupper(c)); });
        back.clear();
        CHECK(vantorix::win::unprotectForCurrentUser(upper, back) && back == password);

        // Damaged values unprotect to nothing: a changed byte in the encrypted part (which ends 20 bytes of
        // signature and its 4-byte length before the end) and in the signature, a cut blob, an odd length, a
        // character that is not a digit.
        std::string flipped = hex;
        const size_t encrypted = hex.size() - 2 * (20 + 4) - 4;
        flipped[encrypted] = flipped[encrypted] == '0' ? '1' : '0';
        std::string signature = hex;
        signature[hex.size() - 3] = signature[hex.size() - 3] == 'a' ? 'b' : 'a';
        const std::string damaged[] = {
            flipped,           signature,     hex.substr(0, hex.size() - 2),
            hex.substr(0, 40), hex.substr(1), hex.substr(0, 10) + "zz" + hex.substr(12)};
        for (const std::string &value : damaged) {
            back = L"left over";
            CHECK(!vantorix::win::unprotectForCurrentUser(value, back) && back.empty());
        }
    }
    std::wstring back = L"left over";
    CHECK(!vantorix::win::unprotectForCurrentUser("", back) && back.empty());
    CHECK(!vantorix::win::unprotectForCurrentUser(std::string(64, '0'), back) && back.empty());
}

// ---- start at login ------------------------------------------------------------------------------
const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

bool readRunValue(std::wstring &data, DWORD &type)
{
    wchar_t buffer[4096];
    DWORD size = sizeof buffer;
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"vantorix", RRF_RT_ANY | RRF_NOEXPAND,
                                        &type, buffer, &size);
    if (status != ERROR_SUCCESS)
        return false;
    data.assign(buffer, size / sizeof(wchar_t));
    if (!data.empty() && data.back() == L'\0')
        data.pop_back();
    return true;
}

void startAtLogin()
{
    wchar_t exe[MAX_PATH];
    const std::wstring self(exe, GetModuleFileNameW(nullptr, exe, MAX_PATH));
    CHECK(vantorix::win::runValueData(L"C:\\Program Files\\vantorix\\vantorix.exe") ==
          L"\"C:\\Program Files\\vantorix\\vantorix.exe\" --start-minimized");

    CHECK(vantorix::win::setRunValue(false)); // nothing there: still a success
    CHECK(!vantorix::win::isRunValuePresent());

    CHECK(vantorix::win::setRunValue(true));
    CHECK(vantorix::win::isRunValuePresent());
    std::wstring data;
    DWORD type = 0;
    CHECK(readRunValue(data, type));
    CHECK(type == REG_SZ);
    CHECK(data == L"\"" + self + L"\" --start-minimized");

    // A value that points elsewhere counts as enabled, and enabling writes ours over it.
    const wchar_t other[] = L"C:\\elsewhere\\old.exe";
    CHECK(RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"vantorix", REG_SZ, other, sizeof other) ==
          ERROR_SUCCESS);
    CHECK(vantorix::win::isRunValuePresent());
    CHECK(vantorix::win::setRunValue(true));
    CHECK(readRunValue(data, type) && data == L"\"" + self + L"\" --start-minimized");

    // Another program's value is left alone.
    const wchar_t neighbour[] = L"C:\\neighbour.exe";
    CHECK(RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"neighbour", REG_SZ, neighbour, sizeof neighbour) ==
          ERROR_SUCCESS);
    CHECK(vantorix::win::setRunValue(false));
    CHECK(!vantorix::win::isRunValuePresent());
    CHECK(!readRunValue(data, type));
    CHECK(RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"neighbour", RRF_RT_REG_SZ, nullptr, nullptr, nullptr) ==
          ERROR_SUCCESS);
    CHECK(vantorix::win::setRunValue(false));
}

// ---- Remote Desktop -------------------------------------------------------------------------------
struct Launch {
    std::string commandLine; // UTF-8
    std::string fileBytes;
    bool fileRead = false;
};

// Waits for the stand-in's record of one more start (it runs on its own after WinExec returns).
bool waitForLaunch(const std::wstring &record, size_t launches, Launch &launch)
{
    for (int i = 0; i < 1200; ++i) {
        const std::string text = readFile(record);
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        if (lines.size() >= 2 * (launches + 1)) {
            launch.commandLine = lines[2 * launches];
            const std::string hex = lines[2 * launches + 1];
            std::vector<unsigned char> bytes;
            launch.fileRead = hex != "-" && vantorix::win::fromHex(hex, bytes);
            launch.fileBytes.assign(bytes.begin(), bytes.end());
            return true;
        }
        Sleep(100);
    }
    return false;
}

void remoteDesktop()
{
    const std::wstring record = programFolder() + L"mstsc-record.txt";
    DeleteFileW(record.c_str());
    SetEnvironmentVariableW(L"VANTORIX_MSTSC_RECORD", record.c_str());

    wchar_t base[MAX_PATH];
    CHECK(GetTempPathW(MAX_PATH, base) > 0);
    const std::wstring folders[] = {std::wstring(base) + L"plain",
                                    std::wstring(base) + L"Zo\u00eb M\u00fcller \u6f22\u5b57"};
    const std::string contents = "full address:s:203.0.113.10\r\nusername:s:J\xc3\xa9r\xc3\xb4me\r\n"
                                 "password 51:b:01000000d08c9ddf\r\nremoteapplicationmode:i:0";
    size_t launches = 0;
    for (const std::wstring &folder : folders) {
        CreateDirectoryW(folder.c_str(), nullptr);
        SetEnvironmentVariableW(L"TMP", folder.c_str());
        SetEnvironmentVariableW(L"TEMP", folder.c_str());

        const std::wstring first = vantorix::win::writeConnectionFile(contents);
        const std::wstring second = vantorix::win::writeConnectionFile(contents);
        CHECK(!first.empty() && first != second);
        CHECK(first.compare(0, folder.size() + 1, folder + L"\\") == 0);
        const std::wstring name = first.substr(first.find_last_of(L'\\') + 1);
        CHECK(name.size() == 15 && name.compare(0, 9, L"vantorix.") == 0);
        CHECK(name.find_first_not_of(
                  L"vantorix.abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") ==
              std::wstring::npos);
        CHECK(readFile(first) == contents);
        CHECK(vantorix::win::writeConnectionFile("").size() > 0);

        const unsigned int result = vantorix::win::startRemoteDesktopClient(first);
        CHECK(result > 31);
        Launch launch;
        CHECK(waitForLaunch(record, launches, launch));
        ++launches;
        // MSTSC "<path>": the path as given when it is ASCII, else its short form, which names the same file.
        const std::string prefix = "MSTSC \"";
        CHECK(launch.commandLine.compare(0, prefix.size(), prefix) == 0);
        CHECK(launch.commandLine.size() > prefix.size() + 1 && launch.commandLine.back() == '"');
        const std::string givenText =
            launch.commandLine.substr(prefix.size(), launch.commandLine.size() - prefix.size() - 1);
        CHECK(std::all_of(givenText.begin(), givenText.end(), [](unsigned char c) { return c < 0x80; }));
        const std::wstring given(givenText.begin(), givenText.end());
        wchar_t longForm[MAX_PATH * 2];
        const DWORD longLength = GetLongPathNameW(given.c_str(), longForm, MAX_PATH * 2);
        CHECK(std::wstring(longForm, longLength) == first);
        if (folder == folders[0])
            CHECK(given == first);
        CHECK(launch.fileRead && launch.fileBytes == contents);
        // The file stays for the client to read.
        CHECK(readFile(first) == contents);
    }
    SetEnvironmentVariableW(L"TMP", L"C:\\does\\not\\exist");
    SetEnvironmentVariableW(L"TEMP", L"C:\\does\\not\\exist");
    CHECK(vantorix::win::writeConnectionFile(contents).empty());
}

// ---- window activation ---------------------------------------------------------------------------
void windowActivation()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VantorixTestWindow";
    CHECK(RegisterClassW(&windowClass) != 0);
    const HWND window = CreateWindowExW(0, L"VantorixTestWindow", L"vantorix test", WS_OVERLAPPEDWINDOW, 10,
                                        10, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    const HWND other = CreateWindowExW(0, L"VantorixTestWindow", L"other", WS_OVERLAPPEDWINDOW, 40, 40, 300,
                                       200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    CHECK(window != nullptr && other != nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    ShowWindow(other, SW_SHOWNORMAL);
    SetForegroundWindow(other);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);

    vantorix::win::bringToForeground(window);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    CHECK(GetForegroundWindow() == window);
    // The synthetic Alt press was released again.
    BYTE state[256] = {};
    CHECK(GetKeyboardState(state) && (state[VK_MENU] & 0x80) == 0);
    CHECK((GetAsyncKeyState(VK_MENU) & 0x8000) == 0);

    // Nothing happens for a handle that is not a window (any more).
    vantorix::win::bringToForeground(nullptr);
    DestroyWindow(other);
    vantorix::win::bringToForeground(other);
    CHECK(GetForegroundWindow() == window);
    DestroyWindow(window);
}

} // namespace

int main()
{
    dataProtection();
    startAtLogin();
    remoteDesktop();
    windowActivation();
    std::printf("%d checks, %d failed\n", checks, failures);
    return failures == 0 ? 0 : 1;
}
