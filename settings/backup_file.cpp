#include "settings/backup_file.h"

#include "settings/windows1252.h"

#include <algorithm>

#include "platform/secret_file.h"
#include "platform/secure_memory.h"
#include "platform/text.h"
#include "settings/config_file.h"

namespace orvika2 {
namespace {

constexpr std::wstring_view kModeKey = L"Mode";
constexpr std::wstring_view kKeyKey = L"Key";
constexpr std::wstring_view kAccountKey = L"Account";
constexpr std::wstring_view kSealedKey = L"Sealed";
constexpr std::wstring_view kDigitsKey = L"Digits";
constexpr std::wstring_view kPeriodKey = L"Period";

// The white space of the C library's isspace in the "C" locale.
constexpr std::string_view kPlainSeparators = " \t\n\v\f\r";

// Splits off the next white-space-separated token; empty when none is left.
std::string_view NextToken(std::string_view& rest) {
    const auto start = rest.find_first_not_of(kPlainSeparators);
    if (start == std::string_view::npos) {
        rest = {};
        return {};
    }
    rest.remove_prefix(start);
    const auto end = std::min(rest.find_first_of(kPlainSeparators), rest.size());
    const std::string_view token = rest.substr(0, end);
    rest.remove_prefix(end);
    return token;
}

std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

ProfileBackup Unusable(int refusalId = IDS_INVALID_BACKUP) {
    ProfileBackup record;
    record.refusalId = refusalId;
    return record;
}

// One shape key into `value`: an absent key keeps the default; false when
// the key holds no number in range.
bool ShapeKeyValue(const std::wstring& text, bool (*inRange)(int), int& value) {
    if (text.empty()) return true;
    const auto number = ParseShapeNumber(text);
    if (!number || !inRange(*number)) return false;
    value = *number;
    return true;
}

// The shape keys as the file holds them; a value that is not a number in
// its range refuses the record with the range's message.
bool ReadShape(ProfileStore& store, const std::wstring& path, ProfileBackup& record) {
    record.digitsText = store.Get(path, kBackupSection, kDigitsKey);
    record.periodText = store.Get(path, kBackupSection, kPeriodKey);
    if (!ShapeKeyValue(record.digitsText, &DigitsInRange, record.shape.digits)) {
        record.refusalId = IDS_DIGITS_RANGE;
    } else if (!ShapeKeyValue(record.periodText, &PeriodInRange, record.shape.periodSeconds)) {
        record.refusalId = IDS_PERIOD_RANGE;
    } else {
        return true;
    }
    return false;
}

SealedFields FieldsOf(const ProfileBackup& backup, std::wstring_view mode) {
    const bool withShape = !backup.digitsText.empty() || !backup.periodText.empty();
    return {mode, backup.account, withShape, backup.digitsText, backup.periodText};
}

std::optional<ProfileBackup> ReadIniForm(ProfileStore& store, const std::wstring& path) {
    const std::wstring mode = store.Get(path, kBackupSection, kModeKey);
    if (mode.empty()) return std::nullopt;
    // One character beyond the longest value the reader takes, so that a
    // longer one is refused rather than cut.
    std::wstring sealed = store.Get(path, kBackupSection, kSealedKey, kSealedValueMax + 1);
    if (!sealed.empty()) {
        ProfileBackup record(BackupModeFromText(mode), {}, store.Get(path, kBackupSection, kAccountKey));
        if (!record.mode) return Unusable();
        if (!ReadShape(store, path, record)) return Unusable(record.refusalId);
        // The seal binds the account whatever the mode.
        record.sealed = std::move(sealed);
        return record;
    }
    ProfileBackup record(BackupModeFromText(mode), store.Get(path, kBackupSection, kKeyKey), {});
    if (record.key.empty()) return std::nullopt;
    if (!record.mode) return Unusable();
    // A static password's account is never used.
    if (*record.mode == ProfileMode::TwoStep) {
        record.account = store.Get(path, kBackupSection, kAccountKey);
        if (!ReadShape(store, path, record)) return Unusable(record.refusalId);
    }
    return record;
}

std::wstring_view ModeText(const ProfileBackup& backup) { return BackupModeText(*backup.mode); }

// A shape key to write, or none to remove it.
std::optional<std::wstring_view> ShapeValue(const std::wstring& text) {
    if (text.empty()) return std::nullopt;
    return text;
}

}  // namespace

ProfileBackup::ProfileBackup(std::optional<ProfileMode> mode, std::wstring key, std::wstring account)
    : mode(mode), key(std::move(key)), account(std::move(account)) {}

ProfileBackup::~ProfileBackup() { SecureWipe(key); }

ProfileBackup TwoStepBackup(std::wstring_view keyText, std::wstring_view account, CodeShape shape) {
    std::wstring key;
    key.reserve(keyText.size());
    std::copy_if(keyText.begin(), keyText.end(), std::back_inserter(key), [](wchar_t c) { return c != L' '; });
    ProfileBackup backup(ProfileMode::TwoStep, std::move(key), std::wstring(account));
    backup.shape = shape;
    if (!shape.IsDefault()) {
        backup.digitsText = std::to_wstring(shape.digits);
        backup.periodText = std::to_wstring(shape.periodSeconds);
    }
    return backup;
}

ProfileBackup StaticBackup(std::wstring_view password) {
    return ProfileBackup(ProfileMode::StaticPassword, std::wstring(password), std::wstring(kStaticPasswordEntry));
}

BackupSaveOutcome WriteProfileBackup(ProfileStore& store, const std::wstring& path, const ProfileBackup& backup,
                                     const std::optional<SecretString>& passphrase) {
    if (!backup.mode || *backup.mode == ProfileMode::NotConfigured) return BackupSaveOutcome::WriteFailed;
    // One replacement of the file: a new mode never stands beside an old
    // key, a sealed key never beside a plain one, and a shape never outlives
    // the profile it belonged to.
    const auto digits = ShapeValue(backup.digitsText);
    const auto period = ShapeValue(backup.periodText);
    if (!passphrase) {
        const ProfileStore::Entry entries[] = {{kModeKey, ModeText(backup)},    {kKeyKey, backup.key},
                                               {kAccountKey, backup.account},   {kDigitsKey, digits},
                                               {kPeriodKey, period},            {kSealedKey, std::nullopt}};
        return store.PutAll(path, kBackupSection, entries) ? BackupSaveOutcome::Saved : BackupSaveOutcome::WriteFailed;
    }
    const auto sealed = SealBackupKey(backup.key, FieldsOf(backup, ModeText(backup)), passphrase->get());
    if (!sealed) return BackupSaveOutcome::WriteFailed;
    const ProfileStore::Entry entries[] = {{kModeKey, ModeText(backup)}, {kAccountKey, backup.account},
                                           {kDigitsKey, digits},         {kPeriodKey, period},
                                           {kSealedKey, *sealed},        {kKeyKey, std::nullopt}};
    return store.PutAll(path, kBackupSection, entries) ? BackupSaveOutcome::Saved : BackupSaveOutcome::WriteFailed;
}

UnsealResult UnsealProfileBackup(ProfileBackup& record, std::string_view passphraseUtf8) {
    if (!record.mode || record.sealed.empty()) return UnsealResult::Invalid;
    UnsealedKey opened = UnsealBackupKey(record.sealed, FieldsOf(record, ModeText(record)), passphraseUtf8);
    if (opened.result == UnsealResult::Opened) {
        SecureWipe(record.key);
        record.key.swap(opened.key.get());
    }
    return opened.result;
}

int BackupPassphraseRefusal(std::wstring_view passphrase, std::wstring_view repeated) {
    // Characters, not UTF-16 units: a pair of surrogates is one.
    const auto characters = std::count_if(passphrase.begin(), passphrase.end(), [](wchar_t c) {
        return static_cast<std::uint32_t>(c) < 0xDC00 || static_cast<std::uint32_t>(c) > 0xDFFF;
    });
    if (static_cast<std::size_t>(characters) < kBackupPassphraseMin) return IDS_PASSPHRASE_TOO_SHORT;
    if (passphrase != repeated) return IDS_PASSPHRASES_DIFFER;
    return 0;
}

std::wstring WidenWindows1252(std::string_view text) { return DecodeWindows1252(text); }

ProfileBackup ParsePlainBackupLine(std::string_view line, const EightBitDecoder& widen) {
    line = WithoutCarriageReturn(line);
    if (line.size() > kPlainBackupLineMax) return Unusable();
    std::string_view rest = line;
    const std::string_view mode = NextToken(rest);
    const std::string_view key = NextToken(rest);
    const std::string_view account = NextToken(rest);
    if (mode.size() > kPlainBackupModeMax || key.size() > kPlainBackupKeyMax ||
        account.size() > kPlainBackupAccountMax) {
        return Unusable();
    }
    ProfileBackup record(BackupModeFromText(widen(mode)), widen(key), {});
    if (!record.mode) return Unusable();
    if (*record.mode == ProfileMode::TwoStep) record.account = widen(account);
    return record;
}

std::vector<ProfileBackup> ReadProfileBackup(ProfileStore& store, const std::wstring& path,
                                             const EightBitDecoder& widen) {
    std::vector<ProfileBackup> records;
    SecretString bytes;
    const SecretFileRead read = ReadSecretFile(PathFromWide(path), bytes.get(), kBackupFileMaxBytes);
    if (read == SecretFileRead::TooLarge) {
        records.push_back(Unusable(IDS_BACKUP_TOO_LARGE));
        return records;
    }
    if (auto ini = ReadIniForm(store, path)) {
        records.push_back(std::move(*ini));
        return records;
    }
    std::string_view rest = bytes.get();
    while (!rest.empty()) {
        const auto end = std::min(rest.find('\n'), rest.size());
        records.push_back(ParsePlainBackupLine(rest.substr(0, end), widen));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    if (records.size() > kPlainBackupMaxRecords) {
        records.clear();
        records.push_back(Unusable(IDS_BACKUP_TOO_LARGE));
    }
    if (records.empty()) records.push_back(Unusable());
    return records;
}

}  // namespace orvika2
