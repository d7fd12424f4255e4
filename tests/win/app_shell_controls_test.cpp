#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/shell_windows_win32.h"
#include "app/skin_layout_win32.h"
#include "desktop/balloon_win32.h"
#include "desktop/skin_button_win32.h"
#include "platform/registry_win32.h"
#include "platform/startup_services_win32.h"
#include "platform/win32_handles_win32.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "settings/profile_store.h"
#include "tests/support/sim_fixture.h"
#include "tests/support/test_services.h"
#include "tests/win/window_display.h"
#include "ui/own_windows_win32.h"
#include "ui/ui_language_win32.h"

namespace orvika2 {
namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class ShellControls : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        parent_.reset(CreateWindowExW(0, WC_DIALOG, L"shell controls", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                                      nullptr, nullptr, Self(), nullptr));
        ORVIKA2_REQUIRE_WINDOW(parent_);
    }
    void TearDown() override {
        CloseBalloonMsg();
        parent_.reset();
        PumpMessages();
    }
    HWND AddButton(int id, DWORD style, int x) {
        return CreateWindowExW(0, WC_BUTTONW, L"", WS_CHILD | WS_VISIBLE | style, x, 10, 40, 30, parent_.get(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Self(), nullptr);
    }
    UniqueWindow parent_;
};

TEST_F(ShellControls, SkinButtonTakesTheSizeAndShapeOfItsMask) {
    CxSkinButton button;
    button.Attach(AddButton(IDC_CODE_BUTTON, BS_PUSHBUTTON, 20));
    EXPECT_EQ(GetWindowLongW(button.hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    button.SetSkin(Self(), IDB_CODE_NORMAL, IDB_CODE_DOWN, IDB_CODE_OVER, IDB_CODE_DISABLED, IDB_CODE_MASK);
    RECT rect{};
    GetWindowRect(button.hwnd(), &rect);
    EXPECT_EQ(rect.right - rect.left, 32);
    EXPECT_EQ(rect.bottom - rect.top, 32);
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(button.hwnd(), region.get()), ERROR);
    EXPECT_TRUE(PtInRegion(region.get(), 16, 16));
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));    // the white corners are outside
    EXPECT_FALSE(PtInRegion(region.get(), 31, 31));
    // A push button never keeps a check mark.
    SendMessageW(button.hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(button.hwnd(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

// A DPI change (WM_DPICHANGED) lays the window out again at the suggested
// place: buttons, masks and skin from the nearest drawn set, each button over
// its socket in that skin.
TEST_F(ShellControls, SkinLayoutFollowsTheDpiWithButtonsOverTheirSockets) {
    CxSkinButton code, menu;
    code.Attach(AddButton(IDC_CODE_BUTTON, BS_PUSHBUTTON, 20));
    menu.Attach(AddButton(IDC_MENU_BUTTON, BS_PUSHBUTTON, 80));
    const COLORREF codeSocket = RGB(20, 22, 26);
    const COLORREF gearSocket = RGB(26, 29, 35);
    const struct {
        int dpi;
        int percent;
    } rows[] = {{144, 150}, {96, 100}, {120, 125}, {168, 200}};
    for (const auto& row : rows) {
        UniqueBitmap skin = ApplySkinLayout(parent_.get(), code, menu, row.dpi, POINT{40 + row.dpi, 50});
        ASSERT_TRUE(skin) << row.dpi;
        RECT window{};
        GetWindowRect(parent_.get(), &window);
        EXPECT_EQ(window.left, 40 + row.dpi);
        EXPECT_EQ(window.top, 50);
        EXPECT_EQ((window.right - window.left) * 100, 140 * row.percent) << row.dpi;
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        SelectedObject selected(dc.get(), skin.get());
        const struct {
            HWND button;
            int size;
            COLORREF socket;
        } buttons[] = {{code.hwnd(), 32 * row.percent / 100, codeSocket},
                       {menu.hwnd(), 24 * row.percent / 100, gearSocket}};
        for (const auto& button : buttons) {
            RECT rect{};
            GetWindowRect(button.button, &rect);
            MapWindowPoints(nullptr, parent_.get(), reinterpret_cast<POINT*>(&rect), 2);
            EXPECT_EQ(rect.right - rect.left, button.size) << row.dpi;
            EXPECT_EQ(rect.bottom - rect.top, button.size) << row.dpi;
            UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
            ASSERT_NE(GetWindowRgn(button.button, region.get()), ERROR);
            EXPECT_FALSE(PtInRegion(region.get(), 0, 0)) << row.dpi;
            EXPECT_TRUE(PtInRegion(region.get(), button.size / 2, button.size / 4)) << row.dpi;
            // The skin under the button's edges, on all four sides, is its socket.
            const int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
            const int reach = button.size / 2;
            for (const POINT p : {POINT{x - reach, y}, POINT{x + reach - 1, y}, POINT{x, y - reach},
                                  POINT{x, y + reach - 1}}) {
                EXPECT_EQ(GetPixel(dc.get(), p.x, p.y), button.socket) << row.dpi << " at " << p.x << "," << p.y;
            }
        }
    }
}

TEST_F(ShellControls, CheckingARadioButtonUnchecksTheOthersOfItsGroup) {
    CxSkinButton first, second, third;
    first.Attach(AddButton(2001, BS_AUTORADIOBUTTON | WS_GROUP, 10));
    second.Attach(AddButton(2002, BS_AUTORADIOBUTTON, 60));
    third.Attach(AddButton(2003, BS_AUTORADIOBUTTON, 110));
    EXPECT_EQ(first.kind(), SkinButtonKind::RadioButton);
    SendMessageW(first.hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    PumpMessages();
    EXPECT_TRUE(first.checked());
    SendMessageW(third.hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    PumpMessages();
    EXPECT_FALSE(first.checked());
    EXPECT_FALSE(second.checked());
    EXPECT_TRUE(third.checked());
}

TEST_F(ShellControls, CheckBoxTogglesOnTheSpaceBar) {
    CxSkinButton box;
    box.Attach(AddButton(2010, BS_AUTOCHECKBOX, 10));
    EXPECT_EQ(box.kind(), SkinButtonKind::CheckBox);
    SendMessageW(box.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(box.checked());
    SendMessageW(box.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(box.checked());
}

TEST_F(ShellControls, BalloonReplacesTheOwnerProcedureUntilItCloses) {
    HWND anchor = AddButton(IDC_CODE_BUTTON, BS_PUSHBUTTON, 20);
    const auto ownerProc = GetWindowLongPtrW(parent_.get(), GWLP_WNDPROC);

    ShowBalloonMsg(L"Reminder", L"", anchor, parent_.get(), Self(), BalloonIcon::Info, true);
    EXPECT_EQ(BalloonHostWindow(), nullptr);  // an empty text shows nothing

    ShowBalloonMsg(L"Reminder", L"Orvika2 not inserted", anchor, parent_.get(), Self(), BalloonIcon::Info, true);
    HWND firstTooltip = BalloonTooltipWindow();
    ASSERT_NE(firstTooltip, nullptr);
    ASSERT_NE(BalloonHostWindow(), nullptr);
    EXPECT_NE(GetWindowLongPtrW(parent_.get(), GWLP_WNDPROC), ownerProc);
    wchar_t className[32] = {};
    GetClassNameW(BalloonHostWindow(), className, 32);
    EXPECT_STREQ(className, L"XBalloonMsg");

    ShowBalloonMsg(L"Reminder", L"second", anchor, parent_.get(), Self(), BalloonIcon::Info, true);
    EXPECT_NE(BalloonTooltipWindow(), nullptr);
    PumpMessages();
    EXPECT_FALSE(IsWindow(firstTooltip));  // the first balloon went away

    CloseBalloonMsg();
    EXPECT_EQ(BalloonHostWindow(), nullptr);
    EXPECT_EQ(BalloonTooltipWindow(), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(parent_.get(), GWLP_WNDPROC), ownerProc);
}

// A warning beside a field and a notice beside the main window alike: the
// balloon takes neither the activation nor the focus, so the next letter goes
// to the field, and closes the balloon on its way.
TEST_F(ShellControls, BalloonLeavesTheFocusInTheFieldThatGetsTheNextLetter) {
    HWND field = CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 60, 200, 24, parent_.get(),
                                 nullptr, Self(), nullptr);
    SetForegroundWindow(parent_.get());
    SetFocus(field);
    PumpMessages();
    ASSERT_EQ(GetFocus(), field);
    for (const bool balloonShape : {false, true}) {
        ShowBalloonMsg(L"Reminder", L"Cannot include spaces", field, parent_.get(), Self(), BalloonIcon::Warning,
                       balloonShape);
        PumpMessages();
        ASSERT_NE(BalloonTooltipWindow(), nullptr) << "the balloon closed itself";
        EXPECT_TRUE(IsWindowVisible(BalloonTooltipWindow()));
        EXPECT_EQ(GetActiveWindow(), parent_.get());
        EXPECT_EQ(GetFocus(), field);
    }
    INPUT letter[2] = {};
    for (INPUT& input : letter) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = 'A';
    }
    letter[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, letter, sizeof(INPUT)), 2u);
    for (int i = 0; i < 50 && GetWindowTextLengthW(field) == 0; ++i) {
        Sleep(20);
        PumpMessages();
    }
    wchar_t typed[8] = {};
    GetWindowTextW(field, typed, 8);
    EXPECT_STREQ(typed, L"a");
    EXPECT_EQ(BalloonTooltipWindow(), nullptr);
}

// A notice posted while the main window starts up, before it is shown and
// activated, stays up; the owner losing the activation closes it.
TEST_F(ShellControls, BalloonStaysWhenItsOwnerIsActivatedAndGoesWhenItIsDeactivated) {
    HWND anchor = AddButton(IDC_CODE_BUTTON, BS_PUSHBUTTON, 20);
    UniqueWindow other(CreateWindowExW(0, WC_DIALOG, L"other", WS_POPUP | WS_VISIBLE, 500, 100, 200, 100, nullptr,
                                       nullptr, Self(), nullptr));
    ASSERT_NE(other.get(), nullptr);
    SetForegroundWindow(other.get());
    PumpMessages();
    ShowBalloonMsg(L"Profile1", L"Orvika2 device insertion detected", anchor, parent_.get(), Self(),
                   BalloonIcon::Info, true);
    PumpMessages();
    SetForegroundWindow(parent_.get());
    PumpMessages();
    ASSERT_EQ(GetActiveWindow(), parent_.get());
    EXPECT_NE(BalloonTooltipWindow(), nullptr);
    SetForegroundWindow(other.get());
    PumpMessages();
    EXPECT_EQ(BalloonTooltipWindow(), nullptr);
}

// What the settings window looked like while it was open, seen from a timer
// of its modal loop, which then closes it. The main window carries it as a
// property for the timer.
struct SettingsWindowSight {
    bool found = false;
    bool topmost = false;
    bool ownerEnabled = true;
    HWND owner = nullptr;
};
constexpr wchar_t kSightProperty[] = L"SettingsWindowSight";

void CALLBACK LookAtSettingsWindow(HWND mainWindow, UINT, UINT_PTR timer, DWORD) {
    HWND settings = FindWindowW(nullptr, LoadUiString(IDS_SETTINGS_CAPTION).c_str());
    auto* sight = static_cast<SettingsWindowSight*>(GetPropW(mainWindow, kSightProperty));
    if (!settings || !sight) return;
    KillTimer(mainWindow, timer);
    *sight = {true, (GetWindowLongW(settings, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, IsWindowEnabled(mainWindow) != FALSE,
              GetWindow(settings, GW_OWNER)};
    PostMessageW(settings, WM_CLOSE, 0, 0);
}

// The help pages it opens in the browser come in front of it: it is not
// top-most, as an owned window of the top-most main window would be. The main
// window stays disabled meanwhile, and top-most.
// Another program's window of the same class and title, here the key
// recorder's, is never taken for ours: not for the main window's refresh,
// the settings window or the "OTP" guard.
TEST_F(ShellControls, OurWindowsAreFoundAmongThisProcesssOwnOnly) {
    constexpr wchar_t kTitle[] = L"Orvika2 lookup";
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path tests(self);
    const std::wstring recorder = (tests.parent_path().parent_path() / L"win_tools" / L"key_recorder.exe").wstring();
    const std::wstring typed = (std::filesystem::temp_directory_path() / L"orvika2-lookup.txt").wstring();
    std::wstring command = L"\"" + recorder + L"\" \"" + typed + L"\" 520 \"" + kTitle + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(recorder.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process))
        << GetLastError();
    const UniqueKernelHandle processHandle(process.hProcess), thread(process.hThread);
    HWND foreign = nullptr;
    for (int i = 0; i < 200 && !foreign; ++i, Sleep(50)) foreign = FindWindowW(kDialogClass, kTitle);
    ASSERT_NE(foreign, nullptr) << "the key recorder's window did not come";
    EXPECT_EQ(FindOwnWindow(kTitle), nullptr);
    EXPECT_EQ(FindOwnWindow(kTitle, nullptr), nullptr);

    UniqueWindow plain(CreateWindowExW(0, WC_STATICW, kTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, Self(), nullptr));
    EXPECT_EQ(FindOwnWindow(kTitle), nullptr) << "a window of another class";
    EXPECT_EQ(FindOwnWindow(kTitle, nullptr), plain.get());
    UniqueWindow own(CreateWindowExW(0, WC_DIALOG, kTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, Self(), nullptr));
    EXPECT_EQ(FindOwnWindow(kTitle), own.get());
    EXPECT_EQ(FindOwnWindow(L"Orvika2 looku"), nullptr) << "a title's beginning is not the title";
    TerminateProcess(processHandle.get(), 0);
    WaitForSingleObject(processHandle.get(), 5000);
    DeleteFileW(typed.c_str());
}

TEST_F(ShellControls, SettingsWindowIsNotTopMostAndDisablesTheMainWindowWhileOpen) {
    SetWindowPos(parent_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_NE(GetWindowLongW(parent_.get(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    SettingsWindowSight sight;
    SetPropW(parent_.get(), kSightProperty, &sight);
    SetTimer(parent_.get(), 1, 100, &LookAtSettingsWindow);
    testing::SimToken token;
    const auto store = MakePlatformProfileStore();
    const auto startup = MakeWin32StartupServices();
    const std::filesystem::path file = std::filesystem::temp_directory_path() / L"orvika2_settings_sight.ini";
    testing::TestServices services(*store, token.ports(), file.wstring(), LoadUiString);
    RunSettingsWindow(parent_.get(), services.services, *startup);
    RemovePropW(parent_.get(), kSightProperty);
    ASSERT_TRUE(sight.found);
    EXPECT_FALSE(sight.topmost);
    EXPECT_EQ(sight.owner, nullptr);
    EXPECT_FALSE(sight.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(parent_.get()));
    EXPECT_NE(GetWindowLongW(parent_.get(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(ShellControls, BalloonShapeFollowsEnableBalloonTips) {
    HWND anchor = AddButton(IDC_CODE_BUTTON, BS_PUSHBUTTON, 20);
    const wchar_t* path = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
    RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS);
    ASSERT_TRUE(key);
    const std::optional<DWORD> previous = key.ReadDword(L"EnableBalloonTips");
    const auto setValue = [&](DWORD value) {
        RegSetValueExW(key.get(), L"EnableBalloonTips", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof(value));
    };

    setValue(0);
    ShowBalloonMsg(L"Reminder", L"plain", anchor, parent_.get(), Self(), BalloonIcon::Info, true);
    ASSERT_NE(BalloonTooltipWindow(), nullptr);
    EXPECT_EQ(GetWindowLongW(BalloonTooltipWindow(), GWL_STYLE) & TTS_BALLOON, 0);

    setValue(1);
    ShowBalloonMsg(L"Reminder", L"balloon", anchor, parent_.get(), Self(), BalloonIcon::Info, true);
    ASSERT_NE(BalloonTooltipWindow(), nullptr);
    EXPECT_EQ(GetWindowLongW(BalloonTooltipWindow(), GWL_STYLE) & TTS_BALLOON, TTS_BALLOON);

    CloseBalloonMsg();
    if (previous) {
        setValue(*previous);
    } else {
        key.DeleteValue(L"EnableBalloonTips");
    }
}

}  // namespace
}  // namespace orvika2
