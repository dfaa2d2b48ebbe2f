#pragma once

// The Remote Desktop connection file on Windows. No Qt here.

#include <string>

namespace vantorix::win {

// Writes the connection text to a new file in the user's temporary folder, named "vantorix.", six random
// letters or digits, and no extension. The bytes go in as given (UTF-8, the caller's CR LF line ends, no
// byte-order mark). The file stays after the call: the Remote Desktop client reads it later. Returns the
// file's full path, or "" when no file could be created or written (a half-written file is removed).
[[nodiscard]] std::wstring writeConnectionFile(const std::string &contents);

} // namespace vantorix::win
