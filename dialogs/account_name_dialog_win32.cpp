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
    SetDlgItemTextW(hwnd(), kAccountNameEdit, L"");
    SetWindowTextW(hwnd(), LoadUiString(kAccountNameCaptionString).c_str());
    SetDlgItemTextW(hwnd(), IDOK, LoadUiString(kAccountNameOkString).c_str());
    SetDlgItemTextW(hwnd(), IDCANCEL, LoadUiString(kAccountNameCancelString).c_str());
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
    accountName_ = WindowText(Item(kAccountNameEdit));
    const int refusal = CheckAccountName(accountName_);
    if (refusal == 0) {
        EndDialog(IDOK);
        return;
    }
    ShowBalloonMsg(LoadUiString(kBalloonReminderTitle), LoadUiString(refusal), Item(kAccountNameEdit), hwnd(),
                   GetModuleHandleW(nullptr), BalloonIcon::Warning, false);
}

std::optional<std::wstring> AskAccountName(HWND owner) {
    newAccount dialog;
    if (dialog.DoModal(owner) != IDOK) return std::nullopt;
    return dialog.AccountName();
}

}  // namespace orvika2
