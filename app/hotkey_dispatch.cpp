#include "app/hotkey_dispatch.h"

namespace orvika2 {
namespace {

constexpr unsigned kActive = 8;
constexpr unsigned kUsable = 0;

}  // namespace

HotkeyAction DispatchHotkey(Hotkey pressed, Hotkey codeHotkey, Hotkey switchHotkey, bool codeButtonEnabled,
                            unsigned profile1State, unsigned profile2State) {
    if (pressed == codeHotkey) return codeButtonEnabled ? HotkeyAction::CodeButton : HotkeyAction::None;
    if (pressed != switchHotkey) return HotkeyAction::None;
    if (profile1State == kActive && profile2State == kUsable) return HotkeyAction::SelectProfile2;
    if (profile2State == kActive && profile1State == kUsable) return HotkeyAction::SelectProfile1;
    return HotkeyAction::None;
}

}  // namespace orvika2
