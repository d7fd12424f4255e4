#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "dialogs/profile_page.h"
#include "platform/win32_handles_win32.h"
#include "resources/resource.h"
#include "tests/win/window_display.h"

namespace orvika2 {
namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The settings templates, each created from the resources as the windows
// create them, on a hidden host window.
class SettingsTemplates : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        host_.reset(CreateWindowExW(0, WC_DIALOG, L"host", WS_POPUP, 0, 0, 900, 300, nullptr, nullptr, Self(), nullptr));
        ORVIKA2_REQUIRE_WINDOW(host_);
    }
    HWND Make(int templateId) {
        windows_.emplace_back(
            CreateDialogParamW(Self(), MAKEINTRESOURCEW(templateId), host_.get(), &PlainDialog, 0));
        return windows_.back().get();
    }
    // The window's client size in dialog units, as its own font maps them.
    static SIZE ClientInDialogUnits(HWND dialog, SIZE units) {
        RECT expected{0, 0, units.cx, units.cy};
        MapDialogRect(dialog, &expected);
        return {expected.right, expected.bottom};
    }
    UniqueWindow host_;
    std::vector<UniqueWindow> windows_;
};

TEST_F(SettingsTemplates, EveryWindowHasItsSizeInDialogUnits) {
    const struct {
        int id;
        SIZE units;
    } sizes[] = {{IDD_SETTINGS, {499, 139}},     {IDD_PROFILE1_PAGE, {482, 111}}, {IDD_PROFILE2_PAGE, {482, 108}},
                 {IDD_HOTKEY_PAGE, {476, 106}},  {IDD_ACCOUNT_NAME, {139, 56}},  {IDD_ALREADY_SET_PAGE, {483, 92}}};
    for (const auto& size : sizes) {
        HWND dialog = Make(size.id);
        ASSERT_NE(dialog, nullptr) << size.id;
        RECT client{};
        GetClientRect(dialog, &client);
        const SIZE expected = ClientInDialogUnits(dialog, size.units);
        EXPECT_EQ(client.right, expected.cx) << size.id;
        EXPECT_EQ(client.bottom, expected.cy) << size.id;
    }
}

TEST_F(SettingsTemplates, ControlsHaveTheirKinds) {
    const struct {
        int dialog;
        int control;
        const wchar_t* windowClass;
    } controls[] = {
        {IDD_SETTINGS, IDC_SETTINGS_TAB, WC_TABCONTROLW},
        {IDD_HOTKEY_PAGE, IDC_CODE_HOTKEY, HOTKEY_CLASSW},
        {IDD_HOTKEY_PAGE, IDC_SWITCH_HOTKEY, HOTKEY_CLASSW},
        {IDD_HOTKEY_PAGE, IDC_TYPING_METHOD_COMBO, WC_COMBOBOXW},
        {IDD_HOTKEY_PAGE, IDC_CODE_STATUS_MARK, WC_STATICW},
        {IDD_PROFILE1_PAGE, IDC_ACCOUNT_LIST, WC_COMBOBOXW},
        {IDD_PROFILE2_PAGE, IDC_ACCOUNT_LIST, WC_COMBOBOXW},
        {IDD_PROFILE1_PAGE, IDC_SECRET_KEY_EDIT, WC_EDITW},
        {IDD_PROFILE2_PAGE, IDC_PASSWORD_EDIT, WC_EDITW},
        {IDD_ALREADY_SET_PAGE, IDC_ALREADY_SET_LABEL, WC_STATICW},
        {IDD_ALREADY_SET_PAGE, IDC_RESET_BUTTON, WC_BUTTONW},
        {IDD_ACCOUNT_NAME, IDC_ACCOUNT_NAME_LABEL, WC_STATICW},
        {IDD_ACCOUNT_NAME, IDC_ACCOUNT_NAME_EDIT, WC_EDITW},
    };
    for (const auto& expected : controls) {
        HWND control = GetDlgItem(Make(expected.dialog), expected.control);
        ASSERT_NE(control, nullptr) << expected.dialog << "/" << expected.control;
        EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), expected.windowClass), 0) << expected.control;
    }
}

TEST_F(SettingsTemplates, ProfilePagesStartInTheTwoStepModesStates) {
    for (int id : {IDD_PROFILE1_PAGE, IDD_PROFILE2_PAGE}) {
        HWND page = Make(id);
        for (const ControlEnable& control : ControlStatesForMode(PageMode::TwoStep)) {
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(page, control.id)) != FALSE, control.enabled)
                << id << "/" << control.id;
        }
        const LONG list = GetWindowLongW(GetDlgItem(page, IDC_ACCOUNT_LIST), GWL_STYLE);
        EXPECT_EQ(list & (CBS_DROPDOWNLIST | CBS_SORT), CBS_DROPDOWNLIST) << "an unsorted drop-down list";
        EXPECT_TRUE(GetWindowLongW(GetDlgItem(page, IDC_LENGTH_EDIT), GWL_STYLE) & ES_NUMBER);
    }
}

TEST_F(SettingsTemplates, ModeRadioButtonsFormOneGroup) {
    HWND page = Make(IDD_PROFILE1_PAGE);
    for (int chosen : {IDC_STATIC_RADIO, IDC_OTHERS_RADIO, IDC_TWO_STEP_RADIO}) {
        EnableWindow(GetDlgItem(page, chosen), TRUE);
        SendDlgItemMessageW(page, chosen, BM_CLICK, 0, 0);
        for (int radio : {IDC_TWO_STEP_RADIO, IDC_STATIC_RADIO, IDC_OTHERS_RADIO}) {
            EXPECT_EQ(IsDlgButtonChecked(page, radio) == BST_CHECKED, radio == chosen) << chosen << "/" << radio;
        }
    }
}

TEST_F(SettingsTemplates, StatusMarksStartHiddenWithTheirPicture) {
    HWND page = Make(IDD_HOTKEY_PAGE);
    for (int mark : {IDC_CODE_STATUS_MARK, IDC_SWITCH_STATUS_MARK}) {
        HWND control = GetDlgItem(page, mark);
        EXPECT_FALSE(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) << mark;
        EXPECT_NE(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << mark;
    }
}

}  // namespace
}  // namespace orvika2
