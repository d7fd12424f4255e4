#include <gtest/gtest.h>

#include "platform/sim/sim_static_output.h"
#include "profiles/profile_operations.h"
#include "tests/support/memory_profile_store.h"
#include "tests/support/sim_fixture.h"
#include "tests/support/test_services.h"
#include "settings/config_file.h"
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
        {L"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQGEZDGNBV", true, 0, IDS_KEY_TOO_LONG},
        {L"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQGEZD", true, 0, IDS_KEY_TOO_LONG},
        // Links the token cannot serve, each with its own reason.
        {L"otpauth://hotp/Example:alice?secret=GEZDGNBVGY3TQOJQ&counter=0", true, 0, IDS_LINK_HOTP},
        {L"otpauth://totp/Example:alice?secret=GEZDGNBVGY3TQOJQ&algorithm=SHA256", true, 0, IDS_LINK_ALGORITHM},
        {L"otpauth://totp/Example:alice?secret=GEZDGNBVGY3TQOJQ&algorithm=sha512&digits=8", true, 0, IDS_LINK_ALGORITHM},
        {L"otpauth://totp/Example:alice?issuer=Example", true, 0, IDS_LINK_NO_SECRET},
        {L"otpauth://totp/Example:alice?secret=&issuer=Example", true, 0, IDS_LINK_NO_SECRET},
        {L"otpauth://totp/Example:alice?secret=GEZDGNBV9Y3TQOJQ", true, 0, IDS_LINK_BAD_SECRET},
        {L"otpauth://totp/Example:alice?secret=GEZD%C3%89NBV", true, 0, IDS_LINK_BAD_SECRET},
        {L"otpauth://totp/Example:alice?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQGEZDGNBV", true, 0, IDS_KEY_TOO_LONG},
        {L"otpauth://totp/Example:alice?secret=GEZDGNBVGY3TQOJQ&digits=9", true, 0, IDS_DIGITS_RANGE},
        {L"otpauth://totp/Example:alice?secret=GEZDGNBVGY3TQOJQ&digits=5", true, 0, IDS_DIGITS_RANGE},
        {L"otpauth://totp/Example:alice?secret=GEZDGNBVGY3TQOJQ&digits=six", true, 0, IDS_DIGITS_RANGE},
        {L"otpauth://totp/Example:alice?secret=GEZDGNBVGY3TQOJQ&period=9", true, 0, IDS_PERIOD_RANGE},
        {L"otpauth://totp/Example:alice?secret=GEZDGNBVGY3TQOJQ&period=121", true, 0, IDS_PERIOD_RANGE},
        {L"https://example.com/totp?secret=GEZDGNBVGY3TQOJQ", true, 0, IDS_LINK_UNKNOWN},
        {L"otpauth-migration://offline?data=CjEKCkhlbGxvId6tvu8SGEV4YW1wbGU", true, 0, IDS_LINK_UNKNOWN},
        {L"otpauth://steam/Example:alice?secret=GEZDGNBVGY3TQOJQ", true, 0, IDS_LINK_UNKNOWN},
        {L"otpauth:totp/Example:alice?secret=GEZDGNBVGY3TQOJQ", true, 0, IDS_LINK_MALFORMED},
        {L"otpauth://totp/Example%3Aalice%2?secret=GEZDGNBVGY3TQOJQ", true, 0, IDS_LINK_MALFORMED},
        // The link is read only once the token is there, like any key.
        {L"otpauth://hotp/Example:alice?secret=GEZDGNBVGY3TQOJQ", false, IDS_NOT_INSERTED, 0},
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
            EXPECT_NE(UiString(c.balloon, kLangEnglish), L"");
            EXPECT_NE(UiString(c.balloon, kLangTraditionalChinese), L"");
        }
        EXPECT_FALSE(outcome.applied);
        EXPECT_TRUE(freshStore.writes.empty()) << c.key;
        EXPECT_FALSE(fresh.state.profiles[0].has_value()) << c.key;
    }
}

// Links in the forms services hand out and password managers export: the
// key, the account name and the shape all come from the link.
TEST_F(ProfileOperations, LinksGiveTheKeyTheAccountAndTheShape) {
    struct Case {
        const wchar_t* link;
        const wchar_t* account;  // what the entry records
        CodeShape shape;
        std::int64_t at;
        const char* code;
    } const cases[] = {
        {L"otpauth://totp/Example:alice@google.com?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&issuer=Example", L"Example",
         {}, 1111111100, "081804"},
        {L"otpauth://totp/ACME%20Co:john.doe@email.com?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&issuer=ACME%20Co"
         L"&algorithm=SHA1&digits=6&period=30",
         L"ACMECo", {}, 1111111100, "081804"},
        {L"otpauth://totp/GitHub%3Aoctocat?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ", L"GitHub", {}, 1111111100, "081804"},
        {L"otpauth://totp/Big%20Corp%3A%20alice%40bigco.com?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ", L"BigCorp", {},
         1111111100, "081804"},
        {L"otpauth://totp/Dropbox:bob@example.com?secret=gezdgnbvgy3tqojqgezdgnbvgy3tqojq&issuer=Dropbox", L"Dropbox",
         {}, 1111111100, "081804"},
        {L"otpauth://totp/AWS:root?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY======&issuer=AWS", L"AWS", {}, 1234567890,
         "886215"},
        {L"otpauth://totp/AWS:root?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY%3D%3D%3D%3D%3D%3D", L"AWS", {}, 1234567890,
         "886215"},
        {L"otpauth://totp/Bank:alice?secret=GEZD%20GNBV%20GY3T+QOJQ+GEZD+GNBV+GY3T+QOJQ", L"Bank", {}, 1111111100,
         "081804"},
        {L"otpauth://totp/Microsoft:alice@contoso.com?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&issuer=Microsoft"
         L"&digits=8&period=60",
         L"Microsoft", {8, 60}, 1111111100, "19360094"},
        {L"otpauth://totp/Gov:alice?period=15&digits=7&secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ", L"Gov", {7, 15},
         1111111100, "3199842"},
        {L"otpauth://totp/Shop:alice?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&image=https%3A%2F%2Fexample.com%2Flogo.png"
         L"&color=ff0000&digits=8",
         L"Shop", {8, 30}, 1234567890, "89005924"},
        {L"otpauth://totp/?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&issuer=Slack&period=120&digits=8", L"Slack",
         {8, 120}, 2000000000, "68889571"},
        {L"otpauth://totp/alice@example.com?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&period=60", L"alice@example.com",
         {6, 60}, 2000000000, "864010"},
        {L"otpauth://totp/x?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&issuer=Example%20Corporation%20International",
         L"ExampleCorporationIn", {}, 1111111100, "081804"},
        {L"OTPAUTH://TOTP/Old:alice?SECRET=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&Issuer=New&Period=10", L"New", {6, 10},
         20000000000, "054266"},
        {L"otpauth://totp/%E5%8F%B0%E7%81%A3%E9%8A%80%E8%A1%8C:alice?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ",
         L"\u53f0\u7063\u9280\u884c", {}, 1111111100, "081804"},
        {L"  otpauth://totp/Example:alice?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ&secret=AAAA#frag\r\n", L"Example", {},
         1111111100, "081804"},
        // A link that names nobody keeps the account chosen on the page.
        {L"otpauth://totp/?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ", L"Google", {}, 1111111100, "081804"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.link)));
        SimToken fresh;
        MemoryProfileStore freshStore;
        testing::TestServices freshServices(freshStore, fresh.ports(), kFile);
        ProfilePageContext page{freshServices.services, kSection, 2};
        // The page's own shape controls do not count for a link.
        const auto outcome = WriteTwoStepProfile(page, c.link, L"Google", false, true, {7, 45});
        ASSERT_TRUE(outcome.applied) << outcome.balloonId;
        EXPECT_EQ(freshStore.Get(kFile, kSection, L"Config2"), c.account);
        EXPECT_EQ(ReadCodeShape(freshStore, kFile, kSection, 2), c.shape);
        ASSERT_TRUE(outcome.backup);
        EXPECT_EQ(outcome.backup->account, c.account);
        EXPECT_EQ(outcome.backup->shape, c.shape);
        EXPECT_EQ(outcome.backup->key.find(L':'), std::wstring::npos);
        fresh.clock.SetUnixSeconds(c.at);
        const auto code = GenerateVerificationCode(fresh.ports(), 2, ReadCodeShape(freshStore, kFile, kSection, 2));
        ASSERT_EQ(code.action, CodeAction::TypeCode);
        EXPECT_EQ(code.code.Text(), c.code);
    }
}

TEST_F(ProfileOperations, APlainKeyTakesThePagesShapeAndRewritingItReturnsTo6And30) {
    auto page = Page(1);
    ASSERT_TRUE(WriteTwoStepProfile(page, kRfcKey, L"Google", false, false, {8, 60}).applied);
    EXPECT_EQ(store.Get(kFile, kSection, L"Digits1"), L"8");
    EXPECT_EQ(store.Get(kFile, kSection, L"Period1"), L"60");
    token.clock.SetUnixSeconds(1111111100);
    EXPECT_EQ(GenerateVerificationCode(token.ports(), 1, ReadCodeShape(store, kFile, kSection, 1)).code.Text(),
              "19360094");
    // Out of range: refused at the period field, nothing written.
    for (const CodeShape bad : {CodeShape{8, 9}, CodeShape{8, 121}, CodeShape{9, 30}, CodeShape{5, 30}}) {
        const auto refused = WriteTwoStepProfile(page, kRfcKey, L"Other", false, false, bad);
        EXPECT_FALSE(refused.applied);
        EXPECT_EQ(refused.balloonField, PageField::CodePeriod);
        EXPECT_EQ(refused.balloonId, bad.digits == 8 ? IDS_PERIOD_RANGE : IDS_DIGITS_RANGE);
        EXPECT_EQ(Entry(1), L"Google");
    }
    ASSERT_TRUE(WriteTwoStepProfile(page, kRfcKey, L"Google", false, false).applied);
    EXPECT_EQ(ReadCodeShape(store, kFile, kSection, 1), CodeShape{});
    // No keys are left behind, so the file reads as one from before them.
    EXPECT_EQ(store.Get(kFile, kSection, L"Digits1"), L"");
    EXPECT_EQ(store.Get(kFile, kSection, L"Period1"), L"");
    // A static password or a deleted profile has no shape either.
    ASSERT_TRUE(WriteTwoStepProfile(page, kRfcKey, L"Google", false, false, {7, 15}).applied);
    ASSERT_TRUE(WriteStaticProfile(page, L"password1", false).applied);
    EXPECT_EQ(ReadCodeShape(store, kFile, kSection, 1), CodeShape{});
    ASSERT_TRUE(WriteTwoStepProfile(page, kRfcKey, L"Google", false, false, {7, 15}).applied);
    ASSERT_TRUE(DeleteProfile(page).applied);
    EXPECT_EQ(ReadCodeShape(store, kFile, kSection, 1), CodeShape{});
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
