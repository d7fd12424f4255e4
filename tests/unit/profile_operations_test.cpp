#include <gtest/gtest.h>

#include "platform/sim/sim_static_output.h"
#include "profiles/profile_operations.h"
#include "tests/support/memory_profile_store.h"
#include "tests/support/sim_fixture.h"
#include "tests/support/test_services.h"
#include "token/code_generator.h"
#include "ui/ui_strings.h"

namespace orvika2 {
namespace {

using testing::MemoryProfileStore;
using testing::SimToken;

constexpr wchar_t kRfcKey[] = L"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ";
const std::wstring kFile = L"config.ini";
const std::wstring kSection = L"000a1bff";

class ProfileOperations : public ::testing::Test {
protected:
    ProfilePageContext Page(int profile) { return {services.services, kSection, profile}; }
    std::wstring Entry(int profile) { return store.Get(kFile, kSection, profile == 1 ? L"Config1" : L"Config2"); }
    bool EntryWritten() const { return !store.writes.empty(); }

    SimToken token;
    MemoryProfileStore store;
    testing::TestServices services{store, token.ports(), kFile};
};

TEST_F(ProfileOperations, TwoStepProfileIsWrittenRecordedAndGivesCodes) {
    auto page = Page(2);
    const auto outcome = WriteTwoStepProfile(page, L"GEZD GNBV-GY3T QOJQ GEZD GNBV GY3T QOJQ", L"Google", false, true);
    EXPECT_TRUE(outcome.applied);
    EXPECT_EQ(outcome.messageId, IDS_SAVE_BACKUP_QUESTION);
    ASSERT_TRUE(outcome.backup);
    EXPECT_EQ(outcome.backup->key, L"GEZDGNBV-GY3TQOJQGEZDGNBVGY3TQOJQ");
    EXPECT_EQ(outcome.backup->account, L"Google");
    EXPECT_EQ(outcome.backupFileName, L"Google");
    EXPECT_EQ(Entry(2), L"Google");

    token.clock.SetUnixSeconds(1234567890);
    const auto code = GenerateVerificationCode(token.ports(), 2);
    ASSERT_EQ(code.action, CodeAction::TypeCode);
    EXPECT_EQ(code.code.Text(), "005924");
}

TEST_F(ProfileOperations, WithoutBackupOfferTheSuccessMessageIsShown) {
    auto page = Page(1);
    const auto outcome = WriteTwoStepProfile(page, kRfcKey, L"", true, false);
    EXPECT_TRUE(outcome.applied);
    EXPECT_EQ(outcome.messageId, IDS_SETTING_SUCCESSFUL);
    EXPECT_FALSE(outcome.backup);
    // An imported backup may have no account name: the entry is then empty.
    EXPECT_EQ(store.writes.size(), 1u);
    EXPECT_EQ(Entry(1), L"");
}

TEST_F(ProfileOperations, TwoStepChecksComeInTheirOrder) {
    struct Case {
        const wchar_t* key;
        bool tokenPresent;
        int message, balloon;
    } const cases[] = {
        {L"not base32 !", false, IDS_NOT_INSERTED, 0},  // the session comes first
        {L"", true, 0, IDS_ILLEGAL_SECRET_KEY},
        {L"GEZDGNBVGY3TQOJQ=", true, 0, IDS_ILLEGAL_SECRET_KEY},
        {L"GEZDGNBV9", true, 0, IDS_ILLEGAL_SECRET_KEY},
        {L"G", true, 0, IDS_ILLEGAL_SECRET_KEY},
        {L"ＧＥＺＤＧＮＢＶ", true, 0, IDS_ILLEGAL_SECRET_KEY},  // fullwidth letters
        // 25 and 32 bytes: cut to 20, the codes would be wrong everywhere.
        {L"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQGEZDGNBV", true, 0, IDS_ILLEGAL_SECRET_KEY},
        {L"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQGEZD", true, 0, IDS_ILLEGAL_SECRET_KEY},
    };
    for (const auto& c : cases) {
        SimToken fresh;
        if (!c.tokenPresent) fresh.ArmFaults({.vanishAfterReports = 0});
        MemoryProfileStore freshStore;
        testing::TestServices freshServices(freshStore, fresh.ports(), kFile);
        ProfilePageContext page{freshServices.services, kSection, 1};
        const auto outcome = WriteTwoStepProfile(page, c.key, L"Google", false, true);
        EXPECT_EQ(outcome.messageId, c.message) << c.key;
        EXPECT_EQ(outcome.balloonId, c.balloon) << c.key;
        if (c.balloon) {
            EXPECT_EQ(outcome.balloonField, PageField::SecretKey);
        }
        EXPECT_FALSE(outcome.applied);
        EXPECT_TRUE(freshStore.writes.empty()) << c.key;
        EXPECT_FALSE(fresh.state.profiles[0].has_value()) << c.key;
    }
}

TEST_F(ProfileOperations, KeyLengthLimitIs152Characters) {
    auto page = Page(1);
    const std::wstring key = std::wstring(kRfcKey) + std::wstring(120, L' ');
    EXPECT_TRUE(WriteTwoStepProfile(page, key, L"x", false, false).applied);
    EXPECT_EQ(WriteTwoStepProfile(page, key + L" ", L"x", false, false).balloonId, IDS_ILLEGAL_SECRET_KEY);
}

TEST_F(ProfileOperations, StaticPasswordChecksComeInTheirOrder) {
    struct Case {
        std::wstring password;
        int message, balloon;
    } const cases[] = {
        {L"a b", 0, IDS_NO_SPACES},  // the space before the length
        {L"abc", IDS_PASSWORD_LENGTH_RANGE, 0},
        {std::wstring(39, L'x'), IDS_PASSWORD_LENGTH_RANGE, 0},
        {L"pässword", 0, IDS_NO_SPACES},  // no key types it
        {L"pass\tword", 0, IDS_NO_SPACES},
        {L"pass\x7Fword", 0, IDS_NO_SPACES},
        {L"pass\nword", 0, IDS_NO_SPACES},
    };
    for (const auto& c : cases) {
        auto page = Page(1);
        const auto outcome = WriteStaticProfile(page, c.password, true);
        EXPECT_EQ(outcome.messageId, c.message);
        EXPECT_EQ(outcome.balloonId, c.balloon);
        EXPECT_FALSE(outcome.applied);
    }
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(token.state.sequence, 0);
}

TEST_F(ProfileOperations, StaticPasswordIsTypedByTheTokenAndRecorded) {
    auto page = Page(2);
    const std::wstring password(L"Pa$$w0rd-with~symbols!_38chars_long_xx");
    ASSERT_EQ(password.size(), 38u);
    const auto outcome = WriteStaticProfile(page, password, true);
    EXPECT_TRUE(outcome.applied);
    EXPECT_EQ(outcome.backupFileName, L"STATIC");
    EXPECT_EQ(outcome.backup->account, L"StaticPassword");
    EXPECT_EQ(Entry(2), L"StaticPassword");
    EXPECT_EQ(SimPress(token.state, 2), std::optional<std::string>("Pa$$w0rd-with~symbols!_38chars_long_xx"));
}

TEST_F(ProfileOperations, DeleteClearsTheProfileAndRecordsIt) {
    token.InstallTwoStep(1, {});
    auto page = Page(1);
    const auto outcome = DeleteProfile(page);
    EXPECT_TRUE(outcome.applied);
    EXPECT_EQ(outcome.messageId, IDS_PROFILE_DELETED);
    EXPECT_EQ(Entry(1), L"NotConfigured");
    EXPECT_FALSE(token.state.profiles[0].has_value());
}

TEST_F(ProfileOperations, FailureTextCarriesTheCode) {
    PageOutcome outcome;
    outcome.messageId = IDS_SETTING_FAILED;
    outcome.failureCode = 11;
    EXPECT_EQ(outcome.MessageText([](int id) { return EnglishString(id); }), L"Setting failed11");
}

// The token pulled at every report of each operation in turn: a clear message
// and no configuration entry for a change the token did not take.
TEST_F(ProfileOperations, TokenPulledAtAnyReportLeavesNoEntry) {
    using Operation = std::function<PageOutcome(ProfilePageContext&)>;
    const std::pair<const char*, Operation> operations[] = {
        {"two-step", [](ProfilePageContext& p) { return WriteTwoStepProfile(p, kRfcKey, L"Google", false, true); }},
        {"static", [](ProfilePageContext& p) { return WriteStaticProfile(p, L"secret-password", true); }},
        {"delete", [](ProfilePageContext& p) { return DeleteProfile(p); }},
    };
    for (const auto& [name, operation] : operations) {
        int applied = 0;
        for (std::uint32_t pulledAt = 0; pulledAt < 40; ++pulledAt) {
            SimToken fresh;
            fresh.InstallTwoStep(1, {});  // something to delete
            fresh.ArmFaults({.vanishAfterReports = pulledAt});
            MemoryProfileStore freshStore;
            testing::TestServices freshServices(freshStore, fresh.ports(), kFile);
        ProfilePageContext page{freshServices.services, kSection, 1};
            const auto outcome = operation(page);
            if (outcome.applied) {
                ++applied;
                continue;
            }
            EXPECT_TRUE(freshStore.writes.empty()) << name << " pulled at report " << pulledAt;
            EXPECT_TRUE(outcome.messageId == IDS_NOT_INSERTED || outcome.messageId == IDS_SETTING_FAILED ||
                        outcome.messageId == IDS_DELETE_PROFILE_FAILED)
                << name << " pulled at report " << pulledAt << ": message " << outcome.messageId;
        }
        // Pulled late enough, the operation completes.
        EXPECT_GT(applied, 0) << name;
    }
}

TEST_F(ProfileOperations, ConfigurationNeverHoldsASecret) {
    auto page = Page(1);
    WriteTwoStepProfile(page, kRfcKey, L"Google", false, true);
    WriteStaticProfile(page, L"MyStaticSecret", true);
    DeleteProfile(page);
    for (const auto& value : store.AllValues()) {
        EXPECT_EQ(value.find(L"GEZDGNBV"), std::wstring::npos);
        EXPECT_EQ(value.find(L"MyStaticSecret"), std::wstring::npos);
    }
}

TEST_F(ProfileOperations, ImportAppliesEveryRecordAndReportsTheUnusable) {
    // INI form in the memory store.
    store.Put(L"b.bcp", L"Orvika2_BACKUP", L"Mode", L"OTP");
    store.Put(L"b.bcp", L"Orvika2_BACKUP", L"Key", kRfcKey);
    store.Put(L"b.bcp", L"Orvika2_BACKUP", L"Account", L"Dropbox");
    store.writes.clear();
    auto page = Page(2);
    int asked = 0;
    std::vector<PageOutcome> shown;
    const auto show = [&](const PageOutcome& o) { shown.push_back(o); };
    const auto noPassphrase = [](bool) { return std::optional<SecretString>(); };
    ImportProfileBackup(page, L"b.bcp", {[&] { return ++asked, true; }, noPassphrase, show});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(shown[0].applied);
    EXPECT_EQ(shown[0].messageId, IDS_SETTING_SUCCESSFUL);  // an import never offers a new backup
    EXPECT_EQ(Entry(2), L"Dropbox");
    EXPECT_EQ(token.state.profiles[1]->bytes[47], 0x2E);  // touch required

    store.Put(L"c.bcp", L"Orvika2_BACKUP", L"Mode", L"otp");
    store.Put(L"c.bcp", L"Orvika2_BACKUP", L"Key", kRfcKey);
    shown.clear();
    ImportProfileBackup(page, L"c.bcp", {[] { return false; }, noPassphrase, show});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].messageId, IDS_INVALID_BACKUP);

    // Protected: asked until right; a wrong passphrase writes nothing, and
    // giving up leaves the token as it was.
    ASSERT_EQ(WriteProfileBackup(store, L"d.bcp", TwoStepBackup(kRfcKey, L"Sealed"),
                                 SecretString("the passphrase")),
              BackupSaveOutcome::Saved);
    const struct {
        std::vector<std::string> answers;
        std::vector<int> shownIds;
        bool written;
    } rounds[] = {
        {{}, {}, false},
        {{"wrong one"}, {IDS_WRONG_PASSPHRASE}, false},
        {{"wrong one", "the passphrase"}, {IDS_WRONG_PASSPHRASE, IDS_SETTING_SUCCESSFUL}, true},
    };
    for (const auto& round : rounds) {
        std::vector<bool> agains;
        const auto answer = [&](bool again) {
            agains.push_back(again);
            if (agains.size() > round.answers.size()) return std::optional<SecretString>();
            return std::optional<SecretString>(SecretString(round.answers[agains.size() - 1]));
        };
        shown.clear();
        ImportProfileBackup(page, L"d.bcp", {[] { return false; }, answer, show});
        std::vector<int> ids;
        for (const auto& o : shown) ids.push_back(o.messageId);
        EXPECT_EQ(ids, round.shownIds) << round.answers.size();
        EXPECT_FALSE(agains.front());
        EXPECT_EQ(Entry(2) == L"Sealed", round.written) << round.answers.size();
    }
}

TEST_F(ProfileOperations, ABackupIsOfferedEvenWhenTheEntryCannotBeWritten) {
    auto page = Page(1);
    store.failWrites = true;
    const auto outcome = WriteTwoStepProfile(page, kRfcKey, L"Google", false, true);
    EXPECT_TRUE(outcome.applied);
    EXPECT_FALSE(outcome.entrySaved);
    ASSERT_TRUE(outcome.backup);
    EXPECT_EQ(outcome.backup->key, kRfcKey);
    EXPECT_EQ(BackupOfferMessages(BackupOfferResult::Saved, false), std::vector{IDS_ENTRY_NOT_SAVED_BACKUP_SAVED});
    EXPECT_EQ(BackupOfferMessages(BackupOfferResult::WriteFailed, false),
              (std::vector{IDS_BACKUP_NOT_SAVED, IDS_ENTRY_NOT_SAVED}));
    EXPECT_EQ(BackupOfferMessages(BackupOfferResult::Declined, false), std::vector{IDS_ENTRY_NOT_SAVED});
    EXPECT_EQ(BackupOfferMessages(BackupOfferResult::Saved, true), std::vector{IDS_BACKUP_SAVED});
}

}  // namespace
}  // namespace orvika2
