#pragma once

// Windows data protection (DPAPI) of a password for the current user. No Qt here.

#include <string>

namespace vantorix::win {

// Protects the text (taken as real UTF-16LE, no terminator) with CryptProtectData, description "psw",
// no entropy, no prompt, CRYPTPROTECT_UI_FORBIDDEN. Returns the protected block as lowercase hex, or ""
// when the call fails.
[[nodiscard]] std::string protectForCurrentUser(const std::wstring &secret);

// The reverse, through CryptUnprotectData; false when the text is not hex or does not unprotect.
[[nodiscard]] bool unprotectForCurrentUser(const std::string &protectedHex, std::wstring &secret);

} // namespace vantorix::win
