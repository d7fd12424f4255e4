// Arbitrary bytes read as a profile backup file, in whichever form they
// pass for: an unusable record keeps nothing of the file, and records stay
// within their form's limits. A plain "OTP" line without a key is usable:
// the profile write refuses the empty key with its own message. A protected
// record keeps its key sealed; its value parses only in its one spelling.
// (Opening it is left out: a valid value may ask for ten million rounds of
// PBKDF2, which no fuzzer can afford per input.)
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/backup_file.h"
#include "settings/profile_store.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/scratch_file.h"
#include "tests/fuzz/utf16_units.h"

using orvika2::fuzzing::Require;
using orvika2::fuzzing::Utf16Units;

namespace {

std::size_t LineCount(std::string_view bytes) {
    const auto breaks = static_cast<std::size_t>(std::ranges::count(bytes, '\n'));
    return breaks + (bytes.empty() || bytes.back() == '\n' ? 0 : 1);
}

bool IsPlainSeparator(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const orvika2::fuzzing::ScratchFile file("profile.bcp");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    file.Write(bytes);
    const auto store = orvika2::MakePortableProfileStore();

    const auto records = orvika2::ReadProfileBackup(*store, file.Path());
    const bool hasMode = !store->Get(file.Path(), orvika2::kBackupSection, L"Mode").empty();
    const bool sealedForm =
        hasMode && !store->Get(file.Path(), orvika2::kBackupSection, L"Sealed", orvika2::kSealedValueMax + 1).empty();
    const bool iniForm =
        sealedForm || (hasMode && !store->Get(file.Path(), orvika2::kBackupSection, L"Key").empty());
    Require(!records.empty(), "at least one record, so the user is told");
    Require(records.size() <= std::max<std::size_t>(1, iniForm ? 1 : LineCount(bytes)), "at most a record a line");
    Require(records.size() <= orvika2::kPlainBackupMaxRecords, "never more records than the token should take");
    if (size > orvika2::kBackupFileMaxBytes) {
        Require(records.size() == 1 && !records[0].mode && records[0].refusalId == orvika2::IDS_BACKUP_TOO_LARGE,
                "a file beyond 64 KiB is refused whole");
    }

    for (const orvika2::ProfileBackup& record : records) {
        if (!record.mode) {
            Require(record.key.empty() && record.account.empty() && record.sealed.empty(),
                    "an unusable record holds nothing");
            continue;
        }
        if (!record.sealed.empty()) {
            Require(sealedForm && record.key.empty(), "a protected record's key stays sealed");
            if (const auto parts = orvika2::ParseSealedValue(record.sealed)) {
                Require(parts->iterations >= orvika2::kSealIterationsMin &&
                            parts->iterations <= orvika2::kSealIterationsMax,
                        "iterations within the limits");
                Require(orvika2::FormatSealedValue(*parts) == record.sealed, "a value has one spelling");
            }
            continue;
        }
        Require(*record.mode != orvika2::ProfileMode::NotConfigured, "a usable record has a mode to set");
        if (*record.mode == orvika2::ProfileMode::StaticPassword) {
            Require(record.account.empty(), "a static password keeps no account");
        }
        if (iniForm) {
            Require(!record.key.empty() && Utf16Units(record.key) <= orvika2::kProfileValueMax,
                    "an INI key is there and fits 259 units");
        } else {
            Require(record.key.size() <= orvika2::kPlainBackupKeyMax &&
                        record.account.size() <= orvika2::kPlainBackupAccountMax,
                    "plain tokens within their limits");
            Require(std::ranges::none_of(record.key, IsPlainSeparator) &&
                        std::ranges::none_of(record.account, IsPlainSeparator),
                    "plain tokens hold no white space");
        }
    }
    return 0;
}
