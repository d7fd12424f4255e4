#include "settings/backup_file.h"

#include "settings/windows1252.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>

#include "platform/secure_memory.h"

namespace orvika2 {
namespace {

constexpr std::wstring_view kModeKey = L"Mode";
constexpr std::wstring_view kKeyKey = L"Key";
constexpr std::wstring_view kAccountKey = L"Account";

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

ProfileBackup Unusable() { return {}; }

std::optional<ProfileBackup> ReadIniForm(ProfileStore& store, const std::wstring& path) {
    const std::wstring mode = store.Get(path, kBackupSection, kModeKey);
    ProfileBackup record(BackupModeFromText(mode), store.Get(path, kBackupSection, kKeyKey), {});
    if (mode.empty() || record.key.empty()) return std::nullopt;
    if (!record.mode) return Unusable();
    // A static password's account is never used.
    if (*record.mode == ProfileMode::TwoStep) record.account = store.Get(path, kBackupSection, kAccountKey);
    return record;
}

}  // namespace

ProfileBackup::ProfileBackup(std::optional<ProfileMode> mode, std::wstring key, std::wstring account)
    : mode(mode), key(std::move(key)), account(std::move(account)) {}

ProfileBackup::~ProfileBackup() { SecureWipe(key); }

ProfileBackup TwoStepBackup(std::wstring_view keyText, std::wstring_view account) {
    std::wstring key;
    key.reserve(keyText.size());
    std::copy_if(keyText.begin(), keyText.end(), std::back_inserter(key), [](wchar_t c) { return c != L' '; });
    return ProfileBackup(ProfileMode::TwoStep, std::move(key), std::wstring(account));
}

ProfileBackup StaticBackup(std::wstring_view password) {
    return ProfileBackup(ProfileMode::StaticPassword, std::wstring(password), std::wstring(kStaticPasswordEntry));
}

BackupSaveOutcome WriteProfileBackup(ProfileStore& store, const std::wstring& path, const ProfileBackup& backup) {
    if (!backup.mode || *backup.mode == ProfileMode::NotConfigured) return BackupSaveOutcome::WriteFailed;
    // One replacement of the file: a new mode never stands beside an old key.
    const ProfileStore::Entry entries[] = {
        {kModeKey, BackupModeText(*backup.mode)}, {kKeyKey, backup.key}, {kAccountKey, backup.account}};
    return store.PutAll(path, kBackupSection, entries) ? BackupSaveOutcome::Saved : BackupSaveOutcome::WriteFailed;
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
    if (auto ini = ReadIniForm(store, path)) {
        records.push_back(std::move(*ini));
        return records;
    }
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    SecretString line;
    line->reserve(kPlainBackupLineMax + 2);  // fewer reallocations leaving copies behind
    while (std::getline(file, line.get())) {
        records.push_back(ParsePlainBackupLine(line.get(), widen));
    }
    if (records.empty()) records.push_back(Unusable());
    return records;
}

}  // namespace orvika2
