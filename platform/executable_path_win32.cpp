#include "platform/executable_path_win32.h"

#include <windows.h>

namespace orvika2 {

std::wstring ExecutablePath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    // A full buffer means the path was cut.
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

}  // namespace orvika2
