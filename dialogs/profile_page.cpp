#include "dialogs/profile_page.h"

#include "dialogs/help_pages.h"
#include "profiles/totp_link.h"
#include "settings/config_file.h"


namespace orvika2 {
namespace {

constexpr std::wstring_view kFixedAccounts[] = {L"Google", L"Dropbox", L"Facebook", L"WindowsLive", L"New"};
constexpr std::wstring_view kDigitsEntries[] = {L"6", L"7", L"8"};

constexpr ControlEnable kTwoStepStates[] = {
    {1066, true},  {1067, true},  {1068, true},  {1069, true},  {1070, true},  {1071, true},
    {IDC_CODE_DIGITS_LABEL, true}, {IDC_CODE_DIGITS_LIST, true}, {IDC_CODE_PERIOD_LABEL, true}, {IDC_CODE_PERIOD_EDIT, true},
    {1074, false}, {1080, false}, {1075, false}, {1076, false}, {1077, false}, {1081, false},
    {1078, false}, {1079, false}, {1082, false}, {1083, false}, {1084, false},
};
constexpr ControlEnable kStaticStates[] = {
    {1066, false}, {1067, false}, {1068, false}, {1069, false}, {1070, false}, {1071, false},
    {IDC_CODE_DIGITS_LABEL, false}, {IDC_CODE_DIGITS_LIST, false}, {IDC_CODE_PERIOD_LABEL, false}, {IDC_CODE_PERIOD_EDIT, false},
    {1074, true},  {1080, true},  {1075, true},  {1076, true},  {1077, true},  {1081, true},
    {1078, true},  {1079, true},  {1082, true},  {1083, false}, {1084, false},
};
constexpr ControlEnable kOthersStates[] = {
    {1066, false}, {1067, false}, {1068, false}, {1069, false}, {1070, false}, {1071, false},
    {IDC_CODE_DIGITS_LABEL, false}, {IDC_CODE_DIGITS_LIST, false}, {IDC_CODE_PERIOD_LABEL, false}, {IDC_CODE_PERIOD_EDIT, false},
    {1074, false}, {1080, false}, {1075, false}, {1076, false}, {1077, false}, {1081, false},
    {1078, false}, {1079, false}, {1082, false}, {1083, true},  {1084, true},
};

// Case folding for the letters of the Latin-1 range, the same on every
// platform whatever the C locale.
wchar_t FoldCase(wchar_t c) {
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<wchar_t>(c + 0x20);
    return c;
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (FoldCase(text[i]) != FoldCase(prefix[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<PageMode> PageModeFromRadios(bool twoStepChecked, bool staticChecked, bool othersChecked) {
    if (twoStepChecked) return PageMode::TwoStep;
    if (staticChecked) return PageMode::StaticPassword;
    if (othersChecked) return PageMode::Others;
    return std::nullopt;
}

std::span<const ControlEnable> ControlStatesForMode(PageMode mode) {
    switch (mode) {
        case PageMode::TwoStep: return kTwoStepStates;
        case PageMode::StaticPassword: return kStaticStates;
        case PageMode::Others: break;
    }
    return kOthersStates;
}

std::span<const std::wstring_view> FixedAccountEntries() { return kFixedAccounts; }

AccountSelection OnAccountSelected(int index, LanguageId language) {
    if (index == kNewAccountEntry) return {.action = AccountAction::AskAccountName};
    const std::wstring_view page = HelpPageUrl(index, language);
    if (page.empty()) return {};
    return {.action = AccountAction::OfferHelpPage, .helpPage = page};
}

std::optional<std::size_t> FindEntryByPrefix(std::span<const std::wstring> entries, std::wstring_view prefix) {
    if (prefix.empty() || entries.empty()) return std::nullopt;
    for (std::size_t step = 1; step <= entries.size(); ++step) {
        const std::size_t index = step % entries.size();
        if (StartsWithIgnoringCase(entries[index], prefix)) return index;
    }
    return std::nullopt;
}

std::optional<std::size_t> AddCustomAccount(std::vector<std::wstring>& entries,
                                            const std::optional<std::wstring>& acceptedName) {
    if (!acceptedName) return std::nullopt;
    entries.push_back(*acceptedName);
    return FindEntryByPrefix(entries, *acceptedName);
}

PageOutcome ApplyTwoStep(ProfilePageContext& page, const std::optional<std::wstring>& selectedAccount,
                         std::wstring_view keyText, bool requireTouch, CodeShape shape) {
    if (!selectedAccount && !LooksLikeLink(keyText)) {
        PageOutcome outcome;
        outcome.messageId = IDS_SELECT_ACCOUNT_TYPE;
        return outcome;
    }
    return WriteTwoStepProfile(page, keyText, selectedAccount.value_or(L""), requireTouch, true, shape);
}

std::span<const std::wstring_view> DigitsEntries() { return kDigitsEntries; }

CodeShape ShapeFromControls(int digitsIndex, std::wstring_view periodText) {
    CodeShape shape;
    if (digitsIndex >= 0 && digitsIndex < static_cast<int>(std::size(kDigitsEntries))) {
        shape.digits = kMinCodeDigits + digitsIndex;
    }
    // An empty or unreadable period is refused by the write, not replaced.
    shape.periodSeconds = ParseShapeNumber(periodText).value_or(0);
    return shape;
}


}  // namespace orvika2
