#pragma once
// The update check as the user sees it: the wait balloon, the download of
// the description file, the question, and the download page on Yes.
#include <windows.h>

#include "settings/app_services.h"

namespace orvika2 {

void CheckForUpdate(HWND mainWindow, AppServices& services);

}  // namespace orvika2
