#include "app/main_window_win32.h"

#include <dbt.h>
#include <windowsx.h>

#include <cstddef>

#include "app/about_dialog_win32.h"
#include "app/floating_window.h"
#include "app/hotkey_dispatch.h"
#include "app/menu_text_dump_win32.h"
#include "app/shell_windows_win32.h"
#include "app/skin_layout_win32.h"
#include "app/wait_dialog_win32.h"
#include "desktop/balloon_win32.h"
#include "desktop/high_contrast_win32.h"
#include "platform/autostart_win32.h"
#include "platform/clipboard_win32.h"
#include "platform/executable_path_win32.h"
#include "platform/secure_memory.h"
#include "resources/resource.h"
#include "ui/own_windows_win32.h"
#include "ui/ui_message_win32.h"
#include "ui/ui_language_win32.h"

namespace orvika2 {
namespace {

constexpr COLORREF kKeyColour = RGB(200, 0, 0);
// GUID_DEVINTERFACE_HID
constexpr GUID kHidInterfaceClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

HWND FindSettingsWindow() { return FindOwnWindow(LoadUiString(IDS_SETTINGS_CAPTION)); }

// The top-level window that `window` belongs to, or 0 when that is ours.
WindowId OtherProgramsWindow(HWND window) {
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (!root) return 0;
    DWORD process = 0;
    GetWindowThreadProcessId(root, &process);
    return process == GetCurrentProcessId() ? 0 : reinterpret_cast<WindowId>(root);
}

UniqueIcon LoadAppIcon(int size) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_ORVIKA2), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

UniqueMenu LoadPopupMenu() { return UniqueMenu(LoadMenuW(Instance(), MAKEINTRESOURCEW(IDR_POPUP_MENU))); }

std::wstring SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || !buffer) {
        wchar_t unknown[64] = {};
        wsprintfW(unknown, L"Unknown error 0x%0lX", code);
        return unknown;
    }
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

}  // namespace

COrvika2Dlg::COrvika2Dlg(AppContext& context)
    : DialogBase(IDD_ORVIKA2_DIALOG),
      context_(context),
      typing_([&services = context.services] { return ReadTypingMethod(services.store, services.config.file); }),
      tracking_(*this, context.services) {
    bigIcon_ = LoadAppIcon(GetSystemMetrics(SM_CXICON));
    smallIcon_ = LoadAppIcon(GetSystemMetrics(SM_CXSMICON));
}

COrvika2Dlg::~COrvika2Dlg() { CloseBalloonMsg(); }

BOOL COrvika2Dlg::OnInitDialog() {
    codeButton_.Attach(Item(IDC_CODE_BUTTON));
    menuButton_.Attach(Item(IDC_MENU_BUTTON));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    RefreshAutostart();
    SetUpWindow();
    RegisterDeviceNotifications();
    tracking_.RefreshProfiles();
    tracking_.UpdateMenuLabels();
    trayIconWanted_ = true;
    AddTrayIcon();
    RegisterHotkeys();
    tracking_.PromptFirstUse();
    SetTimer(hwnd(), kPresenceTimer, 0, nullptr);
    return TRUE;
}

void COrvika2Dlg::SetUpWindow() {
    HWND window = hwnd();
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    if (UniqueModule user32(LoadLibraryW(L"User32.DLL")); user32) {
        using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
        if (auto setLayered = reinterpret_cast<SetLayeredFn>(
                reinterpret_cast<void*>(GetProcAddress(user32.get(), "SetLayeredWindowAttributes")))) {
            setLayered(window, kKeyColour, 255, LWA_COLORKEY);
        }
    }
    codeButton_.SetToolTipText(LoadUiString(IDS_PROFILE));
    menuButton_.SetToolTipText(LoadUiString(IDS_SETTING));
    // The window texts are what a screen reader says for the buttons.
    SetCodeButtonName(CodeButtonName(context_.services.strings, L""));
    SetWindowTextW(menuButton_.hwnd(), LoadUiString(IDS_MENU_BUTTON_NAME).c_str());
    // Laid out in pixels from the skin: the template's dialog units follow
    // the font, the skin does not.
    KeepSkinLayoutOnDpiChange(window);
    const int dpi = WindowDpi(window);
    // The work area, so that a taskbar at the bottom or the right never
    // covers the window.
    RECT workArea{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const ScreenPoint origin = MainWindowOrigin(workArea.right, workArea.bottom, dpi);
    skin_ = ApplySkinLayout(window, codeButton_, menuButton_, dpi, POINT{origin.x, origin.y});
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowTextW(window, kMainWindowTitle);
    popupMenu_ = LoadPopupMenu();
    FollowHighContrast();
}

void COrvika2Dlg::FollowHighContrast() {
    highContrast_ = HighContrastOn();
    codeButton_.SetHighContrast(highContrast_, L"123");
    menuButton_.SetHighContrast(highContrast_, L"...");
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void COrvika2Dlg::OnDpiChanged(WPARAM wParam, const RECT& suggested) {
    skin_ = ApplySkinLayout(hwnd(), codeButton_, menuButton_, HIWORD(wParam), POINT{suggested.left, suggested.top});
}

void COrvika2Dlg::RegisterDeviceNotifications() {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    deviceNotification_.reset(RegisterDeviceNotificationW(hwnd(), &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
    if (deviceNotification_) return;
    const std::wstring text = L"Can't register device notification: " + SystemErrorText(GetLastError());
    MessageBoxExW(nullptr, text.c_str(), L"", MB_OK | MB_ICONWARNING | MB_TOPMOST, UiLanguageId());
}

bool COrvika2Dlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
        if (trayIconWanted_) AddTrayIcon();
        return true;
    }
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return true;
        case WM_LBUTTONDOWN:
            PostMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            return true;
        case WM_DPICHANGED:
            OnDpiChanged(wParam, *reinterpret_cast<const RECT*>(lParam));
            return true;
        case WM_CONTEXTMENU:
            OnContextMenu(lParam);
            return true;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            FollowHighContrast();
            return false;
        case WM_TRAY_NOTIFY:
            result = OnTrayNotify(wParam, lParam);
            return true;
        case WM_DEVICECHANGE:
            OnDeviceChange(wParam, lParam);
            return true;
        case WM_TIMER:
            OnTimer(wParam);
            return false;  // the default handling follows
        case WM_SETTINGS_REFRESH:
            ReloadMenu();
            tracking_.RefreshProfiles();
            tracking_.UpdateMenuLabels();
            return true;
        case WM_HOTKEY:
            OnHotkey(lParam);
            return true;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<LRESULT>(smallIcon_.get());
            return true;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != SC_MINIMIZE) return false;
            AddTrayIcon();
            return true;
        case WM_INITMENUPOPUP:
            if (reinterpret_cast<HMENU>(wParam) == ProfileMenu()) {
                if (const auto path = MenuDumpPath()) DumpMenuTexts(ProfileMenu(), *path);
            }
            return false;
        case WM_CLOSE:
            OnClose();
            return true;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam));
        default:
            return false;
    }
}

bool COrvika2Dlg::OnCommand(int command) {
    switch (command) {
        case IDC_MENU_BUTTON: ShowPopupMenu(); return true;
        case IDC_CODE_BUTTON: OnCodeButton(0); return true;
        case ID_PROFILE_1: tracking_.SelectProfile(1); return true;
        case ID_PROFILE_2: tracking_.SelectProfile(2); return true;
        case ID_LANGUAGE_CHINESE:
        case ID_LANGUAGE_ENGLISH: OnLanguageCommand(command); return true;
        case ID_SETTINGS: OnSettingsCommand(); return true;
        case ID_SOFTWARE_UPDATE: RunUpdateCheck(hwnd(), context_.services); return true;
        case ID_ABOUT: OnAboutCommand(); return true;
        case ID_HIDE_WINDOW: HideWindow(); return true;
        case ID_CLOSE_PROGRAM: OnCloseCommand(); return true;
        // Enter and Escape must not end the modal run: that would skip the
        // close handling and leave the tray icon behind.
        case IDOK:
        case IDCANCEL: {
            HWND focused = GetFocus();
            const int focusedId = focused && IsChild(hwnd(), focused) ? GetDlgCtrlID(focused) : 0;
            switch (MainWindowKeyCommand(command, focusedId)) {
                case MainWindowKey::PressCodeButton: OnCodeButton(0); break;
                case MainWindowKey::OpenMenu: ShowPopupMenu(); break;
                case MainWindowKey::HideWindow: HideWindow(); break;
                case MainWindowKey::None: break;
            }
            return true;
        }
        default: return false;
    }
}

void COrvika2Dlg::OnPaint() {
    PaintDc paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (highContrast_) {
        PaintPlain(paint.get(), client);
        return;
    }
    UniqueBrush key(CreateSolidBrush(kKeyColour));
    FillRect(paint.get(), &client, key.get());
    if (!skin_) return;
    BITMAP info{};
    GetObjectW(skin_.get(), sizeof(info), &info);
    UniqueMemoryDc memory(CreateCompatibleDC(paint.get()));
    SelectedObject selected(memory.get(), skin_.get());
    // OR then AND with the same bitmap leaves exactly its pixels.
    BitBlt(paint.get(), 0, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCPAINT);
    BitBlt(paint.get(), 0, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCAND);
}

// A plain rectangle in the theme's window colours, framed, with the name
// where the skin has its wordmark.
void COrvika2Dlg::PaintPlain(HDC dc, const RECT& client) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWTEXT));
    RECT codeButton{};
    GetWindowRect(codeButton_.hwnd(), &codeButton);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&codeButton), 2);
    RECT name{client.left + 2, client.top, codeButton.left - 2, client.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    DrawTextW(dc, kMainWindowTitle, -1, &name, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

HMENU COrvika2Dlg::ProfileMenu() const { return popupMenu_ ? GetSubMenu(popupMenu_.get(), 0) : nullptr; }

// Shift+F10 or the context-menu key: the menu below the focused button, as
// the message has no pointer position then.
void COrvika2Dlg::OnContextMenu(LPARAM lParam) {
    HWND focused = GetFocus();
    RECT anchor{};
    GetWindowRect(focused && IsChild(hwnd(), focused) ? focused : hwnd(), &anchor);
    const ScreenPoint at = PopupMenuOrigin({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                                           {anchor.left, anchor.top, anchor.right, anchor.bottom});
    ShowPopupMenu(POINT{at.x, at.y});
}

void COrvika2Dlg::ShowPopupMenu(std::optional<POINT> at) {
    HMENU menu = ProfileMenu();
    if (!menu) return;
    SetForegroundWindow(hwnd());
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT origin = at.value_or(cursor);
    menuGate_.MenuOpened();
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, origin.x, origin.y, 0, hwnd(), nullptr);
    // Lets a menu opened from the tray close when the user clicks elsewhere.
    PostMessageW(hwnd(), WM_NULL, 0, 0);
    // After the chosen command, which is posted, has run on the menu as the
    // user saw it.
    for (const UINT_PTR held : menuGate_.MenuClosed()) SetTimer(hwnd(), held, 0, nullptr);
}

LRESULT COrvika2Dlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    const TrayOutcome outcome = TrayNotify(wParam, static_cast<std::uint32_t>(lParam));
    switch (outcome.action) {
        case TrayAction::ShowWindow: ShowWindow(hwnd(), SW_SHOW); break;
        case TrayAction::ShowAndActivate: BringForwardForTheKeyboard(); break;
        case TrayAction::PopupMenu: ShowPopupMenu(); break;
        case TrayAction::None: break;
    }
    return outcome.result;
}

// Enter or Space on the tray icon: the window takes the keyboard, with the
// focus mark on the code button, the main action, while it can be used.
void COrvika2Dlg::BringForwardForTheKeyboard() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    HWND first = IsWindowEnabled(codeButton_.hwnd()) ? codeButton_.hwnd() : menuButton_.hwnd();
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void COrvika2Dlg::OnDeviceChange(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) return;
    const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(lParam);
    // Broadcasts of other device types are shorter: their size says whether
    // an interface class is there to read.
    if (broadcast->dbcc_size < offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) return;
    const bool hid = IsEqualGUID(broadcast->dbcc_classguid, kHidInterfaceClass) != FALSE;
    const std::wstring_view name =
        hid ? BroadcastDeviceName(broadcast->dbcc_name,
                                  broadcast->dbcc_size - offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name))
            : std::wstring_view();
    const auto timer = DeviceChangeTimer(static_cast<std::uint32_t>(wParam), hid, name);
    if (timer) SetTimer(hwnd(), *timer, 0, nullptr);
}

void COrvika2Dlg::OnTimer(UINT_PTR timerId) {
    KillTimer(hwnd(), timerId);
    if (timerId == kClipboardClearTimer) ClearCopiedCode();
    if (!menuGate_.RunsNow(timerId)) return;
    switch (ActionForTimer(timerId)) {
        case TimerAction::CheckPresence: tracking_.CheckTokenPresence(); break;
        case TimerAction::TokenArrival: tracking_.HandleTokenArrival(); break;
        case TimerAction::TokenRemoval: tracking_.HandleTokenRemoval(); break;
        case TimerAction::None: break;
    }
}

// A combination another program holds fails here and only here: the user
// is told which, once, and where to choose another.
void COrvika2Dlg::RegisterHotkeys() {
    const Hotkey code = ReadHotkey(context_.services.store, context_.services.config.file, HotkeyRole::VerificationCode);
    const Hotkey switchProfile = ReadHotkey(context_.services.store, context_.services.config.file, HotkeyRole::SwitchProfile);
    const auto registered = [&](int id, Hotkey hotkey) {
        return RegisterHotKey(hwnd(), id, static_cast<UINT>(hotkey.modifiers), static_cast<UINT>(hotkey.virtualKey)) !=
               FALSE;
    };
    const HotkeyRegistrations now{{{code, registered(codeHotkeyId_, code)},
                                   {switchProfile, registered(switchHotkeyId_, switchProfile)}}};
    const auto messages = HotkeyTakenMessages(hotkeys_, now, context_.services.strings);
    hotkeys_ = now;
    for (const HotkeyTakenMessage& message : messages) ShowUiText(message.messageId, message.text, kMessageWarning);
}

void COrvika2Dlg::UnregisterHotkeys() {
    UnregisterHotKey(hwnd(), codeHotkeyId_);
    UnregisterHotKey(hwnd(), switchHotkeyId_);
}

void COrvika2Dlg::OnHotkey(LPARAM lParam) {
    const Hotkey pressed{HIWORD(lParam), LOWORD(lParam)};
    const HotkeyAction action = DispatchHotkey(
        pressed, ReadHotkey(context_.services.store, context_.services.config.file, HotkeyRole::VerificationCode),
        ReadHotkey(context_.services.store, context_.services.config.file, HotkeyRole::SwitchProfile), CodeButtonEnabled(),
        MenuItemState(ID_PROFILE_1), MenuItemState(ID_PROFILE_2));
    switch (action) {
        case HotkeyAction::CodeButton: OnCodeButton(OtherProgramsWindow(GetForegroundWindow())); break;
        case HotkeyAction::SelectProfile1: tracking_.SelectProfile(1); break;
        case HotkeyAction::SelectProfile2: tracking_.SelectProfile(2); break;
        case HotkeyAction::None: break;
    }
}

TokenPorts COrvika2Dlg::Token() { return context_.services.Token(); }

void COrvika2Dlg::OnCodeButton(WindowId requesting) {
    requestingWindow_ = requesting;
    AppServices& services = context_.services;
    RunCodeButton(*this, Token(), services.strings, [&](int profile) {
        return ReadCodeShape(services.store, services.config.file, tracking_.TokenSection(), profile);
    });
}

void COrvika2Dlg::OnLanguageCommand(int command) {
    const auto choice = LanguageChoiceForCommand(command);
    if (!choice) return;
    const int other = command == ID_LANGUAGE_CHINESE ? ID_LANGUAGE_ENGLISH : ID_LANGUAGE_CHINESE;
    CheckMenuItem(command, true);
    CheckMenuItem(other, false);
    WriteLanguageChoice(context_.services.store, context_.services.config.file, *choice);
    context_.restartAfterClose = true;
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void COrvika2Dlg::OnSettingsCommand() {
    // The tray menu still works while the settings window is open: bring that
    // one forward rather than open a second over it.
    if (HWND open = FindSettingsWindow()) {
        SetForegroundWindow(open);
        return;
    }
    UnregisterHotkeys();
    RunSettingsWindow(hwnd(), context_.services, context_.startup);
    RegisterHotkeys();
    tracking_.CheckTokenPresence();
}

void COrvika2Dlg::OnAboutCommand() {
    SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    CAboutDlg about;
    about.DoModal(hwnd());
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void COrvika2Dlg::AddTrayIcon() {
    trayIcon_.cbSize = sizeof(trayIcon_);
    trayIcon_.hWnd = hwnd();
    trayIcon_.uID = kTrayIconId;
    trayIcon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIcon_.uCallbackMessage = WM_TRAY_NOTIFY;
    trayIcon_.hIcon = smallIcon_.get();
    lstrcpynW(trayIcon_.szTip, kMainWindowTitle, static_cast<int>(std::size(trayIcon_.szTip)));
    Shell_NotifyIconW(NIM_ADD, &trayIcon_);
    // The keyboard's notifications (Enter, the context-menu key) come only
    // with this version; the callback's parameters keep their meaning.
    trayIcon_.uVersion = kTrayShellVersion;
    Shell_NotifyIconW(NIM_SETVERSION, &trayIcon_);
}

void COrvika2Dlg::OnCloseCommand() {
    trayIconWanted_ = false;
    Shell_NotifyIconW(NIM_DELETE, &trayIcon_);
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void COrvika2Dlg::OnClose() {
    CopyFileW(context_.services.config.file.c_str(), context_.services.config.templateFile.c_str(), FALSE);
    if (context_.restartAfterClose) {
        // The successor registers the same hotkeys and claims the session.
        UnregisterHotkeys();
        if (context_.releaseInstance) context_.releaseInstance();
        if (const auto path = ExecutablePath()) {
            ShellExecuteW(nullptr, L"", path->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
    }
    if (trayIconWanted_) {
        // Closed by a language command: the icon goes with the window.
        trayIconWanted_ = false;
        Shell_NotifyIconW(NIM_DELETE, &trayIcon_);
    }
    // A code copied moments ago does not outlive the application.
    KillTimer(hwnd(), kClipboardClearTimer);
    ClearCopiedCode();
    CloseBalloonMsg();
    EndDialog(IDCANCEL);
}

unsigned COrvika2Dlg::MenuItemState(int command) {
    HMENU menu = ProfileMenu();
    return menu ? GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND) : 0xFFFFFFFFu;
}

void COrvika2Dlg::CheckMenuItem(int command, bool checked) {
    if (HMENU menu = ProfileMenu()) {
        ::CheckMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void COrvika2Dlg::EnableMenuItem(int command, bool enabled) {
    if (HMENU menu = ProfileMenu()) {
        ::EnableMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | ProfileItemEnableBits(enabled));
    }
}

void COrvika2Dlg::ReloadMenu() { popupMenu_ = LoadPopupMenu(); }

void COrvika2Dlg::SetMenuItemText(int command, const std::wstring& text) {
    HMENU menu = ProfileMenu();
    if (!menu) return;
    std::wstring copy = text;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    item.dwTypeData = copy.data();
    SetMenuItemInfoW(menu, static_cast<UINT>(command), FALSE, &item);
}

bool COrvika2Dlg::CodeButtonEnabled() { return IsWindowEnabled(codeButton_.hwnd()) != FALSE; }

void COrvika2Dlg::EnableCodeButton(bool enabled) { EnableWindow(codeButton_.hwnd(), enabled); }

void COrvika2Dlg::SetCodeButtonTip(const std::wstring& text) { codeButton_.SetToolTipText(text); }

void COrvika2Dlg::SetCodeButtonName(const std::wstring& name) { SetWindowTextW(codeButton_.hwnd(), name.c_str()); }

void COrvika2Dlg::ShowNotice(Anchor anchor, const std::wstring& title, const std::wstring& text) {
    HWND at = anchor == Anchor::CodeButton ? codeButton_.hwnd() : menuButton_.hwnd();
    ShowBalloonMsg(title, text, at, hwnd(), Instance(), BalloonIcon::Info, true);
}

void COrvika2Dlg::ShowMessageBox(const std::wstring& text, unsigned flags) {
    MessageBoxExW(nullptr, text.c_str(), L"", flags, UiLanguageId());
}

bool COrvika2Dlg::SettingsWindowOpen() { return FindSettingsWindow() != nullptr; }

bool COrvika2Dlg::OtpWindowExists() { return FindOwnWindow(L"OTP", nullptr) != nullptr; }

bool COrvika2Dlg::BringTouchWaitForward() {
    if (!touchWait_) return false;
    ShowWindow(touchWait_->hwnd(), SW_RESTORE);
    SetForegroundWindow(touchWait_->hwnd());
    return true;
}

void COrvika2Dlg::HideWindow() { ShowWindow(hwnd(), SW_HIDE); }

void COrvika2Dlg::ShowWindowNormally() { ShowWindow(hwnd(), SW_SHOWNORMAL); }

std::optional<TypingAttempt> COrvika2Dlg::RunTouchWait(int profile, int digits, WindowId target) {
    Wait15SecDialog dialog(profile, digits, Token(), reinterpret_cast<HWND>(target),
                           ReadTypingMethod(context_.services.store, context_.services.config.file));
    touchWait_ = &dialog;
    auto attempt = dialog.Run();
    touchWait_ = nullptr;
    return attempt;
}

bool COrvika2Dlg::AskYesNo(const std::wstring& text, unsigned flags) {
    return MessageBoxExW(nullptr, text.c_str(), L"", flags, UiLanguageId()) == IDYES;
}

// A later copy restarts the timer with its own sequence number.
bool COrvika2Dlg::CopyCodeToClipboard(const VerificationCode& code) {
    std::string digits = code.Text();
    SecretWString text;
    text->assign(digits.begin(), digits.end());
    SecureWipe(digits);
    const auto sequence = PutClipboardText(hwnd(), text.get());
    if (!sequence) return false;
    copiedCodeSequence_ = sequence;
    SetTimer(hwnd(), kClipboardClearTimer, kClipboardHoldMs, nullptr);
    return true;
}

void COrvika2Dlg::ClearCopiedCode() {
    if (copiedCodeSequence_) ClearClipboardIfUnchanged(hwnd(), *copiedCodeSequence_);
    copiedCodeSequence_.reset();
}

void COrvika2Dlg::ShowWindowWithoutActivation() { ShowWindow(hwnd(), SW_SHOWNOACTIVATE); }

}  // namespace orvika2
