#include "desktop/update_check_win32.h"

#include <shellapi.h>

#include "desktop/balloon_win32.h"
#include "desktop/clock_check_win32.h"
#include "desktop/product_version_win32.h"
#include "desktop/update_check.h"
#include "platform/update_download.h"
#include "platform/update_download_win32.h"
#include "resources/resource.h"
#include "resources/string_ids.h"
#include "ui/ui_language_win32.h"
#include "ui/ui_message_win32.h"

namespace orvika2 {
namespace {

// The folder of the configuration file, with its separator.
std::wstring ApplicationDataFolder(const std::wstring& configFile) {
    return configFile.substr(0, configFile.find_last_of(L"\\/") + 1);
}

}  // namespace

void CheckForUpdate(HWND mainWindow, AppServices& services) {
    ShowBalloonMsg(LoadUiString(IDS_REMINDER), LoadUiString(IDS_CHECKING_FOR_UPDATE),
                   GetDlgItem(mainWindow, IDC_MENU_BUTTON), mainWindow, GetModuleHandleW(nullptr), BalloonIcon::Info,
                   true);
    const UpdateCheckInputs inputs{.download = &DownloadToFile,
                                   .store = services.store,
                                   .addresses = ConfiguredUpdateAddresses(),
                                   .tempFolder = TemporaryFolder(),
                                   .fallbackFolder = ApplicationDataFolder(services.config.file),
                                   .ownVersion = GetProductVersion(),
                                   .language = services.language};
    const UpdateOutcome outcome = DecideUpdate(inputs);
    // Every update check looks at the clock too, while the notice still shows.
    const ClockCheckOutcome clock = RunClockCheck(services);
    // The wait is over: the notice gives way to the answer.
    CloseBalloonMsg();
    if (outcome.messageId == IDS_UPDATE_CHECK_FAILED) {
        ShowUiMessage(outcome.messageId, kMessageWarning);
    } else if (ShowUiMessage(outcome.messageId, kQuestionPlain) == IDYES && IsWebAddress(outcome.downloadPage)) {
        // The shell opens whatever it is given, local programs included.
        ShellExecuteW(GetDesktopWindow(), L"open", outcome.downloadPage.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
    }
    TellClockOutcome(services, clock, false);
}

}  // namespace orvika2
