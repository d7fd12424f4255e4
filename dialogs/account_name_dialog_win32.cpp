#include "dialogs/account_name_dialog_win32.h"

#include "desktop/balloon_win32.h"
#include "dialogs/child_page_win32.h"
#include "dialogs/settings_window.h"
#include "profiles/account_name.h"
#include "resources/resource.h"
#include "ui/ui_language_win32.h"

namespace orvika2 {

newAccount::newAccount() : DialogBase(IDD_ACCOUNT_NAME) {}

BOOL newAccount::OnInitDialog() {
    SetDlgItemTextW(hwnd(), IDC_ACCOUNT_NAME_EDIT, L"");
    SetWindowTextW(hwnd(), LoadUiString(IDS_ACCOUNT_NAME_CAPTION).c_str());
    SetDlgItemTextW(hwnd(), IDC_ACCOUNT_NAME_LABEL, LoadUiString(IDS_ACCOUNT_NAME_LABEL).c_str());
    SetDlgItemTextW(hwnd(), IDOK, LoadUiString(IDS_ACCOUNT_NAME_OK).c_str());
    SetDlgItemTextW(hwnd(), IDCANCEL, LoadUiString(IDS_ACCOUNT_NAME_CANCEL).c_str());
    return TRUE;
}

bool newAccount::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        OnOk();
        result = 0;
        return true;
    }
    return DialogBase::OnMessage(message, wParam, lParam, result);
}

void newAccount::OnOk() {
    accountName_ = WindowText(Item(IDC_ACCOUNT_NAME_EDIT));
    const int refusal = CheckAccountName(accountName_);
    if (refusal == 0) {
        EndDialog(IDOK);
        return;
    }
    ShowBalloonMsg(LoadUiString(IDS_REMINDER), LoadUiString(refusal), Item(IDC_ACCOUNT_NAME_EDIT), hwnd(),
                   GetModuleHandleW(nullptr), BalloonIcon::Warning, false);
}

std::optional<std::wstring> AskAccountName(HWND owner) {
    newAccount dialog;
    if (dialog.DoModal(owner) != IDOK) return std::nullopt;
    return dialog.AccountName();
}

}  // namespace orvika2
