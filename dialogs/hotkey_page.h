#pragma once
// The basic settings page's decisions: the hotkey controls' values from and
// to the configuration file, the status marks, and the start-up options.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/startup_services.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "settings/config_file.h"
#include "settings/profile_store.h"

namespace orvika2 {

// The hotkey control's modifier flags (HOTKEYF_*).
inline constexpr std::uint8_t kHotkeyfShift = 0x01;
inline constexpr std::uint8_t kHotkeyfControl = 0x02;
inline constexpr std::uint8_t kHotkeyfAlt = 0x04;
inline constexpr std::uint8_t kHotkeyfExt = 0x08;

// Between the control's flags and RegisterHotKey's modifiers (the stored
// form): Shift and Alt trade places, Control stays, HOTKEYF_EXT and MOD_WIN
// are dropped.
std::uint8_t HotkeyControlFlags(int registerModifiers);
int RegisterModifiers(std::uint8_t hotkeyControlFlags);

// A hotkey control's value. HKM_GETHOTKEY and HKM_SETHOTKEY pack it into a
// word: the key in the low byte, the flags in the high byte.
struct HotkeyControlValue {
    std::uint8_t key = 0;
    std::uint8_t flags = 0;

    std::uint16_t Packed() const;
    static HotkeyControlValue FromPacked(std::uint16_t word);
    friend bool operator==(const HotkeyControlValue&, const HotkeyControlValue&) = default;
};

// A stored hotkey as the control shows it: the key is the low 8 bits of
// the stored number.
HotkeyControlValue ControlValueFromStored(Hotkey stored);
Hotkey StoredFromControlValue(HotkeyControlValue value);

struct HotkeyPageValues {
    HotkeyControlValue code;           // control 1017
    HotkeyControlValue switchProfile;  // control 1019
};

// Page initialisation: both hotkeys from the configuration file.
HotkeyPageValues ReadHotkeyPageValues(ProfileStore& store, const std::wstring& file);

struct StatusMarks {
    bool codeShown = false;    // 1024
    bool switchShown = false;  // 1025
    friend bool operator==(const StatusMarks&, const StatusMarks&) = default;
};

// Apply: stores the control's value, key before modifiers, unchecked (an
// empty control stores 0 and 0); only the applied hotkey's mark shows.
StatusMarks ApplyHotkey(ProfileStore& store, const std::wstring& file, HotkeyRole role, HotkeyControlValue value);

struct RestoredHotkeys {
    HotkeyPageValues values;
    StatusMarks marks;  // both hidden
};
// Restore defaults: Ctrl+Q and Alt+S into the controls and the file.
RestoredHotkeys RestoreHotkeyDefaults(ProfileStore& store, const std::wstring& file);

struct StartupChecks {
    bool autostart = false;          // 1086
    bool desktopShortcut = false;    // 1087
    bool startMenuShortcut = false;  // 1088
    friend bool operator==(const StartupChecks&, const StartupChecks&) = default;
};
StartupChecks ReadStartupChecks(StartupServices& services);

// The typing method list, in its order, with each entry's text.
struct TypingMethodChoice {
    TypingMethod method;
    int textId;
};
inline constexpr TypingMethodChoice kTypingMethodChoices[] = {
    {TypingMethod::Keypad, IDS_TYPING_KEYPAD},
    {TypingMethod::TopRow, IDS_TYPING_TOP_ROW},
    {TypingMethod::Unicode, IDS_TYPING_UNICODE},
};

// The page's line under the hotkeys: string 318 naming the stored hotkeys
// that another program holds, or empty when there are none.
std::wstring TakenHotkeysLine(const std::vector<Hotkey>& taken, const std::wstring& lineText);

// A start-up box was clicked and now shows `checked`: the option follows at
// once. 0, or message 102 when the system refused; the box keeps its state.
int ToggleStartupOption(StartupServices& services, int checkBoxId, bool checked);

}  // namespace orvika2
