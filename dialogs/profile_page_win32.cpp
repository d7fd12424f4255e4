#include "dialogs/profile_page_win32.h"

#include <shellapi.h>

#include "app/ui_language_win32.h"
#include "desktop/balloon_win32.h"
#include "dialogs/account_name_dialog_win32.h"
#include "dialogs/backup_dialogs_win32.h"
#include "dialogs/profile_page.h"
#include "dialogs/settings_window.h"
#include "dialogs/token_section.h"
#include "dialogs/ui_message_win32.h"
#include "resources/resource.h"
#include "token/password_generator.h"

namespace orvika2 {
namespace {

// Everything the page reports in a message box is a failure except these.
UINT StyleForMessage(int messageId) {
    switch (messageId) {
        case kMsgProfileDeleted:
        case kMsgDeleteFailed:
        case kMsgSettingSuccessful: return kMessageInformation;
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
    Check(kTwoStepRadio, true);
    SetDlgItemTextW(hwnd(), kPasswordLengthEdit, std::wstring(kInitialPasswordLength).c_str());
    Check(kLettersCheck, true);
    Check(kDigitsCheck, true);
    accounts_.assign(FixedAccountEntries().begin(), FixedAccountEntries().end());
    for (const std::wstring& entry : accounts_) {
        SendDlgItemMessageW(hwnd(), kAccountList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
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
    const auto mode = PageModeFromRadios(IsChecked(kTwoStepRadio), IsChecked(kStaticRadio), IsChecked(kOthersRadio));
    if (!mode) return;
    for (const ControlEnable& control : ControlStatesForMode(*mode)) EnableWindow(Item(control.id), control.enabled);
}

void ProfilePage::OnAccountSelected() {
    const auto index = static_cast<int>(SendDlgItemMessageW(hwnd(), kAccountList, CB_GETCURSEL, 0, 0));
    const AccountSelection selection = orvika2::OnAccountSelected(index, UiLanguageId());
    if (selection.action == AccountAction::OfferHelpPage) {
        if (ShowUiMessage(kMsgOpenHelpPage, kQuestionInformation) == IDYES) {
            const std::wstring page(selection.helpPage);
            ShellExecuteW(GetDesktopWindow(), L"open", page.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
        }
    } else if (selection.action == AccountAction::AskAccountName) {
        const auto name = AskAccountName(Owner());
        if (name) SendDlgItemMessageW(hwnd(), kAccountList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name->c_str()));
        if (const auto select = AddCustomAccount(accounts_, name)) {
            SendDlgItemMessageW(hwnd(), kAccountList, CB_SETCURSEL, *select, 0);
        }
    }
}

void ProfilePage::OnApplyTwoStep() {
    const auto index = SendDlgItemMessageW(hwnd(), kAccountList, CB_GETCURSEL, 0, 0);
    std::optional<std::wstring> account;
    if (index >= 0 && static_cast<std::size_t>(index) < accounts_.size()) account = accounts_[index];
    const SecretWString key(WindowText(Item(kSecretKeyEdit)));
    ProfilePageContext page = Context();
    Show(ApplyTwoStep(page, account, key.get(), IsChecked(kRequireTouchCheck)));
}

void ProfilePage::OnApplyStatic() {
    const SecretWString password(WindowText(Item(kStaticPasswordEdit)));
    ProfilePageContext page = Context();
    Show(WriteStaticProfile(page, password.get(), true));
}

void ProfilePage::OnGenerate() {
    unsigned classes = 0;
    if (IsChecked(kLettersCheck)) classes |= kPasswordLetters;
    if (IsChecked(kDigitsCheck)) classes |= kPasswordDigits;
    if (IsChecked(IDC_SPECIAL_CHECK)) classes |= kPasswordSpecial;
    const GeneratedPassword generated = GeneratePagePassword(WindowText(Item(kPasswordLengthEdit)), classes);
    if (generated.messageId != 0) {
        ShowUiMessage(generated.messageId, kMessageWarning);
        return;
    }
    SetDlgItemTextW(hwnd(), kStaticPasswordEdit, generated.password.get().c_str());
}

void ProfilePage::OnImport() {
    const auto path = AskBackupOpenPath(Owner());
    if (!path) return;
    ProfilePageContext page = Context();
    ImportProfileBackup(
        page, *path, [] { return ShowUiMessage(kMsgRequireTouchQuestion, kQuestionInformation) == IDYES; },
        [this](const PageOutcome& outcome) { Show(outcome); }, &WidenAnsi);
}

void ProfilePage::OnDelete() {
    if (ShowUiMessage(kMsgDeleteProfileQuestion, kConfirmWarning) != IDOK) return;
    ProfilePageContext page = Context();
    Show(DeleteProfile(page));
}

void ProfilePage::Show(const PageOutcome& outcome) {
    if (outcome.balloonId != 0) {
        const int anchor = outcome.balloonField == PageField::StaticPassword ? kStaticPasswordEdit : kSecretKeyEdit;
        ShowBalloonMsg(LoadUiString(kBalloonReminderTitle), LoadUiString(outcome.balloonId), Item(anchor), hwnd(),
                       GetModuleHandleW(nullptr), BalloonIcon::Warning, false);
    }
    if (outcome.applied) RefreshMainWindow();
    if (outcome.messageId == kMsgSaveBackupQuestion && outcome.backup) {
        if (ShowUiMessage(kMsgSaveBackupQuestion, kQuestionInformation) == IDYES) {
            // The save reports and refreshes the settings window itself.
            SaveProfileBackup(Owner(), services_->store, outcome.backupFileName, *outcome.backup);
            return;
        }
        ShowUiMessage(kMsgSettingSuccessful, kMessageInformation);
        RefreshSettingsWindow();
        return;
    }
    if (outcome.messageId == 0) return;
    const std::wstring suffix = outcome.failureCode ? std::to_wstring(*outcome.failureCode) : std::wstring();
    ShowUiMessage(outcome.messageId, StyleForMessage(outcome.messageId), suffix);
    // A written profile shows its already-set page; a deleted one stays.
    if (outcome.applied && outcome.messageId == kMsgSettingSuccessful) RefreshSettingsWindow();
}

}  // namespace orvika2
