#pragma once
// Profile backup files: the INI form the system writes and reads, and the
// plain-text form it also reads. No dialogs or messages here: callers turn
// the results into them.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/secure_memory.h"
#include "resources/string_ids.h"
#include "settings/profile_mode.h"
#include "settings/profile_store.h"
#include "settings/sealed_backup.h"
#include "token/verification_code.h"

namespace orvika2 {

inline constexpr std::wstring_view kBackupSection = L"Orvika2_BACKUP";
inline constexpr std::wstring_view kBackupExtension = L"bcp";
inline constexpr std::wstring_view kBackupFilter = L"Back up(*.bcp)|*.bcp||";

// One profile as a backup holds it. The key is a secret: the Base32 key text
// of a 2-Step Verification profile or the static password itself; it is
// wiped with the record.
struct ProfileBackup {
    // TwoStep or StaticPassword; empty for a record that cannot be used.
    std::optional<ProfileMode> mode;
    std::wstring key;
    std::wstring account;
    // The shape of the codes: "Digits" and "Period", absent for 6 and 30.
    CodeShape shape;
    // Those two values as the file holds them, which a seal binds; both
    // empty when the file has neither.
    std::wstring digitsText;
    std::wstring periodText;
    // A protected backup's "Sealed" value; its key stays empty until
    // UnsealProfileBackup opens it.
    std::wstring sealed;
    // What tells the user about an unusable record: message 10, or a
    // refusal of the whole file.
    int refusalId = IDS_INVALID_BACKUP;

    ProfileBackup() = default;
    ProfileBackup(std::optional<ProfileMode> mode, std::wstring key, std::wstring account);
    ProfileBackup(const ProfileBackup&) = default;
    ProfileBackup(ProfileBackup&&) = default;
    ProfileBackup& operator=(const ProfileBackup&) = default;
    ProfileBackup& operator=(ProfileBackup&&) = default;
    ~ProfileBackup();
};

// What the page saves after writing a profile: the key text without its
// spaces (hyphens stay) and the account name, or the password with the
// account "StaticPassword".
ProfileBackup TwoStepBackup(std::wstring_view keyText, std::wstring_view account, CodeShape shape = {});
ProfileBackup StaticBackup(std::wstring_view password);

enum class BackupSaveOutcome { Saved, WriteFailed };

// Writes "Mode", "Key" and "Account", in this order, to the backup section
// as one replacement of the file, then "Digits" and "Period" for a shape
// other than 6 and 30 (and removes old ones otherwise); the rest of an
// existing file stays. With
// a passphrase (UTF-8) the key is sealed instead: "Mode", "Account" and
// "Sealed", and no "Key" is left in the file; a plain save removes an old
// "Sealed" likewise. WriteFailed when they could not be written (a
// read-only folder, a full disk, a line break in the account, a failing
// random source): the file is then as it was, and the profile is set but
// no usable backup exists.
BackupSaveOutcome WriteProfileBackup(ProfileStore& store, const std::wstring& path, const ProfileBackup& backup,
                                     const std::optional<SecretString>& passphrase = std::nullopt);

// Opens a protected record with the passphrase (UTF-8): Opened fills its key.
UnsealResult UnsealProfileBackup(ProfileBackup& record, std::string_view passphraseUtf8);

// A passphrase for a new protected backup, typed twice: 0 when it will do,
// else the message that says why not.
inline constexpr std::size_t kBackupPassphraseMin = 8;
int BackupPassphraseRefusal(std::wstring_view passphrase, std::wstring_view repeated);

// Turns the file's 8-bit text into wide text. On Windows the caller passes
// a conversion with the thread's ANSI code page.
using EightBitDecoder = std::function<std::wstring(std::string_view)>;
std::wstring WidenWindows1252(std::string_view text);

// Limits of the plain-text form, in 8-bit characters (line breaks aside).
inline constexpr std::size_t kPlainBackupLineMax = 255;
inline constexpr std::size_t kPlainBackupModeMax = 9;
inline constexpr std::size_t kPlainBackupKeyMax = 99;
inline constexpr std::size_t kPlainBackupAccountMax = 19;

// One line of the plain-text form: mode, key and account separated by white
// space, further tokens ignored. A line or token beyond its limit, a mode
// other than exactly "OTP" or "STATIC", and an empty line give an unusable
// record. The account of a static password is not kept.
ProfileBackup ParsePlainBackupLine(std::string_view line, const EightBitDecoder& widen = WidenWindows1252);

// Each record is a flash write of the token: a file larger than this, or a
// plain-text file of more records, is refused whole before anything is applied.
inline constexpr std::size_t kBackupFileMaxBytes = 64 * 1024;
inline constexpr std::size_t kPlainBackupMaxRecords = 16;

// Every record of the file, in order, for the caller to apply or report one
// by one. The INI form (both "Mode" and "Key" set, or "Mode" and "Sealed"
// for a protected record) gives one record. Else the file is read as plain
// text, one record per line; the line break ending the last line does not
// make an extra record, but a file that cannot be opened or holds no line
// at all gives one unusable record, so the user is told. A file beyond the
// limits above gives one unusable record with the refusal's message.
std::vector<ProfileBackup> ReadProfileBackup(ProfileStore& store, const std::wstring& path,
                                             const EightBitDecoder& widen = WidenWindows1252);

}  // namespace orvika2
