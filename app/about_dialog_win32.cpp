#include "app/about_dialog_win32.h"

#include "app/floating_window.h"
#include "desktop/product_version_win32.h"
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

}  // namespace orvika2
