#include "platform/executable_path_win32.h"

#include <windows.h>

#include "platform/whole_string.h"

namespace orvika2 {

std::optional<std::wstring> ExecutablePath() {
    return ReadWholeString([](wchar_t* buffer, std::size_t capacity) {
        return static_cast<std::size_t>(GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(capacity)));
    });
}

}  // namespace orvika2
