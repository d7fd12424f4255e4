#pragma once
// The basic settings page: the start-up options, the two hotkeys and the
// clock check.
#include "dialogs/child_page_win32.h"
#include "dialogs/hotkey_page.h"
#include "platform/startup_services.h"
#include "settings/app_services.h"

namespace orvika2 {

class HotKeyDlg final : public ChildPage {
public:
    HotKeyDlg();
    // Set before the window is created; the services outlive the window.
    void Attach(AppServices& services, StartupServices& startup) {
        services_ = &services;
        startup_ = &startup;
    }

private:
    BOOL OnInitDialog() override;
    void OnCommand(int control, int notification) override;

    void SetControls(const HotkeyPageValues& values);
    void ShowMarks(StatusMarks marks);
    void Apply(HotkeyRole role, int control);
    void ShowTakenHotkeys();
    void FillTypingMethods();
    void ChooseTypingMethod();

    AppServices* services_ = nullptr;
    StartupServices* startup_ = nullptr;
};

}  // namespace orvika2
