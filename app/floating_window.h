#pragma once
// The main window's decisions, as values: where it goes, which device
// broadcasts start which timer, what a timer or a tray click does, the
// language commands, the about box's line and the popup menu's texts.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ui_strings.h"
#include "ui/window_messages.h"

namespace orvika2 {

// Looks up an interface string by id in the current language.
using StringSource = std::function<std::wstring(int id)>;

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Top-left corner of the main window, given the lower-right corner of the
// primary screen's work area; the offsets from it grow with the DPI.
ScreenPoint MainWindowOrigin(int workAreaRight, int workAreaBottom, int dpi);

// Device broadcasts. Event codes are the timer identifiers.
inline constexpr std::uint32_t kDeviceArrival = 0x8000;
inline constexpr std::uint32_t kDeviceRemoveComplete = 0x8004;
inline constexpr std::uintptr_t kPresenceTimer = 1;

// The token's devices carry the vendor id in their interface path.
bool NamesTokenDevice(std::wstring_view deviceName);

// The one-shot timer a WM_DEVICECHANGE starts: its identifier is the event
// code, for a HID interface broadcast that names the token's vendor.
std::optional<std::uintptr_t> DeviceChangeTimer(std::uint32_t eventCode, bool hidInterface,
                                                std::wstring_view deviceName);

// The device name of an interface broadcast: up to its terminator, and never
// past the `nameBytes` that the broadcast's size leaves for it (a name that
// another process sent need not be terminated).
std::wstring_view BroadcastDeviceName(const wchar_t* name, std::size_t nameBytes);

enum class TimerAction { None, CheckPresence, TokenArrival, TokenRemoval };
TimerAction ActionForTimer(std::uintptr_t timerId);

// The state bits (MF_GRAYED | MF_DISABLED, or none) that make a profile item
// unusable or usable again. An unusable item is grayed as well, so it looks
// unavailable; the check mark is left as it is.
inline constexpr unsigned kProfileItemUnusable = 0x1 | 0x2;
constexpr unsigned ProfileItemEnableBits(bool enabled) { return enabled ? 0u : kProfileItemUnusable; }

// Tray icon callback: the icon's identifier and, in lParam, the mouse
// message or the shell's notification. The icon asks for the shell's
// version 3 behaviour, which adds the keyboard's notifications: Enter or
// Space on the icon (NIN_KEYSELECT) and the context-menu key or Shift+F10
// (WM_CONTEXTMENU, also sent after a right click's button-up).
inline constexpr std::uint32_t kTrayIconId = 128;
inline constexpr std::uint32_t kMouseLeftDown = 0x0201;
inline constexpr std::uint32_t kMouseRightUp = 0x0205;
inline constexpr std::uint32_t kContextMenu = 0x007B;
inline constexpr std::uint32_t kTraySelect = 0x0400;     // NIN_SELECT
inline constexpr std::uint32_t kTrayKeySelect = 0x0401;  // NIN_KEYSELECT
inline constexpr unsigned kTrayShellVersion = 3;          // NOTIFYICON_VERSION

enum class TrayAction { None, ShowWindow, ShowAndActivate, PopupMenu };
struct TrayOutcome {
    TrayAction action = TrayAction::None;
    long result = 0;  // what the window procedure returns
};
TrayOutcome TrayNotify(std::uintptr_t iconId, std::uint32_t mouseMessage);

// What the main window does with a dialog key: Enter (IDOK) presses the
// focused button, as the dialog manager does not for owner-drawn buttons;
// Esc (IDCANCEL) hides the window to the tray.
inline constexpr int kDialogOk = 1;      // IDOK
inline constexpr int kDialogCancel = 2;  // IDCANCEL
enum class MainWindowKey { None, PressCodeButton, OpenMenu, HideWindow };
MainWindowKey MainWindowKeyCommand(int command, int focusedControl);

// Where the popup menu opens: at the pointer for a click, below the focused
// control (the window when none) for the keyboard (WM_CONTEXTMENU's
// position is -1, -1 then).
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
ScreenPoint PopupMenuOrigin(ScreenPoint messagePoint, const ScreenRect& anchor);

// The code button's accessible name: what it does and, when the active
// profile has one, its account.
std::wstring CodeButtonName(const StringSource& strings, std::wstring_view account);

// The choice a language command writes ("zh-tw" or "en"), none for other
// commands.
std::optional<std::wstring_view> LanguageChoiceForCommand(int command);

// The language item that carries the check mark for this interface
// language, and the one that does not.
struct LanguageMarks {
    int checked = 0;
    int unchecked = 0;
};
LanguageMarks LanguageMarksFor(LanguageId language);

// String 21, the fullwidth colon and the product version, with no blank.
std::wstring AboutVersionLine(const StringSource& strings, std::wstring_view productVersion);

// "Profile1" / "Profile2", with the profile entry's meaning in parentheses
// when the entry is not empty.
std::wstring ProfileMenuText(const StringSource& strings, int profile, std::wstring_view entry);

struct MenuLabel {
    int command = 0;
    std::wstring text;
    friend bool operator==(const MenuLabel&, const MenuLabel&) = default;
};

// The run-time texts of the popup menu's items; the "Language" submenu
// keeps the texts of its template.
std::vector<MenuLabel> MenuLabels(const StringSource& strings, std::wstring_view entry1, std::wstring_view entry2);

}  // namespace orvika2
