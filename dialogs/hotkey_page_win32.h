#pragma once
// The basic settings page: the start-up options and the two hotkeys.
#include "dialogs/child_page_win32.h"
#include "dialogs/hotkey_page.h"
#include "dialogs/settings_services_win32.h"

namespace orvika2 {

class HotKeyDlg final : public ChildPage {
public:
    HotKeyDlg();
    // Set before the window is created; the services outlive the window.
    void Attach(SettingsServices& services) { services_ = &services; }

private:
    BOOL OnInitDialog() override;
    void OnCommand(int control, int notification) override;

    void SetControls(const HotkeyPageValues& values);
    void ShowMarks(StatusMarks marks);
    void Apply(HotkeyRole role, int control);

    SettingsServices* services_ = nullptr;
};

}  // namespace orvika2
