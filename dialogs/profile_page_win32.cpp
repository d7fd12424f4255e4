#include "dialogs/profile_page_win32.h"

#include <shellapi.h>

#include "desktop/balloon_win32.h"
#include "dialogs/account_name_dialog_win32.h"
#include "dialogs/backup_dialogs_win32.h"
#include "dialogs/passphrase_dialogs_win32.h"
#include "dialogs/profile_page.h"
#include "dialogs/settings_window.h"
#include "dialogs/token_section.h"
#include "resources/resource.h"
#include "token/password_generator.h"
#include "ui/ui_language_win32.h"
#include "ui/ui_message_win32.h"

namespace orvika2 {
namespace {

// Everything the page reports in a message box is a failure except these.
UINT StyleForMessage(int messageId) {
    switch (messageId) {
        case IDS_PROFILE_DELETED:
        case IDS_DELETE_PROFILE_FAILED:
        case IDS_SETTING_SUCCESSFUL:
        case IDS_BACKUP_SAVED:
        case IDS_SET_WITHOUT_BACKUP: return kMessageInformation;
        default: return kMessageWarning;
    }
}

}  // namespace

Config1::Config1() : ProfilePage(IDD_PROFILE1_PAGE, 1) {}
Config2::Config2() : ProfilePage(IDD_PROFILE2_PAGE, 2) {}

ProfilePageContext ProfilePage::Context() {
    return ProfilePageContext{*services_, section_, profile_};
}

HWND ProfilePage::Owner() const { return GetAncestor(hwnd(), GA_ROOT); }

BOOL ProfilePage::OnInitDialog() {
    if (const int message = UpdateSectionFromSerial(services_->Token(), section_)) {
        ShowUiMessage(message, kMessageWarning);
    }
    Check(IDC_TWO_STEP_RADIO, true);
    SetDlgItemTextW(hwnd(), IDC_LENGTH_EDIT, std::wstring(kInitialPasswordLength).c_str());
    Check(IDC_LETTERS_CHECK, true);
    Check(IDC_DIGITS_CHECK, true);
    accounts_.assign(FixedAccountEntries().begin(), FixedAccountEntries().end());
    for (const std::wstring& entry : accounts_) {
        SendDlgItemMessageW(hwnd(), IDC_ACCOUNT_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    for (const std::wstring_view entry : DigitsEntries()) {
        SendDlgItemMessageW(hwnd(), IDC_CODE_DIGITS_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::wstring(entry).c_str()));
    }
    SendDlgItemMessageW(hwnd(), IDC_CODE_DIGITS_LIST, CB_SETCURSEL, 0, 0);
    SetDlgItemTextW(hwnd(), IDC_CODE_PERIOD_EDIT, std::wstring(kInitialPeriod).c_str());
    return TRUE;
}

void ProfilePage::OnCommand(int control, int notification) {
    switch (control) {
        case IDC_TWO_STEP_RADIO:
        case IDC_STATIC_RADIO:
        case IDC_OTHERS_RADIO:
            if (notification == BN_CLICKED) OnModeChange();
            break;
        case IDC_ACCOUNT_LIST:
            if (notification == CBN_SELCHANGE) OnAccountSelected();
            break;
        case IDC_TWO_STEP_APPLY: OnApplyTwoStep(); break;
        case IDC_GENERATE_BUTTON: OnGenerate(); break;
        case IDC_STATIC_APPLY: OnApplyStatic(); break;
        case IDC_IMPORT_BUTTON: OnImport(); break;
        case IDC_DELETE_BUTTON: OnDelete(); break;
        default: break;
    }
}

void ProfilePage::OnModeChange() {
    const auto mode = PageModeFromRadios(IsChecked(IDC_TWO_STEP_RADIO), IsChecked(IDC_STATIC_RADIO), IsChecked(IDC_OTHERS_RADIO));
    if (!mode) return;
    for (const ControlEnable& control : ControlStatesForMode(*mode)) EnableWindow(Item(control.id), control.enabled);
}

void ProfilePage::OnAccountSelected() {
    const auto index = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_ACCOUNT_LIST, CB_GETCURSEL, 0, 0));
    const AccountSelection selection = orvika2::OnAccountSelected(index, UiLanguageId());
    if (selection.action == AccountAction::OfferHelpPage) {
        if (ShowUiMessage(IDS_OPEN_HELP_PAGE_QUESTION, kQuestionInformation) == IDYES) {
            const std::wstring page(selection.helpPage);
            ShellExecuteW(GetDesktopWindow(), L"open", page.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
        }
    } else if (selection.action == AccountAction::AskAccountName) {
        const auto name = AskAccountName(Owner());
        if (name) SendDlgItemMessageW(hwnd(), IDC_ACCOUNT_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name->c_str()));
        if (const auto select = AddCustomAccount(accounts_, name)) {
            SendDlgItemMessageW(hwnd(), IDC_ACCOUNT_LIST, CB_SETCURSEL, *select, 0);
        }
    }
}

void ProfilePage::OnApplyTwoStep() {
    const auto index = SendDlgItemMessageW(hwnd(), IDC_ACCOUNT_LIST, CB_GETCURSEL, 0, 0);
    std::optional<std::wstring> account;
    if (index >= 0 && static_cast<std::size_t>(index) < accounts_.size()) account = accounts_[index];
    const SecretWString key(WindowText(Item(IDC_SECRET_KEY_EDIT)));
    ProfilePageContext page = Context();
    const auto digits = static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_CODE_DIGITS_LIST, CB_GETCURSEL, 0, 0));
    const CodeShape shape = ShapeFromControls(digits, WindowText(Item(IDC_CODE_PERIOD_EDIT)));
    Show(ApplyTwoStep(page, account, key.get(), IsChecked(IDC_REQUIRE_TOUCH_CHECK), shape));
}

void ProfilePage::OnApplyStatic() {
    const SecretWString password(WindowText(Item(IDC_PASSWORD_EDIT)));
    ProfilePageContext page = Context();
    Show(WriteStaticProfile(page, password.get(), true));
}

void ProfilePage::OnGenerate() {
    unsigned classes = 0;
    if (IsChecked(IDC_LETTERS_CHECK)) classes |= kPasswordLetters;
    if (IsChecked(IDC_DIGITS_CHECK)) classes |= kPasswordDigits;
    if (IsChecked(IDC_SPECIAL_CHECK)) classes |= kPasswordSpecial;
    const GeneratedPassword generated = GeneratePagePassword(WindowText(Item(IDC_LENGTH_EDIT)), classes);
    if (generated.messageId != 0) {
        ShowUiMessage(generated.messageId, kMessageWarning);
        return;
    }
    SetDlgItemTextW(hwnd(), IDC_PASSWORD_EDIT, generated.password.get().c_str());
}

void ProfilePage::OnImport() {
    const auto path = AskBackupOpenPath(Owner());
    if (!path) return;
    ProfilePageContext page = Context();
    const ImportPrompts prompts{
        [] { return ShowUiMessage(IDS_REQUIRE_TOUCH_QUESTION, kQuestionInformation) == IDYES; },
        [this](bool) { return AskBackupPassphrase(Owner()); }, [this](const PageOutcome& outcome) { Show(outcome); }};
    ImportProfileBackup(page, *path, prompts, &WidenAnsi);
}

void ProfilePage::OnLeave() {
    // No program of the session reads a secret from the boxes once it is
    // written, or once the user has gone elsewhere.
    ClearSecretText(Item(IDC_SECRET_KEY_EDIT));
    ClearSecretText(Item(IDC_PASSWORD_EDIT));
}

void ProfilePage::OnDelete() {
    if (ShowUiMessage(IDS_DELETE_PROFILE_QUESTION, kConfirmWarning) != IDOK) return;
    ProfilePageContext page = Context();
    Show(DeleteProfile(page));
}

void ProfilePage::Show(const PageOutcome& outcome) {
    if (outcome.balloonId != 0) {
        const int anchor = outcome.balloonField == PageField::StaticPassword ? IDC_PASSWORD_EDIT
                           : outcome.balloonField == PageField::CodePeriod   ? IDC_CODE_PERIOD_EDIT
                                                                             : IDC_SECRET_KEY_EDIT;
        ShowBalloonMsg(LoadUiString(IDS_REMINDER), LoadUiString(outcome.balloonId), Item(anchor), hwnd(),
                       GetModuleHandleW(nullptr), BalloonIcon::Warning, false);
    }
    if (outcome.applied) {
        OnLeave();
        RefreshMainWindow();
    }
    if (outcome.messageId == IDS_SAVE_BACKUP_QUESTION && outcome.backup) {
        // Offered even when the entry failed: it may be the only copy of the secret.
        BackupOfferResult result = BackupOfferResult::NotWanted;
        if (ShowUiMessage(IDS_SAVE_BACKUP_QUESTION, kQuestionInformation) == IDYES) {
            result = SaveProfileBackup(Owner(), services_->store, outcome.backupFileName, *outcome.backup);
        }
        for (const int message : BackupOfferMessages(result, outcome.entrySaved)) {
            ShowUiMessage(message, StyleForMessage(message));
        }
        RefreshSettingsWindow();
        return;
    }
    if (outcome.messageId == 0) return;
    const std::wstring suffix = outcome.failureCode ? std::to_wstring(*outcome.failureCode) : std::wstring();
    ShowUiMessage(outcome.messageId, StyleForMessage(outcome.messageId), suffix);
    // A written profile shows its already-set page; a deleted one stays.
    if (outcome.applied && outcome.messageId == IDS_SETTING_SUCCESSFUL) RefreshSettingsWindow();
}

}  // namespace orvika2
