#pragma once
// The profile page's decisions apart from the token operations themselves
// (profiles/profile_operations.h): which controls each mode enables, the
// account list and its help pages, and the Apply of the 2-Step Verification
// group.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/token_section.h"
#include "profiles/profile_operations.h"
#include "resources/resource.h"
#include "ui/ui_strings.h"

namespace orvika2 {

// At every initialisation: the page's own section from the token's serial
// (UpdateSectionFromSerial, message 3 when unreadable), radio 1065 checked,
// length "12", letters and digits checked.
inline constexpr std::wstring_view kInitialPasswordLength = L"12";

enum class PageMode { TwoStep, StaticPassword, Others };

// The mode of the first checked radio button, in the order 1065, 1072,
// 1073; none checked gives nullopt and the controls stay as they are.
std::optional<PageMode> PageModeFromRadios(bool twoStepChecked, bool staticChecked, bool othersChecked);

struct ControlEnable {
    int id;
    bool enabled;
};
// The enabled state of every control that a mode change sets. Texts, check
// marks and the list selection stay.
std::span<const ControlEnable> ControlStatesForMode(PageMode mode);

// The fixed entries of the account list, in order; the order carries the
// help pages and "New".
std::span<const std::wstring_view> FixedAccountEntries();
inline constexpr int kNewAccountEntry = 4;

enum class AccountAction {
    None,
    // Ask message 4; Yes opens `helpPage` with the "open" verb, maximised.
    OfferHelpPage,
    // Run the account-name dialog, then AddCustomAccount.
    AskAccountName,
};
struct AccountSelection {
    AccountAction action = AccountAction::None;
    std::wstring_view helpPage;
};
AccountSelection OnAccountSelected(int index, LanguageId language);

// The list's select-by-prefix rule: the first entry that begins with
// `prefix`, ignoring case, searching from entry 1 to the end and then entry
// 0. An empty prefix finds nothing.
std::optional<std::size_t> FindEntryByPrefix(std::span<const std::wstring> entries, std::wstring_view prefix);

// After the account-name dialog: an accepted name is appended and the entry
// to select is looked up by the name as a prefix, so "Face" selects
// "Facebook" rather than the new entry. A cancelled dialog looks up the
// empty text, which finds nothing: nullopt means the selection stays on
// "New".
std::optional<std::size_t> AddCustomAccount(std::vector<std::wstring>& entries,
                                            const std::optional<std::wstring>& acceptedName);

// Apply of the 2-Step Verification group. Without a selected account:
// message 2 and no token session, unless the key field holds a link, which
// names its own account. Otherwise the write, offering a backup; `shape` is
// what the page's digits and period controls hold.
PageOutcome ApplyTwoStep(ProfilePageContext& page, const std::optional<std::wstring>& selectedAccount,
                         std::wstring_view keyText, bool requireTouch, CodeShape shape = {});

// The shape the digits list (entries "6", "7", "8") and the period field
// give; the list starts on 6 and the field on "30".
inline constexpr std::wstring_view kInitialPeriod = L"30";
CodeShape ShapeFromControls(int digitsIndex, std::wstring_view periodText);
std::span<const std::wstring_view> DigitsEntries();

}  // namespace orvika2
