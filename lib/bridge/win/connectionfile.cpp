#include "connectionfile.h"

#include <windows.h>

#include <random>
#include <vector>

namespace vantorix::win {

namespace {

constexpr int kAttempts = 100;

std::wstring temporaryFolder()
{
    std::vector<wchar_t> buffer(MAX_PATH + 2);
    const DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size())
        return {};
    return std::wstring(buffer.data(), length); // ends with a backslash
}

std::wstring randomSuffix(std::mt19937 &generator)
{
    static const wchar_t characters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<int> pick(0, 61);
    std::wstring suffix;
    for (int i = 0; i < 6; ++i)
        suffix.push_back(characters[pick(generator)]);
    return suffix;
}

} // namespace

std::wstring writeConnectionFile(const std::string &contents)
{
    const std::wstring folder = temporaryFolder();
    if (folder.empty())
        return {};
    std::random_device seed;
    std::mt19937 generator(seed() ^ GetCurrentProcessId() ^ GetTickCount());
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::wstring path = folder + L"vantorix." + randomSuffix(generator);
        // CREATE_NEW: never open a file that is already there (someone else's, or a planted one).
        const HANDLE file =
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            return {};
        }
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(contents.size());
        const BOOL ok =
            size == 0 || (WriteFile(file, contents.data(), size, &written, nullptr) && written == size);
        const BOOL flushed = FlushFileBuffers(file);
        CloseHandle(file);
        if (!ok || !flushed) {
            DeleteFileW(path.c_str());
            return {};
        }
        return path;
    }
    return {};
}

} // namespace vantorix::win
