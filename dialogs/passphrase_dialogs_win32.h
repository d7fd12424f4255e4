#pragma once
// The passphrase of a profile backup: chosen twice when one is saved,
// typed once when a protected one is imported.
#include <windows.h>

#include <optional>

#include "platform/secure_memory.h"
#include "ui/dialog_base_win32.h"

namespace orvika2 {

// A passphrase (UTF-8) for a protected backup, or none for a plain one.
struct BackupProtection {
    std::optional<SecretString> passphrase;
};

class ProtectBackupDlg final : public DialogBase {
public:
    ProtectBackupDlg();
    BackupProtection TakeProtection() { return std::move(protection_); }

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnPlainChoice();
    void OnOk();

    BackupProtection protection_;
};

class OpenBackupDlg final : public DialogBase {
public:
    OpenBackupDlg();
    std::optional<SecretString> TakePassphrase() { return std::move(passphrase_); }

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    std::optional<SecretString> passphrase_;
};

// Nullopt when the user cancelled: then no backup is written.
std::optional<BackupProtection> AskBackupProtection(HWND owner);
// Nullopt when the user cancelled: then nothing is imported.
std::optional<SecretString> AskBackupPassphrase(HWND owner);

}  // namespace orvika2
