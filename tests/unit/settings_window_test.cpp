#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "dialogs/settings_window.h"
#include "profiles/account_name.h"
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

const std::wstring kFile = L"config.ini";
constexpr wchar_t kSimSerial[] = L"000a1bff";

std::wstring Text(int id, LanguageId language = kLangEnglish) { return UiString(id, language); }

// Counts reads, to tell which lookups touch the configuration file.
class CountingStore final : public ProfileStore {
public:
    std::wstring Get(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                     std::size_t maxLength = kProfileValueMax) override {
        ++gets;
        return inner.Get(path, section, key, maxLength);
    }
    bool Remove(const std::wstring& path, std::wstring_view section, std::wstring_view key) override {
        return inner.Remove(path, section, key);
    }
    bool Put(const std::wstring& path, std::wstring_view section, std::wstring_view key,
             std::wstring_view value) override {
        return inner.Put(path, section, key, value);
    }
    std::vector<std::wstring> SectionNames(const std::wstring& path) override { return inner.SectionNames(path); }
    MemoryProfileStore inner;
    int gets = 0;
};

TEST(SettingsTabs, ProfileTabsOnlyWithTheToken) {
    EXPECT_EQ(SettingsTabTexts(true, kLangEnglish),
              (std::vector<std::wstring>{L"  Profile1  ", L"  Profile2  ", L"  Basic settings  "}));
    EXPECT_EQ(SettingsTabTexts(false, kLangEnglish), std::vector<std::wstring>{L"  Basic settings  "});
    const auto chinese = SettingsTabTexts(true, kLangTraditionalChinese);
    ASSERT_EQ(chinese.size(), 3u);
    EXPECT_EQ(chinese[1], L"  " + Text(IDS_PROFILE, kLangTraditionalChinese) + L"2  ");
}

TEST(SettingsTabs, TheTokenIsPresentOnlyWhenExactlyOneOpens) {
    struct Case {
        int tokens;
        bool opens;
        bool present;
    } const cases[] = {{0, true, false}, {1, true, true}, {2, true, false}, {1, false, false}};
    for (const auto& c : cases) {
        FakeHidBus bus;
        FakeClock clock;
        for (int i = 0; i < c.tokens; ++i) {
            bus.AddInterface(L"token" + std::to_wstring(i), {0x1050, 0x0010}, c.opens);
        }
        EXPECT_EQ(SettingsTokenPresent({bus, clock}), c.present) << c.tokens << " tokens, opens " << c.opens;
    }
}

TEST(ChoosePage, TheEntryDecidesBetweenProfilePageAndAlreadySetPage) {
    const std::wstring twoStep = Text(IDS_SET_AS_TWO_STEP);
    const std::wstring staticPassword = Text(IDS_SET_AS_STATIC);
    struct Case {
        const wchar_t* entry;
        int slot;
        std::wstring label;
        CodeShape shape = {};
    } const cases[] = {
        {L"NotConfigured", 1, L""},
        {L"MyNotConfiguredMail", 1, L""},  // substring tests
        {L"NotConfiguredStaticPassword", 1, L""},
        {L"StaticPassword", kAlreadySetSlot, staticPassword},
        {L"xStaticPassword", kAlreadySetSlot, staticPassword},
        {L"", kAlreadySetSlot, twoStep},
        {L"Google", kAlreadySetSlot, twoStep + L"( Google )"},
        {L"notconfigured", kAlreadySetSlot, twoStep + L"( notconfigured )"},
        {L"Google", kAlreadySetSlot, twoStep + L"( Google, 8 digits, 60 s )", {8, 60}},
        {L"", kAlreadySetSlot, twoStep + L"( 7 digits, 30 s )", {7, 30}},
        {L"StaticPassword", kAlreadySetSlot, staticPassword, {8, 60}},
    };
    for (const auto& c : cases) {
        const PageChoice choice = PageForProfileEntry(1, c.entry, kLangEnglish, c.shape);
        EXPECT_EQ(choice.slot, c.slot) << c.entry;
        EXPECT_EQ(choice.alreadySetLabel, c.label) << c.entry;
    }
    EXPECT_EQ(PageForProfileEntry(0, L"Google", kLangTraditionalChinese).alreadySetLabel,
              Text(IDS_SET_AS_TWO_STEP, kLangTraditionalChinese) + L"( Google )");
    EXPECT_EQ(PageForProfileEntry(0, L"Google", kLangTraditionalChinese, {8, 15}).alreadySetLabel,
              Text(IDS_SET_AS_TWO_STEP, kLangTraditionalChinese) + L"( Google, 8位數，15秒 )");
}

class ChoosePageWithToken : public ::testing::Test {
protected:
    void SetEntry(const std::wstring& section, const wchar_t* key, const wchar_t* value) {
        store.inner.Put(kFile, section, key, value);
    }

    SimToken token;
    CountingStore store;
    testing::TestServices services{store, token.ports(), kFile};
    std::wstring section;
};

TEST_F(ChoosePageWithToken, ReadsTheSelectedProfilesEntryUnderTheTokensSerial) {
    SetEntry(kSimSerial, L"Config1", L"NotConfigured");
    SetEntry(kSimSerial, L"Config2", L"StaticPassword");
    const PageChoice first = ChoosePage(0, true, section, services.services);
    EXPECT_EQ(section, kSimSerial);
    EXPECT_EQ(first.slot, kProfile1Slot);
    EXPECT_EQ(first.messageId, 0);
    const PageChoice second = ChoosePage(1, true, section, services.services);
    EXPECT_EQ(second.slot, kAlreadySetSlot);
    EXPECT_EQ(second.alreadySetLabel, Text(IDS_SET_AS_STATIC));
    SetEntry(kSimSerial, L"Config2", L"Bank");
    SetEntry(kSimSerial, L"Digits2", L"8");
    SetEntry(kSimSerial, L"Period2", L"60");
    EXPECT_EQ(ChoosePage(1, true, section, services.services).alreadySetLabel,
              Text(IDS_SET_AS_TWO_STEP) + L"( Bank, 8 digits, 60 s )");
}

TEST_F(ChoosePageWithToken, AnUnreadableSerialKeepsThePreviousSection) {
    SetEntry(L"0badcafe", L"Config1", L"Work");
    SetEntry(kSimSerial, L"Config1", L"NotConfigured");
    section = L"0badcafe";
    token.ArmFaults({.vanishAfterReports = 0});
    const PageChoice choice = ChoosePage(0, true, section, services.services);
    EXPECT_EQ(choice.messageId, 3);
    EXPECT_EQ(section, L"0badcafe");
    EXPECT_EQ(choice.alreadySetLabel, Text(IDS_SET_AS_TWO_STEP) + L"( Work )");
}

TEST_F(ChoosePageWithToken, BeforeAnySerialWasReadTheLabelIsThePlainTwoStepOne) {
    SetEntry(L"", L"Config1", L"NotConfigured");
    token.ArmFaults({.vanishAfterReports = 0});
    const PageChoice choice = ChoosePage(0, true, section, services.services);
    EXPECT_EQ(choice.messageId, 3);
    EXPECT_EQ(choice.slot, kAlreadySetSlot);
    EXPECT_EQ(choice.alreadySetLabel, Text(IDS_SET_AS_TWO_STEP));
}

TEST_F(ChoosePageWithToken, TheBasicTabReadsTheSerialButNotTheFile) {
    SetEntry(kSimSerial, L"Config1", L"Google");
    const PageChoice basic = ChoosePage(kBasicSlot, true, section, services.services);
    EXPECT_EQ(basic.slot, kBasicSlot);
    EXPECT_EQ(section, kSimSerial);
    // Without profile pages slot 0 is the basic page, whatever profile 1 is.
    const PageChoice alone = ChoosePage(0, false, section, services.services);
    EXPECT_EQ(alone.slot, 0);
    EXPECT_TRUE(alone.alreadySetLabel.empty());
    EXPECT_EQ(store.gets, 0);

    token.ArmFaults({.vanishAfterReports = 0});
    EXPECT_EQ(ChoosePage(kBasicSlot, true, section, services.services).messageId, 3);
}

TEST(SettingsRefresh, OnlyZeroOneAndThreeDoAnything) {
    const std::pair<std::uintptr_t, RefreshAction> cases[] = {
        {0, RefreshAction::ChoosePage},        {1, RefreshAction::ChoosePage},
        {2, RefreshAction::None},              {3, RefreshAction::ShowSelectedTabPage},
        {4, RefreshAction::None},              {0x07E8, RefreshAction::None},
    };
    for (const auto& [wParam, action] : cases) EXPECT_EQ(SettingsRefreshAction(wParam), action) << wParam;
}

TEST(SettingsKeyboard, EnterPressesTheButtonOfTheFieldsGroup) {
    const std::pair<int, int> cases[] = {
        {IDC_SECRET_KEY_EDIT, IDC_TWO_STEP_APPLY}, {IDC_PASSWORD_EDIT, IDC_STATIC_APPLY},
        // The length generates: Set would write whatever the password box holds.
        {IDC_LENGTH_EDIT, IDC_GENERATE_BUTTON},
        // Lists, check boxes and the hotkey fields leave Enter alone.
        {IDC_ACCOUNT_LIST, 0}, {IDC_REQUIRE_TOUCH_CHECK, 0}, {IDC_CODE_HOTKEY, 0}, {0, 0},
    };
    for (const auto& [field, button] : cases) EXPECT_EQ(EnterButtonFor(field), button) << field;
}

TEST(SettingsKeyboard, CtrlTabAndCtrlPageKeysStepRoundTheTabs) {
    const struct {
        std::uintptr_t key;
        bool control, shift;
        int selected, count, next;
    } cases[] = {
        {kTabKey, true, false, 2, 3, 0},        {kTabKey, true, true, 0, 3, 2},
        {kPageDownKey, true, true, 2, 3, 0},    {kPageUpKey, true, false, 0, 3, 2},
        {kTabKey, true, false, 0, 1, 0},        {kTabKey, true, false, -1, 3, 0},
        // A plain Tab moves the focus; other keys and an empty tab row do nothing.
        {kTabKey, false, true, 0, 3, -1},       {0x41, true, false, 0, 3, -1},
        {kTabKey, true, false, 0, 0, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SteppedTab(c.key, c.control, c.shift, c.selected, c.count), c.next)
            << c.key << " ctrl " << c.control << " shift " << c.shift << " from " << c.selected << " of " << c.count;
    }
}

TEST(PageTexts, EveryRowNamesAStringAndEachControlOnce) {
    const auto all = PageTextRows(true);
    std::set<std::pair<SettingsPageKind, int>> seen;
    for (const auto& row : all) {
        EXPECT_TRUE(seen.insert({row.page, row.controlId}).second) << row.controlId;
        EXPECT_FALSE(Text(row.stringId).empty()) << row.stringId;
        EXPECT_FALSE(Text(row.stringId, kLangTraditionalChinese).empty()) << row.stringId;
    }
    // The profile pages carry the same labels but for the press they stand for.
    for (const auto& row : all) {
        if (row.page != SettingsPageKind::Profile1) continue;
        const auto twin = std::find_if(all.begin(), all.end(), [&](const PageTextRow& r) {
            return r.page == SettingsPageKind::Profile2 && r.controlId == row.controlId;
        });
        ASSERT_NE(twin, all.end()) << row.controlId;
        EXPECT_EQ(twin->stringId, row.controlId == IDC_STATIC_RADIO ? IDS_SET_STATIC_PASSWORD_2 : row.stringId) << row.controlId;
    }
    EXPECT_TRUE(seen.count({SettingsPageKind::AlreadySet, IDC_RESET_BUTTON}));

    const auto basicOnly = PageTextRows(false);
    EXPECT_FALSE(basicOnly.empty());
    for (const auto& row : basicOnly) EXPECT_EQ(row.page, SettingsPageKind::Basic);
    const auto basicRows = std::count_if(all.begin(), all.end(),
                                         [](const PageTextRow& r) { return r.page == SettingsPageKind::Basic; });
    EXPECT_EQ(basicOnly.size(), static_cast<std::size_t>(basicRows));
}

TEST(AccountName, SpacesFirstThenLength) {
    const std::wstring twenty(20, L'n');
    const struct {
        std::wstring name;
        int balloon;
    } cases[] = {
        {L"Work", 0},
        {L"x", 0},
        {twenty, 0},
        {twenty + L"n", IDS_ACCOUNT_NAME_TOO_LONG},
        {L"", IDS_ENTER_ACCOUNT_NAME},
        {L"my mail", IDS_NO_SPACES},
        {L" mail", IDS_NO_SPACES},
        {L"mail ", IDS_NO_SPACES},
        {L" ", IDS_NO_SPACES},
        {twenty + L" x", IDS_NO_SPACES},
        {L"tab\there", 0},  // only U+0020 counts as a space
        {L"a\r\n[x]\r\nk=v", IDS_NO_SPACES},
        {L"a\n", IDS_NO_SPACES},
        {L"\rb", IDS_NO_SPACES},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckAccountName(c.name), c.balloon) << c.name.size();
}

}  // namespace
}  // namespace orvika2
