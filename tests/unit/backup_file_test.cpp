#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

#include "settings/backup_file.h"
#include "tests/support/memory_profile_store.h"
#include "tests/support/profile_store_suite.h"
#include "tests/support/temp_dir.h"

namespace orvika2 {
namespace {

using testing::MemoryProfileStore;
using testing::TempDir;

// What a record amounts to, for comparing whole lists at once.
struct Seen {
    std::optional<ProfileMode> mode;
    std::wstring key, account;
    int refusalId = IDS_INVALID_BACKUP;
    CodeShape shape{};
    friend bool operator==(const Seen&, const Seen&) = default;
};

void PrintTo(const Seen& seen, std::ostream* os) {
    *os << (seen.mode ? static_cast<int>(*seen.mode) : -1) << " key[" << seen.key.size() << "] account["
        << seen.account.size() << "] refusal " << seen.refusalId << " shape " << seen.shape.digits << "/"
        << seen.shape.periodSeconds;
}

Seen Summary(const ProfileBackup& record) {
    return {record.mode, record.key, record.account, record.refusalId, record.shape};
}

std::vector<Seen> Summary(const std::vector<ProfileBackup>& records) {
    std::vector<Seen> seen;
    for (const auto& r : records) seen.push_back(Summary(r));
    return seen;
}

const Seen kInvalid{};
const Seen kTooLarge{std::nullopt, L"", L"", IDS_BACKUP_TOO_LARGE};
Seen TwoStep(std::wstring key, std::wstring account, CodeShape shape = {}) {
    return {ProfileMode::TwoStep, key, account, IDS_INVALID_BACKUP, shape};
}
Seen Refused(int id) { return {std::nullopt, L"", L"", id}; }
Seen Static(std::wstring password) { return {ProfileMode::StaticPassword, password, L""}; }

std::wstring WriteFile(const TempDir& dir, std::string_view content) {
    const auto path = dir / "profile.bcp";
    std::ofstream(path, std::ios::binary) << content;
    return path.wstring();
}

TEST(BackupWrite, WritesModeKeyAndAccountInOrderAndReadsThemBack) {
    const std::wstring file = L"C:\\backups\\Google.bcp";
    MemoryProfileStore store;
    store.Put(file, L"Notes", L"Owner", L"me");
    store.Put(file, kBackupSection, L"Key", L"OLDKEY");
    store.writes.clear();

    ASSERT_EQ(WriteProfileBackup(store, file, TwoStepBackup(L"gezd gnbv-gy3t qojq", L"Google")),
              BackupSaveOutcome::Saved);
    const std::vector<MemoryProfileStore::Write> expected = {
        {file, L"Orvika2_BACKUP", L"Mode", L"OTP"},
        {file, L"Orvika2_BACKUP", L"Key", L"gezdgnbv-gy3tqojq"},
        {file, L"Orvika2_BACKUP", L"Account", L"Google"},
    };
    EXPECT_EQ(store.writes, expected);
    EXPECT_EQ(store.Get(file, L"Notes", L"Owner"), L"me");
    EXPECT_EQ(Summary(ReadProfileBackup(store, file)), std::vector{TwoStep(L"gezdgnbv-gy3tqojq", L"Google")});

    // Another shape follows the account; the usual one leaves no keys.
    store.writes.clear();
    ASSERT_EQ(WriteProfileBackup(store, file, TwoStepBackup(L"GEZDGNBV", L"Work", {8, 60})), BackupSaveOutcome::Saved);
    const std::vector<MemoryProfileStore::Write> shaped = {
        {file, L"Orvika2_BACKUP", L"Mode", L"OTP"},    {file, L"Orvika2_BACKUP", L"Key", L"GEZDGNBV"},
        {file, L"Orvika2_BACKUP", L"Account", L"Work"}, {file, L"Orvika2_BACKUP", L"Digits", L"8"},
        {file, L"Orvika2_BACKUP", L"Period", L"60"},
    };
    EXPECT_EQ(store.writes, shaped);
    EXPECT_EQ(Summary(ReadProfileBackup(store, file)), std::vector{TwoStep(L"GEZDGNBV", L"Work", {8, 60})});
    ASSERT_EQ(WriteProfileBackup(store, file, TwoStepBackup(L"GEZDGNBV", L"Work")), BackupSaveOutcome::Saved);
    EXPECT_EQ(store.Get(file, kBackupSection, L"Digits"), L"");
    EXPECT_EQ(Summary(ReadProfileBackup(store, file)), std::vector{TwoStep(L"GEZDGNBV", L"Work")});

    ASSERT_EQ(WriteProfileBackup(store, file, StaticBackup(L"p a$$\"w0rd")), BackupSaveOutcome::Saved);
    EXPECT_EQ(store.Get(file, kBackupSection, L"Mode"), L"STATIC");
    EXPECT_EQ(store.Get(file, kBackupSection, L"Account"), L"StaticPassword");
    EXPECT_EQ(Summary(ReadProfileBackup(store, file)), std::vector{Static(L"p a$$\"w0rd")});
}

TEST(BackupWrite, AFailedWriteIsReportedAsSuch) {
    MemoryProfileStore store;
    store.failWrites = true;
    EXPECT_EQ(WriteProfileBackup(store, L"R:\\readonly\\x.bcp", StaticBackup(L"secret12")),
              BackupSaveOutcome::WriteFailed);
    // Nothing past the failed write is attempted.
    EXPECT_EQ(store.writes.size(), 1u);
    MemoryProfileStore writable;
    EXPECT_EQ(WriteProfileBackup(writable, L"x.bcp", ProfileBackup()), BackupSaveOutcome::WriteFailed);
    EXPECT_TRUE(writable.writes.empty());
}

// Through the real file: what was saved is what an import gets.
TEST(BackupWrite, EverySecretComesBackFromTheFileAsSaved) {
    const std::wstring_view passwords[] = {L"\"abcd\"", L"'pass1'", L" pw", L"pw\t", L"\"", L"'", L"''", L"\" \""};
    TempDir dir;
    const std::wstring file = (dir / "profile.bcp").wstring();
    const auto store = MakePortableProfileStore();
    for (const auto password : passwords) {
        ASSERT_EQ(WriteProfileBackup(*store, file, StaticBackup(password)), BackupSaveOutcome::Saved);
        EXPECT_EQ(Summary(ReadProfileBackup(*store, file)), std::vector{Static(std::wstring(password))})
            << std::string(password.begin(), password.end());
    }
    ASSERT_EQ(WriteProfileBackup(*store, file, TwoStepBackup(L"GEZD GNBV", L"'Work'")), BackupSaveOutcome::Saved);
    EXPECT_EQ(Summary(ReadProfileBackup(*store, file)), std::vector{TwoStep(L"GEZDGNBV", L"'Work'")});

    // A line break would add keys of its own; nothing is written.
    EXPECT_EQ(WriteProfileBackup(*store, file, TwoStepBackup(L"AAAA", L"x\r\nKey=BBBB")), BackupSaveOutcome::WriteFailed);
    EXPECT_EQ(Summary(ReadProfileBackup(*store, file)), std::vector{TwoStep(L"GEZDGNBV", L"'Work'")});

    // Protected over plain leaves no key behind, and plain over protected no seal.
    const std::string key152(152, 'A');
    const std::optional<SecretString> passphrase(SecretString("long enough"));
    ASSERT_EQ(WriteProfileBackup(*store, file, TwoStepBackup(std::wstring(152, L'A'), L"Work"), passphrase),
              BackupSaveOutcome::Saved);
    const auto text = [&] {
        std::ifstream in(dir / "profile.bcp", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(text().find("Key="), std::string::npos);
    EXPECT_EQ(text().find("AAAA"), std::string::npos);
    EXPECT_LT(text().find("Mode=OTP"), text().find("Account=Work"));
    EXPECT_LT(text().find("Account=Work"), text().find("Sealed=v1:PBKDF2-SHA256:600000:"));
    auto records = ReadProfileBackup(*store, file);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Summary(records[0]), TwoStep(L"", L"Work"));
    EXPECT_EQ(UnsealProfileBackup(records[0], "long enougH"), UnsealResult::WrongPassphraseOrDamaged);
    EXPECT_EQ(UnsealProfileBackup(records[0], "long enough"), UnsealResult::Opened);
    EXPECT_EQ(Summary(records[0]), TwoStep(std::wstring(152, L'A'), L"Work"));

    // A protected backup binds the shape too: taking it away, or changing
    // it, is a changed file. In a new file the shape follows the account.
    std::filesystem::remove(dir / "profile.bcp");
    ASSERT_EQ(WriteProfileBackup(*store, file, TwoStepBackup(L"GEZDGNBV", L"Work", {8, 60}), passphrase),
              BackupSaveOutcome::Saved);
    EXPECT_LT(text().find("Account=Work"), text().find("Digits=8"));
    EXPECT_LT(text().find("Digits=8"), text().find("Period=60"));
    EXPECT_LT(text().find("Period=60"), text().find("Sealed=v1:"));
    const auto unsealWith = [&](std::wstring_view digits, std::wstring_view period) {
        if (digits.empty()) {
            store->Remove(file, kBackupSection, L"Digits");
        } else {
            store->Put(file, kBackupSection, L"Digits", digits);
        }
        if (period.empty()) {
            store->Remove(file, kBackupSection, L"Period");
        } else {
            store->Put(file, kBackupSection, L"Period", period);
        }
        auto read = ReadProfileBackup(*store, file);
        return read.size() == 1 ? UnsealProfileBackup(read[0], "long enough") : UnsealResult::Invalid;
    };
    EXPECT_EQ(unsealWith(L"8", L"60"), UnsealResult::Opened);
    EXPECT_EQ(unsealWith(L"7", L"60"), UnsealResult::WrongPassphraseOrDamaged);
    EXPECT_EQ(unsealWith(L"8", L""), UnsealResult::WrongPassphraseOrDamaged);
    EXPECT_EQ(unsealWith(L"", L""), UnsealResult::WrongPassphraseOrDamaged);
    EXPECT_EQ(unsealWith(L"8", L"60"), UnsealResult::Opened);
    records = ReadProfileBackup(*store, file);
    ASSERT_EQ(UnsealProfileBackup(records[0], "long enough"), UnsealResult::Opened);
    EXPECT_EQ(Summary(records[0]), TwoStep(L"GEZDGNBV", L"Work", {8, 60}));

    ASSERT_EQ(WriteProfileBackup(*store, file, StaticBackup(L"pass1234")), BackupSaveOutcome::Saved);
    EXPECT_EQ(text().find("Sealed="), std::string::npos);
    EXPECT_EQ(text().find("Digits="), std::string::npos);
    EXPECT_EQ(Summary(ReadProfileBackup(*store, file)), std::vector{Static(L"pass1234")});
}

TEST(BackupWrite, APassphraseNeedsEightCharactersTypedTheSameTwice) {
    const struct {
        std::wstring_view first, second;
        int refusal;
    } cases[] = {
        {L"12345678", L"12345678", 0},
        {L"1234567", L"1234567", IDS_PASSPHRASE_TOO_SHORT},
        {L"1234567\U0001F511", L"1234567\U0001F511", 0},
        {L"123456\U0001F511", L"123456\U0001F511", IDS_PASSPHRASE_TOO_SHORT},
        {L"12345678", L"12345679", IDS_PASSPHRASES_DIFFER},
        {L"", L"", IDS_PASSPHRASE_TOO_SHORT},
    };
    for (const auto& c : cases) EXPECT_EQ(BackupPassphraseRefusal(c.first, c.second), c.refusal) << c.first.size();
}

#ifndef _WIN32
TEST(BackupWrite, SavingOverAnOlderBackupFailsAsAWhole) {
    TempDir dir;
    const std::wstring file = (dir / "profile.bcp").wstring();
    const auto store = MakePortableProfileStore();
    ASSERT_EQ(WriteProfileBackup(*store, file, StaticBackup(L"oldpass")), BackupSaveOutcome::Saved);
    const auto size = std::filesystem::file_size(dir / "profile.bcp");

    const auto saveLongKey = [&] {
        return WriteProfileBackup(*store, file, TwoStepBackup(std::wstring(200, L'A'), L"Google")) ==
               BackupSaveOutcome::Saved;
    };
    EXPECT_EQ(testing::RunWithFileSizeLimit(size + 20, saveLongKey), std::optional<bool>(false));
    EXPECT_EQ(Summary(ReadProfileBackup(*store, file)), std::vector{Static(L"oldpass")});
}
#endif

TEST(BackupRead, IniFormModeDecidesAndIsCaseSensitive) {
    const std::wstring file = L"x.bcp";
    const struct {
        std::wstring_view mode;
        Seen expected;
        std::wstring_view digits = {}, period = {};
    } cases[] = {
        {L"OTP", TwoStep(L"KEY", L"Acct")},
        {L"STATIC", Static(L"KEY")},
        {L"otp", kInvalid},
        {L"Static", kInvalid},
        {L"HOTP", kInvalid},
        {L"OTP", TwoStep(L"KEY", L"Acct", {8, 60}), L"8", L"60"},
        {L"OTP", TwoStep(L"KEY", L"Acct", {7, 30}), L"7"},
        {L"OTP", TwoStep(L"KEY", L"Acct", {6, 15}), L"", L"15"},
        {L"OTP", Refused(IDS_DIGITS_RANGE), L"9", L"60"},
        {L"OTP", Refused(IDS_DIGITS_RANGE), L"8.0"},
        {L"OTP", Refused(IDS_PERIOD_RANGE), L"8", L"121"},
        {L"OTP", Refused(IDS_PERIOD_RANGE), L"", L"-30"},
        {L"STATIC", Static(L"KEY"), L"8", L"60"},  // a password has no shape
    };
    for (const auto& c : cases) {
        MemoryProfileStore store;
        store.Put(file, kBackupSection, L"Mode", c.mode);
        store.Put(file, kBackupSection, L"Key", L"KEY");
        store.Put(file, kBackupSection, L"Account", L"Acct");
        if (!c.digits.empty()) store.Put(file, kBackupSection, L"Digits", c.digits);
        if (!c.period.empty()) store.Put(file, kBackupSection, L"Period", c.period);
        EXPECT_EQ(Summary(ReadProfileBackup(store, file)), std::vector{c.expected}) << std::wstring(c.mode);
    }
    MemoryProfileStore noAccount;
    noAccount.Put(file, kBackupSection, L"Mode", L"OTP");
    noAccount.Put(file, kBackupSection, L"Key", L"KEY");
    EXPECT_EQ(Summary(ReadProfileBackup(noAccount, file)), std::vector{TwoStep(L"KEY", L"")});
}

TEST(BackupRead, IniFormWithoutModeOrKeyFallsBackToPlainText) {
    TempDir dir;
    const std::wstring file = WriteFile(dir, "OTP PLAINKEY Plain\n");
    MemoryProfileStore store;
    store.Put(file, kBackupSection, L"Mode", L"OTP");
    store.Put(file, kBackupSection, L"Account", L"Ini");
    EXPECT_EQ(Summary(ReadProfileBackup(store, file)), std::vector{TwoStep(L"PLAINKEY", L"Plain")});
}

TEST(BackupRead, PlainLinesGiveOneRecordEach) {
    const std::string key99(99, 'K'), account19(19, 'a');
    const std::string fullLine = "OTP " + key99 + " " + account19 + std::string(255 - 4 - 99 - 1 - 19, ' ');
    const struct {
        std::string line;
        Seen expected;
    } cases[] = {
        {"OTP GEZDGNBVGY3TQOJQ Google", TwoStep(L"GEZDGNBVGY3TQOJQ", L"Google")},
        {"OTP GEZDGNBVGY3TQOJQ", TwoStep(L"GEZDGNBVGY3TQOJQ", L"")},
        {"  OTP\tKEY \t acc  more tokens\r", TwoStep(L"KEY", L"acc")},
        {"STATIC p@ss!w0rd SomeAccount", Static(L"p@ss!w0rd")},
        {"STATIC", Static(L"")},
        {"otp KEY acc", kInvalid},
        {"Static pw", kInvalid},
        {"OTPKEY acc", kInvalid},
        {"", kInvalid},
        {" \t\r", kInvalid},
        // Field limits: at the limit is fine, one more is never a record.
        {fullLine, TwoStep(std::wstring(99, L'K'), std::wstring(19, L'a'))},
        {fullLine + " ", kInvalid},
        {"OTP " + key99 + "K acc", kInvalid},
        {"OTP KEY " + account19 + "a", kInvalid},
        {"STATIC pw " + account19 + "a", kInvalid},
        {"STATICOTP1 KEY acc", kInvalid},
        {"OTP KEY acc " + std::string(300, 'x'), kInvalid},
    };
    for (const auto& c : cases) EXPECT_EQ(Summary(ParsePlainBackupLine(c.line)), c.expected) << c.line;
}

TEST(BackupRead, PlainTextIsWidenedWithTheGivenCodePage) {
    EXPECT_EQ(Summary(ParsePlainBackupLine("OTP KEY Caf\xE9\x80")), TwoStep(L"KEY", L"Caf\x00E9\x20AC"));
    EXPECT_EQ(Summary(ParsePlainBackupLine("STATIC \x9Fpw")), Static(L"\x0178pw"));
    const EightBitDecoder upper = [](std::string_view text) {
        std::wstring wide;
        for (const char c : text) wide.push_back(static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(c))));
        return wide;
    };
    EXPECT_EQ(Summary(ParsePlainBackupLine("OTP key acc", upper)), TwoStep(L"KEY", L"ACC"));
}

TEST(BackupRead, PlainFileGivesARecordPerLineButNoneForTheFinalLineBreak) {
    const struct {
        std::string content;
        std::vector<Seen> expected;
    } cases[] = {
        {"OTP K1 a\nSTATIC pw\n\nbogus\n", {TwoStep(L"K1", L"a"), Static(L"pw"), kInvalid, kInvalid}},
        // An over-long line is one unusable record, not several pieces.
        {"STATIC " + std::string(300, 'p') + "\nSTATIC pw\n", {kInvalid, Static(L"pw")}},
        {"OTP K1 a\r\nSTATIC pw\r\n", {TwoStep(L"K1", L"a"), Static(L"pw")}},
        {"STATIC pw", {Static(L"pw")}},
        {"\n", {kInvalid}},
        {"", {kInvalid}},
        // Each record is a flash write: more than 16, or more than 64 KiB, is refused whole.
        {[] { std::string lines; for (int i = 0; i < 16; ++i) lines += "STATIC pw\n"; return lines; }(),
         std::vector<Seen>(16, Static(L"pw"))},
        {[] { std::string lines; for (int i = 0; i < 17; ++i) lines += "STATIC pw\n"; return lines; }(), {kTooLarge}},
        {"STATIC pw\n" + std::string(64 * 1024, ' '), {kTooLarge}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        MemoryProfileStore store;
        EXPECT_EQ(Summary(ReadProfileBackup(store, WriteFile(dir, c.content))), c.expected) << c.content;
    }
    TempDir dir;
    MemoryProfileStore store;
    EXPECT_EQ(Summary(ReadProfileBackup(store, (dir / "missing.bcp").wstring())), std::vector{kInvalid});
}

}  // namespace
}  // namespace orvika2
