#include "dialogs/backup_dialogs_win32.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "dialogs/passphrase_dialogs_win32.h"

namespace orvika2 {
namespace {

constexpr DWORD kPathBuffer = 32768;

// The filter in the form the dialogs take: '|' separators become NULs.
std::wstring DialogFilter() {
    std::wstring filter(kBackupFilter);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    return filter;
}

std::optional<std::wstring> AskPath(HWND owner, std::wstring_view initialName, bool save) {
    const std::wstring filter = DialogFilter();
    const std::wstring extension(kBackupExtension);
    std::vector<wchar_t> path(kPathBuffer, L'\0');
    std::copy_n(initialName.begin(), std::min<std::size_t>(initialName.size(), kPathBuffer - 1), path.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathBuffer;
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : 0);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return std::wstring(path.data());
}

}  // namespace

std::optional<std::wstring> AskBackupSavePath(HWND owner, std::wstring_view defaultName) {
    return AskPath(owner, defaultName, true);
}

std::optional<std::wstring> AskBackupOpenPath(HWND owner) { return AskPath(owner, {}, false); }

BackupOfferResult SaveProfileBackup(HWND owner, ProfileStore& store, std::wstring_view defaultName,
                                    const ProfileBackup& backup) {
    const auto protection = AskBackupProtection(owner);
    if (!protection) return BackupOfferResult::Declined;
    const auto path = AskBackupSavePath(owner, defaultName);
    if (!path) return BackupOfferResult::Declined;
    // Never claim a backup that was not written.
    return WriteProfileBackup(store, *path, backup, protection->passphrase) == BackupSaveOutcome::Saved
               ? BackupOfferResult::Saved
               : BackupOfferResult::WriteFailed;
}

std::wstring WidenAnsi(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

}  // namespace orvika2
