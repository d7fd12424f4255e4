#include "app/shell_windows_win32.h"

#include "desktop/balloon_win32.h"
#include "desktop/update_check_win32.h"
#include "dialogs/settings_window_win32.h"

namespace orvika2 {

void RunSettingsWindow(HWND mainWindow, AppServices& services, StartupServices& startup) {
    // Owned by the main window, which stays disabled while it is open, so
    // the menu cannot open a second one.
    RunSettingDlg(mainWindow, services, startup);
    CloseBalloonMsg();
}

void RunUpdateCheck(HWND mainWindow, AppServices& services) { CheckForUpdate(mainWindow, services); }

}  // namespace orvika2
