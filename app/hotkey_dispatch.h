#pragma once
// What a WM_HOTKEY does: the pressed combination is compared with the
// configuration file's two hotkeys, the code hotkey first.
#include "settings/config_file.h"

namespace orvika2 {

enum class HotkeyAction { None, CodeButton, SelectProfile1, SelectProfile2 };

// The menu states are whole GetMenuState values: 8 active, 0 usable.
HotkeyAction DispatchHotkey(Hotkey pressed, Hotkey codeHotkey, Hotkey switchHotkey, bool codeButtonEnabled,
                            unsigned profile1State, unsigned profile2State);

}  // namespace orvika2
