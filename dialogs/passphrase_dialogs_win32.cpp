#include "dialogs/passphrase_dialogs_win32.h"

#include "desktop/balloon_win32.h"
#include "platform/text.h"
#include "resources/resource.h"
#include "settings/backup_file.h"
#include "ui/ui_language_win32.h"

namespace orvika2 {
namespace {

// The caption and control texts in the chosen language, and the keyboard in
// the passphrase box. FALSE for WM_INITDIALOG: the focus is set.
BOOL ShowTexts(HWND dialog, int caption, std::initializer_list<std::pair<int, int>> controls) {
    SetWindowTextW(dialog, LoadUiString(caption).c_str());
    for (const auto& [control, string] : controls) SetDlgItemTextW(dialog, control, LoadUiString(string).c_str());
    for (const auto& [control, string] : {std::pair{IDOK, IDS_OK}, std::pair{IDCANCEL, IDS_CANCEL}}) {
        SetDlgItemTextW(dialog, control, LoadUiString(string).c_str());
    }
    SetFocus(GetDlgItem(dialog, IDC_PASSPHRASE_EDIT));
    return FALSE;
}

SecretString Utf8Of(const SecretWString& text) { return SecretString(NarrowUtf8(text.get())); }

// Enter and Escape end the dialog; whatever was typed is gone from it then.
bool EndsDialog(UINT message, WPARAM wParam) {
    return message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL);
}

void ClearPassphrases(HWND dialog) {
    for (const int edit : {IDC_PASSPHRASE_EDIT, IDC_REPEAT_EDIT}) {
        if (HWND control = GetDlgItem(dialog, edit)) ClearSecretText(control);
    }
}

}  // namespace

ProtectBackupDlg::ProtectBackupDlg() : DialogBase(IDD_PROTECT_BACKUP) {}

BOOL ProtectBackupDlg::OnInitDialog() {
    return ShowTexts(hwnd(), IDS_PROTECT_BACKUP_CAPTION,
                     {{IDC_PASSPHRASE_LABEL, IDS_PASSPHRASE_LABEL},
                      {IDC_REPEAT_LABEL, IDS_REPEAT_PASSPHRASE_LABEL},
                      {IDC_NO_PASSPHRASE_CHECK, IDS_SAVE_WITHOUT_PASSPHRASE},
                      {IDC_NO_PASSPHRASE_NOTE, IDS_NO_PASSPHRASE_WARNING}});
}

bool ProtectBackupDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_NO_PASSPHRASE_CHECK && HIWORD(wParam) == BN_CLICKED) {
        OnPlainChoice();
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        OnOk();
        result = 0;
        return true;
    }
    if (EndsDialog(message, wParam) || message == WM_DESTROY) ClearPassphrases(hwnd());
    return DialogBase::OnMessage(message, wParam, lParam, result);
}

void ProtectBackupDlg::OnPlainChoice() {
    const bool plain = IsDlgButtonChecked(hwnd(), IDC_NO_PASSPHRASE_CHECK) == BST_CHECKED;
    if (plain) ClearPassphrases(hwnd());
    for (const int control : {IDC_PASSPHRASE_LABEL, IDC_PASSPHRASE_EDIT, IDC_REPEAT_LABEL, IDC_REPEAT_EDIT}) {
        EnableWindow(Item(control), !plain);
    }
}

void ProtectBackupDlg::OnOk() {
    if (IsDlgButtonChecked(hwnd(), IDC_NO_PASSPHRASE_CHECK) == BST_CHECKED) {
        protection_ = {};
        EndDialog(IDOK);
        return;
    }
    const SecretWString first(WindowText(Item(IDC_PASSPHRASE_EDIT)));
    const SecretWString second(WindowText(Item(IDC_REPEAT_EDIT)));
    if (const int refusal = BackupPassphraseRefusal(first.get(), second.get())) {
        const int anchor = refusal == IDS_PASSPHRASE_TOO_SHORT ? IDC_PASSPHRASE_EDIT : IDC_REPEAT_EDIT;
        ShowBalloonMsg(LoadUiString(IDS_REMINDER), LoadUiString(refusal), Item(anchor), hwnd(),
                       GetModuleHandleW(nullptr), BalloonIcon::Warning, false);
        return;
    }
    protection_.passphrase = Utf8Of(first);
    ClearPassphrases(hwnd());
    EndDialog(IDOK);
}

OpenBackupDlg::OpenBackupDlg() : DialogBase(IDD_OPEN_BACKUP) {}

BOOL OpenBackupDlg::OnInitDialog() {
    return ShowTexts(hwnd(), IDS_OPEN_BACKUP_CAPTION,
                     {{IDC_OPEN_BACKUP_PROMPT, IDS_OPEN_BACKUP_PROMPT}, {IDC_PASSPHRASE_LABEL, IDS_PASSPHRASE_LABEL}});
}

bool OpenBackupDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) passphrase_ = Utf8Of(SecretWString(WindowText(Item(IDC_PASSPHRASE_EDIT))));
    if (EndsDialog(message, wParam) || message == WM_DESTROY) ClearPassphrases(hwnd());
    return DialogBase::OnMessage(message, wParam, lParam, result);
}

std::optional<BackupProtection> AskBackupProtection(HWND owner) {
    ProtectBackupDlg dialog;
    if (dialog.DoModal(owner) != IDOK) return std::nullopt;
    return dialog.TakeProtection();
}

std::optional<SecretString> AskBackupPassphrase(HWND owner) {
    OpenBackupDlg dialog;
    if (dialog.DoModal(owner) != IDOK) return std::nullopt;
    return dialog.TakePassphrase();
}

}  // namespace orvika2
