#include "tests/win/every_dialog.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "app/about_dialog_win32.h"
#include "app/wait_dialog_win32.h"
#include "dialogs/account_name_dialog_win32.h"
#include "dialogs/passphrase_dialogs_win32.h"
#include "dialogs/settings_window_win32.h"
#include "platform/startup_services_win32.h"
#include "profiles/account_name.h"
#include "settings/config_file.h"
#include "settings/profile_store.h"
#include "tests/support/sim_fixture.h"
#include "tests/support/test_services.h"
#include "ui/ui_language.h"
#include "ui/ui_language_win32.h"

namespace orvika2 {
namespace {

struct ActiveVisit {
    const DialogVisitor* visit = nullptr;
    std::string where;
    int visits = 0;
};

// The visit of the dialog being opened; the hook has no context of its own.
ActiveVisit*& Active() {
    static ActiveVisit* active = nullptr;
    return active;
}

// Once a top-level dialog has initialised (its pages made, its texts set
// from the string table), hand it over and close it again.
LRESULT CALLBACK VisitAfterInit(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG && Active() &&
        !(GetWindowLongW(call->hwnd, GWL_STYLE) & WS_CHILD)) {
        ++Active()->visits;
        (*Active()->visit)(call->hwnd, Active()->where);
        PostMessageW(call->hwnd, WM_CLOSE, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// An account name as long as the profile page accepts, shown on the
// already-set page after the 2-Step Verification label.
constexpr wchar_t kLongestAccountName[] = L"MyOfficeAccount12345";
static_assert(std::size(kLongestAccountName) - 1 == kAccountNameMax);
// The configuration section of the simulated token: its serial.
constexpr wchar_t kTokenSection[] = L"000a1bff";

}  // namespace

UniqueWindow ProbeWindowForDialogs() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    return UniqueWindow(CreateWindowExW(0, WC_STATICW, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
}

void VisitEveryDialog(const DialogVisitor& visit) {
    testing::SimToken token;
    const auto store = MakePlatformProfileStore();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"orvika2_every_dialog";
    std::filesystem::create_directories(folder);
    const std::wstring file = (folder / L"Orvika2Config.ini").wstring();
    // Profile 1 is set with the longest account name: the settings window
    // opens on the already-set page with its longest label.
    WriteProfileEntry(*store, file, kTokenSection, 1, kLongestAccountName);
    WriteProfileEntry(*store, file, kTokenSection, 2, L"NotConfigured");
    const auto startup = MakeWin32StartupServices();
    testing::TestServices services(*store, token.ports(), file, LoadUiString);

    const std::vector<std::pair<const char*, std::function<void()>>> dialogs = {
        {"settings window",
         [&] {
             SettingsPages pages;
             SettingDlg(services.services, *startup, pages).DoModal();
         }},
        {"about box", [] { CAboutDlg().DoModal(); }},
        {"account name", [] { newAccount().DoModal(); }},
        {"backup passphrase", [] { ProtectBackupDlg().DoModal(); }},
        {"protected backup", [] { OpenBackupDlg().DoModal(); }},
        {"countdown", [&] { Wait15SecDialog(0, kDefaultCodeDigits, token.ports(), nullptr, TypingMethod::Keypad).Run(); }},
    };
    const WindowDc screen(nullptr);
    const std::string scale = std::to_string(GetDeviceCaps(screen.get(), LOGPIXELSY)) + " dpi";
    UniqueHook hook(SetWindowsHookExW(WH_CALLWNDPROCRET, &VisitAfterInit, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    for (const auto& [language, choice] : {std::pair{"en", kChoiceEnglish}, std::pair{"zh-TW", kChoiceTraditionalChinese}}) {
        SetLanguageChoice(std::wstring(choice));
        for (const auto& [name, open] : dialogs) {
            ActiveVisit active{&visit, std::string(name) + " (" + language + ", " + scale + ")"};
            Active() = &active;
            open();
            Active() = nullptr;
            EXPECT_EQ(active.visits, 1) << active.where;
        }
    }
    SetLanguageChoice(L"");
    std::filesystem::remove_all(folder);
}

}  // namespace orvika2
