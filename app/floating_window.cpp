#include "app/floating_window.h"

#include <algorithm>
#include <cwctype>

#include "desktop/skin_layout.h"
#include "resources/resource.h"
#include "settings/profile_mode.h"

namespace orvika2 {

ScreenPoint MainWindowOrigin(int workAreaRight, int workAreaBottom, int dpi) {
    return {workAreaRight - ScaleForDpi(200, dpi), workAreaBottom - ScaleForDpi(100, dpi)};
}

bool NamesTokenDevice(std::wstring_view deviceName) {
    std::wstring upper(deviceName);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); });
    return upper.find(L"VID_1050") != std::wstring::npos;
}

std::optional<std::uintptr_t> DeviceChangeTimer(std::uint32_t eventCode, bool hidInterface,
                                                std::wstring_view deviceName) {
    if (!hidInterface || !NamesTokenDevice(deviceName)) return std::nullopt;
    return eventCode;
}

std::wstring_view BroadcastDeviceName(const wchar_t* name, std::size_t nameBytes) {
    const std::wstring_view room(name, nameBytes / sizeof(wchar_t));
    return room.substr(0, room.find(L'\0'));
}

TimerAction ActionForTimer(std::uintptr_t timerId) {
    switch (timerId) {
        case kPresenceTimer: return TimerAction::CheckPresence;
        case kDeviceArrival: return TimerAction::TokenArrival;
        case kDeviceRemoveComplete: return TimerAction::TokenRemoval;
        default: return TimerAction::None;
    }
}

TrayOutcome TrayNotify(std::uintptr_t iconId, std::uint32_t mouseMessage) {
    if (iconId != kTrayIconId) return {TrayAction::None, 1};
    switch (mouseMessage) {
        case kMouseLeftDown: return {TrayAction::ShowWindow, 0};
        case kTrayKeySelect: return {TrayAction::ShowAndActivate, 0};
        // Follows the right button's release too: one menu, from here.
        case kContextMenu: return {TrayAction::PopupMenu, 0};
        default: return {TrayAction::None, 0};
    }
}

MainWindowKey MainWindowKeyCommand(int command, int focusedControl) {
    if (command == kDialogCancel) return MainWindowKey::HideWindow;
    if (command != kDialogOk) return MainWindowKey::None;
    if (focusedControl == IDC_CODE_BUTTON) return MainWindowKey::PressCodeButton;
    if (focusedControl == IDC_MENU_BUTTON) return MainWindowKey::OpenMenu;
    return MainWindowKey::None;
}

ScreenPoint PopupMenuOrigin(ScreenPoint messagePoint, const ScreenRect& anchor) {
    if (messagePoint != ScreenPoint{-1, -1}) return messagePoint;
    return {anchor.left, anchor.bottom};
}

std::wstring CodeButtonName(const StringSource& strings, std::wstring_view account) {
    std::wstring name = strings(IDS_CODE_BUTTON_NAME);
    if (!account.empty()) name += L" (" + std::wstring(account) + L")";
    return name;
}

std::optional<std::wstring_view> LanguageChoiceForCommand(int command) {
    if (command == ID_LANGUAGE_CHINESE) return L"zh-tw";
    if (command == ID_LANGUAGE_ENGLISH) return L"en";
    return std::nullopt;
}

LanguageMarks LanguageMarksFor(LanguageId language) {
    if (language == kLangTraditionalChinese) return {ID_LANGUAGE_CHINESE, ID_LANGUAGE_ENGLISH};
    return {ID_LANGUAGE_ENGLISH, ID_LANGUAGE_CHINESE};
}

std::wstring AboutVersionLine(const StringSource& strings, std::wstring_view productVersion) {
    return strings(IDS_VERSION) + L"\uFF1A" + std::wstring(productVersion);
}

std::wstring ProfileMenuText(const StringSource& strings, int profile, std::wstring_view entry) {
    std::wstring text = strings(IDS_PROFILE) + std::to_wstring(profile);
    if (entry.empty()) return text;
    std::wstring meaning;
    switch (ClassifyProfileEntry(entry, EntryTestOrder::StaticPasswordFirst)) {
        case ProfileMode::StaticPassword: meaning = strings(IDS_STATIC_PASSWORD); break;
        case ProfileMode::NotConfigured: meaning = strings(IDS_PROFILE_NOT_SET); break;
        case ProfileMode::TwoStep: meaning = entry; break;
    }
    return text + L" ( " + meaning + L" ) ";
}

std::vector<MenuLabel> MenuLabels(const StringSource& strings, std::wstring_view entry1, std::wstring_view entry2) {
    return {
        {ID_PROFILE_1, ProfileMenuText(strings, 1, entry1)},
        {ID_PROFILE_2, ProfileMenuText(strings, 2, entry2)},
        {ID_SETTINGS, strings(IDS_MENU_SETTINGS)},
        {ID_SOFTWARE_UPDATE, strings(IDS_MENU_SOFTWARE_UPDATE)},
        {ID_ABOUT, strings(IDS_MENU_ABOUT)},
        {ID_HIDE_WINDOW, strings(IDS_MENU_MINIMIZE)},
        {ID_CLOSE_PROGRAM, strings(IDS_MENU_CLOSE)},
    };
}

}  // namespace orvika2
