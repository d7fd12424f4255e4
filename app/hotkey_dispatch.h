#pragma once
// What a WM_HOTKEY does: the pressed combination is compared with the
// configuration file's two hotkeys, the code hotkey first.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/floating_window.h"
#include "settings/config_file.h"

namespace orvika2 {

enum class HotkeyAction { None, CodeButton, SelectProfile1, SelectProfile2 };

// The menu states are whole GetMenuState values: 8 active, 0 usable.
HotkeyAction DispatchHotkey(Hotkey pressed, Hotkey codeHotkey, Hotkey switchHotkey, bool codeButtonEnabled,
                            unsigned profile1State, unsigned profile2State);

struct HotkeyRegistration {
    Hotkey hotkey;
    bool registered = false;
    friend bool operator==(const HotkeyRegistration&, const HotkeyRegistration&) = default;
};
// The code hotkey's, then the profile switch's.
using HotkeyRegistrations = std::array<HotkeyRegistration, 2>;

// What the user is told of hotkeys that could not be registered (another
// program holds them), each once: all at start-up (no `previous`), later
// those whose combination changed or that failed only now. An empty hotkey
// is never registered and needs no word.
struct HotkeyTakenMessage {
    int messageId = 0;
    std::wstring text;
    friend bool operator==(const HotkeyTakenMessage&, const HotkeyTakenMessage&) = default;
};
std::vector<HotkeyTakenMessage> HotkeyTakenMessages(const std::optional<HotkeyRegistrations>& previous,
                                              const HotkeyRegistrations& now, const StringSource& strings);

}  // namespace orvika2
