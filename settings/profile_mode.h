#pragma once
// What a profile is set as, and how that is written in the configuration
// file's profile entries and in backup files.
#include <optional>
#include <string_view>

namespace orvika2 {

enum class ProfileMode { TwoStep, StaticPassword, NotConfigured };

inline constexpr std::wstring_view kNotConfiguredEntry = L"NotConfigured";
inline constexpr std::wstring_view kStaticPasswordEntry = L"StaticPassword";
inline constexpr std::wstring_view kTwoStepBackupMode = L"OTP";
inline constexpr std::wstring_view kStaticBackupMode = L"STATIC";

// An entry may in principle hold both marker words; readers differ in which
// one they look for first.
enum class EntryTestOrder { NotConfiguredFirst, StaticPasswordFirst };

// Case-sensitive substring tests; an empty entry or any other text (an
// account name) is a 2-Step Verification profile.
ProfileMode ClassifyProfileEntry(std::wstring_view entry, EntryTestOrder order);

// The entry written for a profile: the account name (possibly empty) for a
// 2-Step Verification profile, otherwise the marker word.
std::wstring_view ProfileEntryText(ProfileMode mode, std::wstring_view accountName = {});

// "OTP" or "STATIC"; empty for a profile that is not configured, which no
// backup holds.
std::wstring_view BackupModeText(ProfileMode mode);

// Exact, case-sensitive: "otp" is not a mode.
std::optional<ProfileMode> BackupModeFromText(std::wstring_view text);

}  // namespace orvika2
