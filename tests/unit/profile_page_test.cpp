#include <gtest/gtest.h>

#include <set>

#include "dialogs/help_pages.h"
#include "dialogs/profile_page.h"
#include "settings/config_file.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_hid.h"
#include "tests/support/memory_profile_store.h"
#include "tests/support/sim_fixture.h"
#include "tests/support/test_services.h"

namespace orvika2 {
namespace {

using testing::FakeClock;
using testing::FakeHidBus;
using testing::MemoryProfileStore;
using testing::SimToken;

std::set<int> EnabledIds(PageMode mode) {
    std::set<int> enabled;
    for (const auto& control : ControlStatesForMode(mode)) {
        if (control.enabled) enabled.insert(control.id);
    }
    return enabled;
}

std::set<int> AllIds(PageMode mode) {
    std::set<int> ids;
    for (const auto& control : ControlStatesForMode(mode)) ids.insert(control.id);
    return ids;
}

TEST(ProfilePageModes, EachModeEnablesOnlyItsOwnGroup) {
    const std::set<int> twoStep{1066, 1067, 1068, 1069, 1070, 1071, IDC_CODE_DIGITS_LABEL, IDC_CODE_DIGITS_LIST,
                                IDC_CODE_PERIOD_LABEL, IDC_CODE_PERIOD_EDIT};
    const std::set<int> staticPassword{1074, 1080, 1075, 1076, 1077, 1081, 1078, 1079, 1082};
    const std::set<int> others{1083, 1084};
    EXPECT_EQ(EnabledIds(PageMode::TwoStep), twoStep);
    EXPECT_EQ(EnabledIds(PageMode::StaticPassword), staticPassword);
    EXPECT_EQ(EnabledIds(PageMode::Others), others);
    // Every mode sets every control, so no state of a previous mode survives.
    std::set<int> all = twoStep;
    all.insert(staticPassword.begin(), staticPassword.end());
    all.insert(others.begin(), others.end());
    for (const auto mode : {PageMode::TwoStep, PageMode::StaticPassword, PageMode::Others}) {
        EXPECT_EQ(AllIds(mode), all);
        EXPECT_EQ(ControlStatesForMode(mode).size(), all.size());
    }
}

TEST(ProfilePageModes, TheFirstCheckedRadioButtonWins) {
    EXPECT_EQ(PageModeFromRadios(true, true, true), PageMode::TwoStep);
    EXPECT_EQ(PageModeFromRadios(false, true, true), PageMode::StaticPassword);
    EXPECT_EQ(PageModeFromRadios(false, false, true), PageMode::Others);
    EXPECT_EQ(PageModeFromRadios(false, false, false), std::nullopt);
}

TEST(AccountList, TheFirstFourEntriesOfferHelpPagesAndNewAsksForAName) {
    const auto entries = FixedAccountEntries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[kNewAccountEntry], L"New");
    for (int index = 0; index < 4; ++index) {
        for (const LanguageId language : {kLangEnglish, kLangTraditionalChinese, kLangSimplifiedChinese}) {
            const auto selection = OnAccountSelected(index, language);
            EXPECT_EQ(selection.action, AccountAction::OfferHelpPage) << index;
            EXPECT_EQ(selection.helpPage, HelpPageUrl(index, language));
            EXPECT_TRUE(selection.helpPage.starts_with(L"https://")) << index;
        }
    }
    EXPECT_EQ(OnAccountSelected(kNewAccountEntry, kLangEnglish).action, AccountAction::AskAccountName);
    for (const int other : {-1, 5, 9}) {
        const auto selection = OnAccountSelected(other, kLangEnglish);
        EXPECT_EQ(selection.action, AccountAction::None) << other;
        EXPECT_TRUE(selection.helpPage.empty());
    }
}

TEST(AccountList, DropboxAndMicrosoftHaveAnEnglishPageOnlyForEnglish) {
    for (const int index : {1, 3}) {
        EXPECT_NE(HelpPageUrl(index, kLangEnglish), HelpPageUrl(index, kLangTraditionalChinese)) << index;
        EXPECT_EQ(HelpPageUrl(index, kLangSimplifiedChinese), HelpPageUrl(index, kLangTraditionalChinese)) << index;
        EXPECT_NE(HelpPageUrl(index, kLangTraditionalChinese).find(L"zh-tw"), std::wstring_view::npos) << index;
    }
    for (const int index : {0, 2}) {
        EXPECT_EQ(HelpPageUrl(index, kLangEnglish), HelpPageUrl(index, kLangTraditionalChinese)) << index;
    }
}

std::vector<std::wstring> InitialEntries() {
    const auto fixed = FixedAccountEntries();
    return {fixed.begin(), fixed.end()};
}

TEST(AccountList, ANewNameIsSelectedByPrefixFromTheSecondEntryOn) {
    const struct {
        const wchar_t* name;
        std::size_t selected;
    } cases[] = {
        {L"Face", 2},    // the beginning of an entry after the first selects that entry
        {L"FACE", 2},    // without regard to case
        {L"n", 4},       // "New"
        {L"Goo", 5},     // only the first entry begins so: the new entry comes first
        {L"Google", 5},  // likewise for the whole name
        {L"Work", 5},
    };
    for (const auto& c : cases) {
        auto entries = InitialEntries();
        EXPECT_EQ(AddCustomAccount(entries, std::wstring(c.name)), c.selected) << c.name;
        ASSERT_EQ(entries.size(), 6u);
        EXPECT_EQ(entries.back(), c.name);
    }
}

TEST(AccountList, EarlierCustomEntriesAreFoundTooAndCancelLeavesNewSelected) {
    auto entries = InitialEntries();
    EXPECT_EQ(AddCustomAccount(entries, std::wstring(L"\u00c9lan")), 5u);
    EXPECT_EQ(AddCustomAccount(entries, std::wstring(L"\u00e9l")), 5u);  // Latin-1 letters fold too
    EXPECT_EQ(entries.size(), 7u);
    EXPECT_EQ(AddCustomAccount(entries, std::nullopt), std::nullopt);
    EXPECT_EQ(entries.size(), 7u);
    EXPECT_EQ(FindEntryByPrefix(entries, L""), std::nullopt);
    EXPECT_EQ(FindEntryByPrefix(entries, L"Zz"), std::nullopt);
    // Wrapping round reaches the first entry last.
    EXPECT_EQ(FindEntryByPrefix(entries, L"goog"), 0u);
}

TEST(ApplyTwoStep, WithoutAnAccountNoTokenSessionIsOpened) {
    FakeHidBus bus;
    FakeClock clock;
    const auto token = bus.AddToken();
    MemoryProfileStore store;
    testing::TestServices services(store, {bus, clock}, L"config.ini");
    ProfilePageContext page{services.services, L"000a1bff", 1};
    const PageOutcome outcome = ApplyTwoStep(page, std::nullopt, L"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ", false);
    EXPECT_EQ(outcome.messageId, IDS_SELECT_ACCOUNT_TYPE);
    EXPECT_FALSE(outcome.applied);
    EXPECT_EQ(bus.identityReads, 0u);
    EXPECT_EQ(token->opens, 0u);
    EXPECT_TRUE(store.writes.empty());
}

TEST(ApplyTwoStep, TheSelectedEntrysTextIsTheAccountAndABackupIsOffered) {
    SimToken token;
    MemoryProfileStore store;
    testing::TestServices services(store, token.ports(), L"config.ini");
    ProfilePageContext page{services.services, L"000a1bff", 2};
    const PageOutcome outcome = ApplyTwoStep(page, std::wstring(L"Work"), L"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ", true);
    EXPECT_TRUE(outcome.applied);
    EXPECT_EQ(outcome.messageId, IDS_SAVE_BACKUP_QUESTION);
    EXPECT_EQ(outcome.backupFileName, L"Work");
    EXPECT_EQ(store.Get(L"config.ini", L"000a1bff", L"Config2"), L"Work");
}

TEST(ApplyTwoStep, ALinkNeedsNoSelectedAccountAndThePageShapeCountsForAPlainKey) {
    SimToken token;
    MemoryProfileStore store;
    testing::TestServices services(store, token.ports(), L"config.ini");
    ProfilePageContext page{services.services, L"000a1bff", 1};
    const PageOutcome linked = ApplyTwoStep(
        page, std::nullopt, L"otpauth://totp/Bank:alice?secret=GEZDGNBVGY3TQOJQ&digits=7", false, {8, 60});
    EXPECT_TRUE(linked.applied);
    EXPECT_EQ(linked.backupFileName, L"Bank");
    EXPECT_EQ(ReadCodeShape(store, L"config.ini", L"000a1bff", 1), (CodeShape{7, 30}));
    const PageOutcome plain = ApplyTwoStep(page, std::wstring(L"Work"), L"GEZDGNBVGY3TQOJQ", false,
                                           ShapeFromControls(2, L"60"));
    EXPECT_TRUE(plain.applied);
    EXPECT_EQ(ReadCodeShape(store, L"config.ini", L"000a1bff", 1), (CodeShape{8, 60}));
    // What the controls give: the list's index, the field read as a number.
    struct Case {
        int index;
        const wchar_t* period;
        CodeShape shape;
    } const cases[] = {
        {0, L"30", {}}, {1, L"15", {7, 15}}, {2, L"120", {8, 120}}, {-1, L"30", {}}, {3, L"30", {}},
        {0, L"", {6, 0}}, {0, L"1e2", {6, 0}}, {0, L"9999", {6, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(ShapeFromControls(c.index, c.period), c.shape) << c.index << " " << c.period;
    const PageOutcome empty = ApplyTwoStep(page, std::wstring(L"Work"), L"GEZDGNBVGY3TQOJQ", false,
                                           ShapeFromControls(0, L""));
    EXPECT_EQ(empty.balloonId, IDS_PERIOD_RANGE);
    EXPECT_EQ(empty.balloonField, PageField::CodePeriod);
}

}  // namespace
}  // namespace orvika2
