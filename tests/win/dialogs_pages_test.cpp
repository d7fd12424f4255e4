#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "dialogs/hotkey_page_win32.h"
#include "dialogs/profile_page.h"
#include "dialogs/profile_page_win32.h"
#include "dialogs/settings_window_win32.h"
#include "settings/config_file.h"
#include "platform/win32_handles_win32.h"
#include "resources/resource.h"
#include "tests/support/memory_profile_store.h"
#include "tests/support/sim_fixture.h"
#include "tests/support/test_services.h"
#include "tests/win/window_display.h"
#include "ui/ui_language_win32.h"

namespace orvika2 {
namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

class RecordingStartup final : public StartupServices {
public:
    bool QueryAutostart() override { return autostart; }
    bool SetAutostart(bool enabled) override {
        autostart = enabled;
        return true;
    }
    std::wstring DesktopFolder() override { return L"C:\\desk"; }
    std::wstring StartMenuFolder() override { return L"C:\\menu"; }
    bool ShortcutExists(const std::wstring& path) override { return links.contains(path); }
    bool CreateShortcut(const std::wstring& path) override {
        links.insert(path);
        return true;
    }
    bool RemoveShortcut(const std::wstring& path) override { return links.erase(path) == 1; }

    bool autostart = false;
    std::set<std::wstring> links;
};

std::wstring Text(HWND page, int id) {
    wchar_t text[256] = {};
    GetDlgItemTextW(page, id, text, 256);
    return text;
}

// The pages as the settings window creates them, over a simulated token, a
// store in memory and start-up options that only remember.
class SettingsPagesOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        host_.reset(CreateWindowExW(0, WC_DIALOG, L"host", WS_POPUP, 0, 0, 900, 300, nullptr, nullptr, Self(), nullptr));
        ORVIKA2_REQUIRE_WINDOW(host_);
    }
    void Click(HWND page, int id) { SendDlgItemMessageW(page, id, BM_CLICK, 0, 0); }
    bool Visible(HWND page, int id) { return (GetWindowLongW(GetDlgItem(page, id), GWL_STYLE) & WS_VISIBLE) != 0; }

    testing::SimToken token;
    testing::MemoryProfileStore store;
    RecordingStartup startup;
    const std::wstring file = L"C:\\cfg\\Orvika2Config.ini";
    testing::TestServices services{store, token.ports(), file};
    UniqueWindow host_;
};

TEST_F(SettingsPagesOnScreen, HotkeyControlsShowTheStoredCombinationsAndApplyStoresThem) {
    store.Put(file, L"HotKey_OTP", L"VirtualKeyCode", L"112");
    store.Put(file, L"HotKey_OTP", L"fsModifiers", L"6");
    store.Put(file, L"HotKey_Switch", L"VirtualKeyCode", L"337");
    store.Put(file, L"HotKey_Switch", L"fsModifiers", L"9");
    HotKeyDlg page;
    page.Attach(services.services, startup);
    ASSERT_TRUE(page.Create(host_.get()));
    HWND window = page.hwnd();
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_CODE_HOTKEY, HKM_GETHOTKEY, 0, 0),
              MAKEWORD(VK_F1, HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_SWITCH_HOTKEY, HKM_GETHOTKEY, 0, 0), MAKEWORD('Q', HOTKEYF_ALT));

    SendDlgItemMessageW(window, IDC_SWITCH_HOTKEY, HKM_SETHOTKEY, MAKEWORD(VK_F2, HOTKEYF_SHIFT | HOTKEYF_ALT), 0);
    Click(window, IDC_SWITCH_HOTKEY_APPLY);
    EXPECT_EQ(store.Get(file, L"HotKey_Switch", L"VirtualKeyCode"), L"113");
    EXPECT_EQ(store.Get(file, L"HotKey_Switch", L"fsModifiers"), L"5");
    EXPECT_TRUE(Visible(window, IDC_SWITCH_STATUS_MARK));
    EXPECT_FALSE(Visible(window, IDC_CODE_STATUS_MARK));

    Click(window, IDC_CODE_HOTKEY_APPLY);
    EXPECT_EQ(store.Get(file, L"HotKey_OTP", L"fsModifiers"), L"6");
    EXPECT_TRUE(Visible(window, IDC_CODE_STATUS_MARK));
    EXPECT_FALSE(Visible(window, IDC_SWITCH_STATUS_MARK));
}

TEST_F(SettingsPagesOnScreen, RestoreDefaultsResetsControlsFileAndMarks) {
    HotKeyDlg page;
    page.Attach(services.services, startup);
    ASSERT_TRUE(page.Create(host_.get()));
    HWND window = page.hwnd();
    Click(window, IDC_CODE_HOTKEY_APPLY);
    Click(window, IDC_RESTORE_DEFAULTS);
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_CODE_HOTKEY, HKM_GETHOTKEY, 0, 0), MAKEWORD('Q', HOTKEYF_CONTROL));
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_SWITCH_HOTKEY, HKM_GETHOTKEY, 0, 0), MAKEWORD('S', HOTKEYF_ALT));
    EXPECT_EQ(store.Get(file, L"HotKey_OTP", L"VirtualKeyCode"), L"81");
    EXPECT_EQ(store.Get(file, L"HotKey_Switch", L"fsModifiers"), L"1");
    EXPECT_FALSE(Visible(window, IDC_CODE_STATUS_MARK));
}

TEST_F(SettingsPagesOnScreen, StartupBoxesShowTheSystemAndActAtOnce) {
    startup.autostart = true;
    startup.links.insert(ShortcutFile(startup.StartMenuFolder()));
    HotKeyDlg page;
    page.Attach(services.services, startup);
    ASSERT_TRUE(page.Create(host_.get()));
    HWND window = page.hwnd();
    EXPECT_EQ(IsDlgButtonChecked(window, IDC_AUTOSTART_CHECK), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, IDC_DESKTOP_CHECK), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, IDC_START_MENU_CHECK), BST_CHECKED);

    Click(window, IDC_DESKTOP_CHECK);
    EXPECT_TRUE(startup.links.contains(ShortcutFile(startup.DesktopFolder())));
    Click(window, IDC_AUTOSTART_CHECK);
    EXPECT_FALSE(startup.autostart);
    Click(window, IDC_START_MENU_CHECK);
    EXPECT_FALSE(startup.links.contains(ShortcutFile(startup.StartMenuFolder())));
}

TEST_F(SettingsPagesOnScreen, ProfilePageStartsWithItsListAndKeepsTextsAcrossModes) {
    Config2 page;
    page.Attach(services.services);
    ASSERT_TRUE(page.Create(host_.get()));
    HWND window = page.hwnd();
    const auto entries = FixedAccountEntries();
    ASSERT_EQ(SendDlgItemMessageW(window, IDC_ACCOUNT_LIST, CB_GETCOUNT, 0, 0), std::ssize(entries));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        wchar_t entry[64] = {};
        SendDlgItemMessageW(window, IDC_ACCOUNT_LIST, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
        EXPECT_EQ(entries[i], entry);
    }
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_ACCOUNT_LIST, CB_GETCURSEL, 0, 0), CB_ERR);
    // A plain key's codes start as 6 digits of 30 s.
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_CODE_DIGITS_LIST, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_CODE_DIGITS_LIST, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Text(window, IDC_CODE_DIGITS_LIST), L"6");
    EXPECT_EQ(Text(window, IDC_CODE_PERIOD_EDIT), L"30");
    EXPECT_EQ(ShapeFromControls(0, Text(window, IDC_CODE_PERIOD_EDIT)), CodeShape{});
    EXPECT_EQ(IsDlgButtonChecked(window, IDC_TWO_STEP_RADIO), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, IDC_LETTERS_CHECK), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, IDC_SPECIAL_CHECK), BST_UNCHECKED);

    EnableWindow(GetDlgItem(window, IDC_STATIC_RADIO), TRUE);
    Click(window, IDC_STATIC_RADIO);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_SECRET_KEY_EDIT)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CODE_PERIOD_EDIT)));
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_GENERATE_BUTTON)));
    Click(window, IDC_GENERATE_BUTTON);
    const std::wstring generated = Text(window, IDC_PASSWORD_EDIT);
    EXPECT_EQ(generated.size(), 12u);

    Click(window, IDC_OTHERS_RADIO);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_IMPORT_BUTTON)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_PASSWORD_EDIT)));
    Click(window, IDC_TWO_STEP_RADIO);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SECRET_KEY_EDIT)));
    EXPECT_EQ(Text(window, IDC_PASSWORD_EDIT), generated);

    // Left for another page, it keeps no secret for other programs to read.
    ShowWindow(window, SW_SHOWNA);  // as its tab shows it
    SetDlgItemTextW(window, IDC_SECRET_KEY_EDIT, L"GEZDGNBVGY3TQOJQ");
    ShowWindow(window, SW_HIDE);
    EXPECT_EQ(Text(window, IDC_SECRET_KEY_EDIT), L"");
    EXPECT_EQ(Text(window, IDC_PASSWORD_EDIT), L"");
    EXPECT_FALSE(SendDlgItemMessageW(window, IDC_PASSWORD_EDIT, EM_CANUNDO, 0, 0));
}

// The steps of a keyboard run, one a tick of a thread timer; the timer has
// no context of its own.
std::vector<std::function<void(HWND)>>*& PendingSteps() {
    static std::vector<std::function<void(HWND)>>* steps = nullptr;
    return steps;
}
bool& ClosedByTheTest() {
    static bool closed = false;
    return closed;
}

// Inside the settings window's modal loop: the next step, or, once all are
// taken and the window is still there, its close box.
void CALLBACK TakeNextStep(HWND, UINT, UINT_PTR, DWORD) {
    // The modal loop shows the window once its queue is empty, which may
    // come after the first tick.
    HWND settings = FindWindowW(nullptr, LoadUiString(IDS_SETTINGS_CAPTION).c_str());
    if (!settings || !IsWindowVisible(settings) || !PendingSteps()) return;
    auto& steps = *PendingSteps();
    if (steps.empty()) {
        ClosedByTheTest() = true;
        PostMessageW(settings, WM_CLOSE, 0, 0);
        return;
    }
    const auto step = std::move(steps.front());
    steps.erase(steps.begin());
    step(settings);
}

// A key as typed into the focused control: posted, it passes the message
// filter and the dialog manager, which read Ctrl and Shift from the state.
void Type(UINT key, bool control = false, bool shift = false) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
}

TEST_F(SettingsPagesOnScreen, TheKeyboardPressesTheFieldsButtonSwitchesTabsAndEscCloses) {
    // Neither profile is set: both tabs show their profile page.
    for (const int profile : {1, 2}) WriteProfileEntry(store, file, L"000a1bff", profile, L"NotConfigured");
    const SettingsPages& pages = SharedSettingsPages();
    auto selected = [](HWND settings) { return SendDlgItemMessageW(settings, IDC_SETTINGS_TAB, TCM_GETCURSEL, 0, 0); };
    std::vector<int> tabOrder;
    auto tab = [&](HWND) {
        tabOrder.push_back(GetDlgCtrlID(GetFocus()));
        Type(VK_TAB);
    };
    std::vector<std::function<void(HWND)>> steps = {
        [&](HWND settings) {
            SetFocus(GetDlgItem(settings, IDC_SETTINGS_TAB));
            Type(VK_TAB);
        },
        tab, tab, tab, tab, tab, tab, tab, tab,
        [&](HWND) {
            HWND page = pages.profile1.hwnd();
            ASSERT_TRUE(IsWindowVisible(page));
            EnableWindow(GetDlgItem(page, IDC_STATIC_RADIO), TRUE);
            Click(page, IDC_STATIC_RADIO);
            SetFocus(GetDlgItem(page, IDC_LENGTH_EDIT));
            Type(VK_RETURN);
        },
        [&](HWND) {
            HWND page = pages.profile1.hwnd();
            EXPECT_EQ(Text(page, IDC_PASSWORD_EDIT).size(), 12u) << "Enter in the length box generates";
            SetDlgItemTextW(page, IDC_PASSWORD_EDIT, L"");
            SetFocus(GetDlgItem(page, IDC_GENERATE_BUTTON));
            Type(VK_RETURN);
        },
        [&](HWND) {
            EXPECT_EQ(Text(pages.profile1.hwnd(), IDC_PASSWORD_EDIT).size(), 12u) << "Enter on the focused button";
            Type(VK_TAB, true);
        },
        [&](HWND settings) {
            EXPECT_EQ(selected(settings), 1);
            EXPECT_EQ(GetFocus(), GetDlgItem(settings, IDC_SETTINGS_TAB));
            EXPECT_TRUE(IsWindowVisible(pages.profile2.hwnd()));
            EXPECT_FALSE(IsWindowVisible(pages.profile1.hwnd()));
            Type(VK_TAB, true, true);
        },
        [&](HWND settings) {
            EXPECT_EQ(selected(settings), 0);
            Type(VK_PRIOR, true);
        },
        [&](HWND settings) {
            EXPECT_EQ(selected(settings), 2);
            EXPECT_TRUE(IsWindowVisible(pages.basic.hwnd()));
            Type(VK_ESCAPE);
        },
    };
    PendingSteps() = &steps;
    ClosedByTheTest() = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &TakeNextStep);
    RunSettingDlg(nullptr, services.services, startup);
    KillTimer(nullptr, timer);
    PendingSteps() = nullptr;
    BYTE state[256] = {};
    SetKeyboardState(state);
    EXPECT_TRUE(steps.empty());
    // The profile page in its first mode, in template order, then round the
    // page: the tab control holds the pages, so Tab passes it by (Ctrl+Tab
    // gives it the focus).
    const std::vector<int> expected = {IDC_TWO_STEP_RADIO,   IDC_ACCOUNT_LIST,     IDC_SECRET_KEY_EDIT,
                                       IDC_CODE_DIGITS_LIST, IDC_CODE_PERIOD_EDIT, IDC_REQUIRE_TOUCH_CHECK,
                                       IDC_TWO_STEP_APPLY,   IDC_TWO_STEP_RADIO};
    EXPECT_EQ(tabOrder, expected);
    EXPECT_FALSE(ClosedByTheTest()) << "Esc left the settings window open";
}

}  // namespace
}  // namespace orvika2
