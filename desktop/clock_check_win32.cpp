#include "desktop/clock_check_win32.h"

#include <cstdlib>

#include "desktop/update_check.h"
#include "platform/update_download_win32.h"
#include "resources/string_ids.h"
#include "ui/ui_language_win32.h"
#include "ui/ui_message_win32.h"
#include "ui/ui_strings.h"

namespace orvika2 {

ClockCheckOutcome RunClockCheck(AppServices& services) {
    return CheckClock({.ask = &AskServerTime,
                       .store = services.store,
                       .configFile = services.config.file,
                       .url = ConfiguredUpdateAddresses().descriptionUrl});
}

void TellClockOutcome(AppServices& services, const ClockCheckOutcome& outcome, bool askedByUser) {
    const std::int64_t off = std::llabs(outcome.offsetSeconds);
    const auto withSeconds = [off](int id) { return FillPlaceholder(LoadUiString(id), L"%1", std::to_wstring(off)); };
    switch (outcome.verdict) {
        case ClockVerdict::Offer: {
            const int question = outcome.offsetSeconds > 0 ? IDS_CLOCK_BEHIND_QUESTION : IDS_CLOCK_AHEAD_QUESTION;
            if (ShowUiText(question, withSeconds(question), kQuestionInformation) == IDYES &&
                !AcceptClockOffer(services.store, services.config.file, outcome)) {
                ShowUiMessage(IDS_CLOCK_NOT_SAVED, kMessageWarning);
            }
            return;
        }
        case ClockVerdict::Failed:
            if (askedByUser) ShowUiMessage(IDS_CLOCK_CHECK_FAILED, kMessageWarning);
            return;
        case ClockVerdict::Right:
            if (askedByUser) ShowUiMessage(IDS_CLOCK_RIGHT, kMessageInformation);
            return;
        case ClockVerdict::Cleared:
            if (askedByUser) ShowUiMessage(IDS_CLOCK_CORRECTION_CLEARED, kMessageInformation);
            return;
        case ClockVerdict::Holds:
            if (askedByUser) {
                ShowUiText(IDS_CLOCK_CORRECTION_HOLDS, withSeconds(IDS_CLOCK_CORRECTION_HOLDS), kMessageInformation);
            }
            return;
    }
}

}  // namespace orvika2
