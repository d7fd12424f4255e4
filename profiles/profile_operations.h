#pragma once
// The profile page's operations on the token: write a 2-Step Verification
// profile, write a static password, delete a profile, import a backup. They
// show nothing themselves; each returns what the page must show.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/secure_memory.h"
#include "resources/string_ids.h"
#include "settings/app_services.h"
#include "settings/backup_file.h"
#include "token/token_lib.h"
#include "token/verification_code.h"

namespace orvika2 {

struct ProfilePageContext {
    AppServices& services;
    std::wstring section;  // the token serial read when the page was initialised
    int profile = 1;       // 1 or 2
};

enum class PageField { None, SecretKey, StaticPassword, CodePeriod };

struct PageOutcome {
    // The token took the change: the page sends the refresh message to the
    // main window.
    bool applied = false;
    // Whether the configuration entry was written too. When it was not, a
    // backup is still offered: it may be the only copy of a new secret.
    bool entrySaved = true;
    // A message box, by string id, or 0. After a write it is 16 "Setting
    // successful", or 15 when a backup is offered; 17 may carry a code.
    int messageId = 0;
    std::optional<int> failureCode;
    // A balloon at a field, by string id, or 0.
    int balloonId = 0;
    PageField balloonField = PageField::None;
    // Offered with message 15: what to save, and the save dialog's file name.
    std::optional<ProfileBackup> backup;
    std::wstring backupFileName;

    // The message's text: the string, then the failure code if any.
    std::wstring MessageText(const std::function<std::wstring(int)>& lookup) const;
};

// The key text is a Base32 key whose codes get `shape`, or an otpauth://totp/
// link, whose own shape then counts and whose account name replaces the
// one given unless the link names none. A link the token cannot serve, a
// key longer than it holds and a shape out of range are refused with their
// own balloons, before anything is written. The entry is written with the
// shape beside it, so a plain key brings a profile back to 6 and 30.
PageOutcome WriteTwoStepProfile(ProfilePageContext& page, std::wstring_view keyText, std::wstring_view accountName,
                                bool requireTouch, bool offerBackup, CodeShape shape = {});
PageOutcome WriteStaticProfile(ProfilePageContext& page, std::wstring_view password, bool offerBackup);
// After the user confirmed message 11.
PageOutcome DeleteProfile(ProfilePageContext& page);

// Generate: the length as typed and the checked classes; no class is
// reported before a bad length.
struct GeneratedPassword {
    int messageId = 0;  // 6 or 5 when refused
    SecretWString password;
};
GeneratedPassword GeneratePagePassword(std::wstring_view lengthText, unsigned classes);

// The messages after the save offer: what the user sees once the backup was
// saved, could not be saved, or was declined, and whether the entry was
// written. Every failure is named; a saved backup is always said.
// NotWanted: the user answered No to the question; Declined: the user
// cancelled a dialog after Yes.
enum class BackupOfferResult { Saved, WriteFailed, Declined, NotWanted };
std::vector<int> BackupOfferMessages(BackupOfferResult result, bool entrySaved);

// What an import asks the user. `askPassphrase(again)` gives the passphrase
// of a protected record (UTF-8), `again` after a wrong one; nullopt stops.
struct ImportPrompts {
    std::function<bool()> askRequireTouch;
    std::function<std::optional<SecretString>(bool again)> askPassphrase;
    std::function<void(const PageOutcome&)> show;
};

// Applies every record of a backup file to the page's profile, in order,
// without offering a new backup. `askRequireTouch` is asked (message 9)
// before each 2-Step Verification record; a protected record is opened
// first, and a wrong passphrase or a changed file is shown and asked again
// without touching the token. `show` gets each outcome as it happens, an
// unusable record as its refusal.
void ImportProfileBackup(ProfilePageContext& page, const std::wstring& backupPath, const ImportPrompts& prompts,
                         const EightBitDecoder& widen = WidenWindows1252);

}  // namespace orvika2
