// The Windows values that the portable files of dialogs/ restate, held to
// <windows.h> here so that a wrong copy cannot build.
#include <windows.h>

#include <commctrl.h>

#include "dialogs/hotkey_page.h"
#include "dialogs/settings_window.h"

namespace orvika2 {

static_assert(kHotkeyfShift == HOTKEYF_SHIFT);
static_assert(kHotkeyfControl == HOTKEYF_CONTROL);
static_assert(kHotkeyfAlt == HOTKEYF_ALT);
static_assert(kHotkeyfExt == HOTKEYF_EXT);
static_assert(kTabKey == VK_TAB);
static_assert(kPageUpKey == VK_PRIOR);
static_assert(kPageDownKey == VK_NEXT);

}  // namespace orvika2
