#pragma once
// The floating main window: skinned, colour-keyed, top-most, with the tray
// icon and the popup menu. It runs modally for the life of the process.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

#include "app/code_button.h"
#include "app/hotkey_dispatch.h"
#include "app/floating_window.h"
#include "app/orvika2_app_win32.h"
#include "app/popup_menu_gate.h"
#include "app/profile_tracking.h"
#include "app/typing_win32.h"
#include "app/wait_dialog_win32.h"
#include "desktop/skin_button_win32.h"
#include "platform/hid.h"
#include "platform/win32_handles_win32.h"
#include "ui/dialog_base_win32.h"

namespace orvika2 {

class COrvika2Dlg final : public DialogBase, private MainWindowPort, private CodeButtonPort {
public:
    explicit COrvika2Dlg(AppContext& context);
    ~COrvika2Dlg() override;

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnCommand(int command);

    void SetUpWindow();
    void OnDpiChanged(WPARAM wParam, const RECT& suggested);
    void RegisterDeviceNotifications();
    void OnPaint();
    void ShowPopupMenu(std::optional<POINT> at = std::nullopt);
    void OnContextMenu(LPARAM lParam);
    void BringForwardForTheKeyboard();
    void FollowHighContrast();
    void PaintPlain(HDC dc, const RECT& client);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnDeviceChange(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR timerId);
    void OnHotkey(LPARAM lParam);
    void OnCodeButton(WindowId requesting);
    TokenPorts Token();
    void OnLanguageCommand(int command);
    void OnSettingsCommand();
    void OnAboutCommand();
    void OnCloseCommand();
    void OnClose();
    void AddTrayIcon();
    void RegisterHotkeys();
    void UnregisterHotkeys();
    HMENU ProfileMenu() const;

    // MainWindowPort
    unsigned MenuItemState(int command) override;
    void CheckMenuItem(int command, bool checked) override;
    void EnableMenuItem(int command, bool enabled) override;
    void SetMenuItemText(int command, const std::wstring& text) override;
    void ReloadMenu() override;
    bool CodeButtonEnabled() override;
    void EnableCodeButton(bool enabled) override;
    void SetCodeButtonTip(const std::wstring& text) override;
    void SetCodeButtonName(const std::wstring& name) override;
    void ShowNotice(Anchor anchor, const std::wstring& title, const std::wstring& text) override;
    void ShowMessageBox(const std::wstring& text, unsigned flags) override;
    bool SettingsWindowOpen() override;
    void RunSettingsCommand() override { OnSettingsCommand(); }

    // CodeButtonPort
    bool OtpWindowExists() override;
    bool BringTouchWaitForward() override;
    WindowId RequestingWindow() override { return requestingWindow_; }
    void HideWindow() override;
    void ShowWindowNormally() override;
    void ShowWindowWithoutActivation() override;
    bool AskYesNo(const std::wstring& text, unsigned flags) override;
    bool CopyCodeToClipboard(const VerificationCode& code) override;
    std::optional<TypingAttempt> RunTouchWait(int profile, int digits, WindowId target) override;
    TypingPort& Typing() override { return typing_; }
    void ClearCopiedCode();

    AppContext& context_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    CxSkinButton codeButton_;
    CxSkinButton menuButton_;
    UniqueMenu popupMenu_;
    PopupMenuGate menuGate_;
    // The last registration's outcome, so a held hotkey is named once.
    std::optional<HotkeyRegistrations> hotkeys_;
    int codeHotkeyId_ = 0x0100;
    int switchHotkeyId_ = 0x0101;
    UniqueBitmap skin_;
    bool highContrast_ = false;
    UniqueDeviceNotification deviceNotification_;
    NOTIFYICONDATAW trayIcon_{};
    bool trayIconWanted_ = false;
    UINT taskbarCreatedMessage_ = 0;
    Win32Typing typing_;
    // The other program's window in front when the hotkey asked for the code.
    WindowId requestingWindow_ = 0;
    // The countdown while a touch wait runs; it owns the token meanwhile.
    Wait15SecDialog* touchWait_ = nullptr;
    // The clipboard's sequence number right after a code was put there.
    std::optional<DWORD> copiedCodeSequence_;
    ProfileTracking tracking_;
};

}  // namespace orvika2
