#include <gtest/gtest.h>

#include "app/floating_window.h"
#include "app/popup_menu_gate.h"
#include "resources/resource.h"

namespace orvika2 {
namespace {

StringSource StringsIn(LanguageId language) {
    return [language](int id) { return UiString(id, language); };
}

TEST(MainWindowPlacement, LowerRightCornerOfTheWorkAreaWithOffsetsScaled) {
    EXPECT_EQ(MainWindowOrigin(1280, 800, 96), (ScreenPoint{1080, 700}));
    EXPECT_EQ(MainWindowOrigin(1920, 1040, 96), (ScreenPoint{1720, 940}));
    EXPECT_EQ(MainWindowOrigin(1920, 1080, 120), (ScreenPoint{1670, 955}));
    EXPECT_EQ(MainWindowOrigin(1920, 1080, 144), (ScreenPoint{1620, 930}));
    EXPECT_EQ(MainWindowOrigin(3840, 2160, 192), (ScreenPoint{3440, 1960}));
}

TEST(DeviceChange, OnlyHidBroadcastsNamingTheTokenVendorStartATimer) {
    const std::wstring token = L"\\\\?\\hid#vid_1050&pid_0010#6&1a2b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    EXPECT_EQ(DeviceChangeTimer(kDeviceArrival, true, token), std::optional<std::uintptr_t>(kDeviceArrival));
    EXPECT_EQ(DeviceChangeTimer(kDeviceRemoveComplete, true, token),
              std::optional<std::uintptr_t>(kDeviceRemoveComplete));
    EXPECT_EQ(DeviceChangeTimer(kDeviceArrival, false, token), std::nullopt);
    EXPECT_EQ(DeviceChangeTimer(kDeviceArrival, true, L"\\\\?\\HID#VID_045E&PID_0023#7&0"), std::nullopt);
    EXPECT_EQ(DeviceChangeTimer(kDeviceArrival, true, L""), std::nullopt);
    // Other event codes pass through; the timer dispatch ignores them.
    EXPECT_EQ(DeviceChangeTimer(0x8006, true, token), std::optional<std::uintptr_t>(0x8006));
    EXPECT_TRUE(NamesTokenDevice(L"hid#ViD_1050&PID_0110"));
    EXPECT_FALSE(NamesTokenDevice(L"hid#vid_105&pid_0010"));
    // The name ends at its terminator or where the broadcast's size ends,
    // whichever comes first; what lies beyond is not the sender's.
    const wchar_t name[] = L"HID#VID_1050&PID_0010\0VID_1050";
    EXPECT_EQ(BroadcastDeviceName(name, sizeof(name)), L"HID#VID_1050&PID_0010");
    EXPECT_EQ(BroadcastDeviceName(name, 6 * sizeof(wchar_t) + 1), L"HID#VI");
    EXPECT_EQ(BroadcastDeviceName(name, 0), L"");
    EXPECT_EQ(DeviceChangeTimer(kDeviceArrival, true, BroadcastDeviceName(name, 10 * sizeof(wchar_t))), std::nullopt);
}

TEST(DeviceChange, TimersRunPresenceArrivalAndRemovalOnly) {
    EXPECT_EQ(ActionForTimer(1), TimerAction::CheckPresence);
    EXPECT_EQ(ActionForTimer(0x8000), TimerAction::TokenArrival);
    EXPECT_EQ(ActionForTimer(0x8004), TimerAction::TokenRemoval);
    EXPECT_EQ(ActionForTimer(0x8006), TimerAction::None);
    EXPECT_EQ(ActionForTimer(0), TimerAction::None);
    EXPECT_EQ(ActionForTimer(2), TimerAction::None);
}

TEST(DeviceChange, TokenTimersWaitForTheOpenMenuAndRunOnceEachAfterIt) {
    PopupMenuGate gate;
    EXPECT_TRUE(gate.RunsNow(kDeviceArrival));
    EXPECT_TRUE(gate.MenuClosed().empty());

    gate.MenuOpened();
    EXPECT_FALSE(gate.RunsNow(kDeviceArrival));
    EXPECT_FALSE(gate.RunsNow(kDeviceRemoveComplete));
    EXPECT_FALSE(gate.RunsNow(kDeviceArrival));
    EXPECT_FALSE(gate.RunsNow(kPresenceTimer));
    EXPECT_TRUE(gate.RunsNow(0x8006));  // not token work: nothing to hold
    EXPECT_TRUE(gate.RunsNow(7));
    EXPECT_EQ(gate.MenuClosed(),
              (std::vector<std::uintptr_t>{kDeviceArrival, kDeviceRemoveComplete, kPresenceTimer}));

    EXPECT_TRUE(gate.RunsNow(kDeviceRemoveComplete));
    EXPECT_TRUE(gate.MenuClosed().empty());
}

TEST(TrayIcon, ClicksAndTheKeyboardShowTheWindowOrOpenOneMenu) {
    const TrayOutcome foreign = TrayNotify(127, kMouseLeftDown);
    EXPECT_EQ(foreign.action, TrayAction::None);
    EXPECT_EQ(foreign.result, 1);
    const struct {
        std::uint32_t notification;
        TrayAction action;
    } rows[] = {
        {kMouseLeftDown, TrayAction::ShowWindow},
        {0x0202, TrayAction::None},  // left button up
        {kTraySelect, TrayAction::None},  // after the left button's release: shown already
        {kTrayKeySelect, TrayAction::ShowAndActivate},
        {0x0204, TrayAction::None},  // right button down
        // The shell sends the context menu after the release: one menu.
        {kMouseRightUp, TrayAction::None},
        {kContextMenu, TrayAction::PopupMenu},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.notification);
        EXPECT_EQ(TrayNotify(128, row.notification).action, row.action);
        EXPECT_EQ(TrayNotify(128, row.notification).result, 0);
    }
}

TEST(MainWindowKeys, EnterPressesTheFocusedButtonEscapeHidesAndTheMenuKeyOpensBelowTheFocus) {
    EXPECT_EQ(MainWindowKeyCommand(kDialogOk, IDC_CODE_BUTTON), MainWindowKey::PressCodeButton);
    EXPECT_EQ(MainWindowKeyCommand(kDialogOk, IDC_MENU_BUTTON), MainWindowKey::OpenMenu);
    EXPECT_EQ(MainWindowKeyCommand(kDialogOk, 0), MainWindowKey::None);
    EXPECT_EQ(MainWindowKeyCommand(kDialogCancel, IDC_CODE_BUTTON), MainWindowKey::HideWindow);
    EXPECT_EQ(MainWindowKeyCommand(IDC_CODE_BUTTON, IDC_CODE_BUTTON), MainWindowKey::None);

    const ScreenRect focused{100, 50, 132, 82};
    EXPECT_EQ(PopupMenuOrigin({-1, -1}, focused), (ScreenPoint{100, 82}));
    EXPECT_EQ(PopupMenuOrigin({640, 480}, focused), (ScreenPoint{640, 480}));
    EXPECT_EQ(PopupMenuOrigin({-1, 0}, focused), (ScreenPoint{-1, 0}));  // a click at the screen's edge
}

TEST(LanguageCommands, WriteTheirChoiceAndMarkTheCurrentLanguage) {
    EXPECT_EQ(LanguageChoiceForCommand(ID_LANGUAGE_CHINESE), std::optional<std::wstring_view>(L"zh-tw"));
    EXPECT_EQ(LanguageChoiceForCommand(ID_LANGUAGE_ENGLISH), std::optional<std::wstring_view>(L"en"));
    EXPECT_EQ(LanguageChoiceForCommand(ID_ABOUT), std::nullopt);

    EXPECT_EQ(LanguageMarksFor(kLangTraditionalChinese).checked, ID_LANGUAGE_CHINESE);
    EXPECT_EQ(LanguageMarksFor(kLangTraditionalChinese).unchecked, ID_LANGUAGE_ENGLISH);
    // Simplified Chinese has no texts of its own: English is marked.
    EXPECT_EQ(LanguageMarksFor(kLangSimplifiedChinese).checked, ID_LANGUAGE_ENGLISH);
    EXPECT_EQ(LanguageMarksFor(kLangEnglish).checked, ID_LANGUAGE_ENGLISH);
}

TEST(AboutBox, VersionLineUsesTheFullwidthColonWithoutBlanks) {
    EXPECT_EQ(AboutVersionLine(StringsIn(kLangEnglish), L"1.0.14.821"), L"version\uFF1A1.0.14.821");
    EXPECT_EQ(AboutVersionLine(StringsIn(kLangTraditionalChinese), L"1.0.14.821"), L"\u7248\u672C\uFF1A1.0.14.821");
    EXPECT_EQ(AboutVersionLine(StringsIn(kLangEnglish), L""), L"version\uFF1A");
}

TEST(MenuLabels, ProfileTextsFollowTheirEntries) {
    const auto english = StringsIn(kLangEnglish);
    EXPECT_EQ(ProfileMenuText(english, 1, L""), L"Profile1");
    EXPECT_EQ(ProfileMenuText(english, 2, L"Google"), L"Profile2 ( Google ) ");
    EXPECT_EQ(ProfileMenuText(english, 1, L"StaticPassword"), L"Profile1 ( Static password ) ");
    EXPECT_EQ(ProfileMenuText(english, 2, L"NotConfigured"), L"Profile2 ( Profile not yet set ) ");
    // Substring tests, static password first.
    EXPECT_EQ(ProfileMenuText(english, 1, L"xNotConfiguredStaticPassword"), L"Profile1 ( Static password ) ");
    EXPECT_EQ(ProfileMenuText(StringsIn(kLangTraditionalChinese), 2, L"StaticPassword"),
              L"\u8A2D\u5B9A\u6A942 ( \u975C\u614B\u5BC6\u78BC ) ");
}

TEST(MenuLabels, EveryItemButTheLanguageSubmenuGetsARunTimeText) {
    const auto labels = MenuLabels(StringsIn(kLangEnglish), L"", L"Dropbox");
    const std::vector<MenuLabel> expected = {
        {ID_PROFILE_1, L"Profile1"},
        {ID_PROFILE_2, L"Profile2 ( Dropbox ) "},
        {ID_SETTINGS, L"Settings"},
        {ID_SOFTWARE_UPDATE, L"Software update"},
        {ID_ABOUT, L"About Orvika2"},
        {ID_HIDE_WINDOW, L"Minimize to taskbar"},
        {ID_CLOSE_PROGRAM, L"Close program"},
    };
    EXPECT_EQ(labels, expected);
    const auto chinese = MenuLabels(StringsIn(kLangTraditionalChinese), L"", L"");
    ASSERT_EQ(chinese.size(), expected.size());
    EXPECT_EQ(chinese[2].text, L"\u7CFB\u7D71\u8A2D\u5B9A");
    EXPECT_EQ(chinese[6].text, L"\u95DC\u9589\u7A0B\u5F0F");
}

}  // namespace
}  // namespace orvika2
