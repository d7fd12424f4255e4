#include "settings/profile_mode.h"

namespace orvika2 {

ProfileMode ClassifyProfileEntry(std::wstring_view entry, EntryTestOrder order) {
    const bool notConfigured = entry.find(kNotConfiguredEntry) != std::wstring_view::npos;
    const bool staticPassword = entry.find(kStaticPasswordEntry) != std::wstring_view::npos;
    if (notConfigured && (!staticPassword || order == EntryTestOrder::NotConfiguredFirst)) {
        return ProfileMode::NotConfigured;
    }
    if (staticPassword) return ProfileMode::StaticPassword;
    return ProfileMode::TwoStep;
}

std::wstring_view ProfileEntryText(ProfileMode mode, std::wstring_view accountName) {
    switch (mode) {
        case ProfileMode::NotConfigured: return kNotConfiguredEntry;
        case ProfileMode::StaticPassword: return kStaticPasswordEntry;
        case ProfileMode::TwoStep: break;
    }
    return accountName;
}

std::wstring_view BackupModeText(ProfileMode mode) {
    switch (mode) {
        case ProfileMode::TwoStep: return kTwoStepBackupMode;
        case ProfileMode::StaticPassword: return kStaticBackupMode;
        case ProfileMode::NotConfigured: break;
    }
    return {};
}

std::optional<ProfileMode> BackupModeFromText(std::wstring_view text) {
    if (text == kTwoStepBackupMode) return ProfileMode::TwoStep;
    if (text == kStaticBackupMode) return ProfileMode::StaticPassword;
    return std::nullopt;
}

}  // namespace orvika2
