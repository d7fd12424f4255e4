#include "profiles/profile_operations.h"

#include "platform/secure_memory.h"
#include "profiles/totp_link.h"
#include "settings/config_file.h"
#include "settings/profile_mode.h"
#include "token/password_generator.h"
#include "token/profile_config.h"

namespace orvika2 {
namespace {

constexpr std::uint16_t kConfigWriteTimeoutMs = 600;
constexpr std::uint32_t kDeleteSettleMs = 100;
constexpr std::size_t kStaticPasswordMin = 4;
constexpr std::size_t kStaticPasswordMax = 38;

PageOutcome Message(int id, std::optional<int> code = std::nullopt) {
    PageOutcome outcome;
    outcome.messageId = id;
    outcome.failureCode = code;
    return outcome;
}

PageOutcome Balloon(int id, PageField field) {
    PageOutcome outcome;
    outcome.balloonId = id;
    outcome.balloonField = field;
    return outcome;
}

// A session as the page opens it: the open's own result does not matter, the
// status read decides.
bool OpenSession(CTokenLib& token) {
    token.Open();
    TokenStatus status;
    return token.ReadStatus(status) == TokenResult::Success;
}

// Only 7-bit text reaches here, so the 8-bit form is the same characters.
SecretString SevenBitText(std::wstring_view text) {
    SecretString narrow;
    narrow->reserve(text.size());
    for (wchar_t c : text) narrow->push_back(static_cast<char>(c));
    return narrow;
}

PageOutcome Applied(ProfilePageContext& page, std::wstring_view entry, bool offerBackup, ProfileBackup backup,
                    std::wstring backupFileName, CodeShape shape = {}) {
    PageOutcome outcome;
    outcome.applied = true;
    outcome.entrySaved = WriteProfileEntryAndShape(page.services.store, page.services.config.file, page.section,
                                                   page.profile, entry, shape);
    if (offerBackup) {
        outcome.messageId = IDS_SAVE_BACKUP_QUESTION;
        outcome.backup = std::move(backup);
        outcome.backupFileName = std::move(backupFileName);
    } else {
        outcome.messageId = outcome.entrySaved ? IDS_SETTING_SUCCESSFUL : IDS_ENTRY_NOT_SAVED;
    }
    return outcome;
}

// A protected record opened with the user's passphrase; false when the user
// gave none, or the record cannot be opened at all.
bool OpenProtectedRecord(ProfileBackup& record, const ImportPrompts& prompts) {
    for (bool again = false;; again = true) {
        const auto passphrase = prompts.askPassphrase(again);
        if (!passphrase) return false;
        switch (UnsealProfileBackup(record, passphrase->get())) {
            case UnsealResult::Opened: return true;
            case UnsealResult::WrongPassphraseOrDamaged: prompts.show(Message(IDS_WRONG_PASSPHRASE)); break;
            case UnsealResult::Invalid: prompts.show(Message(IDS_INVALID_BACKUP)); return false;
        }
    }
}

}  // namespace

std::wstring PageOutcome::MessageText(const std::function<std::wstring(int)>& lookup) const {
    if (messageId == 0) return {};
    std::wstring text = lookup(messageId);
    if (failureCode) text += std::to_wstring(*failureCode);
    return text;
}

PageOutcome WriteTwoStepProfile(ProfilePageContext& page, std::wstring_view keyText, std::wstring_view accountName,
                                bool requireTouch, bool offerBackup, CodeShape shape) {
    CTokenLib token(page.services.Token());
    if (!OpenSession(token)) return Message(IDS_NOT_INSERTED);

    TotpLink link;
    if (LooksLikeLink(keyText)) {
        link = ParseTotpLink(keyText);
        if (link.refusalId) return Balloon(link.refusalId, PageField::SecretKey);
        keyText = link.key.get();
        if (!link.account.empty()) accountName = link.account;
        shape = link.shape;
    }
    if (!DigitsInRange(shape.digits)) return Balloon(IDS_DIGITS_RANGE, PageField::CodePeriod);
    if (!PeriodInRange(shape.periodSeconds)) return Balloon(IDS_PERIOD_RANGE, PageField::CodePeriod);
    // A non-ASCII character would reach the decoder only through a code-page
    // conversion that may turn it into some other, valid letter.
    if (!IsAsciiText(keyText)) return Balloon(IDS_ILLEGAL_SECRET_KEY, PageField::SecretKey);
    const SecretString key = SevenBitText(keyText);
    if (const int refusal = TwoStepKeyRefusal(key.get())) return Balloon(refusal, PageField::SecretKey);
    const auto record = BuildTwoStepRecordFromKey(key.get(), requireTouch);
    if (!record) return Balloon(IDS_ILLEGAL_SECRET_KEY, PageField::SecretKey);

    const bool profile2 = page.profile == 2;
    if (const auto written = token.WriteConfig(profile2, &record->bytes); written != TokenResult::Success) {
        return Message(IDS_SETTING_FAILED);
    }
    // The configuration sequence proves that the token stored the record.
    if (token.ReadResponse(kConfigWriteTimeoutMs, {}) != TokenResult::Success) return Message(IDS_SETTING_FAILED);

    return Applied(page, accountName, offerBackup, TwoStepBackup(keyText, accountName, shape), std::wstring(accountName),
                   shape);
}

PageOutcome WriteStaticProfile(ProfilePageContext& page, std::wstring_view password, bool offerBackup) {
    CTokenLib token(page.services.Token());
    if (!OpenSession(token)) return Message(IDS_NOT_INSERTED);

    if (password.find(L' ') != std::wstring_view::npos) return Balloon(IDS_NO_SPACES, PageField::StaticPassword);
    if (password.size() < kStaticPasswordMin || password.size() > kStaticPasswordMax) {
        return Message(IDS_PASSWORD_LENGTH_RANGE);
    }
    // The token can only type what its key-code table holds.
    if (!StaticPasswordTypable(password)) return Balloon(IDS_NO_SPACES, PageField::StaticPassword);

    const SecretString text = SevenBitText(password);
    const ProfileConfig record = BuildStaticRecord(text.get());
    const bool profile2 = page.profile == 2;
    if (const auto written = token.WriteConfig(profile2, &record.bytes); written != TokenResult::Success) {
        return Message(IDS_SETTING_FAILED, static_cast<int>(written));
    }
    if (const auto answer = token.ReadResponse(kConfigWriteTimeoutMs, {}); answer != TokenResult::Success) {
        return Message(IDS_SETTING_FAILED, static_cast<int>(answer));
    }
    return Applied(page, kStaticPasswordEntry, offerBackup, StaticBackup(password), L"STATIC");
}

PageOutcome DeleteProfile(ProfilePageContext& page) {
    CTokenLib token(page.services.Token());
    if (!OpenSession(token)) return Message(IDS_NOT_INSERTED);
    if (token.WriteConfig(page.profile == 2, nullptr) != TokenResult::Success) return Message(IDS_DELETE_PROFILE_FAILED);

    // The clearing write has no answer to wait for; the profile flag shows
    // whether the token took it, and only then is the entry changed.
    page.services.clock.SleepMs(kDeleteSettleMs);
    TokenStatus status;
    TokenResult settled = WaitForIdleToken(token, status);
    // A lost report is not a failed delete: the token is asked once more.
    if (settled == TokenResult::OperationFailed) settled = WaitForIdleToken(token, status);
    if (settled != TokenResult::Success || status.ProfileConfigured(page.profile)) {
        return Message(IDS_DELETE_PROFILE_FAILED);
    }
    const bool saved = WriteProfileEntryAndShape(page.services.store, page.services.config.file, page.section,
                                                 page.profile, kNotConfiguredEntry, {});
    PageOutcome outcome = Message(saved ? IDS_PROFILE_DELETED : IDS_ENTRY_NOT_SAVED);
    outcome.applied = true;
    outcome.entrySaved = saved;
    return outcome;
}

GeneratedPassword GeneratePagePassword(std::wstring_view lengthText, unsigned classes) {
    GeneratedPassword result;
    const int length = ParseDecimal(lengthText);
    if ((classes & (kPasswordLetters | kPasswordDigits | kPasswordSpecial)) == 0) {
        result.messageId = IDS_NO_PASSWORD_CLASS;
    } else if (length < static_cast<int>(kStaticPasswordMin) || length > static_cast<int>(kStaticPasswordMax)) {
        result.messageId = IDS_PASSWORD_LENGTH_RANGE;
    } else {
        result.password.get() = GenerateStaticPassword(length, classes);
    }
    return result;
}

std::vector<int> BackupOfferMessages(BackupOfferResult result, bool entrySaved) {
    switch (result) {
        case BackupOfferResult::Saved:
            return {entrySaved ? IDS_BACKUP_SAVED : IDS_ENTRY_NOT_SAVED_BACKUP_SAVED};
        case BackupOfferResult::WriteFailed:
            if (entrySaved) return {IDS_BACKUP_NOT_SAVED};
            return {IDS_BACKUP_NOT_SAVED, IDS_ENTRY_NOT_SAVED};
        case BackupOfferResult::NotWanted: return {entrySaved ? IDS_SETTING_SUCCESSFUL : IDS_ENTRY_NOT_SAVED};
        case BackupOfferResult::Declined: break;
    }
    return {entrySaved ? IDS_SET_WITHOUT_BACKUP : IDS_ENTRY_NOT_SAVED};
}

void ImportProfileBackup(ProfilePageContext& page, const std::wstring& backupPath, const ImportPrompts& prompts,
                         const EightBitDecoder& widen) {
    for (ProfileBackup& record : ReadProfileBackup(page.services.store, backupPath, widen)) {
        if (!record.mode) {
            prompts.show(Message(record.refusalId));
            continue;
        }
        if (!record.sealed.empty() && !OpenProtectedRecord(record, prompts)) return;
        if (record.mode == ProfileMode::TwoStep) {
            const bool requireTouch = prompts.askRequireTouch();
            prompts.show(WriteTwoStepProfile(page, record.key, record.account, requireTouch, false, record.shape));
        } else {
            prompts.show(WriteStaticProfile(page, record.key, false));
        }
    }
}

}  // namespace orvika2
