#pragma once

// Hexadecimal text of byte blocks, as the Remote Desktop "password 51:b:" field expects it.
// Plain standard C++ (no Qt, no Win32), shared by the Windows backend.

#include <cstddef>
#include <string>
#include <vector>

namespace vantorix::win {

// Two lowercase digits per byte, high four bits first ("0a", never "a").
[[nodiscard]] std::string toLowerHex(const unsigned char *data, std::size_t size);

// The reverse; false for an odd length or any character that is not a hexadecimal digit.
[[nodiscard]] bool fromHex(const std::string &text, std::vector<unsigned char> &bytes);

} // namespace vantorix::win
