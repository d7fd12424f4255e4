#pragma once
// Opens, in-process and in both languages, every dialog of the application:
// the settings window with all its pages (simulated token, real store), the
// about box, the account-name dialog, both passphrase dialogs and the
// countdown. Each is handed to the visitor once it has initialised, with its
// texts set as the application sets them, and closed again after.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32_handles_win32.h"

namespace orvika2 {

// A hidden window, after the common controls are registered: null when Wine
// has no display to make windows on.
UniqueWindow ProbeWindowForDialogs();

// `where` names the dialog, the language and the display scale. Each
// dialog must reach the visitor exactly once.
using DialogVisitor = std::function<void(HWND dialog, const std::string& where)>;
void VisitEveryDialog(const DialogVisitor& visit);

}  // namespace orvika2
