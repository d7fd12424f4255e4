#pragma once
// The profile backup's file dialogs and the save with its messages.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "profiles/profile_operations.h"
#include "settings/backup_file.h"
#include "settings/profile_store.h"

namespace orvika2 {

// The save dialog with the default extension "bcp", `defaultName` in the
// name field and a prompt before an existing file is replaced; nullopt when
// cancelled.
std::optional<std::wstring> AskBackupSavePath(HWND owner, std::wstring_view defaultName);
// The open dialog with an empty name field; nullopt when cancelled.
std::optional<std::wstring> AskBackupOpenPath(HWND owner);

// Asks for a passphrase (or a plain backup) and where, and writes the
// backup; Declined when the user cancelled either dialog. The page tells
// the user what came of it.
BackupOfferResult SaveProfileBackup(HWND owner, ProfileStore& store, std::wstring_view defaultName,
                                    const ProfileBackup& backup);

// 8-bit text in the thread's ANSI code page.
std::wstring WidenAnsi(std::string_view text);

}  // namespace orvika2
