#include "dialogs/already_set_page_win32.h"

#include <string>

#include "dialogs/settings_window.h"
#include "resources/resource.h"
#include "ui/ui_message_win32.h"

namespace orvika2 {
namespace {

constexpr int kFontPoints = 12;
constexpr wchar_t kFontFace[] = L"微軟正黑體";
// Reset brings back the profile page of the selected tab.
constexpr WPARAM kShowSelectedTabPage = 3;

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(HDC dc, const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, &FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// Where the face is missing, the dialog's own face, whose font links cover
// the Chinese texts, at the same size.
std::wstring LabelFace(HWND dialog, HDC dc) {
    if (FaceInstalled(dc, kFontFace)) return kFontFace;
    LOGFONTW dialogFont{};
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (font && GetObjectW(font, sizeof(dialogFont), &dialogFont)) return dialogFont.lfFaceName;
    return kFontFace;
}

}  // namespace

ShowSettingInfo::ShowSettingInfo() : ChildPage(IDD_ALREADY_SET_PAGE) {}

BOOL ShowSettingInfo::OnInitDialog() {
    const WindowDc dc(hwnd());
    const int height = -MulDiv(kFontPoints, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    const std::wstring face = LabelFace(hwnd(), dc.get());
    font_.reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
    for (int control : {IDC_ALREADY_SET_LABEL, IDC_RESET_BUTTON}) {
        SendDlgItemMessageW(hwnd(), control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
    return TRUE;
}

void ShowSettingInfo::OnCommand(int control, int notification) {
    if (control == IDC_RESET_BUTTON && notification == BN_CLICKED) RefreshSettingsWindow(kShowSelectedTabPage);
}

}  // namespace orvika2
