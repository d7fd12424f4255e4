#include "app/about_dialog_win32.h"

#include "app/floating_window.h"
#include "desktop/product_version_win32.h"
#include "platform/win32_handles_win32.h"
#include "resources/resource.h"
#include "ui/ui_language_win32.h"

namespace orvika2 {

CAboutDlg::CAboutDlg() : DialogBase(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    SetDlgItemTextW(hwnd(), IDC_ABOUT_VERSION, AboutVersionLine(&LoadUiString, GetProductVersion()).c_str());
    SetWindowTextW(hwnd(), LoadUiString(IDS_ABOUT_CAPTION).c_str());
    SetDlgItemTextW(hwnd(), IDOK, LoadUiString(IDS_OK).c_str());
    return TRUE;
}

bool CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_PAINT) return DialogBase::OnMessage(message, wParam, lParam, result);
    const PaintDc dc(hwnd());
    // Where the template's icon stood, at the size an icon control takes.
    RECT place{12, 12, 0, 0};
    MapDialogRect(hwnd(), &place);
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ORVIKA2));
    DrawIconEx(dc.get(), place.left, place.top, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    result = 0;
    return true;
}

}  // namespace orvika2
