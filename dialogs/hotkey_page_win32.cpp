#include "dialogs/hotkey_page_win32.h"

#include <commctrl.h>

#include "dialogs/ui_message_win32.h"
#include "resources/resource.h"

namespace orvika2 {

HotKeyDlg::HotKeyDlg() : ChildPage(IDD_HOTKEY_PAGE) {}

BOOL HotKeyDlg::OnInitDialog() {
    SetControls(ReadHotkeyPageValues(services_->store, services_->config.file));
    const StartupChecks checks = ReadStartupChecks(*startup_);
    Check(kAutostartCheck, checks.autostart);
    Check(kDesktopShortcutCheck, checks.desktopShortcut);
    Check(kStartMenuShortcutCheck, checks.startMenuShortcut);
    ShowMarks({});
    return TRUE;
}

void HotKeyDlg::OnCommand(int control, int notification) {
    if (notification != BN_CLICKED) return;
    switch (control) {
        case kCodeHotkeyApply: Apply(HotkeyRole::VerificationCode, kCodeHotkeyControl); break;
        case kSwitchHotkeyApply: Apply(HotkeyRole::SwitchProfile, kSwitchHotkeyControl); break;
        case kRestoreDefaultsButton: {
            const RestoredHotkeys restored = RestoreHotkeyDefaults(services_->store, services_->config.file);
            SetControls(restored.values);
            ShowMarks(restored.marks);
            break;
        }
        case kAutostartCheck:
        case kDesktopShortcutCheck:
        case kStartMenuShortcutCheck:
            if (const int message = ToggleStartupOption(*startup_, control, IsChecked(control))) {
                ShowUiMessage(message, kMessageWarning);
            }
            break;
        default: break;
    }
}

void HotKeyDlg::SetControls(const HotkeyPageValues& values) {
    SendDlgItemMessageW(hwnd(), kCodeHotkeyControl, HKM_SETHOTKEY, values.code.Packed(), 0);
    SendDlgItemMessageW(hwnd(), kSwitchHotkeyControl, HKM_SETHOTKEY, values.switchProfile.Packed(), 0);
}

void HotKeyDlg::ShowMarks(StatusMarks marks) {
    ShowWindow(Item(kCodeStatusMark), marks.codeShown ? SW_SHOW : SW_HIDE);
    ShowWindow(Item(kSwitchStatusMark), marks.switchShown ? SW_SHOW : SW_HIDE);
}

void HotKeyDlg::Apply(HotkeyRole role, int control) {
    const auto packed = static_cast<std::uint16_t>(SendDlgItemMessageW(hwnd(), control, HKM_GETHOTKEY, 0, 0));
    ShowMarks(ApplyHotkey(services_->store, services_->config.file, role, HotkeyControlValue::FromPacked(packed)));
}

}  // namespace orvika2
