#include "dialogs/hotkey_page.h"

#include "settings/hotkey_name.h"
#include "ui/ui_strings.h"

namespace orvika2 {

std::uint8_t HotkeyControlFlags(int registerModifiers) {
    std::uint8_t flags = 0;
    if (registerModifiers & kModShift) flags |= kHotkeyfShift;
    if (registerModifiers & kModControl) flags |= kHotkeyfControl;
    if (registerModifiers & kModAlt) flags |= kHotkeyfAlt;
    return flags;
}

int RegisterModifiers(std::uint8_t hotkeyControlFlags) {
    int modifiers = 0;
    if (hotkeyControlFlags & kHotkeyfShift) modifiers |= kModShift;
    if (hotkeyControlFlags & kHotkeyfControl) modifiers |= kModControl;
    if (hotkeyControlFlags & kHotkeyfAlt) modifiers |= kModAlt;
    return modifiers;
}

std::uint16_t HotkeyControlValue::Packed() const { return static_cast<std::uint16_t>(key | flags << 8); }

HotkeyControlValue HotkeyControlValue::FromPacked(std::uint16_t word) {
    return {static_cast<std::uint8_t>(word & 0xFF), static_cast<std::uint8_t>(word >> 8)};
}

HotkeyControlValue ControlValueFromStored(Hotkey stored) {
    return {static_cast<std::uint8_t>(stored.virtualKey & 0xFF), HotkeyControlFlags(stored.modifiers & 0xFFFF)};
}

Hotkey StoredFromControlValue(HotkeyControlValue value) { return {value.key, RegisterModifiers(value.flags)}; }

HotkeyPageValues ReadHotkeyPageValues(ProfileStore& store, const std::wstring& file) {
    return {ControlValueFromStored(ReadHotkey(store, file, HotkeyRole::VerificationCode)),
            ControlValueFromStored(ReadHotkey(store, file, HotkeyRole::SwitchProfile))};
}

StatusMarks ApplyHotkey(ProfileStore& store, const std::wstring& file, HotkeyRole role, HotkeyControlValue value) {
    WriteHotkey(store, file, role, StoredFromControlValue(value));
    const bool code = role == HotkeyRole::VerificationCode;
    return {.codeShown = code, .switchShown = !code};
}

RestoredHotkeys RestoreHotkeyDefaults(ProfileStore& store, const std::wstring& file) {
    WriteHotkeyDefaults(store, file);
    return {.values = {ControlValueFromStored(kDefaultCodeHotkey), ControlValueFromStored(kDefaultSwitchHotkey)}};
}

StartupChecks ReadStartupChecks(StartupServices& services) {
    return {.autostart = services.QueryAutostart(),
            .desktopShortcut = services.ShortcutExists(ShortcutFile(services.DesktopFolder())),
            .startMenuShortcut = services.ShortcutExists(ShortcutFile(services.StartMenuFolder()))};
}

int ToggleStartupOption(StartupServices& services, int checkBoxId, bool checked) {
    bool done = true;
    if (checkBoxId == IDC_AUTOSTART_CHECK) {
        done = services.SetAutostart(checked);
    } else if (checkBoxId == IDC_DESKTOP_CHECK || checkBoxId == IDC_START_MENU_CHECK) {
        const std::wstring link = ShortcutFile(checkBoxId == IDC_DESKTOP_CHECK ? services.DesktopFolder()
                                                                                   : services.StartMenuFolder());
        done = checked ? services.CreateShortcut(link) : services.RemoveShortcut(link);
    }
    return done ? 0 : IDS_OPERATION_FAILED;
}

std::wstring TakenHotkeysLine(const std::vector<Hotkey>& taken, const std::wstring& lineText) {
    std::wstring names;
    for (const Hotkey& hotkey : taken) names += (names.empty() ? L"" : L", ") + HotkeyName(hotkey);
    return names.empty() ? std::wstring() : FillPlaceholder(lineText, L"%1", names);
}

}  // namespace orvika2
