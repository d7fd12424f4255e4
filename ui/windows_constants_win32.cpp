// The Windows values that the portable files of ui/ restate, held to
// <windows.h> here so that a wrong copy cannot build.
#include <windows.h>

#include "ui/ui_strings.h"
#include "ui/window_messages.h"

namespace orvika2 {

static_assert(kLangTraditionalChinese == MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL));
static_assert(kLangEnglish == MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
static_assert(kLangSimplifiedChinese == MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
static_assert(WM_TRAY_NOTIFY == WM_USER + 1);
static_assert(WM_SETTINGS_REFRESH == WM_USER + 1000);

}  // namespace orvika2
