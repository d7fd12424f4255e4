#include "app/shell_windows_win32.h"

#include "desktop/balloon_win32.h"
#include "desktop/update_check_win32.h"
#include "dialogs/settings_window_win32.h"

namespace orvika2 {

void RunSettingsWindow(HWND mainWindow, AppServices& services, StartupServices& startup) {
    // Not owned by the main window: an owned window of a top-most window is
    // top-most too, and would stay in front of the help pages it opens in the
    // browser. The main window is disabled meanwhile, as an owner would be, so
    // the menu cannot open a second one.
    EnableWindow(mainWindow, FALSE);
    RunSettingDlg(nullptr, services, startup);
    EnableWindow(mainWindow, TRUE);
    CloseBalloonMsg();
}

void RunUpdateCheck(HWND mainWindow, AppServices& services) { CheckForUpdate(mainWindow, services); }

}  // namespace orvika2
