#include "desktop/high_contrast_win32.h"

#include <windows.h>

#include "platform/test_hooks.h"

namespace orvika2 {
namespace {

// Wine reports the theme as always off and cannot switch it: the desktop
// tests stand a file in for the switch, named by ORVIKA2_HIGH_CONTRAST_FILE.
bool TestSwitchOn() {
    if constexpr (!kTestHooks) return false;
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"ORVIKA2_HIGH_CONTRAST_FILE", path, MAX_PATH);
    return length > 0 && length < MAX_PATH && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0) {
        return true;
    }
    return TestSwitchOn();
}

}  // namespace orvika2
