#include "app/profile_tracking.h"

#include <utility>

#include "resources/resource.h"
#include "settings/config_file.h"
#include "settings/profile_mode.h"
#include "token/code_generator.h"

namespace orvika2 {
namespace {

constexpr unsigned kUsable = 0;


int MenuItem(int profile) { return profile == 1 ? ID_PROFILE_1 : ID_PROFILE_2; }
int ButtonHint(int profile) { return profile == 1 ? IDS_HOLD_KEY_ONE_SECOND : IDS_HOLD_BUTTON_THREE_SECONDS; }

bool Contains(const std::wstring& text, std::wstring_view part) { return text.find(part) != std::wstring::npos; }

bool HasConfiguredProfile(const TokenStatus& status) {
    return status.FirmwareAtLeast(2, 1) && (status.profileFlags & 3) != 0;
}

// Opens the token when exactly one is listed; otherwise leaves it closed.
void OpenSingleToken(CTokenLib& token) {
    if (token.EnumerateTokens() == 1) token.OpenListedToken();
}

}  // namespace

std::wstring ProfileTracking::Entry(int profile) const {
    return ReadProfileEntry(services_.store, services_.config.file, section_, profile);
}

void ProfileTracking::WriteEntry(int profile, std::wstring_view entry) {
    WriteProfileEntry(services_.store, services_.config.file, section_, profile, entry);
}

std::wstring ProfileTracking::SimulatedTokenLine() const {
    if (services_.simulatedTokenFile.empty()) return {};
    return L"\n" + String(IDS_SIMULATED_TOKEN_IN_USE) + services_.simulatedTokenFile;
}

void ProfileTracking::Notice(MainWindowPort::Anchor anchor, const std::wstring& title, const std::wstring& text) {
    window_.ShowNotice(anchor, title, text + SimulatedTokenLine());
}

void ProfileTracking::Tip(const std::wstring& text) { window_.SetCodeButtonTip(text + SimulatedTokenLine()); }

void ProfileTracking::Reminder(MainWindowPort::Anchor anchor, int textId) {
    Notice(anchor, String(IDS_REMINDER), String(textId));
}

void ProfileTracking::DisableEverything() {
    for (const int item : {ID_PROFILE_1, ID_PROFILE_2}) {
        window_.CheckMenuItem(item, false);
        window_.EnableMenuItem(item, false);
    }
    window_.EnableCodeButton(false);
}

bool ProfileTracking::OpenRefusingSeveral(CTokenLib& token) {
    if (token.Open() != TokenResult::MoreThanOneToken) return false;
    Reminder(MainWindowPort::Anchor::CodeButton, IDS_ONLY_ONE_TOKEN);
    DisableEverything();
    return true;
}

void ProfileTracking::RefreshProfile(CTokenLib& token, const TokenStatus& status, int profile) {
    const ProbeResult probe = ProbeProfileKind(token, status, profile);
    // A passing failure says nothing about the profile: its entry stays, and
    // it is not offered until the next refresh asks again.
    if (!probe.definite) {
        window_.EnableMenuItem(MenuItem(profile), false);
        return;
    }
    switch (probe.kind) {
    case ProfileKind::NotConfigured:
        WriteEntry(profile, kNotConfiguredEntry);
        window_.EnableMenuItem(MenuItem(profile), false);
        return;
    case ProfileKind::StaticPassword:
        WriteEntry(profile, kStaticPasswordEntry);
        window_.EnableMenuItem(MenuItem(profile), true);
        return;
    case ProfileKind::TwoStep: {
        token.CancelPending();
        const std::wstring entry = Entry(profile);
        std::wstring tip = Label(profile);
        if (!entry.empty()) {
            if (Contains(entry, kStaticPasswordEntry) || Contains(entry, kNotConfiguredEntry)) {
                WriteEntry(profile, L"");
            } else {
                tip += L" ( " + entry + L" ) ";
            }
        }
        Tip(tip);
        window_.EnableMenuItem(MenuItem(profile), true);
        return;
    }
    }
}

void ProfileTracking::RefreshProfiles() {
    if (std::wstring serial = ReadSerialString(services_.Token()); !serial.empty()) section_ = std::move(serial);

    CTokenLib token(services_.Token());
    OpenSingleToken(token);
    TokenStatus status;
    if (!token.IsOpen() || WaitForIdleToken(token, status) != TokenResult::Success) {
        DisableEverything();
        return;
    }
    RefreshProfile(token, status, 1);
    RefreshProfile(token, status, 2);

    if (window_.MenuItemState(ID_PROFILE_1) == kUsable) {
        window_.CheckMenuItem(ID_PROFILE_1, true);
        window_.CheckMenuItem(ID_PROFILE_2, false);
        ActivateProfile(1);
    } else if (window_.MenuItemState(ID_PROFILE_2) == kUsable) {
        SelectProfile(2);
    } else {
        DisableEverything();
    }
}

void ProfileTracking::SelectProfile(int profile) {
    window_.CheckMenuItem(MenuItem(profile), true);
    window_.CheckMenuItem(MenuItem(profile == 1 ? 2 : 1), false);
    ActivateProfile(profile);
}

void ProfileTracking::ActivateProfile(int profile) {
    CTokenLib token(services_.Token());
    OpenSingleToken(token);
    TokenStatus status;
    if (token.IsOpen()) WaitForIdleToken(token, status);
    if (token.ReadStatus(status) != TokenResult::Success) return;

    std::wstring title = Label(profile);
    window_.SetCodeButtonName(CodeButtonName(services_.strings, L""));
    const ProbeResult probe = ProbeProfileKind(token, status, profile);
    if (!probe.definite) {
        // Usable again after the next refresh; what the file knows stays.
        window_.EnableCodeButton(false);
        return;
    }
    switch (probe.kind) {
    case ProfileKind::NotConfigured:
        WriteEntry(profile, kNotConfiguredEntry);
        window_.EnableCodeButton(false);
        return;
    case ProfileKind::StaticPassword: {
        const std::wstring kind = L" ( " + String(IDS_STATIC_PASSWORD) + L" ) ";
        title += kind;
        Tip(kind);
        WriteEntry(profile, kStaticPasswordEntry);
        window_.EnableCodeButton(false);
        Notice(MainWindowPort::Anchor::CodeButton, title,
                           String(IDS_STATIC_PASSWORD_NOTICE) + L" (" + String(ButtonHint(profile)) + L") ");
        return;
    }
    case ProfileKind::TwoStep: {
        token.CancelPending();
        const std::wstring entry = Entry(profile);
        // A marker word is never an account name: cleared as the refresh
        // clears it, so the title shows the bare label.
        if (entry.empty() || Contains(entry, kStaticPasswordEntry) || Contains(entry, kNotConfiguredEntry)) {
            WriteEntry(profile, L"");
        } else {
            title += L" ( " + entry + L" ) ";
            window_.SetCodeButtonName(CodeButtonName(services_.strings, entry));
        }
        Tip(title);
        window_.EnableCodeButton(true);
        Notice(MainWindowPort::Anchor::CodeButton, title, String(IDS_GO_TO_INPUT_BOX));
        return;
    }
    }
}

void ProfileTracking::UpdateMenuLabels() {
    const LanguageMarks marks = LanguageMarksFor(services_.language);
    window_.CheckMenuItem(marks.checked, true);
    window_.CheckMenuItem(marks.unchecked, false);
    for (const MenuLabel& label : MenuLabels(services_.strings, Entry(1), Entry(2))) {
        window_.SetMenuItemText(label.command, label.text);
    }
}

void ProfileTracking::CheckTokenPresence() {
    CTokenLib token(services_.Token());
    if (OpenRefusingSeveral(token)) return;
    TokenStatus status;
    WaitForIdleToken(token, status);
    if (token.ReadStatus(status) != TokenResult::Success) {
        Reminder(MainWindowPort::Anchor::CodeButton, IDS_NOT_INSERTED);
        return;
    }
    if (!HasConfiguredProfile(status)) Reminder(MainWindowPort::Anchor::MenuButton, IDS_NO_PROFILE_SET);
}

void ProfileTracking::PromptFirstUse() {
    CTokenLib token(services_.Token());
    OpenSingleToken(token);
    if (!token.IsOpen()) return;
    TokenStatus status;
    const TokenResult result = WaitForIdleToken(token, status);
    // Without any status report the flags are unknown: no prompt. A token
    // still busy has reported its flags with every report.
    if (result != TokenResult::Success && result != TokenResult::NotReady) return;
    if (HasConfiguredProfile(status) || window_.SettingsWindowOpen()) return;
    window_.ShowMessageBox(String(IDS_NO_PROFILE_SET), kFirstUsePromptFlags);
    window_.RunSettingsCommand();
}

void ProfileTracking::HandleTokenArrival() {
    CTokenLib token(services_.Token());
    if (OpenRefusingSeveral(token)) return;
    Reminder(MainWindowPort::Anchor::CodeButton, IDS_TOKEN_ARRIVED);
    window_.ReloadMenu();
    RefreshProfiles();
    UpdateMenuLabels();
    PromptFirstUse();
}

void ProfileTracking::HandleTokenRemoval() {
    Reminder(MainWindowPort::Anchor::CodeButton, IDS_TOKEN_REMOVED);
    RefreshProfiles();
}

}  // namespace orvika2
