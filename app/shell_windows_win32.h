#pragma once
// The windows and services that the main window starts and that live in
// their own parts of the shell: each is one call from the main window.
#include <windows.h>

#include "platform/startup_services.h"
#include "settings/app_services.h"

namespace orvika2 {

// The settings window, modal, without owner, the main window disabled
// meanwhile; returns when it has closed.
void RunSettingsWindow(HWND mainWindow, AppServices& services, StartupServices& startup);

// The update check, with its wait notice at the main window's menu button.
void RunUpdateCheck(HWND mainWindow, AppServices& services);

}  // namespace orvika2
