#pragma once
// The settings window: one tab control hosting the profile pages, the basic
// settings page and the already-set page.
#include <windows.h>

#include <array>
#include <string>

#include "dialogs/already_set_page_win32.h"
#include "dialogs/hotkey_page_win32.h"
#include "dialogs/profile_page_win32.h"
#include "dialogs/settings_window.h"
#include "platform/startup_services.h"
#include "settings/app_services.h"
#include "ui/dialog_base_win32.h"

namespace orvika2 {

// The page objects and the current section, shared by every opening of the
// settings window for the life of the process.
struct SettingsPages {
    Config1 profile1;
    Config2 profile2;
    HotKeyDlg basic;
    ShowSettingInfo alreadySet;
    std::wstring section;
};
SettingsPages& SharedSettingsPages();

class SettingDlg final : public DialogBase {
public:
    SettingDlg(AppServices& services, StartupServices& startup, SettingsPages& pages);

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Enter presses the button of the focused field's group, or the focused
    // push button of a page.
    void OnEnter();
    void ApplyPageTexts();
    void RunChoosePage();
    void ShowSelectedTabPage();
    void ShowSlot(int slot, bool shown);
    int SelectedTab() const;
    HWND PageWindow(SettingsPageKind kind) const;

    AppServices& services_;
    StartupServices& startup_;
    SettingsPages& pages_;
    bool withProfilePages_ = false;
    std::array<ChildPage*, 4> slots_{};
    int currentSlot_ = 0;
};

// Runs the settings window modally, with Ctrl+Tab switching its pages while
// it is open.
void RunSettingDlg(HWND owner, AppServices& services, StartupServices& startup);

}  // namespace orvika2
