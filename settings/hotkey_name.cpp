#include "settings/hotkey_name.h"

namespace orvika2 {

std::wstring HotkeyName(const Hotkey& hotkey) {
    if (hotkey.virtualKey == 0 && hotkey.modifiers == 0) return L"none";
    std::wstring text;
    if (hotkey.modifiers & kModControl) text += L"Ctrl+";
    if (hotkey.modifiers & kModAlt) text += L"Alt+";
    if (hotkey.modifiers & kModShift) text += L"Shift+";
    if (hotkey.modifiers & kModWin) text += L"Win+";
    const int key = hotkey.virtualKey;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        text += static_cast<wchar_t>(key);
    } else if (key >= 0x70 && key <= 0x87) {
        text += L'F' + std::to_wstring(key - 0x6F);
    } else {
        text += L"key " + std::to_wstring(key);
    }
    return text;
}

}  // namespace orvika2
