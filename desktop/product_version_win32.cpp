#include "desktop/product_version_win32.h"

#include <windows.h>

#include <vector>

#include "platform/executable_path_win32.h"

namespace orvika2 {

std::wstring GetProductVersion() {
    const auto path = ExecutablePath();
    if (!path) return {};
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path->c_str(), &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> info(size);
    if (!GetFileVersionInfoW(path->c_str(), 0, size, info.data())) return {};
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\StringFileInfo\\040404b0\\ProductVersion", reinterpret_cast<void**>(&value),
                        &length) ||
        !value) {
        return {};
    }
    return std::wstring(value, wcsnlen(value, length));
}

}  // namespace orvika2
