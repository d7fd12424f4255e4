#include "dialogs/hotkey_page_win32.h"

#include <commctrl.h>

#include "desktop/clock_check_win32.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "ui/ui_language_win32.h"
#include "ui/ui_message_win32.h"

namespace orvika2 {

HotKeyDlg::HotKeyDlg() : ChildPage(IDD_HOTKEY_PAGE) {}

BOOL HotKeyDlg::OnInitDialog() {
    SetControls(ReadHotkeyPageValues(services_->store, services_->config.file));
    const StartupChecks checks = ReadStartupChecks(*startup_);
    Check(IDC_AUTOSTART_CHECK, checks.autostart);
    Check(IDC_DESKTOP_CHECK, checks.desktopShortcut);
    Check(IDC_START_MENU_CHECK, checks.startMenuShortcut);
    // The mark's meaning is its name to a screen reader. An image static
    // drops the texts sent to it, so the text goes straight to the window.
    const std::wstring markName = LoadUiString(IDS_SETTING_SUCCESSFUL);
    for (const int mark : {IDC_CODE_STATUS_MARK, IDC_SWITCH_STATUS_MARK}) {
        DefWindowProcW(Item(mark), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(markName.c_str()));
    }
    ShowMarks({});
    ShowTakenHotkeys();
    FillTypingMethods();
    return TRUE;
}

void HotKeyDlg::OnCommand(int control, int notification) {
    if (control == IDC_TYPING_METHOD_COMBO && notification == CBN_SELCHANGE) ChooseTypingMethod();
    if (notification != BN_CLICKED) return;
    switch (control) {
        case IDC_CODE_HOTKEY_APPLY: Apply(HotkeyRole::VerificationCode, IDC_CODE_HOTKEY); break;
        case IDC_SWITCH_HOTKEY_APPLY: Apply(HotkeyRole::SwitchProfile, IDC_SWITCH_HOTKEY); break;
        case IDC_RESTORE_DEFAULTS: {
            const RestoredHotkeys restored = RestoreHotkeyDefaults(services_->store, services_->config.file);
            SetControls(restored.values);
            ShowMarks(restored.marks);
            ShowTakenHotkeys();
            break;
        }
        case IDC_CHECK_CLOCK: {
            // The server may take its whole deadline to answer.
            const HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            const ClockCheckOutcome outcome = RunClockCheck(*services_);
            SetCursor(before);
            TellClockOutcome(*services_, outcome, true);
            break;
        }
        case IDC_AUTOSTART_CHECK:
        case IDC_DESKTOP_CHECK:
        case IDC_START_MENU_CHECK:
            if (const int message = ToggleStartupOption(*startup_, control, IsChecked(control))) {
                ShowUiMessage(message, kMessageWarning);
            }
            break;
        default: break;
    }
}

void HotKeyDlg::SetControls(const HotkeyPageValues& values) {
    SendDlgItemMessageW(hwnd(), IDC_CODE_HOTKEY, HKM_SETHOTKEY, values.code.Packed(), 0);
    SendDlgItemMessageW(hwnd(), IDC_SWITCH_HOTKEY, HKM_SETHOTKEY, values.switchProfile.Packed(), 0);
}

void HotKeyDlg::ShowMarks(StatusMarks marks) {
    ShowWindow(Item(IDC_CODE_STATUS_MARK), marks.codeShown ? SW_SHOW : SW_HIDE);
    ShowWindow(Item(IDC_SWITCH_STATUS_MARK), marks.switchShown ? SW_SHOW : SW_HIDE);
}

void HotKeyDlg::Apply(HotkeyRole role, int control) {
    const auto packed = static_cast<std::uint16_t>(SendDlgItemMessageW(hwnd(), control, HKM_GETHOTKEY, 0, 0));
    ShowMarks(ApplyHotkey(services_->store, services_->config.file, role, HotkeyControlValue::FromPacked(packed)));
    ShowTakenHotkeys();
}

void HotKeyDlg::FillTypingMethods() {
    HWND list = Item(IDC_TYPING_METHOD_COMBO);
    const TypingMethod chosen = ReadTypingMethod(services_->store, services_->config.file);
    for (std::size_t i = 0; i < std::size(kTypingMethodChoices); ++i) {
        const std::wstring text = LoadUiString(kTypingMethodChoices[i].textId);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (kTypingMethodChoices[i].method == chosen) SendMessageW(list, CB_SETCURSEL, i, 0);
    }
}

void HotKeyDlg::ChooseTypingMethod() {
    const auto index = SendDlgItemMessageW(hwnd(), IDC_TYPING_METHOD_COMBO, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= std::size(kTypingMethodChoices)) return;
    if (!WriteTypingMethod(services_->store, services_->config.file, kTypingMethodChoices[index].method)) {
        ShowUiMessage(IDS_TYPING_METHOD_NOT_SAVED, kMessageWarning);
    }
}

// The main window gives its hotkeys up while the settings are open, so a
// stored hotkey that cannot be registered here is another program's.
void HotKeyDlg::ShowTakenHotkeys() {
    std::vector<Hotkey> taken;
    for (const HotkeyRole role : {HotkeyRole::VerificationCode, HotkeyRole::SwitchProfile}) {
        const Hotkey hotkey = ReadHotkey(services_->store, services_->config.file, role);
        constexpr int kProbeId = 1;
        if (RegisterHotKey(hwnd(), kProbeId, static_cast<UINT>(hotkey.modifiers), static_cast<UINT>(hotkey.virtualKey))) {
            UnregisterHotKey(hwnd(), kProbeId);
        } else if (GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED) {
            taken.push_back(hotkey);
        }
    }
    const std::wstring line = TakenHotkeysLine(taken, LoadUiString(IDS_HOTKEYS_TAKEN_LINE));
    SetDlgItemTextW(hwnd(), IDC_HOTKEY_TAKEN_NOTE, line.c_str());
    ShowWindow(Item(IDC_HOTKEY_TAKEN_NOTE), line.empty() ? SW_HIDE : SW_SHOW);
}

}  // namespace orvika2
