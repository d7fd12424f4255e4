#include "dialogs/hotkey_page_win32.h"

#include <commctrl.h>

#include "desktop/clock_check_win32.h"
#include "resources/resource.h"
#include "ui/ui_message_win32.h"

namespace orvika2 {

HotKeyDlg::HotKeyDlg() : ChildPage(IDD_HOTKEY_PAGE) {}

BOOL HotKeyDlg::OnInitDialog() {
    SetControls(ReadHotkeyPageValues(services_->store, services_->config.file));
    const StartupChecks checks = ReadStartupChecks(*startup_);
    Check(IDC_AUTOSTART_CHECK, checks.autostart);
    Check(IDC_DESKTOP_CHECK, checks.desktopShortcut);
    Check(IDC_START_MENU_CHECK, checks.startMenuShortcut);
    ShowMarks({});
    return TRUE;
}

void HotKeyDlg::OnCommand(int control, int notification) {
    if (notification != BN_CLICKED) return;
    switch (control) {
        case IDC_CODE_HOTKEY_APPLY: Apply(HotkeyRole::VerificationCode, IDC_CODE_HOTKEY); break;
        case IDC_SWITCH_HOTKEY_APPLY: Apply(HotkeyRole::SwitchProfile, IDC_SWITCH_HOTKEY); break;
        case IDC_RESTORE_DEFAULTS: {
            const RestoredHotkeys restored = RestoreHotkeyDefaults(services_->store, services_->config.file);
            SetControls(restored.values);
            ShowMarks(restored.marks);
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
}

}  // namespace orvika2
