#pragma once

// Starting the Windows Remote Desktop client (MSTSC) on a connection file. No Qt here.

#include <string>

namespace vantorix::win {

// Runs MSTSC "path" through WinExec with SW_SHOWNORMAL and returns WinExec's result unchanged:
// above 31 means started. The path is given as UTF-16.
unsigned int startRemoteDesktopClient(const std::wstring &connectionFilePath);

} // namespace vantorix::win
