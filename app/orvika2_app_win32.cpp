#include "app/orvika2_app_win32.h"

#include <windows.h>
#include <commctrl.h>

#include "app/main_window_win32.h"
#include "app/single_instance_win32.h"
#include "settings/app_environment.h"
#include "ui/ui_language_win32.h"

namespace orvika2 {

int COrvika2App::Run() {
    SingleInstance instance;
    if (!instance.Claim()) {
        BringRunningInstanceForward();
        return 0;
    }
    const auto environment = MakePlatformAppEnvironment();
    const auto store = MakePlatformProfileStore();
    AppContext context{PlaceConfigurationFile(*environment, *store), *store};
    context.releaseInstance = [&instance] { instance.Release(); };

    SetLanguageChoice(ReadLanguageChoice(*store, context.config.file));
    // Wine ignores the thread language, so every lookup names UiLanguageId()
    // itself; the call still serves the platform's own texts.
    SetThreadUILanguage(UiLanguageId());

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    COrvika2Dlg mainWindow(context);
    mainWindow.DoModal();
    return 0;
}

}  // namespace orvika2
