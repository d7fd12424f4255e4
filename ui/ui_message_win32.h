#pragma once
// The message boxes and refresh messages of the settings dialogs.
#include <windows.h>

#include <string_view>

namespace orvika2 {

inline constexpr UINT kMessageWarning = MB_OK | MB_ICONWARNING | MB_TOPMOST;            // 0x40030
inline constexpr UINT kMessageInformation = MB_OK | MB_ICONINFORMATION | MB_TOPMOST;    // 0x40040
inline constexpr UINT kQuestionInformation = MB_YESNO | MB_ICONINFORMATION | MB_TOPMOST; // 0x40044
inline constexpr UINT kQuestionPlain = MB_YESNO | MB_TOPMOST;                           // 0x40004
inline constexpr UINT kConfirmWarning = MB_OKCANCEL | MB_ICONWARNING | MB_TOPMOST;      // 0x40031

// String `stringId`, then `suffix`, in a message box without owner, with an
// empty caption and buttons in the interface language; returns the answer.
// With ORVIKA2_MESSAGE_LOG naming a file, each message is also appended
// there as "id<TAB>text" in UTF-8: the desktop tests cannot read another
// process's message boxes.
int ShowUiMessage(int stringId, UINT style, std::wstring_view suffix = {});
// The same for string `stringId` as `text` gives it, its blanks filled in.
int ShowUiText(int stringId, std::wstring_view text, UINT style);

// WM_SETTINGS_REFRESH with lParam 0, sent to the top-level window so titled.
void SendRefresh(std::wstring_view windowTitle, WPARAM wParam);
// The main window ("Orvika2") and the settings window (string 100).
void RefreshMainWindow();
void RefreshSettingsWindow(WPARAM wParam = 0);

}  // namespace orvika2
