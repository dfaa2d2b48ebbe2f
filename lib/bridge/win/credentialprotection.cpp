#include "credentialprotection.h"

#include "hex.h"

#include <windows.h>

#include <wincrypt.h>

#include <vector>

namespace vantorix::win {

namespace {

// Overwrites a block before it is given back, so that a password does not linger in freed memory.
void wipe(void *data, std::size_t size)
{
    if (data && size > 0)
        SecureZeroMemory(data, size);
}

} // namespace

std::string protectForCurrentUser(const std::wstring &secret)
{
    static_assert(sizeof(wchar_t) == 2, "Windows wide characters are UTF-16 code units");
    // The block is exactly the UTF-16LE code units of the text, without terminator. An empty text gets an
    // empty block that still points somewhere: a null data pointer is refused as an invalid parameter.
    std::vector<BYTE> plain(secret.size() * sizeof(wchar_t) + 1);
    memcpy(plain.data(), secret.data(), secret.size() * sizeof(wchar_t));

    DATA_BLOB input;
    input.cbData = static_cast<DWORD>(secret.size() * sizeof(wchar_t));
    input.pbData = plain.data();
    DATA_BLOB output{};

    const BOOL ok =
        CryptProtectData(&input, L"psw", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &output);
    wipe(plain.data(), plain.size());
    if (!ok)
        return {};

    std::string hex = toLowerHex(output.pbData, output.cbData);
    LocalFree(output.pbData);
    return hex;
}

bool unprotectForCurrentUser(const std::string &protectedHex, std::wstring &secret)
{
    secret.clear();
    std::vector<unsigned char> block;
    if (!fromHex(protectedHex, block) || block.empty())
        return false;

    DATA_BLOB input;
    input.cbData = static_cast<DWORD>(block.size());
    input.pbData = block.data();
    DATA_BLOB output{};
    if (!CryptUnprotectData(&input, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &output))
        return false;

    bool ok = output.cbData % sizeof(wchar_t) == 0;
    if (ok && output.cbData > 0) {
        secret.resize(output.cbData / sizeof(wchar_t));
        memcpy(&secret[0], output.pbData, output.cbData);
    }
    wipe(output.pbData, output.cbData);
    LocalFree(output.pbData);
    return ok;
}

} // namespace vantorix::win
