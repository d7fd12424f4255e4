#include "app/orvika2_app_win32.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "app/main_window_win32.h"
#include "app/single_instance_win32.h"
#include "platform/startup_services_win32.h"
#include "platform/token_bus_select.h"
#include "resources/string_ids.h"
#include "ui/ui_language_win32.h"
#include "ui/ui_message_win32.h"

namespace orvika2 {

int COrvika2App::Run() {
    SingleInstance instance;
    if (!instance.Claim()) {
        BringRunningInstanceForward();
        return 0;
    }
    PlatformServices platform(std::getenv(kTokenSelectionVariable), &LoadUiString);
    AppServices& services = platform.services();
    PlaceConfiguration(services);
    SetLanguageChoice(ReadLanguageChoice(services.store, services.config.file));
    // Wine ignores the thread language, so every lookup names UiLanguageId()
    // itself; the call still serves the platform's own texts.
    SetThreadUILanguage(UiLanguageId());
    services.language = UiLanguageId();
    if (!platform.TokenSettingValid()) {
        // Said once, in the interface language, rather than running without
        // the token the user meant.
        ShowUiMessage(IDS_BAD_TOKEN_SETTING, kMessageWarning);
        return 1;
    }
    const auto startup = MakeWin32StartupServices();
    AppContext context{services, *startup};
    context.releaseInstance = [&instance] { instance.Release(); };

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    COrvika2Dlg mainWindow(context);
    mainWindow.DoModal();
    return 0;
}

}  // namespace orvika2
