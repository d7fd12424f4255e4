#include "app/hotkey_dispatch.h"

#include "resources/string_ids.h"
#include "settings/hotkey_name.h"
#include "ui/ui_strings.h"

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

std::vector<HotkeyTakenMessage> HotkeyTakenMessages(const std::optional<HotkeyRegistrations>& previous,
                                              const HotkeyRegistrations& now, const StringSource& strings) {
    constexpr std::array<int, 2> kMessages{IDS_CODE_HOTKEY_TAKEN, IDS_SWITCH_HOTKEY_TAKEN};
    constexpr Hotkey kNone{};
    std::vector<HotkeyTakenMessage> messages;
    for (std::size_t role = 0; role < now.size(); ++role) {
        const HotkeyRegistration& current = now[role];
        if (current.registered || current.hotkey == kNone) continue;
        if (previous && (*previous)[role] == current) continue;
        messages.push_back({kMessages[role], FillPlaceholder(strings(kMessages[role]), L"%1", HotkeyName(current.hotkey))});
    }
    return messages;
}

}  // namespace orvika2
